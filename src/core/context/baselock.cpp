#include "core/context/baselock.h"

#include <QDir>
#include <QFileInfo>

namespace ferlin {

BaseLock::BaseLock(const QString &databasePath) : m_file(lockPath(databasePath))
{
    // Only a holder that is gone makes a lock stale: a window may stay open for days.
    m_file.setStaleLockTime(0);
}

QString BaseLock::lockPath(const QString &databasePath)
{
    return QFileInfo(databasePath).absoluteFilePath() + QStringLiteral(".lock");
}

bool BaseLock::tryLock()
{
    // The user's folder of a first run does not exist before the base is copied into it.
    QDir().mkpath(QFileInfo(m_file.fileName()).absolutePath());
    if (m_file.tryLock(0))
        return true;
    return m_file.error() != QLockFile::LockFailedError;
}

qint64 BaseLock::holder() const
{
    qint64 pid = 0;
    QString hostName;
    QString appName;
    return m_file.getLockInfo(&pid, &hostName, &appName) ? pid : 0;
}

std::optional<qint64> BaseLock::holderOf(const QString &databasePath)
{
    BaseLock probe(databasePath);
    if (!QFileInfo::exists(lockPath(databasePath)) || probe.tryLock())
        return std::nullopt;
    return probe.holder();
}

} // namespace ferlin
