#pragma once

// Proof that a measured step was painted: paint events counted on a widget and everything under
// it, and the event loop run until they have been delivered. Qt only, so that the bare window of
// the start-up benchmark, which links nothing of ours, uses it too.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QHash>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace ferlin::bench {

class PaintCounter : public QObject {
public:
    // Watches `root` and its widgets, including those created later.
    explicit PaintCounter(QWidget *root) { watch(root); }

    // Paint events of every watched widget so far.
    int total() const { return m_total; }
    // Paint events of that widget alone.
    int of(const QObject *widget) const { return m_counts.value(widget); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++m_total;
            ++m_counts[watched];
        } else if (event->type() == QEvent::ChildPolished) {
            // A widget added later, sent before it is first shown.
            if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
                watch(child);
        }
        return false;
    }

private:
    void watch(QWidget *widget)
    {
        widget->installEventFilter(this);
        for (QWidget *child : widget->findChildren<QWidget *>())
            child->installEventFilter(this);
    }

    int m_total = 0;
    QHash<const QObject *, int> m_counts;
};

// Runs the event loop until `done()` holds, then delivers what was posted meanwhile. False when
// it still does not hold after `timeoutMs`.
template <typename Done> bool runUntil(Done done, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return true;
}

// Waits until the widget's window is exposed: from then on, what changes in it is painted.
inline bool waitExposed(QWidget *widget)
{
    return runUntil([widget] {
        const QWindow *window = widget->window()->windowHandle();
        return window && window->isExposed();
    });
}

// Prints the wall clock, in ns since the epoch, on standard output: the start-up benchmark takes
// it as the moment the program was ready, so that neither program's ending counts.
inline void printReadyTime()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf(
        "ready %lld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
}

} // namespace ferlin::bench
