#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace ferlin {

// The plain types a source column's values come in.
enum class ColumnKind {
    Integer, // qlonglong
    Real,    // double
    Text,    // QString
    Date,    // QDateTime in UTC, as the clock read it (no time zone meant)
    Boolean  // bool
};

struct SourceColumn {
    QString name;
    ColumnKind kind = ColumnKind::Text;
};

// The tables of a database to convert, read as rows of plain values. A NULL is a null QVariant.
// Binary columns (pictures, OLE objects) are left out. Failures are thrown as DbError.
class RowSource {
public:
    using RowHandler = std::function<void(const QVariantList &values)>;

    virtual ~RowSource() = default;

    // What the user knows the source by (its file), for messages.
    virtual QString name() const = 0;
    // The user tables, system tables left out.
    virtual QStringList tables() = 0;
    // The columns of one of tables(), in the table's order.
    virtual std::vector<SourceColumn> columns(const QString &table) = 0;
    // The number of rows the table says it holds (what a complete reading must give).
    virtual qint64 rowCount(const QString &table) = 0;
    // Hands each row of the table to `row`, in the table's own order, its values in the order
    // of columns().
    virtual void readRows(const QString &table, const RowHandler &row) = 0;

    // Called every few tens of milliseconds while the source waits for its file to be read
    // (a source read in another process); returning false stops the reading, which then throws
    // DbError 3059. A source read at once never calls it.
    using Idle = std::function<bool()>;
    virtual void whileWaiting(Idle idle) { (void)idle; }
};

// Opens the source held by a file.
using RowSourceOpener = std::function<std::unique_ptr<RowSource>(const QString &path)>;

} // namespace ferlin
