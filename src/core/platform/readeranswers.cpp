#include "core/platform/readeranswers.h"

#include "core/platform/readerprocess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace ferlin {

namespace {

constexpr qsizetype Piece = 64 * 1024;
constexpr int ExitOutOfMemory = 3;

void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            ::_exit(1); // the program is gone: nobody to answer
        data += written;
        size -= size_t(written);
    }
}

void outOfMemory()
{
    static const char said[] = "ferlin-reader: out of memory\n";
    writeAll(STDERR_FILENO, said, sizeof said - 1);
    ::_exit(ExitOutOfMemory);
}

} // namespace

void ReaderAnswers::frame(const QByteArray &payload)
{
    m_pending += readerFrame(payload);
    if (m_pending.size() >= Piece)
        flush();
}

void ReaderAnswers::endAnswer()
{
    flush();
    writeAll(STDERR_FILENO, BoundedLog::SyncMark, sizeof BoundedLog::SyncMark - 1);
}

void ReaderAnswers::flush()
{
    if (m_pending.isEmpty())
        return;
    writeAll(STDOUT_FILENO, m_pending.constData(), size_t(m_pending.size()));
    m_pending.clear();
}

bool readQuestion(QString &line)
{
    std::string bytes;
    for (;;) {
        const int c = std::getchar();
        if (c == EOF)
            return false;
        if (c == '\n')
            break;
        bytes.push_back(char(c));
    }
    line = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return true;
}

void limitReaderChild()
{
    std::set_new_handler(outOfMemory);
#ifndef FERLIN_ADDRESS_SANITIZER // its shadow memory takes more address space than any limit
    if (const char *limit = std::getenv("FERLIN_READER_MEMORY")) {
        const rlim_t bytes = rlim_t(std::strtoull(limit, nullptr, 10));
        if (bytes > 0) {
            const rlimit space{bytes, bytes};
            setrlimit(RLIMIT_AS, &space);
        }
    }
#endif
}

} // namespace ferlin
