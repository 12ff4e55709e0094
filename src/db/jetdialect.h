#pragma once

#include <QString>
#include <QStringView>

#include <string_view>
#include <vector>

struct sqlite3;

namespace ferlin {

// A compiled pattern of the catalogue's LIKE dialect: "*" any text, "?" any character,
// "#" any digit, "[abc]", "[a-z]" and "[!abc]" character lists. The match covers the whole
// text and ignores case for every letter, accented ones included.
class JetPattern {
public:
    explicit JetPattern(std::u32string_view pattern);
    static JetPattern fromUtf8(std::string_view utf8);
    static JetPattern fromString(QStringView text);

    // `folded` must hold the text already passed through foldCase().
    bool matchesFolded(std::u32string_view folded) const;
    bool matches(QStringView text) const;

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
};

// Case folding shared by the pattern and the text: one code point to one code point.
char32_t foldCase(char32_t c);
// Decodes UTF-8 (invalid bytes become U+FFFD) and folds every code point into `out`.
void foldUtf8(std::string_view utf8, std::u32string &out);

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

// Registers like(pattern, text) with the dialect's meaning on a connection, replacing SQLite's
// own LIKE operator (a NULL operand gives NULL, never a match; a number matches its decimal
// text), and jetnumber(value), which gives a number or fails the statement with
// TypeMismatchMessage.
bool registerJetFunctions(sqlite3 *db);
inline constexpr const char *TypeMismatchMessage =
    "Type de données incompatible dans l'expression du critère.";

} // namespace ferlin
