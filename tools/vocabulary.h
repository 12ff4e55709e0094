#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace ferlin::sample {

// A school-science noun of the keyword vocabulary ("lentille", "foyer", "onde stationnaire").
struct Term {
    QString word;
    bool feminine = false;
    int domain = 0; // index into Vocabulary::domains
    int since = 0;  // first year an article may use it ("laser" not before 1962)
};

// An adjective that makes a keyword more precise, in its two genders ("convergent").
struct Qualifier {
    QString masculine;
    QString feminine;
};

// The word lists the sample base is made from, all invented for it.
struct Vocabulary {
    QStringList domains;                            // TDomaine, in display order
    std::vector<Term> terms;                        // every domain's nouns
    std::vector<std::vector<Qualifier>> qualifiers; // per domain
    QStringList pointsOfView;                       // TPointdeVue
    QStringList levels;                             // primaire, collège, lycée, postbac
    QStringList surnames;
    QStringList firstNames;
    QStringList seeAlso; // TVoir lines: "word voir term" or "word voir aussi term"
    QStringList classes; // "seconde", ... as in "en classe de seconde"
    // Templates: {le1} {de1} {a1} {un1} {w1} stand for topic 1 with its article ("le foyer",
    // "du foyer", "au foyer", "un foyer", "foyer"); {cls} a class, {num} an earlier bulletin.
    QStringList titles;
    QStringList subtitles;
    QStringList sentences;
    // The running text of the full texts: sentences with the same marks, and section headings.
    QStringList bodySentences;
    QStringList sections;
};

const Vocabulary &vocabulary();

} // namespace ferlin::sample
