// Bibliographies formatted by pandoc's citeproc on the sample base: a basket of 300 references
// and one of the whole base (6,773), in APA 7 and in ISO 690 author-date (French), read from the
// base, formatted and written as an HTML page, and formatted for the clipboard (HTML and plain
// text). Goals: within 3 s for 300 references, within 30 s for the whole base; the list of the
// installed styles read within 500 ms.
// Run: build/bin/bench_bibliography [--base FILE]
#include "bothsizes.h"
#include "core/output/basketexport.h"
#include "core/output/bibliography.h"
#include "core/output/citationstyles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

using namespace ferlin;

// The time of one bibliography, from the basket in the base to the page written (or the two
// clipboard forms), in milliseconds.
double timeBibliography(Database &db, int basket, const QString &style, bool toClipboard,
                        const QString &file, int &count)
{
    QElapsedTimer clock;
    clock.start();
    const BasketExport references = ReadBasketForExport(db, basket, QString());
    BibliographyRequest request;
    request.styleFile = style;
    request.withText = toClipboard;
    request.document = !toClipboard;
    const Bibliography done = FormatBibliography(findPandoc(), references, request);
    if (!toClipboard)
        WriteFileAtomically(file, done.output);
    count = done.count;
    return double(clock.nsecsElapsed()) / 1e6;
}

int measure(const QString &source)
{
    const QString missing = bibliographyToolsMissing(findPandoc(), citationStyleFolders());
    if (!missing.isEmpty()) {
        std::printf("%s\n", qPrintable(missing));
        return 1;
    }
    // The dialog's list: every style of the collection by its title.
    QElapsedTimer clock;
    clock.start();
    const size_t styleCount = installedCitationStyles(citationStyleFolders()).size();
    const double listMs = double(clock.nsecsElapsed()) / 1e6;
    bench::report(QStringLiteral("the installed styles listed by their titles"), int(styleCount),
                  bench::ms(listMs), bench::atMostMs(listMs, 500));

    QTemporaryDir dir;
    const QString base = bench::writableCopy(dir, source);
    auto db = Database::open(base);
    db->execute(QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles WHERE Rang <= "
                               "300"));
    db->execute(QStringLiteral("INSERT INTO [TSélection2] SELECT * FROM TArticles"));
    struct Size {
        int basket;
        double goalMs;
        int runs; // the median of these
    };
    const Size sizes[] = {{1, 3000, 5}, {2, 30000, 1}};
    const char *const styles[] = {"apa", "iso690-author-date-fr"};
    int failed = 0;
    for (const Size &size : sizes) {
        for (const char *name : styles) {
            const auto style = citationStyleFile(QString::fromLatin1(name), citationStyleFolders());
            if (!style) {
                std::printf("style %s not installed\n", name);
                ++failed;
                continue;
            }
            for (const bool toClipboard : {false, true}) {
                std::vector<double> times;
                int count = 0;
                for (int run = 0; run < size.runs; ++run)
                    times.push_back(timeBibliography(*db, size.basket, *style, toClipboard,
                                                     dir.filePath(QStringLiteral("liste.html")),
                                                     count));
                const double ms = bench::median(times);
                bench::report(QStringLiteral("bibliography in %1, %2")
                                  .arg(QString::fromLatin1(name),
                                       toClipboard ? QStringLiteral("HTML and text to copy")
                                                   : QStringLiteral("written as an HTML page")),
                              count, bench::ms(ms), bench::atMostMs(ms, size.goalMs));
            }
        }
    }
    return failed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const qsizetype given = args.indexOf(QStringLiteral("--base"));
    if (given >= 0 && given + 1 < args.size())
        return measure(args.at(given + 1));
    // The sample base, generated without its texts.
    QTemporaryDir dir;
    ferlin::sample::Options options;
    options.writeTexts = false;
    ferlin::sample::generate(dir.path(), options);
    return measure(dir.filePath(QString::fromLatin1(ferlin::Database::FileName)));
}
