#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace ferlin {

// Reads Rich Text Format as WordPad, Word and LibreOffice write it into `document`: text,
// paragraphs, tabs, tab stops, fonts, sizes, bold, italic, underline, strikethrough and colours.
// Pictures, table layout and destinations it does not show are skipped; table cells are kept as
// text separated by tabs, one paragraph per row. A damaged file (not RTF, unbalanced braces,
// truncated) is refused: the document is left unchanged, false is returned and `error` receives
// a French explanation.
bool readRtf(const QByteArray &data, QTextDocument &document, QString *error = nullptr);

} // namespace ferlin
