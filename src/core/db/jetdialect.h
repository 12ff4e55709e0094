#pragma once

#include <QString>
#include <QStringView>

#include <string_view>
#include <vector>

struct sqlite3;

namespace ferlin {

// A compiled pattern of the catalogue's LIKE dialect: "*" any text, "?" any character,
// "#" any digit, "[abc]", "[a-z]" and "[!abc]" character lists. The match covers the whole
// text and ignores case for every letter, accented ones included. With `ignoreAccents`, an
// accented letter also matches its plain one (é è ê ë and e alike, œ as oe, æ as ae).
class JetPattern {
public:
    explicit JetPattern(std::u32string_view pattern, bool ignoreAccents = false);
    static JetPattern fromUtf8(std::string_view utf8, bool ignoreAccents = false);
    static JetPattern fromString(QStringView text, bool ignoreAccents = false);

    // `folded` must hold the text already passed through foldUtf8() with the same
    // `ignoreAccents` as the pattern.
    bool matchesFolded(std::u32string_view folded) const;
    bool matches(QStringView text) const;
    bool ignoresAccents() const { return m_ignoreAccents; }

private:
    enum class Kind : unsigned char { Literal, AnyChar, Digit, AnyText, List };
    struct Token {
        Kind kind;
        bool negated = false;
        char32_t ch = 0;        // Literal
        unsigned listBegin = 0; // List: index into m_ranges
        unsigned listEnd = 0;
    };
    struct Range {
        char32_t low, high;
    };

    bool tokenMatches(const Token &token, char32_t c) const;
    bool matchGeneral(std::u32string_view s) const;

    std::vector<Token> m_tokens;
    std::vector<Range> m_ranges;
    // "*literal*", "literal*", "*literal" and "literal" are searched without backtracking.
    enum class Shape : unsigned char { General, Exact, Prefix, Suffix, Contains } m_shape;
    std::u32string m_literal;
    bool m_ignoreAccents = false;
};

// Case folding shared by the pattern and the text: one code point to one code point.
char32_t foldCase(char32_t c);
// Appends a case-folded letter without its accents: é → e, ç → c, œ → oe, æ → ae.
void appendUnaccented(char32_t folded, std::u32string &out);
// Decodes UTF-8 (invalid bytes become U+FFFD) and folds every code point into `out`, the
// accents taken off too with `ignoreAccents`.
void foldUtf8(std::string_view utf8, std::u32string &out, bool ignoreAccents = false);

// Turns a statement written in the catalogue's dialect into one SQLite accepts: double-quoted
// string literals become single-quoted ones. Square-bracketed names, single-quoted literals and
// the rest pass unchanged.
QString translateJetSql(const QString &jetSql);

// The one helper through which a user's value enters an SQL text: the value is returned ready
// to stand between two `delimiter` characters (' or "), the delimiter doubled inside it, so that
// it reads as text and cannot end the literal. A value without the delimiter is unchanged.
QString quoteSqlText(const QString &value, QChar delimiter);

// Escapes the wildcards of the LIKE dialect (*, ?, #, [) so that a value matches only itself.
QString escapeLikeWildcards(const QString &value);

// How the dialect's LIKE compares on one connection, read at each comparison: the search has
// accents ignored around its own statement only.
struct JetLikeOptions {
    bool ignoreAccents = false;
};

// Registers like(pattern, text) with the dialect's meaning on a connection, replacing SQLite's
// own LIKE operator (a NULL operand gives NULL, never a match; a number matches its decimal
// text), and jetnumber(value), which gives a number or fails the statement with
// TypeMismatchMessage. `options`, when given, must outlive the connection.
bool registerJetFunctions(sqlite3 *db, const JetLikeOptions *options = nullptr);
inline constexpr const char *TypeMismatchMessage =
    "Type de données incompatible dans l'expression du critère.";

} // namespace ferlin
