#pragma once

#include "core/context/baselocation.h"
#include "core/import/childjetsource.h"

namespace ferlin {

struct Platform;

// Before the start-up opens the base: makes the base when it is missing and can be made. The
// user's copy is seeded from the program's folder (its base, or its published file converted)
// and the user is told once, in one line, where their copy is; beside a writable program, the
// published file is converted as ever. A failure is shown as the start-up shows its own, and
// the start-up then reports the missing base. Returns true when a base was made.
bool PrepareBaseAtStartup(const BaseLocation &location, Platform &platform,
                          const RowSourceOpener &open = openPublishedBase);

// The message of a first start on the user's copy, naming its folder.
QString userCopyMessage(const QString &userFolder);

} // namespace ferlin
