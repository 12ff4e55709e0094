#include "fakes/fakesettingsstore.h"

namespace ferlin {

QString FakeSettingsStore::read(const QString &key, const QString &name) const
{
    ++m_reads;
    return m_values.value({key, name});
}

bool FakeSettingsStore::write(const QString &key, const QString &name, const QString &text)
{
    m_writes.append(Write{key, name, text, m_writable});
    if (m_writable)
        m_values.insert({key, name}, text);
    return m_writable;
}

void FakeSettingsStore::setValue(const QString &key, const QString &name, const QString &text)
{
    m_values.insert({key, name}, text);
}

void FakeSettingsStore::setValue(const QString &name, const QString &text)
{
    setValue(ferlinKey(), name, text);
}

bool FakeSettingsStore::hasValue(const QString &key, const QString &name) const
{
    return m_values.contains({key, name});
}

QStringList FakeSettingsStore::writtenNames() const
{
    QStringList names;
    for (const Write &write : m_writes)
        names.append(write.name);
    return names;
}

} // namespace ferlin
