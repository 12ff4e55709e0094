// The one-page PDFs of the sample texts.
#include "pdfcheck.h"
#include "pdfwriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin::sample;
using ferlin::pdfcheck::hasExactCrossReferences;
using ferlin::pdfcheck::pdfToText;

TEST(PdfLiteral, EscapesDelimitersAndWritesLatinLettersAsOctal)
{
    EXPECT_EQ(pdfLiteral(QStringLiteral("a(b)c\\d")), QByteArray("(a\\(b\\)c\\\\d)"));
    EXPECT_EQ(pdfLiteral(QStringLiteral("l'été")), QByteArray("(l'\\351t\\351)"));
    // WinAnsi places of letters outside Latin-1, and a character the encoding lacks.
    EXPECT_EQ(pdfLiteral(QStringLiteral("œil’")), QByteArray("(\\234il\\222)"));
    EXPECT_EQ(pdfLiteral(QStringLiteral("x→y")), QByteArray("(x?y)"));
}

TEST(OnePagePdf, IsValidAndWrapsALongTitle)
{
    PdfPage page;
    page.header = QStringLiteral("KVT - Bulletin n° 812");
    page.title = QStringLiteral("Une très longue étude de la lentille convergente, du miroir "
                                "sphérique et du foyer principal, avec de nombreux montages");
    page.blocks << QStringLiteral("Dupont Jean") << QString() << QStringLiteral("Résumé.");
    page.footer = QStringLiteral("Pied de page");
    const QByteArray pdf = onePagePdf(page);

    EXPECT_TRUE(hasExactCrossReferences(pdf));
    EXPECT_TRUE(pdf.contains("/BaseFont /Helvetica /Encoding /WinAnsiEncoding"));
    EXPECT_GE(pdf.count("/F1 17 Tf"), 2) << "the title takes several lines";
    EXPECT_TRUE(pdf.contains("(Pied de page) Tj"));
}

TEST(OnePagePdf, ReadsBackThroughPdftotext)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.pdf"));
    PdfPage page;
    page.title = QStringLiteral("L'œil (modèle) \\ « réfraction » à 45° : déjà vu");
    page.blocks << QStringLiteral("Hélène L'Hôpital");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(onePagePdf(page));
    file.close();

    const QString text = pdfToText(path);
    if (text.isNull())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_EQ(text, page.title + u' ' + page.blocks.first());
}
