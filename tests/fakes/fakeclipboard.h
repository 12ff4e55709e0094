#pragma once

#include "platform/clipboard.h"

#include <QStringList>

namespace ferlin {

// Remembers what was put on the clipboard.
class FakeClipboard : public Clipboard {
public:
    void setText(const QString &text) override { m_history.append(text); }

    QString text() const { return m_history.isEmpty() ? QString() : m_history.back(); }
    const QStringList &history() const { return m_history; }

private:
    QStringList m_history;
};

} // namespace ferlin
