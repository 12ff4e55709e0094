#include "app/baselocation.h"

#include "import/workfile.h"
#include "platform/localfilesystem.h"
#include "platform/platformerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ferlin {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString userDataFolder()
{
    // The same rule as the settings file's folder: the XDG variable, else the home's default.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Ferlin"));
}

bool programFolderKeepsBase(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    return folder.isDir() && folder.isWritable() &&
           !QFileInfo::exists(QDir(programFolder).filePath(QLatin1String(InstalledMarkerName)));
}

bool BaseLocation::isUserCopy() const
{
    return QFileInfo(databasePath).absolutePath() != QFileInfo(programFolder).absoluteFilePath();
}

QString BaseLocation::programBasePath() const
{
    return QDir(programFolder).filePath(QLatin1String(Database::FileName));
}

QStringList BaseLocation::discFolderPlaces() const
{
    QStringList places{programFolder};
    if (QDir::cleanPath(userFolder) != QDir::cleanPath(programFolder))
        places.append(userFolder);
    return places;
}

BaseLocation chooseBaseLocation(const QString &programFolder, const QString &userFolder,
                                bool keepsBase)
{
    BaseLocation location{programFolder, userFolder, {}};
    location.databasePath = keepsBase
                                ? location.programBasePath()
                                : QDir(userFolder).filePath(QLatin1String(Database::FileName));
    return location;
}

BaseLocation chooseBaseLocation()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return chooseBaseLocation(programFolder, userDataFolder(),
                              programFolderKeepsBase(programFolder));
}

bool seedUserBase(const BaseLocation &location)
{
    if (!location.isUserCopy() || QFileInfo::exists(location.databasePath) ||
        !QFileInfo(location.programBasePath()).isFile())
        return false;
    WorkFile work(location.databasePath);
    try {
        // Writable by its owner even from a read-only installed base: it holds their baskets.
        CopyWholeFile(location.programBasePath(), work.path());
    } catch (const PlatformError &error) {
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Impossible de copier « %1 » dans « %2 » : %3")
                          .arg(native(location.programBasePath()), native(location.userFolder),
                               error.description()));
    }
    work.install();
    return true;
}

std::unique_ptr<Database> openBase(const QString &path, const QString &programFolder)
{
    if (!programFolder.isEmpty() && !QFileInfo::exists(path))
        throw DbError(DbErrorCode::FileNotFound,
                      QStringLiteral("Fichier « %1 » introuvable, ni dans le dossier du programme "
                                     "« %2 » ni dans votre dossier « %3 ».")
                          .arg(QString::fromLatin1(Database::FileName), native(programFolder),
                               native(QFileInfo(path).absolutePath())));
    return Database::open(path);
}

} // namespace ferlin
