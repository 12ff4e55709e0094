#pragma once

#include <QString>

namespace ferlin {

// A query of the full-text search as the user typed it, turned into an FTS5 MATCH expression.
// Words must all appear; ET, OU and SAUF (in capitals) join words as AND, OR and NOT (SAUF
// first, then ET, then OU, as the keyword conditions); "a phrase" between double quotes;
// a word ending with * stands for every word it begins. Every word and phrase is quoted in the
// expression, so nothing the user types is read as FTS5 syntax. Case, accents and the
// ligatures œ and æ never matter.
struct FullTextQuery {
    // More words and phrases than this are refused: every prefix term of an FTS5 query walks
    // the index, and hundreds of them take minutes.
    static constexpr int MostTerms = 64;

    QString match;     // the MATCH expression; empty when the query is refused
    QString error;     // why it was refused, in French
    QString firstTerm; // the first word or phrase sought (not after SAUF), for the viewer

    bool ok() const { return !match.isEmpty(); }
};

FullTextQuery parseFullTextQuery(const QString &typed);

// Writes out the ligatures œ and æ (and their capitals) as two letters: the index holds the
// texts this way, since its tokenizer removes accents but keeps ligatures.
QString expandLigatures(QString text);

} // namespace ferlin
