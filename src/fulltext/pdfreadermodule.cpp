// The PDF reader module: Poppler and the twenty libraries it brings are loaded only when texts
// are indexed, not at every start of the program (see fulltext/pdftext.cpp).
#include "fulltext/pdftext.h"

#include <QFile>
#include <QRectF>

#include <poppler-qt6.h>

#include <mutex>

extern "C" Q_DECL_EXPORT void ferlinReadPdfText(const QString &path, ferlin::PdfText &text)
{
    using ferlin::PdfText;
    // A damaged file is listed at the end of the run: Poppler need not say it on the console.
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, QVariant());
    });
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
