#pragma once

#include <QGroupBox>

class QLabel;
class QPushButton;

namespace ferlin {

// The first-run configuration frame of page 1 (Frame_InitConfig): what the search for the
// viewer, the browser and the CD-ROM drives has found, and the ways on.
class AutoConfigFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit AutoConfigFrame(QWidget *parent = nullptr);

    QLabel *intro = nullptr;               // Label1
    QLabel *viewerHeading = nullptr;       // Label4
    QLabel *viewerMessage = nullptr;       // MsgInitPDF
    QLabel *browserHeading = nullptr;      // Label6
    QLabel *browserMessage = nullptr;      // MsgInitWEB
    QLabel *cdHeading = nullptr;           // Label7
    QLabel *cdMessage = nullptr;           // MsgLecteurCD
    QLabel *searchAgainText = nullptr;     // Lbl_Recherche
    QPushButton *searchAgain = nullptr;    // Cmd_Recherche
    QPushButton *installViewer = nullptr;  // Cmd_InstallAcrobat
    QLabel *continueText = nullptr;        // Lbl_continuer
    QPushButton *continueButton = nullptr; // Cmd_Init
};

// Sets a label's text colour and repaints it at once (the search blocks the screen).
void paintMessage(QLabel *label, const QColor &colour);
void showAtOnce(QLabel *label, const QString &text);

} // namespace ferlin
