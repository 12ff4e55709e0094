#pragma once

#include <QByteArray>
#include <QString>

namespace ferlin {

struct BasketExport;

// The journal as the references cite it.
inline const QString ExportJournal = QStringLiteral("Kavetol");

// The four files of a basket, one record per reference in the basket's order, UTF-8.

// BibTeX: one @article per reference, its key ExportedReference::key(). Every value is braced;
// the characters that TeX or BibTeX would read ({ } % & # _ \ ~ ^ $) are written as TeX
// escapes, so no value can end a field or unbalance the braces. Line feeds end the lines.
QByteArray WriteBibTeX(const BasketExport &basket);
// RIS: "TY  - JOUR" ... "ER  - ", one "AU" and one "KW" line per author and keyword, a blank
// line between records, CR LF line breaks; a line break within a value becomes a blank, so that
// every line starts with its tag.
QByteArray WriteRis(const BasketExport &basket);
// CSL JSON: an array of "article-journal" items, authors as family/given objects, the date as
// date parts; the reference number and the PDF's path under "custom".
QByteArray WriteCslJson(const BasketExport &basket);
// CSV (RFC 4180): a UTF-8 byte-order mark, a header row of the record's field names and
// "FichierPDF", then one row per reference; `separator` (";" or ",") between the values, CR LF
// after each row, a value holding the separator, a quote or a line break quoted with its quotes
// doubled. Every value is written whole, however long.
QByteArray WriteCsv(const BasketExport &basket, QChar separator);

} // namespace ferlin
