#pragma once

#include "core/platform/clipboard.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>

namespace ferlin {

// Remembers what was put on the clipboard.
class FakeClipboard : public Clipboard {
public:
    void setText(const QString &text) override { setTextAs(text, {PlainTextMimeType}); }
    void setTextAs(const QString &text, const QStringList &mimeTypes) override
    {
        m_history.append(text);
        m_data.clear();
        for (const QString &type : mimeTypes)
            m_data.insert(type, text.toUtf8());
    }

    void setHtml(const QString &html, const QString &text) override
    {
        m_history.append(text);
        m_data.clear();
        m_data.insert(HtmlMimeType, html.toUtf8());
        m_data.insert(PlainTextMimeType, text.toUtf8());
    }

    QString text() const { return m_history.isEmpty() ? QString() : m_history.back(); }
    const QStringList &history() const { return m_history; }
    // What the last put holds, by MIME type.
    const QMap<QString, QByteArray> &data() const { return m_data; }

private:
    QStringList m_history;
    QMap<QString, QByteArray> m_data;
};

} // namespace ferlin
