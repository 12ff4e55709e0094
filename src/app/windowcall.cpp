#include "app/windowcall.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <unistd.h>

namespace ferlin {

namespace {

const QByteArray Request = "premier-plan\n";
const QByteArray Answer = "ok\n";

} // namespace

WindowCall::WindowCall(const QString &databasePath, QObject *parent)
    : QObject(parent), m_name(socketName(databasePath)), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const bool asked = socket->readLine() == Request;
                socket->write(Answer);
                socket->flush();
                socket->disconnectFromServer();
                if (asked)
                    Q_EMIT called();
            });
        }
    });
}

QString WindowCall::socketName(const QString &databasePath)
{
    // One name per base and user; the base's path itself may be longer than a socket's name.
    const QByteArray key = QFileInfo(databasePath).absoluteFilePath().toUtf8() + '\n' +
                           QByteArray::number(static_cast<qulonglong>(::getuid()));
    return QStringLiteral("ferlin-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

bool WindowCall::listen()
{
    if (m_server->listen(m_name))
        return true;
    // A socket left by a window that crashed: the caller holds the base's lock, the name is its.
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}

bool WindowCall::callWindow(const QString &databasePath, int timeoutMs)
{
    const QString name = socketName(databasePath);
    const QDeadlineTimer deadline(timeoutMs);
    do {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(Request);
            if (socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())) &&
                socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                return socket.readLine() == Answer;
            return false;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

void WindowCall::bringForward(QWidget *window)
{
    if (window->isMinimized())
        window->showMaximized();
    window->raise();
    window->activateWindow();
}

} // namespace ferlin
