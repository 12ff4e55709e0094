#pragma once

namespace ferlin {

class AboutBox;
class MainWindow;

// Plugs in the information screens: the association screen (Cmd_ORV), the database-state screen
// (Cmd_Sélecte) and the about box, reached from the association's picture and from the
// progress screen's version line.
void installInfoScreens(MainWindow &window);

// The about box, built on first use as a child of the main window and then reused.
AboutBox *aboutBox(MainWindow &window);

} // namespace ferlin
