#pragma once

#include "core/db/dberror.h"

namespace ferlin {

class MainWindow;

// The start-up run by the main window's load: opens the base, fills the pick lists, counts the
// base and the baskets, loads the settings and decides between a normal start and the first
// run. Every step runs inside one error trap: the first failure shows its message and ends
// the start-up where it stands, without the command bar.
class Startup {
public:
    explicit Startup(MainWindow &window);
    // Returns true when every step ran.
    bool run();

    // The message of a failed start-up: its text and title.
    struct FailureMessage {
        QString text;
        QString title;
    };
    static FailureMessage failureMessage(int errorNumber, const QString &description);

private:
    void openBase();
    void loadPickLists();
    void colourStateBands();
    void readUpdateDate();
    void countBase();
    void countBaskets();
    void readSettings();
    void finishTexts();
    void chooseStartPath();

    MainWindow &m_window;
};

} // namespace ferlin
