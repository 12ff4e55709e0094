// The screen "Recherche dans les textes intégraux" in the program: the index built from the
// texts on a hard disk, a search, a page opened in the viewer, the references placed in a basket.
#include "app/commandline.h"
#include "app/helpwindow.h"
#include "core/context/settingsio.h"
#include "core/db/recordset.h"
#include "core/fulltext/fulltextresults.h"
#include "core/fulltext/textindex.h"
#include "core/fulltext/textindexer.h"
#include "gui/fulltext/fulltextscreen.h"
#include "pdfwriter.h"
#include "support/programfixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The program with three of its texts copied on a hard disk (the others missing): the first
// two mention a rare word, the first on two of its pages.
struct FullText : test::ProgramFixture {
    QList<int> rangs; // the three references with a PDF
    FullTextScreen *screen = nullptr;

    FullText()
    {
        window.load();
        Settings &settings = context.state.settings;
        settings.hardDiskFolder = dir.filePath(QStringLiteral("HD"));
        settings.setTextsOnHardDisk(true);
        settings.pdfViewer = QStringLiteral("/usr/bin/evince");
        auto set = context.catalogue.db->openRecordSet(
            QStringLiteral("SELECT * FROM TArticles WHERE TexteIntegral IS NOT NULL ORDER BY "
                           "Rang"));
        const QStringList texts[] = {{QStringLiteral("Un os zygomatique."),
                                      QStringLiteral("Le zygomatique et la lentille.")},
                                     {QStringLiteral("Encore le zygomatique.")},
                                     {QStringLiteral("Une lentille seulement.")}};
        for (const QStringList &pages : texts) {
            rangs << set->text(QStringLiteral("Rang")).toInt();
            writePdf(set->text(QStringLiteral("TexteIntegral")).mid(8), pages);
            set->moveNext();
        }
        screen = window.screenAs<FullTextScreen>(FullTextScreen::Name);
    }

    void writePdf(QString stored, const QStringList &texts)
    {
        std::vector<sample::PdfPage> pages;
        for (const QString &text : texts)
            pages.push_back({QStringLiteral("KVT"), QString(), {text}, QString()});
        const QString path =
            context.state.settings.hardDiskFolder + u'/' + stored.replace(u'\\', u'/');
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(sample::pdfDocument(pages));
    }

    // Opens the screen from the "Outils" menu; its first opening indexes the texts.
    void openAndIndex()
    {
        QSignalSpy ended(&screen->indexer(), &TextIndexer::ended);
        find<QAction>("Mnu_TextesIntegraux")->trigger();
        ASSERT_TRUE(ended.wait(30000));
    }

    void search(const QString &typed)
    {
        fakes.messageBox.clear();
        find<QLineEdit>("Txt_Recherche")->setText(typed);
        find<QPushButton>("Cmd_Rechercher")->click();
        waitForTheQuery();
    }

    // The query runs off the user-interface thread; its result comes through the event loop.
    void waitForTheQuery()
    {
        QElapsedTimer clock;
        clock.start();
        while (screen->isSearching() && clock.elapsed() < 10000)
            QTest::qWait(5);
        EXPECT_FALSE(screen->isSearching());
    }

    QList<int> rangsIn(int basket) const
    {
        auto set = context.catalogue.db->openRecordSet(QStringLiteral("SELECT * FROM TSélection") +
                                                       QString::number(basket));
        QList<int> in;
        for (set->moveFirst(); !set->isEof(); set->moveNext())
            in << set->text(QStringLiteral("Rang")).toInt();
        std::sort(in.begin(), in.end());
        return in;
    }
};

} // namespace

TEST(FullTextScreen, IndexesTheReadableTextsFindsTheirPagesAndOpensOne)
{
    FullText p;
    p.openAndIndex();
    const int existing = p.context.catalogue.db
                             ->scalar(QStringLiteral("SELECT count(*) FROM TArticles WHERE "
                                                     "TexteIntegral IS NOT NULL"))
                             .toInt();
    EXPECT_EQ(p.find<QLabel>("Lab_Index")->text(),
              QStringLiteral("3 textes indexés sur %1. Indexation terminée : 3 textes lus, 0 déjà "
                             "à jour, %2 non indexés.")
                  .arg(existing)
                  .arg(existing - 3));
    EXPECT_EQ(p.window.findChild<QWidget *>(QStringLiteral("Liste_NonIndexes"))->isVisible(), true);

    p.search(QStringLiteral("ZYGOMATIQUE"));
    EXPECT_EQ(p.find<QLabel>("Lab_Resultat")->text(),
              QStringLiteral("2 références trouvées sur 3 pages."));
    const FullTextResultModel &results = p.screen->results();
    ASSERT_EQ(results.rowCount(), 3);
    auto set = p.context.catalogue.db->openRecordSet(QStringLiteral("SELECT * FROM TArticles"));
    for (int row = 0; row < 3; ++row) {
        const int rang = results.hit(row).rang;
        ASSERT_TRUE(set->findFirst(QStringLiteral("Rang = ") + QString::number(rang)));
        EXPECT_EQ(results.index(row, FullTextResultModel::TitleColumn).data().toString(),
                  set->text(QStringLiteral("Titre")).trimmed());
        EXPECT_EQ(results.index(row, FullTextResultModel::YearColumn).data().toString(),
                  set->text(QStringLiteral("An")));
        EXPECT_TRUE(results.index(row, FullTextResultModel::ExtractColumn)
                        .data(FullTextResultModel::ExtractHtmlRole)
                        .toString()
                        .contains(QStringLiteral("<b>zygomatique</b>")));
    }

    // Enter on the second page of the first text opens the viewer there, seeking the word.
    auto *list = p.find<QTableView>("Liste_Resultats");
    int row = 0;
    while (results.hit(row).rang != p.rangs[0] || results.hit(row).page != 2)
        ++row;
    list->setFocus();
    list->setCurrentIndex(results.index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(p.fakes.launcher.starts().size(), 1);
    const FakeLauncher::Start &start = p.fakes.launcher.starts().front();
    EXPECT_EQ(start.program, QStringLiteral("/usr/bin/evince"));
    ASSERT_EQ(start.arguments.size(), 3);
    EXPECT_EQ(start.arguments.mid(0, 2), (QStringList{QStringLiteral("--page-index=2"),
                                                      QStringLiteral("--find=ZYGOMATIQUE")}));
    EXPECT_TRUE(QFileInfo(start.arguments[2]).isFile());

    // A query the index cannot take is explained, and the results stay.
    p.search(QStringLiteral("zygomatique ET"));
    ASSERT_EQ(p.fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(p.fakes.messageBox.lastMessage().text,
              QStringLiteral("La recherche ne peut pas finir par « ET » : mettez un mot après."));
    EXPECT_EQ(p.fakes.messageBox.lastMessage().shownTitle(), FullTextScreen::Title);
    EXPECT_EQ(results.rowCount(), 3);

    // Opened again, the index skips every text it holds.
    QSignalSpy ended(&p.screen->indexer(), &TextIndexer::ended);
    p.find<QPushButton>("Cmd_Indexer")->click();
    ASSERT_TRUE(ended.wait(30000));
    EXPECT_TRUE(
        p.find<QLabel>("Lab_Index")->text().contains(QStringLiteral(" 0 texte lu, 3 déjà à jour")));
}

TEST(FullTextScreen, ClosingTheScreenStopsARunningQuery)
{
    FullText p;
    p.openAndIndex();
    p.find<QLineEdit>("Txt_Recherche")->setText(QStringLiteral("zygomatique"));
    p.find<QPushButton>("Cmd_Rechercher")->click();
    EXPECT_TRUE(p.screen->isSearching());
    EXPECT_EQ(p.find<QLabel>("Lab_Resultat")->text(), QStringLiteral("Recherche en cours..."));
    EXPECT_TRUE(p.fakes.busyPointer.isBusy());
    p.screen->hide();
    EXPECT_FALSE(p.screen->isSearching());
    EXPECT_FALSE(p.fakes.busyPointer.isBusy());
    QTest::qWait(100);
    EXPECT_EQ(p.screen->results().rowCount(), 0) << "its result is never shown";
}

TEST(FullTextScreen, PlacesTheReferencesFoundAsASearchDoesInBothModes)
{
    FullText p;
    p.openAndIndex();
    p.search(QStringLiteral("zygomatique"));
    p.fakes.messageBox.clear();
    p.find<QPushButton>("Cmd_Placer")->click();
    QList<RecordedMessage> messages = p.fakes.messageBox.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text, QStringLiteral("2 références ont été trouvées") + CrLf +
                                    QStringLiteral("Copier le résultat de cette recherche dans le "
                                                   "panier 1 ?"));
    EXPECT_EQ(messages[1].text,
              QStringLiteral("2 références ont été ajoutées dans le panier n° 1"));
    QList<int> expected = {p.rangs[0], p.rangs[1]};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(p.rangsIn(1), expected);
    EXPECT_EQ(p.context.state.basketCounts[1], 2);
    EXPECT_EQ(p.find<QLabel>("Lab_NbPanier_1")->text(), QStringLiteral("2"));
    EXPECT_EQ(p.window.findChild<QWidget *>(QStringLiteral("F_grille"))->isVisible(), true);

    // Replacing basket 1 by the one text that speaks of a lentil alone: warned, then emptied.
    p.window.showScreen(FullTextScreen::Name);
    p.search(QStringLiteral("lentille SAUF zygomatique"));
    p.find<QRadioButton>("Option_Placement_1")->click();
    p.fakes.messageBox.clear();
    p.find<QPushButton>("Cmd_Placer")->click();
    messages = p.fakes.messageBox.messages();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[0].text, QStringLiteral("Une référence a été trouvée"));
    EXPECT_EQ(messages[1].text, QStringLiteral("Attention, le panier 1 va être vidé et son "
                                               "contenu perdu.") +
                                    CrLf + QStringLiteral("On continue ?"));
    EXPECT_EQ(messages[2].text, QStringLiteral("Une référence a été placée dans le panier n° 1"));
    EXPECT_EQ(p.rangsIn(1), QList<int>{p.rangs[2]});
    EXPECT_EQ(p.find<QLabel>("Lab_NbPanier_1")->text(), QStringLiteral("1"));
}

TEST(FullTextScreen, TheToolsMenuOpensItAndF1ExplainsIt)
{
    test::ProgramFixture p;
    p.window.load();
    QAction *action = p.find<QAction>("Mnu_TextesIntegraux");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->text(), QStringLiteral("&Recherche dans les textes intégraux…"));
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    EXPECT_TRUE(p.find<QMenu>("Menu_Outils")->menuAction()->isVisible());
    action->trigger();
    auto *box = p.find<QLineEdit>("Txt_Recherche");
    ASSERT_TRUE(box && box->isVisible());

    box->setFocus();
    QTest::keyClick(box, Qt::Key_F1);
    auto *help = p.window.findChild<HelpWindow *>(QStringLiteral("Aide"));
    ASSERT_TRUE(help);
    EXPECT_TRUE(
        help->browser()->source().toString().endsWith(QStringLiteral("textesintegraux.html")));
    EXPECT_TRUE(help->browser()->toPlainText().contains(FullTextScreen::Title));
}

// "ferlin --index-texts": the index built without the window, on the base and the texts the
// window would use; a text that hangs its reader is listed, and the run still ends as done.
TEST(IndexTextsCommand, IndexesWhatTheWindowWouldAndListsTheRest)
{
    const QString hostile = QStringLiteral(FERLIN_HOSTILE_TESTDATA "/xobject-billion-laughs.pdf");
    if (!QFile::exists(hostile))
        GTEST_SKIP() << "no hostile test files";
    FullText program;
    // The third text hangs Poppler.
    auto set = program.context.catalogue.db->openRecordSet(
        QStringLiteral("SELECT * FROM TArticles WHERE TexteIntegral IS NOT NULL ORDER BY Rang"));
    set->moveNext();
    set->moveNext();
    const QString third = program.context.state.settings.hardDiskFolder + u'/' +
                          set->text(QStringLiteral("TexteIntegral")).mid(8).replace(u'\\', u'/');
    ASSERT_TRUE(QFile::remove(third));
    ASSERT_TRUE(QFile::copy(hostile, third));
    SaveSettings(program.fakes.settings, program.fakes.messageBox, program.context.state.settings,
                 true);

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const std::optional<int> status = RunCommandLine(
        {QStringLiteral("ferlin"), QStringLiteral("--index-texts")}, program.context.databasePath,
        outStream, errStream, openPublishedBase, &program.fakes.settings);
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Textes indexés : 2, déjà à jour : 0, non indexés :")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("  ") + QDir::cleanPath(third) +
                             QStringLiteral(" : fichier endommagé : sa lecture ne progresse plus")))
        << out.toStdString();
    TextIndex index(TextIndex::pathBeside(program.context.databasePath));
    EXPECT_EQ(index.textCount(), 2);
}
