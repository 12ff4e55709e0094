#include "gui/config/textlocationpage.h"

#include "core/config/programsearch.h"
#include "core/context/appcontext.h"
#include "core/context/settingsio.h"
#include "gui/config/clickablelabel.h"
#include "gui/config/configpage.h"
#include "gui/config/textcopyframe.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/optiongroup.h"
#include "gui/shell/rowchoice.h"
#include "gui/shell/screenhost.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

} // namespace

TextLocationPage::TextLocationPage(ScreenHost &window) : m_window(window)
{
    setObjectName(QStringLiteral("F_copie"));
    setWindowTitle(QStringLiteral("Copie des textes sur disque dur"));
    build();
    showSettings();
    const RunState &state = window.context().state;
    if (state.startupTextsSet) {
        setStartupTexts();
        textLocationKnown(state.settings.textsCopied == u'O');
    }
    nameControlsForAccessibility(this);
}

void TextLocationPage::build()
{
    auto *layout = new QVBoxLayout(this);
    addConfigurationHeading(this, layout, QStringLiteral("F 17"));

    auto *pageLine = new QHBoxLayout;
    pageLine->addWidget(
        named(new QLabel(QStringLiteral("Localisation des textes des articles"), this), "Label2"));
    auto *pageNumber = named(new ClickableLabel(QStringLiteral("(2/2)"), this), "Label3");
    pageNumber->setToolTip(
        QStringLiteral(" Cliquer pour revenir à la page de configuration n° 1 "));
    connect(pageNumber, &ClickableLabel::clicked, this, [this] { showPage1(); });
    pageLine->addWidget(pageNumber);
    pageLine->addStretch();
    layout->addLayout(pageLine);

    m_intro = named(new QLabel(this), "Lbl_IntroCopie");
    m_intro->setWordWrap(true);
    layout->addWidget(m_intro);

    auto *options = named(new QGroupBox(this), "Frame3");
    auto *optionsLayout = new QHBoxLayout(options);
    m_location[0] =
        named(new QRadioButton(QStringLiteral("Textes sur CD-ROM"), options), "Option_Textes_0");
    m_location[0]->setToolTip(QStringLiteral(" Cliquer pour lire les textes sur les CD-ROM "));
    m_location[1] = named(new QRadioButton(QStringLiteral("Textes sur disque dur"), options),
                          "Option_Textes_1");
    m_location[1]->setToolTip(QStringLiteral(" Cliquer pour lire les textes sur un disque dur "));
    m_location[1]->setEnabled(false);
    for (QRadioButton *option : m_location) {
        optionsLayout->addWidget(option);
        connect(option, &QRadioButton::clicked, this, [this] { locationClicked(); });
    }
    m_locationGroup = exclusiveGroup(this, m_location);
    optionsLayout->addStretch();
    layout->addWidget(options);

    layout->addWidget(buildCdFrame());
    layout->addWidget(buildFolderFrame());

    Platform &platform = m_window.context().platform;
    m_copyFrame = new TextCopyFrame(m_window.context().state.settings, platform, *this,
                                    m_window.context().programFolder(), this);
    layout->addWidget(m_copyFrame);

    auto *buttons = new QHBoxLayout;
    m_copy = named(new QPushButton(QStringLiteral("Copie / Déplacement des textes "), this),
                   "Cmd_recopie");
    connect(m_copy, &QPushButton::clicked, this, [this] { m_copyFrame->open(); });
    auto *toPage1 = named(new QPushButton(QStringLiteral("Localisation des visualiseurs"), this),
                          "Cmd_copieHD");
    toPage1->setToolTip(QStringLiteral(" Cliquer pour revenir à la page de configuration n° 1 "));
    connect(toPage1, &QPushButton::clicked, this, [this] { showPage1(); });
    auto *save =
        named(new QPushButton(QStringLiteral("Sauvegarder la configuration"), this), "Cmd_config");
    connect(save, &QPushButton::clicked, this, [this] { saveAndConfirm(); });
    buttons->addWidget(m_copy);
    buttons->addWidget(toPage1);
    buttons->addStretch();
    buttons->addWidget(save);
    layout->addLayout(buttons);
    layout->addStretch();
}

QGroupBox *TextLocationPage::buildCdFrame()
{
    m_cdFrame = named(new QGroupBox(QStringLiteral(" Lecteur de CD-ROM "), this), "Frame_CD");
    auto *layout = new QGridLayout(m_cdFrame);
    m_cdText = named(
        new QLabel(QStringLiteral("Les textes sont lus sur le lecteur de CD-ROM "), m_cdFrame),
        "Label5");
    m_cdDrive = named(new QLabel(m_cdFrame), "Lbl_CD");
    m_changeDrive =
        named(new QPushButton(QStringLiteral("Changer de lecteur"), m_cdFrame), "Cmd_CD");
    m_driveList = named(new QListWidget(m_cdFrame), "List_CD");
    m_driveList->setMaximumHeight(90);
    m_driveList->hide();
    layout->addWidget(m_cdText, 0, 0);
    layout->addWidget(m_cdDrive, 0, 1);
    layout->addWidget(m_changeDrive, 0, 2);
    layout->addWidget(m_driveList, 1, 1, 1, 2);
    layout->setColumnStretch(1, 1);
    connect(m_changeDrive, &QPushButton::clicked, this, [this] { listCdDrives(); });
    onRowChosen(m_driveList, [this](int row) {
        setCdDrive(m_driveList->item(row)->text());
        m_driveList->hide();
    });
    return m_cdFrame;
}

QGroupBox *TextLocationPage::buildFolderFrame()
{
    m_folderFrame = named(new QGroupBox(QStringLiteral(" Dossier des textes sur disque dur"), this),
                          "Frame_HD");
    auto *layout = new QVBoxLayout(m_folderFrame);
    m_folderText =
        named(new QLabel(QStringLiteral("Les textes se trouvent dans le dossier :"), m_folderFrame),
              "Lbl_dossier");
    m_folder = named(new QLabel(m_folderFrame), "Lbl_HDdossier");
    m_moveText = named(new QLabel(m_folderFrame), "Lbl_deplace");
    for (QLabel *label : {m_folderText, m_folder, m_moveText}) {
        label->setEnabled(false);
        layout->addWidget(label);
    }
    m_folderFrame->hide();
    return m_folderFrame;
}

void TextLocationPage::locationClicked()
{
    Settings &settings = m_window.context().state.settings;
    settings.setTextsOnCd(m_location[0]->isChecked());
    settings.setTextsOnHardDisk(m_location[1]->isChecked());
    const bool onCd = m_location[0]->isChecked();
    if (!onCd && settings.textsCopied != u'O')
        return;
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_folderFrame, m_folderText, m_moveText, m_folder})
        w->setEnabled(!onCd);
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_cdFrame, m_cdDrive, m_changeDrive, m_cdText})
        w->setEnabled(onCd);
}

void TextLocationPage::listCdDrives()
{
    m_driveList->clear();
    const AppContext &context = m_window.context();
    m_driveList->addItems(CdRomDrives(
        context.platform.drives, DiscFolders(context.platform.files, context.discFolderPlaces)));
    m_driveList->show();
}

void TextLocationPage::setCdDrive(const QString &drive)
{
    m_cdDrive->setText(drive);
    m_window.context().state.settings.cdDrive = drive;
}

void TextLocationPage::hideDriveChoice()
{
    m_changeDrive->hide();
    m_driveList->hide();
}

void TextLocationPage::showSettings()
{
    const Settings &settings = m_window.context().state.settings;
    m_cdDrive->setText(settings.cdDrive);
    m_folder->setText(settings.hardDiskFolder);
    // Stored values may select neither option.
    m_locationGroup->setExclusive(false);
    m_location[0]->setChecked(settings.textsOnCd);
    m_location[1]->setChecked(settings.textsOnHardDisk);
    m_locationGroup->setExclusive(true);
    // Options set from the stored values act as a click on them.
    locationClicked();
}

void TextLocationPage::showPage1()
{
    m_window.show(Screen::Configuration);
}

void TextLocationPage::saveConfiguration()
{
    AppContext &context = m_window.context();
    SaveSettings(context.platform.settings, context.platform.messageBox, context.state.settings,
                 context.state.configLoaded);
}

void TextLocationPage::saveAndConfirm()
{
    saveConfiguration();
    m_window.context().platform.messageBox.show(MessageIcon::None, MessageButtons::Ok,
                                                QStringLiteral("Le paramétrage a été sauvegardé"));
}

void TextLocationPage::LockCommands()
{
    if (auto *page1 = m_window.configurationPage())
        page1->LockCommands();
}

void TextLocationPage::UnlockCommands()
{
    if (auto *page1 = m_window.configurationPage())
        page1->UnlockCommands();
}

QString TextLocationPage::textFolderLabel() const
{
    return m_folder->text();
}

void TextLocationPage::setTextFolderLabel(const QString &text)
{
    m_folder->setText(text);
}

void TextLocationPage::chooseHardDisk()
{
    m_location[1]->setEnabled(true);
    m_location[1]->setChecked(true);
    locationClicked();
    m_folderFrame->show();
}

void TextLocationPage::showCopyButton()
{
    m_copy->show();
}

void TextLocationPage::settingsLoaded(const Settings &)
{
    showSettings();
}

void TextLocationPage::setStartupTexts()
{
    const QString lineBreak = QStringLiteral("\n");
    if (m_window.context().state.settings.textsCopied != u'O') {
        m_intro->setText(QStringLiteral("Les textes sont sur les CD, mais ils peuvent être copiés "
                                        "sur un disque dur pour éviter la manipulation des "
                                        "CD-ROM.") +
                         lineBreak +
                         QStringLiteral("Il faut disposer de 1,2 Go libres sur le disque."));
        m_copy->setToolTip(QStringLiteral(" Cliquer pour copier les textes sur un disque dur "));
    } else {
        m_folderText->setText(QStringLiteral("Les textes se trouvent dans le dossier : "));
        m_moveText->setText(
            QStringLiteral("Mais ils peuvent être déplacés dans un autre dossier : "));
        m_intro->setText(QStringLiteral("Les textes peuvent être déplacés vers un autre dossier ou "
                                        "un autre disque dur.") +
                         lineBreak +
                         QStringLiteral("Le déplacement vers un autre disque dure plusieurs "
                                        "minutes."));
        m_copy->setToolTip(
            QStringLiteral(" Cliquer pour déplacer les textes dans un autre dossier "));
    }
    m_copyFrame->setStartupTexts();
}

void TextLocationPage::textLocationKnown(bool textsCopied)
{
    if (!textsCopied) {
        m_location[1]->setEnabled(false);
        m_location[0]->setChecked(true);
        locationClicked();
        m_copy->show();
        m_folderFrame->hide();
    } else {
        m_location[1]->setEnabled(true);
        m_folderFrame->show();
    }
}

} // namespace ferlin
