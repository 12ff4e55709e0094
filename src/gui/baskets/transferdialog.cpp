#include "gui/baskets/transferdialog.h"

#include "core/context/appcontext.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/countlabels.h"
#include "gui/shell/screenhost.h"
#include "gui/shell/screennumber.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

QRadioButton *option(const QString &arrayName, int index, const QString &caption, QWidget *parent)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(arrayName + u'_' + QString::number(index));
    return button;
}

// Each option array is its own exclusive group, whatever widget holds it.
template <typename Array> void group(const Array &options, QObject *parent)
{
    auto *buttons = new QButtonGroup(parent);
    for (QRadioButton *button : options)
        buttons->addButton(button);
}

} // namespace

TransferDialog::TransferDialog(ScreenHost &window, std::function<void(int)> showBasketList,
                               QWidget *parent)
    : QDialog(parent), m_window(window),
      m_transfer(window.context(), [&window] { window.publishCounts(); }),
      m_showBasketList(std::move(showBasketList))
{
    setObjectName(QStringLiteral("F_Transferts"));
    setWindowTitle(QStringLiteral("Transférer des contenus de paniers"));
    setModal(true);

    auto *screenNumber = new QLabel(QStringLiteral("F 16"), this);
    screenNumber->setObjectName(QStringLiteral("Label22"));
    greyScreenNumber(screenNumber);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Panier à recopier ..."), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("... Dans le panier"), this), 0, 1);
    for (int i = 0; i < 3; ++i) {
        const QString number = QStringLiteral("n° ") + QString::number(i + 1);
        m_sources[size_t(i)] = option(QStringLiteral("Option_videP"), i, u' ' + number, this);
        m_destinations[size_t(i)] = option(QStringLiteral("Option_Vers"), i, number, this);
        auto *count = new QLabel(this);
        count->setObjectName(QStringLiteral("Lab_NbRefP") + QString::number(i + 1));
        m_counts[size_t(i)] = count;
        grid->addWidget(m_sources[size_t(i)], i + 1, 0);
        grid->addWidget(m_destinations[size_t(i)], i + 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("Références :"), this), i + 1, 2);
        grid->addWidget(count, i + 1, 3);
    }
    m_modes[0] = option(QStringLiteral("Option_AR"), 0, QStringLiteral("Ajouter"), this);
    m_modes[1] = option(QStringLiteral("Option_AR"), 1, QStringLiteral("Remplacer"), this);
    group(m_sources, this);
    group(m_destinations, this);
    group(m_modes, this);
    m_sources[0]->setChecked(true);
    m_destinations[0]->setEnabled(false);
    m_destinations[1]->setChecked(true);
    m_modes[0]->setChecked(true);

    auto *copy = new QPushButton(QStringLiteral("Recopier"), this);
    copy->setObjectName(QStringLiteral("Cmd_Voir"));
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Cmd_Annuler"));

    auto *modes = new QHBoxLayout;
    modes->addWidget(m_modes[0]);
    modes->addWidget(m_modes[1]);
    modes->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(screenNumber, 0, Qt::AlignRight);
    layout->addLayout(grid);
    layout->addLayout(modes);
    layout->addLayout(buttons);

    for (int i = 0; i < 3; ++i) {
        connect(m_sources[size_t(i)], &QRadioButton::clicked, this, [this, i] { chooseSource(i); });
        window.countLabels().add(i + 1, m_counts[size_t(i)]);
    }
    connect(copy, &QPushButton::clicked, this, &TransferDialog::TransferBasket);
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
    window.publishCounts();
    nameControlsForAccessibility(this);
}

int TransferDialog::checkedIndex(const Options &options)
{
    for (int i = 0; i < int(options.size()); ++i) {
        if (options[size_t(i)]->isChecked())
            return i;
    }
    return 0;
}

TransferMode TransferDialog::mode() const
{
    return m_modes[1]->isChecked() ? TransferMode::Replace : TransferMode::Add;
}

void TransferDialog::chooseSource(int index)
{
    for (int i = 0; i < 3; ++i)
        m_destinations[size_t(i)]->setEnabled(i != index);
    m_destinations[index == 0 ? 1 : 0]->setChecked(true);
}

void TransferDialog::TransferBasket()
{
    if (!m_transfer.TransferBasket(source(), destination(), mode()))
        return;
    hide();
    if (m_showBasketList)
        m_showBasketList(m_window.context().state.currentBasket);
}

} // namespace ferlin
