#pragma once

#include <QString>

namespace ferlin {

// The real file that a path stored in the base stands for, below a root folder. The stored
// path uses backslashes, with or without a leading one ("\Textes\1998\a.pdf",
// "Textes\1998\A.PDF"); each of its parts is matched against the names on disk without regard
// to case, accented letters included (disc file systems and stored paths differ in case).
// Gives the existing path under its real names, or, when some part matches nothing, the
// stored path below the root with "/" as written.
// Parts "." and ".." are dropped: a stored path never climbs above the root.
QString resolveStoredPath(const QString &root, const QString &storedPath);

// Whether a path lies below the root once links are followed (a file that a link on the disc or
// in the texts folder leads out of it does not).
bool liesInside(const QString &path, const QString &root);

} // namespace ferlin
