#include "replaysource.h"

#include "core/db/database.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

namespace ferlin::sample {

namespace {

DbError failure(sqlite3 *db)
{
    return translateSqliteError(sqlite3_extended_errcode(db),
                                QString::fromUtf8(sqlite3_errmsg(db)));
}

StatementPtr prepared(sqlite3 *db, const QString &sql)
{
    sqlite3_stmt *raw = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &raw, nullptr) != SQLITE_OK)
        throw failure(db);
    return StatementPtr(raw);
}

QString quotedName(const QString &table)
{
    return u'"' + QString(table).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

void ReplaySource::Closer::operator()(sqlite3 *db) const
{
    sqlite3_close_v2(db);
}

ReplaySource::ReplaySource(const QString &base) : m_name(QDir::toNativeSeparators(base))
{
    sqlite3 *raw = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(base).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    m_db.reset(raw);
    if (rc != SQLITE_OK)
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Impossible d'ouvrir le fichier « %1 ».").arg(m_name));
}

ReplaySource::~ReplaySource() = default;

QStringList ReplaySource::texts(const QString &sql)
{
    StatementPtr stmt = prepared(m_db.get(), sql);
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        values << columnValue(stmt.get(), 0).toString();
    if (rc != SQLITE_DONE)
        throw failure(m_db.get());
    return values;
}

QStringList ReplaySource::tables()
{
    return texts(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name "
                                "NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"));
}

std::vector<SourceColumn> ReplaySource::columns(const QString &table)
{
    StatementPtr stmt = prepared(m_db.get(), QStringLiteral("SELECT name, upper(type) FROM "
                                                            "pragma_table_info(?)"));
    bindValue(stmt.get(), 1, table);
    std::vector<SourceColumn> result;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const QString type = columnValue(stmt.get(), 1).toString();
        const ColumnKind kind = type.contains(QStringLiteral("INT"))    ? ColumnKind::Integer
                                : type.contains(QStringLiteral("REAL")) ? ColumnKind::Real
                                                                        : ColumnKind::Text;
        result.push_back({columnValue(stmt.get(), 0).toString(), kind});
    }
    if (rc != SQLITE_DONE)
        throw failure(m_db.get());
    return result;
}

qint64 ReplaySource::rowCount(const QString &table)
{
    return texts(QStringLiteral("SELECT count(*) FROM ") + quotedName(table)).value(0).toLongLong();
}

void ReplaySource::readRows(const QString &table, const RowHandler &row)
{
    StatementPtr stmt = prepared(m_db.get(), QStringLiteral("SELECT * FROM ") + quotedName(table) +
                                                 QStringLiteral(" ORDER BY rowid"));
    const int count = sqlite3_column_count(stmt.get());
    QVariantList values;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        values.clear();
        for (int i = 0; i < count; ++i)
            values << columnValue(stmt.get(), i);
        row(values);
    }
    if (rc != SQLITE_DONE)
        throw failure(m_db.get());
}

} // namespace ferlin::sample
