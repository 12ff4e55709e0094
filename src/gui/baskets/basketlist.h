#pragma once

#include "gui/shell/screenviews.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QRadioButton;
class QTableView;
class QToolButton;

namespace ferlin {

class BasketGridModel;
class ScreenHost;
struct AppContext;

// The basket list (form F_grille): one basket as a grid of its references, newest first. The
// grid is filled by walking the record card's own set, so line r is record r of the card.
class BasketList : public QWidget, public BasketListView {
    Q_OBJECT
public:
    explicit BasketList(ScreenHost &window);
    ~BasketList() override;

    // Points the record card at basket n and rebuilds the grid and its labels.
    void ShowBasketList(int basket) override;
    // The header and one empty line.
    void ResetBasketGrid();
    // One line per reference of basket n as it stands: the card's set when the card holds it,
    // else the basket read again; then the labels show n and the count.
    void FillBasketGrid(int basket, int count);
    // Shows the reference of grid line `row` (1 is the first reference) of the basket shown on
    // the record card, which then browses that basket.
    void OpenGridRow(int row);
    // "Retour à la liste" of the record card: the grid of the current basket, brought forward.
    void returnFromCard();
    // Reads the current basket again and rebuilds the grid, without any message (after a
    // dialog that may have changed the basket without rebuilding the list).
    void rebuildQuietly();
    // The lines and the count drawn again, without moving the card, when the basket shown has
    // been written to since they were drawn (by the card, a search, a transfer...). Runs each
    // time the list comes in front. Returns whether it drew them again.
    bool refreshIfChanged();

    // The transfer dialog, opened by the transfer button.
    void setTransferAction(std::function<void()> action);

    QTableView *grid() const { return m_grid; }
    BasketGridModel *gridModel() const { return m_model; }

protected:
    bool event(QEvent *event) override;

private:
    void selectBasket(int basket);
    // The grid shows basket n as it stands now.
    void markShown(int basket);
    void pointCardAt(int basket);
    // The card opened on the basket and the grid filled; an empty basket told when asked.
    void showReferences(int basket, bool tellEmpty);
    void emptyShownBasket();
    int selectedBasket() const;
    CardView *card();

    ScreenHost &m_window;
    AppContext &m_context;
    std::array<QRadioButton *, 3> m_options{};
    QTableView *m_grid = nullptr;
    BasketGridModel *m_model = nullptr;
    QLabel *m_basketNumber = nullptr;
    QLabel *m_count = nullptr;
    QToolButton *m_transfer = nullptr;
    std::function<void()> m_transferAction;
    bool m_selectionShownMessage = false;
    int m_shownBasket = 0; // the basket the lines show, 0 before the first
    // Its generation when they were drawn; none when they could not be read.
    std::optional<quint64> m_shownGeneration;
};

} // namespace ferlin
