#include "fakes/fakedrives.h"

#include "core/platform/platformerror.h"

namespace ferlin {

void FakeDrives::addDrive(const QString &name, const Drive &drive)
{
    if (!m_drives.contains(name))
        m_order.append(name);
    m_drives.insert(name, drive);
}

FakeDrives::Drive &FakeDrives::drive(const QString &name)
{
    if (!m_drives.contains(name))
        throw PlatformError(PlatformErrorCode::NoSuchDrive);
    return m_drives[name];
}

void FakeDrives::setLabel(const QString &name, const QString &label)
{
    drive(name).label = label;
}

void FakeDrives::setReady(const QString &name, bool ready)
{
    drive(name).ready = ready;
}

void FakeDrives::setFreeBytes(const QString &name, qint64 freeBytes)
{
    drive(name).freeBytes = freeBytes;
}

const FakeDrives::Drive &FakeDrives::readyDrive(const QString &name) const
{
    const auto it = m_drives.constFind(name);
    if (it == m_drives.cend())
        throw PlatformError(PlatformErrorCode::NoSuchDrive);
    if (!it->ready)
        throw PlatformError(PlatformErrorCode::DiskNotReady);
    return *it;
}

DriveType FakeDrives::driveType(const QString &drive) const
{
    const auto it = m_drives.constFind(drive);
    return it == m_drives.cend() ? DriveType::NoRootDir : it->type;
}

QString FakeDrives::rootPath(const QString &drive) const
{
    return readyDrive(drive).root;
}

QString FakeDrives::volumeLabel(const QString &drive) const
{
    ++m_labelReads[drive];
    return readyDrive(drive).label;
}

qint64 FakeDrives::freeBytes(const QString &drive) const
{
    return readyDrive(drive).freeBytes;
}

QString FakeDrives::driveOf(const QString &path) const
{
    QString best;
    qsizetype bestLength = -1;
    for (auto it = m_drives.cbegin(); it != m_drives.cend(); ++it) {
        const QString &root = it->root;
        if (!root.isEmpty() && path.startsWith(root) && root.size() > bestLength) {
            best = it.key();
            bestLength = root.size();
        }
    }
    return best;
}

bool FakeDrives::holdsOneDisc(const QString &drive) const
{
    const auto it = m_drives.constFind(drive);
    return it != m_drives.cend() && it->oneDisc;
}

QStringList FakeDrives::discsBeside(const QString &drive) const
{
    QStringList beside;
    if (!holdsOneDisc(drive))
        return beside;
    for (const QString &name : m_order)
        if (name != drive && m_drives.value(name).oneDisc)
            beside.append(name);
    return beside;
}

} // namespace ferlin
