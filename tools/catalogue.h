#pragma once

#include "random.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace ferlin::sample {

// One reference of the sample base. List-valued members hold one value per entry; the base
// stores them one per line.
struct Article {
    int rank = 0; // Rang: 1 for the oldest
    int year = 0;
    int bulletin = 0;
    QString month;
    int volume = 0;
    int page = 0;
    int pages = 0;
    QString title;
    QString subtitle; // null when there is none
    QStringList authors;
    QStringList domains; // the four index lists are empty when the row is not indexed
    QStringList pointsOfView;
    QStringList levels;
    QStringList keywords;
    QString summary;  // null when there is none; paragraphs separated by "\r\n"
    int disc = 0;     // 1 or 2 for a full text, 0 for none
    QString textPath; // "Textes\<year>\<name>.pdf" below the disc's root, empty without text
    // What the article is about: three of the catalogue's keywords, by their index.
    std::vector<int> topics;

    bool indexed() const { return !keywords.isEmpty(); }
};

// The whole sample catalogue, made on demand: the lookup tables at once, each reference when
// asked for (from its own random stream, so in any order). Everything follows from the seed;
// the vocabulary and the bulletins of each year do not depend on the number of references, and
// a larger base's pool of authors begins with a smaller one's.
class Catalogue {
public:
    Catalogue(quint32 seed, int references);

    Article article(int rank) const;
    // The pages of an article's full text, each as paragraphs, the first page's first
    // paragraphs being the authors, the summary and the keywords: as many pages as the article
    // has, up to MaxTextPages, of French sentences on its topics.
    std::vector<QStringList> textPages(const Article &article) const;
    static constexpr int MaxTextPages = 6;

    // The lookup tables, in table order.
    const QStringList &keywords() const { return m_keywordTexts; } // sorted
    QStringList seeAlso() const;                                   // sorted
    const QStringList &pointsOfView() const;
    const QStringList &domains() const;

    // Sorts texts in French alphabetical order (accents and case count only to break ties).
    static void sortFrench(QStringList &texts);

    static constexpr int FirstYear = 1907;
    static constexpr int LastYear = 2001;

private:
    struct Keyword {
        QString text;
        int term;       // index into vocabulary().terms
        bool qualified; // term + qualifier
    };
    struct Slot {
        short year;
        short bulletin;
        short monthGroup; // index into m_monthTexts
        short pages;
        int page;
    };

    void makeKeywords();
    void makeAuthors(int references);
    void makeSlots(int references);
    void calibrate(const std::vector<int> &perYear);
    int pickKeyword(Random &random, int domain, int year) const;
    QString makeSummary(Random &random, const std::vector<int> &topics, int bulletin) const;
    QString expand(const QString &pattern, const std::vector<int> &topics, int bulletin,
                   Random &random) const;

    quint32 m_seed;
    std::vector<Keyword> m_keywords;              // sorted
    QStringList m_keywordTexts;                   // the same texts
    std::vector<std::vector<int>> m_domainTerms;  // per domain: keywords that are bare terms
    std::vector<std::vector<int>> m_domainCombos; // per domain: term + qualifier keywords
    QStringList m_authors;
    QStringList m_monthTexts;
    std::vector<Slot> m_slots;           // by rank - 1
    std::vector<double> m_indexedChance; // by year - FirstYear
    std::vector<double> m_textChance;
    int m_lastYearOnDisc1 = LastYear; // later years' texts are on disc 2
};

} // namespace ferlin::sample
