#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

namespace ferlin::pdfcheck {

// A PDF whose trailer and cross-reference table are exact: "startxref" names the offset of
// "xref", and every in-use entry the offset of its "n 0 obj".
inline bool hasExactCrossReferences(const QByteArray &pdf)
{
    if (!pdf.startsWith("%PDF-1.") || !pdf.endsWith("%%EOF\n"))
        return false;
    const qsizetype start = pdf.lastIndexOf("startxref\n");
    if (start < 0)
        return false;
    const qsizetype xref = pdf.mid(start + 10).split('\n').first().toLongLong();
    if (pdf.mid(xref, 5) != "xref\n")
        return false;
    const QList<QByteArray> lines = pdf.mid(xref).split('\n');
    const int count = lines.at(1).split(' ').at(1).toInt();
    for (int i = 1; i < count; ++i) {
        const QByteArray &entry = lines.at(2 + i);
        if (entry.size() != 19 || !entry.endsWith(" 00000 n "))
            return false;
        const QByteArray object = QByteArray::number(i) + " 0 obj";
        if (!pdf.mid(entry.left(10).toLongLong()).startsWith(object))
            return false;
    }
    return count > 1;
}

// The text pdftotext reads from a file, blanks and line breaks folded to single blanks; a null
// string when the tool is not installed.
inline QString pdfToText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool,
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

} // namespace ferlin::pdfcheck
