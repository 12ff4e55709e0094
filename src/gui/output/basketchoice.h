#pragma once

#include <QGroupBox>

#include <array>

class QLabel;
class QRadioButton;

namespace ferlin {

class BasketCounts;

// The choice of a basket for the "Outils" dialogs, "&Panier" (Frame_Panier): one option for each
// basket with its count (Option_Panier_0..2), an empty basket not choosable, and a line that says
// so when all three are empty (Lab_PaniersVides).
class BasketChoice : public QGroupBox {
    Q_OBJECT
public:
    // `allEmpty` is the line shown when no basket holds a reference.
    BasketChoice(const QString &allEmpty, QWidget *parent);

    // Shows the counts of the moment. The basket chosen stays chosen unless it is empty now;
    // then the first one that holds references is. Returns whether one does.
    bool refresh(const BasketCounts &counts);
    // The basket chosen, 1 to 3.
    int selected() const;
    // Gives the focus to the basket chosen; false when no basket can be chosen.
    bool focusSelected();

private:
    std::array<QRadioButton *, 3> m_options{};
    QLabel *m_allEmpty = nullptr;
};

} // namespace ferlin
