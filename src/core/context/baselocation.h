#pragma once

#include "core/db/database.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace ferlin {

// The file an install leaves in the program's folder: an installed folder never receives a
// base, even when its user could write it (root), so that each user keeps their own baskets.
inline constexpr const char *InstalledMarkerName = "ferlin.installed";

// The program's folder in the user's data folder: $XDG_DATA_HOME/Ferlin, by default
// ~/.local/share/Ferlin.
QString userDataFolder();

// Whether the base may live in the program's folder: the folder can be written and is not an
// installed one.
bool programFolderKeepsBase(const QString &programFolder);

// Where the program keeps its base.
struct BaseLocation {
    QString programFolder; // the executable's folder
    QString userFolder;    // the user's data folder
    QString databasePath;  // the base in use
    // An installed program's shared data (PREFIX/share/ferlin for PREFIX/lib/ferlin), where a
    // package of its own puts the sample base and its disc folders; empty when not installed.
    QString dataFolder;

    // The base is the user's copy, the program's folder being read-only to the program.
    bool isUserCopy() const;
    // The installed base, which seeds the user's copy: the one of the program's folder, else
    // the one of the shared data folder.
    QString programBasePath() const;
    // The folders where a folder named after a disc stands for its drive: beside the program,
    // in the shared data folder and in the user's data folder.
    QStringList discFolderPlaces() const;
};

// The base beside the program when its folder keeps it, the user's copy otherwise.
BaseLocation chooseBaseLocation(const QString &programFolder, const QString &userFolder,
                                bool programFolderKeepsBase, const QString &dataFolder = {});
// The shared data folder of a program installed in `programFolder` (with its marker): its
// prefix's share/ferlin; empty text for a program that is not installed.
QString installedDataFolder(const QString &programFolder);
// The same for this program: its executable's folder and this user's data folder.
BaseLocation chooseBaseLocation();

// Before the first start on the user's copy: copies the base of the program's folder into the
// user's folder (created when missing), whole or not at all, writable by the user. Returns true
// when it copied; false when the base is not the user's copy, the copy is already there, or the
// program's folder has no base. Throws DbError when the copy fails.
bool seedUserBase(const BaseLocation &location);

// Opens the base at `path`. When it is missing and `programFolder` is given (the base is the
// user's copy), the message names both places looked at.
std::unique_ptr<Database> openBase(const QString &path, const QString &programFolder);

} // namespace ferlin
