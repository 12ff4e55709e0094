// A kill -9 in the middle of a replacing search or of a transfer leaves a base that passes the
// integrity check, whose baskets hold whole references, each basket as one change left it.
#include "core/db/catalog.h"
#include "core/db/database.h"
#include "core/db/schema.h"
#include "e2e/basereader.h"
#include "support/samplebasecopy.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <sys/types.h>

using namespace ferlin;
using namespace ferlin::test;

namespace {

constexpr int References = 6773;
// The years of the smaller search and of basket 3, bounds excluded.
const QString Middle = QStringLiteral("An > 1950 AND An < 1990");
// How long after a change is complete the next one is cut short.
constexpr int Delays[] = {0, 20, 60, 110, 150, 170, 190, 230};

QStringList rangs(const BaseReader &sql, const QString &table, const QString &condition = {})
{
    return sql.texts(QStringLiteral("SELECT Rang FROM [") + table + QStringLiteral("]") +
                     (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition) +
                     QStringLiteral(" ORDER BY Rang"));
}

// One base, changed by the child program until it is killed.
class CrashSafety : public ::testing::TestWithParam<const char *> {
protected:
    // The states basket 2 may be found in: each one that a whole change leaves, and the empty
    // basket that a replacement stores before its copy.
    std::map<QString, QStringList> allowedStates(const BaseReader &sql) const
    {
        return {
            {QStringLiteral("whole base"), rangs(sql, QStringLiteral("TArticles"))},
            {QStringLiteral("years 1951-1989"), rangs(sql, QStringLiteral("TArticles"), Middle)},
            {QStringLiteral("empty"), {}}};
    }

    // Starts the child on a new copy of the base, kills it `delay` ms after its first complete
    // change, and returns the base; `completed` is the number of changes it reported.
    QString killMidway(QTemporaryDir &dir, int delay, int &completed)
    {
        const QString base = copyOfGeneratedBase(dir, References);
        const QString mode = QString::fromLatin1(GetParam());
        if (mode == QStringLiteral("transfer")) {
            BaseReader sql(base, /*writable=*/true);
            sql.rows(QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles"));
            sql.rows(QStringLiteral("INSERT INTO [TSélection3] SELECT * FROM TArticles WHERE ") +
                     Middle);
        }
        QProcess child;
        child.start(QStringLiteral(FERLIN_CRASHCHILD), {mode, base});
        EXPECT_TRUE(child.waitForStarted());
        while (!child.canReadLine()) {
            if (!child.waitForReadyRead(60000)) {
                ADD_FAILURE() << "the child wrote no line: "
                              << child.readAllStandardError().toStdString();
                child.kill();
                child.waitForFinished();
                return base;
            }
        }
        QThread::msleep(ulong(delay));
        ::kill(pid_t(child.processId()), SIGKILL);
        EXPECT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit)
            << "the child ended by itself: " << child.readAllStandardError().toStdString();
        completed = int(child.readAllStandardOutput().count('\n'));
        return base;
    }
};

TEST_P(CrashSafety, AKillInTheMiddleLeavesWholeBaskets)
{
    std::map<QString, int> seen;
    for (int delay : Delays) {
        SCOPED_TRACE("killed " + std::to_string(delay) + " ms after a complete change");
        QTemporaryDir dir;
        int completed = 0;
        const QString base = killMidway(dir, delay, completed);
        if (HasFailure())
            return;
        EXPECT_GE(completed, 1);

        // Opened writable, the base rolls back the change cut short (its journal left behind).
        if (QFile::exists(base + QStringLiteral("-journal")))
            seen[QStringLiteral("journal left")] += 1;
        BaseReader sql(base, /*writable=*/true);
        EXPECT_EQ(sql.texts(QStringLiteral("PRAGMA integrity_check")),
                  QStringList{QStringLiteral("ok")});
        const QStringList columns = sql.columns(QStringLiteral("TArticles"));
        for (int basket = 1; basket <= 3; ++basket) {
            const QString table = Schema::basketTable(basket);
            EXPECT_EQ(sql.columns(table), columns) << table.toStdString();
            EXPECT_EQ(sql.rowsNotInTheBase(table), 0) << table.toStdString();
        }
        const auto states = allowedStates(sql);
        const QStringList basket2 = rangs(sql, QStringLiteral("TSélection2"));
        QString state;
        for (const auto &[name, content] : states)
            if (content == basket2)
                state = name;
        EXPECT_FALSE(state.isEmpty())
            << "basket 2 holds " << basket2.size() << " references, as no change leaves it";
        seen[state] += 1;

        // The baskets the transfers read are as they were.
        const bool transfers = QString::fromLatin1(GetParam()) == QStringLiteral("transfer");
        EXPECT_EQ(rangs(sql, QStringLiteral("TSélection1")),
                  transfers ? states.at(QStringLiteral("whole base")) : QStringList());
        EXPECT_EQ(rangs(sql, QStringLiteral("TSélection3")),
                  transfers ? states.at(QStringLiteral("years 1951-1989")) : QStringList());

        // The program opens the base again and counts what the tables hold.
        auto db = Database::open(base);
        EXPECT_EQ(CountBasket(*db, 2), basket2.size());
    }
    QString summary;
    for (const auto &[state, times] : seen)
        summary += QStringLiteral("%1: %2; ")
                       .arg(state.isEmpty() ? QStringLiteral("?") : state)
                       .arg(times);
    RecordProperty("basket2_states", summary.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Changes, CrashSafety, ::testing::Values("search", "transfer"));

} // namespace
