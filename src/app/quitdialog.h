#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ferlin {

// The quit dialog (form Quitter), shown without blocking the main window. "Oui" ends the
// program through the action given; "Non" only hides the dialog.
class QuitDialog : public QDialog {
    Q_OBJECT
public:
    explicit QuitDialog(QWidget *parent = nullptr);

    // The caption, question and button texts, set by the start-up.
    void setTexts();

Q_SIGNALS:
    void quitConfirmed();

private:
    QLabel *m_question;
    QPushButton *m_yes;
    QPushButton *m_no;
};

} // namespace ferlin
