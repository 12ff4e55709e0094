#include "core/import/basketcarryover.h"

#include "core/db/database.h"

#include <QDir>

#include <sqlite3.h>

namespace ferlin {

BasketRangs ReadFormerBaskets(const QString &base)
{
    BasketRangs baskets;
    try {
        // Opened read-write, so that a change cut short by a crash is rolled back first.
        auto db = Database::open(base);
        for (int n = 1; n <= Schema::BasketCount; ++n) {
            StatementPtr select =
                db->prepare(QStringLiteral("SELECT [Rang] FROM [") + Schema::basketTable(n) +
                            QStringLiteral("] ORDER BY rowid"));
            int rc;
            while ((rc = sqlite3_step(select.get())) == SQLITE_ROW)
                if (sqlite3_column_type(select.get(), 0) != SQLITE_NULL)
                    baskets[size_t(n - 1)].push_back(sqlite3_column_int64(select.get(), 0));
            if (rc != SQLITE_DONE)
                db->fail(rc);
        }
    } catch (const DbError &error) {
        throw DbError(error.number(),
                      QStringLiteral("Les paniers de la base actuelle « %1 » ne peuvent pas être "
                                     "lus (%2). Renommez cette base pour convertir sans garder ses "
                                     "paniers.")
                          .arg(QDir::toNativeSeparators(base), error.description()));
    }
    return baskets;
}

BasketCarries CarryBaskets(Database &db, const BasketRangs &baskets)
{
    BasketCarries carries;
    for (int n = 1; n <= Schema::BasketCount; ++n) {
        StatementPtr copy = db.prepare(QStringLiteral("INSERT INTO [") + Schema::basketTable(n) +
                                       QStringLiteral("] SELECT * FROM [") + Schema::Articles +
                                       QStringLiteral("] WHERE [Rang] = ?"));
        BasketCarry &carry = carries[size_t(n - 1)];
        for (qint64 rang : baskets[size_t(n - 1)]) {
            sqlite3_bind_int64(copy.get(), 1, rang);
            const int rc = sqlite3_step(copy.get());
            if (rc != SQLITE_DONE)
                db.fail(rc);
            sqlite3_reset(copy.get());
            if (sqlite3_changes(db.handle()) > 0)
                ++carry.kept;
            else
                ++carry.dropped;
        }
    }
    return carries;
}

} // namespace ferlin
