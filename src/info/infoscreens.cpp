#include "info/infoscreens.h"

#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "info/aboutbox.h"
#include "info/associationscreen.h"
#include "info/statescreen.h"

#include <QPointer>

namespace ferlin {

AboutBox *aboutBox(MainWindow &window)
{
    // Built on first use as a child of the main window, then reused.
    static QPointer<AboutBox> box;
    if (!box || box->parentWidget() != &window) {
        // The main window's load sets the version string; a box opened before shows the same.
        const QString &version = window.context().state.versionLabel;
        box = new AboutBox(version.isEmpty() ? RunState::VersionLabelText : version, &window);
    }
    return box;
}

void installInfoScreens(MainWindow &window)
{
    window.registerScreen(Screen::Association, QStringLiteral("L'association"), [&window] {
        auto *association = new AssociationScreen(window);
        association->setPictureAction([&window] { aboutBox(window)->showModal(); });
        return association;
    });
    window.setCommand(QStringLiteral("Cmd_ORV"), [&window] { window.show(Screen::Association); });

    window.registerScreen(
        Screen::State, QStringLiteral("Etat de la base"),
        [&window] {
            auto *state = new StateScreen(window);
            window.addStartupListener(state);
            return state;
        },
        true);
    window.setCommand(QStringLiteral("Cmd_Sélecte"), [&window] { window.show(Screen::State); });

    window.intro()->setVersionAction([&window] { aboutBox(window)->showModeless(); });
}

} // namespace ferlin
