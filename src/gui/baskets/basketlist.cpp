#include "gui/baskets/basketlist.h"

#include "core/baskets/basketoperations.h"
#include "core/baskets/basketstore.h"
#include "core/context/appcontext.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/record/cardbrowser.h"
#include "gui/baskets/basketgridmodel.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/moveicons.h"
#include "gui/shell/rowchoice.h"
#include "gui/shell/screenhost.h"
#include "gui/shell/screennumber.h"

#include <QButtonGroup>
#include <QDebug>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

namespace ferlin {

namespace {

// Column widths of the grid, in twips (15 to a pixel on a 96 dpi screen).
constexpr int ColumnTwips[BasketGridModel::ColumnCount] = {660, 860, 1000, 12000};

// The grid never scrolls sideways to a cell already in sight: the title column is wider than a
// narrow window, and choosing a title would bring the start of that column to the left edge,
// the first three columns out of sight. Up and down, and to a cell out of sight, it scrolls as
// any grid does.
class BasketGrid : public QTableView {
public:
    using QTableView::QTableView;

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override
    {
        const QRect cell = visualRect(index);
        const bool inSight =
            cell.isValid() && cell.right() >= 0 && cell.left() < viewport()->width();
        QScrollBar *across = horizontalScrollBar();
        const int kept = across->value();
        QTableView::scrollTo(index, hint);
        if (inSight)
            across->setValue(kept);
    }
};

} // namespace

BasketList::BasketList(ScreenHost &window) : m_window(window), m_context(window.context())
{
    setObjectName(QStringLiteral("F_grille"));
    setWindowTitle(QStringLiteral("Travail sur les paniers"));

    auto *title = new QLabel(QStringLiteral("MANIPULATION DES PANIERS"), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    title->setFont(big);

    auto *group = new QButtonGroup(this);
    auto *options = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(QStringLiteral("Panier ") + QString::number(i + 1), this);
        option->setObjectName(QStringLiteral("OptionP_") + QString::number(i));
        group->addButton(option, i);
        options->addWidget(option);
        m_options[size_t(i)] = option;
    }
    m_options[0]->setChecked(true);
    options->addStretch();
    // A click on a basket runs the selection, as the original option buttons did.
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { selectBasket(id + 1); });

    auto *empty = new QToolButton(this);
    empty->setObjectName(QStringLiteral("Command2"));
    empty->setToolTip(QStringLiteral("  Vider le panier courant "));
    empty->setIcon(moveIcon(MoveIcon::Empty));
    empty->setIconSize(QSize(28, 28));
    connect(empty, &QToolButton::clicked, this, &BasketList::emptyShownBasket);
    m_transfer = new QToolButton(this);
    m_transfer->setObjectName(QStringLiteral("Cmd_transferts"));
    m_transfer->setToolTip(QStringLiteral(" Transférer le contenu de paniers "));
    m_transfer->setIcon(moveIcon(MoveIcon::Transfer));
    m_transfer->setIconSize(QSize(28, 28));
    m_transfer->setEnabled(false);
    connect(m_transfer, &QToolButton::clicked, this, [this] {
        if (m_transferAction)
            m_transferAction();
    });
    options->addWidget(empty);
    options->addWidget(m_transfer);

    auto *basketCaption = new QLabel(QStringLiteral("Panier n° "), this);
    m_basketNumber = new QLabel(this);
    m_basketNumber->setObjectName(QStringLiteral("Lab_NumPanier"));
    auto *countCaption = new QLabel(QStringLiteral("Nombre de références dans ce panier : "), this);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("Lab_NbRefPanier"));
    auto *labels = new QHBoxLayout;
    labels->addWidget(basketCaption);
    labels->addWidget(m_basketNumber);
    labels->addSpacing(24);
    labels->addWidget(countCaption);
    labels->addWidget(m_count);
    labels->addStretch();

    m_model = new BasketGridModel(this);
    m_grid = new BasketGrid(this);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_grid->setToolTip(QStringLiteral(" Cliquer pour afficher la fiche de la référence "));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < BasketGridModel::ColumnCount; ++c)
        m_grid->setColumnWidth(c, ColumnTwips[c] / 15);
    onRowChosen(m_grid, [this](int row) { OpenGridRow(row + 1); });

    auto *number = new QLabel(QStringLiteral("F 04"), this);
    number->setObjectName(QStringLiteral("Label22"));
    greyScreenNumber(number);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addLayout(options);
    layout->addLayout(labels);
    layout->addWidget(m_grid, 1);
    layout->addWidget(number, 0, Qt::AlignRight);
    nameControlsForAccessibility(this);
}

BasketList::~BasketList() = default;

void BasketList::setTransferAction(std::function<void()> action)
{
    m_transferAction = std::move(action);
    m_transfer->setEnabled(bool(m_transferAction));
}

CardView *BasketList::card()
{
    return m_window.card();
}

int BasketList::selectedBasket() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_options[size_t(i)]->isChecked())
            return i + 1;
    }
    return 1;
}

void BasketList::pointCardAt(int basket)
{
    m_context.card.openBasket(basket);
}

bool BasketList::event(QEvent *event)
{
    // Whenever the frame brings the list in front, from a command, the window menu or the next
    // window's key.
    if (event->type() == QEvent::ParentChange) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            connect(frame, &QMdiSubWindow::aboutToActivate, this, &BasketList::refreshIfChanged,
                    Qt::UniqueConnection);
    }
    return QWidget::event(event);
}

void BasketList::markShown(int basket)
{
    m_shownBasket = basket;
    m_shownGeneration = BasketStore::generation(basket);
    m_options[size_t(basket - 1)]->setChecked(true);
    m_basketNumber->setText(QString::number(basket));
}

bool BasketList::refreshIfChanged()
{
    const int basket = m_shownBasket;
    if (basket == 0 || m_shownGeneration == BasketStore::generation(basket))
        return false;
    ResetBasketGrid();
    const int count = m_context.state.basketCounts[basket];
    if (count > 0) {
        FillBasketGrid(basket, count);
    } else {
        m_count->setText(QStringLiteral("0"));
        markShown(basket);
    }
    return true;
}

void BasketList::ShowBasketList(int basket)
{
    pointCardAt(basket);
    if (!m_options[size_t(basket - 1)]->isChecked()) {
        // Selecting the basket runs its selection, which does the rest.
        m_options[size_t(basket - 1)]->setChecked(true);
        selectBasket(basket);
        return;
    }
    QWidget *frame = parentWidget();
    showReferences(basket, isVisible() && frame && frame->isMaximized());
}

void BasketList::selectBasket(int basket)
{
    pointCardAt(basket);
    m_context.state.currentBasket = basket;
    m_basketNumber->setText(QString::number(basket));
    showReferences(basket, true);
}

void BasketList::showReferences(int basket, bool tellEmpty)
{
    const int count = m_context.state.card.count;
    if (count > 0) {
        card()->OpenCard(CardState::BasketMode, basket, count, 1);
        ResetBasketGrid();
        FillBasketGrid(basket, count);
        return;
    }
    m_count->setText(QStringLiteral("0"));
    ResetBasketGrid();
    markShown(basket);
    if (tellEmpty)
        m_context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                           QStringLiteral("Le panier n° ") +
                                               QString::number(basket) +
                                               QStringLiteral(" est vide"));
}

void BasketList::ResetBasketGrid()
{
    m_model->reset();
    m_grid->horizontalScrollBar()->setValue(0);
}

void BasketList::FillBasketGrid(int basket, int count)
{
    // Read without moving the card: line r is record r of the card's set as it stands now. When
    // the card holds another set, or the basket's set as it stood before a write, the basket is
    // read again in the same order; a click then points the card at it.
    const QStringList &fields = BasketGridModel::fields();
    bool read = true;
    try {
        std::unique_ptr<RowReader> rows;
        if (m_context.card.basket() == basket)
            rows = m_context.card.rowReader(fields);
        else if (m_context.catalogue.db)
            rows = m_context.catalogue.db->openRecordSet(BasketStore::orderedSource(basket))
                       ->rowReader(fields);
        m_model->fill(std::move(rows));
    } catch (const DbError &error) {
        // The list reports no database error of its own: it reads the basket again when it
        // next comes in front or is clicked.
        qWarning() << "basket list" << basket << error.what();
        read = false;
    }
    m_count->setText(QString::number(count));
    markShown(basket);
    if (!read)
        m_shownGeneration.reset();
}

void BasketList::OpenGridRow(int row)
{
    CardState &state = m_context.state.card;
    state.mode = CardState::BasketMode;
    // Lines drawn before the basket was written to may not show the reference aimed at: they
    // are drawn again, and the click opens nothing.
    if (refreshIfChanged())
        return;
    // The basket of the lines, whatever the card has shown since (the whole base, a search
    // that made another basket current without filling it).
    const int basket = m_shownBasket;
    if (basket == 0 || m_context.state.basketCounts[basket] == 0 ||
        !m_context.card.showBasketRow(basket, row))
        return;
    m_context.state.currentBasket = basket;
    // The card in basket mode on that row, whatever mode it was left in.
    card()->OpenCard(CardState::BasketMode, basket, state.count, row);
    m_window.show(Screen::Card);
    // Whoever comes back to the list finds its first column, where the year of each line is.
    m_grid->horizontalScrollBar()->setValue(0);
}

void BasketList::returnFromCard()
{
    const int basket = m_context.state.currentBasket;
    ResetBasketGrid();
    FillBasketGrid(basket, m_context.state.basketCounts[basket]);
    m_window.show(Screen::BasketList);
}

void BasketList::rebuildQuietly()
{
    const int basket = m_context.state.currentBasket;
    pointCardAt(basket);
    ResetBasketGrid();
    const int count = m_context.state.card.count;
    if (count > 0) {
        card()->OpenCard(CardState::BasketMode, basket, count, 1);
        FillBasketGrid(basket, count);
    } else {
        card()->ShowEmptyBasketCard(basket);
        m_count->setText(QStringLiteral("0"));
        markShown(basket);
    }
}

void BasketList::emptyShownBasket()
{
    const int basket = selectedBasket();
    const QString question = QStringLiteral("Attention : Le panier n° ") + QString::number(basket) +
                             QStringLiteral(" va être vidé. Etes-vous d'accord ?");
    if (m_context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::YesNo,
                                           question, QStringLiteral("Vidage d'un panier")) !=
        MessageAnswer::Yes)
        return;
    card()->basketOperations().EmptyBasket(basket);
    ResetBasketGrid();
    m_count->setText(QStringLiteral("0"));
    // An emptying that failed has left references: they are drawn when the list is next used.
    if (m_context.state.basketCounts[basket] == 0)
        markShown(basket);
}

} // namespace ferlin
