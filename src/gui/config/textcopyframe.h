#pragma once

#include "core/config/textcopy.h"
#include "core/platform/messagebox.h"

#include <QGroupBox>
#include <QString>

#include <array>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace ferlin {

class DriveList;
class FolderTree;
class PlatformError;
class TextLocationHost;
struct Platform;
struct Settings;

// The frame of the text-location page that puts the article texts on a hard disk (Frame_Recopie):
// it copies the two CD-ROMs' "Textes" folders into the program's folder or a folder of the
// user's, registers a folder the user filled by hand, or moves the copied texts to another
// folder. Hidden until the page's "Copie / Déplacement des textes " button opens it.
class TextCopyFrame : public QGroupBox {
    Q_OBJECT
public:
    // The four ways offered, in the order of the options Option1_0 to Option1_3.
    enum Way { AutomaticCopy, ManualCopy, Move, CustomCopy, WayCount };

    TextCopyFrame(Settings &settings, Platform &platform, TextLocationHost &host,
                  QString programFolder, QWidget *parent = nullptr);

    // The explanations of the four ways and the patience note, set by the start-up.
    void setStartupTexts();
    // Shows the frame with where the texts are now (the page's copy button).
    void open();
    // The frame's "Copie" / "Valide" / "Déplace" button (or Enter in the folder box): does
    // what the chosen way does, with its questions and messages, the commands locked meanwhile.
    void CopyOrMoveTexts();

private:
    void build();
    QWidget *buildFolderBox();
    QGroupBox *buildCopyProgress();
    void optionClicked();
    void showFolderBox(bool shown);
    void folderChosen(const QString &folder);
    void back();
    // The frame's folder becomes the text folder on the page, which reads the texts there.
    void ShowTextFolder();

    void copyTexts();
    void registerManualCopy();
    void moveTexts();
    // The "Textes" folder of the drive's disc, whatever the case of its name.
    QString discTextsFolder(const QString &drive);
    void copyBothDiscs(const QString &destination);
    // The drive to copy a disc from. Into a real drive the user puts the disc, asked again while
    // the drive holds another; a folder or an image is read with the disc beside it, the user
    // asked only when it lies nowhere (Cancel stops: DiscWaitStopped).
    QString driveOfDisc(int disc, const QString &insertText, MessageIcon insertIcon,
                        const QString &wrongDiscText);
    void copyDisc(const QString &drive, const QString &destination);
    // After the user stopped the copy: the folder it began to fill is removed, and they are told.
    void removeUnfinishedCopy(const QString &destination);
    void progressed(const CopyProgress &progress);
    void showDiscCopy(QLabel *label, const QString &text, bool done);
    // Shows what a failure of the drives or files means, then the operation ends.
    void showFailure(const PlatformError &error);
    void endCopyDisplay();

    // Runs a step of the platform again for as long as the disc is not ready (or a path on it
    // not found) and the user answers OK; Cancel ends the operation.
    template <typename Step> decltype(auto) retrying(Step step);
    MessageAnswer message(const QString &text, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok,
                          const std::optional<QString> &title = std::nullopt);
    // The drive setting as the drives are asked about it (as the user typed it in messages).
    QString cdDrive() const;

    Settings &m_settings;
    Platform &m_platform;
    TextLocationHost &m_host;
    const QString m_programFolder;
    CopyTally m_tally;
    bool m_copying = false; // a tree copy runs (its failure tells what is missing)
    QString m_destination;  // the folder the running copy writes into

    QLabel *m_textsAre = nullptr;                  // Lbl_DossierTxt
    QLabel *m_textFolder = nullptr;                // Lbl_DossierHD
    std::array<QRadioButton *, WayCount> m_ways{}; // Option1_0 .. Option1_3
    QLabel *m_automaticText = nullptr;             // Lbl_CopieAuto
    QLabel *m_manualText = nullptr;                // Lbl_CopieManu
    QLabel *m_moveText = nullptr;                  // Lbl_DeplaceTextes
    QLabel *m_customText = nullptr;                // Lbl_CopiePerso
    QLabel *m_continue = nullptr;                  // Lbl_Continue
    QLineEdit *m_folderHeading = nullptr;          // Text_Destin
    QLineEdit *m_folder = nullptr;                 // Text_Dossier
    QFrame *m_folderFrame = nullptr;               // Frame_Dir
    DriveList *m_driveList = nullptr;              // Drive3
    FolderTree *m_folderTree = nullptr;            // Dir2
    QFrame *m_line = nullptr;                      // Line2
    QPushButton *m_go = nullptr;                   // Command1
    QPushButton *m_back = nullptr;                 // Command2
    QGroupBox *m_copyFrame = nullptr;              // Frame_CopieCD
    QLabel *m_disc1 = nullptr;                     // Lbl_copieCD1
    QLabel *m_disc2 = nullptr;                     // Lbl_CopieCD2
    QLabel *m_patience = nullptr;                  // Lbl_Patience
    QProgressBar *m_bar = nullptr;                 // Bar_Copie
    QLabel *m_progress = nullptr;                  // Lbl_CopieProgres
    bool m_treeFilled = false;
    bool m_fillingTree = false; // the folder tree is set up: its choice is not the user's
};

} // namespace ferlin
