#include "gui/search/authorpicker.h"
#include "gui/search/keywordpicker.h"
#include "support/programfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QColor Blue(0x00, 0x00, 0xFF);
const QColor Grey(0x80, 0x80, 0x80);

// The program after its start-up, with the pickers built on it as the search screen builds them.
struct Pickers : test::ProgramFixture {
    KeywordPicker *keywords = nullptr;

    Pickers() { window.load(); }

    // The keyword picker, shown; lists given replace the ones the start-up read.
    KeywordPicker &openKeywords(const QStringList &keywordList = {},
                                const QStringList &seeAlsoList = {})
    {
        if (!keywordList.isEmpty())
            context.state.keywordList = keywordList;
        if (!seeAlsoList.isEmpty())
            context.state.seeAlsoList = seeAlsoList;
        keywords = new KeywordPicker(window, &window);
        keywords->show();
        return *keywords;
    }
    AuthorPicker &buildAuthors(const QStringList &authorList = {})
    {
        if (!authorList.isEmpty())
            context.state.authorList = authorList;
        return *new AuthorPicker(window, &window);
    }

    template <typename T> T *in(QWidget *picker, const char *name) const
    {
        auto *w = picker->findChild<T *>(QString::fromUtf8(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    template <typename T> T *kw(const char *name) const { return in<T>(keywords, name); }
    QListWidget *list(const char *name) const { return kw<QListWidget>(name); }
    QString text(const char *label) const { return kw<QLabel>(label)->text(); }
    bool shown(const char *name) const { return kw<QWidget>(name)->isVisibleTo(keywords); }
    QColor colour(const char *name) const
    {
        return kw<QWidget>(name)->palette().color(QPalette::WindowText);
    }
    QStringList entries(const char *name) const
    {
        QStringList texts;
        const QListWidget *l = list(name);
        for (int row = 0; row < l->count(); ++row)
            texts << l->item(row)->text();
        return texts;
    }
    QString highlighted(QListWidget *l) const
    {
        return l->currentItem() ? l->currentItem()->text() : QString();
    }

    // A real mouse click on an entry, wherever it is scrolled to.
    static void clickEntry(QListWidget *l, const QString &entry)
    {
        const auto items = l->findItems(entry, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << entry.toStdString();
        l->scrollToItem(items.front());
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                          l->visualItemRect(items.front()).center());
    }
    void choose(const QString &keyword) { clickEntry(list("List1"), keyword); }
    void chooseOption(int index)
    {
        const QByteArray name = "Option_mots_" + QByteArray::number(index);
        QTest::mouseClick(kw<QRadioButton>(name.constData()), Qt::LeftButton);
    }
    void clickFirstKeyword() { QTest::mouseClick(kw<QLabel>("Lab_mot1"), Qt::LeftButton); }
    int count(const char *table) const
    {
        return context.catalogue.db
            ->scalar(QStringLiteral("SELECT count(*) FROM [") + QString::fromUtf8(table) +
                     QStringLiteral("]"))
            .toInt();
    }
};

const QStringList Optics{
    QStringLiteral("lentille"), QStringLiteral("miroir"),  QStringLiteral("lentille "),
    QStringLiteral("Lentille"), QStringLiteral("miroir "), QStringLiteral("prisme"),
    QStringLiteral("foyer"),    QStringLiteral("dioptre"), QStringLiteral("image"),
    QStringLiteral("laser"),    QStringLiteral("couleur"), QStringLiteral("réseau"),
    QStringLiteral("fibre")};

} // namespace

TEST(KeywordPicker, StartsWithTheBaseListsAndNoKeywordChosen)
{
    Pickers f;
    f.openKeywords();
    EXPECT_EQ(f.keywords->objectName(), QStringLiteral("Clesfr"));
    EXPECT_EQ(f.keywords->windowTitle(), QStringLiteral("Sélection des mots clés"));
    const int keywordCount = f.count("TClés");
    ASSERT_GT(keywordCount, 10);
    EXPECT_EQ(f.list("List1")->count(), keywordCount);
    EXPECT_EQ(f.list("List2")->count(), f.count("TVoir"));
    EXPECT_EQ(f.text("Lab_listemots"),
              QStringLiteral("Liste des mots clés (%1 mots)").arg(keywordCount));
    EXPECT_EQ(f.text("Label3"), QStringLiteral("Liste des \"voir\" et \"voir aussi\""));
    EXPECT_EQ(f.text("Label1"), QStringLiteral("Tapez le début du mot cherché"));
    EXPECT_EQ(f.text("Label2"), QStringLiteral("Premier mot sélectionné"));
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral("Pas de mot sélectionné"));
    EXPECT_EQ(f.text("Lab_mot1"), QString());
    EXPECT_EQ(f.kw<QPushButton>("Command1")->text(), QStringLiteral("Suite"));
    const char *hidden[] = {"L_ET",          "L_OU",          "L_SAUF",
                            "Option_mots_0", "Option_mots_1", "Option_mots_2"};
    for (const char *name : hidden)
        EXPECT_FALSE(f.shown(name)) << name;
    EXPECT_TRUE(f.kw<QRadioButton>("Option_mots_0")->isChecked());
    EXPECT_EQ(f.kw<QRadioButton>("Option_mots_2")->text(), QStringLiteral("SAUF"));
    EXPECT_EQ(f.colour("Option_mots_0"), Blue);
    EXPECT_EQ(f.colour("Option_mots_1"), Grey);
    EXPECT_EQ(f.colour("Option_mots_2"), Grey);

    // Typing the last keyword in capitals scrolls the long list down to it.
    QListWidget *keywords = f.list("List1");
    const QString last = keywords->item(keywords->count() - 1)->text();
    f.kw<QLineEdit>("T_Achercher")->setText(last.toUpper());
    ASSERT_TRUE(keywords->currentItem());
    EXPECT_TRUE(keywords->currentItem()->text().startsWith(last, Qt::CaseInsensitive));
    EXPECT_TRUE(
        keywords->viewport()->rect().intersects(keywords->visualItemRect(keywords->currentItem())));
}

TEST(KeywordPicker, AddsTheFirstKeywordThenJoinedOnesOnceEach)
{
    Pickers f;
    f.openKeywords(Optics);
    f.choose(QStringLiteral("lentille"));
    EXPECT_EQ(f.text("Lab_mot1"), QStringLiteral("lentille"));
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" 1 mot sélectionné."));
    for (const char *name : {"L_ET", "L_OU", "L_SAUF", "Option_mots_0", "Option_mots_2"})
        EXPECT_TRUE(f.shown(name)) << name;

    // The first keyword again: nothing changes.
    f.choose(QStringLiteral("lentille"));
    EXPECT_EQ(f.keywords->keywordCount(), 1);
    EXPECT_TRUE(f.entries("L_ET").isEmpty());

    // The next keywords go to the list of the chosen option, drawn blue.
    f.chooseOption(1);
    EXPECT_TRUE(f.kw<QRadioButton>("Option_mots_1")->isChecked());
    EXPECT_EQ(f.colour("Option_mots_1"), Blue);
    EXPECT_EQ(f.colour("Option_mots_0"), Grey);
    EXPECT_EQ(f.colour("Option_mots_2"), Grey);
    f.choose(QStringLiteral("miroir"));
    f.chooseOption(0);
    f.choose(QStringLiteral("prisme"));
    EXPECT_EQ(f.entries("L_OU"), QStringList{QStringLiteral("miroir")});
    EXPECT_EQ(f.entries("L_ET"), QStringList{QStringLiteral("prisme")});
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" 3 mots sélectionnés."));

    // A joined keyword again, in another list or with trailing blanks: nothing changes.
    f.choose(QStringLiteral("miroir"));
    f.choose(QStringLiteral("miroir "));
    EXPECT_EQ(f.keywords->keywordCount(), 3);
    EXPECT_EQ(f.entries("L_ET"), QStringList{QStringLiteral("prisme")});

    // The first keyword is compared exactly, the joined ones with their case.
    f.choose(QStringLiteral("lentille "));
    f.choose(QStringLiteral("Lentille"));
    EXPECT_EQ(f.entries("L_ET"), (QStringList{QStringLiteral("prisme"), QStringLiteral("lentille "),
                                              QStringLiteral("Lentille")}));
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" 5 mots sélectionnés."));

    // The choice is the run state's, which the search reads.
    const KeywordChoice &state = f.context.state.keywords;
    EXPECT_EQ(state.first, QStringLiteral("lentille"));
    EXPECT_EQ(state.ou, QStringList{QStringLiteral("miroir")});
    EXPECT_EQ(state.et.size(), 3);
    EXPECT_TRUE(state.sauf.isEmpty());
}

TEST(KeywordPicker, TakesNoMoreThanTenKeywords)
{
    Pickers f;
    f.openKeywords(Optics);
    const QStringList ten{QStringLiteral("lentille"), QStringLiteral("miroir"),
                          QStringLiteral("prisme"),   QStringLiteral("foyer"),
                          QStringLiteral("dioptre"),  QStringLiteral("image"),
                          QStringLiteral("laser"),    QStringLiteral("couleur"),
                          QStringLiteral("réseau"),   QStringLiteral("Lentille")};
    for (int i = 0; i < ten.size(); ++i) {
        if (i > 0)
            f.chooseOption(i % 3);
        f.choose(ten[i]);
    }
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" 10 mots sélectionnés."));
    f.choose(QStringLiteral("fibre"));
    EXPECT_EQ(f.keywords->keywordCount(), 10);
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" 10 mots sélectionnés."));
    EXPECT_FALSE(f.entries("L_ET").contains(QStringLiteral("fibre")));
    EXPECT_FALSE(f.entries("L_OU").contains(QStringLiteral("fibre")));
    EXPECT_FALSE(f.entries("L_SAUF").contains(QStringLiteral("fibre")));

    // Once one is removed, there is room again.
    Pickers::clickEntry(f.list("L_SAUF"), QStringLiteral("prisme"));
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" 9 mots sélectionnés."));
    f.chooseOption(2);
    f.choose(QStringLiteral("fibre"));
    EXPECT_EQ(f.keywords->keywordCount(), 10);
    EXPECT_TRUE(f.entries("L_SAUF").contains(QStringLiteral("fibre")));
}

TEST(KeywordPicker, RemovesTheFirstKeywordOnlyOnceItIsAlone)
{
    Pickers f;
    f.openKeywords(Optics);
    f.clickFirstKeyword(); // no keyword: nothing happens
    EXPECT_TRUE(f.fakes.messageBox.messages().isEmpty());
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral("Pas de mot sélectionné"));

    f.choose(QStringLiteral("lentille"));
    f.choose(QStringLiteral("miroir"));
    f.chooseOption(2);
    f.choose(QStringLiteral("prisme"));
    f.clickFirstKeyword();
    ASSERT_EQ(f.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &message = f.fakes.messageBox.lastMessage();
    EXPECT_EQ(message.text, QStringLiteral("Ce mot ne peut pas être effacé tant qu'il y a "
                                           "d'autres mots ET, OU ou SAUF"));
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_EQ(message.shownTitle(), QStringLiteral("Attention"));
    EXPECT_EQ(f.text("Lab_mot1"), QStringLiteral("lentille"));
    EXPECT_EQ(f.keywords->keywordCount(), 3);

    Pickers::clickEntry(f.list("L_ET"), QStringLiteral("miroir"));
    EXPECT_TRUE(f.entries("L_ET").isEmpty());
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" 2 mots sélectionnés."));
    Pickers::clickEntry(f.list("L_SAUF"), QStringLiteral("prisme"));
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" 1 mot sélectionné."));
    f.clickFirstKeyword();
    EXPECT_EQ(f.fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(f.text("Lab_mot1"), QString());
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral(" Pas de mot sélectionné."));
    EXPECT_EQ(f.context.state.keywords.count(), 0);
    for (const char *name : {"L_ET", "L_OU", "L_SAUF", "Option_mots_0", "Option_mots_1"})
        EXPECT_FALSE(f.shown(name)) << name;

    // A keyword chosen now is the first one again, whatever option is selected.
    f.choose(QStringLiteral("foyer"));
    EXPECT_EQ(f.text("Lab_mot1"), QStringLiteral("foyer"));
    EXPECT_TRUE(f.entries("L_SAUF").isEmpty());
}

TEST(KeywordPicker, TypingHighlightsTheFirstEntryBeginningWithTheTextInBothLists)
{
    Pickers f;
    // The first entries match too: they are examined last.
    f.openKeywords({QStringLiteral("Optique"), QStringLiteral("acoustique"),
                    QStringLiteral("OPTION"), QStringLiteral("optimum")},
                   {QStringLiteral("optique voir lumière"), QStringLiteral("son voir acoustique"),
                    QStringLiteral("Opticien voir aussi lunettes")});
    QListWidget *keywords = f.list("List1");
    QListWidget *seeAlso = f.list("List2");
    auto *typed = f.kw<QLineEdit>("T_Achercher");
    QTest::keyClicks(typed, QStringLiteral("  opt"));
    EXPECT_EQ(f.highlighted(keywords), QStringLiteral("OPTION"));
    EXPECT_EQ(f.highlighted(seeAlso), QStringLiteral("Opticien voir aussi lunettes"));

    // Only the first entries begin with "optiq": the search wraps round to them.
    QTest::keyClicks(typed, QStringLiteral("iq "));
    EXPECT_EQ(f.highlighted(keywords), QStringLiteral("Optique"));
    EXPECT_EQ(f.highlighted(seeAlso), QStringLiteral("optique voir lumière"));

    // No entry begins with the text: the highlight stays where it was.
    QTest::keyClicks(typed, QStringLiteral("xyz"));
    EXPECT_EQ(f.highlighted(keywords), QStringLiteral("Optique"));
    typed->setText(QStringLiteral("son"));
    EXPECT_EQ(f.highlighted(keywords), QStringLiteral("Optique"));
    EXPECT_EQ(f.highlighted(seeAlso), QStringLiteral("son voir acoustique"));

    // Highlighting chooses nothing.
    EXPECT_EQ(f.keywords->keywordCount(), 0);
    EXPECT_EQ(f.text("Lab_nbclés"), QStringLiteral("Pas de mot sélectionné"));
}

TEST(KeywordPicker, SuiteCopiesTheChoiceAndEndsTheDialog)
{
    Pickers f;
    f.openKeywords(Optics);
    QSignalSpy copies(f.keywords, &KeywordPicker::choiceCopied);
    // Chosen while shown beside, then opened as the search screen opens it and left by "Suite".
    auto suite = [&] {
        f.keywords->hide();
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(f.keywords->isVisible());
            f.kw<QPushButton>("Command1")->click();
        });
        f.keywords->exec();
        EXPECT_FALSE(f.keywords->isVisible());
    };

    f.choose(QStringLiteral("foyer"));
    suite();
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies[0], (QVariantList{QStringLiteral("foyer"), QString(), QString(), QString()}));

    f.keywords->show();
    f.choose(QStringLiteral("lentille"));
    f.choose(QStringLiteral("miroir"));
    f.chooseOption(2);
    f.choose(QStringLiteral("laser"));
    suite();
    ASSERT_EQ(copies.size(), 2);
    const QString lineFeed(QChar(10));
    const QString et = QStringLiteral("lentille") + lineFeed + QStringLiteral(" miroir") +
                       lineFeed + QStringLiteral(" ");
    const QString sauf = QStringLiteral("laser") + lineFeed + QStringLiteral(" ");
    EXPECT_EQ(copies[1], (QVariantList{QStringLiteral("foyer"), et, QString(), sauf}));
    EXPECT_EQ(KeywordPicker::joinedCaption({}), QString());

    // Reopened, the picker shows the same choice; Escape leaves it as "Suite" does.
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(f.text("Lab_mot1"), QStringLiteral("foyer"));
        EXPECT_EQ(f.entries("L_SAUF"), QStringList{QStringLiteral("laser")});
        QTest::keyClick(f.kw<QLineEdit>("T_Achercher"), Qt::Key_Escape);
    });
    f.keywords->exec();
    EXPECT_FALSE(f.keywords->isVisible());
    ASSERT_EQ(copies.size(), 3);
    EXPECT_EQ(copies[2], copies[1]);
}

TEST(AuthorPicker, TypingHighlightsAndEnterChoosesTheTextAsTyped)
{
    Pickers f;
    AuthorPicker &picker = f.buildAuthors({QStringLiteral("Martin A."), QStringLiteral("Dupont"),
                                           QStringLiteral("maréchal"), QStringLiteral("Marx")});
    EXPECT_EQ(picker.objectName(), QStringLiteral("F_auteur"));
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("Liste des auteurs"));
    EXPECT_EQ(f.in<QLabel>(&picker, "Label1")->text(), QStringLiteral("Tapez le début du nom"));
    EXPECT_EQ(f.in<QPushButton>(&picker, "Command1")->text(), QStringLiteral("X"));
    picker.toggleShown();
    QSignalSpy chosen(&picker, &AuthorPicker::authorChosen);
    auto *typed = f.in<QLineEdit>(&picker, "T_DébutNom");
    auto *list = f.in<QListWidget>(&picker, "List1");

    QTest::keyClicks(typed, QStringLiteral("ma"));
    EXPECT_EQ(f.highlighted(list), QStringLiteral("maréchal"));
    EXPECT_TRUE(chosen.isEmpty());

    typed->clear();
    QTest::keyClicks(typed, QStringLiteral(" Nouveau  Nom "));
    QTest::keyClick(typed, Qt::Key_Return);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toString(), QStringLiteral(" Nouveau  Nom "));
    EXPECT_TRUE(picker.isVisible());

    typed->clear();
    QTest::keyClick(typed, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[1][0].toString(), QString());
    EXPECT_TRUE(picker.isVisible());
}

TEST(AuthorPicker, AClickChoosesAndHidesWhileXOnlyHides)
{
    Pickers f;
    AuthorPicker &picker = f.buildAuthors();
    auto *list = f.in<QListWidget>(&picker, "List1");
    ASSERT_EQ(list->count(), f.count("TAuteurs"));
    ASSERT_GT(list->count(), 3);
    QSignalSpy chosen(&picker, &AuthorPicker::authorChosen);

    // Opened modally, a click on an author ends the dialog.
    const QString author = list->item(2)->text();
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(picker.isModal());
        Pickers::clickEntry(list, author);
    });
    picker.openModal();
    EXPECT_FALSE(picker.isVisible());
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toString(), author);

    // Shown beside the search screen: "X" and a second toggle hide it without choosing.
    picker.toggleShown();
    EXPECT_TRUE(picker.isVisible());
    EXPECT_FALSE(picker.isModal());
    f.in<QPushButton>(&picker, "Command1")->click();
    EXPECT_FALSE(picker.isVisible());
    picker.toggleShown();
    picker.toggleShown();
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(chosen.size(), 1);
}

TEST(Pickers, EnterOrSpaceOnAHighlightedEntryChoosesItAsAClickDoes)
{
    Pickers f;
    f.openKeywords(Optics);
    QTest::keyClicks(f.kw<QLineEdit>("T_Achercher"), QStringLiteral("lent"));
    const QString highlighted = f.highlighted(f.list("List1"));
    ASSERT_TRUE(highlighted.startsWith(QStringLiteral("lentille")));
    QTest::keyClick(f.list("List1"), Qt::Key_Return);
    EXPECT_EQ(f.text("Lab_mot1"), highlighted);
    f.list("List1")->setCurrentRow(Optics.indexOf(QStringLiteral("miroir")));
    QTest::keyClick(f.list("List1"), Qt::Key_Space);
    EXPECT_EQ(f.entries("L_ET"), QStringList{QStringLiteral("miroir")});
    // In a list of joined keywords the key removes the entry.
    f.list("L_ET")->setCurrentRow(0);
    QTest::keyClick(f.list("L_ET"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(f.entries("L_ET").isEmpty());

    AuthorPicker &authors = f.buildAuthors();
    QSignalSpy chosen(&authors, &AuthorPicker::authorChosen);
    auto *list = f.in<QListWidget>(&authors, "List1");
    authors.toggleShown();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toString(), list->item(1)->text());
}
