// Where the export is offered: "Exporter un panier…" in the "Outils" menu, and
// "ferlin --export PANIER FORMAT FICHIER"; and the copy of a basket for a reference manager.
#include "app/commandline.h"
#include "core/output/exportformats.h"
#include "core/output/referencecopy.h"
#include "gui/output/exportdialog.h"
#include "gui/output/referencecopydialog.h"
#include "support/accessiblename.h"
#include "support/commandrun.h"
#include "support/programfixture.h"
#include "support/tempbase.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// The program started with five references in basket 2, the export dialog opened from its menu.
struct ExportProgram {
    test::ProgramFixture f;
    QTemporaryDir dir;
    ExportDialog *dialog = nullptr;

    ExportProgram()
    {
        Database::open(f.context.databasePath)
            ->execute(QStringLiteral("INSERT INTO [TSélection2] SELECT * FROM TArticles WHERE "
                                     "Rang <= 5"));
        f.window.load();
    }
    void open()
    {
        f.window.findChild<QAction *>(QStringLiteral("Mnu_ExporterPanier"))->trigger();
        dialog = f.window.findChild<ExportDialog *>(QStringLiteral("ExportPanier"));
    }
    template <typename T> T *find(const char *name)
    {
        return dialog->findChild<T *>(QString::fromUtf8(name));
    }
    QLineEdit *file() { return find<QLineEdit>("Txt_Fichier"); }
    void click(const char *name) { find<QPushButton>(name)->click(); }
    const QList<RecordedMessage> &messages() { return f.fakes.messageBox.messages(); }
};

TEST(ExportDialog, ExportsABasketChosenAmongThoseThatHoldReferences)
{
    ExportProgram p;
    ASSERT_TRUE(p.f.window.toolsMenu()->menuAction()->isVisible());
    p.open();
    ASSERT_TRUE(p.dialog && p.dialog->isVisible());
    EXPECT_EQ(p.dialog->windowTitle(), QStringLiteral("Exporter un panier"));
    const QStringList captions = {QStringLiteral("Panier n° 1 (vide)"),
                                  QStringLiteral("Panier n° 2 (5 références)"),
                                  QStringLiteral("Panier n° 3 (vide)")};
    for (int i = 0; i < 3; ++i) {
        auto *basket = p.find<QRadioButton>(("Option_Panier_" + std::to_string(i)).c_str());
        EXPECT_EQ(basket->text(), captions.at(i));
        EXPECT_EQ(basket->isEnabled(), i == 1);
    }
    EXPECT_EQ(p.dialog->selectedBasket(), 2);
    EXPECT_FALSE(p.find<QLabel>("Lab_PaniersVides")->isVisible());

    // The file dialog answers a name without extension: the format's one is added.
    p.find<QRadioButton>("Option_Format_3")->click();
    QString suggested;
    p.dialog->setFileProvider([&](const QString &offered, ExportFormat) {
        suggested = offered;
        return p.dir.filePath(QStringLiteral("liste"));
    });
    p.click("Cmd_Parcourir");
    EXPECT_EQ(suggested, QDir::home().filePath(QStringLiteral("panier2.csv")));
    const QString file = p.dir.filePath(QStringLiteral("liste.csv"));
    EXPECT_EQ(p.file()->text(), file);
    // Another format takes its own extension in place of the former one.
    p.find<QRadioButton>("Option_Format_1")->click();
    EXPECT_EQ(p.file()->text(), p.dir.filePath(QStringLiteral("liste.ris")));
    p.find<QRadioButton>("Option_Format_3")->click();

    p.click("Cmd_Exporter");
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_EQ(
        p.messages().front(),
        (RecordedMessage{
            MessageIcon::Information, MessageButtons::Ok, QStringLiteral("Exportation d'un panier"),
            QStringLiteral("5 références exportées dans « ") + file + QStringLiteral(" ».")}));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(p.dialog->isVisible());
    EXPECT_FALSE(p.f.fakes.busyPointer.isBusy());
}

TEST(ExportDialog, EveryControlIsNamedAndWorksFromTheKeyboard)
{
    ExportProgram p;
    p.open();
    for (QWidget *control : p.dialog->findChildren<QWidget *>()) {
        if (qobject_cast<QRadioButton *>(control) || qobject_cast<QPushButton *>(control) ||
            qobject_cast<QLineEdit *>(control)) {
            EXPECT_FALSE(test::accessibleName(control).isEmpty())
                << control->objectName().toStdString();
            EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus)
                << control->objectName().toStdString();
        }
    }
    // Typing the name and pressing Enter exports in the default format, BibTeX.
    QTest::keyClicks(p.file(), p.dir.filePath(QStringLiteral("clavier")));
    QTest::keyClick(p.file(), Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(p.dir.filePath(QStringLiteral("clavier.bib"))));
    EXPECT_FALSE(p.dialog->isVisible());
    // Escape closes the dialog, which keeps its choices for the next time.
    p.open();
    QTest::keyClick(p.dialog, Qt::Key_Escape);
    EXPECT_FALSE(p.dialog->isVisible());
    p.open();
    EXPECT_EQ(p.file()->text(), p.dir.filePath(QStringLiteral("clavier.bib")));
}

// The mnemonic letter of a caption ("F&ormat" gives "o"); empty without one.
QString mnemonic(QString caption)
{
    caption.remove(QStringLiteral("&&"));
    const qsizetype amp = caption.indexOf(u'&');
    return amp < 0 ? QString() : caption.mid(amp + 1, 1).toLower();
}

TEST(ExportDialog, OffersTheCsvSeparatorByKeyboardAndWritesWithTheOneChosen)
{
    ExportProgram p;
    p.open();
    auto *frame = p.find<QGroupBox>("Frame_Separateur");
    auto *semicolon = p.find<QRadioButton>("Option_Separateur_0");
    auto *comma = p.find<QRadioButton>("Option_Separateur_1");
    ASSERT_TRUE(frame && semicolon && comma);
    EXPECT_EQ(test::accessibleName(frame), QStringLiteral("Séparateur (CSV)"));
    EXPECT_EQ(test::accessibleName(semicolon), QStringLiteral("Point-virgule (;)"));
    EXPECT_EQ(test::accessibleName(comma), QStringLiteral("Virgule (,)"));
    EXPECT_TRUE(semicolon->isChecked());
    // Every mnemonic of the dialog is its own.
    QStringList letters;
    for (QWidget *control : p.dialog->findChildren<QWidget *>()) {
        QString caption;
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            caption = button->text();
        else if (auto *group = qobject_cast<QGroupBox *>(control))
            caption = group->title();
        else if (auto *label = qobject_cast<QLabel *>(control))
            caption = label->buddy() ? label->text() : QString();
        if (!mnemonic(caption).isEmpty()) {
            EXPECT_FALSE(letters.contains(mnemonic(caption))) << caption.toStdString();
            letters << mnemonic(caption);
        }
    }
    EXPECT_TRUE(letters.contains(QStringLiteral("s")));

    // The separator belongs to CSV alone.
    EXPECT_FALSE(frame->isEnabled());
    p.find<QRadioButton>("Option_Format_3")->click();
    EXPECT_TRUE(frame->isEnabled());
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.dialog));
    QTest::keyClick(p.dialog, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), semicolon);
    comma->click();
    p.find<QRadioButton>("Option_Format_0")->click();
    EXPECT_FALSE(frame->isEnabled());
    p.find<QRadioButton>("Option_Format_3")->click();

    const QString file = p.dir.filePath(QStringLiteral("tableur.csv"));
    p.file()->setText(file);
    p.click("Cmd_Exporter");
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readLine(),
              QByteArray("\xEF\xBB\xBF") +
                  (Schema::referenceFields() + QStringList{QStringLiteral("FichierPDF")})
                      .join(u',')
                      .toUtf8() +
                  "\r\n");
}

TEST(ExportDialog, AsksBeforeReplacingAFileAndTellsAFailure)
{
    ExportProgram p;
    p.open();
    const QString file = p.dir.filePath(QStringLiteral("liste.bib"));
    QFile former(file);
    ASSERT_TRUE(former.open(QIODevice::WriteOnly));
    former.write("ancienne");
    former.close();
    p.file()->setText(file);
    p.f.fakes.messageBox.pushAnswer(MessageAnswer::No);
    p.click("Cmd_Exporter");
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.messages().front().icon, MessageIcon::Question);
    EXPECT_EQ(p.messages().front().text,
              QStringLiteral("Le fichier « ") + file +
                  QStringLiteral(" » existe déjà. Voulez-vous le remplacer ?"));
    ASSERT_TRUE(former.open(QIODevice::ReadOnly));
    EXPECT_EQ(former.readAll(), QByteArray("ancienne"));
    EXPECT_TRUE(p.dialog->isVisible());

    p.f.fakes.messageBox.clear();
    p.file()->setText(p.dir.filePath(QStringLiteral("absent/liste.bib")));
    p.click("Cmd_Exporter");
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.messages().front().icon, MessageIcon::Critical);
    EXPECT_TRUE(p.messages().front().text.contains(QStringLiteral("n'existe pas.")));
    EXPECT_TRUE(p.dialog->isVisible());

    p.f.fakes.messageBox.clear();
    p.file()->clear();
    p.click("Cmd_Exporter");
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.messages().front().text,
              QStringLiteral("Choisissez le fichier où écrire le panier."));
}

using test::CommandRun;

CommandRun run(const QStringList &arguments, const QString &base)
{
    return test::runCommand(arguments, base);
}

TEST(ExportCommand, TakesTheCsvSeparatorAnywhereAfterTheCommand)
{
    test::TempBase base;
    base.addReference(1, 1990, QStringLiteral("5"), 10, Schema::basketTable(1));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("liste"));
    const QString csv = QStringLiteral("csv");
    const QString option = QStringLiteral("--separator");
    struct Case {
        QStringList arguments; // after "--export 1"
        int status;
        QByteArray header; // how the file starts
        QString err;       // contained in the standard error
    };
    const QByteArray bom("\xEF\xBB\xBF");
    const Case cases[] = {
        {{csv, file}, 0, bom + "Rang;An;", {}},
        {{csv, file, option, QStringLiteral(",")}, 0, bom + "Rang,An,", {}},
        {{csv, file, QStringLiteral("--separator=;")}, 0, bom + "Rang;An;", {}},
        {{QStringLiteral("--separator=,"), csv, file}, 0, bom + "Rang,An,", {}},
        {{csv, file, option, QStringLiteral("tab")},
         2,
         {},
         QStringLiteral("ferlin : SÉPARATEUR vaut « ; » ou « , », pas « tab ».")},
        {{csv, file, option},
         2,
         {},
         QStringLiteral("ferlin : l'option « --separator » attend SÉPARATEUR.")},
        {{QStringLiteral("ris"), file, option, QStringLiteral(",")},
         2,
         {},
         QStringLiteral("ferlin : l'option « --separator » ne vaut que pour le format csv.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        QFile::remove(file + QStringLiteral(".csv"));
        const CommandRun result = run(
            QStringList{QStringLiteral("--export"), QStringLiteral("1")} + c.arguments, base.path);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.err.contains(c.err)) << result.err.toStdString();
        QFile written(file + QStringLiteral(".csv"));
        EXPECT_EQ(written.open(QIODevice::ReadOnly), c.status == 0);
        EXPECT_TRUE(written.readAll().startsWith(c.header));
    }
    const CommandRun help = run({QStringLiteral("--help")}, base.path);
    EXPECT_TRUE(help.out.contains(QStringLiteral("\n      --separator SÉPARATEUR\n")))
        << help.out.toStdString();
}

TEST(ExportCommand, WritesTheBasketOrSaysInFrenchWhyNot)
{
    test::TempBase base;
    base.addReference(1, 1990, QStringLiteral("5"), 10, Schema::basketTable(1));
    base.addReference(2, 2001, QStringLiteral("1"), 7, Schema::basketTable(1));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("liste"));
    struct Case {
        QStringList arguments;
        int status;
        QString out; // the standard output, whole
        QString err; // contained in the standard error
    };
    const Case cases[] = {
        {{QStringLiteral("--export"), QStringLiteral("1"), QStringLiteral("BibTeX"), file},
         0,
         QStringLiteral("2 références exportées dans « ") + file + QStringLiteral(".bib ».\n"),
         {}},
        {{QStringLiteral("--export"), QStringLiteral("2"), QStringLiteral("csv"), file},
         1,
         {},
         QStringLiteral("ferlin : Le panier n° 2 est vide : il n'y a rien à exporter.\n")},
        {{QStringLiteral("--export"), QStringLiteral("1"), QStringLiteral("ris"),
          QStringLiteral("/nulle/part/liste")},
         1,
         {},
         QStringLiteral("le dossier « /nulle/part » n'existe pas.")},
        {{QStringLiteral("--export"), QStringLiteral("4"), QStringLiteral("csv"), file},
         2,
         {},
         QStringLiteral("PANIER vaut 1, 2 ou 3, pas « 4 ».")},
        {{QStringLiteral("--export"), QStringLiteral("1"), QStringLiteral("endnote"), file},
         2,
         {},
         QStringLiteral("FORMAT vaut bibtex, ris, csljson ou csv, pas « endnote ».")},
        {{QStringLiteral("--export"), QStringLiteral("1")},
         2,
         {},
         QStringLiteral("« --export » attend PANIER FORMAT FICHIER")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const CommandRun result = run(c.arguments, base.path);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_TRUE(result.err.contains(c.err)) << result.err.toStdString();
    }
    EXPECT_TRUE(QFile::exists(file + QStringLiteral(".bib")));
    EXPECT_FALSE(QFile::exists(file + QStringLiteral(".csv")));

    const CommandRun missing =
        run({QStringLiteral("--export"), QStringLiteral("1"), QStringLiteral("csv"), file},
            dir.filePath(QStringLiteral("absente.sqlite")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("ferlin : la base « ")));
    const CommandRun help = run({QStringLiteral("--help")}, base.path);
    EXPECT_TRUE(help.out.contains(QStringLiteral("\n  --export PANIER FORMAT FICHIER\n")));
}

} // namespace

namespace {

TEST(ReferenceCopy, PutsTheBasketOnTheClipboardAsRisForAReferenceManager)
{
    ExportProgram p;
    p.f.window.findChild<QAction *>(QStringLiteral("Mnu_CopierPanierRIS"))->trigger();
    auto *dialog = p.f.window.findChild<ReferenceCopyDialog *>(QStringLiteral("CopiePanier"));
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(),
              QStringLiteral("Copier le panier pour un gestionnaire de références"));
    for (QWidget *control : dialog->findChildren<QWidget *>()) {
        if (qobject_cast<QAbstractButton *>(control)) {
            EXPECT_FALSE(test::accessibleName(control).isEmpty())
                << control->objectName().toStdString();
        }
    }
    auto *basket2 = dialog->findChild<QRadioButton *>(QStringLiteral("Option_Panier_1"));
    EXPECT_EQ(basket2->text(), QStringLiteral("Panier n° 2 (5 références)"));
    EXPECT_FALSE(dialog->findChild<QRadioButton *>(QStringLiteral("Option_Panier_0"))->isEnabled());
    EXPECT_EQ(dialog->selectedBasket(), 2);

    // Enter copies.
    QTest::keyClick(basket2, Qt::Key_Return);
    const QByteArray ris = WriteRis(ReadBasketForExport(*p.f.context.catalogue.db, 2, QString()));
    ASSERT_EQ(ris.count("TY  - JOUR"), 5);
    EXPECT_EQ(
        p.f.fakes.clipboard.data(),
        (QMap<QString, QByteArray>{{QStringLiteral("text/plain"), ris},
                                   {QStringLiteral("application/x-research-info-systems"), ris}}));
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.messages().front(),
              (RecordedMessage{MessageIcon::Information, MessageButtons::Ok,
                               QStringLiteral("Copie d'un panier"),
                               QStringLiteral("5 références copiées dans le presse-papiers au "
                                              "format RIS : dans Zotero, « Fichier » → « Importer "
                                              "depuis le presse-papiers ».")}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(p.f.fakes.busyPointer.isBusy());
}

TEST(ReferenceCopy, SaysSoWhenTheThreeBasketsAreEmpty)
{
    test::ProgramFixture f;
    f.window.load();
    f.window.findChild<QAction *>(QStringLiteral("Mnu_CopierPanierRIS"))->trigger();
    auto *dialog = f.window.findChild<ReferenceCopyDialog *>(QStringLiteral("CopiePanier"));
    ASSERT_TRUE(dialog);
    auto *empty = dialog->findChild<QLabel *>(QStringLiteral("Lab_PaniersVides"));
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(empty->text(),
              QStringLiteral("Les trois paniers sont vides : il n'y a rien à copier."));
    for (QRadioButton *basket : dialog->findChildren<QRadioButton *>())
        EXPECT_FALSE(basket->isEnabled());
    EXPECT_FALSE(dialog->findChild<QPushButton *>(QStringLiteral("Cmd_Copier"))->isEnabled());
    EXPECT_TRUE(f.fakes.clipboard.history().isEmpty());
}

} // namespace
