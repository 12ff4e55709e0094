#include "core/db/catalog.h"
#include "core/db/fieldpresentation.h"
#include "core/db/recordset.h"
#include "support/dberrors.h"
#include "support/tempbase.h"

#include <gtest/gtest.h>

using ferlin::test::dbErrorOf;

using namespace ferlin;

TEST(LookupLists, ReadInTableOrderAndRefuseNulls)
{
    test::TempBase base;
    auto &db = *base.db;
    db.execute(QStringLiteral("INSERT INTO [TClés] ([Clé]) VALUES ('optique'), ('lentille'), "
                              "('énergie')"));
    EXPECT_EQ(ReadLookupList(db, LookupList::Keywords),
              (QStringList{QStringLiteral("optique"), QStringLiteral("lentille"),
                           QStringLiteral("énergie")}));
    EXPECT_TRUE(ReadLookupList(db, LookupList::Authors).isEmpty());

    db.execute(QStringLiteral("INSERT INTO TDomaine (Domaine) VALUES ('Optique'), (NULL)"));
    EXPECT_EQ(dbErrorOf([&] { ReadLookupList(db, LookupList::Domains); }),
              DbErrorCode::InvalidUseOfNull);

    db.execute(QStringLiteral("DROP TABLE TVoir"));
    EXPECT_EQ(dbErrorOf([&] { ReadLookupList(db, LookupList::SeeAlso); }),
              DbErrorCode::ObjectNotFound);
    db.execute(QStringLiteral("DROP TABLE TPointdeVue"));
    db.execute(QStringLiteral("CREATE TABLE TPointdeVue (Autre TEXT)"));
    EXPECT_EQ(dbErrorOf([&] { ReadLookupList(db, LookupList::PointsOfView); }),
              DbErrorCode::ObjectNotFound);
}

TEST(Counts, BaseAndBasketsCountPast32767)
{
    test::TempBase base;
    auto &db = *base.db;
    RecordSet empty(db, Schema::Articles);
    EXPECT_EQ(dbErrorOf([&] { BaseCount(empty); }), DbErrorCode::NoCurrentRecord);
    EXPECT_EQ(CountBasket(db, 1), 0);

    db.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE "
                              "i < 40000) INSERT INTO [TSélection2] (Rang) SELECT i FROM n"));
    EXPECT_EQ(CountBasket(db, 2), 40000);
    db.execute(QStringLiteral("INSERT INTO TArticles SELECT * FROM [TSélection2]"));
    RecordSet articles(db, Schema::Articles);
    EXPECT_EQ(BaseCount(articles), 40000);
    EXPECT_EQ(articles.absolutePosition(), 39999);

    BasketCounts counts;
    counts[2] = CountBasket(db, 2);
    EXPECT_EQ(counts[1], 0);
    EXPECT_EQ(counts[2], 40000);
}

TEST(StateBands, NineRowsAtMostInTableOrder)
{
    test::TempBase base;
    auto &db = *base.db;
    db.execute(QStringLiteral("INSERT INTO TEtatbase VALUES (255, 65280, 16711680), (1, 2, 3)"));
    auto rows = ReadStateBands(db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].referenced, 0x0000FFu);
    EXPECT_EQ(rows[0].indexed, 0x00FF00u);
    EXPECT_EQ(rows[0].fullText, 0xFF0000u);
    EXPECT_EQ(rows[1].fullText, 3u);
    for (int i = 0; i < 7; ++i)
        db.execute(QStringLiteral("INSERT INTO TEtatbase VALUES (0, 0, 0)"));
    EXPECT_EQ(ReadStateBands(db).size(), 9u);
    db.execute(QStringLiteral("INSERT INTO TEtatbase VALUES (0, 0, 0)"));
    EXPECT_EQ(dbErrorOf([&] { ReadStateBands(db); }), DbErrorCode::SubscriptOutOfRange);
}

TEST(UpdateDate, ReadFromTheFirstRowAndEmptyWhenZero)
{
    test::TempBase base;
    auto &db = *base.db;
    base.addReference(2, 1950, QStringLiteral("1"), 1);
    base.addReference(1, 1949, QStringLiteral("1"), 1);
    auto dateOf = [&](const QVariant &value) {
        db.executeBound(QStringLiteral("UPDATE TArticles SET MajDate = ? WHERE Rang = 2"), {value});
        RecordSet articles(db, Schema::Articles);
        return UpdateDate(articles);
    };
    EXPECT_EQ(formatUpdateDate(dateOf(QStringLiteral("2003-04-15"))), QStringLiteral("15/04/2003"));
    EXPECT_EQ(formatUpdateDate(dateOf(QStringLiteral("05/01/1999"))), QStringLiteral("05/01/1999"));
    EXPECT_EQ(formatUpdateDate(dateOf(37726)), QStringLiteral("15/04/2003"));
    EXPECT_FALSE(dateOf(QVariant()).isValid());
    EXPECT_FALSE(dateOf(0).isValid());
    EXPECT_FALSE(dateOf(QStringLiteral("n'importe quoi")).isValid());
}

TEST(FieldPresentation, JoinListFieldPutsLinesOnOneLine)
{
    EXPECT_EQ(JoinListField(QStringLiteral("a\nb")), QStringLiteral("a ; b"));
    EXPECT_EQ(JoinListField(QStringLiteral("a\r\nb\r\nc")), QStringLiteral("a ; b ; c"));
    EXPECT_EQ(JoinListField(QStringLiteral(" optique ")), QStringLiteral(" optique "));
    EXPECT_EQ(JoinListField(QStringLiteral("a\rb")), QStringLiteral("a\rb"));
    EXPECT_EQ(JoinListField(QString()), QString());
}

TEST(FieldPresentation, MonthCodesMatchExactly)
{
    const std::pair<const char *, const char *> table[] = {
        {"janvier", "01"},
        {"février", "02"},
        {"mars", "03"},
        {"avril", "04"},
        {"mai", "05"},
        {"juin", "06"},
        {"juillet", "07"},
        {"août", "08"},
        {"septembre", "09"},
        {"octobre", "10"},
        {"novembre", "11"},
        {"décembre", "12"},
        {"janvier-février", "01-02"},
        {"février-mars", "02-03"},
        {"mars-avril", "03-04"},
        {"avril-mai", "04-05"},
        {"mai-juin", "05-06"},
        {"juin-juillet", "06-07"},
        {"juillet-août", "07-08"},
        {"septembre-octobre", "09-10"},
        {"octobre-novembre", "10-11"},
        {"novembre-décembre", "11-12"},
        {"décembre-janvier", "01-12"},
        {"janvier-février-mars", "01-02-03"},
        {"avril-mai-juin", "04-05-06"},
        {"juillet-août-septembre", "07-08-09"},
        {"octobre-novembre-décembre", "10-11-12"}};
    for (const auto &[month, code] : table)
        EXPECT_EQ(BasketMonthCode(QString::fromUtf8(month)), QString::fromUtf8(code)) << month;
    for (const char *other : {"Janvier", "aout", "août-septembre", " mars ", "", "MARS"})
        EXPECT_TRUE(BasketMonthCode(QString::fromUtf8(other)).isEmpty()) << other;
}
