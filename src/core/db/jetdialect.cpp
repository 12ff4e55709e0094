#include "core/db/jetdialect.h"

#include <QChar>
#include <QList>
#include <QString>

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_map>

namespace ferlin {

char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return (c >= U'A' && c <= U'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

namespace {

// The plain letter of every accented Latin letter (U+00C0 to U+024F, U+1E00 to U+1EFF): its
// canonical decomposition without the combining marks. Other code points stand for themselves.
class PlainLetters {
public:
    PlainLetters()
    {
        fill(0x00C0, 0x024F);
        fill(0x1E00, 0x1EFF);
    }
    char32_t operator()(char32_t c) const
    {
        const auto it = m_plain.find(c);
        return it == m_plain.end() ? c : it->second;
    }

private:
    void fill(char32_t first, char32_t last)
    {
        for (char32_t c = first; c <= last; ++c) {
            QString plain = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
            plain.removeIf([](QChar m) { return m.isMark(); });
            if (plain.size() == 1 && plain.at(0).unicode() != c)
                m_plain.emplace(c, plain.at(0).unicode());
        }
    }
    std::unordered_map<char32_t, char32_t> m_plain;
};

} // namespace

void appendUnaccented(char32_t folded, std::u32string &out)
{
    if (folded < 0xC0) {
        out.push_back(folded);
        return;
    }
    // The ligatures are written out, as a French reader types them.
    if (folded == U'œ' || folded == U'Œ') {
        out += U"oe";
        return;
    }
    if (folded == U'æ' || folded == U'Æ') {
        out += U"ae";
        return;
    }
    static const PlainLetters plain;
    out.push_back(plain(folded));
}

void foldUtf8(std::string_view utf8, std::u32string &out, bool ignoreAccents)
{
    out.clear();
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = p + utf8.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            out.push_back((b >= 'A' && b <= 'Z') ? char32_t(b + 32) : char32_t(b));
            ++p;
            continue;
        }
        int extra = 0;
        char32_t c = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            c = b & 0x07;
        } else {
            out.push_back(0xFFFD);
            ++p;
            continue;
        }
        if (end - p <= extra) {
            out.push_back(0xFFFD);
            break;
        }
        bool ok = true;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (p[i] & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++p;
            continue;
        }
        if (ignoreAccents)
            appendUnaccented(foldCase(c), out);
        else
            out.push_back(foldCase(c));
        p += extra + 1;
    }
}

JetPattern::JetPattern(std::u32string_view pattern, bool ignoreAccents)
    : m_ignoreAccents(ignoreAccents)
{
    // A letter of the pattern compared as the text's letters are.
    auto fold = [ignoreAccents](char32_t c) {
        const char32_t folded = foldCase(c);
        if (!ignoreAccents)
            return folded;
        std::u32string plain;
        appendUnaccented(folded, plain);
        // A ligature inside a list stays itself: a list stands for one character.
        return plain.size() == 1 ? plain.front() : folded;
    };
    const size_t n = pattern.size();
    for (size_t i = 0; i < n; ++i) {
        const char32_t c = pattern[i];
        switch (c) {
        case U'*':
            if (m_tokens.empty() || m_tokens.back().kind != Kind::AnyText)
                m_tokens.push_back({Kind::AnyText});
            break;
        case U'?':
            m_tokens.push_back({Kind::AnyChar});
            break;
        case U'#':
            m_tokens.push_back({Kind::Digit});
            break;
        case U'[': {
            const size_t close = pattern.find(U']', i + 1);
            if (close == std::u32string_view::npos) {
                // An unclosed list is taken as a plain "[" rather than an error.
                m_tokens.push_back({Kind::Literal, false, U'['});
                break;
            }
            std::u32string_view body = pattern.substr(i + 1, close - i - 1);
            i = close;
            if (body.empty())
                break; // "[]" stands for the empty text: it consumes nothing.
            Token token{Kind::List};
            if (body.size() > 1 && body.front() == U'!') {
                token.negated = true;
                body.remove_prefix(1);
            }
            token.listBegin = unsigned(m_ranges.size());
            for (size_t k = 0; k < body.size(); ++k) {
                if (k + 2 < body.size() && body[k + 1] == U'-') {
                    char32_t low = fold(body[k]);
                    char32_t high = fold(body[k + 2]);
                    if (high < low)
                        std::swap(low, high);
                    m_ranges.push_back({low, high});
                    k += 2;
                } else {
                    const char32_t f = fold(body[k]);
                    m_ranges.push_back({f, f});
                }
            }
            token.listEnd = unsigned(m_ranges.size());
            m_tokens.push_back(token);
            break;
        }
        default:
            if (ignoreAccents) {
                std::u32string plain;
                appendUnaccented(foldCase(c), plain);
                for (char32_t p : plain)
                    m_tokens.push_back({Kind::Literal, false, p});
            } else {
                m_tokens.push_back({Kind::Literal, false, foldCase(c)});
            }
        }
    }

    // Classify the common shapes so that they need no backtracking.
    size_t first = 0, last = m_tokens.size();
    const bool leadingStar = !m_tokens.empty() && m_tokens.front().kind == Kind::AnyText;
    const bool trailingStar =
        m_tokens.size() > (leadingStar ? 1u : 0u) && m_tokens.back().kind == Kind::AnyText;
    if (leadingStar)
        ++first;
    if (trailingStar)
        --last;
    bool literalOnly = true;
    for (size_t k = first; k < last; ++k) {
        if (m_tokens[k].kind != Kind::Literal) {
            literalOnly = false;
            break;
        }
        m_literal.push_back(m_tokens[k].ch);
    }
    if (!literalOnly) {
        m_shape = Shape::General;
        m_literal.clear();
    } else if (leadingStar && trailingStar) {
        m_shape = Shape::Contains;
    } else if (leadingStar) {
        m_shape = m_tokens.size() == 1 ? Shape::Contains : Shape::Suffix;
    } else if (trailingStar) {
        m_shape = Shape::Prefix;
    } else {
        m_shape = Shape::Exact;
    }
}

JetPattern JetPattern::fromUtf8(std::string_view utf8, bool ignoreAccents)
{
    // Decode without folding: the list parser folds what it needs, and "[!" must stay as typed.
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    return fromString(text, ignoreAccents);
}

JetPattern JetPattern::fromString(QStringView text, bool ignoreAccents)
{
    const QList<uint> ucs4 = text.toUcs4();
    std::u32string pattern;
    pattern.reserve(size_t(ucs4.size()));
    for (uint c : ucs4)
        pattern.push_back(char32_t(c));
    return JetPattern(pattern, ignoreAccents);
}

bool JetPattern::matches(QStringView text) const
{
    std::u32string folded;
    const QByteArray utf8 = text.toUtf8();
    foldUtf8(std::string_view(utf8.constData(), size_t(utf8.size())), folded, m_ignoreAccents);
    return matchesFolded(folded);
}

bool JetPattern::tokenMatches(const Token &token, char32_t c) const
{
    switch (token.kind) {
    case Kind::Literal:
        return token.ch == c;
    case Kind::AnyChar:
        return true;
    case Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Kind::List: {
        bool in = false;
        for (unsigned k = token.listBegin; k < token.listEnd && !in; ++k)
            in = c >= m_ranges[k].low && c <= m_ranges[k].high;
        return in != token.negated;
    }
    case Kind::AnyText:
        return false;
    }
    return false;
}

bool JetPattern::matchesFolded(std::u32string_view s) const
{
    const std::u32string_view lit(m_literal);
    switch (m_shape) {
    case Shape::Exact:
        return s == lit;
    case Shape::Prefix:
        return s.size() >= lit.size() && s.substr(0, lit.size()) == lit;
    case Shape::Suffix:
        return s.size() >= lit.size() && s.substr(s.size() - lit.size()) == lit;
    case Shape::Contains:
        return s.find(lit) != std::u32string_view::npos;
    case Shape::General:
        break;
    }
    return matchGeneral(s);
}

// Wildcard matching with a return to the last "*": every other token takes exactly one
// character, so the greedy retry is complete and never exponential.
bool JetPattern::matchGeneral(std::u32string_view s) const
{
    const size_t m = m_tokens.size();
    size_t p = 0, i = 0;
    size_t starP = size_t(-1), starI = 0;
    while (i < s.size()) {
        if (p < m && m_tokens[p].kind == Kind::AnyText) {
            starP = p++;
            starI = i;
            continue;
        }
        if (p < m && tokenMatches(m_tokens[p], s[i])) {
            ++p;
            ++i;
            continue;
        }
        if (starP != size_t(-1)) {
            p = starP + 1;
            i = ++starI;
            continue;
        }
        return false;
    }
    while (p < m && m_tokens[p].kind == Kind::AnyText)
        ++p;
    return p == m;
}

QString translateJetSql(const QString &jetSql)
{
    QString out;
    out.reserve(jetSql.size() + 8);
    const qsizetype n = jetSql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = jetSql.at(i);
        if (c == u'[') {
            const qsizetype close = jetSql.indexOf(u']', i + 1);
            const qsizetype end = close < 0 ? n - 1 : close;
            out += QStringView(jetSql).mid(i, end - i + 1);
            i = end;
        } else if (c == u'\'') {
            // Copy a single-quoted literal as it stands, doubled quotes included.
            out += c;
            for (++i; i < n; ++i) {
                out += jetSql.at(i);
                if (jetSql.at(i) == u'\'') {
                    if (i + 1 < n && jetSql.at(i + 1) == u'\'') {
                        out += jetSql.at(++i);
                        continue;
                    }
                    break;
                }
            }
        } else if (c == u'"') {
            // A double-quoted literal: "" inside stands for one double quote.
            out += u'\'';
            for (++i; i < n; ++i) {
                const QChar d = jetSql.at(i);
                if (d == u'"') {
                    if (i + 1 < n && jetSql.at(i + 1) == u'"') {
                        out += u'"';
                        ++i;
                        continue;
                    }
                    break;
                }
                if (d == u'\'')
                    out += u'\'';
                out += d;
            }
            out += u'\'';
        } else {
            out += c;
        }
    }
    return out;
}

QString quoteSqlText(const QString &value, QChar delimiter)
{
    if (!value.contains(delimiter))
        return value;
    QString out;
    out.reserve(value.size() + 4);
    for (QChar c : value) {
        out += c;
        if (c == delimiter)
            out += c;
    }
    return out;
}

QString escapeLikeWildcards(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[') {
            out += u'[';
            out += c;
            out += u']';
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// The text of a value as the dialect compares it: a whole number written without decimals.
std::string_view valueText(sqlite3_value *v, std::string &scratch)
{
    if (sqlite3_value_type(v) == SQLITE_FLOAT) {
        const double d = sqlite3_value_double(v);
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
            scratch = std::to_string(static_cast<long long>(d));
        } else {
            char buf[32];
            const int len = std::snprintf(buf, sizeof buf, "%.15g", d);
            scratch.assign(buf, size_t(len > 0 ? len : 0));
        }
        return scratch;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return text ? std::string_view(text, size_t(sqlite3_value_bytes(v))) : std::string_view();
}

void jetLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc != 2) {
        sqlite3_result_error(ctx, "ESCAPE n'est pas pris en charge par LIKE", -1);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *options = static_cast<const JetLikeOptions *>(sqlite3_user_data(ctx));
    const bool ignoreAccents = options && options->ignoreAccents;
    std::string scratch;
    // The pattern is usually a constant of the statement: compile it once per statement (again
    // when the statement runs once more with the accents compared otherwise).
    auto *pattern = static_cast<JetPattern *>(sqlite3_get_auxdata(ctx, 0));
    std::optional<JetPattern> local;
    if (!pattern || pattern->ignoresAccents() != ignoreAccents) {
        auto compiled = std::make_unique<JetPattern>(
            JetPattern::fromUtf8(valueText(argv[0], scratch), ignoreAccents));
        sqlite3_set_auxdata(ctx, 0, compiled.release(),
                            [](void *p) { delete static_cast<JetPattern *>(p); });
        pattern = static_cast<JetPattern *>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            local.emplace(JetPattern::fromUtf8(valueText(argv[0], scratch), ignoreAccents));
            pattern = &*local;
        }
    }
    // A search tests one field against several patterns in a row: fold each text once.
    thread_local std::string lastText;
    thread_local bool lastIgnoreAccents = false;
    thread_local std::u32string folded;
    const std::string_view text = valueText(argv[1], scratch);
    if (text.size() != lastText.size() || lastIgnoreAccents != ignoreAccents ||
        std::memcmp(text.data(), lastText.data(), text.size()) != 0) {
        lastText.assign(text.data(), text.size());
        lastIgnoreAccents = ignoreAccents;
        foldUtf8(text, folded, ignoreAccents);
    }
    sqlite3_result_int(ctx, pattern->matchesFolded(folded) ? 1 : 0);
}

// jetnumber(x): x as a number; a text that is not one fails the statement with a type
// mismatch, as comparing a number field with it does in the original engine.
void jetNumberFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_numeric_type(argv[0])) {
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    default:
        sqlite3_result_error(ctx, TypeMismatchMessage, -1);
    }
}

} // namespace

bool registerJetFunctions(sqlite3 *db, const JetLikeOptions *options)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    void *likeOptions = const_cast<JetLikeOptions *>(options);
    return sqlite3_create_function_v2(db, "jetnumber", 1, flags, nullptr, jetNumberFunction,
                                      nullptr, nullptr, nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(db, "like", 2, flags, likeOptions, jetLike, nullptr, nullptr,
                                      nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(db, "like", 3, flags, likeOptions, jetLike, nullptr, nullptr,
                                      nullptr) == SQLITE_OK;
}

} // namespace ferlin
