#include "core/record/clipboardtext.h"
#include "gui/record/recordcard.h"
#include "support/programfixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QString LineBreak = QStringLiteral("\r\n");

CardReference optique()
{
    CardReference r;
    r.title = QStringLiteral("Optique");
    r.number = QStringLiteral("812");
    r.volume = QStringLiteral("92");
    r.month = QStringLiteral("mars");
    r.year = QStringLiteral("1999");
    r.page = QStringLiteral("345");
    return r;
}

TEST(ClipboardText, ShortFormIsTheTitleThenTheBulletinLine)
{
    EXPECT_EQ(ShortReferenceText(optique()),
              QStringLiteral("Optique\r\nKVT n° 812, vol. 92, mars, 1999, p. 345"));
    CardReference noVolume = optique();
    noVolume.volume.clear();
    EXPECT_EQ(ShortReferenceText(noVolume),
              QStringLiteral("Optique\r\nKVT n° 812, vol. , mars, 1999, p. 345"));
}

TEST(ClipboardText, LongFormAddsTheAuthorsOnOneLineAndTheSummary)
{
    CardReference r = optique();
    r.authors = QStringLiteral(" Dupont J. \n Martin P. ");
    r.summary = QStringLiteral("Un résumé.");
    EXPECT_EQ(LongReferenceText(r),
              ShortReferenceText(r) + LineBreak + QStringLiteral("Auteur(s)") + LineBreak +
                  QStringLiteral(" Dupont J.  ;  Martin P. ") + LineBreak +
                  QStringLiteral("Résumé") + LineBreak + QStringLiteral("Un résumé."));
    // Empty pieces keep the fixed parts; nothing ends the text.
    EXPECT_EQ(LongReferenceText(CardReference()),
              QStringLiteral("\r\nKVT n° , vol. , , , p. \r\nAuteur(s)\r\n\r\nRésumé\r\n"));
}

// The card on the whole base, as "Feuilleter la base" shows it.
struct CardClipboard : public ::testing::Test {
    test::ProgramFixture program{60};
    RecordCard *card = nullptr;

    void SetUp() override
    {
        program.window.load();
        program.window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
        card = program.window.screenAs<RecordCard>(QStringLiteral("F_formul"));
        ASSERT_NE(card, nullptr);
    }

    QString shown(const char *name) const
    {
        return card->findChild<QLabel *>(QString::fromUtf8(name))->text();
    }
    QPlainTextEdit *box(const char *name) const
    {
        return card->findChild<QPlainTextEdit *>(QString::fromUtf8(name));
    }
};

TEST_F(CardClipboard, MenuItemsPutTheFormsOfTheShownReference)
{
    auto *button = card->findChild<QToolButton *>(QStringLiteral("Command6"));
    ASSERT_TRUE(button->isEnabled());
    button->click();
    auto *menu = card->findChild<QMenu *>(QStringLiteral("Mnu_pressePapier"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    const QPoint expected(qRound(250.0 * card->width() / RecordCard::DesignWidth),
                          qRound(6000.0 * card->height() / RecordCard::DesignHeight));
    EXPECT_LE((menu->pos() - card->mapToGlobal(expected)).manhattanLength(), 2);
    menu->hide();

    CardReference r;
    r.title = box("Text1")->toPlainText();
    r.number = shown("Label8");
    r.volume = shown("Label16");
    r.month = shown("Lab_mois");
    r.year = shown("Lab_an");
    r.page = shown("Label10");
    r.authors = shown("Label1");
    r.summary = box("T_resume")->toPlainText();
    ASSERT_FALSE(r.title.isEmpty());

    auto *shortItem = card->findChild<QAction *>(QStringLiteral("Mnu_CopieRef"));
    auto *longItem = card->findChild<QAction *>(QStringLiteral("Mnu_Refresume"));
    ASSERT_NE(shortItem, nullptr);
    ASSERT_NE(longItem, nullptr);
    EXPECT_EQ(shortItem->text(), QStringLiteral("Copie référence bibliographique"));
    EXPECT_EQ(longItem->text(), QStringLiteral("Copie référence + auteurs + résumé"));
    shortItem->trigger();
    longItem->trigger();
    EXPECT_EQ(program.fakes.clipboard.history(),
              (QStringList{ShortReferenceText(r), LongReferenceText(r)}));
}

TEST_F(CardClipboard, MouseReleaseCopiesTheSelectionEvenWhenEmpty)
{
    QPlainTextEdit *title = box("Text1");
    QTextCursor cursor = title->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    title->setTextCursor(cursor);
    QTest::mouseRelease(title->viewport(), Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(program.fakes.clipboard.history(), QStringList{title->toPlainText().left(3)});

    QPlainTextEdit *summary = box("T_resume");
    summary->setTextCursor(QTextCursor(summary->document()));
    QTest::mouseRelease(summary->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(program.fakes.clipboard.history().size(), 2);
    EXPECT_EQ(program.fakes.clipboard.text(), QString());

    QTest::mouseRelease(box("T_SousTitre")->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(program.fakes.clipboard.history().size(), 3);
}

TEST_F(CardClipboard, TextButtonOpensTheShownReferencesTextFromItsDisc)
{
    auto *text = card->findChild<QPushButton *>(QStringLiteral("Cmd_DOC"));
    auto *next = card->findChild<QToolButton *>(QStringLiteral("Cmd_Droite"));
    for (int i = 0; i < 60 && !text->isVisibleTo(card); ++i)
        next->click();
    ASSERT_TRUE(text->isVisibleTo(card));
    ASSERT_TRUE(text->isEnabled());
    const QString fullText = shown("Lab_Tintegral");
    const QString disc = shown("Lbl_NoCD");
    RunState &state = program.context.state;
    state.settings.pdfViewer = QStringLiteral("/usr/bin/evince");
    state.settings.cdDrive = QStringLiteral("/dev/sr0");
    state.settings.setTextsOnCd(true);
    state.currentCd = disc.toInt();
    FakeDrives::Drive cd;
    cd.type = DriveType::CdRom;
    cd.label = QStringLiteral("FERLIN4_") + disc;
    cd.root = program.dir.filePath(QStringLiteral("disc")) + u'/';
    program.fakes.drives.addDrive(QStringLiteral("/dev/sr0"), cd);

    program.fakes.messageBox.clear();
    text->click();
    EXPECT_TRUE(program.fakes.messageBox.messages().isEmpty());
    ASSERT_EQ(program.fakes.launcher.starts().size(), 1);
    EXPECT_EQ(program.fakes.launcher.starts().front().arguments,
              QStringList{cd.root + fullText.mid(8).replace(u'\\', u'/')});
}

TEST_F(CardClipboard, ViewerButtonOfTheMainWindowStartsTheConfiguredViewer)
{
    program.context.state.settings.pdfViewer = QStringLiteral(" /usr/bin/evince ");
    program.window.commandButton(QStringLiteral("Cmd_Acrobat"))->click();
    EXPECT_EQ(program.fakes.launcher.starts(),
              (QList<FakeLauncher::Start>{{QStringLiteral("/usr/bin/evince"), {}}}));
}

} // namespace

TEST(CardClipboardText, EveryLineBreakOfTheCopiedReferenceIsCarriageReturnLineFeed)
{
    test::ProgramFixture program(60);
    // The reference the card shows first, the newest, with its line breaks of every kind.
    Database::open(program.context.databasePath)
        ->executeBound(QStringLiteral("UPDATE TArticles SET Titre = ?, Resume = ?, Auteur = ? "
                                      "WHERE Rang = 60"),
                       {QStringLiteral("Un\ntitre"), QStringLiteral("a\r\nb\nc\rd"),
                        QStringLiteral("X\r\nY")});
    program.window.load();
    program.window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
    program.window.findChild<QAction *>(QStringLiteral("Mnu_Refresume"))->trigger();
    const QString copied = program.fakes.clipboard.text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("Un\r\ntitre\r\nKVT n° ")))
        << copied.toStdString();
    EXPECT_TRUE(copied.endsWith(QStringLiteral("\r\nX ; Y\r\nRésumé\r\na\r\nb\r\nc\r\nd")))
        << copied.toStdString();
    EXPECT_EQ(copied.count(u'\n'), copied.count(QStringLiteral("\r\n")));
    EXPECT_EQ(copied.count(u'\r'), copied.count(QStringLiteral("\r\n")));
}

TEST_F(CardClipboard, AClickInsideTheSelectionEmptiesTheClipboard)
{
    QPlainTextEdit *title = box("Text1");
    title->setPlainText(QStringLiteral("Optique géométrique"));
    title->selectAll();
    QTextCursor third(title->document());
    third.setPosition(3);
    const QPoint inside = title->cursorRect(third).center();
    QTest::mouseClick(title->viewport(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(program.fakes.clipboard.history().size(), 1);
    EXPECT_EQ(program.fakes.clipboard.text(), QString());
}
