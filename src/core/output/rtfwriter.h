#pragma once

#include <QByteArray>

#include <functional>

class QTextDocument;

namespace ferlin {

// The document as Rich Text Format: font and colour tables, then per paragraph its tab stops
// and its runs (font, size, bold, italic, underline, strikethrough, colour). Text outside ASCII
// is written as \uN escapes with a cp1252 fallback.
QByteArray writeRtf(const QTextDocument &document);
// The same handed to `write` in pieces of about a megabyte as they are made, so that a large
// document is not held a second time. Stops and returns false when a piece is refused.
bool writeRtf(const QTextDocument &document,
              const std::function<bool(const QByteArray &piece)> &write);

} // namespace ferlin
