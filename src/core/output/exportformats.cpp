#include "core/output/exportformats.h"

#include "core/context/linebreak.h"
#include "core/output/basketexport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace ferlin {

namespace {

// The pages of a reference: "12", or the first and the last joined by `dash`.
QString pageRange(const ExportedReference &r, const QString &dash)
{
    if (r.lastPage.isEmpty() || r.lastPage == r.firstPage)
        return r.firstPage;
    return r.firstPage + dash + r.lastPage;
}

// ---------------------------------------------------------------------------------------------
// BibTeX

// Which braces of a text pair up: for each position, whether the brace there has its partner.
QList<bool> pairedBraces(const QString &text)
{
    QList<bool> paired(text.size(), false);
    QList<qsizetype> open;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'{') {
            open.append(i);
        } else if (text.at(i) == u'}' && !open.isEmpty()) {
            paired[open.takeLast()] = true;
            paired[i] = true;
        }
    }
    return paired;
}

// The TeX form of a text inside a braced value, in the escapes that BibTeX, biber, pandoc and
// Zotero's BibTeX reader all decode; the file is UTF-8, so any other character stays as it is.
// Braces that pair up are written "\{" and "\}"; a lone one gets an invisible partner
// ("\{\vphantom{\}}"), because BibTeX counts every brace, escaped or not, and other readers
// skip the escaped ones: both must find the value balanced.
QString bibTeXEscaped(const QString &text, bool onlyBracesAndBackslash = false)
{
    const QList<bool> paired = pairedBraces(text);
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("{\\textbackslash}");
            continue;
        case u'{':
            out += paired.at(i) ? QStringLiteral("\\{") : QStringLiteral("\\{\\vphantom{\\}}");
            continue;
        case u'}':
            out += paired.at(i) ? QStringLiteral("\\}") : QStringLiteral("\\vphantom{\\{}\\}");
            continue;
        case u'\r':
            // A stored CR LF, or a lone CR, is one line feed.
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                continue;
            out += u'\n';
            continue;
        default:
            break;
        }
        if (onlyBracesAndBackslash) {
            out += c;
            continue;
        }
        switch (c.unicode()) {
        case u'%':
        case u'&':
        case u'#':
        case u'_':
        case u'$':
            out += u'\\';
            out += c;
            break;
        case u'~':
            out += QStringLiteral("{\\textasciitilde}");
            break;
        case u'^':
            out += QStringLiteral("\\^{}");
            break;
        case 0x00A0:
            // French typography's no-break space, which every reader turns back into one.
            out += u'~';
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A part of a person's name in a BibTeX name list, where a comma splits the name and a word
// "and" ends it: both are braced to stay plain text.
QString bibTeXNamePart(const QString &part)
{
    QStringList words = bibTeXEscaped(part.simplified()).split(u' ');
    for (QString &word : words) {
        if (word.compare(QLatin1String("and"), Qt::CaseInsensitive) == 0)
            word = u'{' + word + u'}';
    }
    return words.join(u' ').replace(u',', QStringLiteral("{,}"));
}

QString bibTeXAuthors(const QStringList &authors)
{
    QStringList names;
    for (const QString &author : authors) {
        const PersonName name = splitPersonName(author);
        QString written = bibTeXNamePart(name.family);
        if (!name.given.isEmpty())
            written += QStringLiteral(", ") + bibTeXNamePart(name.given);
        names << written;
    }
    return names.join(QStringLiteral(" and "));
}

const char *const MonthMacros[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                     "jul", "aug", "sep", "oct", "nov", "dec"};

void bibTeXEntry(QString &out, const ExportedReference &r)
{
    QStringList fields;
    auto braced = [&fields](const char *name, const QString &value) {
        if (!value.isEmpty())
            fields << QStringLiteral("  ") + QLatin1String(name) + QStringLiteral(" = {") + value +
                          u'}';
    };
    braced("author", bibTeXAuthors(r.authors));
    braced("title", bibTeXEscaped(r.title));
    braced("journal", ExportJournal);
    braced("year", bibTeXEscaped(r.year));
    if (r.month > 0)
        fields << QStringLiteral("  month = ") + QLatin1String(MonthMacros[r.month - 1]);
    braced("volume", bibTeXEscaped(r.volume));
    braced("number", bibTeXEscaped(r.number));
    braced("pages", bibTeXEscaped(pageRange(r, QStringLiteral("--"))));
    braced("abstract", bibTeXEscaped(r.summary));
    braced("keywords", bibTeXEscaped(r.keywords.join(QStringLiteral(", "))));
    // Reference managers read a path as it is: only what would break the file is escaped.
    braced("file", bibTeXEscaped(r.pdfPath, /*onlyBracesAndBackslash=*/true));
    // The titles' language: citation styles then keep their case as written.
    braced("langid", QStringLiteral("french"));
    braced("language", QStringLiteral("french"));
    out += QStringLiteral("@article{") + r.key() + QStringLiteral(",\n") +
           fields.join(QStringLiteral(",\n")) + QStringLiteral("\n}\n\n");
}

// ---------------------------------------------------------------------------------------------
// RIS

// The lines of a value, each trimmed, blank ones left out.
QStringList valueLines(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QChar breakChar : {QChar(u'\r'), QChar(0x2028), QChar(0x2029)})
        lines.replace(breakChar, u'\n');
    QStringList out;
    for (const QString &line : lines.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            out << trimmed;
    }
    return out;
}

// A line that a RIS reader would take for a tag of its own.
bool looksLikeATag(const QString &line)
{
    return line.size() >= 5 && line.at(0).unicode() >= u'A' && line.at(0).unicode() <= u'Z' &&
           ((line.at(1).unicode() >= u'A' && line.at(1).unicode() <= u'Z') ||
            (line.at(1).unicode() >= u'0' && line.at(1).unicode() <= u'9')) &&
           line.mid(2, 3) == QLatin1String("  -");
}

// A tag and its value; the value's next lines follow as untagged lines, which RIS readers join
// to the value as line breaks. A line that would read as a tag joins the line before it.
void risLine(QString &out, const char *tag, const QString &value)
{
    QStringList lines = valueLines(value);
    if (lines.isEmpty())
        return;
    out += QLatin1String(tag) + QStringLiteral("  - ") + lines.takeFirst();
    for (const QString &line : std::as_const(lines)) {
        if (looksLikeATag(line))
            out += u' ' + line;
        else
            out += LineBreak + line;
    }
    out += LineBreak;
}

void risRecord(QString &out, const ExportedReference &r)
{
    out += QStringLiteral("TY  - JOUR\r\n");
    risLine(out, "ID", r.key());
    risLine(out, "AN", r.rank);
    for (const QString &author : r.authors) {
        const PersonName name = splitPersonName(author);
        QString written = name.family;
        if (!name.given.isEmpty())
            written += QStringLiteral(", ") + name.given;
        risLine(out, "AU", written);
    }
    risLine(out, "TI", r.title);
    risLine(out, "T2", ExportJournal);
    risLine(out, "JO", ExportJournal);
    if (!r.year.isEmpty()) {
        risLine(out, "PY", r.year);
        const QString month =
            r.month > 0 ? QStringLiteral("%1").arg(r.month, 2, 10, QChar(u'0')) : QString();
        risLine(out, "DA", r.year + u'/' + month + QStringLiteral("//"));
    }
    risLine(out, "VL", r.volume);
    risLine(out, "IS", r.number);
    risLine(out, "SP", r.firstPage);
    if (r.lastPage != r.firstPage)
        risLine(out, "EP", r.lastPage);
    risLine(out, "AB", r.summary);
    for (const QString &keyword : r.keywords)
        risLine(out, "KW", keyword);
    risLine(out, "L1", r.pdfPath);
    risLine(out, "LA", QStringLiteral("fr"));
    out += QStringLiteral("ER  - \r\n\r\n");
}

// ---------------------------------------------------------------------------------------------
// CSL JSON

QJsonObject cslItem(const ExportedReference &r)
{
    QJsonObject item;
    auto put = [&item](const char *name, const QString &value) {
        if (!value.isEmpty())
            item.insert(QLatin1String(name), value);
    };
    put("id", r.key());
    item.insert(QLatin1String("type"), QStringLiteral("article-journal"));
    put("title", r.title);
    put("container-title", ExportJournal);
    QJsonArray authors;
    for (const QString &author : r.authors) {
        const PersonName name = splitPersonName(author);
        QJsonObject person{{QStringLiteral("family"), name.family}};
        if (!name.given.isEmpty())
            person.insert(QStringLiteral("given"), name.given);
        authors.append(person);
    }
    if (!authors.isEmpty())
        item.insert(QLatin1String("author"), authors);
    bool isYear = false;
    const int year = r.year.toInt(&isYear);
    if (isYear) {
        QJsonArray parts;
        parts.append(year);
        if (r.month > 0)
            parts.append(r.month);
        QJsonArray dateParts; // one date, not a range
        dateParts.append(parts);
        item.insert(QLatin1String("issued"),
                    QJsonObject{{QStringLiteral("date-parts"), dateParts}});
    }
    put("volume", r.volume);
    put("issue", r.number);
    put("page", pageRange(r, QStringLiteral("-")));
    QString summary = r.summary;
    put("abstract", summary.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    put("keyword", r.keywords.join(QStringLiteral(", ")));
    put("language", QStringLiteral("fr"));
    // What CSL has no variable for.
    QJsonObject custom{{QStringLiteral("rang"), r.rank}};
    if (!r.pdfPath.isEmpty())
        custom.insert(QStringLiteral("pdf"), r.pdfPath);
    item.insert(QLatin1String("custom"), custom);
    return item;
}

// ---------------------------------------------------------------------------------------------
// CSV

// A value, quoted when it holds the separator, a quote or a line break; written whole, however
// long (the 32,767 characters that Excel keeps of a cell are its limit, not the file's).
void csvField(QString &out, const QString &value, QChar separator)
{
    bool quoted = false;
    for (const QChar c : value) {
        if (c == separator || c == u'"' || c == u'\r' || c == u'\n') {
            quoted = true;
            break;
        }
    }
    if (!quoted) {
        out += value;
        return;
    }
    out += u'"';
    out += QString(value).replace(u'"', QStringLiteral("\"\""));
    out += u'"';
}

void csvRow(QString &out, const QStringList &values, QChar separator)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += separator;
        csvField(out, values.at(i), separator);
    }
    out += LineBreak;
}

} // namespace

QByteArray WriteBibTeX(const BasketExport &basket)
{
    QString out;
    for (const ExportedReference &r : basket.references)
        bibTeXEntry(out, r);
    return out.toUtf8();
}

QByteArray WriteRis(const BasketExport &basket)
{
    QString out;
    for (const ExportedReference &r : basket.references)
        risRecord(out, r);
    return out.toUtf8();
}

QByteArray WriteCslJson(const BasketExport &basket)
{
    QJsonArray items;
    for (const ExportedReference &r : basket.references)
        items.append(cslItem(r));
    return QJsonDocument(items).toJson(QJsonDocument::Indented);
}

QByteArray WriteCsv(const BasketExport &basket, QChar separator)
{
    // The byte-order mark: without it, spreadsheets read UTF-8 as Latin-1 ("NumÃ©ro").
    QString out(QChar(0xFEFF));
    csvRow(out, basket.fields + QStringList{QStringLiteral("FichierPDF")}, separator);
    for (const ExportedReference &r : basket.references)
        csvRow(out, r.values + QStringList{r.pdfPath}, separator);
    return out.toUtf8();
}

} // namespace ferlin
