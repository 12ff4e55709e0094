// The first-run configuration: the program search over the roots, then the whole run on the
// program's first start, with the programs in temporary folders and fake drives.
#include "core/config/programsearch.h"
#include "gui/config/autoconfigframe.h"
#include "gui/config/configpage.h"
#include "gui/config/textlocationpage.h"
#include "support/programfixture.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// Writes an empty program file, its folders included.
QString addProgram(const QString &root, const QString &relativePath)
{
    const QString path = QDir(root).filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

class ProgramSearchTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    LocalFileSystem files;
    QString root(const char *name)
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QDir().mkpath(path);
        return path;
    }
};

TEST_F(ProgramSearchTest, StopsAtTheFirstRootThatHoldsTheFileAfterWalkingItWhole)
{
    const QString first = root("c");
    const QString second = root("d");
    const QString third = root("e");
    addProgram(first, QStringLiteral("a/b/other"));
    const QString wanted = addProgram(second, QStringLiteral("bin/evince"));
    addProgram(third, QStringLiteral("evince"));
    QStringList searched;
    const FoundFile found = FindFileOnFixedDrives(
        files, {first, dir.filePath(QStringLiteral("missing")), second, third},
        QStringLiteral("evince"), [&](const QString &r) { searched.append(r); });
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.path, wanted);
    // A root that is no folder is skipped; the roots after the match are not searched.
    EXPECT_EQ(searched, (QStringList{first, second}));
}

TEST_F(ProgramSearchTest, TakesTheLastMatchOfTheWalkButAFoldersOwnFileBeforeItsSubfolders)
{
    const QString r = root("r");
    addProgram(r, QStringLiteral("a/evince"));
    const QString last = addProgram(r, QStringLiteral("b/evince"));
    // The folder's own file is taken: the copy below it is never reached.
    const QString top = addProgram(r, QStringLiteral("c/evince"));
    addProgram(r, QStringLiteral("c/sub/evince"));
    QString path;
    bool found = false;
    SearchFolderTree(files, r, QStringLiteral("evince"), path, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(path, top);
    QDir(QFileInfo(top).absolutePath()).removeRecursively();
    path.clear();
    SearchFolderTree(files, r, QStringLiteral("evince"), path, found);
    EXPECT_EQ(path, last);
}

TEST_F(ProgramSearchTest, SearchesEachNameOverEveryRootBeforeTheNext)
{
    const QString first = root("r1");
    const QString second = root("r2");
    addProgram(first, QStringLiteral("xdg-open"));
    const QString okular = addProgram(second, QStringLiteral("okular"));
    EXPECT_EQ(FindFirstProgram(
                  files, {first, second},
                  {QStringLiteral("evince"), QStringLiteral("okular"), QStringLiteral("xdg-open")})
                  .path,
              okular);
    EXPECT_FALSE(FindFirstProgram(files, {first, second}, {QStringLiteral("firefox")}).found);
}

TEST_F(ProgramSearchTest, PathFoldersKeepTheirOrderWithoutRepeatsOrRelativeEntries)
{
    const QString a = root("a");
    const QString b = root("b");
    QFile::link(a, dir.filePath(QStringLiteral("alias")));
    const QString path = a + u':' + u':' + QStringLiteral("relative") + u':' + b + u':' + a + u':' +
                         dir.filePath(QStringLiteral("alias"));
    EXPECT_EQ(ProgramSearch::pathFolders(path), (QStringList{a, b}));
}

TEST(CdRomDrives, AreListedEachAfterABlank)
{
    FakeDrives drives;
    EXPECT_EQ(FirstCdRomDrive(drives), QString());
    EXPECT_EQ(ListCdRomDrives(drives), QString());
    drives.addDrive(QStringLiteral("/"), {DriveType::FixedDisk, {}, QStringLiteral("/"), 0, true});
    drives.addDrive(QStringLiteral("/dev/sr0"), {DriveType::CdRom, {}, {}, 0, false});
    drives.addDrive(QStringLiteral("/dev/sr1"), {DriveType::CdRom, {}, {}, 0, false});
    EXPECT_EQ(FirstCdRomDrive(drives), QStringLiteral("/dev/sr0"));
    EXPECT_EQ(ListCdRomDrives(drives), QStringLiteral(" /dev/sr0 /dev/sr1"));
}

TEST(CdRomDrives, TheDiscFoldersBesideTheProgramComeAfterTheRealDrives)
{
    QTemporaryDir program;
    QTemporaryDir user;
    const QString disc1 = program.filePath(QStringLiteral("FERLIN4_1"));
    const QString disc2 = program.filePath(QStringLiteral("FERLIN4_2"));
    const QString copied2 = user.filePath(QStringLiteral("FERLIN4_2"));
    for (const QString &folder :
         {disc1, disc2, copied2, program.filePath(QStringLiteral("Textes"))})
        QDir().mkpath(folder);
    LocalFileSystem files;
    const QStringList folders =
        DiscFolders(files, {program.path(), user.path(), program.filePath(QStringLiteral("x"))});
    EXPECT_EQ(folders, (QStringList{disc1, disc2, copied2}));

    FakeDrives drives;
    EXPECT_EQ(FirstCdRomDrive(drives, folders), disc1);
    drives.addDrive(QStringLiteral("/dev/loop0"), {DriveType::CdRom, {}, {}, 0, false});
    EXPECT_EQ(FirstCdRomDrive(drives, folders), QStringLiteral("/dev/loop0"));
    EXPECT_EQ(ListCdRomDrives(drives, folders),
              QStringLiteral(" /dev/loop0 ") + disc1 + u' ' + disc2 + u' ' + copied2);
}

// The program's first start, with the programs it looks for in temporary roots.
class FirstRun : public ::testing::Test {
protected:
    test::ProgramFixture program;
    QTemporaryDir programs;
    QString first;
    QString second;

    FirstRun()
    {
        program.fakes.settings.setValue(QStringLiteral("Startup"), QStringLiteral("0"));
        first = programs.filePath(QStringLiteral("bin"));
        second = programs.filePath(QStringLiteral("usr/local/bin"));
        QDir().mkpath(first);
        QDir().mkpath(second);
    }

    ConfigurationPage *page1()
    {
        return program.window.screenAs<ConfigurationPage>(QStringLiteral("Config"));
    }
    TextLocationPage *page2()
    {
        return program.window.screenAs<TextLocationPage>(QStringLiteral("F_copie"));
    }
    AutoConfigFrame *frame() { return page1()->autoConfigFrame(); }
    template <typename T> T *on1(const char *name)
    {
        return page1()->findChild<T *>(QString::fromUtf8(name));
    }
    template <typename T> T *on2(const char *name)
    {
        return page2()->findChild<T *>(QString::fromUtf8(name));
    }
    QString stored(const char *name)
    {
        return program.fakes.settings.read(Settings::Key, QString::fromUtf8(name));
    }
    void start()
    {
        ProgramSearch search;
        search.roots = {first, second};
        search.viewerNames = {QStringLiteral("evince"), QStringLiteral("xdg-open")};
        search.browserNames = {QStringLiteral("firefox"), QStringLiteral("xdg-open")};
        page1()->setProgramSearch(search);
        program.window.load();
    }
    void addCdDrive(const char *name)
    {
        program.fakes.drives.addDrive(QString::fromUtf8(name),
                                      {DriveType::CdRom, {}, programs.path(), 0, false});
    }
    const QList<RecordedMessage> &messages() { return program.fakes.messageBox.messages(); }
};

TEST_F(FirstRun, BothProgramsFoundConfiguresSavesAndOpensTheSecondPage)
{
    const QString viewer = addProgram(second, QStringLiteral("evince"));
    const QString browser = addProgram(first, QStringLiteral("firefox"));
    addCdDrive("/dev/sr0");
    start();

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(messages()[0].text,
              QStringLiteral("Ferlin s'est paramétré automatiquement et est opérationnel \r\n"
                             "Il vous est toutefois conseillé de copier les textes sur un disque "
                             "dur \r\n(Localisation des textes, en page deuxième page de "
                             "configuration) "));
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(on1<QLabel>("MsgInitPDF")->text(),
              QStringLiteral("Acrobat Reader a été trouvé en :\n") + viewer);
    EXPECT_EQ(on1<QLabel>("MsgInitWEB")->text(),
              QStringLiteral("Internet Explorer a été trouvé en :\n") + browser);
    EXPECT_EQ(on1<QLabel>("MsgLecteurCD")->text(),
              QStringLiteral("Lecteur(s) de CD-ROM trouvé(s) :  /dev/sr0\nLecteur choisi : "
                             "/dev/sr0"));
    EXPECT_EQ(on1<QLabel>("Lbl_cheminPDF")->text(), viewer);
    EXPECT_EQ(on1<QLineEdit>("T_Web")->text(), browser);
    EXPECT_EQ(on2<QLabel>("Lbl_CD")->text(), QStringLiteral("/dev/sr0"));
    EXPECT_FALSE(on2<QPushButton>("Cmd_CD")->isHidden());
    EXPECT_EQ(stored("Startup"), QStringLiteral("1"));
    EXPECT_EQ(stored("LecteurPDF"), viewer);
    EXPECT_EQ(stored("LecteurHTM"), browser);
    EXPECT_EQ(stored("LecteurCD"), QStringLiteral("/dev/sr0"));
    EXPECT_TRUE(program.window.isCommandEnabled(QStringLiteral("Cmd_config")));
    EXPECT_TRUE(program.window.isCommandEnabled(QStringLiteral("Cmd_Quitte")));
    EXPECT_EQ(program.window.findChild<QMdiArea *>()->activeSubWindow()->widget(), page2());
    EXPECT_FALSE(program.fakes.busyPointer.isBusy());
}

TEST_F(FirstRun, WithoutADriveTheDiscFoldersBesideTheProgramStandForIt)
{
    addProgram(first, QStringLiteral("evince"));
    addProgram(first, QStringLiteral("firefox"));
    const QString disc1 = programs.filePath(QStringLiteral("FERLIN4_1"));
    const QString disc2 = programs.filePath(QStringLiteral("FERLIN4_2"));
    QDir().mkpath(disc1);
    QDir().mkpath(disc2);
    program.context.discFolderPlaces = {programs.path()};
    start();

    EXPECT_EQ(on1<QLabel>("MsgLecteurCD")->text(),
              QStringLiteral("Lecteur(s) de CD-ROM trouvé(s) :  ") + disc1 + u' ' + disc2 +
                  QStringLiteral("\nLecteur choisi : ") + disc1);
    EXPECT_EQ(stored("LecteurCD"), disc1);
    // Page 2 offers both discs' folders to change to.
    QTest::mouseClick(on2<QPushButton>("Cmd_CD"), Qt::LeftButton);
    EXPECT_EQ(on2<QListWidget>("List_CD")->count(), 2);
}

TEST_F(FirstRun, OnlyTheBrowserMissingKeepsTheFrameAndTheCommandsLockedUntilContinuer)
{
    addProgram(first, QStringLiteral("evince"));
    start();

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text,
              QStringLiteral(" Ferlin ne s'est que partiellement paramétré.\r\nIl n'a pas trouvé "
                             "Internet Explorer et ne pourra pas accéder directement aux sites "
                             "Web \r\nIl vous est conseillé d'installez un navigateur Web "));
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_TRUE(frame()->installViewer->isHidden());
    EXPECT_TRUE(frame()->continueButton->isEnabled());
    EXPECT_TRUE(frame()->searchAgain->isVisible());
    EXPECT_EQ(on1<QLabel>("MsgInitWEB")->text(),
              QStringLiteral("Internet Explorer n'est pas installé.\nL'installer pour pouvoir "
                             "accéder aux sites Web."));
    EXPECT_EQ(on1<QLabel>("MsgInitWEB")->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(stored("LecteurHTM"), QString());
    for (const QString &name : MainWindow::commandNames())
        EXPECT_FALSE(program.window.isCommandEnabled(name)) << name.toStdString();
    EXPECT_TRUE(on1<QGroupBox>("Frame_PDF")->isHidden());

    QTest::mouseClick(frame()->continueButton, Qt::LeftButton);
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_TRUE(program.window.isCommandEnabled(QStringLiteral("Cmd_feuillette")));
    EXPECT_TRUE(on1<QGroupBox>("Frame_PDF")->isVisible());
}

TEST_F(FirstRun, BothMissingWithoutDriveSaysSoTwiceAndHidesTheDriveChoice)
{
    start();
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages()[0].text.startsWith(
        QStringLiteral("Ferlin ne s'est que partiellement paramétré.\r\nIl n'a pas trouvé Adobe "
                       "Acrobat Reader")));
    EXPECT_TRUE(messages()[1].text.startsWith(QStringLiteral(" Ferlin ne s'est")));
    EXPECT_TRUE(frame()->installViewer->isVisible());
    EXPECT_EQ(on1<QLabel>("MsgLecteurCD")->text(),
              QStringLiteral("Lecteur(s) de CD-ROM trouvé(s) : \nLecteur choisi : "));
    EXPECT_EQ(on2<QLabel>("Lbl_CD")->text(), QString());
    EXPECT_TRUE(on2<QPushButton>("Cmd_CD")->isHidden());
    EXPECT_EQ(stored("LecteurCD"), QString());
    EXPECT_EQ(stored("LecteurPDF"), QString());

    // Installed meanwhile: the search again finds both and unlocks.
    addProgram(first, QStringLiteral("evince"));
    addProgram(second, QStringLiteral("xdg-open"));
    QTest::mouseClick(frame()->searchAgain, Qt::LeftButton);
    EXPECT_EQ(messages().size(), 3);
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_TRUE(program.window.isCommandEnabled(QStringLiteral("Cmd_config")));
}

TEST_F(FirstRun, QuittingAfterAPartialConfigurationDoesNotConfigureAgain)
{
    start();
    ASSERT_EQ(stored("Startup"), QStringLiteral("1"));

    // The next start on the stored settings.
    test::ProgramFixture next;
    for (const auto &write : program.fakes.settings.writes())
        next.fakes.settings.setValue(write.key, write.name, write.text);
    next.window.load();
    EXPECT_TRUE(next.window.startupSucceeded());
    EXPECT_FALSE(next.window.isScreenBuilt(QStringLiteral("Config")) &&
                 next.window.screenAs<ConfigurationPage>(QStringLiteral("Config"))
                     ->autoConfigFrame()
                     ->isVisible());
    // The texts were never copied: only the information message of an ordinary start.
    ASSERT_EQ(next.fakes.messageBox.messages().size(), 1);
    EXPECT_TRUE(next.fakes.messageBox.messages()[0].text.startsWith(
        QStringLiteral("Les textes des articles n'ont pas été copiés")));
}

} // namespace
