#pragma once

#include "core/platform/filesystem.h"

#include <QString>

#include <optional>

namespace ferlin {

// The room a copy of the two CD-ROMs' texts needs on its hard disk, in megabytes.
inline constexpr double TextCopyMegabytesNeeded = 1200;

// A folder path ready to have a name appended: the path itself when it ends with "/", else the
// path followed by "/" (an empty path gives "/").
QString WithTrailingSeparator(const QString &path);

// Bytes as megabytes of 1024 × 1024 bytes.
double megabytesOf(qint64 bytes);
// Whether a drive's free bytes are enough for the copy of the texts (exactly enough is enough).
bool hasRoomForTexts(qint64 freeBytes);
// A number of megabytes as the free-space message writes it: rounded to one decimal, half to
// even on the decimal digits of the number as written (523.25 gives 523,2, 523.35 gives
// 523,4), with the decimal separator of the default locale and no ",0" for a whole number
// (1199.96 gives 1200), never grouped in thousands.
QString megabytesText(double megabytes);

// Whether two folder paths name the same folder: "/a/b", "/a/b/" and "/a/./b" do, and so do
// two paths that lead to the same folder through links.
bool sameFolder(const QString &a, const QString &b);
// Whether `path` is `folder` itself or lies anywhere below it (paths compared as sameFolder
// compares them; neither needs to exist).
bool isSameOrInside(const QString &path, const QString &folder);

// What a tree copy has done so far, from its progress reports: files done out of the total and
// the megabytes those files hold (read from each source file reported).
class CopyTally {
public:
    // Forgets the previous copy.
    void start();
    void add(const CopyProgress &progress);

    int filesDone() const { return m_filesDone; }
    int filesTotal() const { return m_filesTotal; }
    qint64 bytesDone() const { return m_bytesDone; }
    // "152 fichiers sur 1665 — 12,4 Mo" (megabytes with the default locale's separator).
    QString text() const;
    // The files left to copy when the copy stopped, as far as the reports tell: none known
    // before the first report (the copy fails before it knows its total) or once all are done.
    std::optional<int> filesMissing() const;

private:
    bool m_reported = false;
    int m_filesDone = 0;
    int m_filesTotal = 0;
    qint64 m_bytesDone = 0;
};

} // namespace ferlin
