#include "app/commandline.h"
#include "app/helpwindow.h"
#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "core/context/appcontext.h"
#include "core/context/texteditor.h"
#include "fakes/fakeplatform.h"
#include "support/accessiblename.h"
#include "support/samplebasecopy.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTextBrowser>
#include <QTextStream>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

struct Started {
    QTemporaryDir dir;
    FakePlatform fakes;
    AppContext context;
    MainWindow window;

    explicit Started(int references = 300)
        : context(test::copyOfGeneratedBase(dir, references), fakes.platform()), window(context)
    {
        fakes.settings.setValue(QStringLiteral("Startup"), QStringLiteral("1"));
        fakes.settings.setValue(QStringLiteral("TextesRecopies"), QStringLiteral("O"));
        fakes.settings.setValue(QStringLiteral("TextesHD"), QStringLiteral("False"));
        fakes.settings.setValue(QStringLiteral("TextesCD"), QStringLiteral("True"));
        for (const QString &name : Settings::printFieldNames())
            fakes.settings.setValue(name, QStringLiteral("1"));
        window.show();
    }
};

// Sets PATH for the scope of a test.
struct PathOverride {
    QByteArray saved = qgetenv("PATH");
    explicit PathOverride(const QString &path) { qputenv("PATH", QFile::encodeName(path)); }
    ~PathOverride() { qputenv("PATH", saved); }
};

void makeExecutable(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(CommandLine, VersionAnswersAsEveryProgramDoes)
{
    for (const char *option : {"--version", "-V", "--help"}) {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        EXPECT_EQ(RunCommandLine({QStringLiteral("ferlin"), QLatin1String(option)}, QString(),
                                 outStream, errStream),
                  0);
        EXPECT_EQ(err, QString());
        if (QLatin1String(option) == QLatin1String("--help"))
            EXPECT_TRUE(out.contains(QStringLiteral("\n  -V, --version\n"))) << out.toStdString();
        else
            EXPECT_EQ(out, QStringLiteral("Ferlin 4.0\n"));
    }
}

} // namespace

TEST(Help, TheHelpCommandAndF1OpenTheBundledFrenchPages)
{
    Started p;
    p.window.load();
    p.window.commandButton(QStringLiteral("Cmd_Aide"))->click();
    auto *help = p.window.findChild<HelpWindow *>(QStringLiteral("Aide"));
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    const QString text = help->browser()->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("La barre de commandes"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Fenêtres")));

    help->hide();
    QApplication::setActiveWindow(&p.window);
    QTest::keyClick(&p.window, Qt::Key_F1);
    EXPECT_TRUE(help->isVisible());
}

TEST(Notepad, PrefersWordpadInTheProgramFolderThenAnEditorOnThePath)
{
    QTemporaryDir program, bin;
    PathOverride path(bin.path());
    EXPECT_TRUE(findTextEditor(program.path()).isEmpty());

    makeExecutable(bin.filePath(QStringLiteral("mousepad")));
    makeExecutable(bin.filePath(QStringLiteral("gedit")));
    EXPECT_EQ(findTextEditor(program.path()), bin.filePath(QStringLiteral("gedit")));

    makeExecutable(program.filePath(QStringLiteral("WORDPAD.EXE")));
    EXPECT_EQ(findTextEditor(program.path()), program.filePath(QStringLiteral("WORDPAD.EXE")));
}

TEST(Notepad, StartsTheEditorOrSaysThereIsNone)
{
    QTemporaryDir program, bin;
    PathOverride path(bin.path());
    FakePlatform fakes;
    startTextEditor(fakes.launcher, fakes.messageBox, program.path());
    ASSERT_EQ(fakes.messageBox.messages().size(), 1);
    EXPECT_TRUE(fakes.messageBox.lastMessage().text.startsWith(
        QStringLiteral("Aucun éditeur de texte n'a été trouvé")));
    EXPECT_TRUE(fakes.launcher.starts().isEmpty());

    makeExecutable(bin.filePath(QStringLiteral("kwrite")));
    startTextEditor(fakes.launcher, fakes.messageBox, program.path());
    ASSERT_EQ(fakes.launcher.starts().size(), 1);
    EXPECT_EQ(fakes.launcher.starts().front().program, bin.filePath(QStringLiteral("kwrite")));
    EXPECT_TRUE(fakes.launcher.starts().front().arguments.isEmpty());

    fakes.launcher.setFailure(PlatformError(PlatformErrorCode::AccessError));
    startTextEditor(fakes.launcher, fakes.messageBox, program.path());
    EXPECT_EQ(fakes.messageBox.messages().size(), 2);
    EXPECT_TRUE(fakes.messageBox.lastMessage().text.startsWith(
        QStringLiteral("Le bloc note n'a pas pu être ouvert")));
}

TEST(Startup, ASettingThatDoesNotConvertOpensTheConfigurationAndRunsAsAFirstRun)
{
    Started p;
    p.fakes.settings.setValue(QStringLiteral("Startup"), QStringLiteral("abc"));
    auto *config = new QWidget;
    config->setObjectName(QStringLiteral("Config"));
    p.window.addScreen(config);
    bool autoConfigured = false;
    p.window.setFirstRunConfiguration([&] { autoConfigured = true; });
    p.window.load();
    EXPECT_TRUE(p.window.startupSucceeded());
    EXPECT_TRUE(config->isVisible());
    EXPECT_TRUE(autoConfigured);
    EXPECT_EQ(p.context.state.settings.webBrowser, Settings::DefaultProgram);
    EXPECT_FALSE(p.fakes.busyPointer.isBusy());
}

TEST(Startup, NoUpdateDateLeavesItsLineHidden)
{
    Started p;
    Database::open(p.context.databasePath)
        ->execute(QStringLiteral("UPDATE TArticles SET MajDate = NULL"));
    p.window.load();
    EXPECT_TRUE(p.window.startupSucceeded());
    QLabel *date = p.window.intro()->stepLabel(QStringLiteral("Lab_DateMAJ"));
    EXPECT_FALSE(date->isVisibleTo(p.window.intro()));
    EXPECT_TRUE(
        p.window.intro()->stepLabel(QStringLiteral("Lab_Base"))->isVisibleTo(p.window.intro()));
}

TEST(Intro, TheVersionLineOpensTheAboutBoxOnceItExists)
{
    Started p;
    int opened = 0;
    p.window.intro()->setVersionAction([&] { ++opened; });
    p.window.load();
    auto *version = p.window.intro()->findChild<QLabel *>(QStringLiteral("Label2"));
    ASSERT_TRUE(version);
    EXPECT_EQ(version->text(), QStringLiteral("Ferlin version 4.0"));
    QTest::mouseClick(version, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(p.window.intro()->findChild<QLabel *>(QStringLiteral("Label3"))->text(),
              QStringLiteral("15/04/2003"));
    EXPECT_EQ(p.window.intro()->findChild<QLabel *>(QStringLiteral("Label22"))->text(),
              QStringLiteral("F 01"));
}

TEST(Accessibility, EveryControlOfTheMainWindowHasAName)
{
    Started p;
    p.window.load();
    for (QWidget *w : p.window.findChildren<QWidget *>()) {
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w)) {
            if (!w->isVisibleTo(&p.window))
                continue;
            EXPECT_FALSE(test::accessibleName(w).isEmpty()) << w->objectName().toStdString();
        }
    }
}
