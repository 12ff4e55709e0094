#include "gui/platform/qtbusypointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace ferlin {

QtBusyPointer::~QtBusyPointer()
{
    restore();
}

void QtBusyPointer::showBusy()
{
    if (m_busy)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_busy = true;
}

void QtBusyPointer::restore()
{
    if (!m_busy)
        return;
    QGuiApplication::restoreOverrideCursor();
    m_busy = false;
}

} // namespace ferlin
