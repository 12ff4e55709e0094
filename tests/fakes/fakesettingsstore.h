#pragma once

#include "core/platform/settingsstore.h"

#include <QList>
#include <QMap>
#include <QPair>

namespace ferlin {

// The settings store in memory. Every write attempt is logged in order, refused ones too.
class FakeSettingsStore : public SettingsStore {
public:
    struct Write {
        QString key;
        QString name;
        QString text;
        bool stored = false;
    };

    QString read(const QString &key, const QString &name) const override;
    bool write(const QString &key, const QString &name, const QString &text) override;

    // Puts a value without logging a write (the state before the test).
    void setValue(const QString &key, const QString &name, const QString &text);
    // A value under the program's key.
    void setValue(const QString &name, const QString &text);
    bool hasValue(const QString &key, const QString &name) const;
    void setWritable(bool writable) { m_writable = writable; }

    const QList<Write> &writes() const { return m_writes; }
    // The names written, in order.
    QStringList writtenNames() const;
    int reads() const { return m_reads; }

private:
    QMap<QPair<QString, QString>, QString> m_values;
    QList<Write> m_writes;
    bool m_writable = true;
    mutable int m_reads = 0;
};

} // namespace ferlin
