#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace ferlin {

// How far a whole-tree copy or move has got.
struct CopyProgress {
    int filesDone = 0;
    int filesTotal = 0;
    QString currentFile; // the source file just handled; empty once everything is done
};
using CopyProgressCallback = std::function<void(const CopyProgress &)>;

// Files and folders. Paths are absolute, with "/". Failing calls throw PlatformError with the
// number of its cause: 5 a bad path, 68 no such drive, 70 an existing destination, 71 not
// ready, 76 a path not found; a permission or read-only failure is 75 with its own text.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // A file (or a link to one) exists at the path. Never throws.
    virtual bool fileExists(const QString &path) const = 0;
    // A folder (or a link to one) exists at the path. Never throws.
    virtual bool folderExists(const QString &path) const = 0;
    // Creates one folder level: its parent must exist (76) and the folder must not (70).
    virtual void createFolder(const QString &path) = 0;
    // The full paths of a folder's subfolders, by name; links to folders are left out so
    // that a walk of the tree always ends.
    virtual QStringList subfolders(const QString &folder) const = 0;
    // Copies the whole content of source into destination, sub-folders included. The
    // destination folder is created when missing (its parent must exist) and otherwise
    // receives the content merged, same-name files overwritten. Copies are writable by their
    // owner, even when they come from a read-only disc. A file appears under its name only once
    // it is whole: a copy that fails or is killed leaves no truncated file behind.
    virtual void copyTree(const QString &source, const QString &destination,
                          const CopyProgressCallback &progress) = 0;
    // Moves the source folder to become destination, which must not exist (70); across file
    // systems the tree is copied, then the source removed.
    virtual void moveTree(const QString &source, const QString &destination,
                          const CopyProgressCallback &progress) = 0;
    // Removes a folder and everything under it (links removed, never followed); nothing to do
    // when it does not exist.
    virtual void removeTree(const QString &path) = 0;
};

} // namespace ferlin
