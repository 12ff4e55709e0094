#pragma once

#include "core/platform/drives.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace ferlin {

// One line of a mount table (/proc/self/mounts), its fields unescaped.
struct MountEntry {
    QString device;
    QString mountPoint;
    QString fsType;
    QString options;
};

// A field of the mount table with its octal escapes ("\040" for a blank, "\011" tab,
// "\012" line feed, "\134" backslash) turned back into characters. Text is UTF-8.
QString unescapeMountField(const QByteArray &field);

// Every well-formed line of a mount table, in the table's order (the last mount on top).
QList<MountEntry> parseMountTable(const QByteArray &text);

// A mount point as a drive name: with a trailing "/".
QString withTrailingSlash(const QString &path);
// A path without its trailing "/" ("/" itself stays).
QString withoutTrailingSlash(const QString &path);

// The entry mounted last at a mount point (given with or without its trailing "/").
std::optional<MountEntry> mountAt(const QList<MountEntry> &table, const QString &mountPoint);
// The entry mounted last for a device, the devices compared as written.
std::optional<MountEntry> mountOfDevice(const QList<MountEntry> &table, const QString &device);
// The mount that holds an absolute path: the longest mount point that is the path or one of
// its parent folders (compared folder by folder), the last mounted among equals.
std::optional<MountEntry> mountContaining(const QList<MountEntry> &table, const QString &path);

// "sr0", "sr12": the kernel's names of optical drives.
bool isOpticalDeviceName(const QString &kernelName);
// Device names in the kernel's order: "sr2" before "sr10" (whatever the collation of the locale).
bool inKernelOrder(const QString &a, const QString &b);
// "loop0", "loop12": the kernel's names of loop devices (a file seen as a disk).
bool isLoopDeviceName(const QString &kernelName);
// NFS, SMB, SSHFS and the like.
bool isNetworkFileSystem(const QString &fsType);
// File systems of optical discs (ISO 9660, UDF).
bool isOpticalFileSystem(const QString &fsType);
// A disc image mounted as a disc: a loop device holding an ISO 9660 or UDF file system (a
// ".iso" opened by the desktop's disk image mounter, udisksctl loop-setup or mount -o loop).
bool isDiscImageMount(const MountEntry &entry);
// The loop devices of the table that hold a disc image, each once, as written in the table and
// in the kernel's order (loop2 before loop10).
QStringList discImageDevices(const QList<MountEntry> &table);
// File systems kept on a local disk without a device node of their own (ZFS, overlay, ...).
bool isDeviceLessDiskFileSystem(const QString &fsType);

// The type of drive a mounted file system makes. kernelName is the device's kernel name
// ("sda1", "sr0", empty when the source is no device); removable is the kernel's removable
// flag of its disk.
DriveType mountDriveType(const MountEntry &entry, const QString &kernelName, bool removable);

// A name of udev's /dev/disk/by-label folder with its "\x20"-style escapes turned back.
QString decodeUdevName(const QString &name);

} // namespace ferlin
