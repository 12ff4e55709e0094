#pragma once

#include <QAccessible>
#include <QWidget>

namespace ferlin::test {

// The name a screen reader reads for a control, from the accessibility tree.
inline QString accessibleName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

} // namespace ferlin::test
