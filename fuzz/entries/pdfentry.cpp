#include "fuzzentries.h"
#include "inputfile.h"

#include "core/fulltext/childpdfreader.h"
#include "core/fulltext/pdftext.h"

#include <QElapsedTimer>

namespace ferlin::fuzz {

namespace {

using Status = PdfText::Status;

// What only a file read to its end may hold: its pages.
std::string PagesOnlyWhenRead(const PdfText &text)
{
    if (text.status != Status::Read && !text.pages.isEmpty())
        return "a file not read gives pages";
    return {};
}

} // namespace

std::string PdfTextRead(const std::uint8_t *data, std::size_t size)
{
    const QString path = WriteInputFile("input.pdf", data, size);
    if (path.isEmpty())
        return "the input cannot be written to a file";
    const PdfText text = readPdfText(path);
    switch (text.status) {
    case Status::Read:
    case Status::Damaged:
    case Status::Locked:
        return PagesOnlyWhenRead(text);
    case Status::NoReader:
        return "the reader module is not found beside the program";
    case Status::Unreadable:
        return "a file just written cannot be opened";
    default:
        return "a reading in the program's process tells of a reader child (" +
               pdfProblem(text.status).toStdString() + ')';
    }
}

std::string PdfTextReadInChild(const std::uint8_t *data, std::size_t size)
{
    const QString path = WriteInputFile("input.pdf", data, size);
    if (path.isEmpty())
        return "the input cannot be written to a file";
    ReaderLimits limits = pdfReaderLimits();
    limits.stallMs = limits.answerMs = 3000;
    limits.memoryBytes = qint64(512) << 20;
    ChildPdfReader reader(limits);
    QElapsedTimer clock;
    clock.start();
    const PdfText text = reader.read(path);
    // The answer may come at the limit, then the child is stopped and reaped.
    if (clock.elapsed() > limits.answerMs + 3000)
        return "the reader child answered after " + std::to_string(clock.elapsed()) +
               " ms, past its limits";
    switch (text.status) {
    case Status::Read:
    case Status::Damaged:
    case Status::Locked:
    case Status::Stalled:
    case Status::OutOfMemory:
    case Status::Crashed:
        return PagesOnlyWhenRead(text);
    default:
        return "the reader child does not read it: " + pdfProblem(text.status).toStdString();
    }
}

} // namespace ferlin::fuzz
