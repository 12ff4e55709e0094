#include "app/introscreen.h"
#include "core/info/weblinks.h"
#include "gui/info/aboutbox.h"
#include "gui/info/associationscreen.h"
#include "gui/info/statescreen.h"
#include "support/programfixture.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QString Version = QStringLiteral("Version 4.0 15/04/2003");
const QString Browser = QStringLiteral("/opt/navigateur web/navigateur");

// Row i of a test TEtatbase: three colours stored red in the low byte, each channel told apart.
quint32 stored(int row, int band)
{
    return quint32(0x10 * band + row) | quint32(0x40 + row) << 8 | quint32(0x80 + band) << 16;
}
QColor expected(int row, int band)
{
    return QColor(0x10 * band + row, 0x40 + row, 0x80 + band);
}

// A label of one screen: several screens use the same label names.
QLabel *labelIn(const QWidget *screen, const char *name)
{
    auto *found = screen->findChild<QLabel *>(QString::fromUtf8(name));
    EXPECT_TRUE(found) << name;
    return found;
}

// The program on a base whose TEtatbase holds `rows` rows of test colours and whose update date
// is 30/09/2004, not yet started.
struct InfoProgram {
    test::ProgramFixture f;

    explicit InfoProgram(int rows = -1)
    {
        auto db = Database::open(f.context.databasePath);
        if (rows >= 0) {
            db->execute(QStringLiteral("DELETE FROM [TEtatbase]"));
            for (int i = 0; i < rows; ++i)
                db->executeBound(QStringLiteral("INSERT INTO [TEtatbase] ([E_Titre], [E_Auteur], "
                                                "[E_Clef]) VALUES (?, ?, ?)"),
                                 {stored(i, 0), stored(i, 1), stored(i, 2)});
        }
        db->execute(QStringLiteral("UPDATE [TArticles] SET [MajDate] = '2004-09-30'"));
    }

    StateScreen *stateScreen() { return f.window.screenAs<StateScreen>(QStringLiteral("F_état")); }
    QWidget *activeScreen() const
    {
        return f.window.findChild<QMdiArea *>()->activeSubWindow()->widget();
    }
    AssociationScreen *association()
    {
        f.window.showScreen(QStringLiteral("ORV"));
        return f.find<AssociationScreen>("ORV");
    }
    void click(const char *name)
    {
        QTest::mouseClick(labelIn(f.find<AssociationScreen>("ORV"), name), Qt::LeftButton);
    }
    const QList<FakeLauncher::Start> &starts() const { return f.fakes.launcher.starts(); }
};

// Every block of the chart has the colour of its TEtatbase row, and blocks without a row none.
void expectBands(const StateScreen &screen, int rows)
{
    for (int band = 0; band < StateScreen::RowCount; ++band) {
        for (int i = 0; i < StateBandBlocks; ++i) {
            const QString name = QStringLiteral("Shape%1_%2").arg(band + 1).arg(i);
            auto *block = screen.findChild<StateBlock *>(name);
            ASSERT_TRUE(block) << name.toStdString();
            EXPECT_EQ(block, screen.block(band, i));
            if (i < rows)
                EXPECT_EQ(block->fillColour(), expected(i, band)) << name.toStdString();
            else
                EXPECT_FALSE(block->fillColour().isValid()) << name.toStdString();
        }
    }
}

} // namespace

TEST(StateScreen, BuiltAfterTheStartUpShowsNineRowsAndTheUpdateDate)
{
    InfoProgram p(9);
    p.f.window.load();
    ASSERT_TRUE(p.f.window.startupSucceeded());
    EXPECT_FALSE(p.f.window.isScreenBuilt(QStringLiteral("F_état")));
    StateScreen *screen = p.stateScreen();
    expectBands(*screen, 9);
    EXPECT_EQ(labelIn(screen, "Lab_DateMAJ")->text(), QStringLiteral("30/09/2004"));
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Etat de la base"));
    EXPECT_EQ(labelIn(screen, "Label18")->text(),
              QStringLiteral("État de la base Tarnex en date du "));
}

TEST(StateScreen, BuiltBeforeTheStartUpIsToldOfFiveRows)
{
    InfoProgram p(5);
    StateScreen *screen = p.stateScreen();
    EXPECT_EQ(labelIn(screen, "Lab_DateMAJ")->text(), QStringLiteral("jj/mm/aaaa"));
    expectBands(*screen, 0);
    p.f.window.load();
    expectBands(*screen, 5);
    EXPECT_EQ(labelIn(screen, "Lab_DateMAJ")->text(), QStringLiteral("30/09/2004"));
}

TEST(StateScreen, StoredColoursHaveRedInTheLowByte)
{
    EXPECT_EQ(StateScreen::storedColour(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(StateScreen::storedColour(0x00FF00), QColor(0, 255, 0));
    EXPECT_EQ(StateScreen::storedColour(0x00FFFF), QColor(255, 255, 0));
    EXPECT_EQ(StateScreen::storedColour(0x123456), QColor(0x56, 0x34, 0x12));
}

TEST(StateScreen, TheChartsBlocksLieSideBySideAboveTheirYears)
{
    InfoProgram p;
    p.f.window.load();
    p.f.window.commandButton(QStringLiteral("Cmd_Sélecte"))->click();
    StateScreen *screen = p.stateScreen();
    ASSERT_EQ(p.activeScreen(), screen);
    const int chartLeft =
        qRound(StateScreen::ChartLeft * double(screen->width()) / StateScreen::DesignWidth);
    const char *rowTitles[] = {"Label10", "Label11", "Label17"};
    const QString titles[] = {QStringLiteral("Articles référencés"),
                              QStringLiteral("Articles indexés"),
                              QStringLiteral("Textes intégraux")};
    int previousRowTop = -1;
    for (int band = 0; band < StateScreen::RowCount; ++band) {
        StateBlock *first = screen->block(band, 0);
        EXPECT_EQ(first->x(), chartLeft);
        EXPECT_GT(first->y(), previousRowTop);
        previousRowTop = first->y();
        for (int i = 1; i < StateBandBlocks; ++i) {
            const QRect left = screen->block(band, i - 1)->geometry();
            const QRect right = screen->block(band, i)->geometry();
            EXPECT_EQ(right.left(), left.right() + 1) << band << ' ' << i;
            EXPECT_EQ(right.top(), left.top());
            EXPECT_EQ(right.height(), left.height());
        }
        // The period 1980-1999 holds the most articles.
        EXPECT_GT(screen->block(band, 7)->width(), 10 * screen->block(band, 0)->width());
        auto *title = labelIn(screen, rowTitles[band]);
        EXPECT_EQ(title->text(), titles[band]);
        EXPECT_LE(title->geometry().right(), chartLeft);
        EXPECT_EQ(title->geometry().center().y(), first->geometry().center().y());
    }

    const char *years[][2] = {{"Label1", "1907"}, {"Label3", "1930"}, {"Label4", "1950"},
                              {"Label5", "1960"}, {"Label6", "1975"}, {"Label7", "1980"},
                              {"Label9", "1999"}, {"Label2", "2001"}};
    EXPECT_EQ(labelIn(screen, "Label1")->x(), chartLeft);
    EXPECT_EQ(labelIn(screen, "Label3")->x(), screen->block(0, 3)->x());
    EXPECT_EQ(labelIn(screen, "Label9")->x(), screen->block(0, 8)->x());
    const int lastRowBottom = screen->block(2, 0)->geometry().bottom();
    int previousX = -1;
    for (const auto &year : years) {
        auto *label = labelIn(screen, year[0]);
        EXPECT_EQ(label->text(), QString::fromLatin1(year[1]));
        EXPECT_GT(label->x(), previousX) << year[1];
        EXPECT_GT(label->y(), lastRowBottom) << year[1];
        EXPECT_GE(label->width(), label->sizeHint().width()) << year[1];
        // All on one line, none touching the one before.
        EXPECT_EQ(label->y(), labelIn(screen, "Label1")->y()) << year[1];
        EXPECT_GT(label->x(), previousX + label->sizeHint().width()) << year[1];
        previousX = label->x();
    }
    EXPECT_EQ(labelIn(screen, "Label21")->text(), QStringLiteral("Années"));
    EXPECT_EQ(labelIn(screen, "Label22")->text(), QStringLiteral("F 03"));
    EXPECT_TRUE(labelIn(screen, "Label23")
                    ->text()
                    .startsWith(QStringLiteral(
                        "Tous les articles parus dans le KVT depuis son origine en 1907 (soit 6773 "
                        "articles) sont référencés")));
}

TEST(AssociationScreen, TheCommandOpensItMaximisedWithItsLinks)
{
    InfoProgram p;
    p.f.window.load();
    QToolButton *command = p.f.window.commandButton(QStringLiteral("Cmd_ORV"));
    ASSERT_TRUE(command->isEnabled());
    command->click();
    auto *screen = p.f.find<AssociationScreen>("ORV");
    ASSERT_TRUE(screen);
    EXPECT_EQ(p.activeScreen(), screen);
    EXPECT_TRUE(p.f.window.findChild<QMdiArea *>()->activeSubWindow()->isMaximized());
    EXPECT_EQ(labelIn(screen, "Label23")->text(), QStringLiteral("F 12"));
    EXPECT_EQ(labelIn(screen, "Picture1")->size(), QSize(130, 148));
    EXPECT_EQ(labelIn(screen, "Label19")->toolTip(),
              QStringLiteral(" Cliquer pour accéder au site Web de l'ORV "));

    // Each link shows its address, opens it with the configured browser as a web page or as a
    // mail address, and has the hand pointer.
    p.f.context.state.settings.webBrowser = Browser;
    const char *webLinks[] = {"Label29", "Label19"};
    const char *mailLinks[] = {"Label24", "Label20", "Label17", "Label27", "Label16"};
    for (const char *name : webLinks) {
        auto *link = labelIn(screen, name);
        EXPECT_TRUE(link->text().startsWith(QStringLiteral("http://"))) << name;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;
        p.click(name);
        ASSERT_FALSE(p.starts().isEmpty());
        EXPECT_EQ(p.starts().back(), (FakeLauncher::Start{Browser, {link->text()}})) << name;
    }
    for (const char *name : mailLinks) {
        auto *link = labelIn(screen, name);
        EXPECT_TRUE(link->text().contains(u'@')) << name;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;
        p.click(name);
        EXPECT_EQ(p.starts().back(),
                  (FakeLauncher::Start{Browser, {QStringLiteral("mailto:") + link->text()}}))
            << name;
    }
    EXPECT_EQ(p.starts().size(), 7);
    EXPECT_TRUE(p.f.fakes.messageBox.messages().isEmpty());
}

TEST(WebLinks, AddressesAreTrimmedAndPassedAsOneArgument)
{
    FakeLauncher launcher;
    EXPECT_FALSE(
        OpenMailAddress(QStringLiteral("  secretariat@orv.example.fr "), Browser, launcher));
    EXPECT_FALSE(OpenWebAddress(QStringLiteral(" http://www.orv.example.fr\t"), Browser, launcher));
    ASSERT_EQ(launcher.starts().size(), 2);
    EXPECT_EQ(
        launcher.starts()[0],
        (FakeLauncher::Start{Browser, {QStringLiteral("mailto:secretariat@orv.example.fr")}}));
    EXPECT_EQ(launcher.starts()[1],
              (FakeLauncher::Start{Browser, {QStringLiteral("http://www.orv.example.fr")}}));

    // Without a browser nothing is started.
    for (const QString &none : {QString(), QStringLiteral("   ")}) {
        EXPECT_FALSE(OpenWebAddress(QStringLiteral("http://www.orv.example.fr"), none, launcher));
        EXPECT_FALSE(OpenMailAddress(QStringLiteral("a@orv.example.fr"), none, launcher));
    }
    EXPECT_EQ(launcher.starts().size(), 2);

    // A browser that cannot start hands its error back.
    launcher.setFailure(PlatformError(PlatformErrorCode::FileNotFound));
    const auto failure = OpenWebAddress(QStringLiteral("http://x.example.fr"), Browser, launcher);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number(), PlatformErrorCode::FileNotFound);
}

TEST(AssociationScreen, WithoutABrowserALinkDoesNothing)
{
    InfoProgram p;
    p.f.window.load();
    p.association();
    for (const QString &none : {QString(), QStringLiteral("  ")}) {
        p.f.context.state.settings.webBrowser = none;
        p.click("Label29");
        p.click("Label24");
    }
    EXPECT_TRUE(p.starts().isEmpty());
    EXPECT_TRUE(p.f.fakes.messageBox.messages().isEmpty());
}

TEST(AssociationScreen, ABrowserThatCannotStartIsToldAndTheProgramGoesOn)
{
    InfoProgram p;
    p.f.window.load();
    AssociationScreen *screen = p.association();
    p.f.context.state.settings.webBrowser = QStringLiteral("/nulle/part/navigateur");
    p.f.fakes.launcher.setFailure(PlatformError(PlatformErrorCode::FileNotFound));
    p.click("Label29");
    p.click("Label16");
    EXPECT_EQ(p.starts().size(), 2);
    ASSERT_EQ(p.f.fakes.messageBox.messages().size(), 2);
    const RecordedMessage &m = p.f.fakes.messageBox.lastMessage();
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("Le navigateur Web n'a pas pu être lancé.")))
        << m.text.toStdString();
    EXPECT_TRUE(
        m.text.contains(PlatformError::standardDescription(PlatformErrorCode::FileNotFound)));

    // The screen and the program are still there, and the next click works.
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(p.f.window.isVisible());
    p.f.fakes.launcher.setFailure(std::nullopt);
    p.click("Label29");
    EXPECT_EQ(p.starts().size(), 3);
    EXPECT_EQ(p.f.fakes.messageBox.messages().size(), 2);
}

TEST(AboutBox, TheVersionLineShowsItWithoutBlockingAndOkHidesIt)
{
    InfoProgram p;
    p.f.window.load();
    auto *version = p.f.window.intro()->findChild<QLabel *>(QStringLiteral("Label2"));
    QTest::mouseClick(version, Qt::LeftButton);
    auto *box = p.f.find<AboutBox>("Apropos");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->parent(), &p.f.window);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->findChild<QLabel *>(QStringLiteral("lblTitle"))->text(),
              QStringLiteral("Ferlin 4"));
    EXPECT_EQ(box->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), Version);
    EXPECT_FALSE(box->findChild<QLabel *>(QStringLiteral("Apropos"))->text().isEmpty());
    EXPECT_EQ(box->findChild<QLabel *>(QStringLiteral("Label22"))->text(), QStringLiteral("F 13"));
    EXPECT_FALSE(box->findChild<QLabel *>(QStringLiteral("picIcon"))->pixmap().isNull());

    auto *ok = box->findChild<QPushButton *>(QStringLiteral("cmdOK"));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    ok->click();
    EXPECT_FALSE(box->isVisible());

    // Shown again: the same box, still holding the version.
    QTest::mouseClick(version, Qt::LeftButton);
    EXPECT_EQ(p.f.window.findChildren<AboutBox *>().size(), 1);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), Version);
}

TEST(AboutBox, TheAssociationsPictureShowsItModally)
{
    InfoProgram p;
    p.f.window.load();
    p.association();
    bool shownModal = false;
    QString shownVersion;
    QTimer::singleShot(0, &p.f.window, [&] {
        auto *box = p.f.find<AboutBox>("Apropos");
        if (!box)
            return;
        shownModal = box->isVisible() && box->isModal();
        shownVersion = box->findChild<QLabel *>(QStringLiteral("lblVersion"))->text();
        box->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    });
    p.click("Picture1");
    EXPECT_TRUE(shownModal);
    EXPECT_EQ(shownVersion, Version);
    auto *box = p.f.find<AboutBox>("Apropos");
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->isVisible());
}
