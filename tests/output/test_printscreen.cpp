#include "core/db/database.h"
#include "core/db/recordset.h"
#include "gui/output/printscreen.h"
#include "gui/shell/captioncolours.h"
#include "support/programfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QString ScreenTitle = QStringLiteral("Impression des références d'un panier");
const QString NoPrinterQuestion =
    QStringLiteral("Aucune imprimante n'est installée. Voulez-vous enregistrer l'impression dans "
                   "un fichier PDF ?");

// The program started, with basket 1 holding a few references of the base.
struct PrintScreenProgram {
    test::ProgramFixture f;
    PrintScreen *screen = nullptr;

    PrintScreenProgram()
    {
        f.window.load();
        screen = f.window.screenAs<PrintScreen>(QStringLiteral("F_print"));
    }

    void fillBasket(int basket, const QString &condition)
    {
        Database &db = *f.context.catalogue.db;
        db.execute(QStringLiteral("INSERT INTO [") + Schema::basketTable(basket) +
                   QStringLiteral("] SELECT * FROM TArticles WHERE ") + condition);
        RecordSet set(db, BasketPrintSource(basket));
        f.context.state.basketCounts[basket] = set.recordCount();
        f.window.publishCounts();
    }

    QCheckBox *box(PrintField field) const
    {
        return f.find<QCheckBox>(printFieldInfo(field).boxName.toUtf8().constData());
    }
    QString label(const char *name) const { return f.find<QLabel>(name)->text(); }
    QWidget *activeScreen() const
    {
        return f.window.findChild<QMdiArea *>()->activeSubWindow()->widget();
    }

    // Answers the general-title dialog when it comes up: types the title, then "Continuer".
    void answerTitle(const QString &title)
    {
        QDialog *dialog = screen->titleDialog();
        QTimer::singleShot(0, dialog, [dialog, title] {
            dialog->findChild<QLineEdit *>(QStringLiteral("T_Titre"))->setText(title);
            dialog->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
        });
    }
    void clickPrint() { f.find<QPushButton>("Cmd_Print")->click(); }
};

TEST(PrintScreen, ReachedThroughTheWindowMenuAfterStartup)
{
    test::ProgramFixture f;
    f.window.load();
    ASSERT_TRUE(f.window.startupSucceeded());
    EXPECT_FALSE(f.window.isScreenBuilt(QStringLiteral("F_print")));

    auto *menu = f.window.findChild<QMenu *>(QStringLiteral("Menu_Fenetres"));
    ASSERT_TRUE(menu);
    Q_EMIT menu->aboutToShow();
    QAction *item = nullptr;
    for (QAction *action : menu->actions())
        if (action->text() == ScreenTitle)
            item = action;
    ASSERT_TRUE(item);
    item->trigger();

    auto *screen = f.find<PrintScreen>("F_print");
    ASSERT_TRUE(screen);
    auto *frame = f.window.findChild<QMdiArea *>()->activeSubWindow();
    EXPECT_EQ(frame->widget(), screen);
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(screen->windowTitle(), ScreenTitle);
    EXPECT_EQ(f.find<QLabel>("Lab_titrePrint")->text(), QStringLiteral(" IMPRESSION du PANIER N°"));
    EXPECT_EQ(screen->findChild<QLabel *>(QStringLiteral("Label2"))->text(),
              QStringLiteral("Nombre de références dans ce panier : "));
    EXPECT_EQ(f.find<QPushButton>("Cmd_Print")->text(), QStringLiteral("Lancer l'impression"));
    EXPECT_EQ(f.find<QPushButton>("Cmd_tous")->toolTip(),
              QStringLiteral(" Sélectionne/désélectionne tous les champs "));
    EXPECT_EQ(f.find<QCheckBox>("Check_criteres")->toolTip(),
              QStringLiteral(" Cocher pour imprimer les critères de sélection "));
}

TEST(PrintScreen, CountLabelsFollowTheBasketsAndTheCurrentBasket)
{
    PrintScreenProgram p;
    p.fillBasket(2, QStringLiteral("Rang <= 4"));
    EXPECT_EQ(p.label("Lab_NbRefP1"), QStringLiteral("0"));
    EXPECT_EQ(p.label("Lab_NbRefP2"), QStringLiteral("4"));
    EXPECT_FALSE(p.f.find<QLabel>("Lab_NbRefP2")->isVisibleTo(p.screen));

    p.f.context.state.currentBasket = 2;
    p.f.window.showScreen(QStringLiteral("F_print"));
    p.screen->activate();
    EXPECT_EQ(p.label("Lab_NumPanier"), QStringLiteral("2"));
    EXPECT_EQ(p.label("Lab_NbRefP"), QStringLiteral("4"));
}

TEST(PrintScreen, BuiltBeforeTheStartupIsToldTheCounts)
{
    test::ProgramFixture f;
    {
        auto db = Database::open(f.context.databasePath);
        db->execute(
            QStringLiteral("INSERT INTO [TSélection3] SELECT * FROM TArticles WHERE Rang <= 2"));
    }
    ASSERT_TRUE(f.window.screen(QStringLiteral("F_print")));
    f.window.load();
    EXPECT_EQ(f.find<QLabel>("Lab_NbRefP3")->text(), QStringLiteral("2"));
}

TEST(PrintScreen, OnlyTheCustomTypeEnablesTheTicksWhichKeepTheirValues)
{
    PrintScreenProgram p;
    auto *custom = p.f.find<QRadioButton>("Option_Prn_1");
    EXPECT_TRUE(custom->isChecked());
    EXPECT_EQ(custom->text(), QStringLiteral("Impression  personnalisée"));
    EXPECT_EQ(custom->palette().color(QPalette::WindowText), CaptionOn);
    EXPECT_EQ(p.f.find<QRadioButton>("Option_Prn_2")->text(),
              QStringLiteral("Impression \"bibliographie\""));
    p.box(PrintField::Title)->click();
    EXPECT_EQ(p.box(PrintField::Title)->palette().color(QPalette::WindowText), CaptionOn);

    for (const char *name : {"Option_Prn_0", "Option_Prn_2", "Option_Prn_3"}) {
        p.f.find<QRadioButton>(name)->click();
        for (int i = 0; i < PrintFieldCount - 1; ++i)
            EXPECT_FALSE(p.box(PrintField(i))->isEnabled()) << name << i;
        EXPECT_FALSE(p.f.find<QPushButton>("Cmd_tous")->isEnabled());
        EXPECT_FALSE(p.f.find<QWidget>("Frame1")->isEnabled());
        EXPECT_EQ(custom->palette().color(QPalette::WindowText), QColor(Qt::black));
        EXPECT_TRUE(p.box(PrintField::Title)->isChecked());
    }
    custom->click();
    for (int i = 0; i < PrintFieldCount - 1; ++i)
        EXPECT_TRUE(p.box(PrintField(i))->isEnabled()) << i;
    EXPECT_EQ(custom->palette().color(QPalette::WindowText), CaptionOn);
}

TEST(PrintScreen, TickAllTogglesTheFourteenFieldsAndItsCaption)
{
    PrintScreenProgram p;
    auto *all = p.f.find<QPushButton>("Cmd_tous");
    EXPECT_EQ(all->text(), QStringLiteral("Cocher tous les champs"));
    all->click();
    EXPECT_EQ(all->text(), QStringLiteral("Décocher tous les champs"));
    EXPECT_TRUE(p.f.context.state.tickAllToggle);
    for (int i = 0; i < PrintDataFieldCount; ++i) {
        EXPECT_TRUE(p.box(PrintField(i))->isChecked()) << i;
        EXPECT_EQ(p.box(PrintField(i))->palette().color(QPalette::WindowText), CaptionOn);
    }
    EXPECT_FALSE(p.box(PrintField::Criteria)->isChecked());

    all->click();
    EXPECT_EQ(all->text(), QStringLiteral("Cocher tous les champs"));
    EXPECT_FALSE(p.f.context.state.tickAllToggle);
    for (int i = 0; i < PrintDataFieldCount; ++i)
        EXPECT_FALSE(p.box(PrintField(i))->isChecked()) << i;
}

TEST(PrintScreen, PrintsTheCurrentBasketInItsOrderAndLeavesTheCardOnIt)
{
    PrintScreenProgram p;
    p.fillBasket(1, QStringLiteral("Rang IN (3, 8, 15)"));
    // The card browses the whole base meanwhile: the print still follows the basket.
    p.f.window.screenAs<RecordCard>(QStringLiteral("F_formul"))
        ->OpenCard(CardState::BaseMode, 0, 0, 5);
    p.box(PrintField::Title)->click();
    p.answerTitle(QStringLiteral("Optique"));
    p.clickPrint();

    QStringList expected;
    RecordSet basket(*p.f.context.catalogue.db, BasketPrintSource(1));
    for (basket.moveFirst(); !basket.isEof(); basket.moveNext())
        expected << QStringLiteral("Titre : ") + basket.text(QStringLiteral("Titre"));
    ASSERT_EQ(p.f.fakes.linePrinter.documents().size(), 1);
    const auto &document = p.f.fakes.linePrinter.documents().front();
    EXPECT_TRUE(document.pdfFile.isEmpty());
    EXPECT_TRUE(document.ended);
    EXPECT_EQ(document.fontFamily, QStringLiteral("Times New Roman"));
    QStringList titles;
    for (const QString &line : document.lines)
        if (line.startsWith(QStringLiteral("Titre : ")))
            titles << line;
    EXPECT_EQ(titles, expected);
    EXPECT_EQ(document.lines.at(2), QStringLiteral("Optique"));
    EXPECT_TRUE(document.lines.contains(QStringLiteral(" 3 références dans le panier.")));
    EXPECT_EQ(document.lines.back(), QStringLiteral("Fin de la sélection."));
    EXPECT_TRUE(p.f.fakes.messageBox.messages().isEmpty());
    EXPECT_FALSE(p.f.fakes.busyPointer.isBusy());
    EXPECT_TRUE(p.f.fakes.busyPointer.history().contains(true));

    // The title is kept for the next print; the card shows the basket's first reference.
    EXPECT_EQ(p.f.find<QLineEdit>("T_Titre")->text(), QStringLiteral("Optique"));
    EXPECT_FALSE(p.screen->titleDialog()->isVisible());
    EXPECT_EQ(p.activeScreen()->objectName(), QStringLiteral("F_formul"));
    EXPECT_EQ(p.f.context.state.card.mode, CardState::BasketMode);
    const RecordSet &card = *p.f.context.catalogue.card;
    EXPECT_EQ(card.source(), BasketPrintSource(1));
    ASSERT_TRUE(card.hasCurrent());
    EXPECT_EQ(QStringLiteral("Titre : ") + card.text(QStringLiteral("Titre")), expected.front());
}

TEST(PrintScreen, EmptyBasketIsToldAndNothingPrinted)
{
    PrintScreenProgram p;
    p.f.context.state.currentBasket = 2;
    p.clickPrint();
    EXPECT_TRUE(p.f.fakes.linePrinter.documents().isEmpty());
    ASSERT_EQ(p.f.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &message = p.f.fakes.messageBox.lastMessage();
    EXPECT_EQ(message.text, QStringLiteral("Impression impossible : le panier 2 est vide"));
    EXPECT_EQ(message.shownTitle(), QStringLiteral("Impression interrompue"));
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_EQ(p.activeScreen()->objectName(), QStringLiteral("F_formul"));
}

TEST(PrintScreen, WithoutPrinterOffersAPdfFile)
{
    PrintScreenProgram p;
    p.fillBasket(1, QStringLiteral("Rang <= 2"));
    p.f.fakes.linePrinter.setHasDefaultPrinter(false);
    int asked = 0;
    p.screen->setPdfFileChooser([&asked] {
        ++asked;
        return QStringLiteral("/tmp/panier.pdf");
    });

    p.f.fakes.messageBox.pushAnswer(MessageAnswer::No);
    p.answerTitle(QString());
    p.clickPrint();
    EXPECT_TRUE(p.f.fakes.linePrinter.documents().isEmpty());
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(p.f.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &question = p.f.fakes.messageBox.lastMessage();
    EXPECT_EQ(question.text, NoPrinterQuestion);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);

    p.f.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    p.answerTitle(QString());
    p.clickPrint();
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(p.f.fakes.linePrinter.documents().size(), 1);
    EXPECT_EQ(p.f.fakes.linePrinter.documents().front().pdfFile, QStringLiteral("/tmp/panier.pdf"));
    EXPECT_EQ(p.f.fakes.linePrinter.lines().back(), QStringLiteral("Fin de la sélection."));
}

TEST(PrintScreen, TheGeneralTitleIsAskedBeforeThePrinterQuestionAndTheFile)
{
    PrintScreenProgram p;
    p.fillBasket(1, QStringLiteral("Rang <= 2"));
    p.f.fakes.linePrinter.setHasDefaultPrinter(false);
    QStringList order;
    p.screen->setPdfFileChooser([&order] {
        order << QStringLiteral("fichier");
        return QStringLiteral("/tmp/panier.pdf");
    });
    QDialog *dialog = p.screen->titleDialog();
    QTimer::singleShot(0, dialog, [&] {
        order << QStringLiteral("titre") + QString::number(p.f.fakes.messageBox.messages().size());
        dialog->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    });
    p.f.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    p.clickPrint();
    EXPECT_EQ(order, (QStringList{QStringLiteral("titre0"), QStringLiteral("fichier")}));
    EXPECT_EQ(p.f.fakes.messageBox.messages().size(), 1);
}

TEST(PrintScreen, PrinterFailureEndsWithTheNormalPointerAndAMessage)
{
    PrintScreenProgram p;
    p.fillBasket(1, QStringLiteral("Rang <= 2"));
    p.f.fakes.linePrinter.failAtLine(0);
    p.answerTitle(QString());
    p.clickPrint();
    EXPECT_FALSE(p.f.fakes.busyPointer.isBusy());
    ASSERT_EQ(p.f.fakes.messageBox.messages().size(), 1);
    EXPECT_TRUE(p.f.fakes.messageBox.lastMessage().text.startsWith(
        QStringLiteral("L'impression n'a pas pu être achevée.")));
    EXPECT_EQ(p.activeScreen()->objectName(), QStringLiteral("F_formul"));
}

} // namespace
