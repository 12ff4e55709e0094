// Converting the catalogue through the row-source path: a generated sample base replayed as the
// published file would give its tables, converted into a new base (written beside, checked,
// put in place). Goals: 6,773 references with their lookup tables within 2 s, 135,460 within
// 20 s. Run: build/bin/bench_import [RUNS]   (the bases are generated first, not timed)
#include "core/db/database.h"
#include "core/import/importcatalogue.h"
#include "replaysource.h"
#include "samplebase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace ferlin;

namespace {

QString generate(const QTemporaryDir &dir, int references)
{
    const QString folder = dir.filePath(QString::number(references));
    sample::Options options;
    options.references = references;
    options.writeTexts = false;
    sample::generate(folder, options);
    return QDir(folder).filePath(QString::fromLatin1(Database::FileName));
}

// The median time of converting `base` into a new base, over `runs` conversions.
double medianMs(const QString &base, int runs)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir out;
        sample::ReplaySource source(base);
        QElapsedTimer clock;
        clock.start();
        ImportCatalogue(source, out.filePath(QStringLiteral("ferlin4.sqlite")));
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    QTemporaryDir dir;
    const struct {
        int references;
        double goalMs;
    } sizes[] = {{6773, 2000}, {135460, 20000}};
    bool met = true;
    for (const auto &size : sizes) {
        const double ms = medianMs(generate(dir, size.references), runs);
        std::printf("%d references with their lookup tables converted in %.0f ms (median of %d; "
                    "goal %.0f ms)\n",
                    size.references, ms, runs, size.goalMs);
        met = met && ms <= size.goalMs;
    }
    return met ? 0 : 1;
}
