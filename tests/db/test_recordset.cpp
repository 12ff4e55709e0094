#include "core/db/catalog.h"
#include "core/db/recordset.h"
#include "support/dberrors.h"
#include "support/tempbase.h"

#include <gtest/gtest.h>

using ferlin::test::dbErrorOf;

using namespace ferlin;

namespace {

// Five references stored newest first, as in the delivered base.
struct BrowseBase : test::TempBase {
    BrowseBase()
    {
        addReference(5, 2001, QStringLiteral("839"), 40);
        addReference(4, 1990, QStringLiteral("7"), 12);
        addReference(3, 1990, QStringLiteral("5"), 30);
        addReference(2, 1950, QStringLiteral("312"), 8);
        addReference(1, 1907, QStringLiteral("1"), 1);
    }
};

} // namespace

TEST(RecordSet, WalksATableInItsStoredOrder)
{
    BrowseBase base;
    RecordSet set(*base.db, QStringLiteral("TArticles"));
    EXPECT_EQ(set.recordCount(), 5);
    EXPECT_FALSE(set.isEof());
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 5);
    EXPECT_EQ(set.value(QStringLiteral("rang")).toInt(), 5); // names ignore case
    EXPECT_EQ(set.absolutePosition(), 0);
    set.moveNext();
    EXPECT_EQ(set.text(QStringLiteral("Numéro")), QStringLiteral("7"));
    set.move(2);
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 2);
    EXPECT_EQ(set.absolutePosition(), 3);
    set.moveLast();
    EXPECT_EQ(set.value(QStringLiteral("An")).toInt(), 1907);
    set.moveNext();
    EXPECT_TRUE(set.isEof());
    EXPECT_EQ(set.absolutePosition(), -1);
    EXPECT_EQ(dbErrorOf([&] { set.value(0); }), DbErrorCode::NoCurrentRecord);
    EXPECT_EQ(dbErrorOf([&] { set.moveNext(); }), DbErrorCode::NoCurrentRecord);
    set.movePrevious();
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 1);
    set.move(-10);
    EXPECT_TRUE(set.isBof());
    set.setAbsolutePosition(2);
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 3);
    EXPECT_TRUE(set.text(QStringLiteral("Soustitre")).isEmpty()); // NULL reads as empty text
    EXPECT_TRUE(set.value(QStringLiteral("Soustitre")).isNull());
    EXPECT_EQ(dbErrorOf([&] { set.value(QStringLiteral("Inconnu")); }),
              DbErrorCode::ObjectNotFound);
}

TEST(RecordSet, OrdersAQueryAndFindsFirstAndLast)
{
    BrowseBase base;
    RecordSet set(*base.db, QStringLiteral("SELECT * FROM TArticles WHERE [An] > 1907 "
                                           "ORDER BY An DESC,Numéro DESC,Page DESC"));
    ASSERT_EQ(set.recordCount(), 4);
    QList<int> order;
    for (; !set.isEof(); set.moveNext())
        order << set.value(QStringLiteral("Rang")).toInt();
    EXPECT_EQ(order, (QList<int>{5, 4, 3, 2}));

    set.moveFirst();
    EXPECT_TRUE(set.findLast(QStringLiteral("[An] LIKE '*1990*'")));
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 3);
    EXPECT_TRUE(set.findFirst(QStringLiteral("[Numéro] LIKE '*7*' AND [Page] LIKE '*12*'")));
    EXPECT_EQ(set.absolutePosition(), 1);
    // Nothing found: the current row stays.
    EXPECT_FALSE(set.findFirst(QStringLiteral("[rang] LIKE '99'")));
    EXPECT_EQ(set.absolutePosition(), 1);
    // A row of the table outside the set is not found.
    EXPECT_FALSE(set.findFirst(QStringLiteral("[An] LIKE 1907")));
    EXPECT_TRUE(set.findFirst(QStringLiteral("[Titre] LIKE \"titre 2\"")));
    EXPECT_EQ(set.absolutePosition(), 3);
}

TEST(RecordSet, EmptySetsStandAtBothEnds)
{
    test::TempBase base;
    RecordSet set(*base.db, Schema::basketTable(1));
    EXPECT_TRUE(set.isEof());
    EXPECT_TRUE(set.isBof());
    EXPECT_EQ(CountRows(set), 0);
    EXPECT_EQ(dbErrorOf([&] { set.moveLast(); }), DbErrorCode::NoCurrentRecord);
    EXPECT_EQ(dbErrorOf([&] { set.moveFirst(); }), DbErrorCode::NoCurrentRecord);
    EXPECT_EQ(dbErrorOf([&] { set.move(1); }), DbErrorCode::NoCurrentRecord);
    EXPECT_EQ(dbErrorOf([&] { set.deleteCurrent(); }), DbErrorCode::NoCurrentRecord);
}

TEST(RecordSet, AddsRowsAndRefusesDuplicates)
{
    BrowseBase base;
    RecordSet source(*base.db, Schema::Articles);
    RecordSet basket(*base.db, Schema::basketTable(2));
    source.setAbsolutePosition(1);
    auto copyCurrent = [&] {
        basket.addNew();
        for (int i = 0; i < source.fieldCount(); ++i)
            basket.setValue(i, source.value(i));
        basket.update();
    };
    copyCurrent();
    EXPECT_EQ(basket.recordCount(), 1);
    EXPECT_EQ(dbErrorOf(copyCurrent), DbErrorCode::DuplicateKey);
    basket.cancelUpdate();
    EXPECT_FALSE(basket.isAdding());
    EXPECT_EQ(CountBasket(*base.db, 2), 1);
    // Abandoning an added row stores nothing.
    basket.addNew();
    basket.setValue(QStringLiteral("Rang"), 99);
    basket.cancelUpdate();
    EXPECT_EQ(CountBasket(*base.db, 2), 1);
    EXPECT_EQ(dbErrorOf([&] { basket.update(); }), 3020);
    // The stored row reads back whole, column by column.
    basket.requery();
    for (int i = 0; i < source.fieldCount(); ++i)
        EXPECT_EQ(basket.value(i), source.value(i)) << source.fieldName(i).toStdString();
}

TEST(RecordSet, DeletingLeavesNoCurrentRowUntilTheNextMove)
{
    BrowseBase base;
    for (int r = 1; r <= 3; ++r)
        base.addReference(r, 1990, QString::number(r), r, Schema::basketTable(3));
    RecordSet set(*base.db, QStringLiteral("SELECT * FROM TSélection3 ORDER BY Rang"));
    set.moveNext();
    set.deleteCurrent();
    EXPECT_EQ(set.recordCount(), 2);
    EXPECT_EQ(dbErrorOf([&] { set.value(0); }), DbErrorCode::NoCurrentRecord);
    set.moveNext();
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 3);
    set.deleteCurrent();
    set.moveNext();
    EXPECT_TRUE(set.isEof());
    set.movePrevious();
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 1);
    EXPECT_EQ(CountBasket(*base.db, 3), 1);
    // The base itself is untouched.
    EXPECT_EQ(base.db->scalar(QStringLiteral("SELECT count(*) FROM TArticles")).toInt(), 5);
}

TEST(RecordSet, SeesRowsDeletedByAnotherSet)
{
    BrowseBase base;
    base.addReference(1, 1990, QStringLiteral("1"), 1, Schema::basketTable(1));
    RecordSet card(*base.db, Schema::basketTable(1));
    base.db->execute(QStringLiteral("DELETE FROM [TSélection1]"));
    EXPECT_EQ(dbErrorOf([&] { card.value(0); }), DbErrorCode::RecordDeleted);
    card.requery();
    EXPECT_EQ(card.recordCount(), 0);
}

TEST(RecordSet, UnsupportedSourcesAreRefused)
{
    BrowseBase base;
    EXPECT_EQ(dbErrorOf([&] { RecordSet(*base.db, QStringLiteral("SELECT Rang FROM TArticles")); }),
              DbErrorCode::UnsupportedSource);
}

TEST(RecordSet, AWholeTableWithOrWithoutGapsWalksTheSame)
{
    BrowseBase base;
    // A gap in the stored identities, then a row added at the end.
    base.db->execute(QStringLiteral("DELETE FROM TArticles WHERE Rang = 4"));
    base.addReference(9, 2002, QStringLiteral("900"), 1);
    RecordSet gapped(*base.db, Schema::Articles);
    QList<int> order;
    for (; !gapped.isEof(); gapped.moveNext())
        order << gapped.value(QStringLiteral("Rang")).toInt();
    EXPECT_EQ(order, (QList<int>{5, 3, 2, 1, 9}));
    EXPECT_TRUE(gapped.findLast(QStringLiteral("[An] > 1900")));
    EXPECT_EQ(gapped.absolutePosition(), 4);

    // Without gaps: removing a middle row, then adding one, keeps the order and the finds.
    test::TempBase dense;
    for (int r = 5; r >= 1; --r)
        dense.addReference(r, 1900 + r, QString::number(r), r);
    RecordSet set(*dense.db, Schema::Articles);
    // Opening a whole table leaves no map of the file behind.
    EXPECT_EQ(dense.db->scalar(QStringLiteral("PRAGMA mmap_size")).toLongLong(), 0);
    set.setAbsolutePosition(2);
    set.deleteCurrent();
    set.moveNext();
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 2);
    set.addNew();
    set.setValue(QStringLiteral("Rang"), 7);
    set.update();
    EXPECT_EQ(set.recordCount(), 5);
    EXPECT_TRUE(set.findFirst(QStringLiteral("[Rang] LIKE 7")));
    EXPECT_EQ(set.absolutePosition(), 4);
    EXPECT_TRUE(set.findFirst(QStringLiteral("[Rang] LIKE 4")));
    EXPECT_EQ(set.absolutePosition(), 1);
    set.moveLast();
    set.deleteCurrent(); // the last row of a run
    set.movePrevious();
    EXPECT_EQ(set.value(QStringLiteral("Rang")).toInt(), 1);
    EXPECT_EQ(set.recordCount(), 4);
}

TEST(RecordSet, EveryRowsValuesInTheSetsOrderWithoutMovingIt)
{
    // A whole table read by one statement (a run of identities) and one with a gap (row by
    // row) give the same rows in the same order; a row deleted since is left out, one added
    // since is not in the set.
    for (const bool gap : {false, true}) {
        BrowseBase base;
        if (gap)
            base.db->execute(QStringLiteral("DELETE FROM TArticles WHERE Rang = 4"));
        RecordSet set(*base.db, Schema::Articles);
        set.setAbsolutePosition(1);
        base.db->execute(QStringLiteral("DELETE FROM TArticles WHERE Rang = 2"));
        base.addReference(9, 2002, QStringLiteral("900"), 1);
        QList<int> rangs;
        set.forEachRowValues([&](const std::vector<QVariant> &row) {
            rangs << row[size_t(set.fieldIndex(QStringLiteral("Rang")))].toInt();
        });
        EXPECT_EQ(rangs, gap ? (QList<int>{5, 3, 1}) : (QList<int>{5, 4, 3, 1})) << gap;
        // Some fields as texts, by the same passes.
        QList<int> texts;
        for (const QStringList &row : set.readAll({QStringLiteral("Rang")}))
            texts << row.at(0).toInt();
        EXPECT_EQ(texts, rangs) << gap;
        EXPECT_EQ(set.absolutePosition(), 1);
    }
}
