#include "core/platform/localfilesystem.h"

#include "core/platform/platformerror.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace ferlin {

namespace fs = std::filesystem;

namespace {

fs::path toPath(const QString &path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

QString fromPath(const fs::path &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

[[noreturn]] void fail(const std::error_code &error)
{
    throw PlatformError::fromErrno(error.value());
}

// A path the file system can be asked about: a drive letter names a drive that does not exist
// here (68); an empty, relative or NUL-holding path is a bad path (5).
fs::path checkedPath(const QString &path)
{
    static const QRegularExpression driveLetter(QStringLiteral("^[A-Za-z]:([\\\\/]|$)"));
    if (driveLetter.match(path).hasMatch())
        throw PlatformError(PlatformErrorCode::NoSuchDrive);
    if (path.isEmpty() || !path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)))
        throw PlatformError(PlatformErrorCode::BadPath);
    return toPath(path).lexically_normal();
}

// The path as the folder it names, without a trailing separator ("/a/b/" -> "/a/b").
fs::path folderPath(const fs::path &path)
{
    const fs::path parent = path.parent_path();
    return path.has_filename() || parent == path ? path : parent;
}

fs::file_status statusOf(const fs::path &path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error && error.value() != ENOENT && error.value() != ENOTDIR)
        fail(error);
    return status;
}

// The source of a copy or move: an existing folder.
fs::path checkedSourceFolder(const QString &source)
{
    const fs::path path = folderPath(checkedPath(source));
    if (!fs::is_directory(statusOf(path)))
        throw PlatformError(PlatformErrorCode::PathNotFound);
    return path;
}

// The parent of a destination must exist as a folder.
void requireParentFolder(const fs::path &destination)
{
    if (!fs::is_directory(statusOf(destination.parent_path())))
        throw PlatformError(PlatformErrorCode::PathNotFound);
}

// A destination inside its own source would copy itself forever.
void requireOutside(const fs::path &source, const fs::path &destination)
{
    std::error_code error;
    const fs::path from = fs::weakly_canonical(source, error);
    const fs::path to = fs::weakly_canonical(destination, error);
    if (error)
        return;
    auto [fromEnd, toIt] = std::mismatch(from.begin(), from.end(), to.begin(), to.end());
    if (fromEnd == from.end())
        throw PlatformError(PlatformErrorCode::BadPath);
}

void makeOwnerWritable(const fs::path &path)
{
    std::error_code error;
    fs::permissions(path, fs::perms::owner_write | fs::perms::owner_read,
                    fs::perm_options::add | fs::perm_options::nofollow, error);
}

// What a tree holds, parents before children.
struct TreeContent {
    std::vector<fs::path> folders; // relative to the tree's root
    std::vector<fs::path> links;
    std::vector<fs::path> files;
};

TreeContent listTree(const fs::path &root)
{
    TreeContent content;
    std::error_code error;
    fs::recursive_directory_iterator it(root, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::directory_entry &entry = *it;
        const fs::path relative = entry.path().lexically_relative(root);
        std::error_code typeError;
        if (entry.is_symlink(typeError) && entry.is_directory(typeError))
            content.links.push_back(relative);
        else if (entry.is_directory(typeError))
            content.folders.push_back(relative);
        else
            content.files.push_back(relative);
    }
    if (error)
        fail(error);
    return content;
}

void createCopyFolder(const fs::path &path)
{
    std::error_code error;
    if (!fs::create_directory(path, error)) {
        if (error)
            fail(error);
        if (!fs::is_directory(statusOf(path)))
            throw PlatformError(PlatformErrorCode::DestinationExists);
    }
    makeOwnerWritable(path);
}

// A file descriptor closed when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes now: a failed close can be the first word of a full disk.
    int close()
    {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

[[noreturn]] void failErrno(int code)
{
    throw PlatformError::fromErrno(code ? code : EIO);
}

// Copies one file byte for byte and makes sure it is whole on the disk: every short write
// written again, the size compared with the source's, the data flushed. The library's own copy
// takes a short count for the end of the file and keeps what a full disk cut.
void copyWholeFile(const fs::path &source, const fs::path &target)
{
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        failErrno(errno);
    struct stat status {};
    if (::fstat(in.get(), &status) != 0)
        failErrno(errno);
    FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                              (status.st_mode & 0777) | S_IRUSR | S_IWUSR));
    if (out.get() < 0)
        failErrno(errno);
    std::vector<char> buffer(1 << 20);
    qint64 written = 0;
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            failErrno(errno);
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out.get(), buffer.data() + done, size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                failErrno(put < 0 ? errno : ENOSPC);
            done += put;
        }
        written += got;
    }
    if (written != qint64(status.st_size))
        failErrno(EIO); // the source changed or was cut while it was read
    if (::fsync(out.get()) != 0 || out.close() != 0)
        failErrno(errno);
}

// Copies the listed content of source into destination, which exists.
void copyContent(const fs::path &source, const fs::path &destination, const TreeContent &content,
                 const CopyProgressCallback &progress)
{
    std::error_code error;
    for (const fs::path &folder : content.folders)
        createCopyFolder(destination / folder);
    for (const fs::path &link : content.links) {
        fs::remove(destination / link, error);
        fs::copy_symlink(source / link, destination / link, error);
        if (error)
            fail(error);
    }
    const int total = int(content.files.size());
    int done = 0;
    for (const fs::path &file : content.files) {
        // Written under a name of its own, then renamed: a full disk or a kill in the middle
        // never leaves a truncated file under the real name.
        const fs::path target = destination / file;
        const fs::path partial =
            target.parent_path() / (u8"." + target.filename().u8string() + u8".partiel");
        try {
            copyWholeFile(source / file, partial);
        } catch (const PlatformError &) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            throw;
        }
        fs::rename(partial, target, error);
        if (error) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            fail(error);
        }
        ++done;
        if (progress)
            progress({done, total, fromPath(source / file)});
    }
    if (progress)
        progress({total, total, QString()});
}

} // namespace

bool LocalFileSystem::fileExists(const QString &path) const
{
    std::error_code error;
    return !path.isEmpty() && fs::is_regular_file(toPath(path), error);
}

bool LocalFileSystem::folderExists(const QString &path) const
{
    std::error_code error;
    return !path.isEmpty() && fs::is_directory(toPath(path), error);
}

void LocalFileSystem::createFolder(const QString &path)
{
    const fs::path folder = folderPath(checkedPath(path));
    std::error_code error;
    if (fs::exists(fs::symlink_status(folder, error)))
        throw PlatformError(PlatformErrorCode::DestinationExists);
    requireParentFolder(folder);
    if (!fs::create_directory(folder, error) || error)
        fail(error ? error : std::make_error_code(std::errc::file_exists));
}

QStringList LocalFileSystem::subfolders(const QString &folder) const
{
    const fs::path root = folderPath(checkedPath(folder));
    std::error_code error;
    fs::directory_iterator it(root, error);
    if (error)
        fail(error);
    QStringList result;
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError))
            result.append(fromPath(it->path()));
    }
    if (error)
        fail(error);
    result.sort();
    return result;
}

void LocalFileSystem::copyTree(const QString &source, const QString &destination,
                               const CopyProgressCallback &progress)
{
    const fs::path from = checkedSourceFolder(source);
    const fs::path to = folderPath(checkedPath(destination));
    std::error_code error;
    const fs::file_status target = fs::status(to, error);
    if (fs::exists(target)) {
        if (!fs::is_directory(target))
            throw PlatformError(PlatformErrorCode::DestinationExists);
    } else {
        requireParentFolder(to);
    }
    requireOutside(from, to);
    const TreeContent content = listTree(from);
    createCopyFolder(to);
    copyContent(from, to, content, progress);
}

void LocalFileSystem::removeTree(const QString &path)
{
    const fs::path folder = folderPath(checkedPath(path));
    std::error_code error;
    fs::remove_all(folder, error);
    if (error)
        fail(error);
}

void CopyWholeFile(const QString &source, const QString &target)
{
    copyWholeFile(toPath(source), toPath(target));
}

void LocalFileSystem::moveTree(const QString &source, const QString &destination,
                               const CopyProgressCallback &progress)
{
    const fs::path from = checkedSourceFolder(source);
    const fs::path to = folderPath(checkedPath(destination));
    std::error_code error;
    if (fs::exists(fs::symlink_status(to, error)))
        throw PlatformError(PlatformErrorCode::DestinationExists);
    requireParentFolder(to);
    requireOutside(from, to);
    const TreeContent content = listTree(from);

    fs::rename(from, to, error);
    if (!error) {
        const int total = int(content.files.size());
        if (progress)
            progress({total, total, QString()});
        return;
    }
    if (error.value() != EXDEV)
        fail(error);
    // Another file system: copy, then remove the source.
    createCopyFolder(to);
    copyContent(from, to, content, progress);
    fs::remove_all(from, error);
    if (error)
        fail(error);
}

} // namespace ferlin
