#include "core/config/programsearch.h"

#include "core/platform/drives.h"
#include "core/platform/filesystem.h"
#include "core/platform/platformerror.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace ferlin {

ProgramSearch ProgramSearch::fromEnvironment()
{
    ProgramSearch search;
    search.roots = pathFolders(qEnvironmentVariable("PATH"));
    search.viewerNames = {
        QStringLiteral("evince"),  QStringLiteral("okular"),   QStringLiteral("atril"),
        QStringLiteral("xreader"), QStringLiteral("qpdfview"), QStringLiteral("mupdf"),
        QStringLiteral("zathura"), QStringLiteral("xpdf"),     QStringLiteral("xdg-open")};
    search.browserNames = {QStringLiteral("firefox-esr"), QStringLiteral("firefox"),
                           QStringLiteral("chromium"),    QStringLiteral("epiphany"),
                           QStringLiteral("konqueror"),   QStringLiteral("xdg-open")};
    return search;
}

QStringList ProgramSearch::pathFolders(const QString &pathVariable)
{
    QStringList folders;
    QSet<QString> seen;
    for (const QString &entry : pathVariable.split(u':', Qt::SkipEmptyParts)) {
        // A relative entry would depend on the folder the program was started from.
        if (!QDir::isAbsolutePath(entry))
            continue;
        const QString canonical = QFileInfo(entry).canonicalFilePath();
        const QString key = canonical.isEmpty() ? QDir::cleanPath(entry) : canonical;
        if (seen.contains(key))
            continue;
        seen.insert(key);
        folders.append(QDir::cleanPath(entry));
    }
    return folders;
}

void SearchFolderTree(const FileSystem &files, const QString &folder, const QString &fileName,
                      QString &path, bool &found)
{
    const QString candidate = (folder.endsWith(u'/') ? folder : folder + u'/') + fileName;
    if (files.fileExists(candidate)) {
        path = candidate;
        found = true;
        return;
    }
    QStringList subfolders;
    try {
        subfolders = files.subfolders(folder);
    } catch (const PlatformError &) {
        return;
    }
    for (const QString &subfolder : subfolders)
        SearchFolderTree(files, subfolder, fileName, path, found);
}

FoundFile FindFileOnFixedDrives(const FileSystem &files, const QStringList &roots,
                                const QString &fileName, const RootSearchStarted &started)
{
    FoundFile result;
    for (const QString &root : roots) {
        if (!files.folderExists(root))
            continue;
        if (started)
            started(root);
        SearchFolderTree(files, root, fileName, result.path, result.found);
        if (result.found)
            break;
    }
    return result;
}

FoundFile FindFirstProgram(const FileSystem &files, const QStringList &roots,
                           const QStringList &names, const RootSearchStarted &started)
{
    for (const QString &name : names) {
        const FoundFile found = FindFileOnFixedDrives(files, roots, name, started);
        if (found.found)
            return found;
    }
    return {};
}

const QStringList &DiscLabels()
{
    static const QStringList labels{QStringLiteral("FERLIN4_1"), QStringLiteral("FERLIN4_2")};
    return labels;
}

QStringList DiscFolders(const FileSystem &files, const QStringList &places)
{
    QStringList folders;
    for (const QString &place : places)
        for (const QString &label : DiscLabels()) {
            const QString folder = QDir(place).filePath(label);
            if (files.folderExists(folder) && !folders.contains(folder))
                folders.append(folder);
        }
    return folders;
}

QStringList CdRomDrives(const Drives &drives, const QStringList &discFolders)
{
    QStringList result;
    for (const QString &drive : drives.driveRoots())
        if (drives.driveType(drive) == DriveType::CdRom)
            result.append(drive);
    for (const QString &folder : discFolders)
        if (!result.contains(folder))
            result.append(folder);
    return result;
}

QString FirstCdRomDrive(const Drives &drives, const QStringList &discFolders)
{
    const QStringList found = CdRomDrives(drives, discFolders);
    return found.isEmpty() ? QString() : found.first();
}

QString ListCdRomDrives(const Drives &drives, const QStringList &discFolders)
{
    QString list;
    for (const QString &drive : CdRomDrives(drives, discFolders))
        list += u' ' + drive;
    return list;
}

} // namespace ferlin
