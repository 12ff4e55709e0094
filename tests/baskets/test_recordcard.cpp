#include "app/introscreen.h"
#include "core/db/schema.h"
#include "gui/record/recordcard.h"
#include "support/programfixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

struct CardFixture : test::ProgramFixture {
    RecordCard *card = nullptr;

    explicit CardFixture(int references = 300) : ProgramFixture(references)
    {
        window.load();
        card = window.screenAs<RecordCard>(QStringLiteral("F_formul"));
    }
    QString label(const char *name) const { return find<QLabel>(name)->text(); }
    bool shown(const char *name) const
    {
        QWidget *w = window.findChild<QWidget *>(QString::fromUtf8(name));
        return w && w->isVisibleTo(card);
    }
    bool enabled(const char *name) const
    {
        return window.findChild<QWidget *>(QString::fromUtf8(name))->isEnabled();
    }
    void click(const char *name) const
    {
        window.findChild<QAbstractButton *>(QString::fromUtf8(name))->click();
    }
    void browseBase() { window.commandButton(QStringLiteral("Cmd_feuillette"))->click(); }
    // What the basket list does to show basket n on the card.
    void browseBasket(int n) { showBasketOnCard(n); }
    void fillBasket(int n, const QString &where)
    {
        context.catalogue.db->execute(QStringLiteral("INSERT INTO ") + Schema::basketTable(n) +
                                      QStringLiteral(" SELECT * FROM TArticles WHERE ") + where);
        context.state.basketCounts[n] = CountBasket(*context.catalogue.db, n);
    }
    int rang() const { return context.catalogue.card->value(QStringLiteral("Rang")).toInt(); }
};

} // namespace

TEST(RecordCard, BrowsesTheWholeBaseWithItsRankLineAndMoves)
{
    CardFixture f;
    f.browseBase();
    EXPECT_EQ(f.window.screen(QStringLiteral("F_formul")), f.card);
    EXPECT_TRUE(f.card->isVisible());
    EXPECT_EQ(f.label("Lab_rang"), QStringLiteral(" Référence (Base) : 300 / 300"));
    EXPECT_EQ(f.label("Lab_NumPanier"), QStringLiteral("BASE ENTIÈRE"));
    EXPECT_EQ(f.card->palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xC0));
    EXPECT_EQ(f.find<QLabel>("Lab_rang")->palette().color(QPalette::WindowText),
              QColor(0x00, 0x00, 0x80));
    EXPECT_FALSE(f.enabled("Cmd_Debut"));
    EXPECT_FALSE(f.enabled("Cmd_Gauche"));
    EXPECT_TRUE(f.enabled("Cmd_Droite"));
    EXPECT_TRUE(f.enabled("Cmd_Fin"));
    EXPECT_TRUE(f.shown("Cmd_AjoutSel"));
    EXPECT_FALSE(f.shown("Cmd_AjoutP"));
    EXPECT_FALSE(f.shown("Cmd_SupprimeSel"));
    EXPECT_FALSE(f.shown("Cmd_Grille"));
    EXPECT_FALSE(f.shown("Lab_rangabs"));
    EXPECT_TRUE(f.shown("Cmd_Naviguer"));
    // The first row is the newest reference; the card shows its fields.
    EXPECT_EQ(f.rang(), 300);
    RecordSet &set = *f.context.catalogue.card;
    EXPECT_EQ(f.find<QPlainTextEdit>("Text1")->toPlainText(), set.text(QStringLiteral("Titre")));
    EXPECT_EQ(f.label("Lab_an"), set.text(QStringLiteral("An")));
    EXPECT_EQ(f.label("Label8"), set.text(QStringLiteral("Numéro")));
    EXPECT_FALSE(f.label("Label1").contains(u'\r'));

    f.click("Cmd_Droite");
    EXPECT_EQ(f.label("Lab_rang"), QStringLiteral(" Référence (Base) : 299 / 300"));
    EXPECT_EQ(f.rang(), 299);
    EXPECT_TRUE(f.enabled("Cmd_Debut"));
    f.click("Cmd_Fin");
    EXPECT_EQ(f.label("Lab_rang"), QStringLiteral(" Référence (Base) : 1 / 300"));
    EXPECT_EQ(f.rang(), 1);
    EXPECT_FALSE(f.enabled("Cmd_Droite"));
    EXPECT_FALSE(f.enabled("Cmd_Fin"));
    f.click("Cmd_Gauche");
    EXPECT_EQ(f.rang(), 2);
    f.click("Cmd_Debut");
    EXPECT_EQ(f.rang(), 300);
    EXPECT_EQ(f.context.state.basePosition, 1);
}

TEST(RecordCard, BasePositionSurvivesAVisitToABasket)
{
    CardFixture f;
    f.fillBasket(2, QStringLiteral("Rang IN (10, 20, 30)"));
    f.browseBase();
    f.click("Cmd_Droite");
    f.click("Cmd_Droite");
    EXPECT_EQ(f.context.state.basePosition, 3);
    f.browseBasket(2);
    EXPECT_EQ(f.label("Lab_rang"), QStringLiteral(" Référence (Sélection) : 3 / 3"));
    EXPECT_EQ(f.label("Lab_NumPanier"), QStringLiteral("PANIER N° 2"));
    EXPECT_EQ(f.card->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0x80));
    EXPECT_FALSE(f.enabled("Cmd_Debut"));
    EXPECT_FALSE(f.enabled("Cmd_Gauche"));
    EXPECT_FALSE(f.shown("Cmd_Naviguer"));
    EXPECT_TRUE(f.shown("Lab_rangabs"));
    EXPECT_EQ(f.label("Lab_rangabs"), QStringLiteral("30"));
    EXPECT_EQ(f.label("Lab_rangabs2"), QStringLiteral("Rang dans la base :"));
    EXPECT_TRUE(f.shown("Cmd_SupprimeSel"));
    EXPECT_TRUE(f.shown("Cmd_Grille"));
    f.click("Cmd_Droite");
    EXPECT_EQ(f.context.state.basePosition, 3);
    f.browseBase();
    EXPECT_EQ(f.label("Lab_rang"), QStringLiteral(" Référence (Base) : 298 / 300"));
    EXPECT_EQ(f.rang(), 298);
}

TEST(RecordCard, OneReferenceOrNoneDisablesTheMoves)
{
    CardFixture f;
    f.fillBasket(1, QStringLiteral("Rang = 5"));
    f.browseBasket(1);
    for (const char *move : {"Cmd_Debut", "Cmd_Gauche", "Cmd_Droite", "Cmd_Fin"})
        EXPECT_FALSE(f.enabled(move)) << move;
    EXPECT_EQ(f.label("Lab_rang"), QStringLiteral(" Référence (Sélection) : 1 / 1"));

    f.browseBasket(3);
    EXPECT_EQ(f.label("Lab_rang"), QStringLiteral(" Référence (Sélection) : 1 / 0"));
    EXPECT_EQ(f.label("Lab_NumPanier"), QStringLiteral("PANIER N° 3"));
    for (const char *move : {"Cmd_Debut", "Cmd_Gauche", "Cmd_Droite", "Cmd_Fin"})
        EXPECT_FALSE(f.enabled(move)) << move;
    EXPECT_FALSE(f.shown("Cmd_SupprimeSel"));
    EXPECT_FALSE(f.shown("Cmd_Grille"));
    EXPECT_TRUE(f.find<QPlainTextEdit>("Text1")->toPlainText().isEmpty());
}

TEST(RecordCard, TextSubtitleAndSummaryFollowTheReference)
{
    CardFixture f;
    f.browseBase();
    RecordSet &set = *f.context.catalogue.card;
    // Walk until a reference with a subtitle and a full text, checking both buttons on the way.
    bool sawSubtitle = false;
    for (int i = 0; i < 60 && !sawSubtitle; ++i) {
        EXPECT_EQ(f.shown("Cmd_DOC"),
                  !set.text(QStringLiteral("TexteIntegral")).trimmed().isEmpty());
        EXPECT_EQ(f.shown("Lab_ST1"), !set.text(QStringLiteral("Soustitre")).trimmed().isEmpty());
        sawSubtitle = f.shown("Lab_ST1");
        if (!sawSubtitle)
            f.click("Cmd_Droite");
    }
    ASSERT_TRUE(sawSubtitle);
    EXPECT_EQ(f.find<QPushButton>("Cmd_DOC")->text(), QStringLiteral("Texte"));
    auto *subtitle = f.find<QGroupBox>("Frame12");
    auto *summary = f.find<QGroupBox>("Frame_resume");
    EXPECT_FALSE(subtitle->isVisible());
    QTest::mouseClick(f.find<QLabel>("Lab_ST1"), Qt::LeftButton);
    EXPECT_TRUE(subtitle->isVisible());
    EXPECT_EQ(f.find<QPlainTextEdit>("T_SousTitre")->toPlainText(),
              set.text(QStringLiteral("Soustitre")));
    QTest::mouseClick(subtitle, Qt::LeftButton);
    EXPECT_FALSE(subtitle->isVisible());

    // The large summary hides the subtitle and stays large from one reference to the next.
    QTest::mouseClick(f.find<QLabel>("Lab_ST1"), Qt::LeftButton);
    const int smallHeight = summary->height();
    QTest::mouseClick(summary, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(f.card->summaryIsLarge());
    EXPECT_FALSE(subtitle->isVisible());
    EXPECT_GT(summary->height(), 3 * smallHeight);
    f.click("Cmd_Droite");
    EXPECT_TRUE(f.card->summaryIsLarge());
    // Showing the subtitle puts the summary back to its small layout; a move hides the subtitle.
    f.click("Cmd_Debut");
    f.click("Cmd_Gauche");
    QTest::mouseClick(summary, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(f.card->summaryIsLarge());
    EXPECT_EQ(summary->height(), smallHeight);
    // The title cannot be changed.
    auto *title = f.find<QPlainTextEdit>("Text1");
    const QString before = title->toPlainText();
    QTest::keyClicks(title, QStringLiteral("xyz"));
    EXPECT_EQ(title->toPlainText(), before);
    EXPECT_TRUE(title->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
}

TEST(RecordCard, BuiltAfterTheStartupItShowsWhatTheStartupWrote)
{
    test::ProgramFixture p;
    p.window.load();
    EXPECT_FALSE(p.window.isScreenBuilt(QStringLiteral("F_formul")));
    // The window menu lists the card among the screens the start-up opened.
    QMenu *menu = p.window.findChild<QMenu *>(QStringLiteral("Menu_Fenetres"));
    Q_EMIT menu->aboutToShow();
    QAction *cardItem = nullptr;
    for (QAction *a : menu->actions())
        if (a->text() == QStringLiteral("Fiche de la référence"))
            cardItem = a;
    ASSERT_TRUE(cardItem);
    cardItem->trigger();
    auto *card = p.window.findChild<RecordCard *>(QStringLiteral("F_formul"));
    ASSERT_TRUE(card);
    EXPECT_TRUE(card->isVisible());
    EXPECT_EQ(p.find<QPushButton>("Cmd_DOC")->text(), QStringLiteral("Texte"));
    EXPECT_FALSE(p.find<QLabel>("Lab_rang")->text().isEmpty());
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(
            p.find<QLabel>(QStringLiteral("Lab_NbRefP%1").arg(n).toUtf8().constData())->text(),
            QStringLiteral("0"));
        EXPECT_EQ(
            p.find<QLabel>(QStringLiteral("Lab_NbRefP%1b").arg(n).toUtf8().constData())->text(),
            QStringLiteral("0"));
    }
}

TEST(RecordCard, BuiltBeforeTheStartupItIsWrittenByIt)
{
    test::ProgramFixture p;
    auto *card = p.window.screenAs<RecordCard>(QStringLiteral("F_formul"));
    EXPECT_TRUE(p.find<QPushButton>("Cmd_DOC")->text().isEmpty());
    p.window.load();
    EXPECT_EQ(p.find<QPushButton>("Cmd_DOC")->text(), QStringLiteral("Texte"));
    EXPECT_EQ(p.find<QLabel>("Lab_NbRefP2b")->text(), QStringLiteral("0"));
    // Open behind the progress screen.
    EXPECT_TRUE(card->isVisible());
    EXPECT_EQ(p.window.findChild<QMdiArea *>()->activeSubWindow()->widget(),
              static_cast<QWidget *>(p.window.intro()));
}

TEST(RecordCard, TheGoToPanelMovesTheCardAndClosesOrStaysOpen)
{
    CardFixture f;
    f.browseBase();
    f.click("Cmd_Naviguer");
    auto *panel = f.find<QGroupBox>("Frame_Navigue");
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->title(), QStringLiteral(" Navigation "));
    auto *year = f.find<QLineEdit>("Text_An");
    QTest::keyClicks(year, QStringLiteral("1950"));
    EXPECT_TRUE(f.find<QRadioButton>("Option1_0")->isChecked());
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_FALSE(panel->isVisible());
    RecordSet &set = *f.context.catalogue.card;
    EXPECT_EQ(set.value(QStringLiteral("An")).toInt(), 1950);
    const int position = set.absolutePosition() + 1;
    EXPECT_EQ(f.context.state.card.position, position);
    EXPECT_EQ(f.context.state.basePosition, position);
    EXPECT_EQ(f.label("Lab_rang"),
              QStringLiteral(" Référence (Base) : %1 / 300").arg(300 - position + 1));
    EXPECT_EQ(f.label("Lab_an"), QStringLiteral("1950"));
    // The row after it is older.
    set.moveNext();
    EXPECT_LT(set.value(QStringLiteral("An")).toInt(), 1950);
    set.movePrevious();

    // Typing in the page box selects the bulletin option; a page that is not a number stops.
    f.click("Cmd_Naviguer");
    QTest::keyClicks(f.find<QLineEdit>("T_NavPage"), QStringLiteral("x"));
    EXPECT_TRUE(f.find<QRadioButton>("Option1_1")->isChecked());
    QTest::keyClicks(f.find<QLineEdit>("Text_Volume"), QStringLiteral("12"));
    f.click("Command1");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(f.fakes.messageBox.lastMessage().text,
              QStringLiteral(" La page tapée n'est pas un nombre "));
    EXPECT_EQ(f.context.state.card.position, position);

    // A year that is not a number empties the three boxes and keeps the panel open.
    f.find<QLineEdit>("Text_An")->setText(QStringLiteral("abc"));
    f.click("Command1");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(f.find<QLineEdit>("Text_An")->text().isEmpty());
    EXPECT_TRUE(f.find<QLineEdit>("Text_Volume")->text().isEmpty());
    EXPECT_EQ(f.find<QLineEdit>("T_NavPage")->text(), QStringLiteral("x"));
    f.click("Command5");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(f.context.state.card.position, position);
}
