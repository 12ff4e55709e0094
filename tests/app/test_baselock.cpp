// One program at a time on a base: the lock beside it, the call to the open window, and what
// the command line does while a window has the base.
#include "app/commandline.h"
#include "app/windowcall.h"
#include "core/context/baselock.h"
#include "core/db/schema.h"
#include "support/tempbase.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <gtest/gtest.h>

#include <future>
#include <sys/wait.h>
#include <unistd.h>

using namespace ferlin;

namespace {

TEST(BaseLock, HeldByOneProgramUntilItEndsOrDies)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("neuf/ferlin4.sqlite"));
    {
        BaseLock window(base);
        ASSERT_TRUE(window.tryLock()); // its folder made on the way
        BaseLock second(base);
        EXPECT_FALSE(second.tryLock());
        EXPECT_EQ(second.holder(), QCoreApplication::applicationPid());
        EXPECT_EQ(BaseLock::holderOf(base), QCoreApplication::applicationPid());
    }
    EXPECT_EQ(BaseLock::holderOf(base), std::nullopt);

    // A program killed with the lock held: its lock is taken over.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        BaseLock crashed(base);
        _exit(crashed.tryLock() ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(BaseLock::lockPath(base)));
    EXPECT_EQ(BaseLock::holderOf(base), std::nullopt);
    EXPECT_TRUE(BaseLock(base).tryLock());
}

TEST(BaseLock, ASecondStartCallsTheOpenWindowForward)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("ferlin4.sqlite"));
    EXPECT_FALSE(WindowCall::callWindow(base, 100)) << "no window open";

    WindowCall window(base);
    ASSERT_TRUE(window.listen());
    QSignalSpy called(&window, &WindowCall::called);
    // The second start blocks while it waits for the answer: the window answers meanwhile.
    std::future<bool> answered =
        std::async(std::launch::async, [&] { return WindowCall::callWindow(base); });
    QTRY_COMPARE(called.count(), 1);
    QTRY_VERIFY(answered.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
    EXPECT_TRUE(answered.get());
    EXPECT_NE(WindowCall::socketPath(base),
              WindowCall::socketPath(dir.filePath(QStringLiteral("autre.sqlite"))));
}

TEST(BaseLock, TheCommandLineRefusesToConvertABaseTheWindowHasOpen)
{
    test::TempBase base;
    base.addReference(1, 1990, QStringLiteral("5"), 10, Schema::basketTable(1));
    QTemporaryDir dir;
    BaseLock window(base.path);
    ASSERT_TRUE(window.tryLock());
    const QString held = QStringLiteral("ferlin : la base « %1 » est ouverte dans la fenêtre de "
                                        "Ferlin (processus n° %2)")
                             .arg(base.path)
                             .arg(QCoreApplication::applicationPid());
    struct Case {
        QStringList arguments;
        int status;
        QString err;
    } cases[] = {
        {{QStringLiteral("--import"), QStringLiteral("/ailleurs/FERLIN4.MDB")},
         1,
         held + QStringLiteral(" : la conversion est refusée. Fermez la fenêtre, puis "
                               "recommencez.\n")},
        {{QStringLiteral("--export"), QStringLiteral("1"), QStringLiteral("ris"),
          dir.filePath(QStringLiteral("liste"))},
         0,
         held + QStringLiteral(" : le panier est exporté tel qu'elle l'a enregistré.\n")},
    };
    bool opened = false;
    const RowSourceOpener open = [&](const QString &) -> std::unique_ptr<RowSource> {
        opened = true;
        return nullptr;
    };
    for (const Case &c : cases) {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        EXPECT_EQ(RunCommandLine(QStringList{QStringLiteral("ferlin")} + c.arguments, base.path,
                                 outStream, errStream, open),
                  c.status);
        EXPECT_EQ(err, c.err);
    }
    EXPECT_FALSE(opened) << "the published base is not even read";
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("liste.ris"))));
}

} // namespace
