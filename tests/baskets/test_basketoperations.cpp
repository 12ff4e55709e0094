#include "app/introscreen.h"
#include "core/db/schema.h"
#include "core/search/runsearch.h"
#include "gui/record/recordcard.h"
#include "gui/shell/searchviews.h"
#include "support/programfixture.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

struct Baskets : test::ProgramFixture {
    RecordCard *card = nullptr;

    Baskets()
    {
        window.load();
        card = window.screenAs<RecordCard>(QStringLiteral("F_formul"));
        window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
    }
    void click(const char *name) const
    {
        window.findChild<QAbstractButton *>(QString::fromUtf8(name))->click();
    }
    void choose(const char *option) const { find<QRadioButton>(option)->setChecked(true); }
    int rang() const { return context.catalogue.card->value(QStringLiteral("Rang")).toInt(); }
    int rowsIn(int basket) const
    {
        // Read through a separate connection: what a new start of the program would find.
        return Database::open(context.databasePath)
            ->scalar(QStringLiteral("SELECT count(*) FROM ") + Schema::basketTable(basket))
            .toInt();
    }
    // Every count label of every screen shows these counts.
    void expectCounts(int one, int two, int three) const
    {
        const int counts[] = {one, two, three};
        for (int n = 1; n <= 3; ++n) {
            ASSERT_FALSE(window.countLabels().labels(n).isEmpty());
            for (const auto &label : window.countLabels().labels(n))
                EXPECT_EQ(label->text(), QString::number(counts[n - 1]))
                    << label->objectName().toStdString();
        }
    }
    void browseBasket(int n) { showBasketOnCard(n); }
};

} // namespace

TEST(AddToBasket, CopiesTheReferenceAndRefusesADuplicate)
{
    Baskets b;
    b.click("Cmd_AjoutSel");
    auto *panel = b.find<QWidget>("Frame_Ajoute");
    ASSERT_TRUE(panel->isVisible());
    b.choose("Option2_2");
    b.click("Command2");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(b.context.state.basketCounts[3], 1);
    EXPECT_EQ(b.rowsIn(3), 1); // stored at once
    b.expectCounts(0, 0, 1);

    // The same reference in another basket is added too; in the same basket it is refused.
    b.click("Cmd_AjoutSel");
    EXPECT_TRUE(b.find<QRadioButton>("Option2_2")->isChecked()); // the last choice stays
    b.choose("Option2_0");
    b.click("Command2");
    b.click("Cmd_AjoutSel");
    b.click("Command2");
    ASSERT_EQ(b.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &m = b.fakes.messageBox.lastMessage();
    EXPECT_EQ(m.text, QStringLiteral("Référence déjà dans le panier destinataire."));
    EXPECT_EQ(m.shownTitle(), QStringLiteral("Doublon"));
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(panel->isVisible());
    b.expectCounts(1, 0, 1);
    EXPECT_EQ(b.rowsIn(1), 1);

    // The copied row is the reference, column by column.
    auto copy = Database::open(b.context.databasePath)->openRecordSet(Schema::basketTable(1));
    for (int i = 0; i < copy->fieldCount(); ++i)
        EXPECT_EQ(copy->value(i), b.context.catalogue.card->value(i));
}

TEST(AddToBasket, WithoutACurrentReferenceReportsTheError)
{
    Baskets b;
    b.context.catalogue.card->moveLast();
    b.context.catalogue.card->moveNext(); // past the end
    b.click("Cmd_AjoutSel");
    b.click("Command2");
    ASSERT_EQ(b.fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(b.fakes.messageBox.lastMessage().shownTitle(), QStringLiteral("Rapport d'erreur"));
    EXPECT_TRUE(b.fakes.messageBox.lastMessage().text.startsWith(QStringLiteral(" Erreur  3021")));
    EXPECT_EQ(b.context.state.basketCounts[1], 0);
    EXPECT_EQ(b.rowsIn(1), 0);
}

TEST(AddToBasket, TheBasketBrowsedCannotBeChosen)
{
    Baskets b;
    b.context.catalogue.db->execute(QStringLiteral("INSERT INTO [TSélection2] SELECT * FROM "
                                                   "TArticles WHERE Rang IN (1, 2)"));
    b.context.state.basketCounts[2] = 2;
    b.browseBasket(2);
    b.click("Cmd_AjoutP");
    EXPECT_TRUE(b.find<QWidget>("Frame_AjoutP")->isVisible());
    EXPECT_TRUE(b.find<QRadioButton>("Option3_0")->isEnabled());
    EXPECT_FALSE(b.find<QRadioButton>("Option3_1")->isEnabled());
    EXPECT_TRUE(b.find<QRadioButton>("Option3_2")->isEnabled());
    EXPECT_TRUE(b.find<QRadioButton>("Option3_0")->isChecked());
    b.click("Cmd_AP");
    EXPECT_EQ(b.context.state.basketCounts[1], 1);
    b.expectCounts(1, 2, 0);

    b.browseBasket(1);
    b.click("Cmd_AjoutP");
    EXPECT_FALSE(b.find<QRadioButton>("Option3_0")->isEnabled());
    EXPECT_TRUE(b.find<QRadioButton>("Option3_1")->isChecked());
    b.click("Command4");
    EXPECT_FALSE(b.find<QWidget>("Frame_AjoutP")->isVisible());
}

TEST(RemoveFromBasket, ShowsTheFollowingReferenceOrTheNewLast)
{
    Baskets b;
    // Three references of different years: the card's order is newest first.
    b.context.catalogue.db->execute(QStringLiteral(
        "INSERT INTO [TSélection2] SELECT * FROM TArticles WHERE Rang IN (10, 100, 200)"));
    b.context.state.basketCounts[2] = 3;
    b.browseBasket(2);
    b.click("Cmd_Droite"); // the middle one, Rang 100
    ASSERT_EQ(b.rang(), 100);

    b.fakes.messageBox.pushAnswer(MessageAnswer::No);
    b.click("Cmd_SupprimeSel");
    EXPECT_EQ(b.rowsIn(2), 3);
    const RecordedMessage &question = b.fakes.messageBox.lastMessage();
    EXPECT_EQ(question.text,
              QStringLiteral("Voulez-vous vraiment supprimer cette référence du panier n° 2 ?"));
    EXPECT_EQ(question.shownTitle(), QStringLiteral(" "));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);

    b.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    b.click("Cmd_SupprimeSel");
    EXPECT_EQ(b.rowsIn(2), 2);
    EXPECT_EQ(b.rang(), 10); // the one that followed, at the same position
    EXPECT_EQ(b.find<QLabel>("Lab_rang")->text(), QStringLiteral(" Référence (Sélection) : 1 / 2"));
    b.expectCounts(0, 2, 0);

    b.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    b.click("Cmd_SupprimeSel"); // the last one: the new last is shown
    EXPECT_EQ(b.rang(), 200);
    EXPECT_EQ(b.find<QLabel>("Lab_rang")->text(), QStringLiteral(" Référence (Sélection) : 1 / 1"));

    b.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    b.click("Cmd_SupprimeSel"); // the only one: the background page comes in front
    EXPECT_EQ(b.rowsIn(2), 0);
    b.expectCounts(0, 0, 0);
    EXPECT_EQ(b.window.findChild<QMdiArea *>()->activeSubWindow()->widget(),
              static_cast<QWidget *>(b.window.intro()));

    b.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    b.card->basketOperations().RemoveFromBasket();
    EXPECT_EQ(b.fakes.messageBox.lastMessage().text, QStringLiteral("Le panier 2 est déjà vide"));
    EXPECT_FALSE(b.fakes.messageBox.lastMessage().title.has_value());
    EXPECT_EQ(b.context.state.basketCounts[2], 0);
}

TEST(RemoveFromBasket, NeverDeletesFromTheCatalogue)
{
    Baskets b;
    b.context.catalogue.db->execute(QStringLiteral(
        "INSERT INTO [TSélection2] SELECT * FROM TArticles WHERE Rang IN (10, 100)"));
    b.context.state.basketCounts[2] = 2;
    b.browseBasket(2);
    // A search whose result is not copied leaves the card on that result, over the catalogue.
    b.fakes.messageBox.pushAnswer(MessageAnswer::No);
    SearchRunner(b.context, SearchViewsOf(b.window)).PlaceReferences({10, 100}, 1, false);
    b.window.showScreen(QStringLiteral("F_formul"));
    ASSERT_TRUE(b.find<QAbstractButton>("Cmd_SupprimeSel")->isVisible());

    b.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    b.click("Cmd_SupprimeSel");
    EXPECT_EQ(b.fakes.messageBox.lastMessage().shownTitle(), QStringLiteral("Rapport d'erreur"));
    EXPECT_EQ(Database::open(b.context.databasePath)
                  ->scalar(QStringLiteral("SELECT count(*) FROM TArticles"))
                  .toInt(),
              300);
    EXPECT_EQ(b.rowsIn(2), 2);
}

TEST(EmptyBasket, RemovesEveryRowEvenWithoutATitle)
{
    Baskets b;
    auto &db = *b.context.catalogue.db;
    db.execute(QStringLiteral("INSERT INTO [TSélection3] SELECT * FROM TArticles WHERE Rang <= 4"));
    db.execute(QStringLiteral("UPDATE [TSélection3] SET Titre = NULL WHERE Rang = 1"));
    b.context.state.basketCounts[3] = 4;
    b.browseBasket(3);
    b.card->basketOperations().EmptyBasket(3);
    EXPECT_EQ(b.rowsIn(3), 0);
    EXPECT_EQ(b.context.state.basketCounts[3], 0);
    b.expectCounts(0, 0, 0);
    EXPECT_EQ(b.find<QLabel>("Lab_rang")->text(), QStringLiteral(" Référence (Sélection) : 1 / 0"));
    EXPECT_TRUE(b.find<QLabel>("Lab_NumPanier")->text().isEmpty()); // basket 3 leaves it empty
    EXPECT_FALSE(b.find<QWidget>("Cmd_SupprimeSel")->isVisibleTo(b.card));

    db.execute(QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles WHERE Rang <= 2"));
    b.context.state.basketCounts[1] = 2;
    b.card->basketOperations().EmptyBasket(1);
    EXPECT_EQ(b.find<QLabel>("Lab_NumPanier")->text(), QStringLiteral("PANIER N° 1"));
    EXPECT_EQ(b.rowsIn(1), 0);
}
