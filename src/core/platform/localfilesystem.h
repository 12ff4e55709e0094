#pragma once

#include "core/platform/filesystem.h"

namespace ferlin {

// The machine's own files and folders, through std::filesystem.
class LocalFileSystem : public FileSystem {
public:
    bool fileExists(const QString &path) const override;
    bool folderExists(const QString &path) const override;
    void createFolder(const QString &path) override;
    QStringList subfolders(const QString &folder) const override;
    void copyTree(const QString &source, const QString &destination,
                  const CopyProgressCallback &progress) override;
    void moveTree(const QString &source, const QString &destination,
                  const CopyProgressCallback &progress) override;
    void removeTree(const QString &path) override;
};

// Copies one file into target (created or overwritten, writable by its owner) and returns only
// once every byte is on the disk; throws PlatformError otherwise, target then left as it is for
// the caller to remove.
void CopyWholeFile(const QString &source, const QString &target);

} // namespace ferlin
