#include "gui/output/basketchoice.h"

#include "core/db/catalog.h"
#include "gui/shell/optiongroup.h"

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ferlin {

namespace {

QString basketCaption(int basket, int count)
{
    const QString name = QStringLiteral("Panier n° ") + QString::number(basket);
    if (count <= 0)
        return name + QStringLiteral(" (vide)");
    if (count == 1)
        return name + QStringLiteral(" (1 référence)");
    return name + QStringLiteral(" (") + QString::number(count) + QStringLiteral(" références)");
}

} // namespace

BasketChoice::BasketChoice(const QString &allEmpty, QWidget *parent)
    : QGroupBox(QStringLiteral("&Panier"), parent)
{
    setObjectName(QStringLiteral("Frame_Panier"));
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(basketCaption(i + 1, 0), this);
        option->setObjectName(QStringLiteral("Option_Panier_") + QString::number(i));
        layout->addWidget(option);
        m_options[size_t(i)] = option;
    }
    exclusiveGroup(this, m_options);
    m_allEmpty = new QLabel(allEmpty, this);
    m_allEmpty->setObjectName(QStringLiteral("Lab_PaniersVides"));
    layout->addWidget(m_allEmpty);
}

bool BasketChoice::refresh(const BasketCounts &counts)
{
    bool anyFull = false;
    for (int i = 0; i < 3; ++i) {
        const int count = counts[i + 1];
        m_options[size_t(i)]->setText(basketCaption(i + 1, count));
        m_options[size_t(i)]->setEnabled(count > 0);
        anyFull = anyFull || count > 0;
    }
    const bool chosen = std::any_of(m_options.begin(), m_options.end(), [](QRadioButton *b) {
        return b->isChecked() && b->isEnabled();
    });
    if (!chosen) {
        for (QRadioButton *option : m_options) {
            if (option->isEnabled()) {
                option->setChecked(true);
                break;
            }
        }
    }
    m_allEmpty->setVisible(!anyFull);
    return anyFull;
}

int BasketChoice::selected() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_options[size_t(i)]->isChecked())
            return i + 1;
    }
    return 1;
}

bool BasketChoice::focusSelected()
{
    QRadioButton *option = m_options[size_t(selected() - 1)];
    if (!option->isEnabled())
        return false;
    option->setFocus();
    return true;
}

} // namespace ferlin
