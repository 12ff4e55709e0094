#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ferlin::sample {

// What the one page of a sample text shows, top to bottom.
struct PdfPage {
    QString header;     // a small line: journal, bulletin, month and year
    QString title;      // in large bold type, wrapped to the page width
    QStringList blocks; // paragraphs in text type, each wrapped; an empty one leaves a gap
    QString footer;
};

// A complete, valid one-page A4 PDF (PDF 1.4, the standard Helvetica fonts with
// WinAnsiEncoding, an uncompressed content stream, exact cross-reference offsets).
QByteArray onePagePdf(const PdfPage &page);

// A PDF literal string "(...)" for text shown with WinAnsiEncoding: ( ) and \ escaped, every
// byte past ASCII written as an octal escape, a character the encoding lacks written as "?".
QByteArray pdfLiteral(const QString &text);

} // namespace ferlin::sample
