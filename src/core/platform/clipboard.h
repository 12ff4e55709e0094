#pragma once

#include <QString>
#include <QStringList>

namespace ferlin {

// The MIME type of plain text on the clipboard.
inline const QString PlainTextMimeType = QStringLiteral("text/plain");
// The MIME type of HTML on the clipboard.
inline const QString HtmlMimeType = QStringLiteral("text/html");

// The system clipboard: a text, as plain text or under several MIME types at once.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Empties the clipboard, then puts the text on it.
    virtual void setText(const QString &text) = 0;
    // Empties the clipboard, then puts the one text on it under each MIME type given, in UTF-8
    // ("text/plain" as plain text): a program that knows a type of its own (a reference
    // manager's "application/x-research-info-systems") takes it as such, any other the text.
    virtual void setTextAs(const QString &text, const QStringList &mimeTypes) = 0;
    // Empties the clipboard, then puts rich text on it as HTML ("text/html") with its plain
    // text ("text/plain"): a word processor pastes the first, a plain editor the second.
    virtual void setHtml(const QString &html, const QString &text) = 0;
};

} // namespace ferlin
