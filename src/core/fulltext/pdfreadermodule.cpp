// The PDF reader module: Poppler and the twenty libraries it brings are loaded only when texts
// are indexed, not at every start of the program (see fulltext/pdftext.cpp).
#include "core/fulltext/pdftext.h"

#include <QFile>
#include <QRectF>

#include <poppler-qt6.h>

#include <mutex>

namespace {

// A one-page PDF without content, its cross-reference table written with the offsets it has.
QByteArray emptyDocument()
{
    const char *const objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 10 10] >>",
    };
    QByteArray pdf("%PDF-1.4\n");
    QByteArray table = QByteArray("xref\n0 4\n0000000000 65535 f \n");
    for (int i = 0; i < 3; ++i) {
        table += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(i + 1) + " 0 obj " + objects[i] + " endobj\n";
    }
    const QByteArray start = QByteArray::number(pdf.size());
    return pdf + table + "trailer << /Size 4 /Root 1 0 R >>\nstartxref\n" + start + "\n%%EOF\n";
}

// Poppler's Qt binding builds Poppler's global state (its character tables, the scan of its
// data folders) when a first document is opened and tears it down when the last one is closed:
// file after file, it would build it again for each, which takes as long as reading a short
// article. A small document of its own stays open for the rest of the run, so that the state
// is built once. Also silences Poppler: a damaged file is listed at the end of the run, Poppler
// need not say it on the console.
void keepPopplerState()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, QVariant());
        // Never closed: the state lives as long as the process.
        static Poppler::Document *const kept =
            Poppler::Document::loadFromData(emptyDocument()).release();
        Q_UNUSED(kept);
    });
}

} // namespace

extern "C" Q_DECL_EXPORT void ferlinReadPdfText(const QString &path, ferlin::PdfText &text)
{
    using ferlin::PdfText;
    keepPopplerState();
    text = PdfText();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    file.close();
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document) {
        text.status = PdfText::Status::Damaged;
        return;
    }
    if (document->isLocked()) {
        text.status = PdfText::Status::Locked;
        return;
    }
    const int pages = document->numPages();
    for (int i = 0; i < pages; ++i) {
        const std::unique_ptr<Poppler::Page> page = document->page(i);
        // Line breaks and runs of blanks as one blank: extracts read as running text.
        text.pages << (page ? page->text(QRectF()).simplified() : QString());
    }
    text.status = PdfText::Status::Read;
}
