#include "core/platform/inisettingsstore.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <utility>

namespace ferlin {

namespace {

// The INI path of a value: the key's parts, then the name.
QString settingPath(const QString &key, const QString &name)
{
    QString path = key;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path + QLatin1Char('/') + name;
}

} // namespace

QString IniSettingsStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Ferlin/ferlin.ini");
}

IniSettingsStore::IniSettingsStore(QString filePath) : m_filePath(std::move(filePath)) {}

QString IniSettingsStore::read(const QString &key, const QString &name) const
{
    // A line that cannot be read is skipped: every well-formed value still counts.
    QSettings settings(m_filePath, QSettings::IniFormat);
    const QVariant value = settings.value(settingPath(key, name));
    // Qt keeps a parsed file for the whole program and tells of its unreadable lines only to
    // the object that parsed it: remembered for the next write.
    if (settings.status() == QSettings::FormatError)
        m_unreadableLines = true;
    // A hand-written value with unquoted commas reads as a list: give it back as one text.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool IniSettingsStore::write(const QString &key, const QString &name, const QString &text)
{
    QSettings settings(m_filePath, QSettings::IniFormat);
    if (!settings.isWritable())
        return false;
    // Rewriting the file drops the lines that could not be read: the file as it was is kept
    // beside it first.
    settings.allKeys(); // reads the file: its status is known then
    if (settings.status() == QSettings::FormatError || m_unreadableLines) {
        const QString copy = m_filePath + QStringLiteral(".bak");
        QFile::remove(copy);
        if (!QFile::copy(m_filePath, copy))
            return false;
        m_unreadableLines = false;
    }
    settings.setValue(settingPath(key, name), text);
    settings.sync();
    // The status may still tell of the lines that could not be read; only a write that failed
    // counts.
    return settings.status() != QSettings::AccessError;
}

} // namespace ferlin
