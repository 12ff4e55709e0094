#include "core/platform/mounttable.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace ferlin {

namespace {

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

bool isOneOf(const QString &fsType, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (fsType == QLatin1String(name))
            return true;
    }
    return false;
}

// Whether parent is path or one of its parent folders; both without a trailing "/".
bool isSameOrParentFolder(const QString &parent, const QString &path)
{
    if (parent == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == parent || path.startsWith(parent + QLatin1Char('/'));
}

} // namespace

QString unescapeMountField(const QByteArray &field)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            bytes += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                          (field[i + 3] - '0'));
            i += 3;
        } else {
            bytes += field[i];
        }
    }
    return QString::fromUtf8(bytes);
}

QList<MountEntry> parseMountTable(const QByteArray &text)
{
    QList<MountEntry> table;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || fields[0].startsWith('#'))
            continue;
        MountEntry entry;
        entry.device = unescapeMountField(fields[0]);
        entry.mountPoint = unescapeMountField(fields[1]);
        entry.fsType = unescapeMountField(fields[2]);
        if (fields.size() > 3)
            entry.options = unescapeMountField(fields[3]);
        table.append(entry);
    }
    return table;
}

QString withTrailingSlash(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString withoutTrailingSlash(const QString &path)
{
    QString result = path;
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

std::optional<MountEntry> mountAt(const QList<MountEntry> &table, const QString &mountPoint)
{
    const QString wanted = withoutTrailingSlash(mountPoint);
    for (auto it = table.crbegin(); it != table.crend(); ++it) {
        if (it->mountPoint == wanted)
            return *it;
    }
    return std::nullopt;
}

std::optional<MountEntry> mountOfDevice(const QList<MountEntry> &table, const QString &device)
{
    for (auto it = table.crbegin(); it != table.crend(); ++it) {
        if (it->device == device)
            return *it;
    }
    return std::nullopt;
}

std::optional<MountEntry> mountContaining(const QList<MountEntry> &table, const QString &path)
{
    const QString wanted = withoutTrailingSlash(path);
    std::optional<MountEntry> best;
    for (const MountEntry &entry : table) {
        if (!isSameOrParentFolder(entry.mountPoint, wanted))
            continue;
        if (!best || entry.mountPoint.size() >= best->mountPoint.size())
            best = entry;
    }
    return best;
}

bool isOpticalDeviceName(const QString &kernelName)
{
    static const QRegularExpression pattern(QStringLiteral("^sr[0-9]+$"));
    return pattern.match(kernelName).hasMatch();
}

bool inKernelOrder(const QString &a, const QString &b)
{
    // The stems compared as text, then the trailing numbers as numbers.
    const auto split = [](const QString &name) {
        qsizetype digits = name.size();
        while (digits > 0 && name.at(digits - 1).isDigit())
            --digits;
        return std::make_pair(name.left(digits), name.mid(digits).toULongLong());
    };
    return split(a) < split(b);
}

bool isLoopDeviceName(const QString &kernelName)
{
    static const QRegularExpression pattern(QStringLiteral("^loop[0-9]+$"));
    return pattern.match(kernelName).hasMatch();
}

bool isDiscImageMount(const MountEntry &entry)
{
    return entry.device.startsWith(QLatin1Char('/')) &&
           isLoopDeviceName(QFileInfo(entry.device).fileName()) &&
           isOpticalFileSystem(entry.fsType);
}

QStringList discImageDevices(const QList<MountEntry> &table)
{
    QStringList devices;
    for (const MountEntry &entry : table) {
        if (isDiscImageMount(entry) && !devices.contains(entry.device))
            devices.append(entry.device);
    }
    std::sort(devices.begin(), devices.end(), inKernelOrder);
    return devices;
}

bool isNetworkFileSystem(const QString &fsType)
{
    return isOneOf(fsType,
                   {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "ceph",
                    "glusterfs", "davfs", "fuse.sshfs", "sshfs", "fuse.rclone", "fuse.gvfsd-fuse"});
}

bool isOpticalFileSystem(const QString &fsType)
{
    return isOneOf(fsType, {"iso9660", "udf"});
}

bool isDeviceLessDiskFileSystem(const QString &fsType)
{
    return isOneOf(fsType, {"zfs", "overlay", "btrfs", "bcachefs", "fuse.mergerfs"});
}

DriveType mountDriveType(const MountEntry &entry, const QString &kernelName, bool removable)
{
    if (isNetworkFileSystem(entry.fsType))
        return DriveType::Remote;
    if (isOneOf(entry.fsType, {"tmpfs", "ramfs"}))
        return DriveType::RamDisk;
    if (entry.device.startsWith(QLatin1String("/dev/")) || !kernelName.isEmpty()) {
        if (isOpticalDeviceName(kernelName) || isOpticalFileSystem(entry.fsType))
            return DriveType::CdRom;
        if (entry.fsType == QLatin1String("squashfs"))
            return DriveType::Unknown; // a packed read-only image, not a disk
        return removable ? DriveType::Removable : DriveType::FixedDisk;
    }
    if (isDeviceLessDiskFileSystem(entry.fsType))
        return DriveType::FixedDisk;
    return DriveType::Unknown;
}

QString decodeUdevName(const QString &name)
{
    const QByteArray bytes = name.toUtf8();
    QByteArray decoded;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\\' && i + 3 < bytes.size() && bytes[i + 1] == 'x') {
            bool ok = false;
            const int value = bytes.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                decoded += char(value);
                i += 3;
                continue;
            }
        }
        decoded += bytes[i];
    }
    return QString::fromUtf8(decoded);
}

} // namespace ferlin
