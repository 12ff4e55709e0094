#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace ferlin {

// The archive's file name with the extension of its type ("FRD" or "RTF") added when the name
// has none, so that the archive can be found again in the import dialog.
QString WithArchiveExtension(const QString &file, const QString &extension);

// Writes an archive's bytes under `file` whole or not at all: a former file of that name stays as
// it was when the write fails. Throws a PlatformError whose description names the cause in
// French.
void SaveArchiveFile(const QString &file, const QByteArray &bytes);

// Takes one piece of a file's bytes; false when it could not be written.
using ByteSink = std::function<bool(const QByteArray &piece)>;
// The same with the bytes made while they are written: `produce` hands them to the sink piece by
// piece, so that a large archive is never held twice, and returns false once a piece was refused.
void SaveArchiveFile(const QString &file, const std::function<bool(const ByteSink &)> &produce);

} // namespace ferlin
