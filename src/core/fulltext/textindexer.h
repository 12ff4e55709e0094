#pragma once

#include "core/fulltext/childpdfreader.h"
#include "core/fulltext/reachabletexts.h"

#include <QMetaType>
#include <QObject>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

class QThread;

namespace ferlin {

// How a run of the indexer ended.
struct IndexingReport {
    int indexed = 0;      // texts read and stored by this run
    int unchanged = 0;    // texts skipped: indexed already from a file of the same size and time
    QStringList problems; // "file : why", one per text that could not be read
    bool cancelled = false;
    QString failure; // the index itself could not be written (French); the run stopped
};

// Builds the text index in a worker thread: the texts read by two reader children (both
// processors; Poppler never runs in the program's process), stored by the worker alone in the
// order of their Rang, whichever child reads faster (so the index is the same with one reader
// or two), by transactions of several whole texts; a file already indexed with the same
// size and time skipped, an unreadable or damaged one listed in the report and passed over. A
// file that was damaged or stopped its reader is remembered in the index with its cause and not
// read again until it changes. The worker has its own connection to the index; progress and the
// end are signalled (queued to the receivers' thread). Cancelling stops the readers within a
// tenth of a second.
class TextIndexer : public QObject {
    Q_OBJECT
public:
    static constexpr int ReaderCount = 2;

    explicit TextIndexer(QString indexPath, QObject *parent = nullptr);
    // Cancels a run and waits for the file being read.
    ~TextIndexer() override;

    bool isRunning() const;
    // Starts a run over the texts; does nothing while one runs.
    void start(std::vector<TextToIndex> texts);
    void cancel();
    // What reading one file may take (the default: 20 s).
    void setReaderLimits(const ReaderLimits &limits) { m_limits = limits; }
    // How many reader children read at once (the default: ReaderCount), for the next run.
    void setReaderCount(int count) { m_readerCount = std::max(1, count); }

Q_SIGNALS:
    // At the start, then about twenty times a second: how many are done out of how many, and
    // the file being read; at the end, (total, total, empty).
    void progress(int done, int total, const QString &file);
    void ended(const ferlin::IndexingReport &report);

private:
    void run(const std::vector<TextToIndex> &texts);

    QString m_indexPath;
    ReaderLimits m_limits = pdfReaderLimits();
    int m_readerCount = ReaderCount;
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_running{false};
};

} // namespace ferlin

Q_DECLARE_METATYPE(ferlin::IndexingReport)
