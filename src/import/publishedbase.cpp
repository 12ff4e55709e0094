#include "import/publishedbase.h"

#include <QDir>
#include <QFileInfo>

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

} // namespace ferlin
