#include "info/infoscreens.h"

#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "info/aboutbox.h"
#include "info/associationscreen.h"
#include "info/statescreen.h"

namespace ferlin {

AboutBox *aboutBox(MainWindow &window)
{
    auto *box = window.findChild<AboutBox *>(QStringLiteral("Apropos"));
    if (!box) {
        // The main window's load sets the version string; a box opened before shows the same.
        const QString &version = window.context().state.versionLabel;
        box = new AboutBox(version.isEmpty() ? RunState::VersionLabelText : version, &window);
    }
    return box;
}

void installInfoScreens(MainWindow &window)
{
    window.registerScreen(QStringLiteral("ORV"), QStringLiteral("L'association"), [&window] {
        auto *association = new AssociationScreen(window);
        association->setPictureAction([&window] { aboutBox(window)->showModal(); });
        return association;
    });
    window.setCommand(QStringLiteral("Cmd_ORV"),
                      [&window] { window.showScreen(QStringLiteral("ORV")); });

    window.registerScreen(
        QStringLiteral("F_état"), QStringLiteral("Etat de la base"),
        [&window] {
            auto *state = new StateScreen(window);
            window.addStartupListener(state);
            return state;
        },
        true);
    window.setCommand(QStringLiteral("Cmd_Sélecte"),
                      [&window] { window.showScreen(QStringLiteral("F_état")); });

    window.intro()->setVersionAction([&window] { aboutBox(window)->showModeless(); });
}

} // namespace ferlin
