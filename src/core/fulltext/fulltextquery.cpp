#include "core/fulltext/fulltextquery.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace ferlin {

namespace {

struct Item {
    enum Kind { Term, Operator } kind;
    QString text;        // the word or phrase as typed, or the operator
    bool prefix = false; // a word that ended with *
};

QString operatorWord(const QString &word)
{
    if (word == QStringLiteral("ET"))
        return QStringLiteral("AND");
    if (word == QStringLiteral("OU"))
        return QStringLiteral("OR");
    if (word == QStringLiteral("SAUF"))
        return QStringLiteral("NOT");
    return {};
}

// A word or phrase with nothing the index could hold (only punctuation) is left out, as the
// index leaves such characters out of the texts.
bool holdsAWord(const QString &text)
{
    for (QChar c : text) {
        if (c.isLetterOrNumber())
            return true;
    }
    return false;
}

QString quoted(const QString &text)
{
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString quotedOperator(const QString &word)
{
    return QStringLiteral("« ") + word + QStringLiteral(" »");
}

// Splits the typed text into words, phrases and operators; false with `error` set when a quote
// is not closed or a * stands elsewhere than at the end of a word.
bool split(const QString &typed, std::vector<Item> &items, QString &error)
{
    const qsizetype n = typed.size();
    qsizetype i = 0;
    while (i < n) {
        if (typed.at(i).isSpace()) {
            ++i;
            continue;
        }
        if (typed.at(i) == u'"') {
            const qsizetype close = typed.indexOf(u'"', i + 1);
            if (close < 0) {
                error = QStringLiteral("Il manque le guillemet qui ferme l'expression "
                                       "commencée par « \"%1 ».")
                            .arg(typed.mid(i + 1).trimmed());
                return false;
            }
            const QString phrase = typed.mid(i + 1, close - i - 1).simplified();
            if (!holdsAWord(phrase)) {
                error = QStringLiteral("Les guillemets doivent entourer au moins un mot.");
                return false;
            }
            items.push_back({Item::Term, phrase});
            i = close + 1;
            continue;
        }
        qsizetype end = i;
        while (end < n && !typed.at(end).isSpace() && typed.at(end) != u'"')
            ++end;
        QString word = typed.mid(i, end - i);
        i = end;
        if (!operatorWord(word).isEmpty()) {
            items.push_back({Item::Operator, word});
            continue;
        }
        const bool prefix = word.endsWith(u'*');
        if (prefix)
            word.chop(1);
        if (word.contains(u'*') || (prefix && !holdsAWord(word))) {
            error = QStringLiteral("L'astérisque * se met à la fin d'un mot, sans espace : "
                                   "« lentil* » trouve lentille, lentilles...");
            return false;
        }
        if (holdsAWord(word))
            items.push_back({Item::Term, word, prefix});
    }
    return true;
}

// Operators stand between two words or phrases.
QString misplacedOperator(const std::vector<Item> &items)
{
    for (size_t k = 0; k < items.size(); ++k) {
        if (items[k].kind != Item::Operator)
            continue;
        const QString word = quotedOperator(items[k].text);
        if (k == 0)
            return QStringLiteral("La recherche ne peut pas commencer par ") + word +
                   QStringLiteral(" : mettez un mot avant.");
        if (k + 1 == items.size())
            return QStringLiteral("La recherche ne peut pas finir par ") + word +
                   QStringLiteral(" : mettez un mot après.");
        if (items[k + 1].kind == Item::Operator)
            return word + QStringLiteral(" et ") + quotedOperator(items[k + 1].text) +
                   QStringLiteral(" se suivent : mettez un mot entre les deux.");
    }
    return {};
}

} // namespace

QString expandLigatures(QString text)
{
    text.replace(u'œ', QStringLiteral("oe"));
    text.replace(u'Œ', QStringLiteral("OE"));
    text.replace(u'æ', QStringLiteral("ae"));
    text.replace(u'Æ', QStringLiteral("AE"));
    return text;
}

FullTextQuery parseFullTextQuery(const QString &typed)
{
    FullTextQuery query;
    std::vector<Item> items;
    if (!split(typed, items, query.error))
        return query;
    if (items.empty()) {
        query.error = QStringLiteral("Tapez au moins un mot à rechercher.");
        return query;
    }
    query.error = misplacedOperator(items);
    if (!query.error.isEmpty())
        return query;
    const auto terms = std::count_if(items.begin(), items.end(),
                                     [](const Item &item) { return item.kind != Item::Operator; });
    if (terms > FullTextQuery::MostTerms) {
        query.error = QStringLiteral("La recherche compte %1 mots ou expressions : elle en prend "
                                     "%2 au plus.")
                          .arg(terms)
                          .arg(FullTextQuery::MostTerms);
        return query;
    }

    QStringList parts;
    bool excluded = false;
    for (const Item &item : items) {
        if (item.kind == Item::Operator) {
            parts << operatorWord(item.text);
            excluded = item.text == QStringLiteral("SAUF");
            continue;
        }
        parts << quoted(expandLigatures(item.text)) +
                     (item.prefix ? QStringLiteral("*") : QString());
        if (!excluded && query.firstTerm.isEmpty())
            query.firstTerm = item.text;
        excluded = false;
    }
    query.match = parts.join(u' ');
    return query;
}

} // namespace ferlin
