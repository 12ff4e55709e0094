#pragma once

#include <QIcon>

namespace ferlin {

// The picture of a command-bar button: the desktop theme's icon, or a bundled drawing when the
// theme has none, so a button never shows an empty square.
QIcon commandIcon(const QString &buttonName);
// The program's own icon, shown in the title bars.
QIcon programIcon();

} // namespace ferlin
