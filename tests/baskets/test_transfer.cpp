#include "core/db/schema.h"
#include "gui/baskets/transferdialog.h"
#include "support/programfixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

struct Transfers : test::ProgramFixture {
    TransferDialog *dialog = nullptr;
    QList<int> listsShown; // the basket of each ShowBasketList call

    explicit Transfers(int references = 300) : ProgramFixture(references) { window.load(); }
    // Puts the references meeting a condition on TArticles into a basket, as a search would.
    void fill(int basket, const QString &condition)
    {
        const int rows = context.catalogue.db->execute(
            QStringLiteral("INSERT INTO [") + Schema::basketTable(basket) +
            QStringLiteral("] SELECT * FROM TArticles WHERE ") + condition);
        context.state.basketCounts[basket] += rows;
        window.publishCounts();
    }
    void open()
    {
        dialog = new TransferDialog(
            window, [this](int basket) { listsShown << basket; }, &window);
        dialog->show();
    }
    template <typename T> T *control(const char *name) const
    {
        return dialog->findChild<T *>(QString::fromUtf8(name));
    }
    QRadioButton *option(const char *name) const { return control<QRadioButton>(name); }
    void click(const char *name) const { control<QAbstractButton>(name)->click(); }
    // Copies with the options given, as the user would: source, destination, mode, "Recopier".
    void transfer(int source, int destination, const char *mode)
    {
        click(QByteArray("Option_videP_" + QByteArray::number(source - 1)).constData());
        option(QByteArray("Option_Vers_" + QByteArray::number(destination - 1)).constData())
            ->click();
        click(mode);
        click("Cmd_Voir");
    }
    // The Rang of the rows of a basket, in ascending order, read through a separate
    // connection: what a new start of the program would find.
    QList<int> rangsIn(int basket) const
    {
        auto rows =
            Database::open(context.databasePath)->openRecordSet(Schema::basketTable(basket));
        QList<int> rangs;
        for (int i = 0; i < rows->recordCount(); ++i) {
            rows->setAbsolutePosition(i);
            rangs << rows->value(QStringLiteral("Rang")).toInt();
        }
        std::sort(rangs.begin(), rangs.end());
        return rangs;
    }
    // The counts in memory, in every count label of every screen, and in the tables agree.
    void expectCounts(int one, int two, int three) const
    {
        const int counts[] = {one, two, three};
        for (int n = 1; n <= 3; ++n) {
            EXPECT_EQ(context.state.basketCounts[n], counts[n - 1]) << "basket " << n;
            EXPECT_EQ(rangsIn(n).size(), counts[n - 1]) << "rows of basket " << n;
            ASSERT_FALSE(window.countLabels().labels(n).isEmpty());
            for (const auto &label : window.countLabels().labels(n))
                EXPECT_EQ(label->text(), QString::number(counts[n - 1]))
                    << label->objectName().toStdString();
        }
    }
    const RecordedMessage &lastMessage() const { return fakes.messageBox.lastMessage(); }
};

QList<int> range(int first, int last)
{
    QList<int> values;
    for (int i = first; i <= last; ++i)
        values << i;
    return values;
}

} // namespace

TEST(TransferDialog, ProposesBasket1ToBasket2AndKeepsTheDestinationApartFromTheSource)
{
    Transfers t;
    t.fill(3, QStringLiteral("Rang <= 7"));
    t.open();
    EXPECT_EQ(t.dialog->objectName(), QStringLiteral("F_Transferts"));
    EXPECT_EQ(t.dialog->windowTitle(), QStringLiteral("Transférer des contenus de paniers"));
    EXPECT_TRUE(t.dialog->isModal());
    EXPECT_EQ(t.control<QLabel>("Label22")->text(), QStringLiteral("F 16"));
    EXPECT_EQ(t.option("Option_videP_1")->text(), QStringLiteral(" n° 2"));
    EXPECT_EQ(t.option("Option_Vers_2")->text(), QStringLiteral("n° 3"));
    EXPECT_EQ(t.option("Option_AR_1")->text(), QStringLiteral("Remplacer"));
    EXPECT_EQ(t.control<QPushButton>("Cmd_Voir")->text(), QStringLiteral("Recopier"));
    EXPECT_EQ(t.control<QLabel>("Lab_NbRefP3")->text(), QStringLiteral("7"));
    t.expectCounts(0, 0, 7); // the dialog's labels show the counts at once

    EXPECT_TRUE(t.option("Option_videP_0")->isChecked());
    EXPECT_FALSE(t.option("Option_Vers_0")->isEnabled());
    EXPECT_TRUE(t.option("Option_Vers_1")->isChecked());
    EXPECT_TRUE(t.option("Option_AR_0")->isChecked());

    t.click("Option_videP_2");
    EXPECT_FALSE(t.option("Option_Vers_2")->isEnabled());
    EXPECT_TRUE(t.option("Option_Vers_0")->isEnabled());
    EXPECT_TRUE(t.option("Option_Vers_0")->isChecked());
    EXPECT_TRUE(t.option("Option_videP_2")->isChecked()); // the arrays are separate groups
    EXPECT_TRUE(t.option("Option_AR_0")->isChecked());

    t.click("Option_videP_0");
    EXPECT_TRUE(t.option("Option_Vers_2")->isEnabled());
    EXPECT_FALSE(t.option("Option_Vers_0")->isEnabled());
    EXPECT_TRUE(t.option("Option_Vers_1")->isChecked());

    // "Annuler" only hides the dialog; its choices stay for the next time.
    t.click("Option_videP_2");
    t.click("Option_AR_1");
    t.click("Cmd_Annuler");
    EXPECT_FALSE(t.dialog->isVisible());
    EXPECT_TRUE(t.listsShown.isEmpty());
    EXPECT_TRUE(t.fakes.messageBox.messages().isEmpty());
    t.dialog->show();
    EXPECT_EQ(t.dialog->source(), 3);
    EXPECT_EQ(t.dialog->destination(), 1);
    EXPECT_EQ(t.dialog->mode(), TransferMode::Replace);
}

TEST(TransferBasket, AddSkipsTheReferencesTheDestinationHolds)
{
    Transfers t;
    t.fill(1, QStringLiteral("Rang <= 5"));
    t.fill(2, QStringLiteral("Rang IN (2, 4)"));
    t.context.catalogue.db->execute(
        QStringLiteral("UPDATE [TSélection2] SET Titre = 'gardé' WHERE Rang = 2"));
    t.context.state.currentBasket = 3;
    t.open();
    const qsizetype pointerChanges = t.fakes.busyPointer.history().size();
    t.transfer(1, 2, "Option_AR_0");

    ASSERT_EQ(t.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &m = t.lastMessage();
    EXPECT_EQ(m.text, QStringLiteral("3 références ajoutées au panier 2"));
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_EQ(m.icon, MessageIcon::None);
    ASSERT_TRUE(m.title.has_value());
    EXPECT_TRUE(m.title->isEmpty());
    t.expectCounts(5, 5, 0);
    EXPECT_EQ(t.rangsIn(2), range(1, 5));
    EXPECT_FALSE(t.dialog->isVisible());
    EXPECT_EQ(t.listsShown, QList<int>{3}); // the list is rebuilt on the current basket
    // The hourglass during the copy only, not under the message.
    EXPECT_EQ(t.fakes.busyPointer.history().mid(pointerChanges), (QList<bool>{true, false}));

    // A skipped reference keeps the destination's row; a copied one is the source's, column by
    // column.
    auto db = Database::open(t.context.databasePath);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Titre FROM [TSélection2] WHERE Rang = 2")),
              QVariant(QStringLiteral("gardé")));
    auto copied = db->openRecordSet(QStringLiteral("SELECT * FROM [TSélection2] WHERE Rang = 5"));
    auto original = db->openRecordSet(QStringLiteral("SELECT * FROM TArticles WHERE Rang = 5"));
    ASSERT_EQ(copied->fieldCount(), original->fieldCount());
    for (int i = 0; i < copied->fieldCount(); ++i)
        EXPECT_EQ(copied->value(i), original->value(i)) << copied->fieldName(i).toStdString();
}

TEST(TransferBasket, ReplaceAsksFirstThenLeavesExactlyTheSourceReferences)
{
    Transfers t;
    t.fill(1, QStringLiteral("Rang BETWEEN 10 AND 20"));
    t.fill(3, QStringLiteral("Rang IN (1, 2, 3, 4)"));
    t.open();

    t.fakes.messageBox.pushAnswer(MessageAnswer::No);
    t.transfer(3, 1, "Option_AR_1");
    ASSERT_EQ(t.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &question = t.lastMessage();
    EXPECT_EQ(question.text,
              QStringLiteral("Le panier n° 1 va être vidé. \r\nEtes-vous d'accord ?"));
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::None);
    ASSERT_TRUE(question.title.has_value());
    EXPECT_TRUE(question.title->isEmpty());
    t.expectCounts(11, 0, 4);
    EXPECT_EQ(t.rangsIn(1), range(10, 20));
    EXPECT_FALSE(t.dialog->isVisible());
    EXPECT_EQ(t.listsShown, QList<int>{1});

    t.dialog->show();
    t.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    t.click("Cmd_Voir");
    EXPECT_EQ(t.fakes.messageBox.messages().size(), 2); // only the question
    t.expectCounts(4, 0, 4);
    EXPECT_EQ(t.rangsIn(1), range(1, 4));
    EXPECT_FALSE(t.dialog->isVisible());
    EXPECT_EQ(t.listsShown, (QList<int>{1, 1}));
}

TEST(TransferBasket, AnEmptySourceIsRefusedAndTheDialogStaysOpen)
{
    Transfers t;
    t.fill(1, QStringLiteral("Rang <= 3"));
    t.fill(2, QStringLiteral("Rang <= 6"));
    t.open();

    t.transfer(3, 1, "Option_AR_0");
    ASSERT_EQ(t.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &refusal = t.lastMessage();
    EXPECT_EQ(refusal.text, QStringLiteral("Le panier source est vide ! "));
    EXPECT_EQ(refusal.icon, MessageIcon::Exclamation);
    EXPECT_EQ(refusal.shownTitle(), QStringLiteral("Transfert impossible"));
    t.expectCounts(3, 6, 0);
    EXPECT_TRUE(t.dialog->isVisible());
    EXPECT_TRUE(t.listsShown.isEmpty());

    // Replacing from an empty basket empties the destination first.
    t.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    t.transfer(3, 2, "Option_AR_1");
    ASSERT_EQ(t.fakes.messageBox.messages().size(), 3);
    EXPECT_EQ(t.lastMessage().text, QStringLiteral("Le panier source est vide ! "));
    t.expectCounts(3, 0, 0);
    EXPECT_TRUE(t.dialog->isVisible());
    EXPECT_TRUE(t.listsShown.isEmpty());
}

TEST(TransferBasket, AFailureInTheMiddleOfTheCopyLeavesTheDestinationWhole)
{
    Transfers t;
    t.fill(1, QStringLiteral("Rang <= 5"));
    t.fill(2, QStringLiteral("Rang = 100"));
    // The destination refuses one row in the middle of the source's order.
    t.context.catalogue.db->execute(
        QStringLiteral("CREATE TRIGGER t BEFORE INSERT ON [TSélection2] WHEN NEW.Rang = 3 "
                       "BEGIN SELECT RAISE(ABORT, 'refus'); END"));
    t.context.state.currentBasket = 2;
    t.open();

    t.transfer(1, 2, "Option_AR_0");
    ASSERT_EQ(t.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &error = t.lastMessage();
    EXPECT_EQ(error.shownTitle(), QStringLiteral("Erreur de transfert"));
    EXPECT_EQ(error.icon, MessageIcon::Exclamation);
    EXPECT_EQ(error.buttons, MessageButtons::Ok);
    EXPECT_TRUE(error.text.startsWith(QStringLiteral("Erreur  "))) << error.text.toStdString();
    EXPECT_EQ(error.text.count(QStringLiteral("\r\n")), 1);
    EXPECT_EQ(t.rangsIn(2), QList<int>{100}); // no row of the copy stayed
    t.expectCounts(5, 1, 0);
    EXPECT_FALSE(t.dialog->isVisible());
    EXPECT_EQ(t.listsShown, QList<int>{2});
    EXPECT_FALSE(t.fakes.busyPointer.isBusy());

    // Replacing: the emptying is kept, the copy is not, and the count says so.
    t.dialog->show();
    t.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    t.transfer(1, 2, "Option_AR_1");
    EXPECT_EQ(t.lastMessage().shownTitle(), QStringLiteral("Erreur de transfert"));
    t.expectCounts(5, 0, 0);

    // The base is usable afterwards: without the trigger the same transfer succeeds.
    t.context.catalogue.db->execute(QStringLiteral("DROP TRIGGER t"));
    t.dialog->show();
    t.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    t.click("Cmd_Voir");
    t.expectCounts(5, 5, 0);
}

TEST(TransferBasket, CopiesTheWholeBaseQuickly)
{
    Transfers t(6773);
    t.fill(1, QStringLiteral("Rang > 0"));
    t.open();
    QElapsedTimer timer;
    timer.start();
    t.transfer(1, 3, "Option_AR_0");
    const qint64 elapsed = timer.elapsed();
    EXPECT_EQ(t.lastMessage().text, QStringLiteral("6773 références ajoutées au panier 3"));
    t.expectCounts(6773, 0, 6773);
    EXPECT_LT(elapsed, 2000) << "ms";
}
