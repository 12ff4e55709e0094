// Speed of opening the catalogue (pick lists, state bands, counts) and of a keyword search,
// on the sample base and on a base twenty times larger, and the dialect's LIKE against
// SQLite's own.
#include "core/db/catalog.h"
#include "core/db/database.h"
#include "core/db/jetdialect.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "samplebase.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

using namespace ferlin;

namespace {

// One generated base per size, made once for the whole run.
const QString &basePath(int references)
{
    static QTemporaryDir dir;
    static std::map<int, QString> paths;
    auto it = paths.find(references);
    if (it == paths.end()) {
        const QString folder = dir.filePath(QString::number(references));
        sample::Options options;
        options.references = references;
        options.writeTexts = false;
        sample::generate(folder, options);
        it = paths
                 .emplace(references,
                          folder + QStringLiteral("/") + QString::fromLatin1(Database::FileName))
                 .first;
    }
    return it->second;
}

// The start-up's database work: open, the five pick lists, the state bands, the update date,
// the base count and the three basket counts.
void BM_OpenWithListsAndCounts(benchmark::State &state)
{
    const QString path = basePath(int(state.range(0)));
    for (auto _ : state) {
        auto db = Database::open(path);
        int items = 0;
        for (LookupList list : LookupLoadOrder)
            items += int(ReadLookupList(*db, list).size());
        items += int(ReadStateBands(*db).size());
        RecordSet articles(*db, Schema::Articles);
        benchmark::DoNotOptimize(UpdateDate(articles));
        items += BaseCount(articles);
        for (int n = 1; n <= Schema::BasketCount; ++n)
            items += CountBasket(*db, n);
        benchmark::DoNotOptimize(items);
    }
}

// Ten keyword patterns and a free-text word pattern, as the search screen builds them.
const QString &searchCondition()
{
    static const QString condition = QStringLiteral(
        "([MotsCles] LIKE \"* optique *\" AND [MotsCles] LIKE \"* lentille *\" AND [MotsCles] "
        "LIKE \"* foyer *\" OR [MotsCles] LIKE \"*miroir *\" OR [MotsCles] LIKE \"*onde *\" OR "
        "[MotsCles] LIKE \"*image *\" OR [MotsCles] LIKE \"*prisme *\" OR [MotsCles] LIKE "
        "\"*réfraction *\" AND NOT [MotsCles] LIKE \"*laser *\" AND NOT [MotsCles] LIKE "
        "\"*fibre *\") AND ([Titre] LIKE \"* foyer *\" OR [Titre] LIKE \"* foyer,*\" OR [Titre] "
        "LIKE \"* foyer.*\" OR [Titre] LIKE \"*'foyer *\" OR [Resume] LIKE \"* foyer *\" OR "
        "[Resume] LIKE \"* foyer,*\" OR [Resume] LIKE \"* foyer.*\" OR [Resume] LIKE \"*'foyer "
        "*\" OR [Resume] LIKE \"* foyer)*\" OR [Resume] LIKE \"*(foyer *\")");
    return condition;
}

void BM_TenKeywordSearch(benchmark::State &state)
{
    auto db = Database::open(basePath(int(state.range(0))));
    const QString sql = QStringLiteral("SELECT * FROM TArticles WHERE ") + searchCondition() +
                        QStringLiteral(" ORDER BY An DESC,Numéro DESC,Page DESC");
    int found = 0;
    for (auto _ : state) {
        RecordSet result(*db, sql);
        found = CountRows(result);
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = found;
}

int countWith(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        std::abort();
    }
    int n = -1;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return n;
}

// The same ten keyword patterns through the dialect's LIKE and through SQLite's own.
void BM_LikeDialect(benchmark::State &state)
{
    auto db = Database::open(basePath(int(state.range(0))));
    const QByteArray sql =
        translateJetSql(QStringLiteral("SELECT count(*) FROM TArticles WHERE ") + searchCondition())
            .toUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(countWith(db->handle(), sql.constData()));
}

void BM_LikeSqliteBuiltin(benchmark::State &state)
{
    sqlite3 *raw = nullptr;
    sqlite3_open_v2(basePath(int(state.range(0))).toUtf8().constData(), &raw, SQLITE_OPEN_READONLY,
                    nullptr);
    std::unique_ptr<sqlite3, SqliteCloser> db(raw);
    QString condition = translateJetSql(searchCondition());
    condition.replace(u'*', u'%');
    const QString sql = QStringLiteral("SELECT count(*) FROM TArticles WHERE ") + condition;
    const QByteArray utf8 = sql.toUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(countWith(db.get(), utf8.constData()));
}

} // namespace

BENCHMARK(BM_OpenWithListsAndCounts)->Arg(6773)->Arg(135460)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenKeywordSearch)->Arg(6773)->Arg(135460)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LikeDialect)->Arg(6773)->Arg(135460)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LikeSqliteBuiltin)->Arg(6773)->Arg(135460)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
