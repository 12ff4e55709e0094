#include "core/db/recordset.h"
#include "core/record/goto.h"
#include "fakes/fakeplatform.h"
#include "gui/record/cardpanels.h"
#include "support/samplebasecopy.h"
#include "support/tempbase.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace ferlin;

namespace {

const QString ErrorTitle = QStringLiteral(" Erreur");
const QString NavigationTitle = QStringLiteral(" Navigation");

// The card on the whole base, standing on its first row, and the go-to panel's services.
struct Card {
    FakePlatform fakes;
    RecordSet set;
    CardState state;
    int basePosition = 1;

    explicit Card(Database &db) : set(db, QStringLiteral("SELECT * FROM TArticles"))
    {
        state.count = set.recordCount();
        if (state.count > 0)
            set.moveFirst();
    }

    GoToResult go(int option, const QString &year = {}, const QString &bulletin = {},
                  const QString &page = {}, const QString &reference = {})
    {
        GoToRequest request;
        request.option = option;
        request.year = year;
        request.bulletin = bulletin;
        request.page = page;
        request.reference = reference;
        return GoTo(request, set, state, basePosition, fakes.messageBox, fakes.busyPointer);
    }

    // Stands on a position as the move buttons would leave it.
    void standOn(int position)
    {
        set.setAbsolutePosition(position - 1);
        state.position = position;
        basePosition = position;
    }

    int rank() const { return set.value(QStringLiteral("Rang")).toInt(); }
    int year() const { return set.value(QStringLiteral("An")).toInt(); }

    void expectMessage(MessageIcon icon, const QString &text, const QString &title) const
    {
        ASSERT_EQ(fakes.messageBox.messages().size(), 1);
        const RecordedMessage &m = fakes.messageBox.lastMessage();
        EXPECT_EQ(m.icon, icon);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.shownTitle(), title);
    }

    // Nothing moved: the row, the card's position and the base position are those of `position`.
    void expectStillOn(int position) const
    {
        EXPECT_EQ(set.absolutePosition(), position - 1);
        EXPECT_EQ(state.position, position);
        EXPECT_EQ(basePosition, position);
    }
};

// A generated base of `references` rows (Rang n at position references - n + 1).
struct SampleCard {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<Card> card;

    explicit SampleCard(int references)
        : db(Database::open(test::copyOfGeneratedBase(dir, references))),
          card(std::make_unique<Card>(*db))
    {
    }
};

// A small base of exact rows, in table order:
//   position 1: Rang 5, 1950, bulletin "120",  page 5
//   position 2: Rang 4, 1950, bulletin "112",  page 33
//   position 3: Rang 3, 1949, bulletin "12",   page 3
//   position 4: Rang 2, 1949, bulletin "1'2",  page 8
//   position 5: Rang 1, 1907, bulletin "7",    page 12
struct ExactCard {
    test::TempBase base;
    std::unique_ptr<Card> card;

    ExactCard()
    {
        base.addReference(5, 1950, QStringLiteral("120"), 5);
        base.addReference(4, 1950, QStringLiteral("112"), 33);
        base.addReference(3, 1949, QStringLiteral("12"), 3);
        base.addReference(2, 1949, QStringLiteral("1'2"), 8);
        base.addReference(1, 1907, QStringLiteral("7"), 12);
        card = std::make_unique<Card>(*base.db);
    }
};

} // namespace

TEST(GoToYear, TheBoundsAreInclusiveAndTheOldestYearIsTheLastRow)
{
    SampleCard sample(6773);
    Card &c = *sample.card;

    GoToResult r = c.go(GoToRequest::Year, QStringLiteral(" 1907 "));
    EXPECT_TRUE(r.moved);
    EXPECT_TRUE(r.closePanel);
    EXPECT_EQ(c.state.position, 6773);
    EXPECT_EQ(c.basePosition, 6773);
    EXPECT_EQ(c.rank(), 1);
    EXPECT_EQ(r.year, QStringLiteral(" 1907 "));
    EXPECT_TRUE(c.fakes.messageBox.messages().isEmpty());
    EXPECT_EQ(c.fakes.busyPointer.history(), (QList<bool>{true, false}));

    // Any other year goes to the last row of that year (the oldest article of the year).
    r = c.go(GoToRequest::Year, QStringLiteral("2001"));
    EXPECT_TRUE(r.moved);
    EXPECT_TRUE(r.closePanel);
    EXPECT_EQ(c.year(), 2001);
    EXPECT_EQ(c.state.position, c.set.absolutePosition() + 1);
    EXPECT_EQ(c.basePosition, c.state.position);
    c.set.moveNext();
    EXPECT_EQ(c.year(), 2000);
    EXPECT_FALSE(c.fakes.busyPointer.isBusy());
    EXPECT_TRUE(c.fakes.messageBox.messages().isEmpty());
}

TEST(GoToYear, AYearOutsideTheBoundsIsRefusedAndItsBoxEmptied)
{
    for (const char *typed : {"1906", "2002", " 2001,6 "}) {
        ExactCard exact;
        Card &c = *exact.card;
        c.standOn(2);
        const GoToResult r = c.go(GoToRequest::Year, QString::fromLatin1(typed),
                                  QStringLiteral("12"), QStringLiteral("3"), QStringLiteral("4"));
        SCOPED_TRACE(typed);
        c.expectMessage(MessageIcon::Critical, QStringLiteral(" L'année choisie n'est pas valide "),
                        ErrorTitle);
        EXPECT_FALSE(r.closePanel);
        EXPECT_FALSE(r.moved);
        EXPECT_EQ(r.year, QString());
        EXPECT_EQ(r.bulletin, QStringLiteral("12"));
        EXPECT_EQ(r.page, QStringLiteral("3"));
        EXPECT_EQ(r.reference, QStringLiteral("4"));
        c.expectStillOn(2);
        EXPECT_FALSE(c.fakes.busyPointer.isBusy());
    }
}

TEST(GoToYear, AFractionGoesToTheNearestYearAHalfToTheEvenOne)
{
    ExactCard exact;
    Card &c = *exact.card;
    c.go(GoToRequest::Year, QStringLiteral("1949.5")); // 1950: last row of 1950 is position 2
    EXPECT_EQ(c.state.position, 2);
    c.go(GoToRequest::Year, QStringLiteral("1950,5")); // 1950 again
    EXPECT_EQ(c.state.position, 2);
    c.go(GoToRequest::Year, QStringLiteral("+1948,6")); // 1949
    EXPECT_EQ(c.state.position, 4);
    c.go(GoToRequest::Year, QStringLiteral("1906.5")); // 1906: refused
    EXPECT_EQ(c.fakes.messageBox.lastMessage().text,
              QStringLiteral(" L'année choisie n'est pas valide "));
    EXPECT_EQ(c.fakes.messageBox.messages().size(), 1);
}

TEST(GoToYear, EmptyTextOrNoMatchingRowGivesItsMessage)
{
    ExactCard exact;
    Card &c = *exact.card;
    c.standOn(3);

    GoToResult r = c.go(GoToRequest::Year, QStringLiteral("   "));
    c.expectMessage(MessageIcon::Critical, QStringLiteral(" Vous n'avez pas tapé d'année "),
                    ErrorTitle);
    EXPECT_FALSE(r.closePanel);
    EXPECT_EQ(r.year, QStringLiteral("   "));
    c.expectStillOn(3);

    c.fakes.messageBox.clear();
    r = c.go(GoToRequest::Year, QStringLiteral("1960"));
    c.expectMessage(MessageIcon::Exclamation,
                    QStringLiteral("Il n'y a pas de référence correspondant à ce critère."),
                    NavigationTitle);
    EXPECT_TRUE(r.closePanel);
    EXPECT_FALSE(r.moved);
    EXPECT_EQ(r.year, QStringLiteral("1960"));
    c.expectStillOn(3);
    EXPECT_FALSE(c.fakes.busyPointer.isBusy());
}

TEST(GoToYear, ATextThatIsNotANumberEmptiesTheThreeBoxesButThePage)
{
    for (const char *typed : {"abc", "19 07", "1907a", "."}) {
        ExactCard exact;
        Card &c = *exact.card;
        c.standOn(2);
        const GoToResult r = c.go(GoToRequest::Year, QString::fromLatin1(typed),
                                  QStringLiteral("12"), QStringLiteral("3"), QStringLiteral("4"));
        SCOPED_TRACE(typed);
        c.expectMessage(MessageIcon::Critical,
                        QStringLiteral(" L'année tapée n'est pas un nombre valide "), ErrorTitle);
        EXPECT_FALSE(r.closePanel);
        EXPECT_EQ(r.year, QString());
        EXPECT_EQ(r.bulletin, QString());
        EXPECT_EQ(r.reference, QString());
        EXPECT_EQ(r.page, QStringLiteral("3"));
        c.expectStillOn(2);
        EXPECT_FALSE(c.fakes.busyPointer.isBusy());
    }
}

TEST(GoToYear, OtherErrorsShowTheirNumberAndDescriptionAndKeepThePanelOpen)
{
    // Past 16 bits: the conversion overflows.
    {
        ExactCard exact;
        Card &c = *exact.card;
        const GoToResult r = c.go(GoToRequest::Year, QStringLiteral("40000"), QStringLiteral("12"));
        c.expectMessage(MessageIcon::None, QStringLiteral("Erreur 6\r\nDépassement de capacité"),
                        QStringLiteral("Erreur"));
        EXPECT_FALSE(r.closePanel);
        EXPECT_EQ(r.year, QStringLiteral("40000"));
        EXPECT_EQ(r.bulletin, QStringLiteral("12"));
    }
    // A database failure: an empty set has no last row.
    {
        test::TempBase empty;
        Card c(*empty.db);
        const GoToResult r = c.go(GoToRequest::Year, QStringLiteral("1907"));
        ASSERT_EQ(c.fakes.messageBox.messages().size(), 1);
        const RecordedMessage &m = c.fakes.messageBox.lastMessage();
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("Erreur 3021\r\n"))) << m.text.toStdString();
        EXPECT_GT(m.text.size(), QStringLiteral("Erreur 3021\r\n").size());
        EXPECT_EQ(m.shownTitle(), QStringLiteral("Erreur"));
        EXPECT_FALSE(r.closePanel);
        EXPECT_FALSE(r.moved);
        EXPECT_FALSE(c.fakes.busyPointer.isBusy());
        EXPECT_EQ(c.fakes.busyPointer.history(), (QList<bool>{true, false}));
    }
}

TEST(GoToBulletin, WithoutPageTheLastMatchingRowWithPageTheFirst)
{
    ExactCard exact;
    Card &c = *exact.card;

    // "12" is in "120", "112" and "12": the last of them in the base's order.
    GoToResult r = c.go(GoToRequest::Bulletin, {}, QStringLiteral(" 12 "));
    EXPECT_TRUE(r.moved);
    EXPECT_TRUE(r.closePanel);
    EXPECT_EQ(c.rank(), 3);
    EXPECT_EQ(c.state.position, 3);
    EXPECT_EQ(c.basePosition, 3);

    // With page 3: the first row whose number holds 12 and whose page holds 3 ("112", page 33).
    r = c.go(GoToRequest::Bulletin, {}, QStringLiteral("12"), QStringLiteral(" 3 "));
    EXPECT_TRUE(r.moved);
    EXPECT_EQ(c.rank(), 4);
    EXPECT_EQ(c.state.position, 2);
    EXPECT_EQ(c.basePosition, 2);
    EXPECT_TRUE(c.fakes.messageBox.messages().isEmpty());
    EXPECT_FALSE(c.fakes.busyPointer.isBusy());
}

TEST(GoToBulletin, AQuoteInTheNumberIsSearchedAsText)
{
    ExactCard exact;
    Card &c = *exact.card;
    GoToResult r = c.go(GoToRequest::Bulletin, {}, QStringLiteral("1'2"));
    EXPECT_TRUE(r.moved);
    EXPECT_EQ(c.rank(), 2);
    EXPECT_EQ(c.state.position, 4);

    r = c.go(GoToRequest::Bulletin, {}, QStringLiteral("1'2' OR '1'='1"), QStringLiteral("8"));
    c.expectMessage(MessageIcon::Information, QStringLiteral(" Cette référence n'existe pas "),
                    NavigationTitle);
    EXPECT_FALSE(r.moved);
    c.expectStillOn(4);
}

TEST(GoToBulletin, InputErrorsStopAndNotFoundLeavesTheRow)
{
    ExactCard exact;
    Card &c = *exact.card;
    c.standOn(2);

    GoToResult r = c.go(GoToRequest::Bulletin, {}, QStringLiteral("  "), QStringLiteral("3"));
    c.expectMessage(MessageIcon::Critical, QStringLiteral(" Vous n'avez pas tapé de numéro "),
                    ErrorTitle);
    EXPECT_FALSE(r.closePanel);

    // The page is tested untrimmed: a lone blank is a page, and not a number.
    for (const char *page : {"x", " ", "3x"}) {
        c.fakes.messageBox.clear();
        r = c.go(GoToRequest::Bulletin, {}, QStringLiteral("12"), QString::fromLatin1(page));
        SCOPED_TRACE(page);
        c.expectMessage(MessageIcon::Critical,
                        QStringLiteral(" La page tapée n'est pas un nombre "), ErrorTitle);
        EXPECT_FALSE(r.closePanel);
        EXPECT_EQ(r.bulletin, QStringLiteral("12"));
        EXPECT_EQ(r.page, QString::fromLatin1(page));
        c.expectStillOn(2);
    }

    c.fakes.messageBox.clear();
    r = c.go(GoToRequest::Bulletin, {}, QStringLiteral("99"));
    c.expectMessage(MessageIcon::Information,
                    QStringLiteral(" Ce numéro de bulletin n'existe pas "), NavigationTitle);
    EXPECT_TRUE(r.closePanel);
    EXPECT_FALSE(r.moved);
    c.expectStillOn(2);

    c.fakes.messageBox.clear();
    r = c.go(GoToRequest::Bulletin, {}, QStringLiteral("12"), QStringLiteral("9"));
    c.expectMessage(MessageIcon::Information, QStringLiteral(" Cette référence n'existe pas "),
                    NavigationTitle);
    EXPECT_TRUE(r.closePanel);
    c.expectStillOn(2);
}

TEST(GoToReference, APlusSignIsDroppedFromTheBoxAndTheCardShowsThatReference)
{
    SampleCard sample(6773);
    Card &c = *sample.card;
    const GoToResult r = c.go(GoToRequest::Reference, {}, {}, {}, QStringLiteral(" +15 "));
    EXPECT_TRUE(r.moved);
    EXPECT_TRUE(r.closePanel);
    EXPECT_EQ(r.reference, QStringLiteral("15"));
    EXPECT_EQ(c.rank(), 15);
    EXPECT_EQ(c.state.position, 6773 - 14);
    EXPECT_EQ(c.basePosition, 6773 - 14);
    EXPECT_EQ(c.set.absolutePosition() + 1, c.state.position);
    EXPECT_TRUE(c.fakes.messageBox.messages().isEmpty());
    EXPECT_FALSE(c.fakes.busyPointer.isBusy());
}

TEST(GoToReference, OutsideTheBoundsTheErrorIconInsideWithoutARowTheInformationIcon)
{
    SampleCard sample(300);
    Card &c = *sample.card;
    c.standOn(10);
    const QString missing = QStringLiteral(" Ce numéro de référence n'existe pas ");

    for (const char *typed : {"0", "6774", "0,5", "-3"}) {
        c.fakes.messageBox.clear();
        const GoToResult r = c.go(GoToRequest::Reference, QStringLiteral("1950"),
                                  QStringLiteral("12"), {}, QString::fromLatin1(typed));
        SCOPED_TRACE(typed);
        c.expectMessage(MessageIcon::Critical, missing, ErrorTitle);
        EXPECT_FALSE(r.closePanel);
        EXPECT_EQ(r.reference, QString());
        EXPECT_EQ(r.year, QStringLiteral("1950"));
        EXPECT_EQ(r.bulletin, QStringLiteral("12"));
        c.expectStillOn(10);
    }

    // 6773 and 600 lie within the fixed bounds but this base stops at 300.
    for (const char *typed : {"6773", "600"}) {
        c.fakes.messageBox.clear();
        const GoToResult r = c.go(GoToRequest::Reference, {}, {}, {}, QString::fromLatin1(typed));
        SCOPED_TRACE(typed);
        c.expectMessage(MessageIcon::Information, missing, NavigationTitle);
        EXPECT_TRUE(r.closePanel);
        EXPECT_FALSE(r.moved);
        EXPECT_EQ(r.reference, QString::fromLatin1(typed));
        c.expectStillOn(10);
    }

    c.fakes.messageBox.clear();
    const GoToResult r = c.go(GoToRequest::Reference, {}, {}, {}, QStringLiteral(" "));
    c.expectMessage(MessageIcon::Critical,
                    QStringLiteral(" Vous n'avez pas tapé de numéro de référence "), ErrorTitle);
    EXPECT_FALSE(r.closePanel);
}

TEST(GoToReference, ATextThatIsNotANumberEmptiesTheBoxesWithoutMessage)
{
    ExactCard exact;
    Card &c = *exact.card;
    c.standOn(2);
    const GoToResult r = c.go(GoToRequest::Reference, QStringLiteral("1950"), QStringLiteral("12"),
                              QStringLiteral("3"), QStringLiteral("abc"));
    EXPECT_TRUE(c.fakes.messageBox.messages().isEmpty());
    EXPECT_FALSE(r.closePanel);
    EXPECT_EQ(r.year, QString());
    EXPECT_EQ(r.bulletin, QString());
    EXPECT_EQ(r.reference, QString());
    EXPECT_EQ(r.page, QStringLiteral("3"));
    c.expectStillOn(2);
    EXPECT_FALSE(c.fakes.busyPointer.isBusy());
}

TEST(GoTo, WithoutAnOptionThePanelClosesAndNothingMoves)
{
    ExactCard exact;
    Card &c = *exact.card;
    c.standOn(3);
    c.fakes.busyPointer.showBusy();
    const GoToResult r = c.go(GoToRequest::None, QStringLiteral("abc"));
    EXPECT_TRUE(r.closePanel);
    EXPECT_FALSE(r.moved);
    EXPECT_EQ(r.year, QStringLiteral("abc"));
    EXPECT_TRUE(c.fakes.messageBox.messages().isEmpty());
    EXPECT_FALSE(c.fakes.busyPointer.isBusy());
    c.expectStillOn(3);
}

TEST(GoToPanel, EnterActsAsAllerOnlyWhenPressedAndReleasedInTheSameBox)
{
    NavigationPanel panel;
    panel.show();
    QSignalSpy go(&panel, &NavigationPanel::goRequested);
    auto *year = panel.findChild<QLineEdit *>(QStringLiteral("Text_An"));
    auto *reference = panel.findChild<QLineEdit *>(QStringLiteral("Text_NumRef"));
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_EQ(go.size(), 1);
    // The Enter that closed a message is released in the box: nothing happens.
    QTest::keyRelease(year, Qt::Key_Return);
    QTest::keyRelease(year, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(go.size(), 1);
    QTest::keyPress(year, Qt::Key_Return);
    QTest::keyRelease(reference, Qt::Key_Return);
    EXPECT_EQ(go.size(), 1);
    QTest::keyClick(reference, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(go.size(), 2);
}
