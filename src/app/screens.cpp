#include "app/screens.h"

#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "baskets/basketlist.h"
#include "baskets/transferdialog.h"
#include "config/configscreens.h"
#include "fulltext/fulltextscreen.h"
#include "info/infoscreens.h"
#include "output/archivewindow.h"
#include "output/exportdialog.h"
#include "output/printscreen.h"
#include "record/recordcard.h"
#include "record/textaccess.h"
#include "search/searchscreen.h"

#include <QGroupBox>
#include <QPointer>

#include <memory>

namespace ferlin {

namespace {

ShowScreenFunction showOn(MainWindow &window)
{
    return [&window](Screen screen) { return window.show(screen); };
}

} // namespace

void installScreens(MainWindow &window)
{
    window.registerScreen(
        Screen::Card, QStringLiteral("Fiche de la référence"),
        [&window] {
            auto *card = new RecordCard(window);
            window.addStartupListener(card);
            card->setReturnToList([&window] { window.basketList()->returnFromCard(); });
            card->setTextAction([&window] {
                AppContext &context = window.context();
                // Where the text of the reference shown lies, from its record.
                const QHash<QString, QString> values = context.card.currentValues();
                OpenArticleText(context.state.settings, context.state.currentCd,
                                {values.value(QStringLiteral("TexteIntegral")),
                                 values.value(QStringLiteral("Localisation"))},
                                context.platform, showOn(window));
            });
            return card;
        },
        /*openedByStartup=*/true);
    window.registerScreen(Screen::BasketList, QStringLiteral("Travail sur les paniers"), [&window] {
        auto *list = new BasketList(window);
        // Built on first use, then hidden: its choices last for the run.
        auto dialog = std::make_shared<QPointer<TransferDialog>>();
        // Whether the dialog rebuilt the list when it was last closed.
        auto rebuilt = std::make_shared<bool>(false);
        list->setTransferAction([&window, list, dialog, rebuilt] {
            if (!*dialog)
                *dialog = new TransferDialog(
                    window,
                    [list, rebuilt](int basket) {
                        *rebuilt = true;
                        list->ShowBasketList(basket);
                    },
                    &window);
            *rebuilt = false;
            (*dialog)->exec();
            // A replacement refused for an empty source has emptied the
            // destination without rebuilding the list: the list must not
            // show rows that are gone.
            if (!*rebuilt)
                list->rebuildQuietly();
        });
        return list;
    });
    window.setCommand(QStringLiteral("Cmd_voirpanier"), [&window] {
        window.intro()->progressFrame()->hide();
        window.basketList()->ShowBasketList(window.context().state.currentBasket);
        window.show(Screen::BasketList);
    });
    window.registerScreen(
        Screen::Search, QStringLiteral("Sélection de références"),
        [&window] {
            auto *search = new SearchScreen(window);
            window.addStartupListener(search);
            return search;
        },
        /*openedByStartup=*/true);
    window.setCommand(QStringLiteral("Cmd_selections"), [&window] { window.show(Screen::Search); });
    // The print screen has no command: the "Fenêtres" menu reaches it once the start-up has run.
    window.registerScreen(
        Screen::Print, QStringLiteral("Impression des références d'un panier"),
        [&window] {
            auto *print = new PrintScreen(window);
            window.addStartupListener(print);
            return print;
        },
        /*openedByStartup=*/true);
    window.registerScreen(
        Screen::Archives, QStringLiteral("Archivage des paniers"),
        [&window] {
            auto *archive = new ArchiveWindow(window);
            window.addStartupListener(archive);
            return archive;
        },
        /*openedByStartup=*/true);
    window.setCommand(QStringLiteral("Cmd_ArchivP"), [&window] { window.show(Screen::Archives); });
    window.setCommand(QStringLiteral("Cmd_Acrobat"), [&window] {
        AppContext &context = window.context();
        OpenViewerAlone(context.state.settings.pdfViewer, context.platform, showOn(window));
    });
    window.setCommand(QStringLiteral("Cmd_feuillette"), [&window] {
        RunState &state = window.context().state;
        state.card.mode = CardState::BaseMode;
        window.card()->OpenCard(CardState::BaseMode, 0, 0, state.basePosition);
    });
    installConfigScreens(window);
    installInfoScreens(window);
    installExportTools(window);
    installFullTextSearch(window);
}

} // namespace ferlin
