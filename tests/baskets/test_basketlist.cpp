#include "app/introscreen.h"
#include "core/baskets/basketoperations.h"
#include "core/baskets/basketstore.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/record/cardbrowser.h"
#include "core/search/runsearch.h"
#include "gui/baskets/basketgridmodel.h"
#include "gui/baskets/basketlist.h"
#include "gui/record/recordcard.h"
#include "gui/shell/searchviews.h"
#include "support/programfixture.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using namespace ferlin;

namespace {

struct ListFixture : test::ProgramFixture {
    ListFixture() { window.load(); }

    BasketList *list() { return window.screenAs<BasketList>(QStringLiteral("F_grille")); }
    // A reference stored straight into a basket.
    void put(int basket, int rang, int year, const char *number, int page, const char *month,
             const char *title)
    {
        context.catalogue.db->executeBound(
            QStringLiteral("INSERT INTO ") + Schema::basketTable(basket) +
                QStringLiteral(" (Rang, An, Numéro, Page, Mois, Titre) VALUES (?,?,?,?,?,?)"),
            {rang, year, number ? QVariant(QString::fromUtf8(number)) : QVariant(), page,
             month ? QVariant(QString::fromUtf8(month)) : QVariant(), QString::fromUtf8(title)});
        context.state.basketCounts[basket] += 1;
    }
    QStringList line(int row)
    {
        QStringList cells;
        auto *model = list()->gridModel();
        for (int c = 0; c < BasketGridModel::ColumnCount; ++c)
            cells << model->index(row, c).data().toString();
        return cells;
    }
    int lines() { return list()->gridModel()->rowCount(); }
    QString label(const char *name)
    {
        return list()->findChild<QLabel *>(QString::fromUtf8(name))->text();
    }
    void openBaskets() { window.commandButton(QStringLiteral("Cmd_voirpanier"))->click(); }
    QWidget *front() { return window.findChild<QMdiArea *>()->activeSubWindow()->widget(); }
    RecordCard *card() { return window.screenAs<RecordCard>(QStringLiteral("F_formul")); }
    template <typename T = QAbstractButton> T *onCard(const char *name)
    {
        return card()->findChild<T *>(QString::fromUtf8(name));
    }
    // A mouse click on a cell of the grid, in the part of it in sight.
    void clickCell(int row, int column)
    {
        QTableView *grid = list()->grid();
        const QRect cell =
            grid->visualRect(list()->gridModel()->index(row, column)) & grid->viewport()->rect();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // "Fenêtres", then "Travail sur les paniers".
    void backThroughWindowMenu()
    {
        QMenu *menu = window.findChild<QMenu *>(QStringLiteral("Menu_Fenetres"));
        Q_EMIT menu->aboutToShow();
        for (QAction *item : menu->actions()) {
            if (item->text() == QStringLiteral("Travail sur les paniers"))
                return item->trigger();
        }
        ADD_FAILURE() << "no basket list in the window menu";
    }
    // The titles of basket n as the base holds them, in the list's order.
    QStringList storedTitles(int basket)
    {
        QStringList titles;
        RecordSet set(*context.catalogue.db, BasketStore::orderedSource(basket));
        for (const QStringList &row : set.readAll({QStringLiteral("Titre")}))
            titles << row.first();
        return titles;
    }
    // Runs the transfer dialog: every reference of `source` added to `destination`.
    void transfer(int source, int destination)
    {
        QTimer::singleShot(0, [&] {
            auto *dialog = window.findChild<QDialog *>(QStringLiteral("F_Transferts"));
            ASSERT_TRUE(dialog);
            const auto option = [dialog](const char *group, int basket) {
                return dialog->findChild<QRadioButton *>(QString::fromUtf8(group) +
                                                         QString::number(basket - 1));
            };
            option("Option_videP_", source)->click();
            option("Option_Vers_", destination)->click();
            dialog->findChild<QRadioButton *>(QStringLiteral("Option_AR_0"))->click();
            dialog->findChild<QAbstractButton *>(QStringLiteral("Cmd_Voir"))->click();
        });
        list()->findChild<QToolButton *>(QStringLiteral("Cmd_transferts"))->click();
    }
};

// Something done elsewhere, with the list of basket 1 built and left behind.
struct ElsewhereCase {
    const char *name;
    std::function<void(ListFixture &)> run;
};

void PrintTo(const ElsewhereCase &c, std::ostream *out)
{
    *out << c.name;
}

class ListBackFromElsewhere : public ::testing::TestWithParam<ElsewhereCase> {};

} // namespace

TEST(BasketList, ListsTheBasketNewestFirstAndOpensALineOnTheCard)
{
    ListFixture f;
    f.put(1, 9001, 1990, "5", 10, "janvier", "Premier article");
    f.put(1, 9002, 1990, "7", 3, " mars ", "Deuxième article");
    f.put(1, 9003, 2001, "1", 7, "août-septembre", "Troisième article");
    f.openBaskets();
    EXPECT_FALSE(f.window.intro()->progressFrame()->isVisible());
    EXPECT_EQ(f.front(), static_cast<QWidget *>(f.list()));
    EXPECT_TRUE(f.fakes.messageBox.messages().isEmpty());

    auto *model = f.list()->gridModel();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Année"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Mois"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Numéro"));
    EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(),
              QStringLiteral("Titre de l'article"));
    ASSERT_EQ(f.lines(), 3);
    // Month codes: a blank around a month is removed, a month outside the table is empty.
    EXPECT_EQ(f.line(0), (QStringList{QStringLiteral("2001"), QString(), QStringLiteral("1"),
                                      QStringLiteral("Troisième article")}));
    EXPECT_EQ(f.line(1), (QStringList{QStringLiteral("1990"), QStringLiteral("03"),
                                      QStringLiteral("7"), QStringLiteral("Deuxième article")}));
    EXPECT_EQ(f.line(2), (QStringList{QStringLiteral("1990"), QStringLiteral("01"),
                                      QStringLiteral("5"), QStringLiteral("Premier article")}));
    EXPECT_EQ(f.label("Lab_NumPanier"), QStringLiteral("1"));
    EXPECT_EQ(f.label("Lab_NbRefPanier"), QStringLiteral("3"));

    // A click on line 3 shows its reference on the card at position 3.
    QTableView *grid = f.list()->grid();
    const QRect cell = grid->visualRect(f.list()->gridModel()->index(2, 3));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    auto *card = f.window.screenAs<RecordCard>(QStringLiteral("F_formul"));
    EXPECT_EQ(f.front(), static_cast<QWidget *>(card));
    EXPECT_EQ(f.context.catalogue.card->value(QStringLiteral("Rang")).toInt(), 9001);
    EXPECT_EQ(f.context.state.card.position, 3);
    EXPECT_EQ(card->findChild<QLabel *>(QStringLiteral("Lab_rang"))->text(),
              QStringLiteral(" Référence (Sélection) : 1 / 3"));
    EXPECT_EQ(card->findChild<QLabel *>(QStringLiteral("Lab_an"))->text(), QStringLiteral("1990"));

    // "Retour à la liste" comes back to the same grid.
    card->findChild<QAbstractButton *>(QStringLiteral("Cmd_Grille"))->click();
    EXPECT_EQ(f.front(), static_cast<QWidget *>(f.list()));
    EXPECT_EQ(f.lines(), 3);
    EXPECT_EQ(f.line(2).at(3), QStringLiteral("Premier article"));
}

TEST(BasketList, AnEmptyBasketIsToldAndShowsOneEmptyLine)
{
    ListFixture f;
    f.put(1, 9001, 1990, nullptr, 10, nullptr, "Sans numéro ni mois");
    f.openBaskets();
    EXPECT_EQ(f.line(0), (QStringList{QStringLiteral("1990"), QString(), QString(),
                                      QStringLiteral("Sans numéro ni mois")}));
    f.list()->findChild<QRadioButton *>(QStringLiteral("OptionP_1"))->click();
    ASSERT_EQ(f.fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(f.fakes.messageBox.lastMessage().text, QStringLiteral("Le panier n° 2 est vide"));
    EXPECT_EQ(f.fakes.messageBox.lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_FALSE(f.fakes.messageBox.lastMessage().title.has_value());
    EXPECT_EQ(f.lines(), 1);
    EXPECT_EQ(f.line(0), (QStringList{QString(), QString(), QString(), QString()}));
    EXPECT_EQ(f.label("Lab_NbRefPanier"), QStringLiteral("0"));
    EXPECT_EQ(f.label("Lab_NumPanier"), QStringLiteral("2"));
    EXPECT_EQ(f.context.state.currentBasket, 2);
    // A click on the empty line opens nothing.
    f.list()->OpenGridRow(1);
    EXPECT_EQ(f.front(), static_cast<QWidget *>(f.list()));

    // Shown again through the command while displayed: told again.
    f.openBaskets();
    EXPECT_EQ(f.fakes.messageBox.messages().size(), 2);
}

TEST(BasketList, EmptyingAsksFirst)
{
    ListFixture f;
    f.put(3, 9001, 1990, "5", 10, "mai", "Un");
    f.put(3, 9002, 1991, "6", 11, "juin", "Deux");
    f.context.state.currentBasket = 3;
    f.openBaskets();
    ASSERT_EQ(f.lines(), 2);
    auto *empty = f.list()->findChild<QToolButton *>(QStringLiteral("Command2"));
    EXPECT_EQ(empty->toolTip(), QStringLiteral("  Vider le panier courant "));

    f.fakes.messageBox.pushAnswer(MessageAnswer::No);
    empty->click();
    const RecordedMessage &question = f.fakes.messageBox.lastMessage();
    EXPECT_EQ(question.text,
              QStringLiteral("Attention : Le panier n° 3 va être vidé. Etes-vous d'accord ?"));
    EXPECT_EQ(question.shownTitle(), QStringLiteral("Vidage d'un panier"));
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.lines(), 2);
    EXPECT_EQ(f.context.state.basketCounts[3], 2);

    f.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    empty->click();
    EXPECT_EQ(f.lines(), 1);
    EXPECT_EQ(f.label("Lab_NbRefPanier"), QStringLiteral("0"));
    EXPECT_EQ(f.context.state.basketCounts[3], 0);
    EXPECT_EQ(Database::open(f.context.databasePath)
                  ->scalar(QStringLiteral("SELECT count(*) FROM [TSélection3]"))
                  .toInt(),
              0);
    // The card, which browsed that basket, shows it empty.
    auto *card = f.window.screenAs<RecordCard>(QStringLiteral("F_formul"));
    card->refresh();
    EXPECT_EQ(card->findChild<QLabel *>(QStringLiteral("Lab_rang"))->text(),
              QStringLiteral(" Référence (Sélection) : 1 / 0"));
}

TEST(BasketList, TheTransferButtonOpensTheDialogAndTheListFollowsItsChanges)
{
    ListFixture f;
    f.put(1, 9001, 1990, "5", 10, "mai", "Un");
    f.put(1, 9002, 1991, "6", 11, "juin", "Deux");
    f.openBaskets();
    ASSERT_EQ(f.lines(), 2);
    // Replace basket 1 by the empty basket 2: the destination is emptied, the dialog stays open
    // on the empty-source message, then the user cancels it.
    f.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = f.window.findChild<QDialog *>(QStringLiteral("F_Transferts"));
        ASSERT_TRUE(dialog);
        sawDialog = dialog->isModal() && dialog->isVisible();
        dialog->findChild<QRadioButton *>(QStringLiteral("Option_videP_1"))->click();
        dialog->findChild<QRadioButton *>(QStringLiteral("Option_Vers_0"))->click();
        dialog->findChild<QRadioButton *>(QStringLiteral("Option_AR_1"))->click();
        dialog->findChild<QAbstractButton *>(QStringLiteral("Cmd_Voir"))->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->findChild<QAbstractButton *>(QStringLiteral("Cmd_Annuler"))->click();
    });
    f.list()->findChild<QToolButton *>(QStringLiteral("Cmd_transferts"))->click();
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(f.fakes.messageBox.lastMessage().text,
              QStringLiteral("Le panier source est vide ! "));
    EXPECT_EQ(f.context.state.basketCounts[1], 0);
    EXPECT_EQ(f.lines(), 1);
    EXPECT_EQ(f.label("Lab_NbRefPanier"), QStringLiteral("0"));
    EXPECT_EQ(f.line(0), (QStringList{QString(), QString(), QString(), QString()}));
}

TEST(BasketList, ALineClickedAfterBrowsingTheBaseShowsTheBasketsReference)
{
    ListFixture f;
    f.put(1, 9001, 1990, "5", 10, "janvier", "Premier article");
    f.put(1, 9002, 1990, "7", 3, "mars", "Deuxième article");
    f.put(1, 9003, 2001, "1", 7, "mai", "Troisième article");
    f.openBaskets();
    f.window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
    // Back to the list through the window menu, then line 2.
    f.window.showScreen(QStringLiteral("F_grille"));
    f.list()->OpenGridRow(2);
    auto *card = f.window.screenAs<RecordCard>(QStringLiteral("F_formul"));
    EXPECT_EQ(f.context.card.set()->value(QStringLiteral("Rang")).toInt(), 9002);
    EXPECT_EQ(card->findChild<QLabel *>(QStringLiteral("Lab_rang"))->text(),
              QStringLiteral(" Référence (Sélection) : 2 / 3"));
    EXPECT_EQ(f.context.state.card.mode, CardState::BasketMode);
    EXPECT_EQ(card->findChild<QLabel *>(QStringLiteral("Lab_NumPanier"))->text(),
              QStringLiteral("PANIER N° 1"));
}

TEST(BasketList, TheCardReachedThroughTheWindowMenuAfterTheListWorks)
{
    ListFixture f;
    f.put(1, 9001, 1990, "5", 10, "janvier", "Premier article");
    f.put(1, 9002, 1990, "7", 3, "mars", "Deuxième article");
    f.openBaskets();
    f.window.showScreen(QStringLiteral("F_formul"));
    auto *card = f.window.screenAs<RecordCard>(QStringLiteral("F_formul"));
    auto *rank = card->findChild<QLabel *>(QStringLiteral("Lab_rang"));
    card->findChild<QAbstractButton *>(QStringLiteral("Cmd_Droite"))->click();
    EXPECT_EQ(f.context.state.card.position, 2);
    EXPECT_EQ(rank->text(), QStringLiteral(" Référence (Sélection) : 1 / 2"));
    EXPECT_EQ(f.context.card.set()->value(QStringLiteral("Rang")).toInt(), 9001);
    // "Ajouter" stores the reference shown into basket 2, without an error.
    card->findChild<QAbstractButton *>(QStringLiteral("Cmd_AjoutP"))->click();
    card->findChild<QAbstractButton *>(QStringLiteral("Option3_1"))->click();
    card->findChild<QAbstractButton *>(QStringLiteral("Cmd_AP"))->click();
    EXPECT_TRUE(f.fakes.messageBox.messages().isEmpty());
    EXPECT_EQ(f.context.state.basketCounts[2], 1);
    // "Supprime" removes it from basket 1; back to the list, "previous" shows the newest.
    f.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    card->findChild<QAbstractButton *>(QStringLiteral("Cmd_SupprimeSel"))->click();
    EXPECT_EQ(f.context.state.basketCounts[1], 1);
    EXPECT_EQ(f.context.card.set()->value(QStringLiteral("Rang")).toInt(), 9002);
    card->findChild<QAbstractButton *>(QStringLiteral("Cmd_Grille"))->click();
    EXPECT_EQ(f.lines(), 1);
    f.window.showScreen(QStringLiteral("F_formul"));
    EXPECT_EQ(rank->text(), QStringLiteral(" Référence (Sélection) : 1 / 1"));
}

INSTANTIATE_TEST_SUITE_P(
    Writers, ListBackFromElsewhere,
    ::testing::Values(
        ElsewhereCase{"RemovedOnTheCard",
                      [](ListFixture &f) {
                          f.clickCell(1, 3);
                          f.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
                          f.onCard("Cmd_SupprimeSel")->click();
                      }},
        ElsewhereCase{"AddedOnTheCardWhileBrowsingTheBase",
                      [](ListFixture &f) {
                          f.window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
                          f.onCard("Cmd_AjoutSel")->click();
                          f.onCard("Option2_0")->click();
                          f.onCard("Command2")->click();
                      }},
        ElsewhereCase{
            "PlacedFromASearch",
            [](ListFixture &f) {
                SearchRunner(f.context, SearchViewsOf(f.window)).PlaceReferences({1, 2}, 1, false);
            }},
        ElsewhereCase{"TransferredFromAnotherBasket",
                      [](ListFixture &f) {
                          f.put(2, 9100, 2000, "1", 1, "mai", "Venu du panier 2");
                          f.transfer(2, 1);
                      }},
        ElsewhereCase{"Emptied",
                      [](ListFixture &f) { f.card()->basketOperations().EmptyBasket(1); }},
        ElsewhereCase{
            "SearchIntoAnotherBasketNotCopied",
            [](ListFixture &f) {
                // "2 références ont été trouvées ... Copier le résultat ... ?"
                f.fakes.messageBox.pushAnswer(MessageAnswer::No);
                SearchRunner(f.context, SearchViewsOf(f.window)).PlaceReferences({1, 2}, 2, false);
            }}),
    [](const ::testing::TestParamInfo<ElsewhereCase> &test) {
        return std::string(test.param.name);
    });

// Back through the window menu, the list shows basket 1 as it stands, and a click opens the
// reference of the line clicked.
TEST_P(ListBackFromElsewhere, ShowsTheBasketAsItStandsAndOpensTheLineClicked)
{
    ListFixture f;
    for (int i = 0; i < 5; ++i)
        f.put(1, 9001 + i, 1990 + i, "1", 1, "mai", ("Article " + std::to_string(i + 1)).c_str());
    f.openBaskets();
    // Every line drawn once, as the window does when it shows them.
    for (int r = 0; r < f.lines(); ++r)
        f.line(r);

    GetParam().run(f);
    f.window.showScreen(QStringLiteral("F_formul"));
    f.backThroughWindowMenu();
    ASSERT_EQ(f.front(), static_cast<QWidget *>(f.list()));

    const QStringList titles = f.storedTitles(1);
    EXPECT_EQ(f.label("Lab_NumPanier"), QStringLiteral("1"));
    EXPECT_EQ(f.label("Lab_NbRefPanier"), QString::number(titles.size()));
    QStringList shown;
    for (int r = 0; r < f.lines(); ++r)
        shown << f.line(r).at(3);
    if (titles.isEmpty()) {
        EXPECT_EQ(shown, QStringList{QString()});
        return;
    }
    EXPECT_EQ(shown, titles);
    // The third line, below any line removed or added.
    f.clickCell(2, 3);
    ASSERT_EQ(f.front(), static_cast<QWidget *>(f.card()));
    EXPECT_EQ(f.onCard<QPlainTextEdit>("Text1")->toPlainText(), titles.at(2));
    EXPECT_EQ(f.onCard<QLabel>("Lab_rang")->text(),
              QStringLiteral(" Référence (Sélection) : ") + QString::number(titles.size() - 2) +
                  QStringLiteral(" / ") + QString::number(titles.size()));
}

// In a window narrower than the grid's columns, choosing a title does not scroll the grid
// sideways, and the list always comes back on its first column.
TEST(BasketList, ComesBackOnItsFirstColumnInANarrowWindow)
{
    ListFixture f;
    f.window.resize(816, 600);
    f.put(1, 9001, 1990, "5", 10, "janvier", "Premier article");
    f.put(1, 9002, 1991, "7", 3, "mars", "Deuxième article");
    f.openBaskets();
    QTableView *grid = f.list()->grid();
    QScrollBar *across = grid->horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0) << "the grid fits the window: nothing to scroll";
    const auto firstCellLeft = [&] { return grid->visualRect(grid->model()->index(0, 0)).left(); };

    f.clickCell(0, 3);
    ASSERT_EQ(f.front(), static_cast<QWidget *>(f.card()));
    // A grid brings the cell clicked into sight once no double click can follow.
    QTest::qWait(QApplication::doubleClickInterval() + 150);
    EXPECT_EQ(across->value(), 0);
    f.onCard("Cmd_Grille")->click();
    EXPECT_EQ(firstCellLeft(), 0);

    // Scrolled sideways by the user, then back from the card through the window menu.
    across->setValue(across->maximum());
    f.clickCell(1, 3);
    ASSERT_EQ(f.front(), static_cast<QWidget *>(f.card()));
    f.backThroughWindowMenu();
    EXPECT_EQ(f.front(), static_cast<QWidget *>(f.list()));
    EXPECT_EQ(firstCellLeft(), 0);
}
