#include "core/platform/linuxdrives.h"

#include "core/platform/platformerror.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <blkid/blkid.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace ferlin {

namespace {

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Mount points of the system's own machinery, never offered as drives.
bool isSystemMountPoint(const QString &mountPoint)
{
    for (const char *prefix : {"/proc", "/sys", "/dev", "/run"}) {
        const QString folder = QLatin1String(prefix);
        if (mountPoint == folder || mountPoint.startsWith(folder + QLatin1Char('/')))
            return !mountPoint.startsWith(QLatin1String("/run/media/"));
    }
    return false;
}

// A path with its existing part's symbolic links followed; the part that does not exist yet
// is kept as written.
QString canonicalPathPrefix(const QString &path)
{
    QString existing = QDir::cleanPath(path);
    QString rest;
    while (!QFileInfo::exists(existing) && existing != QLatin1String("/")) {
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        rest.prepend(existing.mid(slash));
        existing = slash > 0 ? existing.left(slash) : QStringLiteral("/");
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return (canonical.isEmpty() ? existing : canonical) + rest;
}

PlatformError notReady()
{
    return PlatformError(PlatformErrorCode::DiskNotReady);
}

PlatformError noSuchDrive()
{
    return PlatformError(PlatformErrorCode::NoSuchDrive);
}

} // namespace

LinuxDrives::LinuxDrives()
    : LinuxDrives(SystemLocations(), [](const QString &device) {
          return readDeviceLabel(device, SystemLocations().labelLinks);
      })
{
}

LinuxDrives::LinuxDrives(SystemLocations locations, VolumeLabelReader labelReader)
    : m_locations(std::move(locations)), m_labelReader(std::move(labelReader))
{
}

QList<MountEntry> LinuxDrives::readMountTable() const
{
    return parseMountTable(readSmallFile(m_locations.mountTable));
}

QString LinuxDrives::canonicalDevice(const QString &device) const
{
    if (!device.startsWith(QLatin1Char('/')))
        return device;
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

QString LinuxDrives::kernelNameOf(const QString &canonicalDevice) const
{
    const QString folder = m_locations.deviceFolder + QLatin1Char('/');
    if (!canonicalDevice.startsWith(folder))
        return {};
    return QFileInfo(canonicalDevice).fileName();
}

QString LinuxDrives::deviceName(const QString &kernelName) const
{
    return m_locations.deviceFolder + QLatin1Char('/') + kernelName;
}

bool LinuxDrives::isRemovable(const QString &kernelName) const
{
    if (kernelName.isEmpty())
        return false;
    const QString node = m_locations.sysClassBlock + QLatin1Char('/') + kernelName;
    QString flagFile = node + QStringLiteral("/removable");
    // A partition: the flag is its disk's, one folder up in the device tree.
    if (!QFileInfo::exists(flagFile) && QFileInfo::exists(node + QStringLiteral("/partition")))
        flagFile =
            QFileInfo(QFileInfo(node).canonicalFilePath()).path() + QStringLiteral("/removable");
    return readSmallFile(flagFile).trimmed() == "1";
}

DriveType LinuxDrives::typeOfMount(const MountEntry &entry) const
{
    const QString kernelName = kernelNameOf(canonicalDevice(entry.device));
    return mountDriveType(entry, kernelName, isRemovable(kernelName));
}

LinuxDrives::Named LinuxDrives::resolve(const QString &drive) const
{
    Named named;
    if (drive.isEmpty())
        return named;
    if (drive.startsWith(m_locations.deviceFolder + QLatin1Char('/'))) {
        const QFileInfo info(withoutTrailingSlash(drive));
        if (!info.exists() || info.isDir())
            return named;
        named.kind = Kind::Device;
        named.device = canonicalDevice(info.filePath());
        named.kernelName = kernelNameOf(named.device);
        const QList<MountEntry> table = readMountTable();
        for (auto it = table.crbegin(); it != table.crend(); ++it) {
            if (canonicalDevice(it->device) == named.device) {
                named.mount = *it;
                break;
            }
        }
        return named;
    }
    if (!drive.startsWith(QLatin1Char('/')))
        return named;
    named.mount = mountAt(readMountTable(), drive);
    if (named.mount) {
        named.kind = Kind::MountPoint;
        named.device = canonicalDevice(named.mount->device);
        named.kernelName = kernelNameOf(named.device);
    } else {
        named.kind = Kind::Folder;
    }
    return named;
}

QStringList LinuxDrives::driveRoots() const
{
    const QList<MountEntry> table = readMountTable();
    QMap<QString, MountEntry> topMounts; // by mount point, the last mounted wins
    for (const MountEntry &entry : table)
        topMounts.insert(entry.mountPoint, entry);

    QStringList mounts;
    for (const MountEntry &entry : std::as_const(topMounts)) {
        const DriveType type = typeOfMount(entry);
        if (type == DriveType::Unknown || type == DriveType::RamDisk ||
            isOpticalDeviceName(kernelNameOf(canonicalDevice(entry.device))) ||
            isDiscImageMount(entry) || isSystemMountPoint(entry.mountPoint) ||
            !QFileInfo(entry.mountPoint).isDir())
            continue;
        mounts.append(withTrailingSlash(entry.mountPoint));
    }

    QStringList optical;
    const QDir sysBlock(m_locations.sysBlock);
    for (const QString &name :
         sysBlock.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (isOpticalDeviceName(name))
            optical.append(name);
    }
    std::sort(optical.begin(), optical.end(), inKernelOrder);
    for (const QString &name : std::as_const(optical))
        mounts.append(deviceName(name));
    // Mounted disc images are listed with the optical drives, by their loop device.
    for (const QString &device : discImageDevices(table)) {
        const QString kernelName = kernelNameOf(canonicalDevice(device));
        if (!kernelName.isEmpty() && !mounts.contains(deviceName(kernelName)))
            mounts.append(deviceName(kernelName));
    }
    return mounts;
}

DriveType LinuxDrives::driveType(const QString &drive) const
{
    const Named named = resolve(drive);
    switch (named.kind) {
    case Kind::None:
        return DriveType::NoRootDir;
    case Kind::Device:
        if (isOpticalDeviceName(named.kernelName))
            return DriveType::CdRom;
        // A loop device is a drive for disc images: empty (not ready) while none is mounted.
        if (isLoopDeviceName(named.kernelName))
            return named.mount ? typeOfMount(*named.mount) : DriveType::CdRom;
        if (!QFileInfo::exists(m_locations.sysClassBlock + QLatin1Char('/') + named.kernelName))
            return DriveType::Unknown;
        return isRemovable(named.kernelName) ? DriveType::Removable : DriveType::FixedDisk;
    case Kind::MountPoint:
        return typeOfMount(*named.mount);
    case Kind::Folder:
        break;
    }
    return DriveType::CdRom;
}

QString LinuxDrives::rootPath(const QString &drive) const
{
    const Named named = resolve(drive);
    switch (named.kind) {
    case Kind::None:
        throw noSuchDrive();
    case Kind::Device:
    case Kind::MountPoint:
        if (!named.mount)
            throw notReady();
        return withTrailingSlash(named.mount->mountPoint);
    case Kind::Folder:
        break;
    }
    if (!QFileInfo(drive).isDir())
        throw notReady();
    return withTrailingSlash(drive);
}

QString LinuxDrives::volumeLabel(const QString &drive) const
{
    const Named named = resolve(drive);
    switch (named.kind) {
    case Kind::None:
        throw noSuchDrive();
    case Kind::Device:
    case Kind::MountPoint:
        if (!named.mount)
            throw notReady();
        return named.kernelName.isEmpty() ? QString() : m_labelReader(named.device);
    case Kind::Folder:
        break;
    }
    const QFileInfo folder(drive);
    if (!folder.isDir())
        throw notReady();
    return QFileInfo(folder.canonicalFilePath()).fileName();
}

qint64 LinuxDrives::freeBytes(const QString &drive) const
{
    const QString root = rootPath(drive);
    std::error_code error;
    const std::filesystem::space_info space =
        std::filesystem::space(QFile::encodeName(root).toStdString(), error);
    if (error)
        throw PlatformError::fromErrno(error.value());
    return static_cast<qint64>(space.available);
}

QString LinuxDrives::driveOf(const QString &path) const
{
    if (!path.startsWith(QLatin1Char('/')))
        return {};
    const std::optional<MountEntry> mount =
        mountContaining(readMountTable(), canonicalPathPrefix(path));
    if (!mount)
        return {};
    const QString kernelName = kernelNameOf(canonicalDevice(mount->device));
    if (!kernelName.isEmpty() && (isOpticalDeviceName(kernelName) || isDiscImageMount(*mount)))
        return deviceName(kernelName);
    return withTrailingSlash(mount->mountPoint);
}

bool LinuxDrives::isDiscImage(const Named &named) const
{
    if (named.kind == Kind::Device)
        return isLoopDeviceName(named.kernelName);
    return named.kind == Kind::MountPoint && isDiscImageMount(*named.mount);
}

bool LinuxDrives::holdsOneDisc(const QString &drive) const
{
    const Named named = resolve(drive);
    return named.kind == Kind::Folder || isDiscImage(named);
}

QStringList LinuxDrives::discsBeside(const QString &drive) const
{
    const Named named = resolve(drive);
    QStringList beside;
    if (named.kind == Kind::Folder) {
        // The disc folders lie side by side where the folder really is (a link followed).
        const QFileInfo folder(withoutTrailingSlash(drive));
        const QString canonical = folder.canonicalFilePath();
        if (canonical.isEmpty())
            return beside;
        const QDir parent = QFileInfo(canonical).dir();
        for (const QString &name :
             parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QString path = parent.filePath(name);
            if (path != canonical)
                beside.append(withTrailingSlash(path));
        }
    } else if (isDiscImage(named)) {
        for (const QString &device : discImageDevices(readMountTable())) {
            const QString kernelName = kernelNameOf(canonicalDevice(device));
            if (!kernelName.isEmpty() && canonicalDevice(device) != named.device &&
                !beside.contains(deviceName(kernelName)))
                beside.append(deviceName(kernelName));
        }
    }
    return beside;
}

QString LinuxDrives::readDeviceLabel(const QString &device, const QString &labelLinks)
{
    const QByteArray path = QFile::encodeName(device);
    if (blkid_probe probe = blkid_new_probe_from_filename(path.constData())) {
        blkid_probe_enable_superblocks(probe, 1);
        blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL);
        const bool probed = blkid_do_safeprobe(probe) == 0;
        const char *label = nullptr;
        size_t length = 0;
        QString result;
        if (probed && blkid_probe_lookup_value(probe, "LABEL", &label, &length) == 0)
            result = QString::fromUtf8(label);
        blkid_free_probe(probe);
        if (probed)
            return result;
    }
    // The device cannot be read by this user: what blkid last saw, then udev's links.
    if (char *value = blkid_get_tag_value(nullptr, "LABEL", path.constData())) {
        const QString result = QString::fromUtf8(value);
        std::free(value);
        return result;
    }
    const QString canonical = QFileInfo(device).canonicalFilePath();
    QDirIterator links(labelLinks, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    while (links.hasNext()) {
        const QFileInfo link(links.next());
        if (!canonical.isEmpty() && link.canonicalFilePath() == canonical)
            return decodeUdevName(link.fileName());
    }
    return {};
}

} // namespace ferlin
