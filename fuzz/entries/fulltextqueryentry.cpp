#include "fuzzentries.h"

#include "core/fulltext/fulltextquery.h"

#include <QString>

#include <sqlite3.h>

#include <cstdlib>
#include <memory>

namespace ferlin::fuzz {

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

// An in-memory table tokenized as the text index's pages (fulltext/textindex.cpp).
sqlite3 *Connection()
{
    static sqlite3 *db = [] {
        sqlite3 *raw = nullptr;
        if (sqlite3_open(":memory:", &raw) != SQLITE_OK ||
            sqlite3_exec(raw,
                         "CREATE VIRTUAL TABLE t USING fts5(body, tokenize='unicode61 "
                         "remove_diacritics 2')",
                         nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
        return raw;
    }();
    return db;
}

Statement Prepared(const char *sql)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(Connection(), sql, -1, &raw, nullptr) != SQLITE_OK)
        std::abort();
    return Statement(raw, sqlite3_finalize);
}

void Run(const Statement &statement)
{
    sqlite3_step(statement.get());
    sqlite3_reset(statement.get());
    sqlite3_clear_bindings(statement.get());
}

} // namespace

std::string Fts5Refusal(const std::string &match, const std::string &body, bool *found)
{
    // The table holds the text sought and a page of its own, as the index holds many pages.
    static const Statement empty = Prepared("DELETE FROM t");
    static const Statement insert = Prepared("INSERT INTO t(body) VALUES (?)");
    static const Statement select = Prepared("SELECT count(*) FROM t WHERE t MATCH ?");
    static const std::string page = "Le miroir plan à l'école";
    Run(empty);
    for (const std::string *text : {&body, &page}) {
        sqlite3_bind_text(insert.get(), 1, text->data(), int(text->size()), SQLITE_TRANSIENT);
        Run(insert);
    }
    sqlite3_bind_text(select.get(), 1, match.data(), int(match.size()), SQLITE_TRANSIENT);
    const int step = sqlite3_step(select.get());
    std::string refusal;
    if (step == SQLITE_ROW) {
        if (found)
            *found = sqlite3_column_int(select.get(), 0) > 0;
    } else {
        refusal = sqlite3_errmsg(Connection());
        if (refusal.empty())
            refusal = "error " + std::to_string(step);
    }
    sqlite3_reset(select.get());
    sqlite3_clear_bindings(select.get());
    return refusal;
}

std::string FullTextQueryMatch(const std::uint8_t *data, std::size_t size)
{
    // Anything but NUL, which no text box takes.
    QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    typed.remove(QChar(u'\0'));
    const FullTextQuery query = parseFullTextQuery(typed);
    if (!query.ok()) {
        if (query.error.isEmpty())
            return "a query is refused without a reason";
        if (!query.firstTerm.isEmpty())
            return "a refused query names a first term";
        return {};
    }
    if (!query.error.isEmpty())
        return "an accepted query gives a reason to refuse it";
    if (query.firstTerm.isEmpty())
        return "an accepted query names no first term";

    // The index holds its texts with the ligatures written out.
    const std::string match = query.match.toStdString();
    bool found = false;
    const std::string refusal = Fts5Refusal(match, expandLigatures(typed).toStdString(), &found);
    if (!refusal.empty())
        return "SQLite refuses the expression of an accepted query (" + refusal + "): " + match;
    if (!typed.contains(QStringLiteral("SAUF")) && !found)
        return "a query does not find the text it was typed as: " + match;
    return {};
}

} // namespace ferlin::fuzz
