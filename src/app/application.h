#pragma once

class QApplication;

namespace ferlin {

// Makes the application speak French: Qt's own dialogs and standard buttons included.
void installFrenchTranslations(QApplication &app);

} // namespace ferlin
