#include "fakes/fakelineprinter.h"

namespace ferlin {

void FakeLinePrinter::beginDocument(const QString &pdfFile)
{
    if (pdfFile.isEmpty() && !m_hasDefaultPrinter)
        throw PlatformError(PlatformErrorCode::PrinterError,
                            QStringLiteral("Aucune imprimante par défaut n'est installée"));
    m_documents.append(Document{pdfFile, m_family, m_pointSize, {}, false});
    m_open = true;
    m_callsInDocument = 0;
}

FakeLinePrinter::Document &FakeLinePrinter::current()
{
    if (!m_open)
        throw PlatformError(PlatformErrorCode::PrinterError,
                            QStringLiteral("Aucun document n'est en cours d'impression"));
    return m_documents.back();
}

void FakeLinePrinter::setFont(const QString &family, double pointSize)
{
    m_family = family;
    m_pointSize = pointSize;
    if (m_open) {
        m_documents.back().fontFamily = family;
        m_documents.back().pointSize = pointSize;
    }
}

void FakeLinePrinter::printLine(const QString &text)
{
    Document &document = current();
    if (m_failingLine && m_callsInDocument++ == *m_failingLine)
        throw PlatformError(PlatformErrorCode::PrinterError); // the line is not printed
    document.lines.append(text);
}

void FakeLinePrinter::endDocument()
{
    if (!m_open)
        return;
    m_documents.back().ended = true;
    m_open = false;
}

QStringList FakeLinePrinter::lines() const
{
    return m_documents.isEmpty() ? QStringList() : m_documents.back().lines;
}

} // namespace ferlin
