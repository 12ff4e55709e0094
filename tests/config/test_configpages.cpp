// The two configuration pages on a configured program: the paths as a working copy of the
// settings, the file chooser, the text location, the drive choice and the save.
#include "gui/config/configpage.h"
#include "gui/config/folderpicker.h"
#include "gui/config/textlocationpage.h"
#include "support/programfixture.h"

#include "gui/config/autoconfigframe.h"
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

class ConfigPages : public ::testing::Test {
protected:
    test::ProgramFixture program;

    ConfigPages()
    {
        program.fakes.settings.setValue(QStringLiteral("LecteurPDF"),
                                        QStringLiteral("/usr/bin/evince"));
        program.fakes.settings.setValue(QStringLiteral("LecteurCD"), QStringLiteral("/dev/sr0"));
    }
    void start(bool copied)
    {
        program.fakes.settings.setValue(QStringLiteral("TextesRecopies"),
                                        copied ? QStringLiteral("O") : QStringLiteral("N"));
        program.fakes.settings.setValue(QStringLiteral("TextesHD"),
                                        copied ? QStringLiteral("False") : QStringLiteral("True"));
        program.fakes.settings.setValue(QStringLiteral("TextesCD"),
                                        copied ? QStringLiteral("True") : QStringLiteral("False"));
        program.fakes.settings.setValue(QStringLiteral("CheminHD"), QStringLiteral("/srv/ferlin"));
        program.window.load();
        program.fakes.messageBox.clear();
    }
    ConfigurationPage *page1()
    {
        return program.window.screenAs<ConfigurationPage>(QStringLiteral("Config"));
    }
    TextLocationPage *page2()
    {
        return program.window.screenAs<TextLocationPage>(QStringLiteral("F_copie"));
    }
    template <typename T> T *on1(const char *name)
    {
        return page1()->findChild<T *>(QString::fromUtf8(name));
    }
    template <typename T> T *on2(const char *name)
    {
        return page2()->findChild<T *>(QString::fromUtf8(name));
    }
    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    QWidget *active()
    {
        return program.window.findChild<QMdiArea *>()->activeSubWindow()->widget();
    }
    Settings &settings() { return program.context.state.settings; }
};

TEST_F(ConfigPages, TheCommandOpensPageOneShowingTheStoredPathsAndTheStartupTexts)
{
    start(false);
    EXPECT_TRUE(program.window.isCommandEnabled(QStringLiteral("Cmd_config")));
    click(program.window.commandButton(QStringLiteral("Cmd_config")));
    EXPECT_EQ(active(), page1());
    EXPECT_EQ(on1<QLabel>("Lbl_cheminPDF")->text(), QStringLiteral("/usr/bin/evince"));
    EXPECT_EQ(on1<QLabel>("Lab_config")->text(),
              QStringLiteral("Pour accéder aux textes des articles, le programme doit connaître le "
                             "visualiseur de textes PDF et le navigateur Web utilisés. "));
    EXPECT_EQ(on1<QLabel>("Lab_TexteWEB")->text(),
              QStringLiteral("Le navigateur WEB est installé dans le dossier ci-dessous\nVous "
                             "pouvez le modifier en cliquant sur le bouton\nou en le tapant "
                             "directement dans la zone de saisie ci-dessous."));
    EXPECT_TRUE(on1<QPushButton>("Cmd_config")->isHidden());
    EXPECT_FALSE(page1()->autoConfigFrame()->isVisible());

    // The page numbers and buttons switch between the two pages.
    click(on1<QLabel>("Label5"));
    EXPECT_EQ(active(), page2());
    click(on2<QLabel>("Label3"));
    EXPECT_EQ(active(), page1());
    click(on1<QPushButton>("Cmd_copieHD"));
    EXPECT_EQ(active(), page2());
}

TEST_F(ConfigPages, TypingAPathChangesTheSettingsAtOnceAndTheSaveStoresItTrimmed)
{
    start(false);
    program.window.showScreen(QStringLiteral("Config"));
    click(on1<QPushButton>("Cmd_PDF"));
    EXPECT_TRUE(on1<QGroupBox>("Frame_ModifPDF")->isVisible());
    EXPECT_FALSE(on1<QGroupBox>("Frame_Web")->isVisible());
    QLineEdit *box = on1<QLineEdit>("T_PDF");
    box->clear();
    QTest::keyClicks(box, QStringLiteral(" /opt/okular "));
    EXPECT_EQ(on1<QLabel>("Lbl_cheminPDF")->text(), QStringLiteral(" /opt/okular "));
    EXPECT_EQ(settings().pdfViewer, QStringLiteral(" /opt/okular "));
    click(on1<QPushButton>("Cmd_SuitePDF"));
    EXPECT_TRUE(on1<QGroupBox>("Frame_PDF")->isVisible());
    EXPECT_TRUE(on1<QGroupBox>("Frame_Web")->isVisible());

    program.window.showScreen(QStringLiteral("F_copie"));
    click(on2<QPushButton>("Cmd_config"));
    ASSERT_EQ(program.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &saved = program.fakes.messageBox.lastMessage();
    EXPECT_EQ(saved.text, QStringLiteral("Le paramétrage a été sauvegardé"));
    EXPECT_EQ(saved.icon, MessageIcon::None);
    EXPECT_FALSE(saved.title.has_value());
    EXPECT_EQ(program.fakes.settings.read(Settings::Key, QStringLiteral("LecteurPDF")),
              QStringLiteral("/opt/okular"));
    EXPECT_EQ(program.fakes.settings.read(Settings::Key, QStringLiteral("Startup")),
              QStringLiteral("1"));
}

TEST_F(ConfigPages, TheAccentBoxShowsTheStoredSettingAndChangesItUntilSaved)
{
    program.fakes.settings.setValue(QStringLiteral("IgnorerAccents"), QStringLiteral("1"));
    start(false);
    program.window.showScreen(QStringLiteral("Config"));
    QCheckBox *box = on1<QCheckBox>("Check_Accents");
    EXPECT_EQ(box->text(), QStringLiteral("Ignorer les accents dans les recherches"));
    EXPECT_TRUE(box->isChecked());
    click(box);
    EXPECT_FALSE(settings().ignoreAccents);
    EXPECT_EQ(program.fakes.settings.read(Settings::Key, QStringLiteral("IgnorerAccents")),
              QStringLiteral("1"));
    program.window.showScreen(QStringLiteral("F_copie"));
    click(on2<QPushButton>("Cmd_config"));
    EXPECT_EQ(program.fakes.settings.read(Settings::Key, QStringLiteral("IgnorerAccents")),
              QStringLiteral("0"));
}

TEST_F(ConfigPages, TheFileChooserFillsTheBoxOfTheLastButtonPressed)
{
    QTemporaryDir disk;
    QDir().mkpath(disk.filePath(QStringLiteral("apps")));
    for (const char *name : {"apps/viewer", "browser"}) {
        QFile file(disk.filePath(QString::fromUtf8(name)));
        file.open(QIODevice::WriteOnly);
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    QFile plain(disk.filePath(QStringLiteral("notes.txt")));
    plain.open(QIODevice::WriteOnly);
    program.fakes.drives.addDrive(disk.path(), {DriveType::FixedDisk, {}, disk.path(), 0, true});
    program.fakes.drives.addDrive(QStringLiteral("/dev/sr0"), {DriveType::CdRom, {}, {}, 0, false});
    start(false);
    program.window.showScreen(QStringLiteral("Config"));
    click(on1<QPushButton>("Cmd_PDF"));

    auto *drives = on1<DriveList>("Drive2");
    auto *folders = on1<FolderTree>("Dir1");
    auto *files = on1<QListWidget>("File1");
    click(on1<QPushButton>("Cmd_Word"));
    EXPECT_TRUE(drives->isVisible());
    // Pressed twice, the chooser hides again.
    click(on1<QPushButton>("Cmd_Word"));
    EXPECT_FALSE(drives->isVisible());
    EXPECT_FALSE(on1<QGroupBox>("Frame4")->isVisible());
    click(on1<QPushButton>("Cmd_Word"));

    // A drive without a disc cannot be read: the chooser stays where it was.
    ASSERT_TRUE(drives->chooseDrive(disk.path()));
    EXPECT_FALSE(drives->chooseDrive(QStringLiteral("/dev/sr0")));
    EXPECT_EQ(program.fakes.messageBox.lastMessage().text,
              QStringLiteral("Unité non valide. Mettez le CD-ROM dans le lecteur."));
    EXPECT_EQ(program.fakes.messageBox.lastMessage().title, QString());
    EXPECT_EQ(drives->currentDrive(), disk.path());

    // In the root, only the programs are listed; the path takes one separator.
    ASSERT_EQ(files->count(), 1);
    EXPECT_EQ(files->item(0)->text(), QStringLiteral("browser"));
    click(on1<QPushButton>("Cmd_Web2"));
    click(on1<QPushButton>("Cmd_Web"));
    EXPECT_EQ(page1()->browseTarget(), ConfigurationPage::BrowseTarget::Web);
    files->itemClicked(files->item(0));
    EXPECT_EQ(on1<QLineEdit>("T_Web")->text(), disk.filePath(QStringLiteral("browser")));
    EXPECT_EQ(settings().webBrowser, disk.filePath(QStringLiteral("browser")));
    EXPECT_FALSE(files->isVisible());

    click(on1<QPushButton>("Cmd_Word"));
    ASSERT_TRUE(folders->chooseFolder(disk.filePath(QStringLiteral("apps"))));
    ASSERT_EQ(files->count(), 1);
    files->itemClicked(files->item(0));
    EXPECT_EQ(settings().pdfViewer, disk.filePath(QStringLiteral("apps/viewer")));
    EXPECT_EQ(on1<QLabel>("Lbl_cheminPDF")->text(), disk.filePath(QStringLiteral("apps/viewer")));
}

TEST_F(ConfigPages, BeforeACopyOnlyTheCdRomLocationCanBeChosen)
{
    start(false);
    program.window.showScreen(QStringLiteral("F_copie"));
    auto *onCd = on2<QRadioButton>("Option_Textes_0");
    auto *onDisk = on2<QRadioButton>("Option_Textes_1");
    EXPECT_TRUE(onCd->isChecked());
    EXPECT_FALSE(onDisk->isEnabled());
    EXPECT_TRUE(on2<QPushButton>("Cmd_recopie")->isVisible());
    EXPECT_FALSE(on2<QGroupBox>("Frame_HD")->isVisible());
    EXPECT_EQ(on2<QLabel>("Lbl_IntroCopie")->text(),
              QStringLiteral("Les textes sont sur les CD, mais ils peuvent être copiés sur un "
                             "disque dur pour éviter la manipulation des CD-ROM.\nIl faut disposer "
                             "de 1,2 Go libres sur le disque."));
    EXPECT_EQ(on2<QPushButton>("Cmd_recopie")->toolTip(),
              QStringLiteral(" Cliquer pour copier les textes sur un disque dur "));
    click(onCd);
    EXPECT_TRUE(on2<QGroupBox>("Frame_CD")->isEnabled());
    EXPECT_TRUE(settings().textsOnCd);

    // With no CD-ROM drive, "Changer de lecteur" shows an empty list.
    click(on2<QPushButton>("Cmd_CD"));
    EXPECT_TRUE(on2<QListWidget>("List_CD")->isVisible());
    EXPECT_EQ(on2<QListWidget>("List_CD")->count(), 0);
}

TEST_F(ConfigPages, AfterACopyTheLocationSwitchesAtOnceAndTheDriveIsChosenFromTheList)
{
    program.fakes.drives.addDrive(QStringLiteral("/dev/sr0"), {DriveType::CdRom, {}, {}, 0, false});
    program.fakes.drives.addDrive(QStringLiteral("/dev/sr1"), {DriveType::CdRom, {}, {}, 0, false});
    start(true);
    program.window.showScreen(QStringLiteral("F_copie"));
    auto *onCd = on2<QRadioButton>("Option_Textes_0");
    auto *onDisk = on2<QRadioButton>("Option_Textes_1");
    EXPECT_TRUE(onDisk->isEnabled());
    EXPECT_TRUE(onDisk->isChecked());
    EXPECT_TRUE(on2<QGroupBox>("Frame_HD")->isVisible());
    EXPECT_EQ(on2<QLabel>("Lbl_HDdossier")->text(), QStringLiteral("/srv/ferlin"));
    EXPECT_EQ(on2<QLabel>("Lbl_deplace")->text(),
              QStringLiteral("Mais ils peuvent être déplacés dans un autre dossier : "));
    EXPECT_FALSE(on2<QGroupBox>("Frame_CD")->isEnabled());

    click(onCd);
    EXPECT_TRUE(settings().textsOnCd);
    EXPECT_FALSE(settings().textsOnHardDisk);
    EXPECT_TRUE(on2<QGroupBox>("Frame_CD")->isEnabled());
    EXPECT_FALSE(on2<QGroupBox>("Frame_HD")->isEnabled());

    click(on2<QPushButton>("Cmd_CD"));
    auto *list = on2<QListWidget>("List_CD");
    ASSERT_EQ(list->count(), 2);
    list->itemClicked(list->item(1));
    EXPECT_EQ(on2<QLabel>("Lbl_CD")->text(), QStringLiteral("/dev/sr1"));
    EXPECT_EQ(settings().cdDrive, QStringLiteral("/dev/sr1"));
    EXPECT_FALSE(list->isVisible());
    // Nothing is stored before a save.
    EXPECT_EQ(program.fakes.settings.read(Settings::Key, QStringLiteral("LecteurCD")),
              QStringLiteral("/dev/sr0"));
}

TEST_F(ConfigPages, LockingDisablesTheElevenCommandsAndUnlockingOnlyThoseThatExist)
{
    start(false);
    page1()->LockCommands();
    for (const QString &name : MainWindow::commandNames())
        EXPECT_FALSE(program.window.isCommandEnabled(name)) << name.toStdString();
    EXPECT_TRUE(on1<QGroupBox>("Frame_PDF")->isHidden());
    page1()->UnlockCommands();
    EXPECT_TRUE(program.window.isCommandEnabled(QStringLiteral("Cmd_config")));
    EXPECT_TRUE(program.window.isCommandEnabled(QStringLiteral("Cmd_Quitte")));
    EXPECT_FALSE(on1<QGroupBox>("Frame_PDF")->isHidden());
}

} // namespace
