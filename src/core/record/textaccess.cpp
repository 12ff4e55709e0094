#include "core/record/textaccess.h"

#include "core/context/linebreak.h"
#include "core/platform/discretry.h"
#include "core/platform/platformerror.h"
#include "core/platform/storedpath.h"

#include <QStringList>

namespace ferlin {

namespace {

const QString Blank = QStringLiteral(" ");
const QString ErrorTitle = QStringLiteral(" Erreur");
const QString NoViewerText =
    QStringLiteral(" Pas de visualiseur de texte défini. Configurez le programme. ");

// The advice that ends the message of an unexpected failure.
QString checkAdvice()
{
    return LineBreak + QStringLiteral("Vérifiez que le CD-ROM est dans le lecteur") + LineBreak +
           QStringLiteral("et vérifiez la configuration de Ferlin (chemin du dossier et "
                          "visualiseur de textes).");
}

// The user chose Cancel: the operation ends without another word.
struct Cancelled {};

// One click on "Texte".
class ArticleTextOpener {
public:
    ArticleTextOpener(const Settings &settings, int &currentCd, const ArticleTextPlace &place,
                      Platform &platform, const ShowScreenFunction &showScreen,
                      const QStringList &viewerOptions)
        : m_settings(settings), m_currentCd(currentCd), m_place(place), m_platform(platform),
          m_showScreen(showScreen), m_viewerOptions(viewerOptions)
    {
    }

    void run()
    {
        const QString viewer = m_settings.pdfViewer.trimmed();
        if (viewer.isEmpty()) {
            m_platform.messageBox.show(MessageIcon::None, MessageButtons::Ok, NoViewerText, Blank);
            showScreen(Screen::Configuration);
            return;
        }
        try {
            if (m_settings.textsOnHardDisk)
                openFromHardDisk(viewer);
            else
                openFromDisc(viewer);
        } catch (const Cancelled &) {
        } catch (const DiscWaitStopped &) {
        } catch (const PlatformError &error) {
            m_platform.messageBox.show(MessageIcon::None, MessageButtons::Ok,
                                       error.description() + checkAdvice(), Blank);
        }
    }

private:
    void showScreen(Screen screen) const
    {
        if (m_showScreen)
            m_showScreen(screen);
    }

    bool ask(const QString &text) const
    {
        return m_platform.messageBox.show(MessageIcon::None, MessageButtons::OkCancel, text) ==
               MessageAnswer::Ok;
    }

    // Runs a step of the platform again for as long as the drive is not ready and the user
    // answers OK; Cancel ends the operation. Any other failure goes up.
    template <typename Step> decltype(auto) retrying(Step step) const
    {
        return RetryWhileNotReady(step, [this](const PlatformError &error) {
            if (error.number() != PlatformErrorCode::DiskNotReady)
                return NotReadyAnswer::NotMine;
            return ask(error.description() + LineBreak + QStringLiteral("Mettez le CD-ROM n° ") +
                       m_place.disc + QStringLiteral(" dans le lecteur ") + m_settings.cdDrive +
                       QStringLiteral(" et attendez son démarrage"))
                       ? NotReadyAnswer::TryAgain
                       : NotReadyAnswer::Stop;
        });
    }

    void launch(const QString &viewer, const QString &file) const
    {
        retrying([&] { m_platform.launcher.start(viewer, m_viewerOptions + QStringList{file}); });
    }

    void openFromHardDisk(const QString &viewer) const
    {
        const QString &folder = m_settings.hardDiskFolder;
        if (folder.isEmpty()) {
            m_platform.messageBox.show(
                MessageIcon::None, MessageButtons::Ok,
                QStringLiteral(" Le dossier contenant les textes n'est pas défini.") + LineBreak +
                    QStringLiteral("Configurer le programme. "),
                Blank);
            showScreen(Screen::TextLocation);
            return;
        }
        const QString file = HardDiskTextPath(folder, m_place.fullText);
        // A stored name that leads out of the texts folder is no text of the base.
        if (m_platform.files.fileExists(file) && liesInside(file, folder)) {
            launch(viewer, file);
            return;
        }
        sayMissing();
    }

    void sayMissing() const
    {
        m_platform.messageBox.show(MessageIcon::Critical, MessageButtons::Ok,
                                   QStringLiteral(" Le texte ") + m_place.fullText.mid(14) +
                                       QStringLiteral(" n'existe pas "),
                                   ErrorTitle);
    }

    // Whether the reference's disc is the one last found in the drive: as a number while the
    // run state still holds its starting value, as text afterwards.
    bool discIsCurrent() const
    {
        if (m_currentCd == 1) {
            bool number = false;
            const double disc = m_place.disc.trimmed().toDouble(&number);
            return number && disc == 1.0;
        }
        return m_place.disc == QString::number(m_currentCd);
    }

    void openFromDisc(const QString &viewer)
    {
        // The disc in the drive (or, for a folder or an image, beside it) is read first: the
        // user is asked only for a disc that is not there.
        const QString drive = m_settings.cdDrive.trimmed();
        QString source = m_platform.drives.driveHoldingDisc(drive, wantedLabel());
        if (source.isEmpty()) {
            if (!discIsCurrent() && !ask(QStringLiteral("Mettre le CD n° ") + m_place.disc +
                                         QStringLiteral(" dans le lecteur ") + m_settings.cdDrive +
                                         QStringLiteral(" et attendez son démarrage")))
                return;
            waitForRightDisc();
            source = drive;
        }
        if (!discIsCurrent())
            m_currentCd = m_place.disc.trimmed().toInt();
        const QString root = retrying([&] { return m_platform.drives.rootPath(source); });
        // From the texts folder's name on: "Textes\1998\a.pdf".
        const QString file = resolveStoredPath(root, m_place.fullText.mid(8));
        if (!liesInside(file, root)) {
            sayMissing();
            return;
        }
        launch(viewer, file);
    }

    QString wantedLabel() const { return QStringLiteral("FERLIN4_") + m_place.disc; }

    // Reads the drive's label until it is the reference's disc; asks for it while it is not.
    void waitForRightDisc() const
    {
        const QString drive = m_settings.cdDrive.trimmed();
        const QString wanted = wantedLabel();
        while (retrying([&] { return m_platform.drives.volumeLabel(drive); }) != wanted) {
            if (!ask(QStringLiteral("Le CD n'est pas le bon.") + LineBreak +
                     QStringLiteral("Mettre le CD n° ") + m_place.disc +
                     QStringLiteral(" dans le lecteur ") + m_settings.cdDrive))
                throw Cancelled{};
        }
    }

    const Settings &m_settings;
    int &m_currentCd;
    const ArticleTextPlace &m_place;
    Platform &m_platform;
    const ShowScreenFunction &m_showScreen;
    const QStringList &m_viewerOptions;
};

} // namespace

QString HardDiskTextPath(const QString &hardDiskFolder, const QString &fullText)
{
    return resolveStoredPath(hardDiskFolder, fullText.mid(7));
}

void OpenArticleText(const Settings &settings, int &currentCd, const ArticleTextPlace &place,
                     Platform &platform, const ShowScreenFunction &showScreen,
                     const QStringList &viewerOptions)
{
    ArticleTextOpener(settings, currentCd, place, platform, showScreen, viewerOptions).run();
}

void OpenViewerAlone(const QString &viewerText, Platform &platform,
                     const ShowScreenFunction &showScreen)
{
    auto openConfig = [&] {
        if (showScreen)
            showScreen(Screen::Configuration);
    };
    const QString errorTitle = QStringLiteral(" Erreur ");
    if (viewerText.isEmpty()) {
        platform.messageBox.show(
            MessageIcon::Critical, MessageButtons::Ok,
            QStringLiteral(" Chemin de dossier introuvable. Configurez le programme. "),
            errorTitle);
        openConfig();
        return;
    }
    const QString viewer = viewerText.trimmed();
    if (viewer.isEmpty()) {
        platform.messageBox.show(MessageIcon::Critical, MessageButtons::Ok, NoViewerText,
                                 errorTitle);
        openConfig();
        return;
    }
    try {
        platform.launcher.start(viewer, QStringList());
    } catch (const PlatformError &error) {
        platform.messageBox.show(MessageIcon::None, MessageButtons::Ok,
                                 QStringLiteral(" Erreur ") + QString::number(error.number()) +
                                     Blank + error.description() + checkAdvice(),
                                 Blank);
        openConfig();
    }
}

} // namespace ferlin
