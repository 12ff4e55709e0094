#pragma once

#include "core/config/programsearch.h"
#include "gui/shell/startuplistener.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ferlin {

class AutoConfigFrame;
class DriveList;
class FolderTree;
class ScreenHost;
class TextLocationPage;

// Page 1 of the configuration (form Config, "F 11"): where the PDF viewer and the web browser
// are, with a file chooser to change either path and the installation of the viewer from disc 1.
// Its path boxes are the working copy of the settings: typing in them changes the settings at
// once, the save stores them. The first-run configuration frame lies on this page too.
class ConfigurationPage : public QWidget, public StartupListener {
    Q_OBJECT
public:
    // Which path the file chooser fills.
    enum class BrowseTarget { Pdf, Web };

    explicit ConfigurationPage(ScreenHost &window);

    // The main window's eleven commands and this page's body, around the long tasks.
    void LockCommands();
    void UnlockCommands();
    // The first-run configuration (the frame Frame_InitConfig).
    void AutoConfigure();
    AutoConfigFrame *autoConfigFrame() const { return m_autoFrame; }

    // The page shows the settings again (after a load or a first-run search).
    void showSettings();
    void setViewerPath(const QString &path);
    void setBrowserPath(const QString &path);
    // The programs the first-run configuration looks for, and where.
    void setProgramSearch(ProgramSearch search) { m_search = std::move(search); }
    const ProgramSearch &programSearch() const { return m_search; }
    BrowseTarget browseTarget() const { return m_target; }

    // StartupListener
    void settingsLoaded(const Settings &settings) override;
    void setStartupTexts() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void build();
    QWidget *buildPathFrames();
    QGroupBox *buildChooser();
    void toggleChooser(BrowseTarget target);
    void hideChooserLists();
    void listPrograms(const QString &folder);
    void programChosen(const QString &fileName);
    void showTextLocationPage();

    ScreenHost &m_window;
    ProgramSearch m_search;
    BrowseTarget m_target = BrowseTarget::Pdf;
    QLabel *m_title = nullptr;
    QLabel *m_intro = nullptr;   // Lab_config
    QLabel *m_heading = nullptr; // Label2
    QLabel *m_pageNumber = nullptr;
    QGroupBox *m_pdfFrame = nullptr;
    QLabel *m_pdfPath = nullptr;
    QGroupBox *m_webFrame = nullptr;
    QLabel *m_webPath = nullptr;
    QGroupBox *m_modifyPdf = nullptr;
    QLabel *m_pdfText = nullptr;
    QLineEdit *m_pdfBox = nullptr;
    QPushButton *m_pdfBrowse = nullptr;
    QGroupBox *m_modifyWeb = nullptr;
    QLabel *m_webText = nullptr;
    QLineEdit *m_webBox = nullptr;
    QGroupBox *m_chooser = nullptr;
    DriveList *m_driveList = nullptr;
    FolderTree *m_folderTree = nullptr;
    QListWidget *m_fileList = nullptr;
    AutoConfigFrame *m_autoFrame = nullptr;
    QCheckBox *m_ignoreAccents = nullptr; // Check_Accents
};

} // namespace ferlin
