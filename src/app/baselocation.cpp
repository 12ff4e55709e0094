#include "app/baselocation.h"

#include "import/workfile.h"
#include "platform/platformerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace ferlin {

namespace {

namespace fs = std::filesystem;

fs::path toPath(const QString &path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

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
    std::error_code error;
    fs::copy_file(toPath(location.programBasePath()), toPath(work.path()),
                  fs::copy_options::overwrite_existing, error);
    // The installed base may be read-only; the user's copy holds their baskets.
    if (!error)
        fs::permissions(toPath(work.path()), fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, error);
    if (error)
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Impossible de copier « %1 » dans « %2 » : %3")
                          .arg(native(location.programBasePath()), native(location.userFolder),
                               PlatformError::fromErrno(error.value()).description()));
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
