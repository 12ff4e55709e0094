#pragma once

#include "core/platform/filesystem.h"
#include "core/platform/localfilesystem.h"
#include "core/platform/platformerror.h"

#include <QList>
#include <QStringList>

namespace ferlin {

enum class FileOperation { CreateFolder, Subfolders, CopyTree, MoveTree, RemoveTree };

// The real files and folders (of the test's temporary folder), with failures a test can inject
// into the operations that may fail, and a log of those operations.
class FakeFileSystem : public FileSystem {
public:
    // Fails the next `times` calls of an operation with the error, before touching any file.
    void failNext(FileOperation operation, const PlatformError &error, int times = 1);

    // "copyTree <source> -> <destination>", "createFolder <path>", ... in call order.
    const QStringList &calls() const { return m_calls; }

    bool fileExists(const QString &path) const override { return m_real.fileExists(path); }
    bool folderExists(const QString &path) const override { return m_real.folderExists(path); }
    void createFolder(const QString &path) override;
    QStringList subfolders(const QString &folder) const override;
    void copyTree(const QString &source, const QString &destination,
                  const CopyProgressCallback &progress) override;
    void moveTree(const QString &source, const QString &destination,
                  const CopyProgressCallback &progress) override;
    void removeTree(const QString &path) override;

private:
    struct Failure {
        FileOperation operation;
        PlatformError error;
    };
    void record(FileOperation operation, const QString &call) const;

    LocalFileSystem m_real;
    mutable QStringList m_calls;
    mutable QList<Failure> m_failures;
};

} // namespace ferlin
