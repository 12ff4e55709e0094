#include "core/output/referencecopy.h"

#include "core/output/basketexport.h"
#include "core/output/exportformats.h"
#include "core/platform/clipboard.h"

namespace ferlin {

int CopyBasketAsRis(Database &db, int basket, const QString &textsFolder, Clipboard &clipboard)
{
    const BasketExport read = ReadBasketToShare(db, basket, textsFolder, QStringLiteral("copier"));
    // Zotero's import from the clipboard reads the plain text; the type is for programs that
    // look for it.
    clipboard.setTextAs(QString::fromUtf8(WriteRis(read)), {RisMimeType, PlainTextMimeType});
    return int(read.references.size());
}

QString risCopyDoneMessage(int count)
{
    const QString copied = count == 1
                               ? QStringLiteral("1 référence copiée")
                               : QString::number(count) + QStringLiteral(" références copiées");
    return copied + QStringLiteral(" dans le presse-papiers au format RIS : dans Zotero, "
                                   "« Fichier » → « Importer depuis le presse-papiers ».");
}

} // namespace ferlin
