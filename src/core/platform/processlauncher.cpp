#include "core/platform/processlauncher.h"

#include "core/platform/platformerror.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace ferlin {

namespace {

// The program is named: "file not found" alone would read as the file it was to open.
PlatformError programNotFound(const QString &program)
{
    return PlatformError(PlatformErrorCode::FileNotFound,
                         QStringLiteral("Programme « %1 » introuvable").arg(program));
}

} // namespace

QString ProcessLauncher::resolveProgram(const QString &program)
{
    if (program.trimmed().isEmpty())
        throw PlatformError(PlatformErrorCode::BadPath);
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty())
            throw programNotFound(program);
        return found;
    }
    const QFileInfo info(program);
    if (!info.exists())
        throw programNotFound(program);
    if (info.isDir() || !info.isExecutable())
        throw PlatformError(PlatformErrorCode::AccessError,
                            QStringLiteral("Le fichier n'est pas un programme exécutable"));
    return info.absoluteFilePath();
}

void ProcessLauncher::start(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(resolveProgram(program));
    process.setArguments(arguments);
    if (!process.startDetached())
        throw PlatformError(PlatformErrorCode::AccessError,
                            QStringLiteral("Le programme n'a pas pu être lancé"));
}

} // namespace ferlin
