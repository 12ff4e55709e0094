// The whole program driven as a teacher would use it, on a base of the full size: browse, go to
// a year, fill the baskets by hand and by searching, list, transfer, print into a PDF file,
// archive and read the archives back, configure, quit, and start again.
#include "app/introscreen.h"
#include "app/quitdialog.h"
#include "e2e/basereader.h"
#include "e2e/userprogram.h"
#include "gui/baskets/basketgridmodel.h"
#include "gui/baskets/basketlist.h"
#include "gui/output/archivewindow.h"
#include "gui/output/printscreen.h"
#include "gui/record/recordcard.h"
#include "gui/search/keywordpicker.h"
#include "support/samplebasecopy.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace ferlin;
using namespace ferlin::test;

namespace {

constexpr int References = 6773;
const QString Viewer = QStringLiteral("/opt/visionneuse/bin/lecteur-pdf");

// The walk of one user through the program; each step leaves the program where the next
// one starts.
class Walkthrough : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString base = test::copyOfGeneratedBase(dir, References);
    BaseReader sql{base};
    std::unique_ptr<Program> program = std::make_unique<Program>(base);

    // The search criteria, chosen from the base so that each search finds several references.
    QString keyword1, keyword2;
    const QString yearFrom = QStringLiteral("1960"), yearTo = QStringLiteral("2001");
    QStringList basket1Titles; // added on the card
    QStringList listedTitles;  // basket 2 as its list shows it, newest first
    int andCount = 0, orCount = 0;

    Walkthrough() { storeConfiguredSettings(program->fakes.settings); }

    // The conditions of the two searches, as plain SQL: the first keyword surrounded by blanks;
    // a keyword joined by ET too; one joined by OU only followed by a blank; the years excluded.
    QString years() const
    {
        return QStringLiteral(" AND An > %1 AND An < %2").arg(yearFrom, yearTo);
    }
    QString andCondition(const QString &a, const QString &b) const
    {
        return QStringLiteral("MotsCles LIKE '% %1 %' AND MotsCles LIKE '% %2 %'").arg(a, b) +
               years();
    }
    QString orCondition(const QString &a, const QString &b) const
    {
        return QStringLiteral("(MotsCles LIKE '% %1 %' OR MotsCles LIKE '%%2 %')").arg(a, b) +
               years();
    }
    int countWhere(const QString &condition) const
    {
        return sql.number(QStringLiteral("SELECT count(*) FROM TArticles WHERE ") + condition);
    }
    QStringList sortedTitles(const QString &table, const QString &condition = QString()) const
    {
        QStringList titles =
            sql.texts(QStringLiteral("SELECT Titre FROM [") + table + QStringLiteral("]") +
                      (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition));
        titles.sort();
        return titles;
    }

    void chooseKeywords()
    {
        // Plain lowercase keywords, so that any LIKE compares them alike.
        const QStringList candidates =
            sql.texts(QStringLiteral("SELECT k.Clé FROM TClés k WHERE k.Clé NOT GLOB '*[^a-z]*' "
                                     "ORDER BY (SELECT count(*) FROM TArticles WHERE MotsCles "
                                     "LIKE '% ' || k.Clé || ' %') DESC LIMIT 12"));
        for (const QString &a : candidates) {
            for (const QString &b : candidates) {
                if (a == b)
                    continue;
                const int both = countWhere(andCondition(a, b));
                const int either = countWhere(orCondition(a, b));
                if (both >= 3 && either > both && either <= 250) {
                    keyword1 = a;
                    keyword2 = b;
                    andCount = both;
                    orCount = either;
                    return;
                }
            }
        }
        FAIL() << "no pair of keywords fits among " << candidates.join(u',').toStdString();
    }

    // The keyword picker, opened by a click on the keyword label of the search screen and
    // driven while it waits; "Suite" closes it.
    void pickKeywords(const std::function<void(KeywordPicker *)> &choose)
    {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto *picker = program->window.findChild<KeywordPicker *>(QStringLiteral("Clesfr"));
            ASSERT_TRUE(picker);
            EXPECT_TRUE(picker->isModal() && picker->isVisible());
            choose(picker);
            picker->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
            driven = true;
        });
        QTest::mouseClick(program->in<QLabel>("Selecfr", "Lab_cle1"), Qt::LeftButton);
        EXPECT_TRUE(driven);
    }

public:
    // The steps, in the order of the walk.
    void start();
    void browse();
    void goToYearAndFillBasket1();
    void searchIntoBasket2();
    void listBasket2AndOpenALine();
    void transferBasket2IntoBasket3();
    void printBasket3();
    void archiveBasket3();
    void configureAndQuit();
    void startAgain();
};

void Walkthrough::start()
{
    program->window.load();
    ASSERT_TRUE(program->window.startupSucceeded());
    EXPECT_TRUE(program->messages().isEmpty());
    EXPECT_EQ(program->window.intro()->stepLabel(QStringLiteral("Lab_Base"))->text(),
              QStringLiteral("La base contient 6773 références"));
    EXPECT_EQ(program->window.intro()->stepLabel(QStringLiteral("Lab_P1"))->text(),
              QStringLiteral("Le panier n° 1 est vide"));
    EXPECT_EQ(program->front(), QStringLiteral("Intro"));
}

void Walkthrough::browse()
{
    Program &p = *program;
    p.command("Cmd_feuillette");
    EXPECT_EQ(p.front(), QStringLiteral("F_formul"));
    EXPECT_EQ(p.label("F_formul", "Lab_NumPanier"), QStringLiteral("BASE ENTIÈRE"));
    // The card stands on the newest reference: the first of the table.
    const auto titleAt = [this](int position) {
        return sql.text(QStringLiteral("SELECT Titre FROM TArticles ORDER BY rowid LIMIT 1 "
                                       "OFFSET %1")
                            .arg(position - 1));
    };
    const auto shownTitle = [&p] {
        return p.in<QPlainTextEdit>("F_formul", "Text1")->toPlainText();
    };
    EXPECT_EQ(p.label("F_formul", "Lab_rang"), QStringLiteral(" Référence (Base) : 6773 / 6773"));
    EXPECT_EQ(shownTitle(), titleAt(1));
    p.click("F_formul", "Cmd_Droite");
    EXPECT_EQ(p.label("F_formul", "Lab_rang"), QStringLiteral(" Référence (Base) : 6772 / 6773"));
    EXPECT_EQ(shownTitle(), titleAt(2));
    p.click("F_formul", "Cmd_Droite");
    p.click("F_formul", "Cmd_Gauche");
    EXPECT_EQ(p.label("F_formul", "Lab_rang"), QStringLiteral(" Référence (Base) : 6772 / 6773"));
    p.click("F_formul", "Cmd_Fin");
    EXPECT_EQ(p.label("F_formul", "Lab_rang"), QStringLiteral(" Référence (Base) : 1 / 6773"));
    EXPECT_EQ(shownTitle(), titleAt(References));
    EXPECT_FALSE(p.in<QWidget>("F_formul", "Cmd_Droite")->isEnabled());
    p.click("F_formul", "Cmd_Debut");
    EXPECT_EQ(p.label("F_formul", "Lab_rang"), QStringLiteral(" Référence (Base) : 6773 / 6773"));
    EXPECT_EQ(shownTitle(), titleAt(1));
    EXPECT_FALSE(p.in<QWidget>("F_formul", "Cmd_Gauche")->isEnabled());
}

void Walkthrough::goToYearAndFillBasket1()
{
    Program &p = *program;
    p.click("F_formul", "Cmd_Naviguer");
    auto *panel = p.in<QGroupBox>("F_formul", "Frame_Navigue");
    ASSERT_TRUE(panel->isVisible());
    QTest::keyClicks(p.in<QLineEdit>("F_formul", "Text_An"), QStringLiteral("1985"));
    QTest::keyClick(p.in<QLineEdit>("F_formul", "Text_An"), Qt::Key_Return);
    EXPECT_FALSE(panel->isVisible());
    // The last reference of that year in the order of the base: its oldest article.
    const int position =
        sql.number(QStringLiteral("SELECT max(rowid) FROM TArticles WHERE An = 1985"));
    ASSERT_GT(position, 0);
    EXPECT_EQ(p.label("F_formul", "Lab_an"), QStringLiteral("1985"));
    EXPECT_EQ(p.label("F_formul", "Lab_rang"),
              QStringLiteral(" Référence (Base) : %1 / 6773").arg(References - position + 1));
    const QString title =
        sql.text(QStringLiteral("SELECT Titre FROM TArticles WHERE rowid = %1").arg(position));
    EXPECT_EQ(p.in<QPlainTextEdit>("F_formul", "Text1")->toPlainText(), title);

    // That reference and the one after it go into basket 1.
    p.click("F_formul", "Cmd_AjoutSel");
    ASSERT_TRUE(p.in<QWidget>("F_formul", "Frame_Ajoute")->isVisible());
    EXPECT_TRUE(p.in<QRadioButton>("F_formul", "Option2_0")->isChecked());
    p.click("F_formul", "Command2");
    EXPECT_FALSE(p.in<QWidget>("F_formul", "Frame_Ajoute")->isVisible());
    p.expectCounts(1, 0, 0);
    p.click("F_formul", "Cmd_Droite");
    p.click("F_formul", "Cmd_AjoutSel");
    p.click("F_formul", "Command2");
    EXPECT_TRUE(p.messages().isEmpty());
    p.expectCounts(2, 0, 0);
    EXPECT_EQ(p.label("F_formul", "Lab_NbRefP1"), QStringLiteral("2"));

    basket1Titles =
        sortedTitles(QStringLiteral("TArticles"),
                     QStringLiteral("rowid IN (%1, %2)").arg(position).arg(position + 1));
    EXPECT_EQ(sortedTitles(QStringLiteral("TSélection1")), basket1Titles);
    EXPECT_EQ(sql.rowsNotInTheBase(QStringLiteral("TSélection1")), 0);
}

void Walkthrough::searchIntoBasket2()
{
    Program &p = *program;
    ASSERT_NO_FATAL_FAILURE(chooseKeywords());
    const auto rangs = [this](const QString &table, const QString &condition = QString()) {
        return sql.texts(QStringLiteral("SELECT Rang FROM [") + table + QStringLiteral("]") +
                         (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition) +
                         QStringLiteral(" ORDER BY Rang"));
    };

    p.command("Cmd_selections");
    EXPECT_EQ(p.front(), QStringLiteral("Selecfr"));
    p.click("Selecfr", "Check_cles");
    pickKeywords([this](KeywordPicker *picker) {
        clickEntry(picker->findChild<QListWidget *>(QStringLiteral("List1")), keyword1);
        QTest::mouseClick(picker->findChild<QRadioButton *>(QStringLiteral("Option_mots_0")),
                          Qt::LeftButton);
        clickEntry(picker->findChild<QListWidget *>(QStringLiteral("List1")), keyword2);
        EXPECT_EQ(picker->findChild<QLabel *>(QStringLiteral("Lab_nbclés"))->text(),
                  QStringLiteral(" 2 mots sélectionnés."));
    });
    EXPECT_EQ(p.label("Selecfr", "Lab_cle1"), keyword1);
    EXPECT_EQ(p.label("Selecfr", "Lab_cle_et"), keyword2 + QChar(10) + u' ');
    p.click("Selecfr", "Check_An");
    QTest::keyClicks(p.in<QLineEdit>("Selecfr", "T_an1"), yearFrom);
    QTest::keyClicks(p.in<QLineEdit>("Selecfr", "T_an2"), yearTo);
    p.click("Selecfr", "NuméroPanier_1");
    p.click("Selecfr", "Option_panier_1");

    p.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    p.click("Selecfr", "Cmd_selection");
    const QString basket2 = QStringLiteral("TSélection2");
    EXPECT_EQ(
        p.messages(),
        (QStringList{
            QStringLiteral("%1 références ont été trouvées\r\nCopier le résultat "
                           "de cette recherche dans le panier 2 ?")
                .arg(andCount),
            QStringLiteral("%1 références ont été placées dans le panier n° 2").arg(andCount)}));
    EXPECT_EQ(sql.number(QStringLiteral("SELECT count(*) FROM [TSélection2]")), andCount);
    EXPECT_EQ(rangs(basket2), rangs(QStringLiteral("TArticles"), andCondition(keyword1, keyword2)));
    p.expectCounts(2, andCount, 0);
    EXPECT_EQ(p.front(), QStringLiteral("F_grille"));
    EXPECT_EQ(p.label("F_grille", "Lab_NbRefPanier"), QString::number(andCount));

    // The same keywords joined by OU replace the basket, after the warning.
    p.fakes.messageBox.clear();
    p.command("Cmd_selections");
    pickKeywords([this](KeywordPicker *picker) {
        clickEntry(picker->findChild<QListWidget *>(QStringLiteral("L_ET")), keyword2);
        QTest::mouseClick(picker->findChild<QRadioButton *>(QStringLiteral("Option_mots_1")),
                          Qt::LeftButton);
        clickEntry(picker->findChild<QListWidget *>(QStringLiteral("List1")), keyword2);
    });
    EXPECT_EQ(p.label("Selecfr", "Lab_cle_et"), QString());
    EXPECT_EQ(p.label("Selecfr", "Lab_cle_ou"), keyword2 + QChar(10) + u' ');
    p.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    p.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    p.click("Selecfr", "Cmd_selection");
    EXPECT_EQ(
        p.messages(),
        (QStringList{
            QStringLiteral("%1 références ont été trouvées\r\nCopier le résultat "
                           "de cette recherche dans le panier 2 ?")
                .arg(orCount),
            QStringLiteral("Attention, le panier 2 va être vidé et son contenu "
                           "perdu.\r\nOn continue ?"),
            QStringLiteral("%1 références ont été placées dans le panier n° 2").arg(orCount)}));
    EXPECT_EQ(rangs(basket2), rangs(QStringLiteral("TArticles"), orCondition(keyword1, keyword2)));
    EXPECT_EQ(sql.rowsNotInTheBase(basket2), 0);
    p.expectCounts(2, orCount, 0);
    EXPECT_EQ(p.window.context().state.currentBasket, 2);
}

void Walkthrough::listBasket2AndOpenALine()
{
    Program &p = *program;
    p.fakes.messageBox.clear();
    p.command("Cmd_voirpanier");
    EXPECT_EQ(p.front(), QStringLiteral("F_grille"));
    EXPECT_FALSE(p.window.intro()->progressFrame()->isVisible());
    EXPECT_TRUE(p.messages().isEmpty());
    auto *list = p.window.screenAs<BasketList>(QStringLiteral("F_grille"));
    EXPECT_EQ(p.label("F_grille", "Lab_NumPanier"), QStringLiteral("2"));
    EXPECT_EQ(p.label("F_grille", "Lab_NbRefPanier"), QString::number(orCount));
    BasketGridModel *model = list->gridModel();
    ASSERT_EQ(model->rowCount(), orCount);
    QStringList titles;
    int lastYear = 9999;
    for (int row = 0; row < model->rowCount(); ++row) {
        const int year = model->index(row, 0).data().toInt();
        EXPECT_LE(year, lastYear) << "line " << row; // newest first
        lastYear = year;
        titles << model->index(row, 3).data().toString();
    }
    listedTitles = titles;
    titles.sort();
    EXPECT_EQ(titles, sortedTitles(QStringLiteral("TSélection2")));

    // A click on the third line shows its reference on the card.
    const QString title = model->index(2, 3).data().toString();
    QTableView *grid = list->grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(model->index(2, 3)).center());
    EXPECT_EQ(p.front(), QStringLiteral("F_formul"));
    EXPECT_EQ(p.in<QPlainTextEdit>("F_formul", "Text1")->toPlainText(), title);
    EXPECT_EQ(p.label("F_formul", "Lab_NumPanier"), QStringLiteral("PANIER N° 2"));
    EXPECT_EQ(p.label("F_formul", "Lab_rang"),
              QStringLiteral(" Référence (Sélection) : %1 / %2").arg(orCount - 2).arg(orCount));
    p.click("F_formul", "Cmd_Grille");
    EXPECT_EQ(p.front(), QStringLiteral("F_grille"));
}

void Walkthrough::transferBasket2IntoBasket3()
{
    Program &p = *program;
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = p.window.findChild<QDialog *>(QStringLiteral("F_Transferts"));
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->isModal() && dialog->isVisible());
        dialog->findChild<QRadioButton *>(QStringLiteral("Option_videP_1"))->click();
        dialog->findChild<QRadioButton *>(QStringLiteral("Option_Vers_2"))->click();
        dialog->findChild<QRadioButton *>(QStringLiteral("Option_AR_0"))->click();
        EXPECT_EQ(dialog->findChild<QRadioButton *>(QStringLiteral("Option_AR_0"))->text(),
                  QStringLiteral("Ajouter"));
        dialog->findChild<QAbstractButton *>(QStringLiteral("Cmd_Voir"))->click();
        EXPECT_FALSE(dialog->isVisible());
        driven = true;
    });
    p.click("F_grille", "Cmd_transferts");
    EXPECT_TRUE(driven);
    EXPECT_EQ(p.messages(),
              QStringList{QStringLiteral("%1 références ajoutées au panier 3").arg(orCount)});
    p.expectCounts(2, orCount, orCount);
    EXPECT_EQ(sortedTitles(QStringLiteral("TSélection3")),
              sortedTitles(QStringLiteral("TSélection2")));
    // Whole rows: every column of the copy is the reference's own.
    EXPECT_EQ(sql.rowsNotInTheBase(QStringLiteral("TSélection3")), 0);

    // Basket 3 becomes the current basket.
    p.click("F_grille", "OptionP_2");
    EXPECT_EQ(p.label("F_grille", "Lab_NumPanier"), QStringLiteral("3"));
    EXPECT_EQ(p.label("F_grille", "Lab_NbRefPanier"), QString::number(orCount));
    EXPECT_EQ(p.window.context().state.currentBasket, 3);
    // Listed in the same order as basket 2.
    EXPECT_EQ(p.gridColumn(3), listedTitles);
}

void Walkthrough::printBasket3()
{
    Program &p = *program;
    p.fakes.messageBox.clear();
    // The print screen has no command: the window menu reaches it.
    auto *menu = p.window.findChild<QMenu *>(QStringLiteral("Menu_Fenetres"));
    ASSERT_TRUE(menu);
    Q_EMIT menu->aboutToShow();
    QAction *item = nullptr;
    for (QAction *action : menu->actions())
        if (action->text() == QStringLiteral("Impression des références d'un panier"))
            item = action;
    ASSERT_TRUE(item);
    item->trigger();
    EXPECT_EQ(p.front(), QStringLiteral("F_print"));
    EXPECT_EQ(p.label("F_print", "Lab_NumPanier"), QStringLiteral("3"));
    EXPECT_EQ(p.label("F_print", "Lab_NbRefP"), QString::number(orCount));
    p.click("F_print", "Check_titre");
    ASSERT_TRUE(p.in<QCheckBox>("F_print", "Check_titre")->isChecked());

    const QString pdf = dir.filePath(QStringLiteral("panier 3.pdf"));
    auto *screen = p.window.screenAs<PrintScreen>(QStringLiteral("F_print"));
    int asked = 0;
    screen->setPdfFileChooser([&] {
        ++asked;
        return pdf;
    });
    p.fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    const QString heading = QStringLiteral("Lectures d'optique");
    QTimer::singleShot(0, [&] {
        QDialog *dialog = screen->titleDialog();
        EXPECT_TRUE(dialog->isVisible());
        QTest::keyClicks(dialog->findChild<QLineEdit *>(QStringLiteral("T_Titre")), heading);
        dialog->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    });
    p.click("F_print", "Cmd_Print");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(p.messages(),
              QStringList{QStringLiteral("Aucune imprimante n'est installée. Voulez-vous "
                                         "enregistrer l'impression dans un fichier PDF ?")});
    // The print ends with the card on the basket's first reference.
    EXPECT_EQ(p.front(), QStringLiteral("F_formul"));
    EXPECT_EQ(p.label("F_formul", "Lab_NumPanier"), QStringLiteral("PANIER N° 3"));
    ASSERT_TRUE(QFile::exists(pdf));

    const QString printed = withoutBlanks(pdfText(pdf));
    ASSERT_FALSE(printed.isEmpty());
    EXPECT_TRUE(printed.contains(withoutBlanks(heading)));
    EXPECT_TRUE(printed.contains(
        withoutBlanks(QStringLiteral("%1 références dans le panier.").arg(orCount))));
    EXPECT_TRUE(printed.contains(QStringLiteral("Findelasélection.")));
    // Every title, in the order of the list.
    qsizetype from = 0;
    for (const QString &title : std::as_const(listedTitles)) {
        const qsizetype at =
            printed.indexOf(withoutBlanks(QStringLiteral("Titre : ") + title), from);
        EXPECT_GE(at, 0) << title.toStdString();
        from = std::max(from, at);
    }
}

void Walkthrough::archiveBasket3()
{
    Program &p = *program;
    p.fakes.messageBox.clear();
    p.command("Cmd_ArchivP");
    EXPECT_EQ(p.front(), QStringLiteral("F_Export"));
    auto *window = p.window.screenAs<ArchiveWindow>(QStringLiteral("F_Export"));
    p.click("F_Export", "OpP_2");
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE("archive type " + std::to_string(type + 1));
        p.click("F_Export", QByteArray("Op_TypeEx_" + QByteArray::number(type)).constData());
        if (type == 3) {
            // The custom archive: the titles only.
            p.click("F_Export", "Cmd_Coches");
            ASSERT_TRUE(p.in<QGroupBox>("F_Export", "Frame3")->isVisible());
            p.click("F_Export", "Check_titre");
            ASSERT_TRUE(p.in<QCheckBox>("F_Export", "Check_titre")->isChecked());
        }
        p.click("F_Export", "Cmd_Archive");
        EXPECT_EQ(p.label("F_Export", "Lbl_NomExport"), QStringLiteral("Archive du panier n° 3"));
        QTextEdit *text = window->textBox();
        const QString built = text->toPlainText();
        qsizetype from = 0;
        for (const QString &title : std::as_const(listedTitles)) {
            const qsizetype at = built.indexOf(title, from);
            EXPECT_GE(at, 0) << title.toStdString();
            from = std::max(from, at);
        }

        const QString file = dir.filePath(QStringLiteral("archive%1.rtf").arg(type + 1));
        window->setExportFileProvider([file] { return file; });
        p.click("F_Export", "Cmd_Exporte");
        EXPECT_EQ(p.label("F_Export", "Lbl_NomExport"),
                  QStringLiteral("Nom de l'export : ") + file);
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_TRUE(written.readAll().startsWith("{\\rtf"));

        text->clear();
        window->setImportFileProvider([file] { return file; });
        p.click("F_Export", "Cmd_Importe");
        EXPECT_EQ(p.label("F_Export", "Lbl_NomExport"),
                  QStringLiteral(" Archive importée : ") + file);
        EXPECT_EQ(text->toPlainText(), built);
    }
    EXPECT_TRUE(p.messages().isEmpty());
}

void Walkthrough::configureAndQuit()
{
    Program &p = *program;
    // Page 1: the viewer's path typed in its box.
    const auto typeViewer = [&p](const QString &path) {
        p.click("Config", "Cmd_PDF");
        QLineEdit *viewer = p.in<QLineEdit>("Config", "T_PDF");
        ASSERT_TRUE(viewer->isVisible());
        viewer->selectAll();
        QTest::keyClick(viewer, Qt::Key_Delete);
        QTest::keyClicks(viewer, path);
        EXPECT_EQ(p.label("Config", "Lbl_cheminPDF"), path);
        p.click("Config", "Cmd_SuitePDF");
    };
    p.command("Cmd_config");
    EXPECT_EQ(p.front(), QStringLiteral("Config"));
    const QString firstViewer = QStringLiteral("/usr/local/bin/ancien-lecteur");
    ASSERT_NO_FATAL_FAILURE(typeViewer(firstViewer));
    // Page 2 saves the configuration.
    QTest::mouseClick(p.in<QLabel>("Config", "Label5"), Qt::LeftButton);
    EXPECT_EQ(p.front(), QStringLiteral("F_copie"));
    p.click("F_copie", "Cmd_config");
    EXPECT_EQ(p.fakes.messageBox.lastMessage().text,
              QStringLiteral("Le paramétrage a été sauvegardé"));
    EXPECT_EQ(p.fakes.settings.read(Settings::Key, QStringLiteral("LecteurPDF")), firstViewer);

    // Changed again and not saved: quitting saves it.
    QTest::mouseClick(p.in<QLabel>("F_copie", "Label3"), Qt::LeftButton);
    EXPECT_EQ(p.front(), QStringLiteral("Config"));
    ASSERT_NO_FATAL_FAILURE(typeViewer(Viewer));
    EXPECT_EQ(p.fakes.settings.read(Settings::Key, QStringLiteral("LecteurPDF")), firstViewer);
    p.command("Cmd_Quitte");
    QuitDialog *quit = p.window.quitDialog();
    ASSERT_TRUE(quit->isVisible());
    auto *yes = quit->findChild<QPushButton *>(QStringLiteral("Cmd_oui"));
    EXPECT_EQ(yes->text(), QStringLiteral("Oui"));
    yes->click();
    EXPECT_FALSE(p.window.isVisible());
    EXPECT_FALSE(quit->isVisible());
    EXPECT_EQ(p.fakes.settings.read(Settings::Key, QStringLiteral("LecteurPDF")), Viewer);
}

void Walkthrough::startAgain()
{
    // The settings store outlives the program: what the first run found and what it wrote.
    const QList<FakeSettingsStore::Write> written = program->fakes.settings.writes();
    program.reset();
    program = std::make_unique<Program>(base);
    Program &p = *program;
    storeConfiguredSettings(p.fakes.settings);
    for (const FakeSettingsStore::Write &w : written)
        if (w.stored)
            p.fakes.settings.setValue(w.key, w.name, w.text);

    p.window.load();
    ASSERT_TRUE(p.window.startupSucceeded());
    EXPECT_TRUE(p.messages().isEmpty());
    EXPECT_EQ(p.window.context().state.settings.pdfViewer, Viewer);
    const auto step = [&p](const char *name) {
        return p.window.intro()->stepLabel(QString::fromUtf8(name))->text();
    };
    EXPECT_EQ(step("Lab_P1"), QStringLiteral("Références dans le panier n° 1 : 2"));
    EXPECT_EQ(step("Lab_P2"), QStringLiteral("Références dans le panier n° 2 : %1").arg(orCount));
    EXPECT_EQ(step("Lab_P3"), QStringLiteral("Références dans le panier n° 3 : %1").arg(orCount));
    p.command("Cmd_config");
    EXPECT_EQ(p.label("Config", "Lbl_cheminPDF"), Viewer);
    // The archive window's ticks were saved with the configuration.
    p.command("Cmd_ArchivP");
    EXPECT_TRUE(p.in<QCheckBox>("F_Export", "Check_titre")->isChecked());

    // The screens built now show the counts, and the list basket 1 as it was filled.
    p.command("Cmd_selections");
    p.command("Cmd_feuillette");
    p.command("Cmd_voirpanier");
    p.expectCounts(2, orCount, orCount);
    EXPECT_TRUE(p.messages().isEmpty());
    EXPECT_EQ(p.label("F_grille", "Lab_NumPanier"), QStringLiteral("1"));
    QStringList titles = p.gridColumn(3);
    titles.sort();
    EXPECT_EQ(titles, basket1Titles);
}

TEST_F(Walkthrough, FromTheFirstStartToTheNextOne)
{
    const std::pair<const char *, void (Walkthrough::*)()> steps[] = {
        {"start", &Walkthrough::start},
        {"browse the base", &Walkthrough::browse},
        {"go to a year, fill basket 1", &Walkthrough::goToYearAndFillBasket1},
        {"search into basket 2", &Walkthrough::searchIntoBasket2},
        {"list basket 2, open a line", &Walkthrough::listBasket2AndOpenALine},
        {"transfer basket 2 into basket 3", &Walkthrough::transferBasket2IntoBasket3},
        {"print basket 3", &Walkthrough::printBasket3},
        {"archive basket 3", &Walkthrough::archiveBasket3},
        {"configure and quit", &Walkthrough::configureAndQuit},
        {"start again", &Walkthrough::startAgain},
    };
    for (const auto &[name, step] : steps) {
        SCOPED_TRACE(name);
        ASSERT_NO_FATAL_FAILURE((this->*step)());
    }
}

} // namespace
