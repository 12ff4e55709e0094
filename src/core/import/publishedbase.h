#pragma once

#include <QString>

namespace ferlin {

// The name of the catalogue's published file, a Jet database.
inline constexpr const char *PublishedBaseName = "FERLIN4.MDB";

// The published file in a folder, its name in any letter case; empty when there is none.
QString findPublishedBase(const QString &folder);

// The published file to convert before the start-up opens the base, when the base itself is
// missing: the one in the base's folder, else the one in `programFolder` (given when the base is
// the user's copy, the program's folder being read-only); empty otherwise.
QString publishedBaseToConvert(const QString &databasePath, const QString &programFolder = {});

// A published file whose conversion at start-up failed because of the file itself (damaged, or
// of another structure) is remembered beside the base, with its size and time, so that the next
// start says so at once instead of reading it again. Converting it from the command line
// forgets it.
void rememberFailedConversion(const QString &databasePath, const QString &published,
                              const QString &message);
// What the last conversion of that version of the file said; empty when none is remembered.
QString failedConversionOf(const QString &databasePath, const QString &published);
void forgetFailedConversion(const QString &databasePath);

} // namespace ferlin
