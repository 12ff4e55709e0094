#include "sampleindex.h"

#include "catalogue.h"

#include "core/fulltext/fulltextquery.h"
#include "core/fulltext/textindex.h"

namespace ferlin::sample {

int writeSampleTextIndex(const QString &indexPath, const Catalogue &catalogue, int references,
                         int limit, int pages)
{
    TextIndex index(indexPath);
    int written = 0;
    for (int rank = references; rank >= 1 && written < limit; --rank) {
        Article a = catalogue.article(rank);
        if (!a.disc)
            continue;
        if (pages > 0)
            a.pages = pages;
        // A page as Poppler reads it: the title on the first, then the paragraphs.
        QStringList text;
        for (const QStringList &page : catalogue.textPages(a))
            text << expandLigatures((text.isEmpty() ? a.title + u' ' : QString()) +
                                    page.join(u' '));
        index.storeText(rank, a.textPath, {1, 1}, text);
        ++written;
    }
    return written;
}

} // namespace ferlin::sample
