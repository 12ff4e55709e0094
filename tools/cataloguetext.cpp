// The full texts of the sample references: a few pages of French sentences on each article's
// topics, after its authors, summary and keywords.
#include "catalogue.h"

#include "vocabulary.h"

#include <algorithm>

namespace ferlin::sample {

namespace {

// The random stream of a reference's text: apart from the streams of the references themselves
// (catalogue.cpp: 1 << 32 + rank), so that the texts change nothing else in the base.
constexpr quint64 TextStream = quint64(2) << 32; // + rank

} // namespace

std::vector<QStringList> Catalogue::textPages(const Article &a) const
{
    const Vocabulary &v = vocabulary();
    Random random(m_seed, TextStream + quint64(a.rank));
    // The sentences in an order of the article's own, each used once before any comes back.
    std::vector<int> order(size_t(v.bodySentences.size()));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    for (size_t i = order.size() - 1; i > 0; --i)
        std::swap(order[i], order[size_t(random.below(int(i) + 1))]);
    size_t next = 0;
    auto paragraph = [&] {
        QStringList sentences;
        const int count = random.between(3, 5);
        for (int i = 0; i < count; ++i) {
            const QString &pattern = v.bodySentences.at(order[next++ % order.size()]);
            sentences << expand(pattern, a.topics, a.bulletin, random);
        }
        return sentences.join(u' ');
    };
    const int count = std::clamp(a.pages, 1, MaxTextPages);
    std::vector<QStringList> pages(static_cast<size_t>(count));
    QStringList &first = pages.front();
    if (!a.subtitle.isNull())
        first << a.subtitle;
    first << a.authors.join(QStringLiteral(", ")) << QString();
    if (!a.summary.isNull())
        first << QStringLiteral("Résumé. ") +
                     QString(a.summary).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    if (!a.keywords.isEmpty())
        first << QStringLiteral("Mots clés : ") + a.keywords.join(QStringLiteral(", ")) + u'.';
    first << QString();
    // The first page opens with the introduction; each other page holds one or two sections.
    first << QStringLiteral("1. Introduction") << paragraph() << QString();
    int section = 1;
    for (size_t p = 1; p < pages.size(); ++p) {
        const int sections = random.between(1, 2);
        for (int k = 0; k < sections; ++k) {
            const QString &name = v.sections.at(random.between(1, int(v.sections.size()) - 1));
            pages[p] << QString::number(++section) + QStringLiteral(". ") + name << paragraph()
                     << paragraph() << QString();
        }
    }
    pages.back() << QStringLiteral("Conclusion") << paragraph();
    return pages;
}

} // namespace ferlin::sample
