#include "gui/shell/countlabels.h"

#include <QLabel>

namespace ferlin {

void CountLabels::add(int basket, QLabel *label)
{
    m_labels[basket - 1].append(label);
}

const QList<QPointer<QLabel>> &CountLabels::labels(int basket) const
{
    return m_labels[basket - 1];
}

void PublishBasketCounts(const BasketCounts &counts, const CountLabels &labels)
{
    for (int basket = 1; basket <= 3; ++basket) {
        const QString text = QString::number(counts[basket]);
        for (const QPointer<QLabel> &label : labels.labels(basket)) {
            if (label)
                label->setText(text);
        }
    }
}

} // namespace ferlin
