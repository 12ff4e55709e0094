#pragma once

#include <QString>

namespace ferlin {

struct AppContext;

// What the basket operations ask of the screens: the record card's rank line and empty state,
// the count labels, and the background page.
class BasketViews {
public:
    virtual ~BasketViews() = default;
    virtual void rankLineChanged(int mode, int position, int count) = 0;
    virtual void basketShownEmpty(int basket) = 0;
    virtual void publishCounts() = 0;
    virtual void bringIntroToFront() = 0;
};

// Adding the card's reference to a basket, removing it from the basket browsed, emptying a
// basket. Each change is stored at once (a quit or a crash right after loses nothing) and the
// in-memory counts follow it.
class BasketOperations {
public:
    BasketOperations(AppContext &context, BasketViews &views);

    // Copies the record card's current reference into basket n, column by column. Returns
    // false, after saying why ("Doublon" or "Rapport d'erreur"), when it was not added.
    bool AddToBasket(int basket);
    // Deletes the card's current reference from the current basket, after confirmation.
    void RemoveFromBasket();
    // Deletes every reference of basket n (no confirmation: the callers ask first).
    void EmptyBasket(int basket);

private:
    void reportError(int number, const QString &description);

    AppContext &m_context;
    BasketViews &m_views;
};

} // namespace ferlin
