#include "gui/baskets/basketlist.h"
#include "gui/search/authorpicker.h"
#include "gui/search/keywordpicker.h"
#include "gui/search/searchscreen.h"
#include "support/accessiblename.h"
#include "support/programfixture.h"

#include <QApplication>
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

#include <algorithm>
#include <vector>

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
    // The keyboard from here on: the window is the active one and `name` has the focus.
    void focusOn(const char *name)
    {
        QApplication::setActiveWindow(&window);
        get<QWidget>(name)->setFocus(Qt::TabFocusReason);
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    QString focused() const
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
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

TEST(SearchScreen, TabReachesEveryControlInReadingOrder)
{
    SearchFixture f;
    // Everything the screen can show: every criterion ticked (the author picker that opens is
    // closed at once), the source list open.
    QTimer::singleShot(0, [&] { f.window.findChild<AuthorPicker *>()->hide(); });
    for (const char *box :
         {"Check_cles", "Check_An", "Check_numéro", "Check_niveau", "Check_auteur",
          "Check_PointdeVue", "Check_domaine", "Check_Rang", "Check_libre"})
        f.tick(box);
    f.clickLabel("Label1_2");
    QApplication::processEvents();

    f.focusOn("Check_cles");
    std::vector<QWidget *> chain;
    for (int press = 0; press < 300; ++press) {
        QWidget *w = QApplication::focusWidget();
        ASSERT_TRUE(w);
        if (f.screen->isAncestorOf(w)) {
            if (!chain.empty() && w == chain.front())
                break;
            chain.push_back(w);
        }
        QTest::keyClick(w, Qt::Key_Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), chain.front());

    // Top to bottom, left to right within a row; back up only to begin a column further right.
    auto place = [&](QWidget *w) { return QRect(w->mapTo(f.screen, QPoint(0, 0)), w->size()); };
    QRect seen = place(chain.front());
    for (size_t i = 1; i < chain.size(); ++i) {
        const QRect a = place(chain[i - 1]), b = place(chain[i]);
        const bool sameRow = b.top() <= a.bottom() && a.top() <= b.bottom();
        const bool inOrder =
            sameRow ? b.left() > a.right() : b.top() > a.bottom() || b.left() > seen.right();
        EXPECT_TRUE(inOrder) << chain[i - 1]->objectName().toStdString() << " then "
                             << chain[i]->objectName().toStdString();
        seen |= b;
    }

    // Every control is a stop; an option group is entered at its selected option.
    auto reached = [&](QWidget *w) { return std::count(chain.begin(), chain.end(), w) == 1; };
    for (const char *caption :
         {"Lab_cle1", "Lab_cle_et", "Lab_cle_ou", "Lab_cle_sauf", "Lab_niveau", "Lab_auteur",
          "Lab_PointdeVue", "Lab_domaine", "Label1_2"})
        EXPECT_TRUE(reached(f.get<QWidget>(caption))) << caption;
    for (QWidget *w : f.screen->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(f.screen) ||
            !(qobject_cast<QAbstractButton *>(w) || w->inherits("QLineEdit") ||
              w->inherits("QAbstractItemView")))
            continue;
        auto *option = qobject_cast<QRadioButton *>(w);
        EXPECT_EQ(reached(w), !option || option->isChecked()) << w->objectName().toStdString();
    }
}

TEST(SearchScreen, TypingInAListFindsAnEntryWhateverItsLeadingBlanks)
{
    SearchFixture f;
    f.screen->lookupListLoaded(LookupList::PointsOfView,
                               {QStringLiteral(" historique "), QStringLiteral("  pédagogique"),
                                QStringLiteral("  philosophique"), QStringLiteral("théorique")});
    f.screen->lookupListLoaded(LookupList::Domains,
                               {QStringLiteral(" Optique "), QStringLiteral("  Électricité"),
                                QStringLiteral(" Ondes et acoustique")});
    const struct {
        const char *box, *list, *typed;
        QString found;
    } cases[] = {
        {"Check_niveau", "L_niveau", "ly", QStringLiteral(" lycée ")},
        // The same key again goes on to the next entry beginning with it.
        {"Check_PointdeVue", "L_PointdeVue", "pp", QStringLiteral("  philosophique")},
        {"Check_domaine", "L_domaine", "on", QStringLiteral(" Ondes et acoustique")},
    };
    for (const auto &c : cases) {
        f.tick(c.box);
        auto *list = f.get<QListWidget>(c.list);
        QTest::keyClicks(list, QString::fromUtf8(c.typed));
        ASSERT_TRUE(list->currentItem()) << c.list;
        EXPECT_EQ(list->currentItem()->text(), c.found) << c.list;
    }
}

TEST(SearchScreen, TheSourceIsChosenFromTheKeyboard)
{
    SearchFixture f;
    auto *source = f.get<QLabel>("Label1_2");
    auto *sources = f.get<QListWidget>("L_Source");
    EXPECT_EQ(test::accessibleName(source), QStringLiteral("BASE"));
    // Basket 2 chosen as the destination with the arrows, then BASE reached backwards.
    f.focusOn("NuméroPanier_0");
    f.press(Qt::Key_Down);
    EXPECT_EQ(f.focused(), QStringLiteral("NuméroPanier_1"));
    EXPECT_EQ(f.colour("NuméroPanier_1"), Blue);
    f.press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(f.focused(), QStringLiteral("Label1_2"));

    // Space opens the list on the source shown; the arrows and Enter choose.
    f.press(Qt::Key_Space);
    ASSERT_TRUE(f.shown("L_Source"));
    EXPECT_EQ(f.focused(), QStringLiteral("L_Source"));
    EXPECT_EQ(sources->currentRow(), 0);
    f.press(Qt::Key_Down);
    f.press(Qt::Key_Down);
    f.press(Qt::Key_Return);
    EXPECT_EQ(source->text(), QStringLiteral("PANIER 2"));
    EXPECT_EQ(test::accessibleName(source), QStringLiteral("PANIER 2"));
    EXPECT_FALSE(f.shown("L_Source"));
    EXPECT_EQ(f.focused(), QStringLiteral("Label1_2"));

    // Enter opens it again on "PANIER 2"; Escape closes it and changes nothing.
    f.press(Qt::Key_Enter);
    EXPECT_EQ(f.focused(), QStringLiteral("L_Source"));
    EXPECT_EQ(sources->currentRow(), 2);
    f.press(Qt::Key_Escape);
    EXPECT_FALSE(f.shown("L_Source"));
    EXPECT_EQ(f.focused(), QStringLiteral("Label1_2"));
    EXPECT_EQ(source->text(), QStringLiteral("PANIER 2"));

    // Basket 2 can no longer be the destination: Tab goes to the one selected instead.
    f.press(Qt::Key_Tab);
    EXPECT_EQ(f.focused(), QStringLiteral("NuméroPanier_0"));
}

TEST(SearchScreen, CaptionsThatOpenSomethingAnswerSpaceAndEnter)
{
    SearchFixture f;
    // A list's caption closes and opens it; the open list has the focus, and a choice or Escape
    // gives the focus back to the caption.
    f.tick("Check_niveau");
    f.focusOn("Lab_niveau");
    f.press(Qt::Key_Space);
    EXPECT_FALSE(f.shown("L_niveau"));
    f.press(Qt::Key_Return);
    ASSERT_TRUE(f.shown("L_niveau"));
    EXPECT_EQ(f.focused(), QStringLiteral("L_niveau"));
    f.press(Qt::Key_Escape);
    EXPECT_FALSE(f.shown("L_niveau"));
    EXPECT_EQ(f.focused(), QStringLiteral("Lab_niveau"));
    f.press(Qt::Key_Space);
    f.press(Qt::Key_End);
    f.press(Qt::Key_Space);
    EXPECT_EQ(f.get<QLabel>("Lab_niveau")->text(), QStringLiteral(" postbac "));
    EXPECT_EQ(f.focused(), QStringLiteral("Lab_niveau"));

    // The keyword captions open the keyword picker, the author's caption the author picker.
    f.tick("Check_cles");
    bool keywordPickerShown = false;
    QTimer::singleShot(0, [&] {
        auto *picker = f.window.findChild<KeywordPicker *>();
        keywordPickerShown = picker && picker->isVisible();
        if (picker)
            picker->reject();
    });
    f.focusOn("Lab_cle_ou");
    f.press(Qt::Key_Enter);
    EXPECT_TRUE(keywordPickerShown);
    QTimer::singleShot(0, [&] { f.window.findChild<AuthorPicker *>()->hide(); });
    f.tick("Check_auteur");
    f.focusOn("Lab_auteur");
    f.press(Qt::Key_Space);
    EXPECT_TRUE(f.window.findChild<AuthorPicker *>()->isVisible());
}
