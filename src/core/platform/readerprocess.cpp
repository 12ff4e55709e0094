#include "core/platform/readerprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtEndian>

namespace ferlin {

namespace {

constexpr int PollMs = 50;
// A frame longer than this is no frame of ours: the child is lost.
constexpr quint32 LongestFrame = 512u << 20;
constexpr qsizetype TailKept = 4096;
constexpr int ExitOutOfMemory = 3;

QByteArray syncMark()
{
    return QByteArray(BoundedLog::SyncMark);
}

#ifdef FERLIN_ADDRESS_SANITIZER
constexpr bool AddressSanitizer = true;
#else
constexpr bool AddressSanitizer = false;
#endif

// What the allocators say when memory runs out: GLib, Poppler, the C++ library, the sanitizer.
bool saysOutOfMemory(const QByteArray &text)
{
    static const char *const words[] = {
        "failed to allocate", "out of memory",           "Out of memory",    "bad_alloc",
        "rss limit",          "allocation-size-too-big", "memory exhausted", "Cannot allocate"};
    for (const char *word : words)
        if (text.contains(word))
            return true;
    return false;
}

} // namespace

QString readerProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ferlin-reader"));
}

QByteArray readerFrame(const QByteArray &payload)
{
    QByteArray frame(4, '\0');
    qToBigEndian(quint32(payload.size()), frame.data());
    return frame + payload;
}

void BoundedLog::add(const QByteArray &bytes)
{
    // Marks are counted across pieces: the end of a piece is kept until the next one.
    QByteArray text = m_pending + bytes;
    const QByteArray mark = syncMark();
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(mark); at >= 0; at = text.indexOf(mark, from)) {
        keep(text.mid(from, at - from));
        from = at + mark.size();
        ++m_syncs;
        m_beforeSync = m_head.size();
    }
    // Only an end that may begin a mark waits for the next piece.
    qsizetype held = std::min(mark.size() - 1, text.size() - from);
    while (held > 0 && !text.endsWith(mark.left(held)))
        --held;
    const qsizetype keepFrom = text.size() - held;
    keep(text.mid(from, keepFrom - from));
    m_pending = text.mid(keepFrom);
}

void BoundedLog::keep(const QByteArray &plain)
{
    if (plain.isEmpty())
        return;
    const qsizetype room = Kept - m_head.size();
    if (room > 0)
        m_head += plain.left(room);
    if (plain.size() > room)
        m_dropped += plain.size() - std::max<qsizetype>(room, 0);
    m_tail = QByteArray(m_tail + plain).right(TailKept);
}

QString BoundedLog::saidBeforeLastSync() const
{
    const QByteArray line = m_head.left(m_beforeSync).trimmed().split('\n').value(0).trimmed();
    return QString::fromUtf8(line.left(300));
}

ReaderProcess::ReaderProcess(ReaderLimits limits) : m_limits(limits) {}

ReaderProcess::~ReaderProcess()
{
    stop();
}

bool ReaderProcess::start(const QStringList &arguments)
{
    stop();
    m_buffer.clear();
    m_log = BoundedLog();
    m_failure = ReaderFailure::None;
    m_process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString limit = QString::number(m_limits.memoryBytes);
    environment.insert(QStringLiteral("FERLIN_READER_MEMORY"), limit);
    if (AddressSanitizer) {
        // The sanitizer reserves far more address space than any limit: it watches the
        // resident memory instead.
        QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
        if (!options.isEmpty())
            options += u':';
        options += QStringLiteral("hard_rss_limit_mb=%1").arg(m_limits.memoryBytes >> 20);
        environment.insert(QStringLiteral("ASAN_OPTIONS"), options);
    }
    m_process->setProcessEnvironment(environment);
    m_process->start(readerProgram(), arguments);
    m_sinceSend.start();
    if (!m_process->waitForStarted(10000)) {
        m_process.reset();
        m_failure = ReaderFailure::NotStarted;
        return false;
    }
    return true;
}

bool ReaderProcess::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

void ReaderProcess::send(const QString &line)
{
    if (!isRunning())
        return;
    m_process->write(line.toUtf8() + '\n');
    m_sinceSend.start();
}

std::optional<QByteArray> ReaderProcess::nextFrame()
{
    if (m_failure != ReaderFailure::None)
        return std::nullopt;
    for (;;) {
        if (m_buffer.size() >= 4) {
            const quint32 length = qFromBigEndian<quint32>(m_buffer.constData());
            if (length > LongestFrame) {
                fail(ReaderFailure::Crashed);
                return std::nullopt;
            }
            if (quint32(m_buffer.size() - 4) >= length) {
                QByteArray payload = m_buffer.mid(4, qsizetype(length));
                m_buffer.remove(0, 4 + qsizetype(length));
                return payload;
            }
        }
        if (!waitForMore(true))
            return std::nullopt;
    }
}

bool ReaderProcess::waitForSyncs(int count)
{
    while (m_failure == ReaderFailure::None && m_log.syncs() < count)
        if (!waitForMore(false))
            return false;
    return m_failure == ReaderFailure::None;
}

// Waits for bytes on the standard output (or the standard error, when waiting for a mark),
// watching the limits, the caller and the child's life.
bool ReaderProcess::waitForMore(bool forFrame)
{
    if (!m_process) {
        m_failure = ReaderFailure::NotStarted;
        return false;
    }
    QElapsedTimer quiet;
    quiet.start();
    const qsizetype had = m_buffer.size();
    const int syncs = m_log.syncs();
    for (;;) {
        m_process->waitForReadyRead(PollMs);
        drainError();
        m_buffer += m_process->readAllStandardOutput();
        if (forFrame ? m_buffer.size() > had : m_log.syncs() > syncs)
            return true;
        if (m_process->state() != QProcess::Running) {
            // What it wrote before it ended may still wait in the pipes.
            m_process->waitForFinished(1000);
            drainError();
            m_buffer += m_process->readAllStandardOutput();
            if (forFrame ? m_buffer.size() > had : m_log.syncs() > syncs)
                return true;
            fail(causeOfDeath());
            return false;
        }
        if (m_idle && !m_idle()) {
            fail(ReaderFailure::Cancelled);
            return false;
        }
        if (quiet.elapsed() > m_limits.stallMs ||
            (m_limits.answerMs > 0 && m_sinceSend.elapsed() > m_limits.answerMs)) {
            fail(ReaderFailure::Stalled);
            return false;
        }
    }
}

void ReaderProcess::drainError()
{
    const QByteArray bytes = m_process->readAllStandardError();
    if (!bytes.isEmpty())
        m_log.add(bytes);
}

ReaderFailure ReaderProcess::causeOfDeath() const
{
    const bool memory = saysOutOfMemory(m_log.head()) || saysOutOfMemory(m_log.tail());
    if (m_process->exitStatus() == QProcess::NormalExit && m_process->exitCode() == ExitOutOfMemory)
        return ReaderFailure::OutOfMemory;
    return memory ? ReaderFailure::OutOfMemory : ReaderFailure::Crashed;
}

void ReaderProcess::fail(ReaderFailure failure)
{
    m_failure = failure;
    stop();
}

void ReaderProcess::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    m_process.reset();
}

QString readerFailureText(ReaderFailure failure)
{
    switch (failure) {
    case ReaderFailure::None:
        return {};
    case ReaderFailure::NotStarted:
        return QStringLiteral("le lecteur « %1 » ne peut pas être lancé")
            .arg(QDir::toNativeSeparators(readerProgram()));
    case ReaderFailure::Stalled:
        return QStringLiteral("sa lecture ne progresse plus");
    case ReaderFailure::OutOfMemory:
        return QStringLiteral("sa lecture demande trop de mémoire");
    case ReaderFailure::Crashed:
        return QStringLiteral("sa lecture a arrêté le lecteur");
    case ReaderFailure::Cancelled:
        return QStringLiteral("sa lecture a été arrêtée");
    }
    return {};
}

} // namespace ferlin
