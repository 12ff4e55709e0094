// The basket store: rows copied by the names of their fields, duplicates skipped, the order.
#include "core/baskets/basketstore.h"
#include "core/db/recordset.h"
#include "support/tempbase.h"

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// Both ways of filling a basket: rows read by the program, or a set copied within the base.
using Copy = int (*)(BasketStore &, int, const RecordSet &);
int copyRead(BasketStore &store, int basket, const RecordSet &set)
{
    return store.addRows(basket, BasketStore::readRows(set));
}
int copyWithin(BasketStore &store, int basket, const RecordSet &set)
{
    return store.addSet(basket, set);
}

class BasketCopy : public ::testing::TestWithParam<Copy> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(BothWays, BasketCopy, ::testing::Values(&copyRead, &copyWithin));

TEST_P(BasketCopy, RowsGoIntoTheirFieldsWhateverTheOrderOfTheColumns)
{
    const Copy copy = GetParam();
    test::TempBase base;
    Database &db = *base.db;
    // A basket whose columns stand in another order than the catalogue's.
    db.execute(QStringLiteral("DROP TABLE [TSélection2]"));
    db.execute(
        QStringLiteral("CREATE TABLE [TSélection2] ([Titre] TEXT, [Auteur] TEXT, [Rang] "
                       "INTEGER NOT NULL, [An] INTEGER, [Numéro] TEXT, [Mois] TEXT, "
                       "[Volume] INTEGER, [Page] INTEGER, [NombrePages] INTEGER, "
                       "[Soustitre] TEXT, [Domaine] TEXT, [PointdeVue] TEXT, [Niveaux] TEXT, "
                       "[MotsCles] TEXT, [Resume] TEXT, [TexteIntegral] TEXT, "
                       "[Localisation] TEXT, [MajDate] TEXT)"));
    db.execute(QStringLiteral("CREATE UNIQUE INDEX [TSélection2_Rang] ON [TSélection2] ([Rang])"));
    base.addReference(7, 1990, QStringLiteral("12"), 4);
    base.addReference(8, 1991, QStringLiteral("13"), 5);
    db.execute(QStringLiteral("UPDATE TArticles SET Auteur = 'Dupont' WHERE Rang = 7"));

    BasketStore store(db);
    RecordSet articles(db, QStringLiteral("SELECT * FROM TArticles"));
    EXPECT_EQ(copy(store, 2, articles), 2);
    RecordSet basket(db, BasketStore::orderedSource(2));
    ASSERT_EQ(basket.recordCount(), 2);
    basket.moveLast();
    EXPECT_EQ(basket.value(QStringLiteral("Rang")).toInt(), 7);
    EXPECT_EQ(basket.text(QStringLiteral("Titre")), QStringLiteral("Titre 7"));
    EXPECT_EQ(basket.text(QStringLiteral("Auteur")), QStringLiteral("Dupont"));
    EXPECT_EQ(basket.text(QStringLiteral("Numéro")), QStringLiteral("12"));

    // Again: both are there already, nothing is added; one row alone is refused as a duplicate.
    EXPECT_EQ(copy(store, 2, articles), 0);
    articles.moveFirst();
    try {
        store.addRow(2, articles);
        ADD_FAILURE() << "added twice";
    } catch (const DbError &error) {
        EXPECT_EQ(error.number(), DbErrorCode::DuplicateKey);
    }
    store.empty(2);
    EXPECT_EQ(RecordSet(db, QStringLiteral("TSélection2")).recordCount(), 0);
    // A row deleted since the set was read is not copied, and not counted.
    db.execute(QStringLiteral("DELETE FROM TArticles WHERE Rang = 8"));
    EXPECT_EQ(copy(store, 2, articles), 1);
    EXPECT_EQ(BasketStore::orderedSource(3),
              QStringLiteral("SELECT * FROM TSélection3 ORDER BY An DESC,Numéro DESC,Page DESC"));
}
