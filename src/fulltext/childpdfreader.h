#pragma once

#include "fulltext/pdftext.h"
#include "platform/readerprocess.h"

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
    PdfText read(const QString &path);
    // Ends the child now (it is started again by the next read).
    void stop() { m_child.stop(); }

private:
    ReaderProcess m_child;
};

// The child's side: reads each PDF named on the standard input, one a line, and answers its
// text, until the input ends. Returns the exit status.
int servePdfFiles();

} // namespace ferlin
