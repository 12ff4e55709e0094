#pragma once

#include "core/db/database.h"
#include "core/db/keyset.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace ferlin {

// Some fields of the rows of a record set, read by position when asked: a list showing a large
// set reads only the lines it shows. The positions are those of the set when the reader was
// made, whatever the set does afterwards; a row deleted since reads as empty texts.
class RowReader {
public:
    RowReader(Database &db, Keyset keys, StatementPtr statement, int columns);

    int count() const { return int(m_keys.size()); }
    int columnCount() const { return m_columns; }
    // The fields of the row at a 0-based position, as texts (an empty field as empty text).
    QStringList texts(int position) const;

private:
    Database &m_db;
    Keyset m_keys;
    StatementPtr m_statement;
    int m_columns;
};

// A keyset over one table, as the catalogue's screens browse it: the identities of the rows
// that the source selects, in its order, with the current row read from the table when needed
// (so a change made elsewhere shows at once). The source is a table name or
// "SELECT * FROM table [WHERE ...] [ORDER BY ...]" in the catalogue's dialect.
class RecordSet {
public:
    RecordSet(Database &db, const QString &source);
    // The same set, its row identities read already (by another connection to the same base).
    RecordSet(Database &db, const QString &source, Keyset keys);

    const QString &source() const { return m_source; }
    Database &database() const { return m_db; }
    const QString &tableName() const { return m_table; }

    // Counts and positions are 32-bit: a set past 32767 rows works.
    int recordCount() const { return int(m_keys.size()); }
    bool isEof() const { return m_pos >= recordCount(); }
    bool isBof() const { return m_pos < 0 || m_keys.empty(); }
    bool hasCurrent() const { return !m_currentDeleted && !isEof() && !isBof(); }

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    // Moves by n rows from the current one; past either end the set stands at end or beginning.
    void move(int n);

    // 0-based position of the current row, -1 when there is none.
    int absolutePosition() const { return hasCurrent() ? m_pos : -1; }
    void setAbsolutePosition(int position);

    // Finds the first (last) row of the set meeting a condition in the catalogue's dialect and
    // makes it current. Returns false, leaving the current row as it was, when none does.
    bool findFirst(const QString &condition);
    bool findLast(const QString &condition);

    // The identities of the set's rows, in its order.
    const Keyset &keys() const { return m_keys; }

    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int index) const { return m_fields.at(index); }
    // Field names are matched without regard to case ("Rang" and "rang" are one field).
    int fieldIndex(const QString &name) const;

    // Values of the current row; DbError 3021 when there is none.
    QVariant value(int index) const;
    QVariant value(const QString &field) const;
    // The value as text, an empty field as empty text.
    QString text(const QString &field) const;
    // Some fields of the current row as texts, read without the others (a list walking a large
    // set needs only its columns).
    QStringList texts(const QStringList &fields);
    // Some fields of every row of the set, in its order, read in one pass without moving the
    // current row (a row deleted meanwhile is left out).
    std::vector<QStringList> readAll(const QStringList &fields) const;
    // The same fields of every row handed over in turn, read as forEachRowValues reads.
    void forEachRowTexts(const QStringList &fields,
                         const std::function<void(const QStringList &)> &take) const;
    // A reader of some fields of the set's rows, read when asked.
    std::unique_ptr<RowReader> rowReader(const QStringList &fields) const;
    // Every row of the set in its order, its fields handed over as values, without moving the
    // current row (a row deleted meanwhile is left out). A whole table is read by one statement
    // in its order, any other set row by row; either under one read lock.
    void forEachRowValues(const std::function<void(const std::vector<QVariant> &)> &take) const;
    // Every field of every row, as values, in the same way.
    std::vector<std::vector<QVariant>> readAllValues() const;

    // Adding a row: addNew, setValue for each field, then update (stores; 3022 on a duplicate
    // key) or cancelUpdate (abandons). The stored row joins the end of the set; the current row
    // stays the one before addNew.
    void addNew();
    void setValue(int index, const QVariant &value);
    void setValue(const QString &field, const QVariant &value);
    void update();
    void cancelUpdate();
    bool isAdding() const { return m_adding; }

    // Deletes the current row from the table. Until the next move there is no current row;
    // moveNext then goes to the row that followed it.
    void deleteCurrent();

    // Reads the source again and stands on its first row.
    void requery();

private:
    void prepare();
    void load();
    bool loadRun();
    // Runs "SELECT columns" on each row of the set in its order, in one read transaction: a
    // whole table by one statement in its order, any other set row by row.
    void forEachRow(const QString &columns, const std::function<void(sqlite3_stmt *)> &take) const;
    QString columnList(const QStringList &fields) const;
    // "SELECT columns" of one row of the table, its identity bound as the one parameter.
    StatementPtr prepareByIdentity(const QString &columns) const;
    void requireCurrent() const;
    const std::vector<QVariant> &currentRow() const;
    int fieldIndexOrThrow(const QString &field) const;
    std::vector<qint64> matchingKeys(const QString &condition);
    int findPosition(const QString &condition, bool last);
    bool moveToFound(int position);

    Database &m_db;
    QString m_source;
    QString m_table;         // as written in the source, brackets included when present
    QString m_keysetSql;     // SQLite statement giving the rowids in order
    bool m_sortKeys = false; // the statement gives them unordered
    Keyset m_keys;
    QStringList m_fields;
    QHash<QString, int> m_fieldIndex; // lower-case name -> index
    int m_pos = -1;
    bool m_currentDeleted = false;

    StatementPtr m_fetch;
    StatementPtr m_insert;
    QString m_partialFields; // the fields m_partial reads
    StatementPtr m_partial;
    mutable qint64 m_cachedKey = -1;
    mutable bool m_cacheValid = false;
    mutable std::vector<QVariant> m_cache;

    bool m_adding = false;
    std::vector<QVariant> m_newRow;
};

} // namespace ferlin
