#include "core/search/condition.h"

#include "core/db/jetdialect.h"
#include "core/platform/messagebox.h"

#include <QRegularExpression>

#include <cmath>

namespace ferlin {

namespace {

const QString ErrorTitle = QStringLiteral("Erreur");
const QString FreeTextTitle = QStringLiteral("Recherche sur texte libre");

// Only the space character is removed, at both ends.
QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

// A user's value made ready to stand inside a pattern delimited by `delimiter`. Wildcards are
// kept: the user may type them on purpose.
QString inPattern(const QString &value, QChar delimiter)
{
    return quoteSqlText(value, delimiter);
}

// A year bound as it stands after the comparison operator: a plain number as typed. Any other
// text is passed as a literal to jetnumber(), which fails the search with a type mismatch, as the
// original engine refused such a statement; typed text never becomes part of the statement.
QString yearOperand(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)?$"));
    if (number.match(text).hasMatch())
        return text;
    return QStringLiteral("jetnumber('") + quoteSqlText(text, u'\'') + QStringLiteral("')");
}

// The numeric value read from the start of a text, as the platform's Val reads it: an optional
// sign, digits, an optional decimal part and exponent; blanks among them are skipped; reading
// stops at the first other character. Written without a leading space, a decimal part with '.'.
QString leadingNumber(const QString &text)
{
    QString digits;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t' || text.at(i) == u'\n' ||
                         text.at(i) == u'\r'))
            ++i;
    };
    auto readDigits = [&] {
        bool any = false;
        for (skipBlanks(); i < n && text.at(i) >= u'0' && text.at(i) <= u'9'; skipBlanks()) {
            digits += text.at(i++);
            any = true;
        }
        return any;
    };
    skipBlanks();
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        digits += text.at(i++);
    bool any = readDigits();
    if (i < n && text.at(i) == u'.') {
        digits += text.at(i++);
        any = readDigits() || any;
    }
    if (!any)
        return QStringLiteral("0");
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        const QString mantissa = digits;
        const qsizetype mark = i;
        digits += u'e';
        ++i;
        skipBlanks();
        if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
            digits += text.at(i++);
        if (!readDigits()) {
            digits = mantissa;
            i = mark;
        }
    }
    bool ok = false;
    const double value = digits.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0)
        return QStringLiteral("0");
    if (std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

class ConditionBuilder {
public:
    explicit ConditionBuilder(MessageBox &messages) : m_messages(messages) {}

    void reject(const QString &text, const QString &title = ErrorTitle)
    {
        m_result.rejected = true;
        m_messages.show(MessageIcon::Exclamation, MessageButtons::Ok, text, title);
    }
    void join()
    {
        if (!m_result.condition.isEmpty())
            m_result.condition += QStringLiteral(" AND ");
    }
    QString &text() { return m_result.condition; }
    SelectionCondition result() const { return m_result; }

private:
    MessageBox &m_messages;
    SelectionCondition m_result;
};

void addKeywords(ConditionBuilder &c, const KeywordChoice &keywords)
{
    if (keywords.count() == 0) {
        c.reject(QStringLiteral("Pas de mot clé sélectionné.\r\nLa sélection ne sera pas faite."));
        return;
    }
    const QChar q = u'"';
    QString &text = c.text();
    text = QStringLiteral("([MotsCles] LIKE \"*");
    text += u' ' + inPattern(trimSpaces(keywords.first), q) + u' ';
    for (const QString &word : keywords.et)
        text += QStringLiteral("*\" AND [MotsCles] LIKE \"*") + u' ' +
                inPattern(trimSpaces(word), q) + u' ';
    for (const QString &word : keywords.ou)
        text +=
            QStringLiteral("*\" OR [MotsCles] LIKE \"*") + inPattern(trimSpaces(word), q) + u' ';
    for (const QString &word : keywords.sauf)
        text += QStringLiteral("*\" AND NOT [MotsCles] LIKE \"*") + inPattern(trimSpaces(word), q) +
                u' ';
    text += QStringLiteral("*\")");
}

void addYears(ConditionBuilder &c, const SelectionCriteria &criteria)
{
    c.join();
    const QString from = trimSpaces(criteria.yearFrom);
    const QString to = trimSpaces(criteria.yearTo);
    if (!from.isEmpty() && !to.isEmpty())
        c.text() += QStringLiteral("([An] > ") + yearOperand(from) +
                    QStringLiteral(" AND [An] < ") + yearOperand(to) + u')';
    else if (!from.isEmpty())
        c.text() += QStringLiteral("[An] > ") + yearOperand(from);
    else if (!to.isEmpty())
        c.text() += QStringLiteral("[An] < ") + yearOperand(to);
    else
        c.reject(QStringLiteral("Pas d'année sélectionnée.\r\nLa sélection ne sera pas faite."));
}

// One of the criteria matched as "<field> LIKE '*value*'": level, author, point of view, domain.
void addContains(ConditionBuilder &c, const QString &field, const QString &value,
                 const QString &missing)
{
    if (value.isEmpty()) {
        c.reject(missing);
        return;
    }
    c.join();
    c.text() += u'[' + field + QStringLiteral("] LIKE '*") + inPattern(trimSpaces(value), u'\'') +
                QStringLiteral("*'");
}

void addStringPatterns(QString &text, const SelectionCriteria &criteria)
{
    const QString t = inPattern(criteria.freeTextValue, u'"');
    if (criteria.inTitle)
        text += QStringLiteral("[Titre] LIKE \"*") + t + QStringLiteral("*\"");
    if (criteria.inSummary)
        text += (criteria.inTitle ? QStringLiteral("  OR [Resume] LIKE \"*")
                                  : QStringLiteral("[Resume] LIKE \"*")) +
                t + QStringLiteral("*\"");
    if (criteria.inKeywords)
        text += (criteria.inTitle || criteria.inSummary ? QStringLiteral(" OR [MotsCles] LIKE \"*")
                                                        : QStringLiteral("[MotsCles] LIKE \"*")) +
                t + QStringLiteral("*\")");
    else
        text += u')';
}

void addWordPatterns(QString &text, const SelectionCriteria &criteria)
{
    const QString u = inPattern(trimSpaces(criteria.freeTextValue), u'"');
    const QString t = inPattern(criteria.freeTextValue, u'"');
    if (criteria.inTitle)
        text += QStringLiteral("[Titre] LIKE \"* ") + u +
                QStringLiteral(" *\" OR [Titre] LIKE \"* ") + u +
                QStringLiteral(",*\" OR [Titre] LIKE \"* ") + u +
                QStringLiteral(".*\" OR [Titre] LIKE \"*'") + u + QStringLiteral(" *\"");
    if (criteria.inSummary)
        text += (criteria.inTitle ? QStringLiteral(" OR [Resume] LIKE \"* ")
                                  : QStringLiteral("[Resume] LIKE \"* ")) +
                u + QStringLiteral(" *\" OR [Resume] LIKE \"* ") + u +
                QStringLiteral(",*\" OR [Resume] LIKE \"* ") + u +
                QStringLiteral(".*\" OR [Resume] LIKE \"*'") + u +
                QStringLiteral(" *\" OR [Resume] LIKE \"* ") + u +
                QStringLiteral(")*\" OR [Resume] LIKE \"*(") + u + QStringLiteral(" *\"");
    if (criteria.inKeywords)
        text += (criteria.inTitle || criteria.inSummary ? QStringLiteral(" OR [MotsCles] LIKE \"* ")
                                                        : QStringLiteral("[MotsCles] LIKE \"* ")) +
                t + QStringLiteral(" *\")");
    else
        text += u')';
}

void addFreeText(ConditionBuilder &c, const SelectionCriteria &criteria)
{
    if (trimSpaces(criteria.freeTextValue).isEmpty()) {
        c.reject(QStringLiteral("Pas de texte libre tapé. La sélection ne sera pas faite."),
                 FreeTextTitle);
        return;
    }
    if (c.text().isEmpty())
        c.text() = QStringLiteral("(");
    else
        c.text() += QStringLiteral(" AND (");
    if (!criteria.inTitle && !criteria.inSummary && !criteria.inKeywords) {
        c.reject(QStringLiteral("Pas de champ coché. La sélection ne sera pas faite."),
                 FreeTextTitle);
        return;
    }
    if (criteria.wordMode)
        addWordPatterns(c.text(), criteria);
    else
        addStringPatterns(c.text(), criteria);
}

} // namespace

SelectionCondition BuildSelectionCondition(const SelectionCriteria &criteria,
                                           const KeywordChoice &keywords, MessageBox &messages)
{
    ConditionBuilder c(messages);
    if (criteria.keywords)
        addKeywords(c, keywords);
    if (criteria.years)
        addYears(c, criteria);
    if (criteria.bulletin) {
        const QString number = trimSpaces(criteria.bulletinNumber);
        if (number.isEmpty()) {
            c.reject(QStringLiteral("Pas de numéro défini.\r\n La sélection ne sera pas faite."));
        } else {
            c.join();
            c.text() += QStringLiteral("[Numéro] LIKE '") + inPattern(number, u'\'') + u'\'';
        }
    }
    if (criteria.level)
        addContains(c, QStringLiteral("Niveaux"), criteria.levelText,
                    QStringLiteral("Pas de niveau définie.\r\n La sélection ne sera pas faite."));
    if (criteria.author)
        addContains(c, QStringLiteral("Auteur"), criteria.authorText,
                    QStringLiteral("Pas d'auteur défini.\r\n La sélection ne sera pas faite."));
    if (criteria.pointOfView)
        addContains(
            c, QStringLiteral("PointdeVue"), criteria.pointOfViewText,
            QStringLiteral("Pas de point de vue défini.\r\nLa sélection ne sera pas faite."));
    if (criteria.domain)
        addContains(c, QStringLiteral("Domaine"), criteria.domainText,
                    QStringLiteral("Pas de domaine défini.\r\nLa sélection ne sera pas faite."));
    if (criteria.reference) {
        const QString reference = trimSpaces(criteria.referenceText);
        if (reference.isEmpty()) {
            c.reject(QStringLiteral(
                "Pas de numéro de référence défini.\r\n La sélection ne sera pas faite."));
        } else {
            c.join();
            c.text() += QStringLiteral("[Rang] LIKE ") + leadingNumber(reference);
        }
    }
    if (criteria.freeText)
        addFreeText(c, criteria);
    const bool anyTicked = criteria.keywords || criteria.years || criteria.bulletin ||
                           criteria.level || criteria.author || criteria.pointOfView ||
                           criteria.domain || criteria.reference || criteria.freeText;
    if (!anyTicked)
        c.reject(QStringLiteral("Aucun critère de sélection coché. La recherche est impossible."));
    return c.result();
}

} // namespace ferlin
