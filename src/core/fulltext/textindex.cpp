#include "core/fulltext/textindex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <optional>

#include <sqlite3.h>

namespace ferlin {

namespace {

// A page's row: the reference's Rang and the page, so that a text's rows are one range.
qint64 rowOf(int rang, int page)
{
    return qint64(rang) * (TextIndex::MaxPages + 1) + page;
}

void removeIndexFiles(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

QString TextIndex::pathBeside(const QString &databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QLatin1String(FileName));
}

TextIndex::TextIndex(const QString &path)
{
    try {
        openFile(path);
    } catch (const DbError &error) {
        // Whatever stands under the index's name and is no index is made again: the texts can
        // always be read again. A file that cannot be opened at all (no right) is reported.
        if (error.number() != DbErrorCode::UnrecognizedFormat &&
            (error.number() & 0xFF) != SQLITE_CORRUPT)
            throw;
        m_db.reset();
        removeIndexFiles(path);
        openFile(path);
    }
}

void TextIndex::openFile(const QString &path)
{
    m_db = QFileInfo::exists(path) ? Database::open(path) : Database::create(path);
    // Readers and the writer do not wait for each other; a commit is safe without a sync of
    // its own (a kill loses at most the last texts, never the index).
    m_db->scalar(QStringLiteral("PRAGMA journal_mode=WAL"));
    m_db->executeBound(QStringLiteral("PRAGMA synchronous=NORMAL"), {});
    sqlite3_busy_timeout(m_db->handle(), 10000);
    createSchema();
}

void TextIndex::createSchema()
{
    m_db->executeBound(QStringLiteral("CREATE TABLE IF NOT EXISTS texts (rang INTEGER PRIMARY "
                                      "KEY, file TEXT NOT NULL, size INTEGER NOT NULL, modified "
                                      "INTEGER NOT NULL, pages INTEGER NOT NULL)"),
                       {});
    m_db->executeBound(QStringLiteral("CREATE TABLE IF NOT EXISTS failures (rang INTEGER PRIMARY "
                                      "KEY, file TEXT NOT NULL, size INTEGER NOT NULL, modified "
                                      "INTEGER NOT NULL, cause TEXT NOT NULL)"),
                       {});
    m_db->executeBound(QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS pages USING fts5(body, "
                                      "rang UNINDEXED, page UNINDEXED, tokenize = 'unicode61 "
                                      "remove_diacritics 2')"),
                       {});
}

// A statement prepared once, reset at the end of its use: a read left open would hold a read
// transaction, which keeps the write-ahead log from being folded back into the file.
class TextIndex::Use {
public:
    Use(TextIndex &index, Statement which) : m_stmt(index.statement(which)) {}
    ~Use() { sqlite3_reset(m_stmt); }
    Use(const Use &) = delete;
    Use &operator=(const Use &) = delete;
    sqlite3_stmt *get() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt;
};

sqlite3_stmt *TextIndex::statement(Statement which)
{
    static const char *const sql[StatementCount] = {
        "SELECT size = ? AND modified = ? FROM texts WHERE rang = ?",
        "SELECT cause FROM failures WHERE rang = ? AND size = ? AND modified = ?",
        "SELECT 1 FROM texts WHERE rang = ?",
        "DELETE FROM pages WHERE rowid BETWEEN ? AND ?",
        "INSERT INTO pages (rowid, body, rang, page) VALUES (?, ?, ?, ?)",
        "INSERT OR REPLACE INTO texts (rang, file, size, modified, pages) VALUES (?, ?, ?, ?, ?)",
        "DELETE FROM failures WHERE rang = ?",
        "INSERT OR REPLACE INTO failures (rang, file, size, modified, cause) VALUES (?, ?, ?, ?, "
        "?)",
    };
    StatementPtr &stmt = m_statements[which];
    if (!stmt)
        stmt = m_db->prepare(QString::fromLatin1(sql[which]));
    return stmt.get();
}

void TextIndex::run(Statement which, const QVariantList &values)
{
    const Use use(*this, which);
    for (int i = 0; i < values.size(); ++i)
        bindValue(use.get(), i + 1, values.at(i));
    const int rc = sqlite3_step(use.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        m_db->fail(rc);
}

bool TextIndex::isCurrent(int rang, const FileStamp &stamp)
{
    const Use use(*this, IsCurrent);
    bindValue(use.get(), 1, stamp.size);
    bindValue(use.get(), 2, stamp.modified);
    bindValue(use.get(), 3, rang);
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_ROW)
        return sqlite3_column_int(use.get(), 0) == 1;
    if (rc != SQLITE_DONE)
        m_db->fail(rc);
    return false;
}

void TextIndex::storeText(int rang, const QString &file, const FileStamp &stamp,
                          const QStringList &pages)
{
    const int count = int(std::min<qsizetype>(pages.size(), MaxPages));
    std::optional<Transaction> transaction;
    if (sqlite3_get_autocommit(m_db->handle()))
        transaction.emplace(*m_db);
    // A text's pages exist only with its row in `texts`. A new text has none to delete, and a
    // delete from the FTS5 table costs about as much as storing a short text, even when it
    // finds nothing.
    bool indexedBefore = false;
    {
        const Use use(*this, HasText);
        bindValue(use.get(), 1, rang);
        const int rc = sqlite3_step(use.get());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            m_db->fail(rc);
        indexedBefore = rc == SQLITE_ROW;
    }
    if (indexedBefore)
        run(DeletePages, {rowOf(rang, 0), rowOf(rang, MaxPages)});
    {
        const Use insert(*this, InsertPage);
        for (int page = 1; page <= count; ++page) {
            bindValue(insert.get(), 1, rowOf(rang, page));
            bindValue(insert.get(), 2, pages.at(page - 1));
            bindValue(insert.get(), 3, rang);
            bindValue(insert.get(), 4, page);
            const int rc = sqlite3_step(insert.get());
            if (rc != SQLITE_DONE)
                m_db->fail(rc);
            sqlite3_reset(insert.get());
        }
    }
    run(InsertText, {rang, file, stamp.size, stamp.modified, count});
    run(DeleteFailure, {rang});
    if (transaction)
        transaction->commit();
}

void TextIndex::beginBatch()
{
    m_db->beginTransaction();
}

void TextIndex::commitBatch()
{
    m_db->commit();
}

void TextIndex::recordFailure(int rang, const QString &file, const FileStamp &stamp,
                              const QString &cause)
{
    run(RecordFailure, {rang, file, stamp.size, stamp.modified, cause});
}

QString TextIndex::failureOf(int rang, const FileStamp &stamp)
{
    const Use use(*this, FailureOf);
    bindValue(use.get(), 1, rang);
    bindValue(use.get(), 2, stamp.size);
    bindValue(use.get(), 3, stamp.modified);
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_ROW)
        return columnValue(use.get(), 0).toString();
    if (rc != SQLITE_DONE)
        m_db->fail(rc);
    return {};
}

int TextIndex::textCount()
{
    return m_db->scalar(QStringLiteral("SELECT count(*) FROM texts")).toInt();
}

namespace {

// SQLite asks every thousand steps of its machine whether to go on.
constexpr int StepsBetweenChecks = 1000;

int stopRequested(void *stop)
{
    return static_cast<const std::atomic<bool> *>(stop)->load() ? 1 : 0;
}

} // namespace

std::vector<TextIndex::Hit> TextIndex::search(const QString &match, const std::atomic<bool> *stop)
{
    StatementPtr stmt =
        m_db->prepare(QStringLiteral("SELECT rowid FROM pages WHERE pages MATCH ? ORDER BY rank"));
    bindValue(stmt.get(), 1, match);
    if (stop)
        sqlite3_progress_handler(m_db->handle(), StepsBetweenChecks, stopRequested,
                                 const_cast<std::atomic<bool> *>(stop));
    const auto noHandler = qScopeGuard([&] {
        if (stop)
            sqlite3_progress_handler(m_db->handle(), 0, nullptr, nullptr);
    });
    std::vector<Hit> hits;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const qint64 row = sqlite3_column_int64(stmt.get(), 0);
        hits.push_back({int(row / (MaxPages + 1)), int(row % (MaxPages + 1)), row});
    }
    if (rc == SQLITE_INTERRUPT)
        throw DbError(DbErrorCode::Cancelled, QStringLiteral("La recherche a été arrêtée."));
    if (rc != SQLITE_DONE)
        m_db->fail(rc);
    return hits;
}

QString TextIndex::extract(const QString &match, qint64 row)
{
    StatementPtr stmt = m_db->prepare(
        QStringLiteral("SELECT snippet(pages, 0, char(2), char(3), '…', 14) FROM pages WHERE "
                       "pages MATCH ? AND rowid = ?"));
    bindValue(stmt.get(), 1, match);
    bindValue(stmt.get(), 2, row);
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW)
        return columnValue(stmt.get(), 0).toString();
    if (rc != SQLITE_DONE)
        m_db->fail(rc);
    return {};
}

} // namespace ferlin
