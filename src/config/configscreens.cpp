#include "config/configscreens.h"

#include "app/mainwindow.h"
#include "config/configpage.h"
#include "config/textlocationpage.h"

namespace ferlin {

void installConfigScreens(MainWindow &window)
{
    window.registerScreen(
        Screen::Configuration, QStringLiteral("Configuration du programme"),
        [&window] {
            auto *page = new ConfigurationPage(window);
            window.addStartupListener(page);
            return page;
        },
        true);
    window.registerScreen(
        Screen::TextLocation, QStringLiteral("Copie des textes sur disque dur"),
        [&window] {
            auto *page = new TextLocationPage(window);
            window.addStartupListener(page);
            return page;
        },
        true);
    window.setCommand(QStringLiteral("Cmd_config"),
                      [&window] { window.show(Screen::Configuration); });
    window.setFirstRunConfiguration([&window] { window.configurationPage()->AutoConfigure(); });
}

bool IsFormLoaded(const ScreenHost &host, Screen screen)
{
    return host.isBuilt(screen);
}

} // namespace ferlin
