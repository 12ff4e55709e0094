#pragma once

#include "core/platform/messagebox.h"

#include <QDialog>

class QPushButton;

namespace ferlin {

class BasketChoice;
class ScreenHost;

// "Copier le panier pour un gestionnaire de références…" of the "Outils" menu (CopiePanier):
// a basket (an empty one cannot be chosen), then CopyBasketAsRis and a message with the count.
// A separate modal window, built on first use and hidden, never destroyed, after it.
class ReferenceCopyDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReferenceCopyDialog(ScreenHost &window, QWidget *parent = nullptr);

    // Shows the dialog with the basket counts of the moment.
    void showWithCounts();
    int selectedBasket() const;
    // "Copier": true when the basket was put on the clipboard.
    bool copyChosen();

private:
    void tell(MessageIcon icon, const QString &text);

    ScreenHost &m_window;
    BasketChoice *m_baskets = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace ferlin
