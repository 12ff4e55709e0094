#pragma once

#include <QString>
#include <QStringList>

namespace ferlin {

// The text of a PDF file, page by page, as Poppler reads it.
struct PdfText {
    enum class Status {
        Read,       // every page read (a page without text gives an empty one)
        Unreadable, // the file cannot be opened (missing, no right to read it)
        Damaged,    // not a PDF Poppler can read
        Locked,     // protected by a password
        NoReader,   // the reader module could not be loaded
        // Read in a child process (fulltext/childpdfreader.h):
        Stalled,       // still unread within the time allowed
        OutOfMemory,   // needed more memory than allowed
        Crashed,       // the reader died on it
        Cancelled,     // the reading was stopped
        ReaderMissing, // the reader program could not be run
    };
    Status status = Status::Unreadable;
    QStringList pages;
};

// Reads a PDF's text through the reader module, loaded at the first call; never throws. Safe to
// call from a worker thread (one document at a time per thread).
PdfText readPdfText(const QString &path);

// Why a text was not indexed, in French ("fichier endommagé ou qui n'est pas un PDF").
QString pdfProblem(PdfText::Status status);

} // namespace ferlin
