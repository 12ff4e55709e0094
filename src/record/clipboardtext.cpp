#include "record/clipboardtext.h"

#include "db/fieldpresentation.h"

namespace ferlin {

namespace {

const QString LineBreak = QStringLiteral("\r\n");

} // namespace

QString ShortReferenceText(const CardReference &reference)
{
    return reference.title + LineBreak + QStringLiteral("KVT n° ") + reference.number +
           QStringLiteral(", vol. ") + reference.volume + QStringLiteral(", ") + reference.month +
           QStringLiteral(", ") + reference.year + QStringLiteral(", p. ") + reference.page;
}

QString LongReferenceText(const CardReference &reference)
{
    return ShortReferenceText(reference) + LineBreak + QStringLiteral("Auteur(s)") + LineBreak +
           JoinListField(reference.authors) + LineBreak + QStringLiteral("Résumé") + LineBreak +
           reference.summary;
}

} // namespace ferlin
