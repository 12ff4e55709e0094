#pragma once

#include "core/db/dberror.h"
#include "core/db/jetdialect.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace ferlin {

class RecordSet;

struct SqliteCloser {
    void operator()(sqlite3 *db) const;
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt *stmt) const;
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The catalogue's database: one SQLite file spoken to in the dialect of the original engine
// (see jetdialect.h). Every failure is thrown as a DbError.
class Database {
public:
    static constexpr const char *FileName = "ferlin4.sqlite";

    // The base beside the program: the executable's folder and FileName.
    static QString defaultPath();

    // Opens an existing base shared and read-write; never creates one.
    static std::unique_ptr<Database> open(const QString &path);
    // Creates a new, empty base (the import, the sample-base generator and the tests).
    static std::unique_ptr<Database> create(const QString &path);
    // Writes the whole base again, every table and index in order and its pages full: a base
    // filled once (newest references first) is read faster. Outside any transaction.
    void compact();

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &path() const { return m_path; }

    // Runs one statement written in the catalogue's dialect; returns the rows it changed.
    int execute(const QString &jetSql);
    // Runs a statement with bound values (written in SQLite's own dialect, "?" placeholders).
    int executeBound(const QString &sql, const QVariantList &values);
    // First column of the first row of a query, or a null QVariant when there is no row.
    QVariant scalar(const QString &jetSql);

    // A record set over a table name or "SELECT * FROM table ...".
    std::unique_ptr<RecordSet> openRecordSet(const QString &source);

    bool hasTable(const QString &name);
    // Whether the file's pages are read through a memory map now (see MappedReads).
    bool mapsReads() const;

    void beginTransaction();
    void commit();
    void rollback();

    // Prepares a statement already in SQLite's dialect; throws on failure.
    StatementPtr prepare(const QString &sql);
    // Throws the DbError matching SQLite's last failure on this connection.
    [[noreturn]] void fail(int rc) const;
    DbError errorFor(int rc) const;

    sqlite3 *handle() const { return m_db.get(); }

    // Whether LIKE takes an accented letter for its plain one (é for e, œ for oe); off unless
    // a statement asks for it through AccentInsensitiveLike.
    bool likeIgnoresAccents() const { return m_likeOptions->ignoreAccents; }
    void setLikeIgnoresAccents(bool ignore) { m_likeOptions->ignoreAccents = ignore; }

private:
    Database(std::unique_ptr<JetLikeOptions> likeOptions, std::unique_ptr<sqlite3, SqliteCloser> db,
             QString path);
    static std::unique_ptr<Database> openWithFlags(const QString &path, int flags);

    std::unique_ptr<JetLikeOptions> m_likeOptions; // read by the connection's LIKE
    std::unique_ptr<sqlite3, SqliteCloser> m_db;
    QString m_path;
};

// LIKE ignores accents on a connection for as long as this lives, when `ignore` is true.
class AccentInsensitiveLike {
public:
    AccentInsensitiveLike(Database &db, bool ignore) : m_db(db), m_before(db.likeIgnoresAccents())
    {
        db.setLikeIgnoresAccents(ignore);
    }
    ~AccentInsensitiveLike() { m_db.setLikeIgnoresAccents(m_before); }
    AccentInsensitiveLike(const AccentInsensitiveLike &) = delete;
    AccentInsensitiveLike &operator=(const AccentInsensitiveLike &) = delete;

private:
    Database &m_db;
    bool m_before;
};

// Rolls back unless committed: a batch of changes lands whole or not at all.
class Transaction {
public:
    explicit Transaction(Database &db);
    ~Transaction();
    void commit();

    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Database &m_db;
    bool m_done = false;
};

// Holds one read transaction while it lives, so that many reads take the file's lock once
// instead of once each. Inside a transaction already, it does nothing.
class ReadTransaction {
public:
    explicit ReadTransaction(Database &db);
    ~ReadTransaction();

    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;

private:
    Database &m_db;
    bool m_own;
};

// While it lives, the connection reads the file's pages through a memory map instead of a read
// call each: for the start-up's reads, which count the references by walking a whole index.
// Only for such short spells: the map holds what it read in the program's memory, with the
// pages the system maps around each, and an I/O error on a mapped page would end the program
// instead of being reported. Its reads run under the file's shared lock, which keeps any other
// writer from shortening the file meanwhile. Inside another's life, it does nothing.
class MappedReads {
public:
    explicit MappedReads(Database &db);
    ~MappedReads();

    MappedReads(const MappedReads &) = delete;
    MappedReads &operator=(const MappedReads &) = delete;

private:
    Database &m_db;
    bool m_own;
};

// Reads column `i` of the current row of a stepped statement as a QVariant.
QVariant columnValue(sqlite3_stmt *stmt, int i);
// Binds `value` to parameter `i` (1-based).
void bindValue(sqlite3_stmt *stmt, int i, const QVariant &value);
// The DbError for a SQLite result code and message.
DbError translateSqliteError(int rc, const QString &message);

} // namespace ferlin
