#include "core/search/runsearch.h"

#include "core/baskets/basketstore.h"
#include "core/context/appcontext.h"
#include "core/context/linebreak.h"
#include "core/db/schema.h"
#include "core/record/cardbrowser.h"
#include "core/search/condition.h"
#include "core/search/keysetreader.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <algorithm>
#include <type_traits>
#include <vector>

namespace ferlin {

namespace {

// One press of "Recherche" once its condition is built; every database failure is thrown.
class Search {
public:
    Search(AppContext &context, const SearchViews &views, const SelectionCriteria &criteria,
           std::function<bool()> wait)
        : m_context(context), m_views(views), m_criteria(criteria),
          m_basket(std::clamp(criteria.destination, 1, Schema::BasketCount)),
          m_wait(std::move(wait))
    {
    }

    void run(const QString &condition)
    {
        BusyPointer &pointer = m_context.platform.busyPointer;
        Catalogue &catalogue = m_context.catalogue;
        if (!catalogue.db)
            throw DbError(DbErrorCode::ObjectNotFound,
                          QStringLiteral("La base de données n'est pas ouverte."));
        pointer.showBusy();
        m_context.state.currentBasket = m_basket;
        pointBasketSet();
        openResult(SearchRunner::statementFor(m_criteria.source, condition));
        const RecordSet &result = *m_context.card.set();
        if (result.recordCount() == 0) {
            pointer.restore();
            say(MessageIcon::None,
                QStringLiteral("Aucune référence correspondant à ces critères n'a été trouvée"));
            return;
        }
        const int found = result.recordCount();
        pointer.restore();
        if (found == 1) {
            say(MessageIcon::None, QStringLiteral("Une référence a été trouvée"));
        } else if (ask(MessageIcon::None,
                       QString::number(found) + QStringLiteral(" références ont été trouvées") +
                           LineBreak +
                           QStringLiteral("Copier le résultat de cette recherche dans le panier ") +
                           QString::number(m_basket) + QStringLiteral(" ?"),
                       QStringLiteral("Résultat")) != MessageAnswer::Yes) {
            return;
        }
        if (m_criteria.replace ? replaceByResult(result) : addResult(result))
            showDestination();
    }

private:
    // The card is given the statement's result. The statement runs apart from the window's
    // thread when the base is a file, the window kept alive and its commands locked meanwhile;
    // a newer search or the screen's closing stops it (DbError 3059).
    void openResult(const QString &statement)
    {
        const bool ignoreAccents = m_context.state.settings.ignoreAccents;
        const QString &path = m_context.databasePath;
        if (path.isEmpty() || !m_wait) {
            // The LIKE of this statement alone takes é for e, when the configuration says so.
            AccentInsensitiveLike accents(*m_context.catalogue.db, ignoreAccents);
            m_context.card.openResult(statement);
            return;
        }
        if (m_views.commandsEnabled)
            m_views.commandsEnabled(false);
        const auto unlock = qScopeGuard([this] {
            if (m_views.commandsEnabled)
                m_views.commandsEnabled(true);
        });
        Keyset keys = readKeysApart(path, statement, ignoreAccents, m_wait);
        m_context.card.openResult(statement, std::move(keys));
    }

    // DataSélec: the destination basket's set, opened again only for another table.
    RecordSet &pointBasketSet()
    {
        return m_context.catalogue.selectionOn(Schema::basketTable(m_basket));
    }

    bool addResult(const RecordSet &result)
    {
        BusyPointer &pointer = m_context.platform.busyPointer;
        RunState &state = m_context.state;
        pointer.showBusy();
        const int added = store(result);
        state.basketCounts[m_basket] += added;
        state.card.count = state.basketCounts[m_basket];
        publishCounts();
        pointer.restore();
        const QString basket = QString::number(m_basket);
        QString text;
        if (added >= 2)
            text = QString::number(added) +
                   QStringLiteral(" références ont été ajoutées dans le panier n° ") + basket;
        else if (added == 1)
            text = QStringLiteral("Une référence a été ajoutée dans le panier n° ") + basket;
        else
            text = QStringLiteral("Pas de référence ajoutée dans le panier n° ") + basket;
        say(MessageIcon::Information, text);
        return true;
    }

    bool replaceByResult(const RecordSet &result)
    {
        BusyPointer &pointer = m_context.platform.busyPointer;
        RunState &state = m_context.state;
        const QString basket = QString::number(m_basket);
        if (state.basketCounts[m_basket] != 0 &&
            ask(MessageIcon::Exclamation,
                QStringLiteral("Attention, le panier ") + basket +
                    QStringLiteral(" va être vidé et son contenu perdu.") + LineBreak +
                    QStringLiteral("On continue ?"),
                QStringLiteral(" ")) != MessageAnswer::Yes)
            return false;
        pointer.showBusy();
        // A search over the destination basket itself is read before the emptying; any other
        // result is copied within the base after it.
        const bool overDestination =
            result.tableName().compare(Schema::basketTable(m_basket), Qt::CaseInsensitive) == 0;
        BasketStore::Rows rows;
        if (overDestination)
            rows = BasketStore::readRows(result);
        if (m_views.emptyBasketShown)
            m_views.emptyBasketShown(m_basket);
        if (state.basketCounts[m_basket] != 0) {
            // The emptying failed and has said why; nothing is copied over what is left.
            pointer.restore();
            return false;
        }
        const int stored = overDestination ? store(rows) : store(result);
        state.basketCounts[m_basket] = stored;
        state.card.count = stored;
        publishCounts();
        pointer.restore();
        const QString placed =
            stored == 1 ? QStringLiteral("Une référence a été placée dans le panier n° ")
                        : QString::number(stored) +
                              QStringLiteral(" références ont été placées dans le panier n° ");
        say(MessageIcon::None, placed + basket);
        return true;
    }

    // The card is given the destination basket in its order, from its first reference.
    void showDestination()
    {
        {
            BusyPointerGuard busy(m_context.platform.busyPointer);
            m_context.card.openBasket(m_basket);
        }
        if (m_views.showDestinationBasket)
            m_views.showDestinationBasket(m_basket);
    }

    // The rows into the destination basket; DataSélec reads the basket again, whether the rows
    // went in or the copy was rolled back.
    template <typename Rows> int store(const Rows &rows)
    {
        RecordSet &basket = pointBasketSet();
        try {
            BasketStore baskets(*m_context.catalogue.db);
            const int stored = [&] {
                if constexpr (std::is_same_v<Rows, RecordSet>)
                    return baskets.addSet(m_basket, rows);
                else
                    return baskets.addRows(m_basket, rows);
            }();
            basket.requery();
            return stored;
        } catch (const DbError &) {
            try {
                basket.requery();
            } catch (const DbError &) {
                // The set is read again when next pointed at the basket.
            }
            throw;
        }
    }

    void publishCounts()
    {
        if (m_views.publishCounts)
            m_views.publishCounts();
    }
    void say(MessageIcon icon, const QString &text)
    {
        m_context.platform.messageBox.show(icon, MessageButtons::Ok, text);
    }
    MessageAnswer ask(MessageIcon icon, const QString &text, const QString &title)
    {
        return m_context.platform.messageBox.show(icon, MessageButtons::YesNo, text, title);
    }

    AppContext &m_context;
    const SearchViews &m_views;
    const SelectionCriteria &m_criteria;
    const int m_basket;
    const std::function<bool()> m_wait;
};

} // namespace

SearchRunner::SearchRunner(AppContext &context, SearchViews views)
    : m_context(context), m_views(std::move(views))
{
}

QString SearchRunner::statementFor(const QString &source, const QString &condition)
{
    QString table = Schema::Articles;
    static const QString basketPrefix = QStringLiteral("PANIER ");
    if (source.startsWith(basketPrefix)) {
        bool ok = false;
        const int basket = source.mid(basketPrefix.size()).toInt(&ok);
        if (ok && basket >= 1 && basket <= Schema::BasketCount)
            table = Schema::basketTable(basket);
    }
    return QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") + condition +
           BasketStore::orderClause();
}

void SearchRunner::interrupt()
{
    ++m_searches;
}

void SearchRunner::RunSearch(const SelectionCriteria &criteria, const KeywordChoice &keywords)
{
    const SelectionCondition built =
        BuildSelectionCondition(criteria, keywords, m_context.platform.messageBox);
    if (!built.rejected)
        place(criteria, built.condition);
}

void SearchRunner::PlaceReferences(const std::vector<int> &rangs, int basket, bool replace)
{
    SelectionCriteria placement;
    placement.destination = basket;
    placement.replace = replace;
    QStringList numbers;
    for (int rang : rangs)
        numbers << QString::number(rang);
    place(placement, QStringLiteral("[Rang] IN (") + numbers.join(u',') + u')');
}

void SearchRunner::place(const SelectionCriteria &criteria, const QString &condition)
{
    MessageBox &messages = m_context.platform.messageBox;
    const quint64 search = ++m_searches;
    // While the statement runs, the window lives; a newer search, or interrupt(), stops it.
    const auto wait = [this, search] {
        QCoreApplication::processEvents();
        return search == m_searches;
    };
    try {
        Search(m_context, m_views, criteria, wait).run(condition);
    } catch (const DbError &error) {
        m_context.platform.busyPointer.restore();
        if (error.number() == DbErrorCode::Cancelled)
            return; // a newer search, or the screen closed: nothing to say
        if (error.number() == DbErrorCode::NoCurrentRecord)
            messages.show(MessageIcon::Exclamation, MessageButtons::Ok,
                          QStringLiteral("Aucune référence ne répond à ces critères."),
                          QStringLiteral("Pas de sélection"));
        else
            messages.show(MessageIcon::Exclamation, MessageButtons::Ok,
                          QStringLiteral("Erreur ") + u' ' + QString::number(error.number()) +
                              LineBreak + error.description(),
                          QStringLiteral("Sélection avortée"));
    }
}

} // namespace ferlin
