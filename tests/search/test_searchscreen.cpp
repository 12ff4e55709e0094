#include "baskets/basketlist.h"
#include "search/authorpicker.h"
#include "search/keywordpicker.h"
#include "search/searchscreen.h"
#include "support/programfixture.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QColor Blue(0x00, 0x00, 0xFF);
const QColor Grey(0x80, 0x80, 0x80);

struct SearchFixture : test::ProgramFixture {
    SearchScreen *screen = nullptr;

    SearchFixture()
    {
        window.load();
        window.commandButton(QStringLiteral("Cmd_selections"))->click();
        screen = window.screenAs<SearchScreen>(QStringLiteral("Selecfr"));
    }
    template <typename T> T *get(const char *name) const
    {
        return screen->findChild<T *>(QString::fromUtf8(name));
    }
    bool shown(const char *name) const { return get<QWidget>(name)->isVisibleTo(screen); }
    QColor colour(const char *name) const
    {
        return get<QWidget>(name)->palette().color(QPalette::WindowText);
    }
    void tick(const char *name) { get<QCheckBox>(name)->click(); }
    void clickLabel(const char *name) { QTest::mouseClick(get<QLabel>(name), Qt::LeftButton); }
    void clickItem(const char *list, const QString &text)
    {
        auto *widget = get<QListWidget>(list);
        const auto items = widget->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << text.toStdString();
        Q_EMIT widget->itemClicked(items.front());
    }
    int count(const QString &sql) const
    {
        return Database::open(context.databasePath)->scalar(sql).toInt();
    }
};

} // namespace

TEST(SearchScreen, StartsWithEveryCriterionOffAndTheStartupLists)
{
    SearchFixture f;
    EXPECT_EQ(f.screen->windowTitle(), QStringLiteral("Sélection de références"));
    for (const char *box :
         {"Check_cles", "Check_An", "Check_numéro", "Check_niveau", "Check_auteur",
          "Check_PointdeVue", "Check_domaine", "Check_Rang", "Check_libre"}) {
        EXPECT_FALSE(f.get<QCheckBox>(box)->isChecked()) << box;
        EXPECT_EQ(f.colour(box), Grey) << box;
    }
    for (const char *input : {"Lab_cle1", "T_an1", "T_numéro", "Lab_niveau", "Lab_auteur",
                              "L_PointdeVue", "T_Rang", "T_libre", "Check_titre"})
        EXPECT_FALSE(f.shown(input)) << input;
    EXPECT_TRUE(f.shown("Shape2"));
    EXPECT_TRUE(f.get<QRadioButton>("OptionChaine")->isChecked());
    EXPECT_TRUE(f.get<QCheckBox>("Check_titre")->isChecked());
    EXPECT_TRUE(f.get<QCheckBox>("Check_Resume")->isChecked());
    EXPECT_FALSE(f.get<QCheckBox>("Check_MotsCles")->isChecked());
    EXPECT_EQ(f.get<QLabel>("Label1_2")->text(), QStringLiteral("BASE"));
    EXPECT_TRUE(f.get<QRadioButton>("NuméroPanier_0")->isChecked());
    EXPECT_EQ(f.colour("NuméroPanier_0"), Blue);
    EXPECT_TRUE(f.get<QRadioButton>("Option_panier_0")->isChecked());
    EXPECT_EQ(f.colour("Option_panier_0"), Blue);
    EXPECT_EQ(f.colour("Option_panier_1"), Grey);
    // The lists and counts the start-up read.
    auto *points = f.get<QListWidget>("L_PointdeVue");
    ASSERT_EQ(points->count(), f.context.state.pointOfViewList.size());
    EXPECT_EQ(points->item(0)->text(), f.context.state.pointOfViewList.front());
    EXPECT_EQ(f.get<QListWidget>("L_domaine")->count(), f.context.state.domainList.size());
    EXPECT_EQ(f.get<QListWidget>("L_niveau")->item(2)->text(), QStringLiteral(" lycée "));
    for (const char *label : {"Lab_NbRefP1", "Lab_NbRefP2", "Lab_NbRefP3"})
        EXPECT_EQ(f.get<QLabel>(label)->text(), QStringLiteral("0"));
}

TEST(SearchScreen, TickingShowsTheInputsAndCancelAllKeepsTheValues)
{
    SearchFixture f;
    f.tick("Check_An");
    EXPECT_EQ(f.colour("Check_An"), Blue);
    EXPECT_TRUE(f.shown("T_an1"));
    EXPECT_TRUE(f.shown("Lab_sup"));
    f.get<QLineEdit>("T_an1")->setText(QStringLiteral("1980"));
    f.tick("Check_cles");
    EXPECT_TRUE(f.shown("Lab_cle_et"));
    EXPECT_FALSE(f.shown("Shape2"));

    // A level chosen in its list.
    f.tick("Check_niveau");
    EXPECT_TRUE(f.shown("L_niveau"));
    f.clickItem("L_niveau", QStringLiteral(" lycée "));
    EXPECT_EQ(f.get<QLabel>("Lab_niveau")->text(), QStringLiteral(" lycée "));
    EXPECT_FALSE(f.shown("L_niveau"));
    f.clickLabel("Lab_niveau");
    EXPECT_TRUE(f.shown("L_niveau"));

    f.get<QPushButton>("Command1")->click();
    for (const char *box : {"Check_An", "Check_cles", "Check_niveau"}) {
        EXPECT_FALSE(f.get<QCheckBox>(box)->isChecked());
        EXPECT_EQ(f.colour(box), Grey);
    }
    EXPECT_FALSE(f.shown("T_an1"));
    EXPECT_TRUE(f.shown("Shape2"));
    f.tick("Check_An");
    EXPECT_EQ(f.get<QLineEdit>("T_an1")->text(), QStringLiteral("1980"));
    EXPECT_EQ(f.get<QLabel>("Lab_niveau")->text(), QStringLiteral(" lycée "));
}

TEST(SearchScreen, TheSourceDecidesTheDestinationsAllowed)
{
    SearchFixture f;
    f.get<QRadioButton>("NuméroPanier_2")->click();
    EXPECT_EQ(f.colour("NuméroPanier_2"), Blue);
    EXPECT_EQ(f.colour("NuméroPanier_0"), Grey);
    f.clickLabel("Label1_1");
    EXPECT_TRUE(f.shown("L_Source"));
    f.clickItem("L_Source", QStringLiteral("PANIER 2"));
    EXPECT_FALSE(f.shown("L_Source"));
    EXPECT_EQ(f.get<QLabel>("Label1_2")->text(), QStringLiteral("PANIER 2"));
    EXPECT_FALSE(f.get<QRadioButton>("NuméroPanier_1")->isEnabled());
    EXPECT_TRUE(f.get<QRadioButton>("NuméroPanier_0")->isChecked());
    EXPECT_EQ(f.colour("NuméroPanier_0"), Blue);
    EXPECT_EQ(f.colour("NuméroPanier_2"), Grey);
    f.clickLabel("Label1_2");
    f.clickItem("L_Source", QStringLiteral("PANIER 1"));
    EXPECT_FALSE(f.get<QRadioButton>("NuméroPanier_0")->isEnabled());
    EXPECT_TRUE(f.get<QRadioButton>("NuméroPanier_1")->isChecked());
    EXPECT_EQ(f.screen->criteria().destination, 2);
    EXPECT_EQ(f.screen->criteria().source, QStringLiteral("PANIER 1"));
    f.get<QRadioButton>("Option_panier_1")->click();
    EXPECT_EQ(f.colour("Option_panier_1"), Blue);
    EXPECT_EQ(f.colour("Option_panier_0"), Grey);
    EXPECT_TRUE(f.screen->criteria().replace);
}

TEST(SearchScreen, TheAuthorPickerOpensModallyWhenTickedAndClosesWhenUnticked)
{
    SearchFixture f;
    QString seenAuthor;
    QTimer::singleShot(0, [&] {
        auto *picker = f.window.findChild<AuthorPicker *>(QStringLiteral("F_auteur"));
        ASSERT_TRUE(picker);
        EXPECT_TRUE(picker->isModal() || picker->isVisible());
        auto *list = picker->findChild<QListWidget *>(QStringLiteral("List1"));
        seenAuthor = list->item(3)->text();
        Q_EMIT list->itemClicked(list->item(3));
    });
    f.tick("Check_auteur");
    EXPECT_EQ(f.get<QLabel>("Lab_auteur")->text(), seenAuthor);
    auto *picker = f.window.findChild<AuthorPicker *>(QStringLiteral("F_auteur"));
    EXPECT_FALSE(picker->isVisible());
    // The label shows it without blocking; unticking closes it.
    f.clickLabel("Lab_auteur");
    EXPECT_TRUE(picker->isVisible());
    EXPECT_FALSE(picker->isModal());
    f.tick("Check_auteur");
    EXPECT_FALSE(picker->isVisible());
}

TEST(SearchScreen, ASearchOverTheBaseFillsTheBasketAndShowsIt)
{
    SearchFixture f;
    f.tick("Check_An");
    f.get<QLineEdit>("T_an1")->setText(QStringLiteral("1980"));
    f.get<QLineEdit>("T_an2")->setText(QStringLiteral("1990"));
    const int expected = f.count(QStringLiteral("SELECT count(*) FROM TArticles WHERE An > 1980 "
                                                "AND An < 1990"));
    ASSERT_GT(expected, 1);
    f.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    f.get<QPushButton>("Cmd_selection")->click();
    const auto &messages = f.fakes.messageBox.messages();
    ASSERT_GE(messages.size(), 2);
    EXPECT_EQ(messages[0].text, QStringLiteral("%1 références ont été trouvées\r\nCopier le "
                                               "résultat de cette recherche dans le panier 1 ?")
                                    .arg(expected));
    EXPECT_EQ(messages[1].text,
              QStringLiteral("%1 références ont été ajoutées dans le panier n° 1").arg(expected));
    EXPECT_EQ(f.count(QStringLiteral("SELECT count(*) FROM [TSélection1]")), expected);
    EXPECT_EQ(f.get<QLabel>("Lab_NbRefP1")->text(), QString::number(expected));
    auto *list = f.window.screenAs<BasketList>(QStringLiteral("F_grille"));
    EXPECT_EQ(f.window.findChild<QMdiArea *>()->activeSubWindow()->widget(),
              static_cast<QWidget *>(list));
    EXPECT_EQ(list->findChild<QLabel *>(QStringLiteral("Lab_NbRefPanier"))->text(),
              QString::number(expected));
    EXPECT_EQ(f.context.state.currentBasket, 1);
}

TEST(SearchScreen, TheStartupWritesItsCountsAndThePickersLists)
{
    test::ProgramFixture p;
    // Built before the start-up: the start-up writes each count as it counts the baskets.
    auto *screen = p.window.screenAs<SearchScreen>(QStringLiteral("Selecfr"));
    {
        auto db = Database::open(p.context.databasePath);
        db->execute(QStringLiteral("INSERT INTO [TSélection2] SELECT * FROM TArticles WHERE "
                                   "Rang <= 4"));
    }
    p.window.load();
    EXPECT_EQ(screen->findChild<QLabel *>(QStringLiteral("Lab_NbRefP2"))->text(),
              QStringLiteral("4"));
    EXPECT_EQ(screen->findChild<QListWidget *>(QStringLiteral("L_domaine"))->count(),
              p.context.state.domainList.size());
    auto db = Database::open(p.context.databasePath);
    const int keywords = db->scalar(QStringLiteral("SELECT count(*) FROM [TClés]")).toInt();
    auto *picker = new KeywordPicker(p.window, &p.window);
    EXPECT_EQ(picker->findChild<QLabel *>(QStringLiteral("Lab_listemots"))->text(),
              QStringLiteral("Liste des mots clés (%1 mots)").arg(keywords));
    auto *authors = new AuthorPicker(p.window, &p.window);
    EXPECT_EQ(authors->findChild<QListWidget *>(QStringLiteral("List1"))->count(),
              db->scalar(QStringLiteral("SELECT count(*) FROM TAuteurs")).toInt());
}

TEST(SearchScreen, ListEntriesAreChosenFromTheKeyboard)
{
    SearchFixture f;
    const struct {
        const char *box, *list, *label;
        Qt::Key key;
    } lists[] = {{"Check_niveau", "L_niveau", "Lab_niveau", Qt::Key_Return},
                 {"Check_PointdeVue", "L_PointdeVue", "Lab_PointdeVue", Qt::Key_Space},
                 {"Check_domaine", "L_domaine", "Lab_domaine", Qt::Key_Enter}};
    for (const auto &l : lists) {
        f.tick(l.box);
        auto *list = f.get<QListWidget>(l.list);
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, l.key);
        EXPECT_EQ(f.get<QLabel>(l.label)->text(), list->item(1)->text()) << l.list;
        EXPECT_FALSE(f.shown(l.list)) << l.list;
    }
    f.clickLabel("Label1_2");
    auto *sources = f.get<QListWidget>("L_Source");
    sources->setCurrentRow(3);
    QTest::keyClick(sources, Qt::Key_Return);
    EXPECT_EQ(f.get<QLabel>("Label1_2")->text(), QStringLiteral("PANIER 3"));
}
