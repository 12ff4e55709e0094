#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QRadioButton;
class QTableView;
class QToolButton;

namespace ferlin {

class BasketGridModel;
class ScreenHost;
class RecordCard;
struct AppContext;

// The basket list (form F_grille): one basket as a grid of its references, newest first. The
// grid is filled by walking the record card's own set, so line r is record r of the card.
class BasketList : public QWidget {
    Q_OBJECT
public:
    explicit BasketList(ScreenHost &window);
    ~BasketList() override;

    // Points the record card at basket n and rebuilds the grid and its labels.
    void ShowBasketList(int basket);
    // The header and one empty line.
    void ResetBasketGrid();
    // One line per reference of the card's set; then the labels show n and the count.
    void FillBasketGrid(int basket, int count);
    // Shows the reference of grid line `row` (1 is the first reference) on the record card.
    void OpenGridRow(int row);
    // "Retour à la liste" of the record card: the grid of the current basket, brought forward.
    void returnFromCard();
    // Reads the current basket again and rebuilds the grid, without any message (after a
    // dialog that may have changed the basket without rebuilding the list).
    void rebuildQuietly();

    // The transfer dialog, opened by the transfer button.
    void setTransferAction(std::function<void()> action);

    QTableView *grid() const { return m_grid; }
    BasketGridModel *gridModel() const { return m_model; }

private:
    void selectBasket(int basket);
    void pointCardAt(int basket);
    // The card opened on the basket and the grid filled; an empty basket told when asked.
    void showReferences(int basket, bool tellEmpty);
    void emptyShownBasket();
    int selectedBasket() const;
    RecordCard *card();

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
};

} // namespace ferlin
