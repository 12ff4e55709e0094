// The sample base: what the program and its searches rely on in the generated data.
#include "pdfcheck.h"
#include "samplebase.h"

#include "core/db/catalog.h"
#include "core/db/database.h"
#include "core/db/fieldpresentation.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

using namespace ferlin;

namespace {

constexpr int Size = 600;
const QString CrLf = QStringLiteral("\r\n");

QString basePath(const QString &folder)
{
    return QDir(folder).filePath(QLatin1String(Database::FileName));
}

// Each row of a query as one text (NULL shown as "<null>"), in the query's order.
QStringList rows(Database &db, const QString &sql)
{
    StatementPtr stmt = db.prepare(sql);
    QStringList out;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < sqlite3_column_count(stmt.get()); ++i) {
            const QVariant v = columnValue(stmt.get(), i);
            values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        }
        out << values.join(u'|');
    }
    return out;
}

QStringList allTables(Database &db)
{
    QStringList out;
    for (const QString &table : rows(db, QStringLiteral("SELECT name FROM sqlite_master WHERE "
                                                        "type='table' ORDER BY name")))
        out << table << rows(db, QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(table));
    return out;
}

int count(Database &db, const QString &jetCondition, const QString &table = Schema::Articles)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM [%1] WHERE %2").arg(table, jetCondition))
        .toInt();
}

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

class SampleBase : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        s_summary = sample::generate(s_dir->path(), {7, Size, true});
    }
    static void TearDownTestSuite() { delete s_dir; }

    void SetUp() override { db = Database::open(basePath(s_dir->path())); }

    static inline QTemporaryDir *s_dir = nullptr;
    static inline sample::Summary s_summary;
    std::unique_ptr<Database> db;
};

TEST_F(SampleBase, FillsTheLookupTablesAndLeavesTheBasketsEmpty)
{
    EXPECT_EQ(count(*db, QStringLiteral("1")), Size);
    EXPECT_EQ(ReadLookupList(*db, LookupList::Keywords).size(), 2300);
    EXPECT_GE(ReadLookupList(*db, LookupList::SeeAlso).size(), 30);
    EXPECT_EQ(ReadLookupList(*db, LookupList::PointsOfView).size(), 8);
    EXPECT_EQ(ReadLookupList(*db, LookupList::Domains).size(), 12);
    EXPECT_EQ(ReadLookupList(*db, LookupList::Authors).size(), s_summary.authors);

    const std::vector<StateBandColours> bands = ReadStateBands(*db);
    ASSERT_EQ(bands.size(), 9u);
    for (const StateBandColours &band : bands) {
        EXPECT_EQ(band.referenced, sample::Green);
        for (quint32 colour : {band.indexed, band.fullText})
            EXPECT_TRUE(colour == sample::Green || colour == sample::Yellow ||
                        colour == sample::Red);
    }
    EXPECT_NE(bands.front().indexed, sample::Green) << "few old articles are indexed";
    EXPECT_EQ(bands.back().indexed, sample::Green);

    for (int n = 1; n <= Schema::BasketCount; ++n) {
        EXPECT_EQ(CountBasket(*db, n), 0);
        Transaction transaction(*db); // rolled back
        const QString insert =
            QStringLiteral("INSERT INTO [%1] SELECT * FROM TArticles WHERE Rang=5")
                .arg(Schema::basketTable(n));
        db->executeBound(insert, {});
        try {
            db->executeBound(insert, {});
            ADD_FAILURE() << "a second row with the same Rang was accepted";
        } catch (const DbError &e) {
            EXPECT_EQ(e.number(), DbErrorCode::DuplicateKey);
        }
    }
}

TEST_F(SampleBase, StoresTheNewestFirstWithRangOneForTheOldest)
{
    RecordSet set(*db, Schema::Articles);
    ASSERT_EQ(set.recordCount(), Size);
    for (int n : {1, 2, 17, Size / 2, Size}) {
        set.setAbsolutePosition(Size - n); // 0-based position of "N - n + 1"
        EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), n);
    }
    set.moveFirst();
    EXPECT_EQ(set.value(QStringLiteral("An")).toInt(), 2001);
    set.moveLast();
    EXPECT_EQ(set.value(QStringLiteral("An")).toInt(), 1907);

    // The program's sort key gives the table order; Numéro is text and still sorts right.
    QStringList ranks;
    for (int n = Size; n >= 1; --n)
        ranks << QString::number(n);
    EXPECT_EQ(rows(*db, QStringLiteral("SELECT Rang FROM TArticles ORDER BY rowid")), ranks);
    EXPECT_EQ(rows(*db, QStringLiteral("SELECT Rang FROM TArticles ORDER BY An DESC,Numéro "
                                       "DESC,Page DESC")),
              ranks);
    EXPECT_EQ(rows(*db, QStringLiteral("SELECT DISTINCT typeof(Numéro)||typeof(Page)||"
                                       "typeof(Volume)||typeof(NombrePages) FROM TArticles")),
              QStringList{QStringLiteral("textintegerintegerinteger")});

    // Bulletins rise with time, 8 to 10 a year; pages rise within a volume without overlap.
    EXPECT_EQ(count(*db, QStringLiteral("Volume <> An - 1906 OR NombrePages NOT BETWEEN 1 AND "
                                        "30")),
              0);
    EXPECT_EQ(rows(*db, QStringLiteral("SELECT 1 FROM TArticles a JOIN TArticles b ON "
                                       "a.Rang = b.Rang + 1 WHERE CAST(a.Numéro AS INTEGER) < "
                                       "CAST(b.Numéro AS INTEGER) OR (a.An = b.An AND a.Page < "
                                       "b.Page + b.NombrePages)")),
              QStringList());
    EXPECT_EQ(rows(*db, QStringLiteral("SELECT An FROM TArticles GROUP BY An HAVING "
                                       "count(DISTINCT Numéro) > 10")),
              QStringList());
}

TEST_F(SampleBase, SameSeedGivesTheSameBaseAndTextsAnotherSeedAnotherBase)
{
    QTemporaryDir again, otherSeed, smaller;
    sample::generate(again.path(), {7, Size, true});
    sample::generate(otherSeed.path(), {8, Size, false});
    sample::generate(smaller.path(), {7, 50, false});

    const QStringList content = allTables(*db);
    EXPECT_EQ(allTables(*Database::open(basePath(again.path()))), content);
    EXPECT_NE(allTables(*Database::open(basePath(otherSeed.path()))), content);
    const QStringList files = filesBelow(s_dir->path());
    ASSERT_EQ(filesBelow(again.path()), files);
    for (const QString &file : files) {
        QFile a(QDir(s_dir->path()).filePath(file)), b(QDir(again.path()).filePath(file));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        ASSERT_EQ(a.readAll(), b.readAll()) << qPrintable(file);
    }
    // The vocabulary does not depend on the number of references.
    const QString keywords = QStringLiteral("SELECT * FROM [TClés] ORDER BY rowid");
    EXPECT_EQ(rows(*Database::open(basePath(smaller.path())), keywords), rows(*db, keywords));
}

TEST_F(SampleBase, IndexesTextsAndSummarisesRealisticShares)
{
    auto share = [&](const QString &condition) { return double(count(*db, condition)) / Size; };
    EXPECT_NEAR(share(QStringLiteral("MotsCles IS NOT NULL")), 0.58, 0.08);
    EXPECT_NEAR(share(QStringLiteral("TexteIntegral IS NOT NULL")), 0.49, 0.08);
    EXPECT_NEAR(share(QStringLiteral("Resume IS NOT NULL")), 0.85, 0.06);
    EXPECT_NEAR(share(QStringLiteral("Soustitre IS NOT NULL")), 0.33, 0.07);
    EXPECT_GT(share(QStringLiteral("Resume LIKE \"*\r\n*\"")), 0.1) << "paragraph breaks";
    EXPECT_GT(count(*db, QStringLiteral("MotsCles IS NOT NULL AND An > 1960")),
              3 * count(*db, QStringLiteral("MotsCles IS NOT NULL AND An <= 1960")));

    // The four index fields come together; full texts with their disc, older ones on disc 1.
    EXPECT_EQ(count(*db, QStringLiteral("(MotsCles IS NULL) + (Domaine IS NULL) + (PointdeVue "
                                        "IS NULL) + (Niveaux IS NULL) NOT IN (0, 4)")),
              0);
    EXPECT_EQ(count(*db, QStringLiteral("(TexteIntegral IS NULL) <> (Localisation IS NULL) OR "
                                        "Localisation NOT IN ('1', '2')")),
              0);
    const int disc1 = count(*db, QStringLiteral("Localisation = '1'"));
    const int disc2 = count(*db, QStringLiteral("Localisation = '2'"));
    EXPECT_NEAR(double(disc1) / (disc1 + disc2), 0.5, 0.15);
    EXPECT_LT(
        db->scalar(QStringLiteral("SELECT max(An) FROM TArticles WHERE Localisation='1'")).toInt(),
        db->scalar(QStringLiteral("SELECT min(An) FROM TArticles WHERE Localisation='2'")).toInt());
}

TEST_F(SampleBase, ListFieldsHoldBlankedLinesFromTheLookupTables)
{
    const auto valuesOf = [&](LookupList list) {
        const QStringList values = ReadLookupList(*db, list);
        return QSet<QString>(values.begin(), values.end());
    };
    const QSet<QString> keywords = valuesOf(LookupList::Keywords),
                        domains = valuesOf(LookupList::Domains),
                        views = valuesOf(LookupList::PointsOfView),
                        authors = valuesOf(LookupList::Authors);
    const QSet<QString> levels = {QStringLiteral("primaire"), QStringLiteral("collège"),
                                  QStringLiteral("lycée"), QStringLiteral("postbac")};
    const QSet<QString> oddMonths = {QStringLiteral("août-septembre"), QStringLiteral("Mars"),
                                     QStringLiteral(" mars ")};
    QSet<QString> usedAuthors;
    auto records = db->openRecordSet(Schema::Articles);
    for (records->moveFirst(); !records->isEof(); records->moveNext()) {
        const QStringList authorLines = records->text(QStringLiteral("Auteur")).split(CrLf);
        EXPECT_LE(authorLines.size(), 3);
        for (const QString &author : authorLines) {
            EXPECT_TRUE(authors.contains(author)) << qPrintable(author);
            usedAuthors.insert(author);
        }
        const QString month = records->text(QStringLiteral("Mois"));
        EXPECT_TRUE(!BasketMonthCode(month).isEmpty() || oddMonths.contains(month));
        EXPECT_EQ(records->text(QStringLiteral("MajDate")), QStringLiteral("2003-04-15"));
        if (records->value(QStringLiteral("MotsCles")).isNull())
            continue;
        const std::pair<QString, const QSet<QString> *> fields[] = {
            {QStringLiteral("MotsCles"), &keywords},
            {QStringLiteral("Domaine"), &domains},
            {QStringLiteral("PointdeVue"), &views},
            {QStringLiteral("Niveaux"), &levels}};
        for (const auto &[field, allowed] : fields) {
            for (const QString &line : records->text(field).split(CrLf)) {
                EXPECT_TRUE(line.startsWith(u' ') && line.endsWith(u' ')) << qPrintable(line);
                EXPECT_TRUE(allowed->contains(line.mid(1, line.size() - 2))) << qPrintable(line);
            }
        }
    }
    EXPECT_EQ(usedAuthors, authors) << "TAuteurs lists exactly the authors of the references";
    records->moveFirst();
    EXPECT_EQ(formatUpdateDate(UpdateDate(*records)), QStringLiteral("15/04/2003"));

    QCollator french(QLocale(QLocale::French, QLocale::France));
    for (LookupList list : {LookupList::Keywords, LookupList::Authors, LookupList::SeeAlso}) {
        const QStringList values = ReadLookupList(*db, list);
        for (qsizetype i = 1; i < values.size(); ++i)
            EXPECT_LT(french.compare(values.at(i - 1), values.at(i)), 0)
                << qPrintable(values.at(i));
    }
    for (const QString &line : ReadLookupList(*db, LookupList::SeeAlso)) {
        const auto m = QRegularExpression(QStringLiteral("^.+ voir (aussi )?(.+)$")).match(line);
        ASSERT_TRUE(m.hasMatch()) << qPrintable(line);
        EXPECT_TRUE(keywords.contains(m.captured(2))) << qPrintable(line);
    }
}

TEST_F(SampleBase, FullTextsArePdfFilesOnTheirDisc)
{
    const QRegularExpression form(
        QStringLiteral("^FERLIN4\\\\Textes\\\\(\\d{4})\\\\a\\d{5}\\.pdf$"));
    QStringList expected;
    for (const QString &row : rows(*db, QStringLiteral("SELECT TexteIntegral, Localisation, An "
                                                       "FROM TArticles WHERE TexteIntegral IS "
                                                       "NOT NULL"))) {
        const QStringList parts = row.split(u'|');
        const auto m = form.match(parts[0]);
        ASSERT_TRUE(m.hasMatch()) << qPrintable(parts[0]);
        EXPECT_EQ(m.captured(1), parts[2]);
        expected << QStringLiteral("FERLIN4_") + parts[1] + u'/' +
                        parts[0].mid(8).replace(u'\\', u'/');
    }
    expected.sort();
    EXPECT_EQ(filesBelow(s_dir->path()).filter(QStringLiteral(".pdf")), expected);
    EXPECT_EQ(s_summary.pdfFiles, expected.size());

    // Besides the texts, disc 1 holds a harmless stand-in for the PDF viewer's installer.
    QStringList others;
    for (const QString &file : filesBelow(s_dir->path()))
        if (!file.endsWith(QStringLiteral(".pdf")))
            others << file;
    EXPECT_EQ(others, (QStringList{QStringLiteral("FERLIN4_1/Acrobat4/Rs40fre.exe"),
                                   QString::fromLatin1(Database::FileName)}));
    QFile installer(QDir(s_dir->path()).filePath(others.value(0)));
    ASSERT_TRUE(installer.open(QIODevice::ReadOnly));
    EXPECT_TRUE(installer.readAll().startsWith("#!/bin/sh\n"));

    for (const QString &file : expected) {
        QFile pdf(QDir(s_dir->path()).filePath(file));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdfcheck::hasExactCrossReferences(pdf.readAll())) << qPrintable(file);
    }
}

TEST_F(SampleBase, PdftotextReadsTheTitleOfAText)
{
    const QStringList row = rows(*db, QStringLiteral("SELECT TexteIntegral, Localisation, Titre "
                                                     "FROM TArticles WHERE Titre LIKE \"*'*\" "
                                                     "AND TexteIntegral IS NOT NULL"))
                                .value(0)
                                .split(u'|');
    ASSERT_EQ(row.size(), 3);
    const QString path = QDir(s_dir->path())
                             .filePath(QStringLiteral("FERLIN4_") + row[1] + u'/' +
                                       row[0].mid(8).replace(u'\\', u'/'));
    const QString text = pdfcheck::pdfToText(path);
    if (text.isNull())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text.contains(row[2])) << qPrintable(text);
}

TEST_F(SampleBase, ATextHasThePagesOfItsArticleInSentencesOnItsKeywords)
{
    const QStringList row =
        rows(*db, QStringLiteral("SELECT TexteIntegral, Localisation, NombrePages, MotsCles FROM "
                                 "TArticles WHERE TexteIntegral IS NOT NULL AND MotsCles IS NOT "
                                 "NULL AND NombrePages >= 3"))
            .value(0)
            .split(u'|');
    ASSERT_EQ(row.size(), 4);
    const QString path = QDir(s_dir->path())
                             .filePath(QStringLiteral("FERLIN4_") + row[1] + u'/' +
                                       row[0].mid(8).replace(u'\\', u'/'));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("/Type /Page /Parent"), std::min(row[2].toInt(), 6));

    const QString text = pdfcheck::pdfToText(path);
    if (text.isNull())
        GTEST_SKIP() << "pdftotext is not installed";
    for (const QString &keyword : row[3].split(CrLf))
        EXPECT_TRUE(text.contains(keyword.trimmed())) << qPrintable(keyword);
    EXPECT_TRUE(text.contains(QStringLiteral("1. Introduction")));
    EXPECT_TRUE(text.contains(QStringLiteral("Conclusion")));
}

TEST(SampleBaseSearch, PatternsOfTheSearchScreenFindReferences)
{
    QTemporaryDir dir;
    const sample::Summary summary = sample::generate(dir.path(), {1, 6773, false});
    EXPECT_EQ(summary.references, 6773);
    auto db = Database::open(basePath(dir.path()));
    EXPECT_GT(count(*db, QStringLiteral("[MotsCles] LIKE \"* optique *\"")), 0);
    EXPECT_GT(count(*db, QStringLiteral("([MotsCles] LIKE \"* optique *\" AND [MotsCles] LIKE "
                                        "\"* lentille *\" OR [MotsCles] LIKE \"*miroir *\") AND "
                                        "([An] > 1980 AND [An] < 1990)")),
              0);
    EXPECT_GT(count(*db, QStringLiteral("[Niveaux] LIKE '*lycée*' AND [Domaine] LIKE "
                                        "'*Optique*' AND [PointdeVue] LIKE '*expérimental*'")),
              0);
    // Each word-mode pattern of a title or an abstract matches for some of these words.
    const QStringList words = {QStringLiteral("optique"), QStringLiteral("lentille"),
                               QStringLiteral("miroir"), QStringLiteral("onde"),
                               QStringLiteral("foyer")};
    for (const QString &pattern :
         {QStringLiteral("[Titre] LIKE \"* %1 *\""), QStringLiteral("[Titre] LIKE \"* %1,*\""),
          QStringLiteral("[Titre] LIKE \"* %1.*\""), QStringLiteral("[Titre] LIKE \"*'%1 *\""),
          QStringLiteral("[Resume] LIKE \"* %1 *\""), QStringLiteral("[Resume] LIKE \"* %1,*\""),
          QStringLiteral("[Resume] LIKE \"* %1)*\""), QStringLiteral("[Resume] LIKE \"*(%1 *\"")}) {
        int found = 0;
        for (const QString &word : words)
            found += count(*db, pattern.arg(word));
        EXPECT_GT(found, 0) << qPrintable(pattern);
    }
    EXPECT_GT(count(*db, QStringLiteral("[Auteur] LIKE \"*L'H*\"")), 0);
    const int oddMonths =
        count(*db, QStringLiteral("Mois IN ('août-septembre', 'Mars', ' mars ')"));
    EXPECT_GT(oddMonths, 0);
    EXPECT_LT(oddMonths, 6773 / 100);
}

TEST(SampleBaseFolder, ReplacesAnExistingBaseAndItsDiscsWhole)
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    sample::generate(dir.path(), {1, 300, true});
    QFile stale(folder.filePath(QStringLiteral("FERLIN4_1/Textes/old.pdf")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    QFile journal(basePath(dir.path()) + QStringLiteral("-journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("left over from an interrupted run");
    journal.close();

    sample::generate(dir.path(), {2, 200, true});
    EXPECT_EQ(count(*Database::open(basePath(dir.path())), QStringLiteral("1")), 200);
    EXPECT_FALSE(stale.exists());
    EXPECT_FALSE(journal.exists());
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{QStringLiteral("FERLIN4_1"), QStringLiteral("FERLIN4_2"),
                           QString::fromLatin1(Database::FileName)}));

    sample::generate(dir.path(), {2, 100, false});
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
              QStringList{QString::fromLatin1(Database::FileName)});
}

TEST(MakeSampleBase, WritesTheBaseAndRejectsBadOptions)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("new folder"));
    auto run = [&](const QStringList &arguments) {
        QProcess process;
        process.start(QStringLiteral(MAKE_SAMPLE_BASE_PATH), arguments);
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
                   ? process.exitCode()
                   : -1;
    };
    EXPECT_NE(run({QStringLiteral("--size"), QStringLiteral("0"), QStringLiteral("--out"), out}),
              0);
    EXPECT_NE(run({QStringLiteral("--seed"), QStringLiteral("x"), QStringLiteral("--out"), out}),
              0);
    EXPECT_FALSE(QFile::exists(basePath(out)));

    ASSERT_EQ(
        run({QStringLiteral("--seed"), QStringLiteral("3"), QStringLiteral("--size"),
             QStringLiteral("150"), QStringLiteral("--no-texts"), QStringLiteral("--out"), out}),
        0);
    QTemporaryDir direct;
    sample::generate(direct.path(), {3, 150, false});
    EXPECT_EQ(allTables(*Database::open(basePath(out))),
              allTables(*Database::open(basePath(direct.path()))));
    EXPECT_FALSE(QDir(out).exists(QStringLiteral("FERLIN4_1")));
}

} // namespace
