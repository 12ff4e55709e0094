#include "output/rtfreader.h"

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

TEST(RtfReader, RefusesDamagedFilesAndKeepsTheDocument)
{
    const QByteArray damaged[] = {"Bonjour",
                                  "",
                                  "{\\rtf1 texte {\\b gras}",
                                  "{\\rtf1 texte}}",
                                  "{\\rtf1 texte} suite",
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
    EXPECT_FALSE(text.contains(QStringLiteral("Nate"))); // \info skipped

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
    for (const char *name : {"malformed_truncated.rtf", "malformed_extra-brace.rtf"}) {
        document.setPlainText(QStringLiteral("inchangé"));
        QString error;
        EXPECT_FALSE(load(name, document, &error)) << name;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(document.toPlainText(), QStringLiteral("inchangé"));
    }
    ASSERT_TRUE(load("malformed_invalid-hex.rtf", document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("xřx"));

    ASSERT_TRUE(load("malformed_unpaired-surrogates.rtf", document));
    const QString text = document.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Unpaired hi \uFFFD here")));
    EXPECT_TRUE(text.contains(QStringLiteral("Unpaired lo \uFFFD here")));
    EXPECT_TRUE(text.contains(QStringLiteral("Mismatched pair \uFFFD\uFFFD here")));
    EXPECT_TRUE(text.toUtf8() == QString::fromUtf8(text.toUtf8()).toUtf8());
}
