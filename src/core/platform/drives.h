#pragma once

#include <QString>
#include <QStringList>

namespace ferlin {

// Drive types, numbered as the catalogue has always numbered them (fixed disk 3, CD-ROM 5).
enum class DriveType {
    Unknown = 0,
    NoRootDir = 1, // no such drive
    Removable = 2,
    FixedDisk = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// The drives of the machine. A drive is named by what the user sees and types:
// - an optical drive by its device ("/dev/sr0"); its root is wherever the disc is mounted at
//   the moment of each call, and it is not ready while no disc is mounted;
// - a mounted disc image (ISO 9660 or UDF on a loop device) the same way, by its loop device
//   ("/dev/loop0"), listed with the optical drives;
// - a mounted disk by its mount point with a trailing "/" ("/", "/home/");
// - any other folder may stand for a CD-ROM drive: its root is the folder, its volume label the
//   name of the folder it resolves to, and it is not ready while the folder does not exist.
// Failing calls throw PlatformError: 68 for a name that is no drive, 71 for a drive not ready.
class Drives {
public:
    virtual ~Drives() = default;

    // Every drive, in a stable order: mounted disks by mount point, then optical drives, then
    // mounted disc images.
    virtual QStringList driveRoots() const = 0;
    // Never throws; NoRootDir for a name that is no drive.
    virtual DriveType driveType(const QString &drive) const = 0;
    // The folder the drive's files are under, ending with "/".
    virtual QString rootPath(const QString &drive) const = 0;
    virtual QString volumeLabel(const QString &drive) const = 0;
    // Bytes the user may still write on the drive.
    virtual qint64 freeBytes(const QString &drive) const = 0;
    // The drive that holds a path (its mount), or empty text when the path names none.
    virtual QString driveOf(const QString &path) const = 0;

    // Whether the drive holds one disc for good (a folder standing for a drive, a mounted disc
    // image): no other disc is put into it, the other discs lie beside it.
    virtual bool holdsOneDisc(const QString &drive) const = 0;
    // For a drive that holds one disc, the drives beside it that may hold the others: the other
    // folders of its folder, the other mounted disc images. None for a real drive.
    virtual QStringList discsBeside(const QString &drive) const = 0;

    // Whether the drive's root can be reached now.
    bool isReady(const QString &drive) const;
    // Where to read the disc labelled `label`: the drive itself while that disc is in it, else
    // for a drive that holds one disc the drive beside it with that label; empty text when
    // neither. Never throws.
    QString driveHoldingDisc(const QString &drive, const QString &label) const;
};

} // namespace ferlin
