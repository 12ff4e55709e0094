#pragma once

#include <QString>

namespace ferlin {

class Clipboard;
class Database;

// The MIME type of RIS, under which reference managers look for references on the clipboard.
inline const QString RisMimeType = QStringLiteral("application/x-research-info-systems");

// Puts basket n on the clipboard as the RIS export writes it, under RIS's MIME type and as plain
// text, for a reference manager to import; returns the number of references. A basket that does
// not exist, an empty one and a database failure throw ExportError and leave the clipboard alone.
int CopyBasketAsRis(Database &db, int basket, const QString &textsFolder, Clipboard &clipboard);

// "12 références copiées dans le presse-papiers au format RIS : dans Zotero, « Fichier » →
// « Importer depuis le presse-papiers »."
QString risCopyDoneMessage(int count);

} // namespace ferlin
