#pragma once

#include "core/platform/drives.h"

#include <QMap>

namespace ferlin {

// Drives as a test sets them: each with a type, a label, a root folder (a real temporary
// folder, so that files can be copied from it), free space and a ready state.
class FakeDrives : public Drives {
public:
    struct Drive {
        DriveType type = DriveType::FixedDisk;
        QString label;
        QString root;
        qint64 freeBytes = 0;
        bool ready = true;
        bool oneDisc = false; // a folder or a disc image: the other one-disc drives lie beside
    };

    // Adds or replaces a drive; the order of first addition is the order of driveRoots().
    void addDrive(const QString &name, const Drive &drive);
    void setLabel(const QString &name, const QString &label);
    void setReady(const QString &name, bool ready);
    void setFreeBytes(const QString &name, qint64 freeBytes);
    Drive &drive(const QString &name);

    // How many times a drive's label was read (a retry loop re-reads it).
    int labelReads(const QString &name) const { return m_labelReads.value(name); }

    QStringList driveRoots() const override { return m_order; }
    DriveType driveType(const QString &drive) const override;
    QString rootPath(const QString &drive) const override;
    QString volumeLabel(const QString &drive) const override;
    qint64 freeBytes(const QString &drive) const override;
    // The drive whose root is the longest beginning of the path.
    QString driveOf(const QString &path) const override;
    bool holdsOneDisc(const QString &drive) const override;
    // The other one-disc drives, in the order of driveRoots().
    QStringList discsBeside(const QString &drive) const override;

private:
    const Drive &readyDrive(const QString &name) const;

    QStringList m_order;
    QMap<QString, Drive> m_drives;
    mutable QMap<QString, int> m_labelReads;
};

} // namespace ferlin
