#include "app/windowcall.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace ferlin {

namespace {

const QByteArray Request = "premier-plan\n";
const QByteArray Answer = "ok\n";

bool addressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

// Waits until the socket can be read or written, or the time is out.
bool waitFor(int socket, short events, const QDeadlineTimer &deadline)
{
    pollfd one{socket, events, 0};
    for (;;) {
        const int result = ::poll(&one, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (result > 0)
            return true;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

WindowCall::WindowCall(const QString &databasePath, QObject *parent)
    : QObject(parent), m_path(socketPath(databasePath))
{
}

WindowCall::~WindowCall()
{
    if (m_socket >= 0) {
        ::close(m_socket);
        QFile::remove(m_path);
    }
}

QString WindowCall::socketPath(const QString &databasePath)
{
    // The user's runtime folder is theirs alone; the base's path may be longer than a socket's.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray key = QFileInfo(databasePath).absoluteFilePath().toUtf8() + '\n' +
                           QByteArray::number(static_cast<qulonglong>(::getuid()));
    return folder + QStringLiteral("/ferlin-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24)) +
           QStringLiteral(".socket");
}

bool WindowCall::listen()
{
    sockaddr_un address;
    if (!addressOf(m_path, address))
        return false;
    m_socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_socket < 0)
        return false;
    // A socket left by a window that crashed: the caller holds the base's lock, the name is its.
    QFile::remove(m_path);
    if (::bind(m_socket, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0 ||
        ::listen(m_socket, 4) != 0) {
        ::close(m_socket);
        m_socket = -1;
        return false;
    }
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    m_notifier = new QSocketNotifier(m_socket, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { answer(); });
    return true;
}

void WindowCall::answer()
{
    for (;;) {
        const int caller = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (caller < 0)
            return;
        // The caller writes its request at once; one that does not is not waited for long.
        char line[32] = {};
        qsizetype read = 0;
        const QDeadlineTimer deadline(500);
        while (read < Request.size() && waitFor(caller, POLLIN, deadline)) {
            const ssize_t got = ::read(caller, line + read, size_t(Request.size() - read));
            if (got <= 0)
                break;
            read += got;
        }
        const bool asked = QByteArray(line, read) == Request;
        if (asked) {
            const ssize_t written = ::write(caller, Answer.constData(), size_t(Answer.size()));
            Q_UNUSED(written);
        }
        ::close(caller);
        if (asked)
            Q_EMIT called();
    }
}

bool WindowCall::callWindow(const QString &databasePath, int timeoutMs)
{
    sockaddr_un address;
    if (!addressOf(socketPath(databasePath), address))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    do {
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (socket < 0)
            return false;
        if (::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0) {
            bool answered = false;
            if (::write(socket, Request.constData(), size_t(Request.size())) == Request.size() &&
                waitFor(socket, POLLIN, deadline)) {
                char reply[8] = {};
                answered = ::read(socket, reply, sizeof(reply)) == Answer.size() &&
                           QByteArray(reply, Answer.size()) == Answer;
            }
            ::close(socket);
            return answered;
        }
        ::close(socket);
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
