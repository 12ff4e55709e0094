#include "fulltext/textindexer.h"

#include "fulltext/fulltextquery.h"
#include "fulltext/pdftext.h"
#include "fulltext/textindex.h"
#include "platform/storedpath.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThread>

namespace ferlin {

TextIndexer::TextIndexer(QString indexPath, QObject *parent)
    : QObject(parent), m_indexPath(std::move(indexPath))
{
    qRegisterMetaType<IndexingReport>();
}

TextIndexer::~TextIndexer()
{
    cancel();
    if (m_thread)
        m_thread->wait();
}

bool TextIndexer::isRunning() const
{
    return m_thread && m_thread->isRunning();
}

void TextIndexer::start(std::vector<TextToIndex> texts)
{
    if (isRunning())
        return;
    if (m_thread)
        m_thread->wait();
    m_cancel = false;
    m_thread.reset(QThread::create([this, texts = std::move(texts)] { run(texts); }));
    m_thread->start(QThread::LowPriority);
}

void TextIndexer::cancel()
{
    m_cancel = true;
}

void TextIndexer::run(const std::vector<TextToIndex> &texts)
{
    IndexingReport report;
    try {
        TextIndex index(m_indexPath);
        const int total = int(texts.size());
        for (int i = 0; i < total; ++i) {
            if (m_cancel) {
                report.cancelled = true;
                break;
            }
            const TextToIndex &text = texts[size_t(i)];
            const QString file = resolveStoredPath(text.root, text.storedPath);
            Q_EMIT progress(i, total, file);
            const QFileInfo info(file);
            if (!info.isFile()) {
                report.problems << file + QStringLiteral(" : fichier introuvable");
                continue;
            }
            const TextIndex::FileStamp stamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
            if (index.isCurrent(text.rang, stamp)) {
                ++report.unchanged;
                continue;
            }
            const PdfText pdf = readPdfText(file);
            if (pdf.status != PdfText::Status::Read) {
                report.problems << file + QStringLiteral(" : ") + pdfProblem(pdf.status);
                continue;
            }
            QStringList pages;
            for (const QString &page : pdf.pages)
                pages << expandLigatures(page);
            index.storeText(text.rang, file, stamp, pages);
            ++report.indexed;
        }
        if (!report.cancelled)
            Q_EMIT progress(total, total, QString());
    } catch (const DbError &error) {
        report.failure = QStringLiteral("L'index des textes « %1 » ne peut pas être écrit : %2")
                             .arg(m_indexPath, error.description());
    }
    Q_EMIT ended(report);
}

} // namespace ferlin
