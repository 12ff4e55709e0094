#pragma once

#include <QString>

namespace ferlin {

class MainWindow;

// Registers the two configuration pages (Config, F_copie), the command that opens page 1 and
// the first-run configuration of the start-up.
void installConfigScreens(MainWindow &window);

// Whether a screen of that form name (exact, case-sensitive) has been built.
bool IsFormLoaded(const MainWindow &window, const QString &formName);

} // namespace ferlin
