#include "core/config/viewerinstall.h"

#include "core/context/linebreak.h"
#include "core/platform/discretry.h"
#include "core/platform/platformerror.h"
#include "core/platform/storedpath.h"

#include <QStringList>

namespace ferlin {

namespace {

const QString ErrorTitle = QStringLiteral("Erreur");
const QString FirstDiscLabel = QStringLiteral("FERLIN4_1");

// The installer is not on the disc in the drive.
struct InstallerMissing {};

class ViewerInstaller {
public:
    ViewerInstaller(const QString &cdDrive, Platform &platform)
        : m_cdDrive(cdDrive), m_drive(cdDrive.trimmed()), m_platform(platform)
    {
    }

    void run()
    {
        if (m_drive.isEmpty()) {
            show(QStringLiteral("Pas de lecteur de CD défini.") + LineBreak +
                 QStringLiteral("Configurer Ferlin."));
            return;
        }
        try {
            install();
        } catch (const DiscWaitStopped &) {
        } catch (const InstallerMissing &) {
            show(QStringLiteral(" Erreur 53") + LineBreak +
                 QStringLiteral("Fichier Acrobat4\\Rs40fre.exe non trouvé"));
        } catch (const PlatformError &error) {
            if (error.number() == PlatformErrorCode::BadPath)
                show(QStringLiteral("Unité ou chemin de dossier invalide"), ErrorTitle);
            else
                show(QStringLiteral("Erreur ") + QString::number(error.number()) + LineBreak +
                         error.description(),
                     ErrorTitle);
        }
    }

private:
    // Runs a step again for as long as the drive is not ready and the user answers OK (Cancel
    // ends: the user is never held until a disc comes). Any other failure goes up.
    template <typename Step> decltype(auto) retrying(Step step) const
    {
        return RetryWhileNotReady(step, [this](const PlatformError &error) {
            if (error.number() != PlatformErrorCode::DiskNotReady)
                return NotReadyAnswer::NotMine;
            return ask(QStringLiteral(" Erreur 71   ") + error.description() + LineBreak +
                       QStringLiteral("Mettez le CD-ROM n° 1 dans le lecteur ") + m_cdDrive +
                       QStringLiteral(" et attendez son démarrage"))
                       ? NotReadyAnswer::TryAgain
                       : NotReadyAnswer::Stop;
        });
    }

    void install()
    {
        if (!ask(QStringLiteral("Placer Le CD-ROM Ferlin n° 1 dans le lecteur ") + m_cdDrive))
            return;
        while (retrying([&] { return m_platform.drives.volumeLabel(m_drive); }) != FirstDiscLabel) {
            if (!ask(QStringLiteral("Le CD n'est pas le bon.") + LineBreak +
                     QStringLiteral("Mettre le CD n° 1 dans le lecteur ") + m_cdDrive))
                return;
        }
        const QString root = retrying([&] { return m_platform.drives.rootPath(m_drive); });
        const QString installer = resolveStoredPath(root, ViewerInstallerOnDisc);
        if (!m_platform.files.fileExists(installer))
            throw InstallerMissing{};
        // A failure of the opener itself (not installed) is told with its own description:
        // the installer was found.
        retrying([&] { m_platform.launcher.start(InstallerOpener, QStringList{installer}); });
    }

    MessageAnswer show(const QString &text, const std::optional<QString> &title = std::nullopt,
                       MessageButtons buttons = MessageButtons::Ok) const
    {
        return m_platform.messageBox.show(MessageIcon::None, buttons, text, title);
    }

    bool ask(const QString &text) const
    {
        return show(text, std::nullopt, MessageButtons::OkCancel) == MessageAnswer::Ok;
    }

    const QString &m_cdDrive;
    const QString m_drive;
    Platform &m_platform;
};

} // namespace

void InstallPdfViewer(const QString &cdDrive, Platform &platform)
{
    ViewerInstaller(cdDrive, platform).run();
}

} // namespace ferlin
