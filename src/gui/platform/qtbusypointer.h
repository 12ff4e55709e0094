#pragma once

#include "core/platform/busypointer.h"

namespace ferlin {

// The hourglass as the application's override cursor.
class QtBusyPointer : public BusyPointer {
public:
    QtBusyPointer() = default;
    ~QtBusyPointer() override;
    QtBusyPointer(const QtBusyPointer &) = delete;
    QtBusyPointer &operator=(const QtBusyPointer &) = delete;

    void showBusy() override;
    void restore() override;
    bool isBusy() const override { return m_busy; }

private:
    bool m_busy = false;
};

} // namespace ferlin
