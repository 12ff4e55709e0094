#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace ferlin {

// How a second start on a base reaches the window already open on it: the window listens on a
// local socket named after the base (and the user), the second program asks it to come forward
// and ends.
class WindowCall : public QObject {
    Q_OBJECT
public:
    explicit WindowCall(const QString &databasePath, QObject *parent = nullptr);

    // The window's side: listens for the next starts; false when the socket cannot be made.
    bool listen();
    // The second start's side: asks the window open on the base to come forward, trying for up
    // to `timeoutMs` (the window may still be starting); false when none answered.
    static bool callWindow(const QString &databasePath, int timeoutMs = 3000);
    // Brings a window to the front, out of the task bar if minimized.
    static void bringForward(QWidget *window);

    static QString socketName(const QString &databasePath);

Q_SIGNALS:
    void called();

private:
    QString m_name;
    QLocalServer *m_server;
};

} // namespace ferlin
