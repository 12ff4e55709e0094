#pragma once

namespace ferlin {

class MainWindow;

// Creates the program's screens once, puts them in the main window, plugs them into the
// start-up and the count labels, and wires the command-bar buttons that open them.
void installScreens(MainWindow &window);

} // namespace ferlin
