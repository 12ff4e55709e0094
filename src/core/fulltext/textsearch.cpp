#include "core/fulltext/textsearch.h"

#include <QThread>

#include <algorithm>

namespace ferlin {

struct TextSearch::Run {
    std::atomic<bool> stop{false};
    std::unique_ptr<QThread> thread;
};

TextSearch::TextSearch(QString indexPath, QObject *parent)
    : QObject(parent), m_indexPath(std::move(indexPath))
{
    qRegisterMetaType<std::vector<TextIndex::Hit>>();
}

TextSearch::~TextSearch()
{
    stop();
    for (const std::unique_ptr<Run> &run : m_runs)
        run->thread->wait();
}

void TextSearch::start(const QString &match)
{
    stop();
    forgetEnded();
    const quint64 id = ++m_current;
    m_running = true;
    auto run = std::make_unique<Run>();
    const std::atomic<bool> *stopFlag = &run->stop;
    run->thread.reset(QThread::create([this, id, match, stopFlag, path = m_indexPath] {
        std::vector<TextIndex::Hit> hits;
        QString failure;
        bool stopped = false;
        try {
            TextIndex index(path);
            hits = index.search(match, stopFlag);
        } catch (const DbError &error) {
            stopped = error.number() == DbErrorCode::Cancelled;
            failure = error.description();
        }
        if (stopped)
            return;
        // Told in this object's thread, and only if no other query has started since.
        QMetaObject::invokeMethod(
            this,
            [this, id, hits = std::move(hits), failure] {
                if (id != m_current || !m_running)
                    return;
                m_running = false;
                if (failure.isEmpty())
                    Q_EMIT found(hits);
                else
                    Q_EMIT failed(failure);
            },
            Qt::QueuedConnection);
    }));
    run->thread->start();
    m_runs.push_back(std::move(run));
}

void TextSearch::stop()
{
    m_running = false;
    for (const std::unique_ptr<Run> &run : m_runs)
        run->stop = true;
}

void TextSearch::forgetEnded()
{
    m_runs.erase(
        std::remove_if(m_runs.begin(), m_runs.end(),
                       [](const std::unique_ptr<Run> &run) { return run->thread->isFinished(); }),
        m_runs.end());
}

} // namespace ferlin
