#pragma once

namespace ferlin {

// The mouse pointer of the whole program: normal or hourglass. It is a state, not a count:
// showing the hourglass twice and restoring once gives the normal pointer back.
class BusyPointer {
public:
    virtual ~BusyPointer() = default;

    virtual void showBusy() = 0;
    virtual void restore() = 0;
    virtual bool isBusy() const = 0;
};

// Shows the hourglass for a scope and, on leaving it, gives back the pointer found on entry
// (so a guard inside a longer busy stretch leaves the hourglass on).
class BusyPointerGuard {
public:
    explicit BusyPointerGuard(BusyPointer &pointer)
        : m_pointer(pointer), m_wasBusy(pointer.isBusy())
    {
        m_pointer.showBusy();
    }
    ~BusyPointerGuard()
    {
        if (!m_wasBusy)
            m_pointer.restore();
    }
    BusyPointerGuard(const BusyPointerGuard &) = delete;
    BusyPointerGuard &operator=(const BusyPointerGuard &) = delete;

private:
    BusyPointer &m_pointer;
    bool m_wasBusy;
};

} // namespace ferlin
