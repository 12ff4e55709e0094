// The card browser: the card's one set, opened on the base or a basket, moved, and read without
// being moved.
#include "core/baskets/basketstore.h"
#include "core/context/appcontext.h"
#include "core/record/cardbrowser.h"
#include "fakes/fakeplatform.h"
#include "support/tempbase.h"

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// Five references, Rang 5 (newest, 1950) down to 1 (1907); basket 2 holds 2 and 4.
struct Browser {
    test::TempBase base;
    FakePlatform fakes;
    AppContext context{base.path, fakes.platform()};

    Browser()
    {
        base.addReference(5, 1950, QStringLiteral("120"), 5);
        base.addReference(4, 1950, QStringLiteral("112"), 33);
        base.addReference(3, 1949, QStringLiteral("12"), 3);
        base.addReference(2, 1949, QStringLiteral("8"), 8);
        base.addReference(1, 1907, QStringLiteral("7"), 12);
        context.catalogue.db = Database::open(base.path);
        context.state.baseCount = 5;
        base.db->execute(QStringLiteral(
            "INSERT INTO [TSélection2] SELECT * FROM TArticles WHERE Rang IN (2,4)"));
        context.state.basketCounts[2] = 2;
    }
    int rang() const { return context.card.set()->value(QStringLiteral("Rang")).toInt(); }
};

} // namespace

TEST(CardBrowser, OpensTheBaseOrABasketAndMovesWithinIt)
{
    Browser b;
    CardBrowser &card = b.context.card;
    card.openBase(3);
    EXPECT_EQ(b.context.state.card.mode, CardState::BaseMode);
    EXPECT_EQ(b.context.state.card.count, 5);
    EXPECT_EQ(b.rang(), 3);
    EXPECT_TRUE(card.moveNext());
    EXPECT_EQ(b.context.state.card.position, 4);
    EXPECT_TRUE(card.moveLast());
    EXPECT_FALSE(card.moveNext());
    EXPECT_EQ(b.rang(), 1);
    EXPECT_EQ(card.currentValues().value(QStringLiteral("Numéro")), QStringLiteral("7"));

    // Row 2 of basket 2, whatever the card held: the basket's set in its order.
    ASSERT_TRUE(card.showBasketRow(2, 2));
    EXPECT_EQ(card.basket(), 2);
    EXPECT_EQ(b.rang(), 2);
    EXPECT_EQ(b.context.state.card.mode, CardState::BasketMode);
    EXPECT_EQ(b.context.state.card.position, 2);
    EXPECT_FALSE(card.showBasketRow(2, 3));
    // Reading every line leaves the card where it stands.
    const auto rows = card.rowReader({QStringLiteral("Rang"), QStringLiteral("An")});
    ASSERT_EQ(rows->count(), 2);
    EXPECT_EQ(rows->texts(0), (QStringList{QStringLiteral("4"), QStringLiteral("1950")}));
    EXPECT_EQ(b.rang(), 2);
    // A search's result is another set: the basket is no longer the card's.
    card.openResult(QStringLiteral("SELECT * FROM TArticles WHERE [An] < 1950") +
                    BasketStore::orderClause());
    EXPECT_EQ(card.basket(), 0);
    EXPECT_EQ(b.rang(), 1); // its last row, where counting it leaves it
    // The reader keeps the basket's lines, and a line deleted since reads empty.
    EXPECT_EQ(rows->texts(1).first(), QStringLiteral("2"));
    b.context.catalogue.db->execute(QStringLiteral("DELETE FROM [TSélection2] WHERE Rang = 4"));
    EXPECT_EQ(rows->texts(0), (QStringList{QString(), QString()}));
}
