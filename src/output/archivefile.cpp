#include "output/archivefile.h"

#include "platform/platformerror.h"

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

void SaveArchiveFile(const QString &file, const QByteArray &bytes)
{
    QSaveFile out(file);
    errno = 0;
    const bool saved =
        out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
    if (saved)
        return;
    // The system's reason, in the program's words; Qt's own text when there is none.
    const int cause = errno;
    if (cause != 0)
        throw PlatformError::fromErrno(cause);
    throw PlatformError(PlatformErrorCode::AccessError, out.errorString());
}

} // namespace ferlin
