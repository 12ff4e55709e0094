#include "app/screens.h"

#include "app/commandicons.h"
#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "core/output/basketexport.h"
#include "core/output/bibliography.h"
#include "core/record/cardbrowser.h"
#include "core/record/textaccess.h"
#include "gui/baskets/basketlist.h"
#include "gui/baskets/transferdialog.h"
#include "gui/config/configpage.h"
#include "gui/config/textlocationpage.h"
#include "gui/fulltext/fulltextscreen.h"
#include "gui/info/aboutbox.h"
#include "gui/info/associationscreen.h"
#include "gui/info/statescreen.h"
#include "gui/output/archivewindow.h"
#include "gui/output/bibliographydialog.h"
#include "gui/output/exportdialog.h"
#include "gui/output/printscreen.h"
#include "gui/output/referencecopydialog.h"
#include "gui/record/recordcard.h"
#include "gui/search/searchscreen.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPointer>

#include <memory>

namespace ferlin {

AboutBox *aboutBox(MainWindow &window)
{
    // Built on first use as a child of the main window, then reused.
    static QPointer<AboutBox> box;
    if (!box || box->parentWidget() != &window) {
        // The main window's load sets the version string; a box opened before shows the same.
        const QString &version = window.context().state.versionLabel;
        box = new AboutBox(version.isEmpty() ? RunState::VersionLabelText : version, programIcon(),
                           &window);
    }
    return box;
}

namespace {

ShowScreenFunction showOn(MainWindow &window)
{
    return [&window](Screen screen) { return window.show(screen); };
}

// Registers the two configuration pages (Config, F_copie), the command that opens page 1 and
// the first-run configuration of the start-up.
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

// The "Outils" menu: exporting a basket, and copying one for a reference manager.
void installExportTools(MainWindow &window)
{
    QAction *action = window.toolsMenu()->addAction(QStringLiteral("&Exporter un panier…"));
    action->setObjectName(QStringLiteral("Mnu_ExporterPanier"));
    // Built on first use, then hidden and shown again: its choices last for the whole run.
    auto dialog = std::make_shared<QPointer<ExportDialog>>();
    QObject::connect(action, &QAction::triggered, &window, [&window, dialog] {
        if (!*dialog)
            *dialog = new ExportDialog(window, &window);
        (*dialog)->showWithCounts();
    });

    QAction *copy = window.toolsMenu()->addAction(
        QStringLiteral("&Copier le panier pour un gestionnaire de références…"));
    copy->setObjectName(QStringLiteral("Mnu_CopierPanierRIS"));
    auto copyDialog = std::make_shared<QPointer<ReferenceCopyDialog>>();
    QObject::connect(copy, &QAction::triggered, &window, [&window, copyDialog] {
        if (!*copyDialog)
            *copyDialog = new ReferenceCopyDialog(window, &window);
        (*copyDialog)->showWithCounts();
    });
}

// The "Outils" menu: a basket's bibliography in a citation style, and the card's reference
// copied in the style chosen last.
void installBibliographyTools(MainWindow &window)
{
    QAction *action = window.toolsMenu()->addAction(QStringLiteral("&Bibliographie d'un panier…"));
    action->setObjectName(QStringLiteral("Mnu_BibliographiePanier"));
    // Built on first use, then hidden and shown again: its choices last for the whole run.
    auto dialog = std::make_shared<QPointer<BibliographyDialog>>();
    QObject::connect(action, &QAction::triggered, &window, [&window, dialog] {
        if (!*dialog)
            *dialog = new BibliographyDialog(window, &window);
        (*dialog)->showWithCounts();
    });

    QAction *copy =
        window.toolsMenu()->addAction(QStringLiteral("Copier la référence dans le st&yle…"));
    copy->setObjectName(QStringLiteral("Mnu_CopierReferenceStyle"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    QObject::connect(copy, &QAction::triggered, &window, [&window] {
        AppContext &context = window.context();
        const QString title = QStringLiteral("Copie de la référence");
        auto tell = [&context, &title](MessageIcon icon, const QString &text) {
            context.platform.messageBox.show(icon, MessageButtons::Ok, text, title);
        };
        const QString pandoc = findPandoc();
        const QStringList folders = citationStyleFolders();
        if (const QString missing = bibliographyToolsMissing(pandoc, folders); !missing.isEmpty())
            return tell(MessageIcon::Exclamation, missing);
        const QHash<QString, QString> record = context.card.currentValues();
        if (record.isEmpty())
            return tell(MessageIcon::Exclamation,
                        QStringLiteral("La fiche ne montre aucune référence à copier."));
        try {
            BusyPointerGuard busy(context.platform.busyPointer);
            CopyBibliography(FormatRecordInStyle(pandoc, folders, record,
                                                 exportTextsFolder(context.state.settings),
                                                 ReadBibliographyChoice(context.platform.settings)),
                             context.platform.clipboard);
        } catch (const ExportError &error) {
            tell(MessageIcon::Critical, error.message());
        }
    });
}

// The "Outils" menu: the search inside the article texts.
void installFullTextSearch(MainWindow &window)
{
    window.registerScreen(Screen::FullText, FullTextScreen::Title,
                          [&window] { return new FullTextScreen(window); });
    QAction *action =
        window.toolsMenu()->addAction(QStringLiteral("&Recherche dans les textes intégraux…"));
    action->setObjectName(QStringLiteral("Mnu_TextesIntegraux"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    QObject::connect(action, &QAction::triggered, &window,
                     [&window] { window.show(Screen::FullText); });
}

// Plugs in the information screens: the association screen (Cmd_ORV), the database-state screen
// (Cmd_Sélecte) and the about box, reached from the association's picture and from the
// progress screen's version line.
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
    installBibliographyTools(window);
    installFullTextSearch(window);
}

} // namespace ferlin
