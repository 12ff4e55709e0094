#include "catalogue.h"

#include "vocabulary.h"

#include <QCollator>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace ferlin::sample {

namespace {

// Independent random streams of the parts of the base.
enum Stream : quint64 {
    KeywordStream = 1,
    AuthorStream,
    ScheduleStream,
    CountStream,
    PageStream,
    RowStream = quint64(1) << 32, // + rank
};

constexpr int KeywordTarget = 2300;
// Bulletin numbers have three digits from 1907 to 2001, so their text sorts like the number.
constexpr int FirstBulletin = 101;
constexpr int LastBulletin = 999;
constexpr double IndexedShare = 0.58;
constexpr double TextShare = 0.49;
constexpr double SummaryChance = 0.85;
constexpr double SubtitleChance = 0.34;

// Relative frequency of the domains, in vocabulary order.
const std::vector<int> DomainWeights = {14, 12, 12, 7, 9, 8, 12, 8, 6, 6, 4, 8};
constexpr size_t ElectronicsDomain = 3;
// primaire, collège, lycée, postbac
const std::vector<int> LevelWeights = {1, 3, 6, 2};

int weighted(Random &random, const std::vector<int> &weights)
{
    int total = 0;
    for (int w : weights)
        total += w;
    int x = random.below(total);
    for (size_t i = 0; i < weights.size(); ++i) {
        if (x < weights[i])
            return int(i);
        x -= weights[i];
    }
    return 0;
}

const QStringList &monthNames()
{
    static const QStringList names =
        QString::fromUtf8("janvier|février|mars|avril|mai|juin|juillet|août|septembre|octobre|"
                          "novembre|décembre")
            .split(u'|');
    return names;
}

// Can months [start, start + length) form one issue whose month text the base knows?
bool validGroup(int start, int length)
{
    if (length == 2)
        return start != 7; // "août-septembre" is no month text of the base
    if (length == 3)
        return start % 3 == 0; // only the four quarters
    return length == 1;
}

// The month texts of a year's bulletins, in calendar order: consecutive months merged at
// random until there are as many issues as bulletins. A year may open with a December-January
// issue.
QStringList yearMonths(Random &random, int bulletins)
{
    const bool decemberJanuary = random.chance(0.08);
    const int first = decemberJanuary ? 1 : 0;
    const int last = decemberJanuary ? 11 : 12;
    const int target = bulletins - (decemberJanuary ? 1 : 0);
    std::vector<std::pair<int, int>> groups; // start month (0-based), length
    for (int m = first; m < last; ++m)
        groups.push_back({m, 1});
    while (int(groups.size()) > target) {
        std::vector<size_t> merges;
        for (size_t i = 0; i + 1 < groups.size(); ++i)
            if (validGroup(groups[i].first, groups[i].second + groups[i + 1].second))
                merges.push_back(i);
        if (merges.empty())
            break;
        const size_t i = merges[size_t(random.below(int(merges.size())))];
        groups[i].second += groups[i + 1].second;
        groups.erase(groups.begin() + qsizetype(i) + 1);
    }
    QStringList texts;
    if (decemberJanuary)
        texts << monthNames().at(11) + u'-' + monthNames().at(0);
    for (const auto &[start, length] : groups) {
        QStringList names;
        for (int m = start; m < start + length; ++m)
            names << monthNames().at(m);
        texts << names.join(u'-');
    }
    return texts;
}

// Distributes `total` over the weights by largest remainder; every slot gets at least one when
// there are enough.
std::vector<int> apportion(int total, const std::vector<double> &weights)
{
    const int n = int(weights.size());
    std::vector<int> result(size_t(n), total >= n ? 1 : 0);
    const int rest = total >= n ? total - n : total;
    double sum = 0;
    for (double w : weights)
        sum += w;
    std::vector<std::pair<double, int>> remainders;
    int given = 0;
    for (int i = 0; i < n; ++i) {
        const double exact = rest * weights[size_t(i)] / sum;
        const int whole = int(std::floor(exact));
        result[size_t(i)] += whole;
        given += whole;
        remainders.push_back({exact - whole, i});
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    for (int k = 0; k < rest - given; ++k)
        ++result[size_t(remainders[size_t(k)].second)];
    return result;
}

// Per-year chances base + slope * t + shift (t from 0 in 1907 to 1 in 2001), kept within
// [low, high], with the shift chosen so that the expected share over all references is `share`.
std::vector<double> calibratedChances(const std::vector<int> &perYear, double base, double slope,
                                      double low, double high, double share)
{
    const int years = int(perYear.size());
    auto chance = [&](int i, double shift) {
        return std::clamp(base + slope * i / (years - 1) + shift, low, high);
    };
    double total = 0;
    for (int n : perYear)
        total += n;
    double lo = -1, hi = 1;
    for (int step = 0; step < 60; ++step) {
        const double mid = (lo + hi) / 2;
        double expected = 0;
        for (int i = 0; i < years; ++i)
            expected += perYear[size_t(i)] * chance(i, mid);
        (expected < share * total ? lo : hi) = mid;
    }
    std::vector<double> chances;
    for (int i = 0; i < years; ++i)
        chances.push_back(chance(i, (lo + hi) / 2));
    return chances;
}

bool startsWithVowelSound(const QString &word)
{
    if (word.startsWith(QLatin1String("haut")) || word.startsWith(QLatin1String("houle")))
        return false; // aspirated h
    QChar c = word.at(0).toLower();
    if (const QString d = c.decomposition(); !d.isEmpty())
        c = d.at(0);
    return QStringLiteral("aeiouyhœ").contains(c);
}

// The word with the article of a template form: le, de, a (à), un, or w (none).
QString withArticle(const QString &word, bool feminine, QStringView form)
{
    const bool vowel = startsWithVowelSound(word);
    QString prefix;
    if (form == u"le")
        prefix = vowel      ? QStringLiteral("l'")
                 : feminine ? QStringLiteral("la ")
                            : QStringLiteral("le ");
    else if (form == u"de")
        prefix = vowel      ? QStringLiteral("de l'")
                 : feminine ? QStringLiteral("de la ")
                            : QStringLiteral("du ");
    else if (form == u"a")
        prefix = vowel      ? QStringLiteral("à l'")
                 : feminine ? QStringLiteral("à la ")
                            : QStringLiteral("au ");
    else if (form == u"un")
        prefix = feminine ? QStringLiteral("une ") : QStringLiteral("un ");
    return prefix + word;
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

} // namespace

Catalogue::Catalogue(quint32 seed, int references) : m_seed(seed)
{
    makeKeywords();
    makeAuthors(references);
    makeSlots(references);
}

void Catalogue::sortFrench(QStringList &texts)
{
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    std::stable_sort(texts.begin(), texts.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
}

void Catalogue::makeKeywords()
{
    const Vocabulary &v = vocabulary();
    Random random(m_seed, KeywordStream);
    QSet<QString> seen;
    std::vector<Keyword> all;
    for (int t = 0; t < int(v.terms.size()); ++t)
        if (!seen.contains(v.terms[size_t(t)].word)) {
            seen.insert(v.terms[size_t(t)].word);
            all.push_back({v.terms[size_t(t)].word, t, false});
        }
    std::vector<Keyword> combos;
    for (int t = 0; t < int(v.terms.size()); ++t) {
        const Term &term = v.terms[size_t(t)];
        const QStringList words = term.word.split(u' ');
        for (const Qualifier &q : v.qualifiers[size_t(term.domain)]) {
            const QString &form = term.feminine ? q.feminine : q.masculine;
            // No "acide acide" nor "accélération accélérée".
            if (!words.contains(form) && form.left(5) != term.word.left(5))
                combos.push_back({term.word + u' ' + form, t, true});
        }
    }
    for (int i = int(combos.size()) - 1; i > 0; --i) // Fisher-Yates
        std::swap(combos[size_t(i)], combos[size_t(random.below(i + 1))]);
    for (const Keyword &k : combos) {
        if (int(all.size()) >= KeywordTarget)
            break;
        if (!seen.contains(k.text)) {
            seen.insert(k.text);
            all.push_back(k);
        }
    }

    QStringList texts;
    for (const Keyword &k : all)
        texts << k.text;
    sortFrench(texts);
    QHash<QString, size_t> position;
    for (size_t i = 0; i < all.size(); ++i)
        position.insert(all[i].text, i);
    m_domainTerms.assign(v.domains.size(), {});
    m_domainCombos.assign(v.domains.size(), {});
    for (const QString &text : texts) {
        const Keyword &k = all[position.value(text)];
        const int index = int(m_keywords.size());
        m_keywords.push_back(k);
        auto &list = k.qualified ? m_domainCombos : m_domainTerms;
        list[size_t(v.terms[size_t(k.term)].domain)].push_back(index);
    }
    // Bare terms keep the vocabulary's order, most common first.
    for (auto &list : m_domainTerms)
        std::sort(list.begin(), list.end(), [this](int a, int b) {
            return m_keywords[size_t(a)].term < m_keywords[size_t(b)].term;
        });
    m_keywordTexts = texts;
}

void Catalogue::makeAuthors(int references)
{
    const Vocabulary &v = vocabulary();
    Random random(m_seed, AuthorStream);
    const int target = std::clamp(references / 3, 30, 6000);
    QSet<QString> seen;
    for (int attempt = 0; m_authors.size() < target && attempt < 20 * target; ++attempt) {
        QString surname = random.pick(v.surnames);
        if (random.chance(0.05)) {
            const QString second = random.pick(v.surnames);
            if (second != surname && !second.contains(u' '))
                surname += u'-' + second;
        }
        const QString name = surname + u' ' + random.pick(v.firstNames);
        if (!seen.contains(name)) {
            seen.insert(name);
            m_authors << name;
        }
    }
}

void Catalogue::makeSlots(int references)
{
    const int years = LastYear - FirstYear + 1;
    struct Bulletin {
        int number;
        int monthGroup;
    };
    std::vector<std::vector<Bulletin>> bulletins(static_cast<size_t>(years));
    Random schedule(m_seed, ScheduleStream);
    int number = FirstBulletin;
    for (int y = 0; y < years; ++y) {
        int count = 8 + schedule.below(3);
        if (number + count - 1 + 8 * (years - y - 1) > LastBulletin)
            count = 8;
        for (const QString &month : yearMonths(schedule, count)) {
            if (!m_monthTexts.contains(month))
                m_monthTexts << month;
            bulletins[size_t(y)].push_back({number++, int(m_monthTexts.indexOf(month))});
        }
    }

    // More articles in later years, fewer during the two wars.
    Random counts(m_seed, CountStream);
    std::vector<double> weights;
    for (int y = 0; y < years; ++y) {
        const double t = double(y) / (years - 1);
        const int year = FirstYear + y;
        const bool war = (year >= 1915 && year <= 1918) || (year >= 1940 && year <= 1944);
        weights.push_back((1 + 6 * t + 8 * t * t) * (war ? 0.45 : 1.0) *
                          (0.85 + 0.3 * counts.unit()));
    }
    const std::vector<int> perYear = apportion(references, weights);

    Random pages(m_seed, PageStream);
    for (int y = 0; y < years; ++y) {
        const auto &issues = bulletins[size_t(y)];
        std::vector<int> perBulletin(issues.size(), 0);
        for (int k = 0; k < perYear[size_t(y)]; ++k)
            ++perBulletin[size_t(pages.below(int(issues.size())))];
        int page = 1;
        for (size_t b = 0; b < issues.size(); ++b)
            for (int k = 0; k < perBulletin[b]; ++k) {
                const int length = 1 + pages.below(8) + (pages.chance(0.35) ? pages.below(12) : 0) +
                                   (pages.chance(0.08) ? pages.below(11) : 0);
                m_slots.push_back({short(FirstYear + y), short(issues[b].number),
                                   short(issues[b].monthGroup), short(length), page});
                page += length + (pages.chance(0.25) ? pages.between(1, 3) : 0);
            }
    }
    calibrate(perYear);
}

void Catalogue::calibrate(const std::vector<int> &perYear)
{
    m_indexedChance = calibratedChances(perYear, 0.05, 0.95, 0.03, 0.97, IndexedShare);
    m_textChance = calibratedChances(perYear, 0.2, 0.5, 0.05, 0.9, TextShare);
    // Disc 1 takes the older years, up to about half of the expected texts.
    double total = 0;
    for (size_t i = 0; i < perYear.size(); ++i)
        total += perYear[i] * m_textChance[i];
    double cumulated = 0;
    for (size_t i = 0; i < perYear.size(); ++i) {
        cumulated += perYear[i] * m_textChance[i];
        if (cumulated >= total / 2) {
            m_lastYearOnDisc1 = FirstYear + int(i);
            break;
        }
    }
}

QStringList Catalogue::seeAlso() const
{
    QStringList lines = vocabulary().seeAlso;
    sortFrench(lines);
    return lines;
}

const QStringList &Catalogue::pointsOfView() const
{
    static const QStringList sorted = [] {
        QStringList list = vocabulary().pointsOfView;
        sortFrench(list);
        return list;
    }();
    return sorted;
}

const QStringList &Catalogue::domains() const
{
    static const QStringList sorted = [] {
        QStringList list = vocabulary().domains;
        sortFrench(list);
        return list;
    }();
    return sorted;
}

int Catalogue::pickKeyword(Random &random, int domain, int year) const
{
    const auto &terms = m_domainTerms[size_t(domain)];
    const auto &combos = m_domainCombos[size_t(domain)];
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int k = combos.empty() || random.chance(0.65)
                          ? terms[size_t(random.skewed(int(terms.size())))]
                          : combos[size_t(random.below(int(combos.size())))];
        if (vocabulary().terms[size_t(m_keywords[size_t(k)].term)].since <= year)
            return k;
    }
    return terms.front(); // the domain's own name, used in any year
}

QString Catalogue::expand(const QString &pattern, const std::vector<int> &topics, int bulletin,
                          Random &random) const
{
    const Vocabulary &v = vocabulary();
    QString out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const qsizetype open = pattern.indexOf(u'{', i);
        if (open < 0) {
            out += QStringView(pattern).mid(i);
            break;
        }
        const qsizetype close = pattern.indexOf(u'}', open);
        out += QStringView(pattern).mid(i, open - i);
        const QStringView token = QStringView(pattern).mid(open + 1, close - open - 1);
        if (token == u"cls") {
            out += random.pick(v.classes);
        } else if (token == u"num") {
            out += QString::number(std::max(FirstBulletin, bulletin - random.between(1, 40)));
        } else {
            const Keyword &k = m_keywords[size_t(topics.at(size_t(token.back().digitValue() - 1)))];
            out += withArticle(k.text, v.terms[size_t(k.term)].feminine, token.chopped(1));
        }
        i = close + 1;
    }
    return out;
}

QString Catalogue::makeSummary(Random &random, const std::vector<int> &topics, int bulletin) const
{
    const QStringList &sentences = vocabulary().sentences;
    const int paragraphs = 1 + (random.chance(0.35) ? 1 : 0) + (random.chance(0.1) ? 1 : 0);
    QStringList text;
    QSet<int> used;
    for (int p = 0; p < paragraphs; ++p) {
        QStringList paragraph;
        const int count = random.between(1, 3);
        while (paragraph.size() < count) {
            const int s = random.below(int(sentences.size()));
            if (used.contains(s))
                continue;
            used.insert(s);
            paragraph << expand(sentences.at(s), topics, bulletin, random);
        }
        text << paragraph.join(u' ');
    }
    return text.join(QLatin1String("\r\n"));
}

Article Catalogue::article(int rank) const
{
    const Vocabulary &v = vocabulary();
    const Slot &slot = m_slots.at(size_t(rank - 1));
    const size_t yearIndex = size_t(slot.year - FirstYear);
    Random random(m_seed, RowStream + quint64(rank));
    Article a;
    a.rank = rank;
    a.year = slot.year;
    a.bulletin = slot.bulletin;
    a.volume = slot.year - (FirstYear - 1);
    a.page = slot.page;
    a.pages = slot.pages;
    a.month = m_monthTexts.at(slot.monthGroup);
    if (random.chance(0.02)) { // a few month texts as typed by hand
        if (a.month == u"mars")
            a.month = random.chance(0.5) ? QStringLiteral("Mars") : QStringLiteral(" mars ");
        else if (a.month == u"août" || a.month == u"septembre")
            a.month = QStringLiteral("août-septembre");
    }

    // Hardly any electronics before the valve radios.
    std::vector<int> domainWeights = DomainWeights;
    domainWeights[ElectronicsDomain] = a.year < 1920 ? 0 : a.year < 1950 ? 2 : 7;
    const int domain = weighted(random, domainWeights);
    // Three topics on distinct terms, if the year's words allow it.
    std::vector<int> topics;
    const auto isTopic = [&](int k) {
        return std::find(topics.begin(), topics.end(), k) != topics.end();
    };
    for (int attempt = 0; topics.size() < 3; ++attempt) {
        if (attempt >= 200) { // the domain's terms in order always give enough
            const auto &terms = m_domainTerms[size_t(domain)];
            topics.push_back(*std::find_if_not(terms.begin(), terms.end(), isTopic));
            continue;
        }
        const int k = pickKeyword(random, domain, a.year);
        const int term = m_keywords[size_t(k)].term;
        const bool sameTerm = std::any_of(topics.begin(), topics.end(), [&](int t) {
            return m_keywords[size_t(t)].term == term;
        });
        if (!isTopic(k) && (!sameTerm || attempt > 50))
            topics.push_back(k);
    }
    a.topics = topics;
    a.title = capitalised(expand(random.pick(v.titles), topics, slot.bulletin, random));
    if (random.chance(SubtitleChance))
        a.subtitle = capitalised(expand(random.pick(v.subtitles), topics, slot.bulletin, random));

    const int authors = random.chance(0.6) ? 1 : (random.chance(0.75) ? 2 : 3);
    while (a.authors.size() < authors) {
        const QString &name = m_authors.at(random.skewed(int(m_authors.size())));
        if (!a.authors.contains(name))
            a.authors << name;
    }

    if (random.chance(m_indexedChance[yearIndex])) {
        a.domains << v.domains.at(domain);
        const int fromTopics = random.between(1, 3);
        for (int i = 0; i < fromTopics; ++i)
            a.keywords << m_keywords[size_t(topics[size_t(i)])].text;
        const int extra = random.between(0, 3);
        for (int i = 0; i < extra; ++i)
            a.keywords << m_keywords[size_t(pickKeyword(random, domain, a.year))].text;
        if (random.chance(0.2)) {
            const int other = weighted(random, domainWeights);
            a.keywords << m_keywords[size_t(pickKeyword(random, other, a.year))].text;
            a.domains << v.domains.at(other);
        }
        a.keywords.removeDuplicates();
        a.domains.removeDuplicates();
        a.pointsOfView << random.pick(v.pointsOfView);
        if (random.chance(0.25))
            a.pointsOfView << random.pick(v.pointsOfView);
        a.pointsOfView.removeDuplicates();
        a.levels << v.levels.at(weighted(random, LevelWeights));
        if (random.chance(0.3))
            a.levels << v.levels.at(weighted(random, LevelWeights));
        a.levels.removeDuplicates();
    }

    if (random.chance(SummaryChance))
        a.summary = makeSummary(random, topics, slot.bulletin);

    if (random.chance(m_textChance[yearIndex])) {
        a.disc = a.year <= m_lastYearOnDisc1 ? 1 : 2;
        a.textPath =
            QStringLiteral("Textes\\%1\\a%2.pdf").arg(a.year).arg(rank, 5, 10, QLatin1Char('0'));
    }
    return a;
}

} // namespace ferlin::sample
