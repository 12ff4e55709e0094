#pragma once

#include <QString>

namespace ferlin {

// The name of the catalogue's published file, a Jet database.
inline constexpr const char *PublishedBaseName = "FERLIN4.MDB";

// The published file in a folder, its name in any letter case; empty when there is none.
QString findPublishedBase(const QString &folder);

// The published file to convert before the start-up opens the base: the one in the base's
// folder when the base itself is missing; empty otherwise.
QString publishedBaseToConvert(const QString &databasePath);

} // namespace ferlin
