#include "core/fulltext/childpdfreader.h"

#include "core/platform/readeranswers.h"

#include <QDataStream>
#include <QIODevice>

namespace ferlin {

ReaderLimits pdfReaderLimits()
{
    ReaderLimits limits;
    limits.stallMs = 20000;
    limits.answerMs = 20000;
    return limits;
}

ChildPdfReader::ChildPdfReader(ReaderLimits limits) : m_child(limits) {}

void ChildPdfReader::ask(const QString &path)
{
    m_child.send(path);
    m_asked.push_back(path);
}

void ChildPdfReader::stop()
{
    m_child.stop();
    m_asked.clear();
}

PdfText ChildPdfReader::read(const QString &path, const QString &next)
{
    PdfText text;
    if (m_asked.empty() || m_asked.front() != path) {
        // Not asked for ahead: the answers waiting are of no use.
        if (!m_asked.empty())
            stop();
        if (!m_child.isRunning() && !m_child.start({QStringLiteral("--pdf")})) {
            text.status = PdfText::Status::ReaderMissing;
            return text;
        }
        ask(path);
    }
    if (!next.isEmpty())
        ask(next);
    const std::optional<QByteArray> frame = m_child.nextFrame();
    m_asked.pop_front();
    if (!frame) {
        switch (m_child.failure()) {
        case ReaderFailure::Stalled:
            text.status = PdfText::Status::Stalled;
            break;
        case ReaderFailure::OutOfMemory:
            text.status = PdfText::Status::OutOfMemory;
            break;
        case ReaderFailure::Cancelled:
            text.status = PdfText::Status::Cancelled;
            break;
        case ReaderFailure::NotStarted:
            text.status = PdfText::Status::ReaderMissing;
            break;
        default:
            text.status = PdfText::Status::Crashed;
        }
        stop();
        return text;
    }
    QDataStream in(*frame);
    in.setVersion(QDataStream::Qt_6_0);
    qint32 status = 0;
    in >> status >> text.pages;
    text.status =
        in.status() == QDataStream::Ok ? PdfText::Status(status) : PdfText::Status::Crashed;
    return text;
}

int servePdfFiles()
{
    ReaderAnswers answers;
    QString path;
    while (readQuestion(path)) {
        const PdfText text = readPdfText(path);
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << qint32(text.status) << text.pages;
        answers.frame(bytes);
        answers.flush();
    }
    return 0;
}

} // namespace ferlin
