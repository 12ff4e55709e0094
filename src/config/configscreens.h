#pragma once

#include "app/screenid.h"

namespace ferlin {

class MainWindow;
class ScreenHost;

// Registers the two configuration pages (Config, F_copie), the command that opens page 1 and
// the first-run configuration of the start-up.
void installConfigScreens(MainWindow &window);

// Whether a screen has been built (loaded).
bool IsFormLoaded(const ScreenHost &host, Screen screen);

} // namespace ferlin
