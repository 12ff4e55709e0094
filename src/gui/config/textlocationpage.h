#pragma once

#include "gui/config/textlocationhost.h"
#include "gui/shell/startuplistener.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ferlin {

class ScreenHost;
class TextCopyFrame;

// Page 2 of the configuration (form F_copie, "F 17"): where the article texts are read (on the
// CD-ROMs or in a folder on a hard disk), which CD-ROM drive is used, and the copy, registration
// or move of the texts (the frame Frame_Recopie). Its controls are the working copy of the
// settings; "Sauvegarder la configuration" stores them.
class TextLocationPage : public QWidget, public StartupListener, public TextLocationHost {
    Q_OBJECT
public:
    explicit TextLocationPage(ScreenHost &window);

    // "Sauvegarder la configuration": saves, then says so.
    void saveAndConfirm();
    // The CD-ROM drive caption (Lbl_CD), which is the drive setting.
    void setCdDrive(const QString &drive);
    // Hides "Changer de lecteur" and the drive list (no CD-ROM drive was found).
    void hideDriveChoice();
    // Shows the text location of the settings again (after a load).
    void showSettings();
    TextCopyFrame *copyFrame() const { return m_copyFrame; }

    // TextLocationHost
    void LockCommands() override;
    void UnlockCommands() override;
    QString textFolderLabel() const override;
    void setTextFolderLabel(const QString &text) override;
    void chooseHardDisk() override;
    void showCopyButton() override;
    void saveConfiguration() override;

    // StartupListener
    void settingsLoaded(const Settings &settings) override;
    void setStartupTexts() override;
    void textLocationKnown(bool textsCopied) override;

private:
    void build();
    QGroupBox *buildCdFrame();
    QGroupBox *buildFolderFrame();
    // The effect of a click on either text-location option.
    void locationClicked();
    void listCdDrives();
    void showPage1();

    ScreenHost &m_window;
    QLabel *m_intro = nullptr;                  // Lbl_IntroCopie
    std::array<QRadioButton *, 2> m_location{}; // Option_Textes: CD-ROM, hard disk
    QButtonGroup *m_locationGroup = nullptr;
    QGroupBox *m_cdFrame = nullptr;
    QLabel *m_cdText = nullptr; // Label5
    QLabel *m_cdDrive = nullptr;
    QPushButton *m_changeDrive = nullptr;
    QListWidget *m_driveList = nullptr;
    QGroupBox *m_folderFrame = nullptr;
    QLabel *m_folderText = nullptr; // Lbl_dossier
    QLabel *m_folder = nullptr;     // Lbl_HDdossier
    QLabel *m_moveText = nullptr;   // Lbl_deplace
    QPushButton *m_copy = nullptr;  // Cmd_recopie
    TextCopyFrame *m_copyFrame = nullptr;
};

} // namespace ferlin
