#include "core/output/rtfcodec.h"

#include <QHash>
#include <QStringDecoder>

#include <memory>

namespace ferlin {

namespace {

// Characters of cp1252 bytes 0x80-0x9F (0 where the byte is unassigned).
const char16_t Cp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QString DecodeCp1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0) {
            const char16_t unit = Cp1252High[byte - 0x80];
            text.append(unit ? QChar(unit) : QChar(0xFFFD));
        } else {
            text.append(QChar(char16_t(byte)));
        }
    }
    return text;
}

const char HexDigits[] = "0123456789abcdef";

} // namespace

int RtfCharsetCodePage(int charset)
{
    switch (charset) {
    case 0:
    case 2: // Symbol: bytes are kept as in cp1252
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0;
    }
}

QString RtfDecodeCodePage(const QByteArray &bytes, int codePage)
{
    if (codePage == 1252 || codePage <= 0)
        return DecodeCp1252(bytes);
    static QHash<int, std::shared_ptr<QStringDecoder>> decoders;
    auto found = decoders.find(codePage);
    if (found == decoders.end()) {
        QByteArray name =
            codePage == 10000 ? QByteArray("macintosh") : "windows-" + QByteArray::number(codePage);
        auto decoder =
            std::make_shared<QStringDecoder>(name.constData(), QStringDecoder::Flag::Stateless);
        if (!decoder->isValid())
            decoder.reset();
        found = decoders.insert(codePage, decoder);
    }
    if (!found.value())
        return DecodeCp1252(bytes);
    return found.value()->decode(bytes);
}

unsigned char RtfCp1252Byte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<unsigned char>(unit);
    for (int i = 0; i < 32; ++i) {
        if (Cp1252High[i] == unit)
            return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

void RtfAppendEscapedText(QByteArray &out, const QString &text)
{
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit >= 0x20 && unit < 0x80) {
            if (unit == '\\' || unit == '{' || unit == '}')
                out.append('\\');
            out.append(static_cast<char>(unit));
        } else if (unit == '\t') {
            out.append("\\tab ");
        } else if (unit == 0x2028 || unit == '\n') {
            out.append("\\line ");
        } else if (unit < 0x20) {
            continue; // other control characters have no RTF text form
        } else {
            out.append("\\u");
            out.append(QByteArray::number(static_cast<int>(static_cast<int16_t>(unit))));
            const unsigned char fallback = RtfCp1252Byte(unit);
            if (fallback >= 0x80) {
                out.append("\\'");
                out.append(HexDigits[fallback >> 4]);
                out.append(HexDigits[fallback & 0xF]);
            } else {
                out.append('?');
            }
        }
    }
}

} // namespace ferlin
