#pragma once

#include "search/criteria.h"

#include <functional>

namespace ferlin {

struct AppContext;

// What the search asks of the screens at its end and on the way.
struct SearchViews {
    // Empties basket k as the basket operations do (the record card shows it empty).
    std::function<void(int basket)> emptyBasket;
    // Writes the basket counts into every count label.
    std::function<void()> publishBasketCounts;
    // The card has been given basket k's ordered set: open the card on it (basket mode, from
    // the first reference) and show basket k in the basket list, brought to the front.
    std::function<void(int basket)> showDestinationBasket;
};

// "Recherche": builds the condition, runs the statement over the source through the record
// card's set, announces the result, and on the user's agreement copies it into the destination
// basket, adding to it or replacing it; the destination becomes the current basket and is shown.
class SearchRunner {
public:
    SearchRunner(AppContext &context, SearchViews views);

    void RunSearch(const SelectionCriteria &criteria, const KeywordChoice &keywords);

    // The statement of a search over a source: "SELECT * FROM <table> WHERE " + condition +
    // " ORDER BY An DESC,Numéro DESC,Page DESC".
    static QString statementFor(const QString &source, const QString &condition);

private:
    AppContext &m_context;
    SearchViews m_views;
};

} // namespace ferlin
