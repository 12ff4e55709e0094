#pragma once

#include <QByteArray>
#include <QString>

namespace ferlin {

// Code page of an RTF font charset (\fcharsetN); 0 when the charset names none (use the
// document's code page).
int RtfCharsetCodePage(int charset);

// Decodes bytes of a Windows code page (1252, 1250, 932, ...); unknown code pages fall back to
// cp1252.
QString RtfDecodeCodePage(const QByteArray &bytes, int codePage);

// The cp1252 byte for a character, or 0 when cp1252 has none.
unsigned char RtfCp1252Byte(char16_t unit);

// Appends `text` to `out` as RTF text: \ { } escaped, tabs as \tab, line separators as \line,
// non-ASCII characters as \uN followed by a cp1252 fallback (\uc1).
void RtfAppendEscapedText(QByteArray &out, const QString &text);

} // namespace ferlin
