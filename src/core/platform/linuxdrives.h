#pragma once

#include "core/platform/drives.h"
#include "core/platform/mounttable.h"

#include <functional>

namespace ferlin {

// Where the Linux drives read the system's state. Tests point them at sample files.
struct SystemLocations {
    QString mountTable = QStringLiteral("/proc/self/mounts");
    QString sysBlock = QStringLiteral("/sys/block");
    QString sysClassBlock = QStringLiteral("/sys/class/block");
    QString deviceFolder = QStringLiteral("/dev");
    QString labelLinks = QStringLiteral("/dev/disk/by-label");
};

// Reads the volume label of a device's file system.
using VolumeLabelReader = std::function<QString(const QString &device)>;

// The drives of a Linux machine, read afresh from the mount table at every call (desktop
// automounting puts each disc somewhere else). See Drives for how drives are named.
class LinuxDrives : public Drives {
public:
    LinuxDrives();
    LinuxDrives(SystemLocations locations, VolumeLabelReader labelReader);

    QStringList driveRoots() const override;
    DriveType driveType(const QString &drive) const override;
    QString rootPath(const QString &drive) const override;
    QString volumeLabel(const QString &drive) const override;
    qint64 freeBytes(const QString &drive) const override;
    QString driveOf(const QString &path) const override;
    bool holdsOneDisc(const QString &drive) const override;
    QStringList discsBeside(const QString &drive) const override;

    // The label of a device's file system, by libblkid; when the device cannot be read, from
    // blkid's cache, then from udev's by-label links under labelLinks.
    static QString readDeviceLabel(const QString &device, const QString &labelLinks);

private:
    enum class Kind { None, Device, MountPoint, Folder };
    struct Named {
        Kind kind = Kind::None;
        QString device;     // the device, symbolic links followed (Device, MountPoint)
        QString kernelName; // "sr0", "sda1"; empty for a source that is no device
        std::optional<MountEntry> mount;
    };

    Named resolve(const QString &drive) const;
    bool isDiscImage(const Named &named) const;
    QList<MountEntry> readMountTable() const;
    QString canonicalDevice(const QString &device) const;
    QString kernelNameOf(const QString &canonicalDevice) const;
    bool isRemovable(const QString &kernelName) const;
    DriveType typeOfMount(const MountEntry &entry) const;
    QString deviceName(const QString &kernelName) const;

    SystemLocations m_locations;
    VolumeLabelReader m_labelReader;
};

} // namespace ferlin
