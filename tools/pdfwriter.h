#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace ferlin::sample {

// What a page of a sample text shows, top to bottom.
struct PdfPage {
    QString header;     // a small line: journal, bulletin, month and year
    QString title;      // in large bold type, wrapped to the page width; none after the first
    QStringList blocks; // paragraphs in text type, each wrapped; an empty one leaves a gap
    QString footer;
};

// A complete, valid A4 PDF of the pages in order (PDF 1.4, the standard Helvetica fonts with
// WinAnsiEncoding, uncompressed content streams, exact cross-reference offsets). Text past the
// bottom margin of a page is left out.
QByteArray pdfDocument(const std::vector<PdfPage> &pages);
QByteArray onePagePdf(const PdfPage &page);

// A PDF literal string "(...)" for text shown with WinAnsiEncoding: ( ) and \ escaped, every
// byte past ASCII written as an octal escape, a character the encoding lacks written as "?".
QByteArray pdfLiteral(const QString &text);

} // namespace ferlin::sample
