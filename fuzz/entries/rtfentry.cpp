#include "fuzzentries.h"

#include "core/output/rtfreader.h"
#include "core/output/rtfwriter.h"

#include <QFontInfo>
#include <QTextBlock>
#include <QTextDocument>

namespace ferlin::fuzz {

namespace {

// Control characters other than tabs have no RTF text form: the writer drops them.
bool Writable(QChar c)
{
    return c.unicode() >= 0x20 || c == u'\t';
}

// The text as the writer can keep it, paragraph ends included.
QString WritableText(const QTextDocument &document)
{
    QString text = document.toRawText();
    text.removeIf([](QChar c) { return !Writable(c); });
    return text;
}

// What the archive keeps of each character and paragraph, one line each: the character with
// its font, size, bold, italic, underline, strikethrough and colour; the tab stops.
QString Appearance(const QTextDocument &document)
{
    // Text without a font of its own is shown in the default font, which the archive names by
    // the family and size really shown.
    const QString defaultFamily = QFontInfo(document.defaultFont()).family();
    const qreal defaultSize = document.defaultFont().pointSizeF() > 0
                                  ? document.defaultFont().pointSizeF()
                                  : QFontInfo(document.defaultFont()).pointSizeF();
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        out += QStringLiteral("paragraph");
        for (const QTextOption::Tab &tab : block.blockFormat().tabPositions())
            out += u' ' + QString::number(tab.position) + u'/' + QString::number(tab.type);
        out += u'\n';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            // Font names lose their control characters and outer blanks on the way.
            const QStringList families = format.fontFamilies().toStringList();
            QString family = families.isEmpty() ? QString() : families.first();
            family.removeIf([](QChar c) { return !Writable(c); });
            family = family.trimmed();
            if (family.isEmpty())
                family = defaultFamily;
            const QString look =
                family + u' ' +
                QString::number(format.fontPointSize() > 0 ? format.fontPointSize() : defaultSize) +
                (format.fontWeight() >= QFont::DemiBold ? QStringLiteral(" b") : QString()) +
                (format.fontItalic() ? QStringLiteral(" i") : QString()) +
                (format.fontUnderline() ? QStringLiteral(" u") : QString()) +
                (format.fontStrikeOut() ? QStringLiteral(" s") : QString()) +
                (format.hasProperty(QTextFormat::ForegroundBrush)
                     ? u' ' + format.foreground().color().name()
                     : QString());
            for (const QChar c : it.fragment().text()) {
                if (Writable(c))
                    out += QString::number(c.unicode(), 16) + u' ' + look + u'\n';
            }
        }
    }
    return out;
}

} // namespace

std::string RtfImport(const std::uint8_t *data, std::size_t size)
{
    const QByteArray rtf(reinterpret_cast<const char *>(data), qsizetype(size));
    // The archive window imports over the archive it shows.
    QTextDocument document;
    document.setPlainText(QStringLiteral("Archive existante"));
    const QString before = document.toRawText();
    QString error;
    if (!readRtf(rtf, document, &error)) {
        if (error.isEmpty())
            return "a refused file gives no explanation";
        if (document.toRawText() != before)
            return "a refused file changed the archive";
        return {};
    }
    if (!error.isEmpty())
        return "an accepted file gives an explanation";
    // The window shows what it imported: the text is laid out in its fonts.
    document.setTextWidth(600);
    if (!(document.size().height() >= 0))
        return "the imported text cannot be laid out";

    // Saved again as RTF, the archive reads back as it was.
    const QByteArray written = writeRtf(document);
    QTextDocument copy;
    if (!readRtf(written, copy, &error))
        return "the archive written again is refused: " + error.toStdString();
    if (WritableText(copy) != WritableText(document))
        return "the archive written again reads back as another text: \"" +
               WritableText(copy).toStdString() + "\" instead of \"" +
               WritableText(document).toStdString() + '"';
    const QString expected = Appearance(document);
    const QString found = Appearance(copy);
    if (found != expected)
        return "the archive written again reads back in another appearance:\n" +
               found.toStdString() + "instead of\n" + expected.toStdString();
    return {};
}

} // namespace ferlin::fuzz
