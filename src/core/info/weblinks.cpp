#include "core/info/weblinks.h"

#include "core/platform/programlauncher.h"

namespace ferlin {

namespace {

std::optional<PlatformError> startBrowser(const QString &argument, const QString &browserPath,
                                          ProgramLauncher &launcher)
{
    const QString browser = browserPath.trimmed();
    if (browser.isEmpty())
        return std::nullopt;
    try {
        launcher.start(browser, {argument});
    } catch (const PlatformError &error) {
        return error;
    }
    return std::nullopt;
}

} // namespace

std::optional<PlatformError> OpenWebAddress(const QString &address, const QString &browserPath,
                                            ProgramLauncher &launcher)
{
    return startBrowser(address.trimmed(), browserPath, launcher);
}

std::optional<PlatformError> OpenMailAddress(const QString &address, const QString &browserPath,
                                             ProgramLauncher &launcher)
{
    return startBrowser(QStringLiteral("mailto:") + address.trimmed(), browserPath, launcher);
}

QString browserFailureMessage(const PlatformError &error)
{
    return QStringLiteral("Le navigateur Web n'a pas pu être lancé.\r\n") + error.description() +
           QStringLiteral("\r\nVérifiez son emplacement dans la configuration de Ferlin "
                          "(bouton « Configurer Ferlin »).");
}

} // namespace ferlin
