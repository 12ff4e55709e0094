#pragma once

#include "core/context/screenid.h"
#include "gui/shell/screenviews.h"

class QString;
class QWidget;

namespace ferlin {

struct AppContext;
class ConfigurationPage;
class CountLabels;
class StartupListener;
class TextLocationPage;

// What a screen may ask of the frame that holds it: the run's shared context, another screen
// brought to the front, the basket counts written everywhere, the commands locked during a long
// task, the start-up's steps. Screens receive this, never the main window itself, and reach the
// few screens they work with by type, never by a form name.
class ScreenHost {
public:
    virtual ~ScreenHost() = default;

    // The base, the run state and the outside services.
    virtual AppContext &context() = 0;
    // The window dialogs are shown over.
    virtual QWidget *dialogParent() = 0;

    // Brings a screen to the front, maximised, building it if needed. False when it does not
    // exist in this program.
    virtual bool show(Screen screen) = 0;
    // Whether a screen has been built (loaded) already.
    virtual bool isBuilt(Screen screen) const = 0;
    // The screens others work with, built if needed.
    virtual CardView *card() = 0;
    virtual BasketListView *basketList() = 0;
    virtual ConfigurationPage *configurationPage() = 0;
    virtual TextLocationPage *textLocationPage() = 0;

    // Writes the basket counts of the run state into every count label of every screen.
    virtual void publishCounts() = 0;
    virtual CountLabels &countLabels() = 0;
    // LockCommands / UnlockCommands: the command bar during a long task.
    virtual void setCommandsEnabled(bool enabled) = 0;
    // A screen built before the start-up has run is told of each step as it ends.
    virtual void addStartupListener(StartupListener *listener) = 0;
    // A page of the program's help ("index" for its first page).
    virtual void showHelpPage(const QString &page) = 0;
};

} // namespace ferlin
