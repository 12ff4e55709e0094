#include "core/baskets/basketstore.h"

#include "core/db/recordset.h"
#include "core/db/schema.h"

#include <sqlite3.h>

#include <array>
#include <atomic>

namespace ferlin {

namespace {

std::array<std::atomic<quint64>, Schema::BasketCount> &generations()
{
    static std::array<std::atomic<quint64>, Schema::BasketCount> counts{};
    return counts;
}

// Raised before the write: a view compared with it afterwards is read again whatever the write
// did.
void changing(int basket)
{
    ++generations().at(size_t(basket - 1));
}

// The basket whose table a set reads, 0 for any other table.
int basketOf(const RecordSet &set)
{
    for (int n = 1; n <= Schema::BasketCount; ++n) {
        if (set.tableName().compare(Schema::basketTable(n), Qt::CaseInsensitive) == 0)
            return n;
    }
    return 0;
}

// Where each column of the basket finds its value among the given fields, by name whatever the
// case; -1 when the rows do not carry it (the column stays empty).
std::vector<int> sourceIndexes(const QStringList &columns, const QStringList &fields)
{
    std::vector<int> indexes;
    indexes.reserve(size_t(columns.size()));
    for (const QString &column : columns) {
        int found = -1;
        for (int i = 0; i < fields.size() && found < 0; ++i) {
            if (fields.at(i).compare(column, Qt::CaseInsensitive) == 0)
                found = i;
        }
        indexes.push_back(found);
    }
    return indexes;
}

// One row stored into an INSERT prepared for the basket's columns. Returns false for a
// reference the basket holds already; any other failure is thrown.
bool insert(Database &db, sqlite3_stmt *stmt, const std::vector<int> &indexes,
            const std::vector<QVariant> &row)
{
    sqlite3_reset(stmt);
    for (size_t c = 0; c < indexes.size(); ++c)
        bindValue(stmt, int(c) + 1, indexes[c] >= 0 ? row[size_t(indexes[c])] : QVariant());
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        return true;
    const DbError error = db.errorFor(rc);
    sqlite3_reset(stmt);
    if (error.number() == DbErrorCode::DuplicateKey)
        return false;
    throw error;
}

QStringList fieldNames(const RecordSet &set)
{
    QStringList names;
    for (int i = 0; i < set.fieldCount(); ++i)
        names << set.fieldName(i);
    return names;
}

// "INSERT INTO [table] ([column],...) " and `values`, the clause giving one value a column.
StatementPtr prepareInsert(Database &db, const QString &table, const QStringList &columns,
                           const QString &values)
{
    QStringList names;
    for (const QString &column : columns)
        names << u'[' + column + u']';
    return db.prepare(QStringLiteral("INSERT INTO [") + table + QStringLiteral("] (") +
                      names.join(u',') + QStringLiteral(") ") + values);
}

} // namespace

const QString &BasketStore::orderClause()
{
    static const QString clause = QStringLiteral(" ORDER BY An DESC,Numéro DESC,Page DESC");
    return clause;
}

quint64 BasketStore::generation(int basket)
{
    return generations().at(size_t(basket - 1));
}

QString BasketStore::orderedSource(int basket)
{
    return QStringLiteral("SELECT * FROM ") + Schema::basketTable(basket) + orderClause();
}

BasketStore::Rows BasketStore::readRows(const RecordSet &set)
{
    Rows rows;
    rows.fields = fieldNames(set);
    rows.values = set.readAllValues();
    return rows;
}

int BasketStore::addRows(int basket, const Rows &rows)
{
    const QString table = Schema::basketTable(basket);
    const QStringList columns = Schema::columnsOf(m_db, table);
    const std::vector<int> indexes = sourceIndexes(columns, rows.fields);
    changing(basket);
    // One transaction: fast, and a copy cut short leaves the basket as it was.
    Transaction transaction(m_db);
    StatementPtr stmt =
        prepareInsert(m_db, table, columns,
                      QStringLiteral("VALUES (") +
                          QStringList(columns.size(), QStringLiteral("?")).join(u',') + u')');
    int added = 0;
    for (const std::vector<QVariant> &row : rows.values)
        added += insert(m_db, stmt.get(), indexes, row) ? 1 : 0;
    stmt.reset();
    transaction.commit();
    return added;
}

int BasketStore::addSet(int basket, const RecordSet &set)
{
    const QString table = Schema::basketTable(basket);
    const QStringList columns = Schema::columnsOf(m_db, table);
    const QStringList fields = fieldNames(set);
    const std::vector<int> indexes = sourceIndexes(columns, fields);
    QStringList values;
    for (int index : indexes)
        values << (index >= 0 ? u'[' + fields.at(index) + u']' : QStringLiteral("NULL"));
    changing(basket);
    // One row a step, so that a reference the basket holds already is told from any other
    // failure, exactly as addRows tells them.
    Transaction transaction(m_db);
    StatementPtr stmt =
        prepareInsert(m_db, table, columns,
                      QStringLiteral("SELECT ") + values.join(u',') + QStringLiteral(" FROM [") +
                          set.tableName() + QStringLiteral("] WHERE rowid=?"));
    sqlite3 *handle = m_db.handle();
    int added = 0;
    const Keyset &keys = set.keys();
    for (qint64 i = 0; i < keys.size(); ++i) {
        sqlite3_stmt *s = stmt.get();
        sqlite3_reset(s);
        sqlite3_bind_int64(s, 1, keys.at(i));
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_DONE) {
            added += sqlite3_changes(handle); // 0 for a row deleted since the set was read
            continue;
        }
        const DbError error = m_db.errorFor(rc);
        sqlite3_reset(s);
        if (error.number() != DbErrorCode::DuplicateKey)
            throw error;
    }
    stmt.reset();
    transaction.commit();
    return added;
}

void BasketStore::addRow(int basket, const RecordSet &set)
{
    Rows row;
    row.fields = fieldNames(set);
    std::vector<QVariant> values;
    for (int i = 0; i < set.fieldCount(); ++i)
        values.push_back(set.value(i));
    row.values.push_back(std::move(values));
    if (addRows(basket, row) == 0)
        throw DbError(DbErrorCode::DuplicateKey,
                      QStringLiteral("La référence est déjà dans le panier."));
}

void BasketStore::empty(int basket)
{
    changing(basket);
    m_db.execute(QStringLiteral("DELETE FROM [") + Schema::basketTable(basket) + u']');
}

void BasketStore::removeCurrent(RecordSet &set)
{
    const int basket = basketOf(set);
    if (basket == 0)
        throw DbError(DbErrorCode::ObjectNotFound,
                      QStringLiteral("La fiche ne montre pas un panier : rien n'a été supprimé."));
    changing(basket);
    set.deleteCurrent();
}

} // namespace ferlin
