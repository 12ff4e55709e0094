#pragma once

namespace ferlin {

class AboutBox;
class MainWindow;

// Creates the program's screens once, puts them in the main window, plugs them into the
// start-up and the count labels, and wires the command-bar buttons that open them.
void installScreens(MainWindow &window);

// The about box, built on first use as a child of the main window and then reused.
AboutBox *aboutBox(MainWindow &window);

} // namespace ferlin
