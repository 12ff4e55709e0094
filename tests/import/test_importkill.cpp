// A kill -9 at any moment of a conversion leaves the former base as it was, or the new one
// whole, never a base converted in part; and the next conversion goes through.
#include "core/db/dberror.h"
#include "core/import/importcatalogue.h"
#include "e2e/basereader.h"
#include "replaysource.h"
#include "support/samplebasecopy.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <map>
#include <sys/types.h>

using namespace ferlin;
using namespace ferlin::test;

namespace {

constexpr int NewEdition = 6773;
constexpr int FormerEdition = 300;
// When the child is killed, as parts of the time a whole conversion takes on this machine (slower
// under the sanitizers or a loaded machine): from its very start to well after its end.
constexpr double Moments[] = {0, 0.05, 0.15, 0.3, 0.45, 0.6, 0.75, 0.9, 1.3, 2.5};

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Starts the child on a former base with two references in basket 1, kills it `delay` ms after
// it began, and returns what it wrote on its way.
QStringList killMidway(const QString &base, int delay)
{
    QProcess child;
    child.start(QStringLiteral(FERLIN_IMPORTCHILD), {generatedBase(NewEdition), base});
    EXPECT_TRUE(child.waitForStarted());
    while (!child.canReadLine())
        if (!child.waitForReadyRead(60000)) {
            ADD_FAILURE() << "the child wrote no line: "
                          << child.readAllStandardError().toStdString();
            child.kill();
            child.waitForFinished();
            return {};
        }
    QThread::msleep(ulong(delay));
    ::kill(pid_t(child.processId()), SIGKILL);
    EXPECT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit)
        << "the child ended by itself: " << child.readAllStandardError().toStdString();
    return QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// How long a conversion takes from its first line to "done", in milliseconds.
int conversionTime()
{
    QTemporaryDir dir;
    const QString base = copyOfGeneratedBase(dir, FormerEdition);
    QProcess child;
    child.start(QStringLiteral(FERLIN_IMPORTCHILD), {generatedBase(NewEdition), base});
    child.waitForStarted();
    QElapsedTimer clock;
    QByteArray out;
    while (!out.contains("done\n") && child.waitForReadyRead(120000)) {
        if (!clock.isValid())
            clock.start();
        out += child.readAllStandardOutput();
    }
    const int elapsed = clock.isValid() ? int(clock.elapsed()) : 0;
    child.kill();
    child.waitForFinished();
    return std::max(elapsed, 20);
}

TEST(ImportKill, AKillAtAnyMomentLeavesTheFormerBaseOrTheNewOneWhole)
{
    std::map<QString, int> seen;
    const int whole = conversionTime();
    for (double moment : Moments) {
        const int delay = int(moment * whole);
        SCOPED_TRACE("killed " + std::to_string(delay) + " ms after the conversion began");
        QTemporaryDir dir;
        const QString base = copyOfGeneratedBase(dir, FormerEdition);
        BaseReader(base, true)
            .rows(QStringLiteral(
                "INSERT INTO [TSélection1] SELECT * FROM TArticles WHERE Rang IN (3, 30)"));
        const QByteArray former = digest(base);

        const QStringList lines = killMidway(base, delay);
        if (HasFailure())
            return;
        // A kill between the new base's renaming and "done" leaves the new base whole too:
        // a base that changed must be the new one, whole.
        const bool done = lines.contains(QStringLiteral("done")) || digest(base) != former;
        if (done)
            seen[QStringLiteral("new base")] += 1;
        else
            seen[lines.isEmpty() ? QStringLiteral("?") : lines.back()] += 1;
        BaseReader sql(base);
        EXPECT_EQ(sql.texts(QStringLiteral("PRAGMA integrity_check")),
                  QStringList{QStringLiteral("ok")});
        EXPECT_EQ(sql.number(QStringLiteral("SELECT count(*) FROM TArticles")),
                  done ? NewEdition : FormerEdition);
        EXPECT_EQ(sql.texts(QStringLiteral("SELECT Rang FROM [TSélection1] ORDER BY Rang")),
                  (QStringList{QStringLiteral("3"), QStringLiteral("30")}));

        // What a killed conversion left behind does not stop the next one.
        sample::ReplaySource source(generatedBase(NewEdition));
        EXPECT_NO_THROW(ImportCatalogue(source, base));
        EXPECT_EQ(BaseReader(base).number(QStringLiteral("SELECT count(*) FROM TArticles")),
                  NewEdition);
    }
    QString summary;
    for (const auto &[state, times] : seen)
        summary += QStringLiteral("%1: %2; ").arg(state).arg(times);
    RecordProperty("states", summary.toStdString());
    EXPECT_GE(seen.size(), 2u) << "every kill landed in the same state: " << summary.toStdString();
}

} // namespace
