#pragma once

class QApplication;

namespace ferlin {

// Makes the application speak French: Qt's own dialogs and standard buttons included.
void installFrenchTranslations(QApplication &app);

// The style the windows are drawn with: the platform's own, whose standard icons are read from
// their files only once something paints them. The sub-windows' menus and the command bar ask
// for a dozen of them while they are built, and reading them loads image plugins that the first
// paint never needs.
void installProgramStyle(QApplication &app);

} // namespace ferlin
