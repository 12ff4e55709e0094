#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;
class QWidget;

namespace ferlin {

// How a second start on a base reaches the window already open on it: the window listens on a
// local socket named after the base, in the user's own runtime folder; the second program asks
// it to come forward and ends. Plain Unix sockets: the program's start loads no network library.
class WindowCall : public QObject {
    Q_OBJECT
public:
    explicit WindowCall(const QString &databasePath, QObject *parent = nullptr);
    ~WindowCall() override;

    // The window's side: listens for the next starts; false when the socket cannot be made.
    bool listen();
    // The second start's side: asks the window open on the base to come forward, trying for up
    // to `timeoutMs` (the window may still be starting); false when none answered.
    static bool callWindow(const QString &databasePath, int timeoutMs = 3000);
    // Brings a window to the front, out of the task bar if minimized.
    static void bringForward(QWidget *window);

    // The socket's path for a base: one per base and user.
    static QString socketPath(const QString &databasePath);

Q_SIGNALS:
    void called();

private:
    void answer();

    QString m_path;
    int m_socket = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace ferlin
