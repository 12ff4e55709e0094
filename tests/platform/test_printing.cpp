// The line printer and the rich-text printer, printing into PDF files read back by pdftotext.
#include "core/platform/platformerror.h"
#include "gui/platform/qtlineprinter.h"
#include "gui/platform/qtrichtextprinter.h"

#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// The output of a poppler tool on a PDF file, or a null text when the tool is missing.
QString popplerOutput(const char *tool, const QString &pdf)
{
    const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
    if (program.isEmpty())
        return {};
    QProcess process;
    QStringList arguments{pdf};
    if (QLatin1String(tool) == QLatin1String("pdftotext"))
        arguments << QStringLiteral("-");
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TEST(PrinterFontFamily, FallsBackOnTheMetricTwin)
{
    const QStringList installed = {QStringLiteral("DejaVu Sans"),
                                   QStringLiteral("Liberation Serif"),
                                   QStringLiteral("Liberation Sans")};
    EXPECT_EQ(printerFontFamily(QStringLiteral("Times New Roman"), installed),
              QStringLiteral("Liberation Serif"));
    EXPECT_EQ(printerFontFamily(QStringLiteral("Arial"), installed),
              QStringLiteral("Liberation Sans"));
    EXPECT_EQ(printerFontFamily(QStringLiteral("dejavu sans"), installed),
              QStringLiteral("dejavu sans"));
    EXPECT_EQ(printerFontFamily(QStringLiteral("Courier New"), installed),
              QStringLiteral("Courier New"));
    EXPECT_EQ(printerFontFamily(QStringLiteral("Times New Roman"),
                                installed + QStringList{QStringLiteral("Times New Roman")}),
              QStringLiteral("Times New Roman"));
}

TEST(QtLinePrinter, PrintsLinesIntoAPdfStartingNewPagesByItself)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("panier 1.pdf"));
    QtLinePrinter printer;
    printer.setFont(QStringLiteral("Times New Roman"), 9);
    printer.beginDocument(pdf);
    printer.printLine(QStringLiteral("Ferlin 4 : impression du panier"));
    printer.printLine(QStringLiteral("Résumé : première ligne\r\ndeuxième ligne"));
    for (int i = 1; i <= 150; ++i)
        printer.printLine(QStringLiteral("Référence n° %1").arg(i));
    printer.printLine(QStringLiteral("Fin de la sélection."));
    const int pages = printer.pageCount();
    printer.endDocument();

    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_GE(pages, 2);
    const QString text = popplerOutput("pdftotext", pdf);
    if (text.isNull())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text.contains(QStringLiteral("Ferlin 4 : impression du panier")));
    EXPECT_TRUE(text.contains(QStringLiteral("Résumé : première ligne\ndeuxième ligne")));
    EXPECT_TRUE(text.contains(QStringLiteral("Référence n° 150")));
    EXPECT_TRUE(text.contains(QStringLiteral("Fin de la sélection.")));
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    EXPECT_EQ(text.count(QLatin1Char('\f')), pages);
    const QString fonts = popplerOutput("pdffonts", pdf);
    EXPECT_TRUE(fonts.contains(QStringLiteral("TimesNewRoman")) ||
                fonts.contains(QStringLiteral("LiberationSerif")))
        << fonts.toStdString();
}

TEST(QtLinePrinter, RefusesToPrintWithoutADocumentOrAPrinter)
{
    QtLinePrinter printer;
    try {
        printer.printLine(QStringLiteral("x"));
        ADD_FAILURE() << "a line printed without a document";
    } catch (const PlatformError &error) {
        EXPECT_EQ(error.number(), PlatformErrorCode::PrinterError);
    }
    if (!printer.hasDefaultPrinter()) {
        try {
            printer.beginDocument(QString());
            ADD_FAILURE() << "a document began without a printer";
        } catch (const PlatformError &error) {
            EXPECT_EQ(error.number(), PlatformErrorCode::PrinterError);
            EXPECT_EQ(error.description(),
                      QStringLiteral("Aucune imprimante par défaut n'est installée"));
        }
    }
}

TEST(QtRichTextPrinter, PrintsTheSelectionOnlyWhenItIsChosen)
{
    QTemporaryDir dir;
    QTextDocument whole;
    whole.setHtml(QStringLiteral("<p><b>Archive du panier n° 1</b></p><p><i>Optique</i></p>"));
    QTextDocument selection;
    selection.setPlainText(QStringLiteral("Optique"));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("selection.pdf")));
    printer.setPrintRange(QPrinter::Selection);
    QtRichTextPrinter::printOn(printer, whole, &selection);

    QPrinter all(QPrinter::HighResolution);
    all.setOutputFormat(QPrinter::PdfFormat);
    all.setOutputFileName(dir.filePath(QStringLiteral("tout.pdf")));
    QtRichTextPrinter::printOn(all, whole, &selection);

    const QString selected = popplerOutput("pdftotext", printer.outputFileName());
    if (selected.isNull())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(selected.contains(QStringLiteral("Optique")));
    EXPECT_FALSE(selected.contains(QStringLiteral("Archive")));
    EXPECT_TRUE(popplerOutput("pdftotext", all.outputFileName())
                    .contains(QStringLiteral("Archive du panier n° 1")));
}

TEST(QtRichTextPrinter, OffersTheSelectionAndStopsWhenTheDialogIsCancelled)
{
    QTextDocument whole;
    whole.setPlainText(QStringLiteral("Archive"));
    QTextDocument selection;
    selection.setPlainText(QStringLiteral("Arch"));

    bool seen = false;
    bool offersSelection = false;
    bool offersPageRange = true;
    bool startsWithSelection = false;
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        seen = true;
        offersSelection = dialog->testOption(QAbstractPrintDialog::PrintSelection);
        offersPageRange = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
        startsWithSelection = dialog->printer()->printRange() == QPrinter::Selection;
        dialog->reject();
    });
    poll->start(10);

    QtRichTextPrinter printer;
    EXPECT_FALSE(printer.print(whole, &selection));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(offersSelection);
    EXPECT_FALSE(offersPageRange);
    EXPECT_TRUE(startsWithSelection);
}

TEST(QtLinePrinter, ALineWiderThanThePageGoesOnOverTheNextLinesWithinTheMargins)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    QtLinePrinter printer;
    printer.setFont(QStringLiteral("Times New Roman"), 14);
    printer.beginDocument(pdf);
    QString words;
    for (int i = 1; i <= 60; ++i)
        words += QStringLiteral("mot%1 ").arg(i);
    printer.printLine(words + QStringLiteral("dernier"));
    printer.printLine(QString(300, u'x'));
    printer.endDocument();
    const QString text = popplerOutput("pdftotext", pdf);
    if (text.isNull())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text.contains(QStringLiteral("dernier")));
    EXPECT_TRUE(text.contains(QStringLiteral("mot60")));
    EXPECT_EQ(QString(text).count(u'x'), 300);
    // Every word starts 10 mm (28.3 points) from the edges of the page, a glyph's own side
    // bearing aside.
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QProcess process;
    process.start(program, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    const QString boxes = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
    int placed = 0;
    for (auto it = word.globalMatch(boxes); it.hasNext(); ++placed) {
        const auto m = it.next();
        EXPECT_GE(m.captured(1).toDouble(), 27.5);
        EXPECT_GE(m.captured(2).toDouble(), 27.5);
    }
    EXPECT_GT(placed, 60);
}
