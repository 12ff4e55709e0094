#include "core/record/cardbrowser.h"

#include "core/baskets/basketstore.h"
#include "core/context/runstate.h"
#include "core/db/catalog.h"
#include "core/db/schema.h"

#include "core/context/catalogue.h"

namespace ferlin {

CardBrowser::CardBrowser(Catalogue &catalogue, RunState &state)
    : m_catalogue(catalogue), m_state(state)
{
}

CardBrowser::~CardBrowser() = default;

const RecordSet *CardBrowser::set() const
{
    return m_catalogue.card.get();
}

RecordSet *CardBrowser::mutableSet() const
{
    return m_catalogue.card.get();
}

int CardBrowser::basket() const
{
    const bool current = m_basketSet && m_basketSet == set() &&
                         m_basketGeneration == BasketStore::generation(m_basket);
    return current ? m_basket : 0;
}

void CardBrowser::take(std::unique_ptr<RecordSet> set, int basket)
{
    m_catalogue.card = std::move(set);
    m_basket = basket;
    m_basketSet = basket ? m_catalogue.card.get() : nullptr;
    m_basketGeneration = basket ? BasketStore::generation(basket) : 0;
}

RecordSet &CardBrowser::requireSet() const
{
    if (!set())
        throw DbError(DbErrorCode::NoCurrentRecord,
                      QStringLiteral("Aucun enregistrement en cours."));
    return *mutableSet();
}

void CardBrowser::standOn(int position)
{
    RecordSet &set = requireSet();
    if (set.recordCount() == 0)
        return;
    if (position >= set.recordCount()) {
        set.moveLast();
        return;
    }
    set.moveFirst();
    set.move(std::max(position, 1) - 1);
}

void CardBrowser::openBase(int position)
{
    take(m_catalogue.db->openRecordSet(QStringLiteral("SELECT * FROM ") + Schema::Articles), 0);
    RecordSet &set = requireSet();
    CardState &card = m_state.card;
    card.mode = CardState::BaseMode;
    card.count = m_state.baseCount;
    card.position = position;
    m_state.basePosition = position;
    if (card.position == card.count)
        set.moveLast();
    else
        standOn(position);
}

void CardBrowser::openBasket(int basket)
{
    take(m_catalogue.db->openRecordSet(BasketStore::orderedSource(basket)), basket);
    CardState &card = m_state.card;
    card.mode = CardState::BasketMode;
    card.count = m_state.basketCounts[basket];
    card.position = card.count > 0 ? 1 : 0;
    standOn(1);
}

bool CardBrowser::showBasketRow(int basket, int row)
{
    if (this->basket() != basket)
        openBasket(basket);
    const RecordSet &set = requireSet();
    if (row < 1 || row > set.recordCount())
        return false;
    m_state.card.mode = CardState::BasketMode;
    m_state.card.count = m_state.basketCounts[basket];
    m_state.card.position = row;
    standOn(row);
    return true;
}

const RecordSet &CardBrowser::open(const QString &source)
{
    take(m_catalogue.db->openRecordSet(source), 0);
    RecordSet &set = requireSet();
    if (set.recordCount() > 0)
        set.moveFirst();
    return set;
}

int CardBrowser::countBase()
{
    return BaseCount(requireSet());
}

const RecordSet &CardBrowser::openResult(const QString &statement)
{
    return openResult(statement, {});
}

const RecordSet &CardBrowser::openResult(const QString &statement, std::optional<Keyset> keys)
{
    take(keys ? std::make_unique<RecordSet>(*m_catalogue.db, statement, std::move(*keys))
              : m_catalogue.db->openRecordSet(statement),
         0);
    RecordSet &set = requireSet();
    if (set.recordCount() > 0)
        set.moveLast();
    return set;
}

void CardBrowser::requery()
{
    requireSet().requery();
    if (m_basket)
        m_basketGeneration = BasketStore::generation(m_basket);
}

bool CardBrowser::moveFirst()
{
    RecordSet *set = mutableSet();
    if (!set || set->recordCount() == 0)
        return false;
    set->moveFirst();
    m_state.card.position = 1;
    return true;
}

bool CardBrowser::movePrevious()
{
    CardState &card = m_state.card;
    RecordSet *set = mutableSet();
    if (!set || card.position <= 1 || set->isBof())
        return false;
    set->movePrevious();
    card.position -= 1;
    return true;
}

bool CardBrowser::moveNext()
{
    CardState &card = m_state.card;
    RecordSet *set = mutableSet();
    if (!set || card.position >= card.count || set->isEof())
        return false;
    set->moveNext();
    card.position += 1;
    return true;
}

bool CardBrowser::moveLast()
{
    RecordSet *set = mutableSet();
    if (!set || set->recordCount() == 0)
        return false;
    set->moveLast();
    m_state.card.position = m_state.card.count;
    return true;
}

GoToResult CardBrowser::runGoTo(const GoToRequest &request, MessageBox &messages,
                                BusyPointer &pointer)
{
    return GoTo(request, requireSet(), m_state.card, m_state.basePosition, messages, pointer);
}

QHash<QString, QString> CardBrowser::currentValues() const
{
    QHash<QString, QString> values;
    if (!hasCurrent())
        return values;
    try {
        for (const QString &name : Schema::referenceFields())
            values.insert(name, set()->text(name));
    } catch (const DbError &) {
        values.clear(); // a row deleted meanwhile: nothing is shown
    }
    return values;
}

void CardBrowser::deleteCurrent()
{
    BasketStore::removeCurrent(requireSet());
    requery();
}

std::unique_ptr<RowReader> CardBrowser::rowReader(const QStringList &fields) const
{
    return set() ? set()->rowReader(fields) : nullptr;
}

} // namespace ferlin
