#pragma once

#include "core/baskets/transfer.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace ferlin {

class ScreenHost;

// The basket transfer dialog (form F_Transferts): copies every reference of one basket into
// another, adding to the destination or replacing it. Modal; hidden, not destroyed, after use,
// so its choices persist.
class TransferDialog : public QDialog {
    Q_OBJECT
public:
    // `showBasketList` rebuilds the basket list on the basket given; it is called with the
    // current basket whenever "Recopier" ends with the dialog hidden.
    TransferDialog(ScreenHost &window, std::function<void(int)> showBasketList,
                   QWidget *parent = nullptr);

    int source() const { return checkedIndex(m_sources) + 1; }
    int destination() const { return checkedIndex(m_destinations) + 1; }
    TransferMode mode() const;

    // Click on source option i: the destination can be any other basket, and one is chosen.
    void chooseSource(int index);
    // "Recopier".
    void TransferBasket();

private:
    using Options = std::array<QRadioButton *, 3>;
    static int checkedIndex(const Options &options);

    ScreenHost &m_window;
    BasketTransfer m_transfer;
    std::function<void(int)> m_showBasketList;
    Options m_sources;
    Options m_destinations;
    std::array<QRadioButton *, 2> m_modes;
    std::array<QLabel *, 3> m_counts;
};

} // namespace ferlin
