#include "fuzzentries.h"

#include "core/db/jetdialect.h"

#include <QList>
#include <QString>
#include <QUtf8StringView>

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ferlin::fuzz {

namespace {

// The dialect read from its description, matched by dynamic programming over every split: slow,
// but plainly right.
class ReferenceMatcher {
public:
    explicit ReferenceMatcher(const QString &pattern)
    {
        const QList<uint> p = pattern.toUcs4();
        const qsizetype n = p.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char32_t c = p[i];
            if (c == U'*') {
                m_items.push_back({Kind::AnyText, false, {}});
            } else if (c == U'?') {
                m_items.push_back({Kind::AnyChar, false, {}});
            } else if (c == U'#') {
                m_items.push_back({Kind::Digit, false, {}});
            } else if (c == U'[') {
                qsizetype close = i + 1;
                while (close < n && p[close] != U']')
                    ++close;
                if (close == n) { // unclosed: a plain "["
                    m_items.push_back({Kind::Literal, false, {{U'[', U'['}}});
                    continue;
                }
                Item item{Kind::List, false, {}};
                qsizetype k = i + 1;
                if (close - k > 1 && p[k] == U'!') {
                    item.negated = true;
                    ++k;
                }
                for (; k < close; ++k) {
                    if (k + 2 < close && p[k + 1] == U'-') {
                        const char32_t a = foldCase(p[k]), b = foldCase(p[k + 2]);
                        item.ranges.push_back({std::min(a, b), std::max(a, b)});
                        k += 2;
                    } else {
                        item.ranges.push_back({foldCase(p[k]), foldCase(p[k])});
                    }
                }
                if (!item.ranges.empty()) // "[]" stands for nothing
                    m_items.push_back(item);
                i = close;
            } else {
                m_items.push_back({Kind::Literal, false, {{foldCase(c), foldCase(c)}}});
            }
        }
    }

    bool matches(const std::u32string &s) const
    {
        // row[j]: the items seen so far match the first j characters.
        std::vector<char> row(s.size() + 1, 0), next(s.size() + 1);
        row[0] = 1;
        for (const Item &item : m_items) {
            std::fill(next.begin(), next.end(), 0);
            for (size_t j = 0; j <= s.size(); ++j) {
                if (item.kind == Kind::AnyText)
                    next[j] = row[j] || (j > 0 && next[j - 1]);
                else if (j > 0 && row[j - 1])
                    next[j] = takes(item, s[j - 1]);
            }
            row.swap(next);
        }
        return row[s.size()] != 0;
    }

    size_t size() const { return m_items.size(); }

private:
    enum class Kind { Literal, AnyChar, Digit, AnyText, List };
    struct Item {
        Kind kind;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges; // Literal: one range of one character
    };

    static bool takes(const Item &item, char32_t c)
    {
        switch (item.kind) {
        case Kind::AnyChar:
            return true;
        case Kind::Digit:
            return c >= U'0' && c <= U'9';
        case Kind::AnyText:
            return false;
        case Kind::Literal:
        case Kind::List:
            break;
        }
        bool in = false;
        for (const auto &[low, high] : item.ranges)
            in = in || (c >= low && c <= high);
        return in != item.negated;
    }

    std::vector<Item> m_items;
};

// A connection with the dialect's like() in place of SQLite's own.
sqlite3 *Connection()
{
    static sqlite3 *db = [] {
        sqlite3 *raw = nullptr;
        if (sqlite3_open(":memory:", &raw) != SQLITE_OK || !registerJetFunctions(raw))
            std::abort();
        return raw;
    }();
    return db;
}

// "SELECT ? LIKE ?": 1, 0, or -1 on a failure.
int SqlLike(const QByteArray &text, const QByteArray &pattern)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(Connection(), "SELECT ? LIKE ?", -1, &raw, nullptr) != SQLITE_OK)
        return -1;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> stmt(raw, sqlite3_finalize);
    sqlite3_bind_text(raw, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(raw, 2, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return -1;
    return sqlite3_column_int(raw, 0);
}

bool IsValidUtf8(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

} // namespace

std::string LikeMatch(const std::uint8_t *data, std::size_t size)
{
    const auto *begin = reinterpret_cast<const char *>(data);
    const auto *split = static_cast<const char *>(std::memchr(begin, 0, size));
    const QByteArray pattern(begin, split ? split - begin : qsizetype(size));
    const QByteArray text = split ? QByteArray(split + 1, begin + size - split - 1) : QByteArray();

    std::u32string folded;
    foldUtf8(std::string_view(text.constData(), size_t(text.size())), folded);
    const JetPattern compiled =
        JetPattern::fromUtf8(std::string_view(pattern.constData(), size_t(pattern.size())));
    const bool match = compiled.matchesFolded(folded);

    const ReferenceMatcher reference(QString::fromUtf8(pattern));
    if (reference.size() * folded.size() <= 4'000'000 && reference.matches(folded) != match)
        return match ? "the pattern matches where the reference does not"
                     : "the pattern fails where the reference matches";

    const int sql = SqlLike(text, pattern);
    if (sql != (match ? 1 : 0))
        return "SELECT ? LIKE ? gives " + std::to_string(sql) + " against " + std::to_string(match);

    if (IsValidUtf8(text)) {
        const QString value = QString::fromUtf8(text);
        if (!JetPattern::fromString(escapeLikeWildcards(value)).matches(value))
            return "a text with its wildcards escaped does not match itself";
        if (IsValidUtf8(pattern) &&
            JetPattern::fromString(QString::fromUtf8(pattern)).matches(value) != match)
            return "the pattern read from text and from UTF-8 disagree";
    }
    return {};
}

} // namespace ferlin::fuzz
