// Exporting a basket holding every reference of the base, read from the base, laid out and
// written atomically, in each format, at 6,773 and 135,460 references. Goals: within 500 ms
// each at 6,773, within 5 s at 135,460.
// Run: build/bin/bench_export [--size N | --base FILE | FILE]
#include "benchsupport.h"
#include "bothsizes.h"
#include "core/db/database.h"
#include "core/output/basketexport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The median time of nine exports, in milliseconds; the count written in `count`.
double timeExport(ferlin::Database &db, ferlin::ExportFormat format, const QString &file,
                  const QString &textsFolder, int &count)
{
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer clock;
        clock.start();
        count = ferlin::ExportBasket(db, 1, format, file, textsFolder);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int measure(const QString &source)
{
    QTemporaryDir dir;
    const QString base = ferlin::bench::writableCopy(dir, source);
    auto db = ferlin::Database::open(base);
    db->execute(QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles"));
    const int references = db->scalar(QStringLiteral("SELECT count(*) FROM TArticles")).toInt();
    const bool large = ferlin::bench::isLarge(references);
    const double goal = large ? 5000 : 500;
    for (int i = 0; i < ferlin::ExportFormatCount; ++i) {
        const auto format = ferlin::ExportFormat(i);
        const ferlin::ExportFormatInfo &info = ferlin::exportFormatInfo(format);
        const QString file =
            ferlin::withExportExtension(dir.filePath(QStringLiteral("panier")), format);
        int count = 0;
        const double ms = timeExport(*db, format, file, QString(), count);
        ferlin::bench::report(QStringLiteral("export of the whole base as ") + info.name, count,
                              ferlin::bench::ms(ms), ferlin::bench::atMostMs(ms, goal));
    }
    // With the texts on a hard disk each reference's PDF is looked for: the first disc's folder
    // beside the sample base stands for the copy (it holds about half of the texts).
    const QString texts = QCoreApplication::applicationDirPath() + QStringLiteral("/FERLIN4_1");
    if (!large && QDir(texts).exists()) {
        int count = 0;
        const double ms = timeExport(*db, ferlin::ExportFormat::BibTeX,
                                     dir.filePath(QStringLiteral("textes.bib")), texts, count);
        ferlin::bench::report(QStringLiteral("export as bibtex, the texts on a hard disk"), count,
                              ferlin::bench::ms(ms), ferlin::bench::atMostMs(ms, goal));
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return ferlin::bench::runAtEachSize(measure);
}
