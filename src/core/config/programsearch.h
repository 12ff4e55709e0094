#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace ferlin {

class Drives;
class FileSystem;

// Where the first-run configuration looks for the PDF viewer and the web browser. The roots
// stand for the fixed drives the search walks: on this system the folders of the PATH. Each
// list of names is in order of preference; a name is searched over every root before the next.
struct ProgramSearch {
    QStringList roots;
    QStringList viewerNames;
    QStringList browserNames;

    // The PATH of the environment (empty entries and repeated folders left out) and the usual
    // PDF viewers and web browsers, the desktop's opener last.
    static ProgramSearch fromEnvironment();
    static QStringList pathFolders(const QString &pathVariable);
};

// The outcome of a search: the full path of the file when found.
struct FoundFile {
    bool found = false;
    QString path;
};

// Searches `folder` and every folder below it for `fileName`. A folder's own file is taken
// before its subfolders, whose trees are then not searched; otherwise every subfolder is
// searched in the order the file system lists them, and a later match replaces an earlier one.
// A folder that cannot be read is passed over.
void SearchFolderTree(const FileSystem &files, const QString &folder, const QString &fileName,
                      QString &path, bool &found);

// Called with each root as its search starts, so that the progress can be shown.
using RootSearchStarted = std::function<void(const QString &root)>;

// Searches the roots one after the other and stops at the first root where the file is found.
// Roots that are not folders are skipped.
FoundFile FindFileOnFixedDrives(const FileSystem &files, const QStringList &roots,
                                const QString &fileName, const RootSearchStarted &started = {});

// The first of `names` found over the roots, in order of preference.
FoundFile FindFirstProgram(const FileSystem &files, const QStringList &roots,
                           const QStringList &names, const RootSearchStarted &started = {});

// The volume labels of the two discs.
const QStringList &DiscLabels();
// The folders named after a disc ("FERLIN4_1", "FERLIN4_2") in each of the places, place by
// place: each stands for a CD-ROM drive holding that disc (the sample's disc folders beside the
// program, or the discs copied into the user's data folder).
QStringList DiscFolders(const FileSystem &files, const QStringList &places);

// The first CD-ROM drive, or empty text when there is none.
QString FirstCdRomDrive(const Drives &drives, const QStringList &discFolders = {});
// Every CD-ROM drive, each preceded by one blank (" /dev/sr0 /dev/sr1"), or empty text.
QString ListCdRomDrives(const Drives &drives, const QStringList &discFolders = {});
// The CD-ROM drives in the system's order (optical drives and mounted disc images), then the
// disc folders: a real drive comes first.
QStringList CdRomDrives(const Drives &drives, const QStringList &discFolders = {});

} // namespace ferlin
