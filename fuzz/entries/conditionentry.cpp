#include "fuzzentries.h"
#include "fuzzinput.h"

#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/platform/messagebox.h"
#include "core/search/condition.h"
#include "core/search/runsearch.h"

#include <QRegularExpression>

#include <cstdlib>

namespace ferlin::fuzz {

namespace {

// Answers every message with its first button and counts them.
class CountingMessageBox : public MessageBox {
public:
    int count = 0;

protected:
    MessageAnswer ask(MessageIcon, MessageButtons buttons, const QString &,
                      const std::optional<QString> &) override
    {
        ++count;
        return firstAnswer(buttons);
    }
};

// An in-memory catalogue with one reference in the articles and in each basket, so that every
// part of a condition is evaluated.
Database &Catalogue()
{
    static Database *db = [] {
        Database *base = Database::create(QStringLiteral(":memory:")).release();
        Schema::create(*base);
        const QString tables[] = {Schema::Articles, Schema::basketTable(1), Schema::basketTable(2),
                                  Schema::basketTable(3)};
        for (const QString &table : tables)
            base->executeBound(
                QStringLiteral("INSERT INTO [") + table +
                    QStringLiteral("] (Rang, An, Numéro, Page, Titre, Auteur, Domaine, PointdeVue, "
                                   "Niveaux, MotsCles, Resume) VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
                {512, 1985, QStringLiteral("512"), 17, QStringLiteral("L'optique à l'école"),
                 QStringLiteral("Martin (Jean)"), QStringLiteral("Physique"),
                 QStringLiteral("Expérience"), QStringLiteral(" collège  lycée "),
                 QStringLiteral(" optique miroir "), QStringLiteral("Un miroir [plan] *100%*")});
        return base;
    }();
    return *db;
}

// A text as the user may type it: anything but NUL, which no text box takes.
QString Typed(FuzzInput &in)
{
    QString text = in.text();
    text.remove(QChar(u'\0'));
    return text;
}

QStringList TypedList(FuzzInput &in)
{
    QStringList list;
    for (int n = in.byte() % 4; n > 0; --n)
        list << Typed(in);
    return list;
}

// A year bound written with a decimal comma stands in the statement as typed, as the original
// program wrote it, and the statement is then refused as a syntax error.
bool HasDecimalCommaYear(const SelectionCriteria &criteria)
{
    static const QRegularExpression comma(QStringLiteral("^ *[+-]?[0-9]+,[0-9]+ *$"));
    return criteria.years &&
           (comma.match(criteria.yearFrom).hasMatch() || comma.match(criteria.yearTo).hasMatch());
}

} // namespace

std::string SelectionSearch(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    SelectionCriteria criteria;
    KeywordChoice keywords;
    const unsigned ticks = in.byte() | unsigned(in.byte()) << 8;
    criteria.keywords = ticks & 0x001;
    criteria.years = ticks & 0x002;
    criteria.bulletin = ticks & 0x004;
    criteria.level = ticks & 0x008;
    criteria.author = ticks & 0x010;
    criteria.pointOfView = ticks & 0x020;
    criteria.domain = ticks & 0x040;
    criteria.reference = ticks & 0x080;
    criteria.freeText = ticks & 0x100;
    criteria.wordMode = ticks & 0x200;
    criteria.inTitle = ticks & 0x400;
    criteria.inSummary = ticks & 0x800;
    criteria.inKeywords = ticks & 0x1000;
    static const QString sources[] = {QStringLiteral("BASE"), QStringLiteral("PANIER 1"),
                                      QStringLiteral("PANIER 2"), QStringLiteral("PANIER 3")};
    criteria.source = sources[(ticks >> 13) & 3];

    keywords.first = Typed(in);
    keywords.et = TypedList(in);
    keywords.ou = TypedList(in);
    keywords.sauf = TypedList(in);
    criteria.yearFrom = Typed(in);
    criteria.yearTo = Typed(in);
    criteria.bulletinNumber = Typed(in);
    criteria.levelText = Typed(in);
    criteria.authorText = Typed(in);
    criteria.pointOfViewText = Typed(in);
    criteria.domainText = Typed(in);
    criteria.referenceText = Typed(in);
    criteria.freeTextValue = Typed(in);

    CountingMessageBox messages;
    const SelectionCondition built = BuildSelectionCondition(criteria, keywords, messages);
    if (built.rejected != (messages.count > 0))
        return built.rejected ? "a search is rejected without a message"
                              : "a search goes on after a message";
    if (built.rejected)
        return {};
    if (built.condition.isEmpty())
        return "a search is accepted with an empty condition";

    const QString statement = SearchRunner::statementFor(criteria.source, built.condition);
    try {
        const auto set = Catalogue().openRecordSet(statement);
        if (set->recordCount() < 0)
            return "a negative count";
    } catch (const DbError &error) {
        if (error.number() == DbErrorCode::TypeMismatch || HasDecimalCommaYear(criteria))
            return {};
        return "the statement fails (" + std::to_string(error.number()) +
               "): " + error.description().toStdString() + "\n  " + statement.toStdString();
    }
    return {};
}

} // namespace ferlin::fuzz
