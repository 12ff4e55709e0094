#include "fulltext/pdftext.h"

#include <QFile>
#include <QRectF>

#include <poppler-qt6.h>

#include <mutex>

namespace ferlin {

PdfText readPdfText(const QString &path)
{
    // A damaged file is listed at the end of the run: Poppler need not say it on the console.
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, QVariant());
    });
    PdfText text;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return text;
    file.close();
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document) {
        text.status = PdfText::Status::Damaged;
        return text;
    }
    if (document->isLocked()) {
        text.status = PdfText::Status::Locked;
        return text;
    }
    const int pages = document->numPages();
    for (int i = 0; i < pages; ++i) {
        const std::unique_ptr<Poppler::Page> page = document->page(i);
        // Line breaks and runs of blanks as one blank: extracts read as running text.
        text.pages << (page ? page->text(QRectF()).simplified() : QString());
    }
    text.status = PdfText::Status::Read;
    return text;
}

QString pdfProblem(PdfText::Status status)
{
    switch (status) {
    case PdfText::Status::Read:
        return {};
    case PdfText::Status::Unreadable:
        return QStringLiteral("fichier illisible (introuvable ou accès refusé)");
    case PdfText::Status::Damaged:
        return QStringLiteral("fichier endommagé ou qui n'est pas un PDF");
    case PdfText::Status::Locked:
        return QStringLiteral("fichier protégé par un mot de passe");
    }
    return {};
}

} // namespace ferlin
