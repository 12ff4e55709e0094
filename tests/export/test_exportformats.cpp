// The four export files of a basket, each read back by a reader of its format's ecosystem.
#include "core/context/settings.h"
#include "core/db/database.h"
#include "core/db/schema.h"
#include "core/output/basketexport.h"
#include "export/readback.h"
#include "support/samplebasecopy.h"
#include "support/tempbase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

using namespace ferlin;

namespace {

// Basket 1 holds three references that try every format: accents and apostrophes, every
// character BibTeX reads (a lone brace included), a summary of two lines, several authors,
// commas and quotes, a reference without year or page. Basket order: C, A, B.
class ExportFiles : public ::testing::Test {
protected:
    test::TempBase base;
    QTemporaryDir hardDisk; // the texts copied to a hard disk
    QTemporaryDir out;

    const QString titleA = QStringLiteral("Mesures à l'été { 50 % & #1 _a \\b ~c ^d $e }}");
    const QString fullTitleA = titleA + QStringLiteral(" : d'après « Ampère »");
    // French typography: no-break spaces inside the quotes.
    const QString summaryA = QStringLiteral("Première ligne, avec «\u00a0guillemets\u00a0».\r\n"
                                            "Deuxième ligne : 10 $ & \"cité\".");
    QString pdfA;

    ExportFiles()
    {
        add({30,
             2001,
             QStringLiteral("900"),
             QStringLiteral(" Mars "),
             95,
             5,
             1,
             QStringLiteral("Les \"guillemets\", la virgule"),
             {},
             {},
             {},
             QStringLiteral("a,b\r\n\"c\""),
             QStringLiteral("FERLIN4\\Textes\\2001\\a00030.pdf")});
        add({12, 1999, QStringLiteral(" 812 "), QStringLiteral("janvier-février"), 92, 345, 4,
             titleA, QStringLiteral("d'après « Ampère »"),
             QStringLiteral("Dupont Jean-Pierre\r\n Le Gall Lucien \r\nPlaton"),
             QStringLiteral(" énergie \r\n\r\n chaleur massique \r\n"), summaryA,
             QStringLiteral("FERLIN4\\TEXTES\\1999\\A00012.PDF")});
        add({7,
             {},
             QStringLiteral("3"),
             {},
             {},
             {},
             3,
             QStringLiteral("Sans date ni page"),
             {},
             QStringLiteral("Durand Paul"),
             {},
             {},
             {}});
        QDir(hardDisk.path()).mkpath(QStringLiteral("Textes/1999"));
        pdfA = hardDisk.filePath(QStringLiteral("Textes/1999/a00012.pdf"));
        QFile pdf(pdfA);
        pdf.open(QIODevice::WriteOnly);
    }

    struct Row {
        QVariant rang, year, number, month, volume, page, pages, title, subtitle, authors, keywords,
            summary, fullText;
    };
    void add(const Row &r)
    {
        base.db->executeBound(
            QStringLiteral("INSERT INTO [TSélection1] (Rang, An, Numéro, Mois, Volume, Page, "
                           "NombrePages, Titre, Soustitre, Auteur, MotsCles, Resume, "
                           "TexteIntegral) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {r.rang, r.year, r.number, r.month, r.volume, r.page, r.pages, r.title, r.subtitle,
             r.authors, r.keywords, r.summary, r.fullText});
    }

    // Exports basket 1 and reads the file back; an empty document when the reader is missing.
    test::ReadBack exported(ExportFormat format)
    {
        const QString file =
            out.filePath(QStringLiteral("panier.") + exportFormatInfo(format).extension);
        EXPECT_EQ(ExportBasket(*base.db, 1, format, file, hardDisk.path()), 3);
        return test::readBack(exportFormatInfo(format).name, file);
    }
};

#define READ_BACK(result, format)                                                                  \
    const test::ReadBack result = exported(format);                                                \
    if (result.skipped)                                                                            \
        GTEST_SKIP() << result.fault.toStdString();                                                \
    ASSERT_TRUE(result.fault.isEmpty()) << result.fault.toStdString()

// CSL's date parts of one date: [[year, month]].
QJsonArray dateParts(int year, int month)
{
    QJsonArray date;
    date.append(QJsonArray{year, month});
    return date;
}

QJsonArray pairs(std::initializer_list<std::pair<const char *, QString>> list)
{
    QJsonArray array;
    for (const auto &[tag, value] : list)
        array.append(QJsonArray{QString::fromUtf8(tag), value});
    return array;
}

TEST_F(ExportFiles, BibTeXIsReadBackByPybtex)
{
    READ_BACK(read, ExportFormat::BibTeX);
    const QJsonArray entries = read.json.array();
    ASSERT_EQ(entries.size(), 3);
    const QJsonObject c = entries[0].toObject(), a = entries[1].toObject(),
                      b = entries[2].toObject();
    EXPECT_EQ(c[u"key"].toString(), QStringLiteral("kavetol2001_30"));
    EXPECT_EQ(a[u"key"].toString(), QStringLiteral("kavetol1999_12"));
    EXPECT_EQ(b[u"key"].toString(), QStringLiteral("kavetol_7"));
    EXPECT_EQ(a[u"type"].toString(), QStringLiteral("article"));
    // BibTeX reads every run of blanks and line breaks as one blank.
    EXPECT_EQ(
        a[u"fields"].toObject(),
        (QJsonObject{{QStringLiteral("title"), fullTitleA},
                     {QStringLiteral("journal"), QStringLiteral("Kavetol")},
                     {QStringLiteral("year"), QStringLiteral("1999")},
                     {QStringLiteral("month"), QStringLiteral("January")},
                     {QStringLiteral("volume"), QStringLiteral("92")},
                     {QStringLiteral("number"), QStringLiteral("812")},
                     {QStringLiteral("pages"), QStringLiteral("345--348")},
                     {QStringLiteral("abstract"),
                      QString(summaryA).replace(QStringLiteral("\r\n"), QStringLiteral(" "))},
                     {QStringLiteral("keywords"), QStringLiteral("énergie, chaleur massique")},
                     {QStringLiteral("file"), pdfA},
                     {QStringLiteral("langid"), QStringLiteral("french")},
                     {QStringLiteral("language"), QStringLiteral("french")}}));
    EXPECT_EQ(a[u"authors"].toArray(),
              (QJsonArray{QJsonArray{QStringLiteral("Dupont"), QStringLiteral("Jean-Pierre")},
                          QJsonArray{QStringLiteral("Le Gall"), QStringLiteral("Lucien")},
                          QJsonArray{QStringLiteral("Platon"), QString()}}));
    EXPECT_EQ(c[u"fields"][u"month"].toString(), QStringLiteral("March"));
    EXPECT_EQ(c[u"fields"][u"pages"].toString(), QStringLiteral("5"));
    EXPECT_EQ(c[u"fields"][u"abstract"].toString(), QStringLiteral("a,b \"c\""));
    EXPECT_FALSE(c[u"fields"].toObject().contains(u"file")) << "no such file on the disk";
    EXPECT_EQ(b[u"fields"].toObject().keys(),
              (QStringList{QStringLiteral("journal"), QStringLiteral("langid"),
                           QStringLiteral("language"), QStringLiteral("number"),
                           QStringLiteral("title")}));
}

TEST_F(ExportFiles, RisFollowsTheTagGrammarLineByLine)
{
    READ_BACK(read, ExportFormat::Ris);
    const QJsonArray records = read.json.array();
    ASSERT_EQ(records.size(), 3);
    const QString journal = QStringLiteral("Kavetol");
    EXPECT_EQ(
        records[1].toArray(),
        pairs({{"TY", QStringLiteral("JOUR")},
               {"ID", QStringLiteral("kavetol1999_12")},
               {"AN", QStringLiteral("12")},
               {"AU", QStringLiteral("Dupont, Jean-Pierre")},
               {"AU", QStringLiteral("Le Gall, Lucien")},
               {"AU", QStringLiteral("Platon")},
               {"TI", fullTitleA},
               {"T2", journal},
               {"JO", journal},
               {"PY", QStringLiteral("1999")},
               {"DA", QStringLiteral("1999/01//")},
               {"VL", QStringLiteral("92")},
               {"IS", QStringLiteral("812")},
               {"SP", QStringLiteral("345")},
               {"EP", QStringLiteral("348")},
               // One value, its second line an untagged line after it.
               {"AB", QString(summaryA).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))},
               {"KW", QStringLiteral("énergie")},
               {"KW", QStringLiteral("chaleur massique")},
               {"L1", pdfA},
               {"LA", QStringLiteral("fr")}}));
    EXPECT_EQ(records[2].toArray(), pairs({{"TY", QStringLiteral("JOUR")},
                                           {"ID", QStringLiteral("kavetol_7")},
                                           {"AN", QStringLiteral("7")},
                                           {"AU", QStringLiteral("Durand, Paul")},
                                           {"TI", QStringLiteral("Sans date ni page")},
                                           {"T2", journal},
                                           {"JO", journal},
                                           {"IS", QStringLiteral("3")},
                                           {"LA", QStringLiteral("fr")}}));
    EXPECT_TRUE(records[0].toArray().contains(pairs({{"DA", QStringLiteral("2001/03//")}})[0]));
}

TEST_F(ExportFiles, CslJsonItemsHaveTheirStructure)
{
    READ_BACK(read, ExportFormat::CslJson);
    const QJsonArray items = read.json.array();
    ASSERT_EQ(items.size(), 3);
    const QJsonObject person{{QStringLiteral("family"), QStringLiteral("Dupont")},
                             {QStringLiteral("given"), QStringLiteral("Jean-Pierre")}};
    EXPECT_EQ(
        items[1].toObject(),
        (QJsonObject{
            {QStringLiteral("id"), QStringLiteral("kavetol1999_12")},
            {QStringLiteral("type"), QStringLiteral("article-journal")},
            {QStringLiteral("title"), fullTitleA},
            {QStringLiteral("container-title"), QStringLiteral("Kavetol")},
            {QStringLiteral("author"),
             QJsonArray{person,
                        QJsonObject{{QStringLiteral("family"), QStringLiteral("Le Gall")},
                                    {QStringLiteral("given"), QStringLiteral("Lucien")}},
                        QJsonObject{{QStringLiteral("family"), QStringLiteral("Platon")}}}},
            {QStringLiteral("issued"),
             QJsonObject{{QStringLiteral("date-parts"), dateParts(1999, 1)}}},
            {QStringLiteral("volume"), QStringLiteral("92")},
            {QStringLiteral("issue"), QStringLiteral("812")},
            {QStringLiteral("page"), QStringLiteral("345-348")},
            {QStringLiteral("abstract"),
             QString(summaryA).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))},
            {QStringLiteral("keyword"), QStringLiteral("énergie, chaleur massique")},
            {QStringLiteral("language"), QStringLiteral("fr")},
            {QStringLiteral("custom"), QJsonObject{{QStringLiteral("rang"), QStringLiteral("12")},
                                                   {QStringLiteral("pdf"), pdfA}}}}));
    EXPECT_EQ(items[0][u"issued"].toObject(),
              QJsonObject({{QStringLiteral("date-parts"), dateParts(2001, 3)}}));
    EXPECT_FALSE(items[2].toObject().contains(u"issued"));
    EXPECT_FALSE(items[2].toObject().contains(u"page"));
}

TEST_F(ExportFiles, CsvKeepsCommasQuotesAndLineBreaksInTheirColumns)
{
    READ_BACK(read, ExportFormat::Csv);
    EXPECT_EQ(
        read.json[u"header"].toArray().toVariantList(),
        QVariant(Schema::referenceFields() + QStringList{QStringLiteral("FichierPDF")}).toList());
    const QJsonArray rows = read.json[u"rows"].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toArray().toVariantList(),
              QVariant(QStringList{QStringLiteral("30"),
                                   QStringLiteral("2001"),
                                   QStringLiteral("900"),
                                   QStringLiteral("Mars"),
                                   QStringLiteral("95"),
                                   QStringLiteral("5"),
                                   QStringLiteral("1"),
                                   QStringLiteral("Les \"guillemets\", la virgule"),
                                   {},
                                   {},
                                   {},
                                   {},
                                   {},
                                   {},
                                   QStringLiteral("a,b\r\n\"c\""),
                                   QStringLiteral("FERLIN4\\Textes\\2001\\a00030.pdf"),
                                   {},
                                   {},
                                   {}})
                  .toList());
    const QJsonArray a = rows[1].toArray();
    EXPECT_EQ(a[7].toString(), titleA);
    EXPECT_EQ(a[9].toString(), QStringLiteral("Dupont Jean-Pierre\r\nLe Gall Lucien\r\nPlaton"));
    EXPECT_EQ(a[13].toString(), QStringLiteral("énergie\r\nchaleur massique"));
    EXPECT_EQ(a[18].toString(), pdfA);
}

TEST_F(ExportFiles, NoPdfIsNamedWhenTheTextsAreReadFromTheDiscs)
{
    Settings settings;
    settings.hardDiskFolder = hardDisk.path();
    settings.setTextsOnCd(true);
    EXPECT_EQ(exportTextsFolder(settings), QString());
    for (const ExportedReference &r : ReadBasketForExport(*base.db, 1, QString()).references)
        EXPECT_EQ(r.pdfPath, QString());
    settings.setTextsOnHardDisk(true);
    EXPECT_EQ(exportTextsFolder(settings), hardDisk.path());
}

TEST_F(ExportFiles, AFailedWriteLeavesNoPartialFileAndTheFormerOneWhole)
{
    const QString file = out.filePath(QStringLiteral("liste.bib"));
    QFile former(file);
    ASSERT_TRUE(former.open(QIODevice::WriteOnly));
    former.write("ancienne liste");
    former.close();
    {
        // A disk that takes no more than 100 bytes per file.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previous = signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        try {
            ExportBasket(*base.db, 1, ExportFormat::BibTeX, file, QString());
            ADD_FAILURE() << "written past the limit";
        } catch (const ExportError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("L'export n'a pas pu être écrit dans « ") +
                                           file +
                                           QStringLiteral(" » : l'écriture a échoué. Aucun fichier "
                                                          "n'a été créé ni modifié sous ce nom."));
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previous);
    }
    ASSERT_TRUE(former.open(QIODevice::ReadOnly));
    EXPECT_EQ(former.readAll(), QByteArray("ancienne liste"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("liste.bib")});

    const QString absent = out.filePath(QStringLiteral("absent"));
    try {
        ExportBasket(*base.db, 1, ExportFormat::Csv, absent + QStringLiteral("/x.csv"), QString());
        ADD_FAILURE() << "written in a folder that does not exist";
    } catch (const ExportError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Le fichier « ") + absent +
                                       QStringLiteral("/x.csv » ne peut pas être écrit : le "
                                                      "dossier « ") +
                                       absent + QStringLiteral(" » n'existe pas."));
    }
}

TEST(ExportWholeBase, ABasketOfTheWholeSampleBaseReadsBackInEveryFormat)
{
    QTemporaryDir dir;
    const std::unique_ptr<Database> db = Database::open(test::copyOfGeneratedBase(dir, 6773));
    db->execute(QStringLiteral("INSERT INTO [TSélection2] SELECT * FROM TArticles"));
    for (int i = 0; i < ExportFormatCount; ++i) {
        const ExportFormatInfo &info = exportFormatInfo(ExportFormat(i));
        SCOPED_TRACE(info.name.toStdString());
        const QString file =
            withExportExtension(dir.filePath(QStringLiteral("base")), ExportFormat(i));
        EXPECT_EQ(ExportBasket(*db, 2, ExportFormat(i), file, QString()), 6773);
        const test::ReadBack read = test::readBack(info.name, file);
        if (read.skipped) {
            std::printf("not read back: %s\n", qPrintable(read.fault));
            continue;
        }
        ASSERT_TRUE(read.fault.isEmpty()) << read.fault.toStdString();
        const qsizetype count = ExportFormat(i) == ExportFormat::Csv
                                    ? read.json[u"rows"].toArray().size()
                                    : read.json.array().size();
        EXPECT_EQ(count, 6773);
    }
}

} // namespace
