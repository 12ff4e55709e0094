#include "core/context/baselocation.h"

#include "core/import/workfile.h"
#include "core/platform/localfilesystem.h"
#include "core/platform/platformerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

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
    const QString beside = QDir(programFolder).filePath(QLatin1String(Database::FileName));
    if (dataFolder.isEmpty() || QFileInfo::exists(beside))
        return beside;
    const QString shared = QDir(dataFolder).filePath(QLatin1String(Database::FileName));
    return QFileInfo::exists(shared) ? shared : beside;
}

QStringList BaseLocation::discFolderPlaces() const
{
    QStringList places;
    for (const QString &folder : {programFolder, dataFolder, userFolder}) {
        if (folder.isEmpty())
            continue;
        const QString clean = QDir::cleanPath(folder);
        if (std::none_of(places.cbegin(), places.cend(),
                         [&](const QString &place) { return QDir::cleanPath(place) == clean; }))
            places.append(folder);
    }
    return places;
}

BaseLocation chooseBaseLocation(const QString &programFolder, const QString &userFolder,
                                bool keepsBase, const QString &dataFolder)
{
    BaseLocation location{programFolder, userFolder, {}, dataFolder};
    location.databasePath = keepsBase
                                ? QDir(programFolder).filePath(QLatin1String(Database::FileName))
                                : QDir(userFolder).filePath(QLatin1String(Database::FileName));
    return location;
}

QString installedDataFolder(const QString &programFolder)
{
    if (!QFileInfo::exists(QDir(programFolder).filePath(QLatin1String(InstalledMarkerName))))
        return {};
    return QDir::cleanPath(programFolder + QStringLiteral("/../../share/ferlin"));
}

BaseLocation chooseBaseLocation()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return chooseBaseLocation(programFolder, userDataFolder(),
                              programFolderKeepsBase(programFolder),
                              installedDataFolder(programFolder));
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
