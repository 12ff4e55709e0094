#pragma once

// The input of a target that reads outside files, written to a file of its own: one file in a
// temporary folder kept for the whole run, written again for each input.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace ferlin::fuzz {

// The path of the file now holding the bytes, or an empty path when it cannot be written.
inline QString WriteInputFile(const char *name, const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        return {};
    const QString path = folder.filePath(QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    if (file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        return {};
    return path;
}

} // namespace ferlin::fuzz
