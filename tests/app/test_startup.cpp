#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "app/quitdialog.h"
#include "app/screens.h"
#include "app/startup.h"
#include "core/context/appcontext.h"
#include "core/db/database.h"
#include "fakes/fakeplatform.h"
#include "gui/info/statescreen.h"
#include "support/accessiblename.h"
#include "support/programfixture.h"
#include "support/samplebasecopy.h"

#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// The program's main window on a base of its own, with every outside service faked.
struct Program {
    QTemporaryDir dir;
    FakePlatform fakes;
    AppContext context;
    MainWindow window;

    explicit Program(const QString &basePath) : context(basePath, fakes.platform()), window(context)
    {
        window.show();
    }
    static QString base(const QTemporaryDir &dir, int references = 6773)
    {
        return test::copyOfGeneratedBase(dir, references);
    }

    QString step(const char *label) const
    {
        QLabel *l = window.intro()->stepLabel(QString::fromUtf8(label));
        return l && l->isVisibleTo(window.intro()) ? l->text() : QString();
    }
    bool commandShown(const char *name) const
    {
        QToolButton *b = window.commandButton(QString::fromUtf8(name));
        return b && b->isVisibleTo(window.commandBar());
    }
    void configure(const char *copied = "O")
    {
        fakes.settings.setValue(QStringLiteral("Startup"), QStringLiteral("1"));
        fakes.settings.setValue(QStringLiteral("TextesRecopies"), QString::fromLatin1(copied));
        fakes.settings.setValue(QStringLiteral("TextesHD"), QStringLiteral("True"));
        fakes.settings.setValue(QStringLiteral("TextesCD"), QStringLiteral("False"));
        for (const QString &name : Settings::printFieldNames())
            fakes.settings.setValue(name, QStringLiteral("0"));
    }
};

} // namespace

TEST(Startup, ANormalStartShowsEveryStepAndTheCommands)
{
    QTemporaryDir dir;
    Program p(Program::base(dir));
    p.configure();
    p.window.load();

    EXPECT_TRUE(p.window.startupSucceeded());
    // A maximised screen adds its own title after the caption, as child windows do.
    EXPECT_TRUE(p.window.windowTitle().startsWith(QStringLiteral("Ferlin  4.0")));
    EXPECT_EQ(p.window.intro()->progressFrame()->title(),
              QStringLiteral("  Ouverture et initialisations "));
    EXPECT_EQ(p.step("Lab_DB"), QStringLiteral("Base ouverte"));
    EXPECT_EQ(p.step("Lab_listeclés"), QStringLiteral("Liste des clés créée"));
    EXPECT_EQ(p.step("Lab_ListeAuteurs"), QStringLiteral("Liste des auteurs créée"));
    EXPECT_EQ(p.step("Lab_ListePtvue"), QStringLiteral("Liste des points de vue créée"));
    EXPECT_EQ(p.step("Lab_Listedomaines"), QStringLiteral("Liste des domaines créée"));
    EXPECT_EQ(p.step("Lab_DateMAJ"), QStringLiteral("Dernière mise à jour : 15/04/2003"));
    EXPECT_EQ(p.step("Lab_Base"), QStringLiteral("La base contient 6773 références"));
    EXPECT_EQ(p.step("Lab_P1"), QStringLiteral("Le panier n° 1 est vide"));
    EXPECT_EQ(p.step("Lab_P2"), QStringLiteral("Le panier n° 2 est vide"));
    EXPECT_EQ(p.step("Lab_P3"), QStringLiteral("Le panier n° 3 est vide"));
    EXPECT_EQ(p.step("Lab_OKFin"), QStringLiteral("Ferlin est ouvert !"));
    EXPECT_EQ(p.context.state.baseCount, 6773);
    // The base's pages were mapped for the start-up's reads only.
    EXPECT_FALSE(p.context.catalogue.db->mapsReads());

    EXPECT_TRUE(p.window.commandBar()->isVisibleTo(&p.window));
    const QStringList order = MainWindow::commandNames();
    ASSERT_EQ(order.size(), 11);
    for (const QString &name : order) {
        QToolButton *b = p.window.commandButton(name);
        ASSERT_TRUE(b);
        EXPECT_TRUE(p.commandShown(name.toUtf8().constData())) << name.toStdString();
        EXPECT_FALSE(b->icon().isNull()) << name.toStdString();
        EXPECT_FALSE(b->toolTip().isEmpty());
        EXPECT_EQ(b->accessibleName(), b->toolTip().trimmed());
    }
    EXPECT_EQ(p.window.commandButton(QStringLiteral("Cmd_feuillette"))->toolTip(),
              QStringLiteral(" Feuilleter la base entière "));
    EXPECT_EQ(p.window.commandButton(QStringLiteral("Cmd_Sélecte"))->toolTip(),
              QStringLiteral(" Voir l'état de la base   "));
    // The order of the bar, left to right.
    int lastX = -1;
    for (const QString &name : order) {
        const int x = p.window.commandButton(name)->x();
        EXPECT_GT(x, lastX) << name.toStdString();
        lastX = x;
    }
    // A configured program whose texts are copied shows no message; the pointer is normal.
    EXPECT_TRUE(p.fakes.messageBox.messages().isEmpty());
    EXPECT_FALSE(p.fakes.busyPointer.isBusy());
}

TEST(Startup, BasketsHoldingRowsShowTheirCounts)
{
    QTemporaryDir dir;
    const QString path = Program::base(dir, 300);
    {
        auto db = Database::open(path);
        db->execute(
            QStringLiteral("INSERT INTO [TSélection2] SELECT * FROM TArticles WHERE Rang <= 3"));
        db->execute(
            QStringLiteral("INSERT INTO [TSélection3] SELECT * FROM TArticles WHERE Rang = 7"));
    }
    Program p(path);
    p.configure();
    p.window.load();
    EXPECT_EQ(p.step("Lab_Base"), QStringLiteral("La base contient 300 références"));
    EXPECT_EQ(p.step("Lab_P1"), QStringLiteral("Le panier n° 1 est vide"));
    EXPECT_EQ(p.step("Lab_P2"), QStringLiteral("Références dans le panier n° 2 : 3"));
    EXPECT_EQ(p.step("Lab_P3"), QStringLiteral("Références dans le panier n° 3 : 1"));
    EXPECT_EQ(p.context.state.basketCounts[2], 3);

    // Every count label of every screen gets the counts.
    QLabel label2, label3;
    p.window.countLabels().add(2, &label2);
    p.window.countLabels().add(3, &label3);
    p.window.publishCounts();
    EXPECT_EQ(label2.text(), QStringLiteral("3"));
    EXPECT_EQ(label3.text(), QStringLiteral("1"));
}

TEST(Startup, AMissingBaseEndsTheStartUpWithoutCommands)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ferlin4.sqlite"));
    Program p(path);
    p.window.load();
    EXPECT_FALSE(p.window.startupSucceeded());
    ASSERT_EQ(p.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &m = p.fakes.messageBox.lastMessage();
    EXPECT_TRUE(m.text.startsWith(QStringLiteral(" Erreur  3024\r\n"))) << m.text.toStdString();
    EXPECT_EQ(m.shownTitle(), QStringLiteral("Ouverture avortée"));
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_FALSE(p.window.commandBar()->isVisibleTo(&p.window));
    EXPECT_TRUE(p.step("Lab_DB").isEmpty());
    EXPECT_FALSE(p.fakes.busyPointer.isBusy());
    EXPECT_FALSE(p.context.state.configLoaded);
    // The progress screen with the lines reached stays on screen.
    EXPECT_TRUE(p.window.isVisible());
    EXPECT_TRUE(p.window.intro()->isVisible());
    // The user can still leave through the title bar.
    EXPECT_TRUE(p.window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(p.window.close());
}

TEST(Startup, AMissingTableStopsAfterOpeningTheBase)
{
    QTemporaryDir dir;
    const QString path = Program::base(dir, 300);
    Database::open(path)->execute(QStringLiteral("DROP TABLE [TClés]"));
    Program p(path);
    p.configure();
    p.window.load();
    ASSERT_EQ(p.fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(p.fakes.messageBox.lastMessage().text,
              QStringLiteral("Ouverture de la base de données impossible. Base de structure "
                             "différente. Erreur  3011"));
    EXPECT_EQ(p.fakes.messageBox.lastMessage().shownTitle(), QStringLiteral("Ouverture avortée"));
    EXPECT_EQ(p.step("Lab_DB"), QStringLiteral("Base ouverte"));
    EXPECT_TRUE(p.step("Lab_listeclés").isEmpty());
    EXPECT_TRUE(p.step("Lab_OKFin").isEmpty());
    EXPECT_FALSE(p.commandShown("Cmd_feuillette"));
    EXPECT_FALSE(p.window.commandBar()->isVisibleTo(&p.window));
}

TEST(Startup, ABaseMissingAFieldOfTheReferencesIsRefusedAsAnotherStructure)
{
    for (const char *table : {"TArticles", "TSélection3"}) {
        QTemporaryDir dir;
        const QString path = Program::base(dir, 300);
        Database::open(path)->execute(QStringLiteral("ALTER TABLE [") + QString::fromUtf8(table) +
                                      QStringLiteral("] DROP COLUMN [Titre]"));
        Program p(path);
        p.configure();
        p.window.load();
        ASSERT_EQ(p.fakes.messageBox.messages().size(), 1) << table;
        EXPECT_EQ(p.fakes.messageBox.lastMessage().text,
                  QStringLiteral("Ouverture de la base de données impossible. Base de structure "
                                 "différente. Erreur  3011"));
        EXPECT_EQ(p.step("Lab_DB"), QStringLiteral("Base ouverte"));
        EXPECT_TRUE(p.step("Lab_listeclés").isEmpty());
        EXPECT_FALSE(p.window.startupSucceeded());
    }
}

TEST(Startup, FailureMessagesOfTheErrorTrap)
{
    auto m = Startup::failureMessage(3059, QString());
    EXPECT_EQ(m.text, QStringLiteral("Vous avez annulé l'ouverture de toute base de données."));
    EXPECT_EQ(m.title, QStringLiteral("Ouverture annuléee"));
    m = Startup::failureMessage(3343, QStringLiteral("Format de base de données non reconnu."));
    EXPECT_EQ(m.text, QStringLiteral(" Erreur  3343\r\nFormat de base de données non reconnu."));
    EXPECT_EQ(m.title, QStringLiteral("Ouverture avortée"));
}

TEST(Startup, AnEmptyBaseEndsAtTheCount)
{
    QTemporaryDir dir;
    const QString path = Program::base(dir, 300);
    Database::open(path)->execute(QStringLiteral("DELETE FROM TArticles"));
    Program p(path);
    p.window.load();
    EXPECT_TRUE(p.fakes.messageBox.lastMessage().text.startsWith(QStringLiteral(" Erreur  3021")));
    EXPECT_EQ(p.step("Lab_Listedomaines"), QStringLiteral("Liste des domaines créée"));
    EXPECT_TRUE(p.step("Lab_Base").isEmpty());
}

TEST(Startup, TextsNeverCopiedAreToldAtEveryStartButNotOnAFirstRun)
{
    QTemporaryDir dir;
    Program configured(Program::base(dir, 300));
    configured.configure("N");
    configured.window.load();
    ASSERT_EQ(configured.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &m = configured.fakes.messageBox.lastMessage();
    EXPECT_EQ(m.text,
              QStringLiteral("Les textes des articles n'ont pas été copiés sur un disque dur."
                             "\r\nIls ne seront accessibles qu'à partir des CD-ROM."));
    EXPECT_EQ(m.icon, MessageIcon::Information);
    EXPECT_FALSE(m.title.has_value()); // the program's title, "Ferlin 4"

    QTemporaryDir other;
    Program firstRun(Program::base(other, 300));
    bool autoConfigured = false;
    firstRun.window.setFirstRunConfiguration([&] { autoConfigured = true; });
    firstRun.window.load();
    EXPECT_TRUE(firstRun.window.startupSucceeded());
    EXPECT_TRUE(autoConfigured);
    EXPECT_TRUE(firstRun.fakes.messageBox.messages().isEmpty());
    EXPECT_EQ(firstRun.context.state.settings.textsCopied, u'N');
}

TEST(QuitDialog, NoHidesItAndYesSavesThenEnds)
{
    QTemporaryDir dir;
    Program p(Program::base(dir, 300));
    p.configure();
    p.window.load();
    p.window.commandButton(QStringLiteral("Cmd_Quitte"))->click();
    QuitDialog *quit = p.window.quitDialog();
    ASSERT_TRUE(quit->isVisible());
    EXPECT_FALSE(quit->isModal());
    EXPECT_EQ(quit->windowTitle(), QStringLiteral(" Quitter "));
    EXPECT_EQ(quit->findChild<QLabel *>(QStringLiteral("Lab_quitter"))->text(),
              QStringLiteral(" Voulez-vous vraiment quitter Ferlin ? "));
    auto *no = quit->findChild<QPushButton *>(QStringLiteral("Cmd_non"));
    auto *yes = quit->findChild<QPushButton *>(QStringLiteral("Cmd_oui"));
    EXPECT_EQ(no->text(), QStringLiteral("Non"));
    EXPECT_EQ(test::accessibleName(yes), QStringLiteral("Oui"));

    no->click();
    EXPECT_FALSE(quit->isVisible());
    EXPECT_TRUE(p.window.isVisible());
    EXPECT_TRUE(p.fakes.settings.writes().isEmpty());
    // The title bar cannot close the window: it asks instead.
    EXPECT_FALSE(p.window.close());
    EXPECT_TRUE(quit->isVisible());

    p.context.state.settings.pdfViewer = QStringLiteral(" /usr/bin/okular ");
    yes->click();
    EXPECT_FALSE(p.window.isVisible());
    EXPECT_EQ(p.fakes.settings.read(Settings::Key, QStringLiteral("LecteurPDF")),
              QStringLiteral("/usr/bin/okular"));
    EXPECT_EQ(p.fakes.settings.writtenNames().front(), QStringLiteral("Startup"));
}

TEST(MainWindow, ScreensAreReachedByNameAndThroughTheWindowMenu)
{
    QTemporaryDir dir;
    Program p(Program::base(dir, 300));
    p.configure();
    p.window.load();
    EXPECT_FALSE(p.window.showScreen(QStringLiteral("F_print")));
    auto *screen = new QWidget;
    screen->setObjectName(QStringLiteral("F_print"));
    screen->setWindowTitle(QStringLiteral("Impression"));
    p.window.addScreen(screen);
    ASSERT_TRUE(p.window.showScreen(QStringLiteral("F_print")));
    auto *area = p.window.findChild<QMdiArea *>();
    EXPECT_EQ(area->activeSubWindow()->widget(), screen);
    EXPECT_TRUE(area->activeSubWindow()->isMaximized());

    QMenu *menu = p.window.findChild<QMenu *>(QStringLiteral("Menu_Fenetres"));
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->title(), QStringLiteral("&Fenêtres"));
    Q_EMIT menu->aboutToShow();
    QAction *introItem = nullptr;
    for (QAction *a : menu->actions())
        if (a->text() == QStringLiteral("Ferlin"))
            introItem = a;
    ASSERT_TRUE(introItem);
    introItem->trigger();
    EXPECT_EQ(area->activeSubWindow()->widget(), p.window.intro());
}

TEST(MainWindow, CommandsWithoutTheirScreenStayDisabled)
{
    QTemporaryDir dir;
    Program p(Program::base(dir, 300));
    p.configure();
    p.window.load();
    for (const char *name : {"Cmd_Notepad", "Cmd_Aide", "Cmd_Quitte"})
        EXPECT_TRUE(p.window.commandButton(QString::fromUtf8(name))->isEnabled()) << name;
    // Without the program's screens installed, the commands that open one stay disabled.
    for (const char *name : {"Cmd_config", "Cmd_Sélecte", "Cmd_ORV"})
        EXPECT_FALSE(p.window.commandButton(QString::fromUtf8(name))->isEnabled()) << name;
    bool ran = false;
    p.window.setCommand(QStringLiteral("Cmd_ORV"), [&] { ran = true; });
    p.window.commandButton(QStringLiteral("Cmd_ORV"))->click();
    EXPECT_TRUE(ran);
}

TEST(Startup, TheStateScreenShowsTheBandsAndTheUpdateDate)
{
    QTemporaryDir dir;
    Program p(Program::base(dir));
    installScreens(p.window);
    p.configure();
    p.window.load();
    for (const char *name : {"Cmd_Sélecte", "Cmd_ORV"})
        EXPECT_TRUE(p.window.commandButton(QString::fromUtf8(name))->isEnabled()) << name;
    p.window.commandButton(QStringLiteral("Cmd_Sélecte"))->click();
    auto *screen = p.window.findChild<StateScreen *>(QStringLiteral("F_état"));
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->findChild<QLabel *>(QStringLiteral("Lab_DateMAJ"))->text(),
              QStringLiteral("15/04/2003"));
    // The generated base colours a period green, yellow or red by how much of it the base holds;
    // every period's articles are all referenced.
    const QColor green(0, 255, 0), yellow(255, 255, 0), red(255, 0, 0);
    for (int i = 0; i < StateBandBlocks; ++i) {
        EXPECT_EQ(screen->block(0, i)->fillColour(), green) << i;
        for (int row : {1, 2}) {
            const QColor colour = screen->block(row, i)->fillColour();
            EXPECT_TRUE(colour == green || colour == yellow || colour == red) << row << ' ' << i;
        }
    }
}

TEST(Startup, TheTextLocationPageShowsWhetherTheTextsWereCopied)
{
    for (const char *copied : {"N", "O"}) {
        QTemporaryDir dir;
        Program p(Program::base(dir, 300));
        installScreens(p.window);
        p.configure(copied);
        p.window.load();
        ASSERT_TRUE(p.window.showScreen(QStringLiteral("F_copie")));
        QWidget *page = p.window.screen(QStringLiteral("F_copie"));
        const bool onDisk = *copied == 'O';
        auto *diskOption = page->findChild<QRadioButton *>(QStringLiteral("Option_Textes_1"));
        EXPECT_EQ(diskOption->isEnabled(), onDisk) << copied;
        EXPECT_EQ(page->findChild<QGroupBox *>(QStringLiteral("Frame_HD"))->isVisible(), onDisk);
        if (!onDisk) {
            EXPECT_TRUE(
                page->findChild<QRadioButton *>(QStringLiteral("Option_Textes_0"))->isChecked());
            EXPECT_TRUE(page->findChild<QPushButton *>(QStringLiteral("Cmd_recopie"))->isVisible());
        }
        EXPECT_TRUE(p.window.commandButton(QStringLiteral("Cmd_config"))->isEnabled());
    }
}

TEST(Startup, ASettingsLoadFailureLeavesTheConfigurationInFront)
{
    QTemporaryDir dir;
    Program p(Program::base(dir, 300));
    installScreens(p.window);
    p.configure();
    p.fakes.settings.setValue(QStringLiteral("TextesHD"), QStringLiteral("peut-être"));
    p.window.load();
    ASSERT_TRUE(p.window.startupSucceeded());
    EXPECT_EQ(p.window.findChild<QMdiArea *>()->activeSubWindow()->widget()->objectName(),
              QStringLiteral("Config"));
}

TEST(MainWindow, TheWindowMenuListsEveryScreenTheStartupOpened)
{
    test::ProgramFixture p;
    p.window.load();
    ASSERT_TRUE(p.window.startupSucceeded());
    QMenu *menu = p.window.findChild<QMenu *>(QStringLiteral("Menu_Fenetres"));
    Q_EMIT menu->aboutToShow();
    QStringList items;
    for (QAction *a : menu->actions())
        items << a->text();
    for (const char *title : {"Configuration du programme", "Copie des textes sur disque dur",
                              "Etat de la base", "Fiche de la référence", "Sélection de références",
                              "Impression des références d'un panier", "Archivage des paniers"})
        EXPECT_TRUE(items.contains(QString::fromUtf8(title))) << title;
}
