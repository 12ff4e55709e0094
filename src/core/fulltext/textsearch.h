#pragma once

#include "core/fulltext/textindex.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class QThread;

namespace ferlin {

// Runs the queries of the full-text search off the user-interface thread, each in a thread of
// its own with its own connection to the index, so that the window stays responsive however
// long a query takes. Starting a query stops the one still running (SQLite's progress handler
// sees it within a few thousand steps) and its result is never told; so does stop().
class TextSearch : public QObject {
    Q_OBJECT
public:
    explicit TextSearch(QString indexPath, QObject *parent = nullptr);
    // Stops every query and waits for their threads.
    ~TextSearch() override;

    void start(const QString &match);
    void stop();
    // A query started and not yet told.
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // The pages found by the last query started (queued to this object's thread).
    void found(const std::vector<ferlin::TextIndex::Hit> &hits);
    // The last query could not be run; the reason is for the log only.
    void failed(const QString &reason);

private:
    struct Run;
    void forgetEnded();

    QString m_indexPath;
    std::vector<std::unique_ptr<Run>> m_runs;
    quint64 m_current = 0;
    bool m_running = false;
};

} // namespace ferlin

Q_DECLARE_METATYPE(std::vector<ferlin::TextIndex::Hit>)
