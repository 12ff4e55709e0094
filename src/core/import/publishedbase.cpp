#include "core/import/publishedbase.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ferlin {

QString findPublishedBase(const QString &folder)
{
    const QDir dir(folder);
    const QString wanted = QString::fromLatin1(PublishedBaseName);
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        if (entry.fileName().compare(wanted, Qt::CaseInsensitive) == 0)
            return entry.filePath();
    return {};
}

QString publishedBaseToConvert(const QString &databasePath, const QString &programFolder)
{
    const QFileInfo base(databasePath);
    if (base.exists())
        return {};
    const QString beside = findPublishedBase(base.absolutePath());
    if (!beside.isEmpty() || programFolder.isEmpty())
        return beside;
    return findPublishedBase(programFolder);
}

namespace {

QString failureRecord(const QString &databasePath)
{
    const QFileInfo base(databasePath);
    return base.absoluteDir().filePath(u'.' + base.fileName() + QStringLiteral(".import-failed"));
}

// What tells one version of the published file from another.
QString versionOf(const QString &published)
{
    const QFileInfo info(published);
    return info.absoluteFilePath() + u'\n' + QString::number(info.size()) + u'\n' +
           QString::number(info.lastModified().toMSecsSinceEpoch());
}

} // namespace

void rememberFailedConversion(const QString &databasePath, const QString &published,
                              const QString &message)
{
    QSaveFile file(failureRecord(databasePath));
    if (!file.open(QIODevice::WriteOnly))
        return; // nothing worse than trying again next time
    file.write((versionOf(published) + u'\n' + message).toUtf8());
    file.commit();
}

QString failedConversionOf(const QString &databasePath, const QString &published)
{
    QFile file(failureRecord(databasePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString record = QString::fromUtf8(file.read(1 << 20));
    const QString version = versionOf(published) + u'\n';
    return record.startsWith(version) ? record.mid(version.size()) : QString();
}

void forgetFailedConversion(const QString &databasePath)
{
    QFile::remove(failureRecord(databasePath));
}

} // namespace ferlin
