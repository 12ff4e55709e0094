// The published base converted at start-up, when the program's folder has it but no base of
// its own, and from the command line ("ferlin --import FICHIER.mdb").
#include "app/commandline.h"
#include "app/importprogress.h"
#include "core/import/childjetsource.h"
#include "e2e/basereader.h"
#include "fakes/fakeplatform.h"
#include "import/editedsource.h"
#include "replaysource.h"
#include "search/messageprinters.h"
#include "support/samplebasecopy.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ferlin;
using namespace ferlin::test;

namespace {

const QString StructureMessage = QStringLiteral("Ouverture de la base de données impossible. Base "
                                                "de structure différente. Erreur  3011");

// A published file beside the base, standing for the real one: its rows come from the sample
// base replayed.
struct ProgramFolder {
    QTemporaryDir dir;
    QString base = dir.filePath(QStringLiteral("ferlin4.sqlite"));

    void putPublishedFile(const QString &name)
    {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
    }
};

RowSourceOpener replayOf(int references, std::function<void()> onFirstRow = {})
{
    return [references, onFirstRow](const QString &) -> std::unique_ptr<RowSource> {
        auto source = std::make_unique<EditedSource>(
            std::make_unique<sample::ReplaySource>(generatedBase(references)));
        if (onFirstRow)
            source->editRow = [onFirstRow, done = false](const QString &, QVariantList &) mutable {
                if (!std::exchange(done, true))
                    onFirstRow();
            };
        return source;
    };
}

TEST(ImportAtStartup, ConvertsThePublishedFileWithAProgressWindowAndTheBusyPointer)
{
    ProgramFolder folder;
    folder.putPublishedFile(QStringLiteral("Ferlin4.mdb")); // any letter case
    FakePlatform fakes;
    QStringList shown;
    bool busy = false;
    const auto open = replayOf(300, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("F_conversion") && w->isVisible())
                for (const char *label : {"Lab_conversion", "Lab_table", "Lab_lignes"})
                    shown << w->findChild<QLabel *>(QLatin1String(label))->text();
        busy = fakes.busyPointer.isBusy();
    });
    EXPECT_TRUE(ConvertPublishedBaseAtStartup(folder.base, fakes.platform(), open));

    EXPECT_EQ(shown, (QStringList{QStringLiteral("Conversion de « Ferlin4.mdb » en base de "
                                                 "Ferlin, une fois pour toutes."),
                                  QStringLiteral("Table en cours de lecture : TArticles"),
                                  QStringLiteral("Lignes converties : 0 sur %1")
                                      .arg(BaseReader(generatedBase(300))
                                               .number(QStringLiteral(
                                                   "SELECT (SELECT count(*) FROM TArticles) + "
                                                   "(SELECT count(*) FROM TVoir) + (SELECT "
                                                   "count(*) FROM [TClés]) + (SELECT count(*) "
                                                   "FROM TAuteurs) + (SELECT count(*) FROM "
                                                   "TPointdeVue) + (SELECT count(*) FROM "
                                                   "TDomaine) + 9")))}));
    EXPECT_TRUE(busy);
    EXPECT_FALSE(fakes.busyPointer.isBusy());
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    EXPECT_EQ(BaseReader(folder.base).number(QStringLiteral("SELECT count(*) FROM TArticles")),
              300);
    // Once the base is there, nothing is converted again.
    EXPECT_FALSE(ConvertPublishedBaseAtStartup(folder.base, fakes.platform(), [](const QString &) {
        ADD_FAILURE() << "converted twice";
        return std::unique_ptr<RowSource>();
    }));
}

TEST(ImportAtStartup, APublishedFileOfAnotherStructureShowsTheStructureMessage)
{
    const QString jet = QStringLiteral(FERLIN_MDB_TESTDATA "/testV1997.mdb");
    if (!QFile::exists(jet))
        GTEST_SKIP() << "no Jet test files in " FERLIN_MDB_TESTDATA;
    ProgramFolder folder;
    // Read where it lies, under the published file's name.
    ASSERT_TRUE(QFile::link(jet, folder.dir.filePath(QStringLiteral("FERLIN4.MDB"))));
    FakePlatform fakes;
    EXPECT_FALSE(ConvertPublishedBaseAtStartup(folder.base, fakes.platform()));

    ASSERT_EQ(fakes.messageBox.messages().size(), 1);
    const RecordedMessage &message = fakes.messageBox.lastMessage();
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(message.shownTitle(), QStringLiteral("Ouverture avortée"));
    EXPECT_TRUE(message.text.startsWith(StructureMessage + QStringLiteral("\r\nIl manque dans « ")))
        << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(QStringLiteral("la table « TArticles »")));
    EXPECT_FALSE(fakes.busyPointer.isBusy());
    EXPECT_FALSE(QFile::exists(folder.base));
}

// A hostile file as the published base: the conversion window stays alive while the reader
// child is stuck, and "Annuler" stops it at once.
TEST(ImportAtStartup, CancelStopsTheReaderAtOnceAndGoesOnToTheMissingBase)
{
    const QString hostile = QStringLiteral(FERLIN_MDB_TESTDATA "/../hostile/kkd-loop-memory.mdb");
    if (!QFile::exists(hostile))
        GTEST_SKIP() << "no hostile test files";
    ProgramFolder folder;
    ASSERT_TRUE(QFile::link(hostile, folder.dir.filePath(QStringLiteral("FERLIN4.MDB"))));
    FakePlatform fakes;
    QString shown;
    QTimer::singleShot(500, [&shown] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("F_conversion") && w->isVisible()) {
                shown = w->findChild<QLabel *>(QStringLiteral("Lab_table"))->text();
                w->findChild<QPushButton *>(QStringLiteral("Cmd_Annuler"))->click();
            }
    });
    // Only "Annuler" can end it before a minute.
    ReaderLimits patient;
    patient.stallMs = 60000;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ConvertPublishedBaseAtStartup(
        folder.base, fakes.platform(),
        [patient](const QString &path) { return ChildJetSource::open(path, patient); }));
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_EQ(shown, QStringLiteral("Lecture de la liste des tables"));
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    EXPECT_FALSE(fakes.busyPointer.isBusy());
    EXPECT_FALSE(QFile::exists(folder.base));
    // Cancelled is not failed: the next start tries again.
    int opened = 0;
    QTimer::singleShot(300, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("F_conversion") && w->isVisible())
                w->close();
    });
    ConvertPublishedBaseAtStartup(folder.base, fakes.platform(), [&](const QString &path) {
        ++opened;
        return ChildJetSource::open(path, patient);
    });
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
}

TEST(ImportAtStartup, AFileThatFailedIsRememberedUntilItChanges)
{
    const QString hostile = QStringLiteral(FERLIN_MDB_TESTDATA "/../hostile/kkd-loop-memory.mdb");
    if (!QFile::exists(hostile))
        GTEST_SKIP() << "no hostile test files";
    ProgramFolder folder;
    const QString published = folder.dir.filePath(QStringLiteral("FERLIN4.MDB"));
    ASSERT_TRUE(QFile::copy(hostile, published));
    ReaderLimits quick;
    quick.stallMs = 1000;
    int opened = 0;
    const RowSourceOpener open = [&](const QString &path) {
        ++opened;
        return ChildJetSource::open(path, quick);
    };
    FakePlatform fakes;
    EXPECT_FALSE(ConvertPublishedBaseAtStartup(folder.base, fakes.platform(), open));
    ASSERT_EQ(fakes.messageBox.messages().size(), 1);
    const QString damaged = QStringLiteral("Le fichier « %1 » est endommagé : sa lecture ne "
                                           "progresse plus.")
                                .arg(published);
    EXPECT_TRUE(fakes.messageBox.lastMessage().text.contains(damaged))
        << fakes.messageBox.lastMessage().text.toStdString();

    EXPECT_FALSE(ConvertPublishedBaseAtStartup(folder.base, fakes.platform(), open));
    EXPECT_EQ(opened, 1) << "not read again";
    ASSERT_EQ(fakes.messageBox.messages().size(), 2);
    const RecordedMessage &again = fakes.messageBox.lastMessage();
    EXPECT_EQ(again.shownTitle(), QStringLiteral("Ouverture avortée"));
    EXPECT_TRUE(again.text.contains(damaged));
    EXPECT_TRUE(again.text.contains(QStringLiteral("ferlin --import « %1 »").arg(published)))
        << again.text.toStdString();

    // Another version of the file is read.
    QFile file(published);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    file.close();
    EXPECT_FALSE(ConvertPublishedBaseAtStartup(folder.base, fakes.platform(), open));
    EXPECT_EQ(opened, 2);
}

// "ferlin ARGUMENTS": the exit status and what the standard output and error say.
struct CommandRun {
    int status = -1;
    QString out;
    QString err;
};

CommandRun run(const QStringList &arguments, const QString &base, const RowSourceOpener &open)
{
    CommandRun result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status =
        RunCommandLine(QStringList{QStringLiteral("ferlin")} + arguments, base, out, err, open)
            .value_or(-1);
    return result;
}

TEST(ImportCommand, ConvertsAFileAndSaysWhatItRead)
{
    ProgramFolder folder;
    const CommandRun result =
        run({QStringLiteral("--import"), QStringLiteral("/ailleurs/FERLIN4.MDB")}, folder.base,
            replayOf(300));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, QString());
    EXPECT_TRUE(result.out.contains(QStringLiteral("Tables lues : 10, lignes lues : ")));
    EXPECT_TRUE(result.out.contains(QStringLiteral("\n  TArticles : 300 lignes\n")));
    EXPECT_EQ(BaseReader(folder.base).number(QStringLiteral("SELECT count(*) FROM TArticles")),
              300);
}

TEST(ImportCommand, ExitsWithAFrenchMessageOnEveryFault)
{
    const QString jet = QStringLiteral(FERLIN_MDB_TESTDATA "/testUnicodeCompV2003.mdb");
    struct Case {
        QStringList arguments;
        int status;
        QString out; // contained in the standard output
        QString err; // contained in the standard error
    };
    const Case cases[] = {
        {{QStringLiteral("--help")}, 0, QStringLiteral("\n  --import FICHIER.mdb\n"), QString()},
        {{QStringLiteral("-h")}, 0, QStringLiteral("\n  -h, --help\n"), QString()},
        {{QStringLiteral("--import")}, 2, {}, QStringLiteral("« --import » attend FICHIER.mdb")},
        {{QStringLiteral("--exporter")}, 2, {}, QStringLiteral("option inconnue « --exporter »")},
        {{QStringLiteral("--import"), QStringLiteral("a.mdb"), QStringLiteral("b.mdb")},
         2,
         {},
         QStringLiteral("argument en trop « b.mdb »")},
        {{QStringLiteral("--import"), QStringLiteral("/nulle/part/FERLIN4.MDB")},
         1,
         {},
         QStringLiteral("Fichier « /nulle/part/FERLIN4.MDB » introuvable.")},
        {{QStringLiteral("--import=") + jet},
         1,
         {},
         StructureMessage + QStringLiteral("\nIl manque dans « ") + jet +
             QStringLiteral(" » : la table « TArticles » ;")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        if (c.arguments.join(u' ').contains(jet) && !QFile::exists(jet))
            continue;
        ProgramFolder folder;
        const CommandRun result = run(c.arguments, folder.base, openPublishedBase);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.out.contains(c.out)) << result.out.toStdString();
        EXPECT_TRUE(result.err.contains(c.err)) << result.err.toStdString();
        EXPECT_EQ(result.out.isEmpty(), c.out.isEmpty());
        EXPECT_FALSE(QFile::exists(folder.base));
    }
    // No argument at all: the window opens.
    QString out;
    QTextStream stream(&out);
    EXPECT_FALSE(RunCommandLine({QStringLiteral("ferlin")}, QString(), stream, stream));
    // Nor do Qt's own options of a window program.
    for (const char *option : {"-platform", "--platform", "-style=fusion"})
        EXPECT_FALSE(RunCommandLine(
            {QStringLiteral("ferlin"), QString::fromLatin1(option), QStringLiteral("offscreen")},
            QString(), stream, stream));
}

} // namespace
