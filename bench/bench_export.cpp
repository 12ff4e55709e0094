// Exporting a basket holding every reference of the sample base (6,773), read from the base,
// laid out and written atomically, in each format. Goal: within 500 ms each.
// Run: build/bin/bench_export [BASE]
#include "benchsupport.h"
#include "db/database.h"
#include "output/basketexport.h"

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString base = ferlin::bench::copyOfBase(dir, app.arguments());
    auto db = ferlin::Database::open(base);
    db->execute(QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles"));

    for (int i = 0; i < ferlin::ExportFormatCount; ++i) {
        const auto format = ferlin::ExportFormat(i);
        const ferlin::ExportFormatInfo &info = ferlin::exportFormatInfo(format);
        const QString file =
            ferlin::withExportExtension(dir.filePath(QStringLiteral("panier")), format);
        int count = 0;
        const double ms = timeExport(*db, format, file, QString(), count);
        std::printf("%-8s %d references exported in %.1f ms (median of 9; goal 500 ms)\n",
                    qPrintable(info.name), count, ms);
    }
    // With the texts on a hard disk each reference's PDF is looked for: the first disc's folder
    // beside the sample base stands for the copy (it holds about half of the texts).
    const QString texts = QCoreApplication::applicationDirPath() + QStringLiteral("/FERLIN4_1");
    if (QDir(texts).exists()) {
        int count = 0;
        const double ms = timeExport(*db, ferlin::ExportFormat::BibTeX,
                                     dir.filePath(QStringLiteral("textes.bib")), texts, count);
        std::printf("bibtex   %d references, texts on a hard disk, in %.1f ms (median of 9; goal "
                    "500 ms)\n",
                    count, ms);
    }
    return 0;
}
