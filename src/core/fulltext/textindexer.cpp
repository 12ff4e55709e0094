#include "core/fulltext/textindexer.h"

#include "core/fulltext/childpdfreader.h"
#include "core/fulltext/fulltextquery.h"
#include "core/fulltext/pdftext.h"
#include "core/fulltext/textindex.h"
#include "core/platform/storedpath.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace ferlin {

TextIndexer::TextIndexer(QString indexPath, QObject *parent)
    : QObject(parent), m_indexPath(std::move(indexPath))
{
    qRegisterMetaType<IndexingReport>();
}

TextIndexer::~TextIndexer()
{
    cancel();
    if (m_thread)
        m_thread->wait();
}

bool TextIndexer::isRunning() const
{
    return m_running;
}

void TextIndexer::start(std::vector<TextToIndex> texts)
{
    if (isRunning())
        return;
    if (m_thread)
        m_thread->wait();
    m_cancel = false;
    m_running = true;
    m_thread.reset(QThread::create([this, texts = std::move(texts)] { run(texts); }));
    m_thread->start(QThread::LowPriority);
}

void TextIndexer::cancel()
{
    m_cancel = true;
}

namespace {

// The texts stored (or failures recorded) in one transaction: storing each text in its own
// costs the index two and a half times as long (FTS5 writes out the terms it holds at each
// commit), and a kill loses at most these, never the index.
constexpr int BatchWrites = 256;
// How often the progress is told.
constexpr qint64 ProgressMs = 50;

// A text to read, once its file is known to be there and not indexed as it is.
struct Job {
    size_t text = 0; // its place in the texts given
    int rang = 0;
    QString file;
    TextIndex::FileStamp stamp;
};

// The jobs shared out between the readers, and their texts handed to the one writer in the
// order of the jobs, whatever order they are read in: the index is written in the same order
// by one reader or by several. A reader takes no job more than Window jobs ahead of the one the
// writer waits for, so that a file slow to read holds back a bounded number of texts.
class Results {
public:
    static constexpr size_t Window = 256;

    Results(size_t jobs, std::function<bool()> stopped)
        : m_jobs(jobs), m_stopped(std::move(stopped))
    {
    }

    // The next job to read; nothing when every job is taken or the readers stop. Without
    // `wait`, nothing also when the readers are Window jobs ahead.
    std::optional<size_t> take(bool wait)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (m_taken < m_jobs && m_taken >= m_written + Window) {
            if (!wait || m_stopped())
                return std::nullopt;
            m_changed.wait_for(lock, std::chrono::milliseconds(50));
        }
        if (m_taken == m_jobs || m_stopped())
            return std::nullopt;
        return m_taken++;
    }
    void push(size_t job, PdfText text)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_ready.emplace(job, std::move(text));
        }
        m_changed.notify_all();
    }
    void readerDone()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            ++m_readersDone;
        }
        m_changed.notify_all();
    }
    // The text of the next job in order, or nothing once every reader is done without it.
    std::optional<std::pair<size_t, PdfText>> next(int readers)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const auto ready = [&] { return m_ready.count(m_written) > 0; };
        m_changed.wait(lock, [&] { return ready() || m_readersDone == readers; });
        if (!ready())
            return std::nullopt;
        const auto found = m_ready.find(m_written);
        std::pair<size_t, PdfText> result(found->first, std::move(found->second));
        m_ready.erase(found);
        ++m_written;
        lock.unlock();
        m_changed.notify_all();
        return result;
    }

private:
    const size_t m_jobs;
    const std::function<bool()> m_stopped;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<size_t, PdfText> m_ready;
    size_t m_taken = 0;   // jobs given to the readers
    size_t m_written = 0; // jobs handed to the writer
    int m_readersDone = 0;
};

// The causes worth remembering: the same file would fail the same way again.
bool isLasting(PdfText::Status status)
{
    switch (status) {
    case PdfText::Status::Damaged:
    case PdfText::Status::Locked:
    case PdfText::Status::Stalled:
    case PdfText::Status::OutOfMemory:
    case PdfText::Status::Crashed:
        return true;
    default:
        return false;
    }
}

} // namespace

void TextIndexer::run(const std::vector<TextToIndex> &texts)
{
    IndexingReport report;
    const int total = int(texts.size());
    int done = 0;
    // The problems, listed in the order of the texts whatever the order they are found in.
    std::vector<std::pair<size_t, QString>> problems;
    try {
        TextIndex index(m_indexPath);
        std::vector<Job> jobs;
        for (size_t i = 0; i < texts.size(); ++i) {
            const TextToIndex &text = texts[i];
            const QString file = resolveStoredPath(text.root, text.storedPath);
            const QFileInfo info(file);
            if (!info.isFile()) {
                problems.emplace_back(i, file + QStringLiteral(" : fichier introuvable"));
                ++done;
                continue;
            }
            const TextIndex::FileStamp stamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
            if (index.isCurrent(text.rang, stamp)) {
                ++report.unchanged;
                ++done;
                continue;
            }
            const QString cause = index.failureOf(text.rang, stamp);
            if (!cause.isEmpty()) {
                problems.emplace_back(i, file + QStringLiteral(" : ") + cause);
                ++done;
                continue;
            }
            jobs.push_back({i, text.rang, file, stamp});
        }
        // Written in the order of their rows (Rang, then the page): FTS5 adds a row of a higher
        // number to the terms it holds, but writes them all out before a lower one, which
        // doubles the time and the size of the index written.
        std::stable_sort(jobs.begin(), jobs.end(),
                         [](const Job &a, const Job &b) { return a.rang < b.rang; });

        // The readers take the files in turn, each through its own child, asking for the next
        // file while the last one's text is handed over; this thread alone writes the index.
        std::atomic<bool> stopReaders{false};
        const auto stopped = [this, &stopReaders] { return m_cancel || stopReaders; };
        Results results(jobs.size(), stopped);
        const auto read = [&] {
            ChildPdfReader reader(m_limits);
            reader.setIdle([&stopped] { return !stopped(); });
            std::optional<size_t> job = results.take(true);
            while (job && !stopped()) {
                const std::optional<size_t> ahead = results.take(false);
                PdfText text = reader.read(jobs[*job].file, ahead ? jobs[*ahead].file : QString());
                for (QString &page : text.pages)
                    page = expandLigatures(std::move(page));
                results.push(*job, std::move(text));
                job = ahead ? ahead : results.take(true);
            }
            results.readerDone();
        };
        const int readers = int(std::min<size_t>(size_t(m_readerCount), jobs.size()));
        std::vector<std::thread> threads;
        for (int i = 0; i < readers; ++i)
            threads.emplace_back(read);
        // However this thread leaves, the readers stop and are waited for.
        const auto joinReaders = qScopeGuard([&] {
            stopReaders = true;
            for (std::thread &thread : threads)
                thread.join();
        });
        if (!jobs.empty())
            Q_EMIT progress(done, total, jobs.front().file);
        // Written by batches of a fixed number of writes, so that the index's file is the same
        // whichever reader was quicker.
        int inBatch = 0;
        const auto write = [&](const auto &store) {
            if (inBatch == 0)
                index.beginBatch();
            store();
            if (++inBatch == BatchWrites) {
                index.commitBatch();
                inBatch = 0;
            }
        };
        QElapsedTimer sinceTold;
        sinceTold.start();
        while (const auto result = results.next(readers)) {
            if (m_cancel)
                break;
            const Job &job = jobs[result->first];
            const PdfText &pdf = result->second;
            ++done;
            if (pdf.status == PdfText::Status::Read) {
                write([&] { index.storeText(job.rang, job.file, job.stamp, pdf.pages); });
                ++report.indexed;
            } else if (pdf.status != PdfText::Status::Cancelled) {
                const QString cause = pdfProblem(pdf.status);
                problems.emplace_back(job.text, job.file + QStringLiteral(" : ") + cause);
                if (isLasting(pdf.status))
                    write([&] { index.recordFailure(job.rang, job.file, job.stamp, cause); });
            }
            // Told a few times a second: a screen told of each file would spend a processor
            // showing them.
            if (sinceTold.elapsed() >= ProgressMs) {
                sinceTold.restart();
                const size_t following = std::min(result->first + 1, jobs.size() - 1);
                Q_EMIT progress(done, total, jobs[following].file);
            }
        }
        if (inBatch > 0)
            index.commitBatch();
        report.cancelled = m_cancel;
        if (!report.cancelled)
            Q_EMIT progress(total, total, QString());
    } catch (const DbError &error) {
        report.failure = QStringLiteral("L'index des textes « %1 » ne peut pas être écrit : %2")
                             .arg(m_indexPath, error.description());
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &problem : problems)
        report.problems << problem.second;
    // A run may start as soon as this one is told ended, while its thread is still finishing.
    m_running = false;
    Q_EMIT ended(report);
}

} // namespace ferlin
