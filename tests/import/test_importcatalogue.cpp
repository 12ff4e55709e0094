// The catalogue converted from a source of rows: no tool here writes a Jet file, so the sample
// base stands in for the published file, replayed as rows. It comes out identical, a newer
// edition keeps the baskets of the base it replaces, and what cannot be converted whole leaves
// the former base as it was.
#include "core/db/catalog.h"
#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/import/importcatalogue.h"
#include "core/import/importreport.h"
#include "e2e/basereader.h"
#include "import/editedsource.h"
#include "replaysource.h"
#include "search/messageprinters.h"
#include "support/samplebasecopy.h"
#include "support/tempbase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;
using namespace ferlin::test;

namespace {

const QStringList AllTables = {QStringLiteral("TArticles"),   QStringLiteral("TVoir"),
                               QStringLiteral("TClés"),       QStringLiteral("TAuteurs"),
                               QStringLiteral("TPointdeVue"), QStringLiteral("TDomaine"),
                               QStringLiteral("TEtatbase"),   QStringLiteral("TSélection1"),
                               QStringLiteral("TSélection2"), QStringLiteral("TSélection3")};

// The rows of a table in its own order: integers and texts told apart.
QList<QVariantList> everyRow(const QString &base, const QString &table)
{
    return BaseReader(base).rows(QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(table));
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Everything in a folder, hidden files included.
QStringList folderContent(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(ImportCatalogue, TheReplayedSampleBaseComesOutIdenticalFieldByField)
{
    const QString sample = generatedBase(6773);
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("ferlin4.sqlite"));
    sample::ReplaySource source(sample);
    const ImportSummary summary = ImportCatalogue(source, base);

    BaseReader original(sample);
    BaseReader converted(base);
    const QString schema = QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master "
                                          "ORDER BY name");
    EXPECT_EQ(converted.rows(schema), original.rows(schema));
    ASSERT_EQ(int(summary.tables.size()), AllTables.size());
    for (int i = 0; i < AllTables.size(); ++i) {
        const QString &table = AllTables[i];
        EXPECT_EQ(summary.tables[size_t(i)].table, table);
        const QList<QVariantList> rows = everyRow(sample, table);
        EXPECT_EQ(summary.tables[size_t(i)].rows, rows.size()) << table.toStdString();
        EXPECT_EQ(everyRow(base, table), rows) << table.toStdString();
    }
    EXPECT_EQ(summary.tables.front().rows, 6773);
    EXPECT_FALSE(summary.basketsCarried);
    EXPECT_EQ(folderContent(dir), QStringList{QStringLiteral("ferlin4.sqlite")});
}

TEST(ImportCatalogue, ValuesAreStoredInTheFormsTheProgramReads)
{
    const QDate day(2003, 4, 15);
    struct Case {
        QVariant value;
        QVariant stored;
        QString updateDate; // what the start-up shows for it as MajDate
    };
    const Case cases[] = {
        {QDateTime(day, QTime(0, 0), Qt::UTC), QStringLiteral("2003-04-15"),
         QStringLiteral("15/04/2003")},
        {QDateTime(day, QTime(13, 45, 10), Qt::UTC), QStringLiteral("2003-04-15T13:45:10"),
         QStringLiteral("15/04/2003")},
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC), 0LL, QString()}, // the zero date
        {QVariant(), QVariant(), QString()},
        {12.0, 12LL, {}},
        {3.5, 3.5, {}},
        {true, 1LL, {}},
        {QStringLiteral("12"), QStringLiteral("12"), {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        const QVariant stored = storedValue(c.value);
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(stored.isNull(), c.stored.isNull());
        if (c.value.typeId() != QMetaType::QDateTime && !c.value.isNull())
            continue;
        TempBase temp;
        temp.addReference(1, 2003, QStringLiteral("1"), 1);
        temp.db->executeBound(QStringLiteral("UPDATE TArticles SET MajDate = ?"), {stored});
        RecordSet articles(*temp.db, Schema::Articles);
        const QDate date = UpdateDate(articles);
        EXPECT_EQ(date.isValid() ? formatUpdateDate(date) : QString(), c.updateDate);
    }
}

TEST(ImportCatalogue, ASourceLackingATableOrAFieldIsRefusedAndNothingIsWritten)
{
    QTemporaryDir dir;
    const QString base = copyOfGeneratedBase(dir, 300);
    const QByteArray before = digest(base);
    sample::ReplaySource replay(generatedBase(300));
    EditedSource source(replay);
    source.hiddenTables << QStringLiteral("TVoir");
    source.editColumns = [](const QString &table, std::vector<SourceColumn> &columns) {
        if (table == QStringLiteral("TArticles"))
            columns[14].name = QStringLiteral("Résumé"); // for Resume
    };
    try {
        ImportCatalogue(source, base);
        FAIL() << "accepted";
    } catch (const DbError &error) {
        EXPECT_EQ(error.number(), DbErrorCode::ObjectNotFound);
        EXPECT_EQ(error.description(),
                  QStringLiteral("Il manque dans « %1 » : le champ « Resume » de la table "
                                 "« TArticles » ; la table « TVoir ».")
                      .arg(QDir::toNativeSeparators(generatedBase(300))));
    }
    EXPECT_EQ(digest(base), before);
    EXPECT_EQ(folderContent(dir), QStringList{QStringLiteral("ferlin4.sqlite")});
}

TEST(ImportCatalogue, ASourceThatGivesFewerRowsThanItHoldsLeavesTheFormerBase)
{
    QTemporaryDir dir;
    const QString base = copyOfGeneratedBase(dir, 300);
    const QByteArray before = digest(base);
    sample::ReplaySource replay(generatedBase(300));
    EditedSource source(replay);
    source.editCount = [](const QString &table, qint64 rows) {
        return table == QStringLiteral("TClés") ? rows + 1 : rows;
    };
    try {
        ImportCatalogue(source, base);
        FAIL() << "accepted";
    } catch (const DbError &error) {
        EXPECT_TRUE(error.description().startsWith(QStringLiteral("La table « TClés »")))
            << error.description().toStdString();
    }
    EXPECT_EQ(digest(base), before);
    EXPECT_EQ(folderContent(dir), QStringList{QStringLiteral("ferlin4.sqlite")});
}

TEST(ImportCatalogue, ANewerEditionKeepsTheBasketReferencesItStillHasWithTheirNewValues)
{
    // The base in use: a larger edition whose baskets hold references past the new one's end.
    QTemporaryDir dir;
    const QString base = copyOfGeneratedBase(dir, 6773);
    {
        BaseReader former(base, /*writable=*/true);
        former.rows(QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles WHERE Rang "
                                   "IN (5000, 10, 6773, 250) ORDER BY Rang DESC"));
        former.rows(QStringLiteral("INSERT INTO [TSélection2] SELECT * FROM TArticles WHERE Rang "
                                   "IN (1, 300) ORDER BY Rang DESC"));
    }
    // The new edition, whose own basket 3 holds a reference: the former baskets win.
    QTemporaryDir editionDir;
    const QString edition = copyOfGeneratedBase(editionDir, 300);
    BaseReader(edition, true)
        .rows(QStringLiteral("INSERT INTO [TSélection3] SELECT * FROM TArticles WHERE Rang = 7"));

    sample::ReplaySource source(edition);
    const ImportSummary summary = ImportCatalogue(source, base);

    BaseReader converted(base);
    EXPECT_EQ(converted.number(QStringLiteral("SELECT count(*) FROM TArticles")), 300);
    EXPECT_EQ(converted.texts(QStringLiteral("SELECT Rang FROM [TSélection1] ORDER BY rowid")),
              (QStringList{QStringLiteral("250"), QStringLiteral("10")}));
    EXPECT_EQ(converted.texts(QStringLiteral("SELECT Rang FROM [TSélection2] ORDER BY rowid")),
              (QStringList{QStringLiteral("300"), QStringLiteral("1")}));
    EXPECT_EQ(converted.number(QStringLiteral("SELECT count(*) FROM [TSélection3]")), 0);
    for (const char *basket : {"TSélection1", "TSélection2"})
        EXPECT_EQ(converted.number(QStringLiteral("SELECT count(*) FROM [%1] b JOIN TArticles a "
                                                  "USING (Rang) WHERE b.Titre IS a.Titre AND "
                                                  "b.Auteur IS a.Auteur AND b.An IS a.An")
                                       .arg(QString::fromUtf8(basket))),
                  2)
            << basket;

    EXPECT_TRUE(summary.basketsCarried);
    EXPECT_EQ(summary.tables.size(), 7u); // the edition's baskets are not read
    EXPECT_EQ(summary.baskets[0].kept, 2);
    EXPECT_EQ(summary.baskets[0].dropped, 2);
    EXPECT_EQ(summary.baskets[1].kept, 2);
    EXPECT_EQ(summary.baskets[1].dropped, 0);
    const QString report = importReport(summary);
    EXPECT_TRUE(report.contains(QStringLiteral("\n  TArticles : 300 lignes\n")));
    EXPECT_TRUE(
        report.contains(QStringLiteral("\n  panier n° 1 : 2 références gardées, 2 abandonnées\n")));
    EXPECT_TRUE(
        report.contains(QStringLiteral("\n  panier n° 3 : 0 référence gardée, 0 abandonnée\n")));
}

} // namespace
