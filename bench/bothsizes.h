#pragma once

// What the benchmarks measured at both base sizes share: generating the two bases, measuring
// each in a process of its own, medians, peak memory, and one printed line per figure with its
// goal.

#include "samplebase.h"

#include "core/db/database.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace ferlin::bench {

// The sample base, and one twenty times larger.
inline constexpr int SampleSize = 6773;
inline constexpr int LargeSize = 135460;

// Goals differ between the sample base and the large one.
inline bool isLarge(int references)
{
    return references > SampleSize;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A copy of `base` in `dir`, that the measure may change.
inline QString writableCopy(const QTemporaryDir &dir, const QString &base)
{
    const QString copy = dir.filePath(QString::fromLatin1(Database::FileName));
    QFile::copy(base, copy);
    QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

// Starts a new high-water mark of this process's resident memory (Linux's clear_refs).
inline bool resetPeakMemory()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    return file.open(QIODevice::WriteOnly) && file.write("5") == 1;
}

// This process's resident memory in MB: its high-water mark ("VmHWM") or its present size
// ("VmRSS").
inline double residentMb(const char *field = "VmHWM")
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

// A duration in ms as printed: two decimals below 10 ms, one below 100, none above.
inline QString ms(double value)
{
    return QString::number(value, 'f',
                           value < 10    ? 2
                           : value < 100 ? 1
                                         : 0) +
           QStringLiteral(" ms");
}

// A goal beside a figure: its text ("≤ 150 ms") and whether the figure meets it.
struct Goal {
    QString text; // empty: no goal at this size
    bool met = true;
};

// At most `limit`, written `text`.
inline Goal atMost(double value, double limit, const QString &text)
{
    return {QStringLiteral("≤ ") + text, value <= limit};
}

// A duration of at most `limit` ms.
inline Goal atMostMs(double value, double limit)
{
    return atMost(value, limit, QString::number(limit) + QStringLiteral(" ms"));
}

// One figure on one line with its goal: "what (references): figure (goal: ≤ 150 ms) met".
inline void report(const QString &what, int references, const QString &figure, const Goal &goal)
{
    QString line =
        what + QStringLiteral(" (") + QString::number(references) + QStringLiteral("): ") + figure;
    if (goal.text.isEmpty())
        line += QStringLiteral(" (no goal at this size)");
    else
        line += QStringLiteral(" (goal: ") + goal.text +
                (goal.met ? QStringLiteral(") met") : QStringLiteral(") NOT MET"));
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// The main of a benchmark measured at both sizes. "--base FILE" (or FILE alone) measures that
// base in this process. Otherwise the two bases (or that of "--size N" alone) are generated into
// a temporary folder, and each is measured by this program run again with "--base", so that
// each size has a process, and a peak memory, of its own. Returns 0 unless a measure failed.
inline int runAtEachSize(const std::function<int(const QString &base)> &measure)
{
    const QStringList args = QCoreApplication::arguments();
    const qsizetype baseAt = args.indexOf(QStringLiteral("--base"));
    if (baseAt > 0 && baseAt + 1 < args.size())
        return measure(args.at(baseAt + 1));
    if (args.size() == 2 && !args.at(1).startsWith(u'-'))
        return measure(args.at(1));

    std::vector<int> sizes{SampleSize, LargeSize};
    const qsizetype sizeAt = args.indexOf(QStringLiteral("--size"));
    if (sizeAt > 0 && sizeAt + 1 < args.size())
        sizes = {args.at(sizeAt + 1).toInt()};
    QTemporaryDir dir;
    int status = 0;
    for (int references : sizes) {
        const QString folder = dir.filePath(QString::number(references));
        sample::Options options;
        options.references = references;
        options.writeTexts = false;
        sample::generate(folder, options);
        QFile load(QStringLiteral("/proc/loadavg"));
        load.open(QIODevice::ReadOnly);
        std::printf("-- %d references (load average %s)\n", references,
                    load.readAll().split(' ').value(0).constData());
        std::fflush(stdout);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--base"), folder + u'/' + QString::fromLatin1(Database::FileName)});
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
            child.exitCode() != 0) {
            std::fprintf(stderr, "the measure at %d references failed\n", references);
            status = 1;
        }
    }
    return status;
}

// The main of a benchmark that shows widgets: offscreen unless a platform is asked for, then
// runAtEachSize.
inline int widgetBenchmarkMain(int argc, char *argv[],
                               const std::function<int(const QString &base)> &measure)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runAtEachSize(measure);
}

} // namespace ferlin::bench
