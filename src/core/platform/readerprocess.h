#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QProcess;

namespace ferlin {

// What a reader child may take before it is stopped.
struct ReaderLimits {
    // No frame (and no byte of one) for this long: the reader is stuck in the file.
    int stallMs = 15000;
    // An answer still incomplete this long after its question (or the start), even while bytes
    // come: 0 for no such limit.
    int answerMs = 0;
    // The child's address space (RLIMIT_AS), set by the child itself at its start.
    qint64 memoryBytes = qint64(1536) << 20;
};

// Why a child gave no answer.
enum class ReaderFailure {
    None,
    NotStarted,  // the reader program is missing or cannot be run
    Stalled,     // no progress within the limits
    OutOfMemory, // it ran out of its memory
    Crashed,     // it died of a signal or ended without its answer
    Cancelled,   // the caller asked to stop
};

// The reader program beside the executable: "ferlin-reader", in the build folder as once
// installed.
QString readerProgram();

// The frames a reader child and the program exchange: a 4-byte big-endian length, then that
// many bytes.
QByteArray readerFrame(const QByteArray &payload);

// The first lines a reader child wrote on its standard error are kept; the rest is counted and
// dropped, so that a library flooding its standard error never fills a disk or the memory.
class BoundedLog {
public:
    static constexpr qsizetype Kept = 64 * 1024;
    // What a child writes on its standard error after each answer, so that the program knows
    // that everything the child said before it has been read.
    static constexpr char SyncMark[] = "\x1e"
                                       "ferlin-reader-sync"
                                       "\x1e\n";

    void add(const QByteArray &bytes);
    // The text kept, sync marks removed.
    const QByteArray &head() const { return m_head; }
    // The last bytes written, for the cause of a death told at the end.
    const QByteArray &tail() const { return m_tail; }
    qint64 dropped() const { return m_dropped; }
    // Sync marks seen so far.
    int syncs() const { return m_syncs; }
    // The first line of what the child said before its last sync mark (not what it says as it
    // ends), empty when it said nothing.
    QString saidBeforeLastSync() const;

private:
    void keep(const QByteArray &plain);

    QByteArray m_head;
    qsizetype m_beforeSync = 0; // the head's size at the last mark
    QByteArray m_tail;
    QByteArray m_pending; // the end of the last piece, where a mark may begin
    qint64 m_dropped = 0;
    int m_syncs = 0;
};

// One reader child: the reader program run with some arguments, fed lines on its standard
// input, answering frames on its standard output. Every wait watches the child: no progress
// within the limits, or the child's death, ends the wait with the cause; the standard error is
// read into a BoundedLog all along. Not thread-safe: one thread drives a child.
class ReaderProcess {
public:
    // Called while waiting, about every 50 ms; returning false stops the child (Cancelled).
    using Idle = std::function<bool()>;

    explicit ReaderProcess(ReaderLimits limits = {});
    ~ReaderProcess();
    ReaderProcess(const ReaderProcess &) = delete;
    ReaderProcess &operator=(const ReaderProcess &) = delete;

    void setIdle(Idle idle) { m_idle = std::move(idle); }
    const ReaderLimits &limits() const { return m_limits; }

    // Starts the child; false (NotStarted) when it cannot be run.
    bool start(const QStringList &arguments);
    bool isRunning() const;
    // Writes a line on the child's standard input.
    void send(const QString &line);
    // The next frame's payload, or nothing with failure() telling why.
    std::optional<QByteArray> nextFrame();
    // Waits until the child's standard error has been read up to its last sync mark, that is
    // until it holds `count` marks. False on failure.
    bool waitForSyncs(int count);
    // Kills the child at once and reaps it.
    void stop();

    ReaderFailure failure() const { return m_failure; }
    const BoundedLog &log() const { return m_log; }

private:
    bool waitForMore(bool forFrame);
    void drainError();
    void fail(ReaderFailure failure);
    ReaderFailure causeOfDeath() const;

    ReaderLimits m_limits;
    Idle m_idle;
    std::unique_ptr<QProcess> m_process;
    QElapsedTimer m_sinceSend;
    QByteArray m_buffer; // bytes of the standard output not yet taken as frames
    BoundedLog m_log;
    ReaderFailure m_failure = ReaderFailure::None;
};

// The French cause of a failure, to follow "Le fichier « … » est endommagé : ".
QString readerFailureText(ReaderFailure failure);

} // namespace ferlin
