#include "app/screens.h"

#include "app/mainwindow.h"
#include "record/recordcard.h"

namespace ferlin {

void installScreens(MainWindow &window)
{
    auto *card = new RecordCard(window);
    window.addStartupScreen(card, card);
    window.setCommand(QStringLiteral("Cmd_feuillette"), [&window, card] {
        RunState &state = window.context().state;
        state.card.mode = CardState::BaseMode;
        card->OpenCard(CardState::BaseMode, 0, 0, state.basePosition);
    });
}

} // namespace ferlin
