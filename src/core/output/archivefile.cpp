#include "core/output/archivefile.h"

#include "core/platform/platformerror.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace ferlin {

QString WithArchiveExtension(const QString &file, const QString &extension)
{
    if (file.isEmpty() || !QFileInfo(file).suffix().isEmpty())
        return file;
    if (file.endsWith(u'.'))
        return file + extension;
    return file + u'.' + extension;
}

void SaveArchiveFile(const QString &file, const std::function<bool(const ByteSink &)> &produce)
{
    QSaveFile out(file);
    errno = 0;
    // Unbuffered, so that each write's count is known: through its buffer, QSaveFile would take
    // a short write (the disk full halfway) for a whole one and commit a truncated file.
    bool saved = out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    const ByteSink write = [&out](const QByteArray &bytes) {
        for (qint64 written = 0; written < bytes.size();) {
            const qint64 n = out.write(bytes.constData() + written, bytes.size() - written);
            if (n <= 0)
                return false;
            written += n;
        }
        return true;
    };
    saved = saved && produce(write);
    if (saved && out.commit())
        return;
    // The system's reason, in the program's words; Qt's own text when there is none.
    const int cause = errno;
    if (cause != 0)
        throw PlatformError::fromErrno(cause);
    throw PlatformError(PlatformErrorCode::AccessError, out.errorString());
}

void SaveArchiveFile(const QString &file, const QByteArray &bytes)
{
    SaveArchiveFile(file, [&bytes](const ByteSink &write) { return write(bytes); });
}

} // namespace ferlin
