#pragma once

#include "core/search/criteria.h"

#include <QtGlobal>

#include <functional>
#include <vector>

namespace ferlin {

struct AppContext;

// What the search asks of the screens at its end and on the way.
struct SearchViews {
    // Empties basket k as the basket operations do (the record card shows it empty).
    std::function<void(int basket)> emptyBasketShown;
    // Writes the basket counts into every count label.
    std::function<void()> publishCounts;
    // The card has been given basket k's ordered set: open the card on it (basket mode, from
    // the first reference) and show basket k in the basket list, brought to the front.
    std::function<void(int basket)> showDestinationBasket;
    // Locks (false) and unlocks (true) the command bar while a statement runs.
    std::function<void(bool enabled)> commandsEnabled;
};

// "Recherche": builds the condition, runs the statement over the source through the record
// card's set, announces the result, and on the user's agreement copies it into the destination
// basket, adding to it or replacing it; the destination becomes the current basket and is shown.
class SearchRunner {
public:
    SearchRunner(AppContext &context, SearchViews views);

    void RunSearch(const SelectionCriteria &criteria, const KeywordChoice &keywords);
    // The references of another search (the full-text search), placed in a basket as a search's
    // result is: announced, copied on the user's agreement, added to the basket or replacing it,
    // with the same questions, counts and messages.
    void PlaceReferences(const std::vector<int> &rangs, int basket, bool replace);
    // Stops the statement of a search under way (the screen is closed); nothing is said of it.
    void interrupt();

    // The statement of a search over a source: "SELECT * FROM <table> WHERE " + condition +
    // " ORDER BY An DESC,Numéro DESC,Page DESC".
    static QString statementFor(const QString &source, const QString &condition);

private:
    // Runs a search's statement over its source with this condition and places the result.
    void place(const SelectionCriteria &criteria, const QString &condition);

    AppContext &m_context;
    SearchViews m_views;
    quint64 m_searches = 0; // the searches started, the last one alone may go on
};

} // namespace ferlin
