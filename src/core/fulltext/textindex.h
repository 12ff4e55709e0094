#pragma once

#include "core/db/database.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <vector>

namespace ferlin {

// The index of the article texts: a SQLite file of its own beside the catalogue base, never
// inside it. One row per page in an FTS5 table (tokenizer "unicode61 remove_diacritics 2": case
// and accents never matter) with the reference's Rang and the page number, and one row per text
// with the size and time of the file it was read from. One connection, used by one thread; the
// file is in WAL mode, so that the screen reads it while the indexer writes it.
class TextIndex {
public:
    static constexpr const char *FileName = "ferlin4-textes.sqlite";
    // The index beside a catalogue base.
    static QString pathBeside(const QString &databasePath);

    // Opens the index, created when missing; a file that is no index (damaged, or another
    // file under its name) is made again, since everything in it can be read again. Throws
    // DbError when the file cannot be opened or written.
    explicit TextIndex(const QString &path);

    // What identifies a version of a file: its size and modification time (ms since 1970).
    struct FileStamp {
        qint64 size = 0;
        qint64 modified = 0;
    };
    // Whether the text of a reference was indexed from a file of that size and time.
    bool isCurrent(int rang, const FileStamp &stamp);
    // Replaces the pages of a reference's text, in one transaction (the batch's, in a batch): a
    // kill at any moment leaves the text either as it was or wholly indexed.
    void storeText(int rang, const QString &file, const FileStamp &stamp, const QStringList &pages);
    // A batch: the texts stored and the failures recorded until commitBatch() are written in
    // one transaction, which a kill before its end leaves unwritten, and which the index's
    // closing without commitBatch() rolls back. A text stored in a transaction of its own takes
    // FTS5 two and a half times as long as in a batch of hundreds. One batch at a time.
    void beginBatch();
    void commitBatch();
    // A file that could not be read (damaged, or one that stopped its reader), so that it is not
    // read again until it changes: its cause, in French.
    void recordFailure(int rang, const QString &file, const FileStamp &stamp, const QString &cause);
    // The cause recorded for that version of a reference's file, empty when none.
    QString failureOf(int rang, const FileStamp &stamp);
    // The number of texts indexed.
    int textCount();

    // A page found: the reference, the page (from 1), and the row that holds it.
    struct Hit {
        int rang = 0;
        int page = 0;
        qint64 row = 0;
    };
    // The pages matching an FTS5 MATCH expression, the most relevant first (BM25). When `stop`
    // becomes true (from any thread), the search ends soon with DbError 3059.
    std::vector<Hit> search(const QString &match, const std::atomic<bool> *stop = nullptr);
    // A few words of the page around the words found, each found word between the characters
    // ExtractMarkOn and ExtractMarkOff.
    QString extract(const QString &match, qint64 row);
    static constexpr char16_t ExtractMarkOn = u'\x02';
    static constexpr char16_t ExtractMarkOff = u'\x03';

    // The largest page number kept for a text.
    static constexpr int MaxPages = 9999;

private:
    // The statements run for each text, prepared once.
    enum Statement {
        IsCurrent,
        FailureOf,
        HasText,
        DeletePages,
        InsertPage,
        InsertText,
        DeleteFailure,
        RecordFailure,
        StatementCount
    };
    class Use;

    void openFile(const QString &path);
    void createSchema();
    sqlite3_stmt *statement(Statement which);
    void run(Statement which, const QVariantList &values);

    std::unique_ptr<Database> m_db;
    std::array<StatementPtr, StatementCount> m_statements; // finalized before the connection
};

} // namespace ferlin
