#pragma once

#include "core/platform/busypointer.h"

#include <QList>

namespace ferlin {

// Remembers the pointer's state and every change of it (true = hourglass shown).
class FakeBusyPointer : public BusyPointer {
public:
    void showBusy() override { change(true); }
    void restore() override { change(false); }
    bool isBusy() const override { return m_busy; }

    // The states set, in order, repeated calls included.
    const QList<bool> &history() const { return m_history; }

private:
    void change(bool busy)
    {
        m_busy = busy;
        m_history.append(busy);
    }

    bool m_busy = false;
    QList<bool> m_history;
};

} // namespace ferlin
