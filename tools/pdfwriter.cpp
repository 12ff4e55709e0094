#include "pdfwriter.h"

#include <vector>

namespace ferlin::sample {

namespace {

// Advance widths of Helvetica for the printable ASCII characters 32 to 126, in 1/1000 em.
const short HelveticaWidths[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};

constexpr double PageWidth = 595;
constexpr double PageHeight = 842;
constexpr double Margin = 56;
constexpr double TitleSize = 17;
constexpr double TextSize = 11;
constexpr double SmallSize = 9;

// The WinAnsiEncoding byte of a character, 0 when the encoding lacks it.
unsigned char winAnsiByte(char16_t c)
{
    if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    switch (c) {
    case u'€':
        return 0x80;
    case u'…':
        return 0x85;
    case u'Œ':
        return 0x8C;
    case u'‘':
        return 0x91;
    case u'’':
        return 0x92;
    case u'“':
        return 0x93;
    case u'”':
        return 0x94;
    case u'–':
        return 0x96;
    case u'—':
        return 0x97;
    case u'œ':
        return 0x9C;
    case u'Ÿ':
        return 0x9F;
    default:
        return 0;
    }
}

double charWidth(QChar c)
{
    QChar base = c;
    if (c.unicode() > 0x7E) {
        const QString decomposed = c.decomposition();
        base = decomposed.isEmpty() ? QChar(u'o') : decomposed.at(0);
    }
    const ushort u = base.unicode();
    return (u >= 32 && u <= 126) ? HelveticaWidths[u - 32] : 556;
}

double textWidth(const QString &text, double size, bool bold)
{
    double width = 0;
    for (QChar c : text)
        width += charWidth(c);
    return width * size / 1000.0 * (bold ? 1.07 : 1.0);
}

// Greedy wrapping on blanks; a word longer than the line stands alone.
QStringList wrap(const QString &text, double size, bool bold)
{
    const double available = PageWidth - 2 * Margin;
    QStringList lines;
    QString line;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && textWidth(candidate, size, bold) > available) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

class ContentStream {
public:
    // Writes one line and moves down; the body stops quietly at the bottom margin.
    void line(const QString &text, const char *font, double size, double leading,
              bool footer = false)
    {
        if (m_y < Margin && !footer)
            return;
        m_data += "BT /" + QByteArray(font) + ' ' + QByteArray::number(size) + " Tf " +
                  QByteArray::number(Margin) + ' ' + QByteArray::number(m_y, 'f', 1) + " Td " +
                  pdfLiteral(text) + " Tj ET\n";
        m_y -= leading;
    }
    void skip(double height) { m_y -= height; }
    void moveTo(double y) { m_y = y; }
    const QByteArray &data() const { return m_data; }

private:
    QByteArray m_data;
    double m_y = PageHeight - Margin;
};

// UTF-16BE with its byte-order mark, as a hex string: any title can stand in the Info entry.
QByteArray pdfTextString(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (QChar c : text)
        hex += QByteArray::number(c.unicode() | 0x10000, 16).mid(1).toUpper();
    return hex + '>';
}

} // namespace

QByteArray pdfLiteral(const QString &text)
{
    QByteArray out = "(";
    for (QChar c : text) {
        const unsigned char b = winAnsiByte(c.unicode());
        if (b == 0) {
            out += '?';
        } else if (b == '(' || b == ')' || b == '\\') {
            out += '\\';
            out += char(b);
        } else if (b >= 0x80) {
            out += '\\';
            out += QByteArray::number(b, 8);
        } else {
            out += char(b);
        }
    }
    return out + ')';
}

namespace {

QByteArray pageContent(const PdfPage &page)
{
    ContentStream content;
    content.line(page.header, "F2", SmallSize, SmallSize * 1.4);
    if (!page.title.isEmpty()) {
        content.skip(2 * TitleSize);
        for (const QString &line : wrap(page.title, TitleSize, true))
            content.line(line, "F1", TitleSize, TitleSize * 1.3);
        content.skip(TitleSize);
    } else {
        content.skip(TextSize);
    }
    for (const QString &block : page.blocks) {
        if (block.isEmpty())
            content.skip(TextSize);
        for (const QString &line : wrap(block, TextSize, false))
            content.line(line, "F2", TextSize, TextSize * 1.4);
    }
    content.moveTo(Margin - SmallSize);
    content.line(page.footer, "F2", SmallSize, SmallSize, true);
    return content.data();
}

} // namespace

QByteArray pdfDocument(const std::vector<PdfPage> &pages)
{
    // Objects: the catalogue, the page tree, the two fonts, then each page and its content,
    // then the document information.
    constexpr int FirstPage = 5;
    const int infoObject = FirstPage + 2 * int(pages.size());
    const QByteArray size = QByteArray::number(PageWidth) + ' ' + QByteArray::number(PageHeight);
    QByteArray kids;
    for (size_t i = 0; i < pages.size(); ++i)
        kids += (i ? " " : "") + QByteArray::number(FirstPage + 2 * int(i)) + " 0 R";
    std::vector<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [" + kids + "] /Count " +
            QByteArray::number(qulonglong(pages.size())) + " >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    };
    for (size_t i = 0; i < pages.size(); ++i) {
        const QByteArray content = pageContent(pages[i]);
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + size +
                          "] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents " +
                          QByteArray::number(FirstPage + 2 * int(i) + 1) + " 0 R >>");
        objects.push_back("<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" +
                          content + "endstream");
    }
    const QString title = pages.empty() ? QString() : pages.front().title;
    objects.push_back("<< /Title " + pdfTextString(title) + " /Producer (Ferlin sample base) >>");

    QByteArray pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<qsizetype> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += QByteArray::number(qulonglong(i + 1)) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    const QByteArray count = QByteArray::number(qulonglong(objects.size() + 1));
    pdf += "xref\n0 " + count + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(qlonglong(offset)).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + count + " /Root 1 0 R /Info " + QByteArray::number(infoObject) +
           " 0 R >>\nstartxref\n" + QByteArray::number(qlonglong(xref)) + "\n%%EOF\n";
    return pdf;
}

QByteArray onePagePdf(const PdfPage &page)
{
    return pdfDocument({page});
}

} // namespace ferlin::sample
