#include "core/import/workfile.h"

#include "core/db/dberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace ferlin {

namespace {

QString workName(const QString &destination, const char *suffix)
{
    const QFileInfo info(destination);
    return info.absoluteDir().filePath(u'.' + info.fileName() + QLatin1String(suffix));
}

DbError writeError(const QString &path)
{
    return DbError(
        DbErrorCode::CannotOpenFile,
        QStringLiteral("Impossible d'écrire « %1 » : %2.")
            .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno))));
}

// Flushes a file, or a folder's list of names, to the disk.
bool sync(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

WorkFile::WorkFile(const QString &destination)
    : m_destination(QFileInfo(destination).absoluteFilePath()),
      m_path(workName(destination, ".import")), m_lock(workName(destination, ".import.lock"))
{
    const QString folder = QFileInfo(m_destination).absolutePath();
    // The user's data folder of an installed program is made with its first base.
    QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isWritable())
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Le dossier « %1 » n'est pas accessible en écriture.")
                          .arg(QDir::toNativeSeparators(folder)));
    if (!m_lock.tryLock(0))
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Une autre conversion vers « %1 » est en cours.")
                          .arg(QDir::toNativeSeparators(m_destination)));
    remove();
}

WorkFile::~WorkFile()
{
    if (!m_installed)
        remove();
}

void WorkFile::remove()
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(m_path + QLatin1String(suffix));
}

void WorkFile::install()
{
    if (!sync(m_path, O_RDONLY))
        throw writeError(m_path);
    // A journal without its base would be played back into the new one.
    if (!QFileInfo::exists(m_destination))
        QFile::remove(m_destination + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(m_path).constData(),
                    QFile::encodeName(m_destination).constData()) != 0)
        throw writeError(m_destination);
    m_installed = true;
    // The new base is in place; flushing the folder only hastens what the system does anyway.
    sync(QFileInfo(m_destination).absolutePath(), O_RDONLY | O_DIRECTORY);
}

} // namespace ferlin
