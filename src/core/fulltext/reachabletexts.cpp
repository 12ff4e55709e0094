#include "core/fulltext/reachabletexts.h"

#include "core/context/settings.h"
#include "core/db/database.h"
#include "core/platform/drives.h"
#include "core/platform/filesystem.h"
#include "core/platform/platformerror.h"

#include <sqlite3.h>

namespace ferlin {

namespace {

struct StoredText {
    int rang;
    QString fullText; // TexteIntegral: seven characters, a backslash, the path below the disc
    QString disc;     // Localisation
};

const QString WithText =
    QStringLiteral(" FROM TArticles WHERE TexteIntegral IS NOT NULL AND trim(TexteIntegral) <> ''");

std::vector<StoredText> storedTexts(Database &db)
{
    StatementPtr stmt = db.prepare(QStringLiteral("SELECT Rang, TexteIntegral, Localisation") +
                                   WithText + QStringLiteral(" ORDER BY Rang"));
    std::vector<StoredText> texts;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        texts.push_back({sqlite3_column_int(stmt.get(), 0), columnValue(stmt.get(), 1).toString(),
                         columnValue(stmt.get(), 2).toString().trimmed()});
    if (rc != SQLITE_DONE)
        db.fail(rc);
    return texts;
}

// What the user is asked to do when no disc of Ferlin is in the drive.
const QString PutADisc = QStringLiteral(" : mettez-y le CD-ROM n° 1 ou n° 2 de Ferlin (ou montez "
                                        "son image), puis mettez l'index à jour.");

} // namespace

ReachableTexts FindReachableTexts(Database &db, const Settings &settings, Drives &drives,
                                  FileSystem &files)
{
    ReachableTexts reach;
    const std::vector<StoredText> stored = storedTexts(db);
    reach.existing = int(stored.size());

    if (settings.textsOnHardDisk) {
        const QString &folder = settings.hardDiskFolder;
        if (folder.trimmed().isEmpty()) {
            reach.unreachable = QStringLiteral("Le dossier des textes sur le disque dur n'est "
                                               "pas défini : configurez le programme.");
            return reach;
        }
        if (!files.folderExists(folder)) {
            reach.unreachable =
                QStringLiteral("Le dossier des textes « %1 » est introuvable.").arg(folder);
            return reach;
        }
        // As the record card finds it: the stored path from its backslash on.
        for (const StoredText &text : stored)
            reach.texts.push_back({text.rang, folder, text.fullText.mid(7)});
        return reach;
    }

    const QString drive = settings.cdDrive.trimmed();
    QString label;
    QString root;
    try {
        label = drives.volumeLabel(drive);
        root = drives.rootPath(drive);
    } catch (const PlatformError &error) {
        reach.unreachable =
            error.number() == PlatformErrorCode::DiskNotReady
                ? QStringLiteral("Aucun disque dans le lecteur « %1 »").arg(drive) + PutADisc
                : error.description();
        return reach;
    }
    for (int disc = 1; disc <= 2; ++disc) {
        if (label == QStringLiteral("FERLIN4_") + QString::number(disc))
            reach.disc = disc;
    }
    if (reach.disc == 0) {
        reach.unreachable =
            QStringLiteral("Le disque du lecteur « %1 » n'est pas un CD-ROM de Ferlin").arg(drive) +
            PutADisc;
        return reach;
    }
    for (const StoredText &text : stored) {
        // The disc number compared as a number, as the record card does at first.
        if (text.disc.toInt() == reach.disc)
            reach.texts.push_back({text.rang, root, text.fullText.mid(8)});
    }
    return reach;
}

int StoredTextCount(Database &db)
{
    return db.scalar(QStringLiteral("SELECT count(*)") + WithText).toInt();
}

ArticleTextPlace ReadTextPlace(Database &db, int rang)
{
    StatementPtr stmt = db.prepare(
        QStringLiteral("SELECT TexteIntegral, Localisation FROM TArticles WHERE Rang = ?"));
    bindValue(stmt.get(), 1, rang);
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW)
        return {columnValue(stmt.get(), 0).toString(), columnValue(stmt.get(), 1).toString()};
    if (rc != SQLITE_DONE)
        db.fail(rc);
    return {};
}

} // namespace ferlin
