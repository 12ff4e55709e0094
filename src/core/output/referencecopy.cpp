#include "core/output/referencecopy.h"

#include "core/db/dberror.h"
#include "core/db/schema.h"
#include "core/output/basketexport.h"
#include "core/output/exportformats.h"
#include "core/platform/clipboard.h"

namespace ferlin {

int CopyBasketAsRis(Database &db, int basket, const QString &textsFolder, Clipboard &clipboard)
{
    if (basket < 1 || basket > Schema::BasketCount)
        throw ExportError(QStringLiteral("Il n'y a pas de panier n° %1 : les paniers sont "
                                         "numérotés de 1 à 3.")
                              .arg(basket));
    BasketExport read;
    try {
        read = ReadBasketForExport(db, basket, textsFolder);
    } catch (const DbError &error) {
        throw ExportError(QStringLiteral("Le panier n° %1 n'a pas pu être lu : %2")
                              .arg(QString::number(basket), error.description()));
    }
    if (read.references.empty())
        throw ExportError(
            QStringLiteral("Le panier n° %1 est vide : il n'y a rien à copier.").arg(basket));
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
