#include "platform/inisettingsstore.h"

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

QString IniSettingsStore::readValue(const QString &key, const QString &name) const
{
    QSettings settings(m_filePath, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return {};
    const QVariant value = settings.value(settingPath(key, name));
    // A hand-written value with unquoted commas reads as a list: give it back as one text.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool IniSettingsStore::writeValue(const QString &key, const QString &name, const QString &text)
{
    QSettings settings(m_filePath, QSettings::IniFormat);
    if (!settings.isWritable())
        return false;
    settings.setValue(settingPath(key, name), text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace ferlin
