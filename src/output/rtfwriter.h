#pragma once

#include <QByteArray>

class QTextDocument;

namespace ferlin {

// The document as Rich Text Format: font and colour tables, then per paragraph its tab stops
// and its runs (font, size, bold, italic, underline, strikethrough, colour). Text outside ASCII
// is written as \uN escapes with a cp1252 fallback.
QByteArray writeRtf(const QTextDocument &document);

} // namespace ferlin
