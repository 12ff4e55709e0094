#pragma once

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace ferlin::test {

// What readback.py read from an exported file with its format's own reader (pybtex, csv,
// json; the RIS tag grammar), or why it could not.
struct ReadBack {
    bool skipped = false; // Python or the reader is not installed
    QString fault;        // the file was refused: why
    QJsonDocument json;   // what was read
};

// Debian's Python first: its modules (python3-pybtex) are the ones the set-up installs.
inline QString python()
{
    if (QFileInfo::exists(QStringLiteral("/usr/bin/python3")))
        return QStringLiteral("/usr/bin/python3");
    return QStandardPaths::findExecutable(QStringLiteral("python3"));
}

// A CSV file is read with `csvSeparator` when one is given, else with the one of its header.
inline ReadBack readBack(const QString &format, const QString &file,
                         const QString &csvSeparator = {})
{
    ReadBack result;
    const QString program = python();
    if (program.isEmpty()) {
        result.skipped = true;
        result.fault = QStringLiteral("python3 is not installed");
        return result;
    }
    QProcess reader;
    QStringList arguments = {QStringLiteral(FERLIN_EXPORT_READBACK), format, file};
    if (!csvSeparator.isEmpty())
        arguments << csvSeparator;
    reader.start(program, arguments);
    reader.waitForFinished(240000);
    const QString errors = QString::fromUtf8(reader.readAllStandardError());
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0) {
        result.skipped = reader.exitCode() == 77;
        result.fault = errors.isEmpty() ? QStringLiteral("the reader did not end") : errors;
        return result;
    }
    result.json = QJsonDocument::fromJson(reader.readAllStandardOutput());
    return result;
}

} // namespace ferlin::test
