#include "core/output/rtfwriter.h"

#include "core/output/rtfcodec.h"

#include <QColor>
#include <QFontInfo>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>

namespace ferlin {

namespace {

QString FragmentFamily(const QTextCharFormat &format, const QString &defaultFamily)
{
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
    }
    return defaultFamily;
}

bool HasColour(const QTextCharFormat &format)
{
    return format.hasProperty(QTextFormat::ForegroundBrush) &&
           format.foreground().style() != Qt::NoBrush;
}

// Font and colour tables built in one pass over the fragments.
struct Tables {
    QStringList fonts;
    QHash<QString, int> fontIndex;
    QList<QRgb> colours;
    QHash<QRgb, int> colourIndex; // index in the RTF table: 1 and up, 0 is the automatic colour

    int font(const QString &family)
    {
        auto found = fontIndex.constFind(family);
        if (found != fontIndex.constEnd())
            return found.value();
        fonts.append(family);
        return fontIndex.insert(family, int(fonts.size()) - 1).value();
    }
    int colour(QRgb rgb)
    {
        auto found = colourIndex.constFind(rgb);
        if (found != colourIndex.constEnd())
            return found.value();
        colours.append(rgb);
        return colourIndex.insert(rgb, int(colours.size())).value();
    }
};

void AppendNumber(QByteArray &out, const char *word, int value)
{
    out.append(word);
    out.append(QByteArray::number(value));
}

// The font a fragment without a font of its own is shown in.
struct DefaultFont {
    QString family;
    qreal pointSize;
};

void AppendFragment(QByteArray &out, const QTextFragment &fragment, Tables &tables,
                    const DefaultFont &shown)
{
    const QTextCharFormat format = fragment.charFormat();
    out.append('{');
    AppendNumber(out, "\\f", tables.font(FragmentFamily(format, shown.family)));
    const qreal size = format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0
                           ? format.fontPointSize()
                           : shown.pointSize;
    if (size > 0)
        AppendNumber(out, "\\fs", int(std::lround(size * 2)));
    if (format.fontWeight() >= QFont::DemiBold)
        out.append("\\b");
    if (format.fontItalic())
        out.append("\\i");
    if (format.fontUnderline())
        out.append("\\ul");
    if (format.fontStrikeOut())
        out.append("\\strike");
    if (HasColour(format))
        AppendNumber(out, "\\cf", tables.colour(format.foreground().color().rgb()));
    out.append(' ');
    RtfAppendEscapedText(out, fragment.text());
    out.append('}');
}

void AppendTabStops(QByteArray &out, const QTextBlockFormat &format)
{
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    for (const QTextOption::Tab &tab : tabs) {
        if (tab.type == QTextOption::RightTab)
            out.append("\\tqr");
        else if (tab.type == QTextOption::CenterTab)
            out.append("\\tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            out.append("\\tqdec");
        AppendNumber(out, "\\tx", int(std::lround(tab.position * 20)));
    }
}

} // namespace

namespace {

// The fonts and colours of the document, gathered before any text is written.
void GatherTables(const QTextDocument &document, Tables &tables, const DefaultFont &shown)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            tables.font(FragmentFamily(format, shown.family));
            if (HasColour(format))
                tables.colour(format.foreground().color().rgb());
        }
    }
}

void AppendHeader(QByteArray &out, const Tables &tables)
{
    out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    for (int i = 0; i < tables.fonts.size(); ++i) {
        AppendNumber(out, "{\\f", i);
        out.append("\\fnil\\fcharset0 ");
        RtfAppendEscapedText(out, tables.fonts.at(i));
        out.append(";}");
    }
    out.append("}\n{\\colortbl;");
    for (QRgb rgb : std::as_const(tables.colours)) {
        AppendNumber(out, "\\red", qRed(rgb));
        AppendNumber(out, "\\green", qGreen(rgb));
        AppendNumber(out, "\\blue", qBlue(rgb));
        out.append(';');
    }
    out.append("}\n");
}

} // namespace

bool writeRtf(const QTextDocument &document,
              const std::function<bool(const QByteArray &piece)> &write)
{
    Tables tables;
    // The family and size really shown: the document's own default may be a generic name
    // ("Sans Serif") that word processors do not know, without a size.
    const QFont font = document.defaultFont();
    const QFontInfo shownFont(font);
    const DefaultFont shown{shownFont.family(),
                            font.pointSizeF() > 0 ? font.pointSizeF() : shownFont.pointSizeF()};
    tables.font(shown.family);
    GatherTables(document, tables, shown);

    constexpr qsizetype PieceSize = 1 << 20;
    QByteArray piece;
    piece.reserve(PieceSize + 64 * 1024);
    AppendHeader(piece, tables);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        piece.append("\\pard");
        AppendTabStops(piece, block.blockFormat());
        piece.append(' ');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                AppendFragment(piece, fragment, tables, shown);
        }
        piece.append("\\par\n");
        if (piece.size() >= PieceSize) {
            if (!write(piece))
                return false;
            piece.resize(0); // the room stays for the next piece
        }
    }
    piece.append("}\n");
    return write(piece);
}

QByteArray writeRtf(const QTextDocument &document)
{
    QByteArray out;
    writeRtf(document, [&out](const QByteArray &piece) {
        out.append(piece);
        return true;
    });
    return out;
}

} // namespace ferlin
