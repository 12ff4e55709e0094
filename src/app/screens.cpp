#include "app/screens.h"

#include "app/mainwindow.h"
#include "record/recordcard.h"

namespace ferlin {

void installScreens(MainWindow &window)
{
    window.registerScreen(
        QStringLiteral("F_formul"), QStringLiteral("Fiche de la référence"),
        [&window] {
            auto *card = new RecordCard(window);
            window.addStartupListener(card);
            return card;
        },
        /*openedByStartup=*/true);
    window.setCommand(QStringLiteral("Cmd_feuillette"), [&window] {
        RunState &state = window.context().state;
        state.card.mode = CardState::BaseMode;
        window.screenAs<RecordCard>(QStringLiteral("F_formul"))
            ->OpenCard(CardState::BaseMode, 0, 0, state.basePosition);
    });
}

} // namespace ferlin
