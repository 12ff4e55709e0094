#include "fulltext/textindex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

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

bool TextIndex::isCurrent(int rang, const FileStamp &stamp)
{
    StatementPtr stmt =
        m_db->prepare(QStringLiteral("SELECT size = ? AND modified = ? FROM texts WHERE rang = ?"));
    bindValue(stmt.get(), 1, stamp.size);
    bindValue(stmt.get(), 2, stamp.modified);
    bindValue(stmt.get(), 3, rang);
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW)
        return sqlite3_column_int(stmt.get(), 0) == 1;
    if (rc != SQLITE_DONE)
        m_db->fail(rc);
    return false;
}

void TextIndex::storeText(int rang, const QString &file, const FileStamp &stamp,
                          const QStringList &pages)
{
    const int count = int(std::min<qsizetype>(pages.size(), MaxPages));
    Transaction transaction(*m_db);
    m_db->executeBound(QStringLiteral("DELETE FROM pages WHERE rowid BETWEEN ? AND ?"),
                       {rowOf(rang, 0), rowOf(rang, MaxPages)});
    StatementPtr insert = m_db->prepare(
        QStringLiteral("INSERT INTO pages (rowid, body, rang, page) VALUES (?, ?, ?, ?)"));
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
    m_db->executeBound(QStringLiteral("INSERT OR REPLACE INTO texts (rang, file, size, modified, "
                                      "pages) VALUES (?, ?, ?, ?, ?)"),
                       {rang, file, stamp.size, stamp.modified, count});
    m_db->executeBound(QStringLiteral("DELETE FROM failures WHERE rang = ?"), {rang});
    transaction.commit();
}

void TextIndex::recordFailure(int rang, const QString &file, const FileStamp &stamp,
                              const QString &cause)
{
    m_db->executeBound(QStringLiteral("INSERT OR REPLACE INTO failures (rang, file, size, "
                                      "modified, cause) VALUES (?, ?, ?, ?, ?)"),
                       {rang, file, stamp.size, stamp.modified, cause});
}

QString TextIndex::failureOf(int rang, const FileStamp &stamp)
{
    StatementPtr stmt = m_db->prepare(
        QStringLiteral("SELECT cause FROM failures WHERE rang = ? AND size = ? AND modified = ?"));
    bindValue(stmt.get(), 1, rang);
    bindValue(stmt.get(), 2, stamp.size);
    bindValue(stmt.get(), 3, stamp.modified);
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW)
        return columnValue(stmt.get(), 0).toString();
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
