#include "fulltext/textindexer.h"

#include "fulltext/childpdfreader.h"
#include "fulltext/fulltextquery.h"
#include "fulltext/pdftext.h"
#include "fulltext/textindex.h"
#include "platform/storedpath.h"

#include <QDateTime>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <condition_variable>
#include <deque>
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

// A text to read, once its file is known to be there and not indexed as it is.
struct Job {
    size_t text = 0; // its place in the texts given
    int rang = 0;
    QString file;
    TextIndex::FileStamp stamp;
};

// The readers' results, handed to the one writer in the order they come.
class Results {
public:
    void push(size_t job, PdfText text)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_ready.emplace_back(job, std::move(text));
        }
        m_changed.notify_one();
    }
    void readerDone()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            ++m_readersDone;
        }
        m_changed.notify_one();
    }
    // The next result, or nothing once every reader is done and everything taken.
    std::optional<std::pair<size_t, PdfText>> next(int readers)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_ready.empty() || m_readersDone == readers; });
        if (m_ready.empty())
            return std::nullopt;
        auto result = std::move(m_ready.front());
        m_ready.pop_front();
        return result;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::pair<size_t, PdfText>> m_ready;
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

        // The readers take the files in turn, each through its own child; this thread alone
        // writes the index.
        Results results;
        std::atomic<size_t> nextJob{0};
        std::atomic<bool> stopReaders{false};
        const auto stopped = [this, &stopReaders] { return m_cancel || stopReaders; };
        const auto read = [&] {
            ChildPdfReader reader(m_limits);
            reader.setIdle([&stopped] { return !stopped(); });
            for (size_t job = nextJob++; job < jobs.size() && !stopped(); job = nextJob++)
                results.push(job, reader.read(jobs[job].file));
            results.readerDone();
        };
        const int readers = int(std::min<size_t>(ReaderCount, jobs.size()));
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
        while (const auto result = results.next(readers)) {
            if (m_cancel)
                break;
            const Job &job = jobs[result->first];
            const PdfText &pdf = result->second;
            ++done;
            if (pdf.status == PdfText::Status::Read) {
                QStringList pages;
                for (const QString &page : pdf.pages)
                    pages << expandLigatures(page);
                index.storeText(job.rang, job.file, job.stamp, pages);
                ++report.indexed;
            } else if (pdf.status != PdfText::Status::Cancelled) {
                const QString cause = pdfProblem(pdf.status);
                problems.emplace_back(job.text, job.file + QStringLiteral(" : ") + cause);
                if (isLasting(pdf.status))
                    index.recordFailure(job.rang, job.file, job.stamp, cause);
            }
            const size_t following = std::min(nextJob.load(), jobs.size() - 1);
            Q_EMIT progress(done, total, jobs[following].file);
        }
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
