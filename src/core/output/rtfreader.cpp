#include "core/output/rtfreader.h"

#include "core/output/rtfcodec.h"

#include <QColor>
#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace ferlin {

namespace {

enum class Destination { Text, Skip, FontTable, ColourTable };

struct CharState {
    int font = -1; // -1: the document's default font (\deffN)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = 0;
    bool hidden = false; // \v: text that word processors do not show

    bool operator==(const CharState &other) const
    {
        return font == other.font && halfPoints == other.halfPoints && bold == other.bold &&
               italic == other.italic && underline == other.underline && strike == other.strike &&
               colour == other.colour;
    }
    bool operator!=(const CharState &other) const { return !(*this == other); }
};

struct GroupState {
    Destination destination = Destination::Text;
    CharState chars;
    int unicodeSkip = 1;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
};

struct FontEntry {
    QString name;
    int charset = -1;
};

// Destinations whose content is not shown in the document.
const QSet<QByteArray> &SkippedDestinations()
{
    static const QSet<QByteArray> words = [] {
        const QByteArray names =
            "info stylesheet header headerl headerr headerf footer footerl footerr footerf "
            "footnote pict objdata objclass objname fldinst nonshppict pn xe tc txe annotation "
            "atnid atnauthor atndate atnref listtable listoverridetable revtbl rsidtbl generator "
            "filetbl template themedata colorschememapping datastore latentstyles pgdsctbl "
            "xmlnstbl mmathPr private userprops docvar ftnsep ftnsepc ftncn aftnsep aftnsepc "
            "aftncn bkmkstart bkmkend fchars lchars shpinst sp panose falt keywords comment";
        QSet<QByteArray> set;
        for (const QByteArray &name : names.split(' '))
            set.insert(name);
        return set;
    }();
    return words;
}

// Characters named by control words.
const QHash<QByteArray, char16_t> &SymbolWords()
{
    static const QHash<QByteArray, char16_t> words = {
        {"emdash", 0x2014},  {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005},   {"tab", u'\t'},        {"line", 0x2028}};
    return words;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\0';
}

class RtfParser {
public:
    RtfParser(const QByteArray &data, QTextDocument &document) : m_data(data), m_cursor(&document)
    {
    }

    bool run(QString *error);
    bool onlyBlanksFrom(qsizetype position)
    {
        if (m_lastContent == NotSearched) {
            m_lastContent = m_data.size() - 1;
            while (m_lastContent >= 0 && IsBlank(m_data[m_lastContent]))
                --m_lastContent;
        }
        return position > m_lastContent;
    }

private:
    bool fail(QString *error, const QString &text)
    {
        if (error)
            *error = text;
        return false;
    }

    void controlWord(const QByteArray &word, bool hasParameter, int parameter);
    void controlSymbol(char symbol);
    void hexByte(int value);
    void textByte(char byte);
    void unit(char16_t value);
    void put(char16_t value);
    void flushBytes();
    void flushSurrogate();
    void flushRun();
    void endParagraph();
    void finish();
    int codePage() const;
    QTextCharFormat charFormat(const CharState &chars) const;

    const QByteArray &m_data;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    QList<GroupState> m_stack;
    GroupState m_state;
    bool m_ignorable = false; // \* seen: an unknown destination that follows is skipped

    QHash<int, FontEntry> m_fonts;
    int m_fontNumber = -1;
    FontEntry m_fontEntry;
    QList<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;
    int m_codePage = 1252;
    int m_defaultFont = 0;

    QByteArray m_bytes; // \'hh bytes waiting to be decoded together
    int m_bytesCodePage = 1252;
    char16_t m_highSurrogate = 0;
    int m_skip = 0; // fallback characters still to skip after \uN
    static constexpr qsizetype NotSearched = -2;
    qsizetype m_lastContent = NotSearched; // the last byte that is not a blank
    bool m_reopened = false;               // a stray closing brace ended the document early
    QString m_text; // run text waiting for insertion, in the format m_textChars
    CharState m_textChars;
    int m_pendingCells = 0;
    bool m_paragraphEmpty = true;
    bool m_afterBreak = false;
};

int RtfParser::codePage() const
{
    const int font = m_state.chars.font >= 0 ? m_state.chars.font : m_defaultFont;
    const auto found = m_fonts.constFind(font);
    if (found != m_fonts.constEnd()) {
        const int page = RtfCharsetCodePage(found->charset);
        if (page > 0)
            return page;
    }
    return m_codePage;
}

QTextCharFormat RtfParser::charFormat(const CharState &chars) const
{
    QTextCharFormat format;
    const auto font = m_fonts.constFind(chars.font >= 0 ? chars.font : m_defaultFont);
    if (font != m_fonts.constEnd() && !font->name.isEmpty())
        format.setFontFamilies(QStringList{font->name});
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike);
    if (chars.colour > 0 && chars.colour < m_colours.size() && m_colours.at(chars.colour).isValid())
        format.setForeground(m_colours.at(chars.colour));
    return format;
}

void RtfParser::flushRun()
{
    if (m_text.isEmpty())
        return;
    m_cursor.insertText(m_text, charFormat(m_textChars));
    m_text.clear();
}

void RtfParser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    const QString text = RtfDecodeCodePage(m_bytes, m_bytesCodePage);
    m_bytes.clear();
    for (const QChar ch : text)
        unit(ch.unicode());
}

void RtfParser::flushSurrogate()
{
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        put(0xFFFD);
    }
}

// One UTF-16 unit of text: surrogates are paired, a lone one becomes U+FFFD.
void RtfParser::unit(char16_t value)
{
    if (QChar::isLowSurrogate(value)) {
        if (m_highSurrogate) {
            put(m_highSurrogate);
            m_highSurrogate = 0;
            put(value);
        } else {
            put(0xFFFD);
        }
        return;
    }
    flushSurrogate();
    if (QChar::isHighSurrogate(value))
        m_highSurrogate = value;
    else
        put(value);
}

void RtfParser::put(char16_t value)
{
    switch (m_state.destination) {
    case Destination::Skip:
        return;
    case Destination::FontTable:
        if (value == u';') {
            if (m_fontNumber >= 0) {
                m_fontEntry.name = m_fontEntry.name.trimmed();
                m_fonts.insert(m_fontNumber, m_fontEntry);
            }
            m_fontEntry.name.clear();
        } else {
            m_fontEntry.name.append(QChar(value));
        }
        return;
    case Destination::ColourTable:
        if (value == u';') {
            m_colours.append(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
            m_red = m_green = m_blue = 0;
            m_colourSet = false;
        }
        return;
    case Destination::Text:
        if (m_state.chars.hidden)
            return;
        break;
    }
    if (m_text.isEmpty() || m_textChars != m_state.chars) {
        flushRun();
        m_textChars = m_state.chars;
    }
    for (; m_pendingCells > 0; --m_pendingCells)
        m_text.append(QLatin1Char('\t'));
    m_text.append(QChar(value));
    m_paragraphEmpty = false;
}

void RtfParser::endParagraph()
{
    flushBytes();
    flushSurrogate();
    flushRun();
    m_pendingCells = 0;
    if (m_state.destination != Destination::Text)
        return;
    QTextBlockFormat format = m_cursor.blockFormat();
    format.setTabPositions(m_state.tabs);
    m_cursor.setBlockFormat(format);
    m_cursor.insertBlock(QTextBlockFormat(), m_cursor.charFormat());
    m_paragraphEmpty = true;
    m_afterBreak = true;
}

// At the end: the last paragraph takes the tab stops in force; an empty paragraph opened by a
// final \par is dropped, as writers end their last paragraph with one.
void RtfParser::finish()
{
    flushBytes();
    flushSurrogate();
    flushRun();
    if (m_paragraphEmpty && m_afterBreak) {
        // Joined with the dropped one, an empty paragraph would take its format: keep its own.
        const QTextBlockFormat ended = m_cursor.block().previous().blockFormat();
        m_cursor.deletePreviousChar();
        m_cursor.setBlockFormat(ended);
        return;
    }
    QTextBlockFormat format = m_cursor.blockFormat();
    format.setTabPositions(m_state.tabs);
    m_cursor.setBlockFormat(format);
}

void RtfParser::textByte(char byte)
{
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    if (static_cast<unsigned char>(byte) >= 0x80) {
        // Decoded with the bytes next to it, as \'hh bytes are: a lead byte of a double-byte code
        // page needs its trail byte, and alone decodes to nothing.
        hexByte(static_cast<unsigned char>(byte));
        return;
    }
    flushBytes();
    unit(char16_t(byte));
}

void RtfParser::hexByte(int value)
{
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    if (value < 0)
        return; // an invalid escape is dropped
    const int page = codePage();
    if (!m_bytes.isEmpty() && page != m_bytesCodePage)
        flushBytes();
    m_bytesCodePage = page;
    m_bytes.append(static_cast<char>(value));
}

void RtfParser::controlSymbol(char symbol)
{
    flushBytes();
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        m_skip = 0;
        unit(char16_t(symbol));
        break;
    case '~':
        unit(0x00A0);
        break;
    case '_':
        unit(0x2011);
        break;
    case '*':
        m_ignorable = true;
        break;
    case '\n':
    case '\r':
        endParagraph();
        break;
    default:
        break; // \- optional hyphen, \: and others show nothing
    }
}

void RtfParser::controlWord(const QByteArray &word, bool hasParameter, int parameter)
{
    flushBytes();
    m_skip = 0;
    const bool ignorable = m_ignorable;
    m_ignorable = false;
    CharState &chars = m_state.chars;
    const bool on = !hasParameter || parameter != 0;

    if (word == "u") {
        unit(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter));
        m_skip = m_state.unicodeSkip;
    } else if (word == "par") {
        endParagraph();
    } else if (word == "row" || word == "nestrow") {
        endParagraph();
    } else if (word == "cell" || word == "nestcell") {
        flushSurrogate();
        ++m_pendingCells;
    } else if (const auto symbol = SymbolWords().constFind(word); symbol != SymbolWords().cend()) {
        unit(symbol.value());
    } else if (word == "f") {
        if (m_state.destination == Destination::FontTable) {
            m_fontNumber = parameter;
            m_fontEntry = FontEntry();
        } else {
            chars.font = parameter;
        }
    } else if (word == "fcharset") {
        m_fontEntry.charset = parameter;
    } else if (word == "fs") {
        chars.halfPoints = hasParameter && parameter > 0 ? parameter : 24;
    } else if (word == "b") {
        chars.bold = on;
    } else if (word == "i") {
        chars.italic = on;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" ||
               word == "uldash" || word == "ulth" || word == "ulwave") {
        chars.underline = on;
    } else if (word == "ulnone") {
        chars.underline = false;
    } else if (word == "strike" || word == "striked") {
        chars.strike = on;
    } else if (word == "cf") {
        chars.colour = parameter;
    } else if (word == "v") {
        chars.hidden = on;
    } else if (word == "plain") {
        chars = CharState();
    } else if (word == "pard") {
        m_state.tabs.clear();
        m_state.nextTabType = QTextOption::LeftTab;
    } else if (word == "tqr" || word == "tqc" || word == "tqdec") {
        m_state.nextTabType = word == "tqr"   ? QTextOption::RightTab
                              : word == "tqc" ? QTextOption::CenterTab
                                              : QTextOption::DelimiterTab;
    } else if (word == "tx") {
        QTextOption::Tab tab;
        tab.position = parameter / 20.0;
        tab.type = m_state.nextTabType;
        if (tab.type == QTextOption::DelimiterTab)
            tab.delimiter = QLatin1Char('.');
        m_state.tabs.append(tab);
        m_state.nextTabType = QTextOption::LeftTab;
    } else if (word == "uc") {
        m_state.unicodeSkip = qMax(0, parameter);
    } else if (word == "red" || word == "green" || word == "blue") {
        (word == "red" ? m_red : word == "green" ? m_green : m_blue) = qBound(0, parameter, 255);
        m_colourSet = true;
    } else if (word == "fonttbl") {
        m_state.destination = Destination::FontTable;
    } else if (word == "colortbl") {
        m_state.destination = Destination::ColourTable;
    } else if (word == "ansicpg") {
        m_codePage = parameter;
    } else if (word == "deff") {
        m_defaultFont = parameter;
    } else if (ignorable || SkippedDestinations().contains(word)) {
        m_state.destination = Destination::Skip;
    }
}

bool RtfParser::run(QString *error)
{
    const qsizetype size = m_data.size();
    while (m_pos < size && (m_data[m_pos] == ' ' || m_data[m_pos] == '\r' ||
                            m_data[m_pos] == '\n' || m_data[m_pos] == '\t'))
        ++m_pos;
    if (!m_data.mid(m_pos, 5).startsWith("{\\rtf"))
        return fail(error, QStringLiteral("Ce fichier n'est pas au format RTF."));

    while (m_pos < size) {
        const char c = m_data[m_pos++];
        if (c == '{') {
            flushBytes();
            m_skip = 0;
            m_stack.append(m_state);
        } else if (c == '}') {
            flushBytes();
            flushSurrogate();
            m_skip = 0;
            if (m_stack.isEmpty())
                return fail(error, QStringLiteral("Ce fichier RTF est endommagé : une accolade "
                                                  "fermante est en trop."));
            if (m_state.destination == Destination::Text)
                flushRun();
            m_state = m_stack.takeLast();
            m_ignorable = false;
            if (m_stack.isEmpty()) {
                // A stray closing brace ends the document early: the reader carries on with
                // what follows, as word processors do, when there is more than blanks.
                if (onlyBlanksFrom(m_pos))
                    break;
                m_stack.append(m_state);
                m_reopened = true;
            }
        } else if (c == '\\') {
            if (m_pos >= size)
                break;
            const char next = m_data[m_pos];
            if (IsLetter(next)) {
                const qsizetype start = m_pos;
                while (m_pos < size && IsLetter(m_data[m_pos]))
                    ++m_pos;
                const QByteArray word = m_data.mid(start, m_pos - start);
                bool hasParameter = false;
                qint64 parameter = 0;
                const bool negative = m_pos < size && m_data[m_pos] == '-';
                if (negative)
                    ++m_pos;
                while (m_pos < size && IsDigit(m_data[m_pos])) {
                    hasParameter = true;
                    parameter = qMin<qint64>(parameter * 10 + (m_data[m_pos] - '0'), 1 << 30);
                    ++m_pos;
                }
                if (negative)
                    parameter = -parameter;
                if (m_pos < size && m_data[m_pos] == ' ')
                    ++m_pos;
                if (word == "bin") {
                    flushBytes();
                    m_skip = 0;
                    if (parameter > size - m_pos)
                        return fail(error, QStringLiteral("Ce fichier RTF est incomplet : une "
                                                          "image est tronquée."));
                    if (parameter > 0)
                        m_pos += parameter;
                    continue;
                }
                controlWord(word, hasParameter, int(parameter));
            } else if (next == '\'') {
                ++m_pos;
                int value = 0;
                int digits = 0;
                for (; digits < 2 && m_pos < size; ++digits) {
                    const char h = m_data[m_pos];
                    if (h == '\\' || h == '{' || h == '}')
                        break;
                    const int hex = HexValue(h);
                    value = hex < 0 || value < 0 ? -1 : value * 16 + hex;
                    ++m_pos;
                }
                hexByte(digits == 2 ? value : -1);
            } else {
                ++m_pos;
                controlSymbol(next);
            }
        } else if (c == '\r' || c == '\n') {
            continue;
        } else {
            textByte(c);
        }
    }
    // After a stray closing brace the document's own end closes nothing more.
    if (!m_stack.isEmpty() && !(m_reopened && m_stack.size() == 1))
        return fail(error, QStringLiteral("Ce fichier RTF est incomplet : il s'arrête avant la "
                                          "fin du document."));
    finish();
    return true;
}

} // namespace

bool readRtf(const QByteArray &data, QTextDocument &document, QString *error)
{
    QTextDocument parsed;
    parsed.setDefaultFont(document.defaultFont());
    RtfParser parser(data, parsed);
    if (!parser.run(error))
        return false;

    document.clear();
    QTextCursor cursor(&document);
    // One edit: the document is laid out once at its end, not again after each paragraph.
    cursor.beginEditBlock();
    cursor.insertFragment(QTextDocumentFragment(&parsed));
    QTextBlock target = document.begin();
    for (QTextBlock source = parsed.begin(); source.isValid() && target.isValid();
         source = source.next(), target = target.next()) {
        QTextCursor(target).setBlockFormat(source.blockFormat());
    }
    cursor.endEditBlock();
    if (error)
        error->clear();
    return true;
}

} // namespace ferlin
