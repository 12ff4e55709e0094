#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <sqlite3.h>

#include <stdexcept>

namespace ferlin::test {

// A connection of its own to a base, with none of the program's code: plain SQLite, its own
// LIKE and '%' wildcards. What the tests compute with it does not depend on what they check.
class BaseReader {
public:
    explicit BaseReader(const QString &path, bool writable = false)
    {
        const int flags = writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr) !=
            SQLITE_OK)
            throw std::runtime_error("cannot open " + path.toStdString());
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~BaseReader() { sqlite3_close(m_db); }
    BaseReader(const BaseReader &) = delete;
    BaseReader &operator=(const BaseReader &) = delete;

    // Every row of a query, each as its columns.
    QList<QVariantList> rows(const QString &sql) const
    {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr) !=
            SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in " +
                                     sql.toStdString());
        QList<QVariantList> result;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QVariantList row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_NULL:
                    row << QVariant();
                    break;
                case SQLITE_INTEGER:
                    row << QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
                    break;
                default:
                    row << QVariant(QString::fromUtf8(
                        reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))));
                }
            }
            result << row;
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in " +
                                     sql.toStdString());
        return result;
    }
    // The first column of every row, as text.
    QStringList texts(const QString &sql) const
    {
        QStringList values;
        for (const QVariantList &row : rows(sql))
            values << row.value(0).toString();
        return values;
    }
    QString text(const QString &sql) const { return texts(sql).value(0); }
    int number(const QString &sql) const { return text(sql).toInt(); }

    // The columns of a table, in order.
    QStringList columns(const QString &table) const
    {
        return texts(QStringLiteral("SELECT name FROM pragma_table_info('") + table +
                     QStringLiteral("')"));
    }
    // The rows of a basket that are not, column for column, a reference of the base (NULL
    // standing for NULL).
    int rowsNotInTheBase(const QString &basket) const
    {
        QStringList same;
        for (const QString &column : columns(QStringLiteral("TArticles")))
            same << QStringLiteral("a.[%1] IS b.[%1]").arg(column);
        return number(QStringLiteral("SELECT count(*) FROM [") + basket +
                      QStringLiteral("] b WHERE NOT EXISTS (SELECT 1 FROM TArticles a WHERE ") +
                      same.join(QStringLiteral(" AND ")) + u')');
    }

private:
    sqlite3 *m_db = nullptr;
};

} // namespace ferlin::test
