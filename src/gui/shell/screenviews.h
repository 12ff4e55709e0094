#pragma once

namespace ferlin {

class BasketOperations;

// What the other screens ask of the record card: to show a reference of the base or of a
// basket, an empty basket, and the basket operations it runs.
class CardView {
public:
    virtual ~CardView() = default;
    // Mode 1: the whole base from `position`, brought to the front. Mode 2: the basket whose set
    // the caller has loaded, holding `count` references, from `position`.
    virtual void OpenCard(int mode, int basket, int count, int position) = 0;
    virtual void ShowEmptyBasketCard(int basket) = 0;
    virtual BasketOperations &basketOperations() = 0;
};

// What the other screens ask of the basket list: to show a basket.
class BasketListView {
public:
    virtual ~BasketListView() = default;
    // Points the record card at basket n and rebuilds the grid and its labels.
    virtual void ShowBasketList(int basket) = 0;
};

} // namespace ferlin
