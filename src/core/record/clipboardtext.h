#pragma once

#include <QString>

namespace ferlin {

// The pieces of the reference shown on the record card, each as its record holds it.
struct CardReference {
    QString title;
    QString number;
    QString volume;
    QString month;
    QString year;
    QString page;
    QString authors; // one author a line
    QString summary;
};

// "Copie référence bibliographique": the title, then the bulletin line.
QString ShortReferenceText(const CardReference &reference);
// "Copie référence + auteurs + résumé": the short form, the authors on one line, the summary.
QString LongReferenceText(const CardReference &reference);

} // namespace ferlin
