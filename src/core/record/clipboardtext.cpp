#include "core/record/clipboardtext.h"

#include "core/context/linebreak.h"
#include "core/db/fieldpresentation.h"

namespace ferlin {

namespace {

// Every line break as carriage return and line feed, whatever the stored value holds.
QString withCrLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(u'\n', LineBreak);
    return text;
}

} // namespace

QString ShortReferenceText(const CardReference &reference)
{
    return withCrLf(reference.title) + LineBreak + QStringLiteral("KVT n° ") + reference.number +
           QStringLiteral(", vol. ") + reference.volume + QStringLiteral(", ") + reference.month +
           QStringLiteral(", ") + reference.year + QStringLiteral(", p. ") + reference.page;
}

QString LongReferenceText(const CardReference &reference)
{
    return ShortReferenceText(reference) + LineBreak + QStringLiteral("Auteur(s)") + LineBreak +
           withCrLf(JoinListField(reference.authors)) + LineBreak + QStringLiteral("Résumé") +
           LineBreak + withCrLf(reference.summary);
}

} // namespace ferlin
