// The full archive of a basket holding every reference of the sample base, then written as
// Rich Text Format. Goals: built within 1 s, written within 300 ms.
#include "app/runstate.h"
#include "benchsupport.h"
#include "db/database.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "output/archivebuilder.h"
#include "output/rtfwriter.h"
#include "platform/busypointer.h"
#include "platform/messagebox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <vector>

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

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString base = ferlin::bench::copyOfBase(dir, app.arguments());
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
    qsizetype rtfSize = 0;
    int blocks = 0;
    for (int run = 0; run < 5; ++run) {
        ferlin::RecordSet rows(*db, ferlin::Schema::basketTable(1));
        input.count = rows.recordCount();
        QTextDocument document;
        QElapsedTimer clock;
        clock.start();
        ferlin::BuildArchive(document, input, rows, messages, pointer);
        builds.push_back(double(clock.nsecsElapsed()) / 1e6);
        clock.restart();
        const QByteArray rtf = ferlin::writeRtf(document);
        writes.push_back(double(clock.nsecsElapsed()) / 1e6);
        rtfSize = rtf.size();
        blocks = document.blockCount();
    }
    std::printf("archive of %d references (type 1, %d paragraphs) built in %.1f ms "
                "(median of %zu; goal 1000 ms)\n",
                input.count, blocks, median(builds), builds.size());
    std::printf("written as RTF (%lld bytes) in %.1f ms (median of %zu; goal 300 ms)\n",
                static_cast<long long>(rtfSize), median(writes), writes.size());
    return 0;
}
