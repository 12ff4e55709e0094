#pragma once

#include "core/fulltext/pdftext.h"
#include "core/platform/readerprocess.h"

#include <deque>

namespace ferlin {

// What reading one PDF may take: a file still unread after 20 s, or silent for as long, is
// given up.
ReaderLimits pdfReaderLimits();

// Reads the texts of PDFs in a child process ("ferlin-reader --pdf"), one file at a time:
// Poppler never runs in the program's own process, so a file that hangs it, exhausts the memory
// or crashes it only costs that file (Stalled, OutOfMemory, Crashed), and the next file gets a
// new child. One thread drives a reader.
class ChildPdfReader {
public:
    explicit ChildPdfReader(ReaderLimits limits = pdfReaderLimits());

    // Called while waiting, about every 50 ms; returning false stops the reading (Cancelled).
    void setIdle(ReaderProcess::Idle idle) { m_child.setIdle(std::move(idle)); }
    // The text of `path`. With `next`, that file is asked for at once too: the child reads it
    // while the caller handles this text, and the next call, for `next`, only waits for its
    // answer. A file asked for ahead whose child is stopped first is asked again of the next.
    PdfText read(const QString &path, const QString &next = QString());
    // Ends the child now (it is started again by the next read).
    void stop();

private:
    void ask(const QString &path);

    ReaderProcess m_child;
    std::deque<QString> m_asked; // sent to the child, not yet answered, oldest first
};

// The child's side: reads each PDF named on the standard input, one a line, and answers its
// text, until the input ends. Returns the exit status.
int servePdfFiles();

} // namespace ferlin
