#pragma once

#include "core/db/catalog.h"

#include <QList>
#include <QPointer>

class QLabel;

namespace ferlin {

// Every label of every screen that shows a basket's count, by basket number.
class CountLabels {
public:
    void add(int basket, QLabel *label);
    const QList<QPointer<QLabel>> &labels(int basket) const;

private:
    QList<QPointer<QLabel>> m_labels[3];
};

// Writes the three basket counts, each as a decimal number and nothing else, into every count
// label.
void PublishBasketCounts(const BasketCounts &counts, const CountLabels &labels);

} // namespace ferlin
