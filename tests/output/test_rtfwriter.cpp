#include "core/output/rtfreader.h"
#include "core/output/rtfwriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

#include <iostream>

using namespace ferlin;

namespace {

QTextCharFormat Format(bool bold, bool italic, bool underline, bool strike, qreal size,
                       const QColor &colour = QColor(), const QString &family = QString())
{
    QTextCharFormat format;
    if (bold)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    format.setFontStrikeOut(strike);
    format.setFontPointSize(size);
    if (colour.isValid())
        format.setForeground(colour);
    if (!family.isEmpty())
        format.setFontFamilies(QStringList{family});
    return format;
}

// A document with every kind of run and two paragraphs with tab stops.
void FillSample(QTextDocument &document)
{
    QTextCursor cursor(&document);
    QTextBlockFormat tabbed;
    QTextOption::Tab right(144, QTextOption::RightTab);
    tabbed.setTabPositions({QTextOption::Tab(36, QTextOption::LeftTab), right});
    cursor.setBlockFormat(tabbed);
    cursor.insertText(QStringLiteral("Les Misérables\t"), Format(true, false, false, false, 12));
    cursor.insertText(QStringLiteral("« œuvre » {1862} \\ "), Format(false, true, false, false, 9));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("souligné"), Format(false, false, true, false, 10.5));
    cursor.insertText(QStringLiteral(" barré"), Format(false, false, false, true, 14));
    cursor.insertText(QStringLiteral(" rouge ☃ 😀"),
                      Format(true, true, false, false, 12, Qt::red, QStringLiteral("Arial")));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertBlock(tabbed);
    cursor.insertText(QStringLiteral("Fin.€"), Format(false, false, false, false, 12, Qt::blue));
}

// One line per run: text and the formatting both documents must agree on.
QStringList Runs(const QTextDocument &document)
{
    QStringList runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QStringList tabs;
        for (const QTextOption::Tab &tab : block.blockFormat().tabPositions())
            tabs << QStringLiteral("%1/%2").arg(tab.position).arg(int(tab.type));
        runs << QStringLiteral("paragraph tabs=") + tabs.join(QLatin1Char(','));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString colour = f.hasProperty(QTextFormat::ForegroundBrush)
                                       ? f.foreground().color().name()
                                       : QStringLiteral("auto");
            runs << QStringLiteral("[%1] b=%2 i=%3 u=%4 s=%5 size=%6 colour=%7")
                        .arg(it.fragment().text())
                        .arg(f.fontWeight() >= QFont::DemiBold)
                        .arg(f.fontItalic())
                        .arg(f.fontUnderline())
                        .arg(f.fontStrikeOut())
                        .arg(f.fontPointSize())
                        .arg(colour);
        }
    }
    return runs;
}

} // namespace

TEST(RtfWriter, WritesHeaderTablesAndEscapes)
{
    QTextDocument document;
    FillSample(document);
    const QByteArray rtf = writeRtf(document);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 "));
    EXPECT_TRUE(rtf.contains("\\fcharset0 Arial;}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"));
    EXPECT_TRUE(rtf.contains("\\pard\\tx720\\tqr\\tx2880 "));
    EXPECT_TRUE(rtf.contains("\\fs24\\b Les Mis\\u233\\'e9rables\\tab }"));
    EXPECT_TRUE(rtf.contains("\\u171\\'ab \\u339\\'9cuvre \\u187\\'bb \\{1862\\} \\\\ "));
    EXPECT_TRUE(rtf.contains("\\fs21\\ul soulign"));
    EXPECT_TRUE(rtf.contains("\\fs28\\strike  barr"));
    EXPECT_TRUE(rtf.contains("\\b\\i\\cf1  rouge \\u9731? \\u-10179?\\u-8704?}"));
    EXPECT_TRUE(rtf.contains("\\cf2 Fin.\\u8364\\'80}"));
    EXPECT_TRUE(rtf.endsWith("\\par\n}\n"));
    for (char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(RtfWriter, WhatWeWriteReadsBackIdentical)
{
    QTextDocument document;
    FillSample(document);
    QTextDocument copy;
    QString error;
    ASSERT_TRUE(readRtf(writeRtf(document), copy, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(copy.toPlainText(), document.toPlainText());
    EXPECT_EQ(Runs(copy), Runs(document));
    const QTextBlock second = copy.begin().next();
    auto last = second.begin();
    for (auto it = second.begin(); !it.atEnd(); ++it)
        last = it;
    EXPECT_EQ(last.fragment().charFormat().fontFamilies().toStringList(),
              QStringList{QStringLiteral("Arial")});
    // and once more: writing the copy gives the same bytes
    EXPECT_EQ(writeRtf(copy), writeRtf(document));
}

TEST(RtfWriter, UnrtfReadsTheSameText)
{
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf absent: check skipped";
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Les difficultés à définir, été 1862"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("München, Österreich, ¡Hola! Ça"), Format(true, 0, 0, 0, 11));
    // unrtf writes its text in Latin-1 and keeps only the low byte of wider characters: the
    // text stays within Latin-1.
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("archive.frd")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writeRtf(document));
    file.close();

    QProcess process;
    process.start(unrtf, {QStringLiteral("--text"), file.fileName()});
    ASSERT_TRUE(process.waitForFinished(30000));
    QStringList lines;
    for (const QString &line :
         QString::fromLatin1(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("###")) && !line.trimmed().isEmpty() &&
            !line.startsWith(QLatin1String("-----")))
            lines << line.trimmed();
    }
    EXPECT_EQ(lines, QStringList({QStringLiteral("Les difficultés à définir, été 1862"),
                                  QStringLiteral("München, Österreich, ¡Hola! Ça")}));
}

TEST(RtfWriter, WritesALargeArchiveQuickly)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const QString line = QStringLiteral("Référence n° %1 : Étude de l'optique\tmiroir, lentille, "
                                        "télescope ; revue « Ciel et Espace », pages 12-15. ")
                             .repeated(2);
    const QTextCharFormat bold = Format(true, false, false, false, 10);
    const QTextCharFormat plain = Format(false, false, false, false, 10);
    for (int i = 0; i < 6773; ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertText(QString::number(i) + QLatin1Char(' '), bold);
        cursor.insertText(line.arg(i), plain);
    }
    QElapsedTimer timer;
    timer.start();
    const QByteArray rtf = writeRtf(document);
    const qint64 writing = timer.elapsed();
    std::cout << "RTF of 6773 paragraphs: " << rtf.size() << " bytes written in " << writing
              << " ms" << std::endl;

    QTextDocument copy;
    ASSERT_TRUE(readRtf(rtf, copy));
    EXPECT_EQ(copy.blockCount(), 6773);
    EXPECT_EQ(copy.toPlainText(), document.toPlainText());

    // Handed over in pieces, the same bytes; a refused piece stops the writing there.
    QList<QByteArray> pieces;
    EXPECT_TRUE(writeRtf(document, [&](const QByteArray &piece) {
        pieces << piece;
        return true;
    }));
    EXPECT_GT(pieces.size(), 1);
    EXPECT_EQ(pieces.join(), rtf);
    int offered = 0;
    EXPECT_FALSE(writeRtf(document, [&](const QByteArray &) { return ++offered < 2; }));
    EXPECT_EQ(offered, 2);
}

TEST(RtfWriter, TextWithoutAFontOfItsOwnNamesTheFamilyAndSizeShown)
{
    QTextDocument document;
    QFont generic(QStringLiteral("Sans Serif"));
    generic.setPointSize(11);
    document.setDefaultFont(generic);
    QTextCursor(&document).insertText(QStringLiteral("Archive du panier"));
    const QByteArray rtf = writeRtf(document);
    const QString shown = QFontInfo(generic).family();
    const QByteArray table = "{\\fonttbl{\\f0\\fnil\\fcharset0 " + shown.toLatin1() + ";}";
    EXPECT_TRUE(rtf.contains(table)) << rtf.constData();
    EXPECT_TRUE(rtf.contains("{\\f0\\fs22 Archive du panier}")) << rtf.constData();
}
