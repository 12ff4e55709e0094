#include "core/output/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// Third-party samples beside the repository (../shared/testdata/rtf); never copied here.
QString SampleFolder()
{
    return QDir::cleanPath(QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                           QStringLiteral("/../../../shared/testdata/rtf"));
}

QString Read(const QByteArray &rtf, bool *ok = nullptr, QString *error = nullptr)
{
    QTextDocument document;
    const bool read = readRtf(rtf, document, error);
    if (ok)
        *ok = read;
    return document.toPlainText();
}

QTextCharFormat FormatAt(const QTextDocument &document, const QString &text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
    ADD_FAILURE() << "no run holds " << text.toStdString();
    return {};
}

class RtfSamples : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(SampleFolder()))
            GTEST_SKIP() << "sample folder " << SampleFolder().toStdString()
                         << " absent: sample checks skipped";
    }

    bool load(const char *name, QTextDocument &document, QString *error = nullptr)
    {
        QFile file(SampleFolder() + QLatin1Char('/') + QLatin1String(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        return readRtf(file.readAll(), document, error);
    }
};

} // namespace

TEST(RtfReader, ReadsEscapesGroupsAndFormatting)
{
    QTextDocument document;
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fcharset238 "
        "Tahoma{\\*\\panose 0204}};}{\\colortbl ;\\red0\\green128\\blue0;}"
        "{\\*\\generator Test;}{\\info{\\title Titre}}{\\stylesheet{\\s0 Normal;}}\n"
        "\\pard\\tx1440\\tqc\\tx2880\\fs20 Ren\\'e9{\\b  gras{\\i\\ul  tout}}\\b0  "
        "{\\strike barr\\'e9}\\tab {\\cf1 vert}\\par\n"
        "\\pard\\f1 \\'c8esk\\'e1\\f0\\uc2\\u8364 XY\\uc1\\~\\u-10179?\\u-8704?\\line a\\{b\\}c"
        "\\\\{\\pict\\pngblip 89504e47}{\\header ent\\'eate}{\\*\\unknown cach\\'e9}"
        "\\emdash\\par}";
    ASSERT_TRUE(readRtf(rtf, document));
    EXPECT_EQ(document.toRawText(),
              QStringLiteral("René gras tout barré\tvert\u2029Česká€\u00A0😀\u2028a{b}c\\—"))
        << document.toPlainText().toStdString();
    EXPECT_EQ(document.blockCount(), 2);
    EXPECT_TRUE(FormatAt(document, QStringLiteral(" gras")).fontWeight() >= QFont::Bold);
    const QTextCharFormat all = FormatAt(document, QStringLiteral(" tout"));
    EXPECT_TRUE(all.fontItalic() && all.fontUnderline() && all.fontWeight() >= QFont::Bold);
    EXPECT_TRUE(FormatAt(document, QStringLiteral("barré")).fontStrikeOut());
    EXPECT_FALSE(FormatAt(document, QStringLiteral("barré")).fontWeight() >= QFont::Bold);
    EXPECT_EQ(FormatAt(document, QStringLiteral("vert")).foreground().color(), QColor(0, 128, 0));
    EXPECT_EQ(FormatAt(document, QStringLiteral("René")).fontPointSize(), 10.0);
    EXPECT_EQ(FormatAt(document, QStringLiteral("René")).fontFamilies().toStringList(),
              QStringList{QStringLiteral("Arial")});
    const QList<QTextOption::Tab> tabs = document.begin().blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_EQ(tabs[0].position, 72.0);
    EXPECT_EQ(tabs[1].type, QTextOption::CenterTab);
    EXPECT_TRUE(document.lastBlock().blockFormat().tabPositions().isEmpty());
}

TEST(RtfReader, KeepsTableTextAsTabsAndParagraphs)
{
    const QByteArray rtf = "{\\rtf1\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl A\\cell "
                           "\\cell C\\cell\\row\\trowd\\cellx1000\\pard\\intbl D\\cell\\row"
                           "\\pard Fin\\par}";
    EXPECT_EQ(Read(rtf), QStringLiteral("A\t\tC\nD\nFin"));
}

TEST(RtfReader, SkipsBinaryPictureBytes)
{
    QByteArray rtf = "{\\rtf1 avant{\\pict\\pngblip\\bin6 ";
    rtf += QByteArray("}{\\x\x00\x01", 6);
    rtf += "} apr\\'e8s}";
    EXPECT_EQ(Read(rtf), QStringLiteral("avant après"));
}

TEST(RtfReader, DecodesRawEightBitBytesWithTheirNeighbours)
{
    // Raw bytes of a double-byte code page make one character per pair, as \'hh pairs do.
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg932 \x82\xa0\x82\xa2 et \\'82\\'a4}"),
              QStringLiteral("あい et う"));
    EXPECT_EQ(Read("{\\rtf1{\\fonttbl{\\f0\\fcharset128 Mincho;}}\\f0 \x93\xfa\\'96\\'7b}"),
              QStringLiteral("日本"));
    // A lead byte without its trail byte gives nothing, never a NUL or a stray character.
    bool ok = false;
    const QString text = Read("{\\rtf1{\\fonttbl{\\f0\\fcharset128 Mincho;}}\\f0 a\xeb}", &ok);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(text.contains(QChar(u'\0')));
    EXPECT_TRUE(text.startsWith(QStringLiteral("a"))) << text.toStdString();
    // Single-byte code pages are unchanged, and raw bytes stand as the fallback of \uN.
    EXPECT_EQ(Read("{\\rtf1 caf\xe9 \\u233\xe9t\\'e9}"), QStringLiteral("café été"));
    EXPECT_EQ(Read("{\\rtf1\\ansicpg1251 \xcf\xf0\xe8}"), QStringLiteral("При"));
}

TEST(RtfReader, AnEmptyLastParagraphKeepsItsTabStops)
{
    // The \par that ends the last paragraph opens none: the paragraph it ended stays last, with
    // its own tab stops, empty or not.
    for (const QByteArray text : {"", "suite"}) {
        QTextDocument document;
        ASSERT_TRUE(readRtf("{\\rtf1\\pard\\tx720 titre\\par\\pard\\tqr\\tx1440 " + text + "\\par}",
                            document));
        ASSERT_EQ(document.blockCount(), 2) << text.constData();
        EXPECT_EQ(document.lastBlock().text(), QString::fromLatin1(text));
        const QList<QTextOption::Tab> first = document.begin().blockFormat().tabPositions();
        ASSERT_EQ(first.size(), 1);
        EXPECT_EQ(first[0].position, 36.0);
        const QList<QTextOption::Tab> last = document.lastBlock().blockFormat().tabPositions();
        ASSERT_EQ(last.size(), 1) << text.constData();
        EXPECT_EQ(last[0].position, 72.0);
        EXPECT_EQ(last[0].type, QTextOption::RightTab);
    }
    // A lone empty paragraph too.
    QTextDocument document;
    ASSERT_TRUE(readRtf("{\\rtf1\\pard\\tx720\\par}", document));
    EXPECT_EQ(document.blockCount(), 1);
    EXPECT_EQ(document.begin().blockFormat().tabPositions().size(), 1);
}

TEST(RtfReader, ReadsDeeplyNestedGroups)
{
    for (const int depth : {10'000, 200'000}) {
        QByteArray rtf = "{\\rtf1 ";
        for (int i = 0; i < depth; ++i)
            rtf += i == depth / 2 ? "{\\b " : "{";
        rtf += "profond";
        rtf += QByteArray(depth, '}');
        rtf += " fin}";
        QTextDocument document;
        ASSERT_TRUE(readRtf(rtf, document)) << depth;
        EXPECT_EQ(document.toPlainText(), QStringLiteral("profond fin"));
        EXPECT_TRUE(FormatAt(document, QStringLiteral("profond")).fontWeight() >= QFont::Bold);
        EXPECT_FALSE(FormatAt(document, QStringLiteral("fin")).fontWeight() >= QFont::Bold);

        // One closing brace short: refused, the document kept.
        rtf.chop(6);
        QString error;
        EXPECT_FALSE(readRtf(rtf, document, &error)) << depth;
        EXPECT_EQ(document.toPlainText(), QStringLiteral("profond fin"));
    }
}

TEST(RtfReader, RefusesDamagedFilesAndKeepsTheDocument)
{
    const QByteArray damaged[] = {"Bonjour", "", "{\\rtf1 texte {\\b gras}",
                                  "{\\rtf1 {\\pict\\bin99 abc}}"};
    for (const QByteArray &rtf : damaged) {
        QTextDocument document;
        document.setPlainText(QStringLiteral("Archive existante"));
        QString error;
        EXPECT_FALSE(readRtf(rtf, document, &error)) << rtf.constData();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(document.toPlainText(), QStringLiteral("Archive existante"));
    }
    QString error;
    QTextDocument document;
    // What follows a stray closing brace is read, not refused.
    EXPECT_TRUE(readRtf("{\\rtf1 texte}}", document, &error));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("texte"));
    EXPECT_TRUE(readRtf("{\\rtf1 texte} suite", document, &error));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("texte suite"));
    readRtf("{\\rtf1 texte", document, &error);
    EXPECT_EQ(error, QStringLiteral("Ce fichier RTF est incomplet : il s'arrête avant la fin du "
                                    "document."));
    readRtf("texte", document, &error);
    EXPECT_EQ(error, QStringLiteral("Ce fichier n'est pas au format RTF."));
}

TEST_F(RtfSamples, WordPadAccentsUnicodeAndColours)
{
    QTextDocument document;
    ASSERT_TRUE(load("wordpad-win10_accents-surrogates.rtf", document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Iñtërnâtiônàlizætiøn☃💩"));

    ASSERT_TRUE(load("wordpad-win7_unicode.rtf", document));
    const QString text = document.toPlainText();
    for (const char *part : {"Johann Strauß", "België", "René Magritte", "中国", "Česká republika"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(text.contains(QLatin1Char('\t')));

    ASSERT_TRUE(load("wordpad-win10_colors.rtf", document));
    EXPECT_TRUE(
        document.toPlainText().contains(QStringLiteral("\nNormal Line 1\nNormal Line 2\n")));
    EXPECT_FALSE(document.toPlainText().contains(QStringLiteral("Mirco")));
    EXPECT_EQ(FormatAt(document, QStringLiteral("Colored Line")).foreground().color(),
              QColor(0, 255, 0));
}

TEST_F(RtfSamples, WordDocuments)
{
    QTextDocument document;
    ASSERT_TRUE(load("word-jp_european-accents.rtf", document));
    QString text = document.toPlainText();
    for (const char *part : {"Les Misérables", "Les difficultés à définir", "¡Hola",
                             "Liga española", "München", "Österreich"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;

    ASSERT_TRUE(load("word2003_sample.rtf", document));
    text = document.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("This is some bold text")));
    EXPECT_TRUE(FormatAt(document, QStringLiteral("bold")).fontWeight() >= QFont::Bold);
    EXPECT_TRUE(FormatAt(document, QStringLiteral("italic")).fontItalic());
    EXPECT_TRUE(FormatAt(document, QStringLiteral("underline")).fontUnderline());
    EXPECT_FALSE(text.contains(QStringLiteral("Nate")));   // \info skipped
    EXPECT_FALSE(text.contains(QStringLiteral("hidden"))); // \v: hidden text

    ASSERT_TRUE(load("word_pictures-fields.rtf", document));
    text = document.toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Text here with hyperlink")));
    EXPECT_TRUE(text.contains(QStringLiteral("A graphic")));
    EXPECT_FALSE(text.contains(QStringLiteral("HYPERLINK")));
    EXPECT_FALSE(text.contains(QStringLiteral("89504e47"), Qt::CaseInsensitive));

    ASSERT_TRUE(load("word_nested-tables.rtf", document));
    EXPECT_TRUE(document.toPlainText().contains(QStringLiteral("Mittlere Herzfrequenz: 72/min")));
}

TEST_F(RtfSamples, LibreOfficeDocumentsAndPicture)
{
    QTextDocument document;
    ASSERT_TRUE(load("libreoffice_table.rtf", document));
    const QString text = document.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Calcium-Score")));
    EXPECT_TRUE(text.contains(QStringLiteral("RCA\t 0"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Gesamt Calcium-Score\t 0")));

    ASSERT_TRUE(load("libreoffice_unicode-cjk.rtf", document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("柔道"));

    ASSERT_TRUE(load("pict-bin-png.rtf", document));
    EXPECT_FALSE(document.toPlainText().contains(QStringLiteral("IEND")));
    EXPECT_FALSE(document.toPlainText().contains(QStringLiteral("PNG")));
}

TEST_F(RtfSamples, MalformedFiles)
{
    QTextDocument document;
    for (const char *name : {"malformed_truncated.rtf"}) {
        document.setPlainText(QStringLiteral("inchangé"));
        QString error;
        EXPECT_FALSE(load(name, document, &error)) << name;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(document.toPlainText(), QStringLiteral("inchangé"));
    }
    // A stray closing brace in the middle: the text on both sides of it is read, as other
    // readers do.
    ASSERT_TRUE(load("malformed_extra-brace.rtf", document));
    EXPECT_EQ(document.toPlainText().trimmed(),
              QStringLiteral("This file contains an extra brace in the middle.\n\nTest line."));
    ASSERT_TRUE(load("malformed_invalid-hex.rtf", document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("xřx"));

    ASSERT_TRUE(load("malformed_unpaired-surrogates.rtf", document));
    const QString text = document.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Unpaired hi \uFFFD here")));
    EXPECT_TRUE(text.contains(QStringLiteral("Unpaired lo \uFFFD here")));
    EXPECT_TRUE(text.contains(QStringLiteral("Mismatched pair \uFFFD\uFFFD here")));
    EXPECT_TRUE(text.toUtf8() == QString::fromUtf8(text.toUtf8()).toUtf8());
}
