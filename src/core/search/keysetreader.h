#pragma once

#include "core/db/keyset.h"

#include <QString>

#include <functional>

namespace ferlin {

// Reads the row identities of a record set's statement ("SELECT * FROM table WHERE …") in a
// thread of its own, on its own connection to the base at `databasePath`, so that the caller's
// thread (the window's) stays free however long the statement takes. `wait` is called on the
// caller's thread about every 20 ms meanwhile (to keep the window alive); when it returns false,
// SQLite's progress handler stops the statement and DbError 3059 is thrown. Other failures are
// thrown as the statement met them.
Keyset readKeysApart(const QString &databasePath, const QString &statement, bool ignoreAccents,
                     const std::function<bool()> &wait);

} // namespace ferlin
