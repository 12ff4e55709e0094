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
#include <QLabel>

#include <memory>

namespace ferlin {

void installScreens(MainWindow &window)
{
    window.registerScreen(
        QStringLiteral("F_formul"), QStringLiteral("Fiche de la référence"),
        [&window] {
            auto *card = new RecordCard(window);
            window.addStartupListener(card);
            card->setReturnToList([&window] {
                window.screenAs<BasketList>(QStringLiteral("F_grille"))->returnFromCard();
            });
            card->setTextAction([&window, card] {
                AppContext &context = window.context();
                // The text location of the current reference, from the card's hidden labels.
                auto hidden = [card](const QString &name) {
                    const QLabel *label = card->findChild<QLabel *>(name);
                    return label ? label->text() : QString();
                };
                OpenArticleText(
                    context.state.settings, context.state.currentCd,
                    {hidden(QStringLiteral("Lab_Tintegral")), hidden(QStringLiteral("Lbl_NoCD"))},
                    context.platform,
                    [&window](const QString &name) { return window.showScreen(name); });
            });
            return card;
        },
        /*openedByStartup=*/true);
    window.registerScreen(
        QStringLiteral("F_grille"), QStringLiteral("Travail sur les paniers"), [&window] {
            auto *list = new BasketList(window);
            // Whether the transfer dialog rebuilt the list when it was last closed.
            auto rebuilt = std::make_shared<bool>(false);
            list->setTransferAction([&window, list, rebuilt] {
                auto *dialog = window.findChild<TransferDialog *>(QStringLiteral("F_Transferts"));
                if (!dialog)
                    dialog = new TransferDialog(
                        window,
                        [list, rebuilt](int basket) {
                            *rebuilt = true;
                            list->ShowBasketList(basket);
                        },
                        &window);
                *rebuilt = false;
                dialog->exec();
                // A replacement refused for an empty source has emptied the destination without
                // rebuilding the list: the list must not show rows that are gone.
                if (!*rebuilt)
                    list->rebuildQuietly();
            });
            return list;
        });
    window.setCommand(QStringLiteral("Cmd_voirpanier"), [&window] {
        window.intro()->progressFrame()->hide();
        window.screenAs<BasketList>(QStringLiteral("F_grille"))
            ->ShowBasketList(window.context().state.currentBasket);
        window.showScreen(QStringLiteral("F_grille"));
    });
    window.registerScreen(
        QStringLiteral("Selecfr"), QStringLiteral("Sélection de références"),
        [&window] {
            auto *search = new SearchScreen(window);
            window.addStartupListener(search);
            return search;
        },
        /*openedByStartup=*/true);
    window.setCommand(QStringLiteral("Cmd_selections"),
                      [&window] { window.showScreen(QStringLiteral("Selecfr")); });
    // The print screen has no command: the "Fenêtres" menu reaches it once the start-up has run.
    window.registerScreen(
        QStringLiteral("F_print"), QStringLiteral("Impression des références d'un panier"),
        [&window] {
            auto *print = new PrintScreen(window);
            window.addStartupListener(print);
            return print;
        },
        /*openedByStartup=*/true);
    window.registerScreen(
        QStringLiteral("F_Export"), QStringLiteral("Archivage des paniers"),
        [&window] {
            auto *archive = new ArchiveWindow(window);
            window.addStartupListener(archive);
            return archive;
        },
        /*openedByStartup=*/true);
    window.setCommand(QStringLiteral("Cmd_ArchivP"),
                      [&window] { window.showScreen(QStringLiteral("F_Export")); });
    window.setCommand(QStringLiteral("Cmd_Acrobat"), [&window] {
        AppContext &context = window.context();
        OpenViewerAlone(context.state.settings.pdfViewer, context.platform,
                        [&window](const QString &name) { return window.showScreen(name); });
    });
    window.setCommand(QStringLiteral("Cmd_feuillette"), [&window] {
        RunState &state = window.context().state;
        state.card.mode = CardState::BaseMode;
        window.screenAs<RecordCard>(QStringLiteral("F_formul"))
            ->OpenCard(CardState::BaseMode, 0, 0, state.basePosition);
    });
    installConfigScreens(window);
    installInfoScreens(window);
    installExportTools(window);
    installFullTextSearch(window);
}

} // namespace ferlin
