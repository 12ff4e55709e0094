#include "config/configscreens.h"

#include "app/mainwindow.h"
#include "config/configpage.h"
#include "config/textlocationpage.h"

namespace ferlin {

void installConfigScreens(MainWindow &window)
{
    const QString config = QStringLiteral("Config");
    window.registerScreen(
        config, QStringLiteral("Configuration du programme"),
        [&window] {
            auto *page = new ConfigurationPage(window);
            window.addStartupListener(page);
            return page;
        },
        true);
    window.registerScreen(
        QStringLiteral("F_copie"), QStringLiteral("Copie des textes sur disque dur"),
        [&window] {
            auto *page = new TextLocationPage(window);
            window.addStartupListener(page);
            return page;
        },
        true);
    window.setCommand(QStringLiteral("Cmd_config"),
                      [&window, config] { window.showScreen(config); });
    window.setAutoConfigure(
        [&window, config] { window.screenAs<ConfigurationPage>(config)->AutoConfigure(); });
}

bool IsFormLoaded(const MainWindow &window, const QString &formName)
{
    return window.isScreenBuilt(formName);
}

} // namespace ferlin
