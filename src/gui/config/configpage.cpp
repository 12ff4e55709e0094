#include "gui/config/configpage.h"

#include "core/config/viewerinstall.h"
#include "core/context/appcontext.h"
#include "gui/config/autoconfigframe.h"
#include "gui/config/clickablelabel.h"
#include "gui/config/folderpicker.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/rowchoice.h"
#include "gui/shell/screenhost.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

QLabel *wrappedLabel(const QString &text, QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    return label;
}

QString threeLines(const QString &first)
{
    return first + u'\n' + QStringLiteral("Vous pouvez le modifier en cliquant sur le bouton") +
           u'\n' + QStringLiteral("ou en le tapant directement dans la zone de saisie ci-dessous.");
}

} // namespace

ConfigurationPage::ConfigurationPage(ScreenHost &window)
    : m_window(window), m_search(ProgramSearch::fromEnvironment())
{
    setObjectName(QStringLiteral("Config"));
    setWindowTitle(QStringLiteral("CONFIGURATION DU PROGRAMME"));
    build();
    showSettings();
    if (window.context().state.startupTextsSet)
        setStartupTexts();
    nameControlsForAccessibility(this);
}

void ConfigurationPage::build()
{
    auto *layout = new QVBoxLayout(this);

    m_title = addConfigurationHeading(this, layout, QStringLiteral("F 11"));

    m_intro = wrappedLabel(QString(), this, "Lab_config");
    layout->addWidget(m_intro);
    auto *pageLine = new QHBoxLayout;
    m_heading = named(new QLabel(QStringLiteral("Localisation des visualiseurs PDF et HTM"), this),
                      "Label2");
    auto *pageNumber = named(new ClickableLabel(QStringLiteral("(1/2)"), this), "Label5");
    pageNumber->setToolTip(QStringLiteral(" Cliquer pour aller à la page de configuration n° 2 "));
    connect(pageNumber, &ClickableLabel::clicked, this, [this] { showTextLocationPage(); });
    m_pageNumber = pageNumber;
    pageLine->addWidget(m_heading);
    pageLine->addWidget(pageNumber);
    pageLine->addStretch();
    layout->addLayout(pageLine);

    m_autoFrame = new AutoConfigFrame(this);
    layout->addWidget(m_autoFrame);
    connect(m_autoFrame->searchAgain, &QPushButton::clicked, this, [this] { AutoConfigure(); });
    connect(m_autoFrame->installViewer, &QPushButton::clicked, this, [this] {
        InstallPdfViewer(m_window.context().state.settings.cdDrive, m_window.context().platform);
    });
    connect(m_autoFrame->continueButton, &QPushButton::clicked, this, [this] {
        m_autoFrame->hide();
        UnlockCommands();
    });

    layout->addWidget(buildPathFrames());
    layout->addWidget(buildChooser());

    // Beyond the described page: off, the search compares letters exactly as it always has.
    m_ignoreAccents =
        named(new QCheckBox(QStringLiteral("Ignorer les accents dans les recherches"), this),
              "Check_Accents");
    connect(m_ignoreAccents, &QCheckBox::toggled, this,
            [this](bool on) { m_window.context().state.settings.ignoreAccents = on; });
    layout->addWidget(m_ignoreAccents, 0, Qt::AlignLeft);

    auto *buttons = new QHBoxLayout;
    auto *toPage2 =
        named(new QPushButton(QStringLiteral("Localisation des textes"), this), "Cmd_copieHD");
    toPage2->setToolTip(QStringLiteral(" Aller à la page de configuration n° 2 "));
    connect(toPage2, &QPushButton::clicked, this, [this] { showTextLocationPage(); });
    // The configuration is saved from page 2; this button is never shown.
    auto *save =
        named(new QPushButton(QStringLiteral("Sauvegarder la configuration"), this), "Cmd_config");
    save->hide();
    buttons->addWidget(toPage2);
    buttons->addStretch();
    buttons->addWidget(save);
    layout->addLayout(buttons);
    layout->addStretch();
}

QWidget *ConfigurationPage::buildPathFrames()
{
    // One plain part of the page holds the four path frames, so that the modification frames
    // take the place of the frames they replace. It is no frame itself: a style sheet taking a
    // frame's border away would reach the frames inside too, and draw their titles over their
    // first lines.
    auto *paths = new QWidget(this);
    auto *layout = new QVBoxLayout(paths);
    layout->setContentsMargins(0, 0, 0, 0);

    m_pdfFrame =
        named(new QGroupBox(QStringLiteral(" Localisation du visualiseur de textes PDF "), paths),
              "Frame_PDF");
    auto *pdfLayout = new QHBoxLayout(m_pdfFrame);
    m_pdfPath = named(new QLabel(m_pdfFrame), "Lbl_cheminPDF");
    auto *changePdf = named(new QPushButton(QStringLiteral("Modifier"), m_pdfFrame), "Cmd_PDF");
    pdfLayout->addWidget(m_pdfPath, 1);
    pdfLayout->addWidget(changePdf);
    layout->addWidget(m_pdfFrame);

    m_webFrame = named(new QGroupBox(QStringLiteral(" Localisation du navigateur WEB "), paths),
                       "Frame_Web");
    auto *webLayout = new QHBoxLayout(m_webFrame);
    m_webPath = named(new QLabel(m_webFrame), "Lbl_cheminWEB");
    auto *changeWeb = named(new QPushButton(QStringLiteral("Modifier"), m_webFrame), "Cmd_Web2");
    webLayout->addWidget(m_webPath, 1);
    webLayout->addWidget(changeWeb);
    layout->addWidget(m_webFrame);

    m_modifyPdf = named(new QGroupBox(QStringLiteral("  Modification de la localisation du "
                                                     "visualiseur de textes PDF "),
                                      paths),
                        "Frame_ModifPDF");
    auto *modifyPdfLayout = new QGridLayout(m_modifyPdf);
    m_pdfText = wrappedLabel(QString(), m_modifyPdf, "Lab_TextePDF");
    m_pdfBox = named(new QLineEdit(m_modifyPdf), "T_PDF");
    m_pdfBrowse = named(new QPushButton(QStringLiteral("Modifier"), m_modifyPdf), "Cmd_Word");
    m_pdfBrowse->setToolTip(QStringLiteral(" Changer de visualiseur de textes PDF "));
    auto *installText = named(
        new QLabel(QStringLiteral("S'il n'est pas déjà installé, cette installation peut se faire "
                                  "en cliquant sur  "),
                   m_modifyPdf),
        "Label3");
    auto *install =
        named(new QPushButton(QStringLiteral("Installer Acrobat Reader 4.0"), m_modifyPdf),
              "Cmd_InstallAR");
    install->setToolTip(QStringLiteral(" Lancer l'installation d'Acrobat Reader "));
    auto *pdfDone = named(new QPushButton(QStringLiteral("Suite"), m_modifyPdf), "Cmd_SuitePDF");
    modifyPdfLayout->addWidget(m_pdfText, 0, 0, 1, 2);
    modifyPdfLayout->addWidget(m_pdfBox, 1, 0);
    modifyPdfLayout->addWidget(m_pdfBrowse, 1, 1);
    modifyPdfLayout->addWidget(installText, 2, 0);
    modifyPdfLayout->addWidget(install, 2, 1);
    modifyPdfLayout->addWidget(pdfDone, 3, 1);
    m_modifyPdf->hide();
    layout->addWidget(m_modifyPdf);

    m_modifyWeb =
        named(new QGroupBox(QStringLiteral("  Modification de la localisation du navigateur Web "),
                            paths),
              "Frame_ModifWEB");
    auto *modifyWebLayout = new QGridLayout(m_modifyWeb);
    m_webText = wrappedLabel(QString(), m_modifyWeb, "Lab_TexteWEB");
    m_webBox = named(new QLineEdit(m_modifyWeb), "T_Web");
    auto *webBrowse = named(new QPushButton(QStringLiteral("Modifier"), m_modifyWeb), "Cmd_Web");
    webBrowse->setToolTip(QStringLiteral(" Changer de navigateur Web "));
    auto *webDone = named(new QPushButton(QStringLiteral("Suite"), m_modifyWeb), "Cmd_SuiteWEB");
    modifyWebLayout->addWidget(m_webText, 0, 0, 1, 2);
    modifyWebLayout->addWidget(m_webBox, 1, 0);
    modifyWebLayout->addWidget(webBrowse, 1, 1);
    modifyWebLayout->addWidget(webDone, 2, 1);
    m_modifyWeb->hide();
    layout->addWidget(m_modifyWeb);

    Settings &settings = m_window.context().state.settings;
    // The boxes are the working copy: every change, typing included, is in force at once.
    connect(m_pdfBox, &QLineEdit::textChanged, this, [this, &settings](const QString &text) {
        m_pdfPath->setText(text);
        settings.pdfViewer = text;
    });
    connect(m_webBox, &QLineEdit::textChanged, this, [this, &settings](const QString &text) {
        m_webPath->setText(text);
        settings.webBrowser = text;
    });
    connect(changePdf, &QPushButton::clicked, this, [this] {
        m_pdfFrame->hide();
        m_webFrame->hide();
        m_modifyWeb->hide();
        m_modifyPdf->show();
    });
    connect(changeWeb, &QPushButton::clicked, this, [this] {
        m_webFrame->hide();
        m_modifyPdf->hide();
        m_modifyWeb->show();
    });
    connect(m_pdfBrowse, &QPushButton::clicked, this, [this] { toggleChooser(BrowseTarget::Pdf); });
    connect(webBrowse, &QPushButton::clicked, this, [this] { toggleChooser(BrowseTarget::Web); });
    connect(pdfDone, &QPushButton::clicked, this, [this] {
        m_modifyPdf->hide();
        m_chooser->hide();
        m_pdfFrame->show();
        m_webFrame->show();
    });
    connect(webDone, &QPushButton::clicked, this, [this] {
        m_modifyWeb->hide();
        m_chooser->hide();
        m_webFrame->show();
    });
    connect(install, &QPushButton::clicked, this, [this] {
        InstallPdfViewer(m_window.context().state.settings.cdDrive, m_window.context().platform);
    });
    return paths;
}

QGroupBox *ConfigurationPage::buildChooser()
{
    m_chooser = named(new QGroupBox(this), "Frame4");
    auto *layout = new QHBoxLayout(m_chooser);
    Platform &platform = m_window.context().platform;
    m_driveList = named(new DriveList(platform.drives, platform.messageBox, m_chooser), "Drive2");
    m_folderTree = named(new FolderTree(m_chooser), "Dir1");
    m_fileList = named(new QListWidget(m_chooser), "File1");
    auto *left = new QVBoxLayout;
    left->addWidget(m_driveList);
    left->addWidget(m_folderTree, 1);
    layout->addLayout(left, 1);
    layout->addWidget(m_fileList, 1);
    // Empty while its lists are hidden, the frame takes no room.
    m_chooser->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_folderTree->setMinimumHeight(200);
    m_fileList->setMinimumHeight(200);
    connect(m_driveList, &DriveList::driveChosen, m_folderTree, &FolderTree::setRootFolder);
    connect(m_folderTree, &FolderTree::folderChosen, this, &ConfigurationPage::listPrograms);
    onRowChosen(m_fileList, [this](int row) { programChosen(m_fileList->item(row)->text()); });
    hideChooserLists();
    return m_chooser;
}

void ConfigurationPage::toggleChooser(BrowseTarget target)
{
    m_chooser->show();
    if (m_driveList->isVisible()) {
        m_chooser->hide();
        hideChooserLists();
    } else {
        if (m_driveList->currentDrive().isEmpty()) {
            // The chooser opens where the path being changed is, so that a program beside the
            // current one is one click away.
            const Settings &settings = m_window.context().state.settings;
            const QString current =
                target == BrowseTarget::Pdf ? settings.pdfViewer : settings.webBrowser;
            QString folder = QFileInfo(current.trimmed()).absolutePath();
            if (current.trimmed().isEmpty() || !QFileInfo(folder).isDir())
                folder = QStringLiteral("/usr/bin");
            const QString drive = m_window.context().platform.drives.driveOf(folder);
            m_driveList->refresh();
            if (!drive.isEmpty() && m_driveList->chooseDrive(drive))
                m_folderTree->chooseFolder(folder);
        } else {
            m_driveList->refresh();
        }
        m_driveList->show();
        m_folderTree->show();
        m_fileList->show();
    }
    m_target = target;
}

void ConfigurationPage::hideChooserLists()
{
    m_driveList->hide();
    m_folderTree->hide();
    m_fileList->hide();
}

void ConfigurationPage::listPrograms(const QString &folder)
{
    // Programs are the executable files (the links to them included).
    m_fileList->clear();
    const QFileInfoList programs =
        QDir(folder).entryInfoList(QDir::Files | QDir::Executable, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : programs)
        m_fileList->addItem(info.fileName());
}

void ConfigurationPage::programChosen(const QString &fileName)
{
    const QString folder = m_folderTree->currentFolder();
    const QString path = (folder.endsWith(u'/') ? folder : folder + u'/') + fileName;
    if (m_target == BrowseTarget::Pdf)
        m_pdfBox->setText(path);
    else
        m_webBox->setText(path);
    hideChooserLists();
}

void ConfigurationPage::showTextLocationPage()
{
    m_window.show(Screen::TextLocation);
}

void ConfigurationPage::LockCommands()
{
    m_window.setCommandsEnabled(false);
    m_intro->hide();
    m_heading->hide();
    m_pageNumber->setEnabled(false);
    m_pdfFrame->hide();
    m_webFrame->hide();
    m_chooser->hide();
}

void ConfigurationPage::UnlockCommands()
{
    m_window.setCommandsEnabled(true);
    m_intro->show();
    m_heading->show();
    m_pageNumber->setEnabled(true);
    m_pdfFrame->show();
    m_webFrame->show();
    m_chooser->show();
}

void ConfigurationPage::showSettings()
{
    const Settings &settings = m_window.context().state.settings;
    setViewerPath(settings.pdfViewer);
    setBrowserPath(settings.webBrowser);
    m_ignoreAccents->setChecked(settings.ignoreAccents);
}

void ConfigurationPage::setViewerPath(const QString &path)
{
    m_pdfBox->setText(path);
    m_pdfPath->setText(path);
}

void ConfigurationPage::setBrowserPath(const QString &path)
{
    m_webBox->setText(path);
    m_webPath->setText(path);
}

void ConfigurationPage::settingsLoaded(const Settings &)
{
    showSettings();
}

void ConfigurationPage::setStartupTexts()
{
    m_pdfBrowse->setText(QStringLiteral("Modifier"));
    m_title->setText(QStringLiteral("CONFIGURATION DU PROGRAMME"));
    m_intro->setText(QStringLiteral("Pour accéder aux textes des articles, le programme doit "
                                    "connaître le visualiseur de textes PDF et le navigateur Web "
                                    "utilisés. "));
    m_pdfText->setText(threeLines(QStringLiteral(
        "Le visualiseur PDF 'Acrobat Reader' est installé dans le dossier ci-dessous")));
    m_webText->setText(
        threeLines(QStringLiteral("Le navigateur WEB est installé dans le dossier ci-dessous")));
}

void ConfigurationPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The file list shows the programs of the chosen folder as they are now.
    if (!m_folderTree->currentFolder().isEmpty())
        listPrograms(m_folderTree->currentFolder());
}

void ConfigurationPage::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    hideChooserLists();
}

} // namespace ferlin
