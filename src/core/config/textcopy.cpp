#include "core/config/textcopy.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>

namespace ferlin {

namespace {

// The folder a path names, with the links of its existing part followed and the rest as
// written: the longest existing beginning is made canonical, then the missing names follow.
QString resolvedFolder(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    QString existing = clean;
    QStringList missing;
    while (!existing.isEmpty()) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty()) {
            if (missing.isEmpty())
                return canonical;
            const QString tail = missing.join(u'/');
            return canonical.endsWith(u'/') ? QString(canonical + tail)
                                            : QString(canonical + u'/' + tail);
        }
        const qsizetype slash = existing.lastIndexOf(u'/');
        if (slash < 0 || existing == QStringLiteral("/"))
            break;
        missing.prepend(existing.mid(slash + 1));
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
    return clean;
}

} // namespace

QString WithTrailingSeparator(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

double megabytesOf(qint64 bytes)
{
    return double(bytes) / 1024 / 1024;
}

bool hasRoomForTexts(qint64 freeBytes)
{
    return !(megabytesOf(freeBytes) < TextCopyMegabytesNeeded);
}

QString megabytesText(double megabytes)
{
    // The digits of the shortest writing that reads back as the same number.
    QString written = QString::number(megabytes, 'f', QLocale::FloatingPointShortest);
    const bool negative = written.startsWith(u'-');
    if (negative)
        written.remove(0, 1);
    const qsizetype point = written.indexOf(u'.');
    const QString whole = point < 0 ? written : written.left(point);
    const QString fraction = point < 0 ? QString() : written.mid(point + 1);

    qint64 tenths = whole.toLongLong() * 10 + (fraction.isEmpty() ? 0 : fraction[0].digitValue());
    const QString rest = fraction.mid(1);
    if (!rest.isEmpty()) {
        const QChar first = rest[0];
        bool up = first > u'5';
        if (first == u'5') {
            const bool exactHalf = rest.mid(1).count(u'0') == rest.size() - 1;
            up = !exactHalf || tenths % 2 != 0;
        }
        if (up)
            ++tenths;
    }

    QString text = QString::number(tenths / 10);
    if (tenths % 10 != 0)
        text += QLocale().decimalPoint() + QString::number(tenths % 10);
    return negative && tenths != 0 ? u'-' + text : text;
}

bool sameFolder(const QString &a, const QString &b)
{
    return resolvedFolder(a) == resolvedFolder(b);
}

bool isSameOrInside(const QString &path, const QString &folder)
{
    const QString inner = resolvedFolder(path);
    const QString outer = resolvedFolder(folder);
    if (inner == outer)
        return true;
    return inner.startsWith(outer.endsWith(u'/') ? outer : outer + u'/');
}

void CopyTally::start()
{
    *this = CopyTally();
}

void CopyTally::add(const CopyProgress &progress)
{
    m_reported = true;
    m_filesDone = progress.filesDone;
    m_filesTotal = progress.filesTotal;
    if (!progress.currentFile.isEmpty())
        m_bytesDone += QFileInfo(progress.currentFile).size();
}

QString CopyTally::text() const
{
    const QString files = m_filesDone <= 1 ? QStringLiteral("fichier") : QStringLiteral("fichiers");
    return QStringLiteral("%1 %2 sur %3 — %4 Mo")
        .arg(m_filesDone)
        .arg(files)
        .arg(m_filesTotal)
        .arg(QLocale().toString(megabytesOf(m_bytesDone), 'f', 1));
}

std::optional<int> CopyTally::filesMissing() const
{
    if (!m_reported || m_filesDone >= m_filesTotal)
        return std::nullopt;
    return m_filesTotal - m_filesDone;
}

} // namespace ferlin
