// The first-run configuration of page 1: finds the PDF viewer, the web browser and the CD-ROM
// drives, fills both configuration pages with them and saves.
#include "core/config/programsearch.h"
#include "core/context/appcontext.h"
#include "core/platform/platformerror.h"
#include "gui/config/autoconfigframe.h"
#include "gui/config/configpage.h"
#include "gui/config/textlocationpage.h"
#include "gui/shell/screenhost.h"

#include "core/context/linebreak.h"
#include <QLabel>
#include <QPushButton>

namespace ferlin {

namespace {

const QColor Blue(0x00, 0x00, 0xFF);
const QColor Red(0xFF, 0x00, 0x00);

// A label shows a line break where the message holds carriage return and line feed.
QString shown(QString text)
{
    return text.replace(LineBreak, QStringLiteral("\n"));
}

// Runs one step; a failing step is skipped and the configuration goes on.
template <typename Step> void ignoringErrors(Step step)
{
    try {
        step();
    } catch (const PlatformError &) {
    }
}

} // namespace

void ConfigurationPage::AutoConfigure()
{
    AppContext &context = m_window.context();
    Platform &platform = context.platform;
    AutoConfigFrame &frame = *m_autoFrame;
    auto *page2 = m_window.textLocationPage();

    m_window.show(Screen::Configuration);
    frame.browserHeading->hide();
    paintMessage(frame.viewerMessage, Blue);
    paintMessage(frame.browserMessage, Blue);
    for (QWidget *w : std::initializer_list<QWidget *>{frame.cdHeading, frame.browserMessage,
                                                       frame.cdMessage, frame.continueText,
                                                       frame.searchAgainText, frame.searchAgain})
        w->hide();
    frame.show();
    frame.installViewer->hide();
    frame.continueButton->setEnabled(false);
    LockCommands();

    bool viewerFound = false;
    bool browserFound = false;
    platform.busyPointer.showBusy();

    // The progress of each search, repainted as it goes: the search blocks the screen.
    auto progress = [](QLabel *label, const QString &dots) {
        return [label, dots](const QString &root) {
            showAtOnce(label, QStringLiteral("Recherche sur unité ") + root + dots);
        };
    };
    FoundFile viewer;
    ignoringErrors([&] {
        viewer =
            FindFirstProgram(platform.files, m_search.roots, m_search.viewerNames,
                             progress(frame.viewerMessage, QStringLiteral(".       Patience...")));
    });
    if (viewer.found) {
        showAtOnce(frame.viewerMessage, shown(QStringLiteral("Acrobat Reader a été trouvé en :") +
                                              LineBreak + viewer.path));
        setViewerPath(viewer.path);
        viewerFound = true;
    } else {
        setViewerPath(QString());
        frame.viewerMessage->setText(
            shown(QStringLiteral("Acrobat Reader n'est pas installé.") + LineBreak +
                  QStringLiteral("L'installer pour pouvoir voir les textes des articles.")));
        paintMessage(frame.viewerMessage, Red);
        frame.installViewer->show();
    }

    frame.browserMessage->show();
    frame.browserHeading->show();
    FoundFile browser;
    ignoringErrors([&] {
        browser =
            FindFirstProgram(platform.files, m_search.roots, m_search.browserNames,
                             progress(frame.browserMessage, QStringLiteral(".      Patience...")));
    });
    if (browser.found) {
        showAtOnce(frame.browserMessage,
                   shown(QStringLiteral("Internet Explorer a été trouvé en :") + LineBreak +
                         browser.path));
        setBrowserPath(browser.path);
        browserFound = true;
    } else {
        setBrowserPath(QString());
        frame.browserMessage->setText(
            shown(QStringLiteral("Internet Explorer n'est pas installé.") + LineBreak +
                  QStringLiteral("L'installer pour pouvoir accéder aux sites Web.")));
        paintMessage(frame.browserMessage, Red);
    }

    page2->setTextFolderLabel(QString());
    frame.cdMessage->show();
    frame.cdHeading->show();
    QString drives;
    ignoringErrors([&] {
        // The disc folders beside the program let the sample's texts open with no drive.
        const QStringList discFolders = DiscFolders(platform.files, context.discFolderPlaces);
        page2->setCdDrive(FirstCdRomDrive(platform.drives, discFolders));
        drives = ListCdRomDrives(platform.drives, discFolders);
    });
    frame.cdMessage->setText(shown(QStringLiteral("Lecteur(s) de CD-ROM trouvé(s) : ") + drives +
                                   LineBreak + QStringLiteral("Lecteur choisi : ") +
                                   context.state.settings.cdDrive));
    if (drives.size() < 4)
        page2->hideDriveChoice();

    page2->saveConfiguration();
    platform.busyPointer.restore();

    if (viewerFound && browserFound) {
        platform.messageBox.show(
            MessageIcon::None, MessageButtons::Ok,
            QStringLiteral("Ferlin s'est paramétré automatiquement et est opérationnel ") +
                LineBreak +
                QStringLiteral("Il vous est toutefois conseillé de copier les textes sur un "
                               "disque dur ") +
                LineBreak +
                QStringLiteral("(Localisation des textes, en page deuxième page de "
                               "configuration) "));
        frame.hide();
        UnlockCommands();
        m_window.show(Screen::TextLocation);
        return;
    }
    frame.searchAgainText->show();
    frame.searchAgain->show();
    frame.continueText->setText(
        QStringLiteral("Si vous cliquez maintenant sur le bouton Continuer vous n'aurez plus la "
                       "possibilité de faire une configuration automatique ultérieurement."));
    frame.continueText->show();
    if (!viewerFound)
        platform.messageBox.show(
            MessageIcon::None, MessageButtons::Ok,
            QStringLiteral("Ferlin ne s'est que partiellement paramétré.") + LineBreak +
                QStringLiteral("Il n'a pas trouvé Adobe Acrobat Reader et ne pourra pas accéder "
                               "aux textes des articles") +
                LineBreak + QStringLiteral("Installez Adobe Acrobat Reader avant de continuer"));
    if (!browserFound)
        platform.messageBox.show(
            MessageIcon::None, MessageButtons::Ok,
            QStringLiteral(" Ferlin ne s'est que partiellement paramétré.") + LineBreak +
                QStringLiteral("Il n'a pas trouvé Internet Explorer et ne pourra pas accéder "
                               "directement aux sites Web ") +
                LineBreak + QStringLiteral("Il vous est conseillé d'installez un navigateur Web "));
    frame.continueButton->setEnabled(true);
}

} // namespace ferlin
