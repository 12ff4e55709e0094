#pragma once

#include <QString>

namespace ferlin {

// A printer fed one line at a time (the basket print): a font, lines that start a new page by
// themselves when the page is full, and the end of the document. Margins and paper are the
// printer's own. Failures throw PlatformError 482.
class LinePrinter {
public:
    virtual ~LinePrinter() = default;

    // Whether the system has a default printer. Where it has none, the caller offers to print
    // into a PDF file instead.
    virtual bool hasDefaultPrinter() const = 0;
    // Starts a document on the default printer when pdfFile is empty, otherwise into that
    // PDF file.
    virtual void beginDocument(const QString &pdfFile) = 0;
    // The font of the lines printed next; may be set before the document starts.
    virtual void setFont(const QString &family, double pointSize) = 0;
    // Prints a line below the previous one. A line feed inside starts another line; carriage
    // returns are not printed.
    virtual void printLine(const QString &text) = 0;
    // Ends the document: it goes to the printer (or the file is written).
    virtual void endDocument() = 0;
};

} // namespace ferlin
