#include "core/fulltext/pdftext.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace ferlin {

namespace {

using ReadFunction = void (*)(const QString &, PdfText &);

// The reader module lies in the folder "modules" beside the executable, in the build folder as
// once installed.
ReadFunction loadReader()
{
    QLibrary module(QDir(QCoreApplication::applicationDirPath())
                        .filePath(QStringLiteral("modules/ferlin_pdfreader.so")));
    // Kept loaded for the rest of the run: the QLibrary object going does not unload it.
    return reinterpret_cast<ReadFunction>(module.resolve("ferlinReadPdfText"));
}

} // namespace

PdfText readPdfText(const QString &path)
{
    static const ReadFunction read = loadReader();
    PdfText text;
    if (!read) {
        text.status = PdfText::Status::NoReader;
        return text;
    }
    read(path, text);
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
    case PdfText::Status::NoReader:
        return QStringLiteral("lecteur de PDF absent (modules/ferlin_pdfreader.so introuvable à "
                              "côté du programme)");
    case PdfText::Status::Stalled:
        return QStringLiteral("fichier endommagé : sa lecture ne progresse plus");
    case PdfText::Status::OutOfMemory:
        return QStringLiteral("fichier endommagé : sa lecture demande trop de mémoire");
    case PdfText::Status::Crashed:
        return QStringLiteral("fichier endommagé : sa lecture a arrêté le lecteur");
    case PdfText::Status::Cancelled:
        return QStringLiteral("lecture arrêtée");
    case PdfText::Status::ReaderMissing:
        return QStringLiteral("lecteur de fichiers absent (ferlin-reader introuvable à côté du "
                              "programme)");
    }
    return {};
}

} // namespace ferlin
