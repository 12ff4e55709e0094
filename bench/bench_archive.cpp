// The full (type 1) archive of a basket holding the whole base, then written as Rich Text
// Format into a file, at 6,773 and 135,460 references. Goals: built within 1 s and written within
// 300 ms at 6,773; built within 2 s and 250 MB of peak memory (the process's high-water mark) at
// 135,460. Usage: bench_archive [--size N | --base FILE]
#include "benchsupport.h"
#include "bothsizes.h"
#include "core/context/runstate.h"
#include "core/db/catalog.h"
#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/output/archivebuilder.h"
#include "core/output/archivefile.h"
#include "core/output/rtfwriter.h"
#include "core/platform/busypointer.h"
#include "core/platform/messagebox.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>

namespace {

class QuietPointer : public ferlin::BusyPointer {
public:
    void showBusy() override { m_busy = true; }
    void restore() override { m_busy = false; }
    bool isBusy() const override { return m_busy; }

private:
    bool m_busy = false;
};

class QuietMessages : public ferlin::MessageBox {
protected:
    ferlin::MessageAnswer ask(ferlin::MessageIcon, ferlin::MessageButtons buttons,
                              const QString &text, const std::optional<QString> &) override
    {
        std::printf("message: %s\n", qPrintable(text));
        return ferlin::firstAnswer(buttons);
    }
};

int measure(const QString &original)
{
    using namespace ferlin::bench;
    QTemporaryDir dir;
    const QString base = writableCopy(dir, original);
    auto db = ferlin::Database::open(base);
    db->execute(QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles"));

    ferlin::ArchiveInput input;
    input.basket = 1;
    input.type = ferlin::ArchiveType::Full;
    input.versionTitle = ferlin::RunState::VersionTitleText;
    QuietPointer pointer;
    QuietMessages messages;

    std::vector<double> builds;
    std::vector<double> writes;
    double buildPeak = 0;
    double writePeak = 0;
    qsizetype rtfSize = 0;
    int blocks = 0;
    const double before = residentMb("VmRSS");
    const int runs = isLarge(ferlin::CountBasket(*db, 1)) ? 3 : 5;
    for (int run = 0; run < runs; ++run) {
        ferlin::RecordSet rows(*db, ferlin::Schema::basketTable(1));
        input.count = rows.recordCount();
        QTextDocument document;
        resetPeakMemory();
        QElapsedTimer clock;
        clock.start();
        ferlin::BuildArchive(document, input, rows, messages, pointer);
        builds.push_back(double(clock.nsecsElapsed()) / 1e6);
        buildPeak = std::max(buildPeak, residentMb());
        clock.restart();
        // Written as the archive window exports it: into a file, piece by piece.
        const QString file = dir.filePath(QStringLiteral("archive.rtf"));
        ferlin::SaveArchiveFile(file, [&document](const ferlin::ByteSink &write) {
            return ferlin::writeRtf(document, write);
        });
        writes.push_back(double(clock.nsecsElapsed()) / 1e6);
        writePeak = std::max(writePeak, residentMb());
        rtfSize = QFileInfo(file).size();
        blocks = document.blockCount();
    }
    const bool large = isLarge(input.count);
    const double build = median(builds);
    const QString runsText = QStringLiteral("median of ") + QString::number(runs);
    report(QStringLiteral("type-1 archive of the whole base, built"), input.count,
           ms(build) + QStringLiteral(", ") + QString::number(blocks) +
               QStringLiteral(" paragraphs, ") + runsText,
           atMostMs(build, large ? 2000 : 1000));
    // The peak of the whole archive, built then written, and that of the build alone.
    const double peak = std::max(buildPeak, writePeak);
    report(QStringLiteral("type-1 archive of the whole base, built and written, peak memory"),
           input.count,
           QString::number(peak, 'f', 0) + QStringLiteral(" MB (the build alone ") +
               QString::number(buildPeak, 'f', 0) + QStringLiteral(" MB; ") +
               QString::number(before, 'f', 0) + QStringLiteral(" MB before)"),
           large ? atMost(peak, 250, QStringLiteral("250 MB")) : Goal{});
    const double write = median(writes);
    report(QStringLiteral("the archive written as an RTF file"), input.count,
           ms(write) + QStringLiteral(", ") + QString::number(rtfSize / 1024) +
               QStringLiteral(" KB, ") + runsText,
           large ? Goal{} : atMostMs(write, 300));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    return ferlin::bench::widgetBenchmarkMain(argc, argv, measure);
}
