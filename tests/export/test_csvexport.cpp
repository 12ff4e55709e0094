// The CSV file as spreadsheets take it: a UTF-8 byte-order mark, the separator chosen, and cells
// of any length, read back by Python's csv module (and by LibreOffice when it is installed).
#include "core/output/basketexport.h"
#include "core/output/exportformats.h"
#include "export/readback.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

// Two references whose values hold each separator alone, both, quotes and line breaks.
BasketExport awkwardBasket()
{
    BasketExport basket;
    basket.fields = {QStringLiteral("Rang"), QStringLiteral("Numéro"), QStringLiteral("Titre"),
                     QStringLiteral("Resume")};
    ExportedReference a;
    a.values = {QStringLiteral("12"), QStringLiteral("812"), QStringLiteral("Froid, tiède"),
                QStringLiteral("Il dit \"non\" ;\r\npuis, « oui »")};
    a.pdfPath = QStringLiteral("/home/prof/Textes/1999/a00012.pdf");
    ExportedReference b;
    b.values = {QStringLiteral("7"), QStringLiteral("3"), QStringLiteral("Chaud;froid"), {}};
    basket.references = {a, b};
    return basket;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

QVariantList row(const QStringList &values)
{
    return QVariant(values).toList();
}

TEST(CsvForSpreadsheets, BeginsWithAByteOrderMarkAndQuotesWhatHoldsTheSeparatorChosen)
{
    const BasketExport basket = awkwardBasket();
    QTemporaryDir dir;
    for (const QChar separator : CsvSeparators) {
        SCOPED_TRACE(QString(separator).toStdString());
        const QByteArray bytes = WriteCsv(basket, separator);
        EXPECT_TRUE(
            bytes.startsWith(QByteArray(ByteOrderMark + "Rang" + QString(separator).toUtf8())))
            << bytes.left(20).toStdString();
        const test::ReadBack read =
            test::readBack(QStringLiteral("csv"),
                           writeFile(dir, QStringLiteral("panier.csv"), bytes), QString(separator));
        if (read.skipped)
            GTEST_SKIP() << read.fault.toStdString();
        ASSERT_TRUE(read.fault.isEmpty()) << read.fault.toStdString();
        EXPECT_EQ(read.json[u"header"].toArray().toVariantList(),
                  row(basket.fields + QStringList{QStringLiteral("FichierPDF")}));
        const QJsonArray rows = read.json[u"rows"].toArray();
        ASSERT_EQ(rows.size(), 2);
        for (qsizetype i = 0; i < 2; ++i) {
            const ExportedReference &r = basket.references.at(size_t(i));
            EXPECT_EQ(rows[i].toArray().toVariantList(), row(r.values + QStringList{r.pdfPath}));
        }
    }
}

TEST(CsvForSpreadsheets, ACellBeyondTheSpreadsheetLimitIsWrittenWhole)
{
    // 40,000 characters: past the 32,767 that Excel keeps of a cell.
    const QString summary =
        QStringLiteral("Résumé ; très long, « cité ». ").repeated(1400).left(40000);
    ASSERT_EQ(summary.size(), 40000);
    BasketExport basket = awkwardBasket();
    basket.references.at(1).values[3] = summary;
    QTemporaryDir dir;
    const test::ReadBack read =
        test::readBack(QStringLiteral("csv"), writeFile(dir, QStringLiteral("long.csv"),
                                                        WriteCsv(basket, CsvSeparators.at(0))));
    if (read.skipped)
        GTEST_SKIP() << read.fault.toStdString();
    ASSERT_TRUE(read.fault.isEmpty()) << read.fault.toStdString();
    EXPECT_EQ(read.json[u"separator"].toString(), QStringLiteral(";"));
    EXPECT_EQ(read.json[u"rows"][1][3].toString(), summary);
}

TEST(CsvForSpreadsheets, LibreOfficeReadsTheAccentsOfTheHeader)
{
    QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        soffice = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const QString python = test::python();
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QTemporaryDir dir;
    const QString csv = writeFile(dir, QStringLiteral("panier.csv"),
                                  WriteCsv(awkwardBasket(), CsvSeparators.at(0)));
    // A profile of its own, so that a LibreOffice open on the desktop is left alone. The
    // character set is left to LibreOffice: the byte-order mark is what tells it UTF-8.
    QProcess convert;
    convert.start(soffice, {QStringLiteral("-env:UserInstallation=file://") +
                                dir.filePath(QStringLiteral("profil")),
                            QStringLiteral("--headless"), QStringLiteral("--infilter=CSV:59,34"),
                            QStringLiteral("--convert-to"), QStringLiteral("ods"),
                            QStringLiteral("--outdir"), dir.path(), csv});
    ASSERT_TRUE(convert.waitForFinished(180000));
    const QString ods = dir.filePath(QStringLiteral("panier.ods"));
    ASSERT_TRUE(QFile::exists(ods)) << convert.readAllStandardError().toStdString();
    QProcess unzip;
    unzip.start(python, {QStringLiteral("-c"),
                         QStringLiteral("import sys, zipfile; sys.stdout.buffer.write("
                                        "zipfile.ZipFile(sys.argv[1]).read('content.xml'))"),
                         ods});
    ASSERT_TRUE(unzip.waitForFinished(60000));
    const QString content = QString::fromUtf8(unzip.readAllStandardOutput());
    EXPECT_TRUE(content.contains(QStringLiteral(">Numéro<"))) << content.left(2000).toStdString();
}

} // namespace
