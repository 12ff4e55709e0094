#pragma once

// What the bibliography tests share: five references that try a style's rules, the engine's
// presence, and a variable of the environment changed for one test.

#include "core/db/database.h"
#include "core/output/bibliography.h"
#include "core/output/citationstyles.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <string>

namespace ferlin::test {

// pandoc and the styles, or the test is skipped with the reason.
#define FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE()                                                  \
    do {                                                                                           \
        const QString missing_ = ferlin::bibliographyToolsMissing(ferlin::findPandoc(),            \
                                                                  ferlin::citationStyleFolders()); \
        if (!missing_.isEmpty())                                                                   \
            GTEST_SKIP() << missing_.toStdString();                                                \
    } while (false)

// Five references into `table`, Rang 901 to 905: a family name of two words, several authors,
// no year, a subtitle, accents and « ». The basket list's order (year, number, page descending)
// is 905, 902, 901, 904, 903.
inline void addFiveReferences(Database &db, const QString &table)
{
    struct Row {
        int rang;
        QVariant year;
        const char *number;
        const char *volume;
        const char *month;
        int page;
        int pages;
        const char *title;
        const char *subtitle;
        const char *authors;
        const char *summary;
    };
    const Row rows[] = {
        {901, 1985, "112", "12", "mars", 10, 5, "La classe coopérative", "une « école » vivante",
         "Le Gall Lucien", ""},
        {902, 1992, "145", "19", "", 3, 1, "Lire et écrire au cycle 2", "",
         "Martin Anne\r\nDupont Jean-Pierre\r\nBérard Élise", ""},
        {903, QVariant(), "7", "", "", 21, 4, "Émile à l'école", "", "Rousseau Jean-Jacques", ""},
        {904, 1985, "110", "12", "janvier", 40, 2, "Géométrie", "le pliage au CE1",
         "Da Silva Marie-Claire\r\nÉtienne Paul", ""},
        {905, 2001, "150", "28", "mai", 7, 1, "Des « maths » pour tous ?", "", "Müller Françoise",
         "Un court résumé."},
    };
    for (const Row &r : rows) {
        auto text = [](const char *value) {
            return *value ? QVariant(QString::fromUtf8(value)) : QVariant();
        };
        db.executeBound(QStringLiteral("INSERT INTO [") + table +
                            QStringLiteral("] (Rang, An, Numéro, Volume, Mois, Page, NombrePages, "
                                           "Titre, Soustitre, Auteur, Resume) VALUES "
                                           "(?,?,?,?,?,?,?,?,?,?,?)"),
                        {r.rang, r.year, text(r.number), text(r.volume), text(r.month), r.page,
                         r.pages, text(r.title), text(r.subtitle), text(r.authors),
                         text(r.summary)});
    }
}

// The five in APA 7, French terms, the style's order (authors, then date), as plain text. The
// French locale puts a narrow no-break space (U+202F) inside « » and before "?", and a no-break
// space (U+00A0) in "s. d."; page ranges are joined by a non-breaking hyphen (U+2011).
inline const QStringList FiveInApa = {
    QStringLiteral("Da Silva, M.-C., & Étienne, P. (1985). Géométrie : le pliage au CE1. "
                   "Kavetol, 12(110), 40\u201141."),
    QStringLiteral("Le Gall, L. (1985). La classe coopérative : une «\u202Fécole\u202F» vivante. "
                   "Kavetol, 12(112), 10\u201114."),
    QStringLiteral("Martin, A., Dupont, J.-P., & Bérard, É. (1992). Lire et écrire au cycle 2. "
                   "Kavetol, 19(145), 3."),
    QStringLiteral("Müller, F. (2001). Des «\u202Fmaths\u202F» pour tous\u202F? Kavetol, "
                   "28(150), 7."),
    QStringLiteral("Rousseau, J.-J. (s.\u00A0d.). Émile à l’école. Kavetol, 7, 21\u201124."),
};

// The five in ISO 690 author-date (French), French terms, the style's order; a no-break space
// after "Vol.", "n°" and "pp.".
inline const QStringList FiveInIso690 = {
    QStringLiteral("DA SILVA, Marie-Claire et ÉTIENNE, Paul, 1985. Géométrie : le pliage au "
                   "CE1. Kavetol. janvier 1985. Vol.\u00A012, n°\u00A0110, pp.\u00A040\u201141."),
    QStringLiteral("LE GALL, Lucien, 1985. La classe coopérative : une «\u202Fécole\u202F» "
                   "vivante. Kavetol. mars 1985. Vol.\u00A012, n°\u00A0112, pp.\u00A010\u201114."),
    QStringLiteral("MARTIN, Anne, DUPONT, Jean-Pierre et BÉRARD, Élise, 1992. Lire et écrire au "
                   "cycle 2. Kavetol. 1992. Vol.\u00A019, n°\u00A0145, pp.\u00A03."),
    QStringLiteral("MÜLLER, Françoise, 2001. Des «\u202Fmaths\u202F» pour tous\u202F? Kavetol. "
                   "mai 2001. Vol.\u00A028, n°\u00A0150, pp.\u00A07. Un court résumé."),
    QStringLiteral("ROUSSEAU, Jean-Jacques, [sans date]. Émile à l’école. Kavetol. N°\u00A07, "
                   "pp.\u00A021\u201124."),
};

// Texts as gtest prints them on a failure, one a line.
inline std::string lines(const QStringList &texts)
{
    return texts.join(u'\n').toStdString();
}
inline std::string lines(const QString &text)
{
    return text.toStdString();
}

// A variable of the environment set for the life of the object, then put back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_former(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_former);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_former;
};

} // namespace ferlin::test
