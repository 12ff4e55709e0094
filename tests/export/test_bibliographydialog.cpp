// "Outils" → "Bibliographie d'un panier…": the style list and its filter, the language, the
// order, the preview, the copy, the four file types, the stop, the keyboard.
#include "bibliographysupport.h"
#include "core/platform/clipboard.h"
#include "gui/output/bibliographydialog.h"
#include "support/accessiblename.h"
#include "support/programfixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// The program with the five references in basket 2 (and, when asked, the first 300 of the base
// in basket 3), the dialog opened from its menu.
struct BibliographyProgram {
    test::ProgramFixture f;
    QTemporaryDir dir;
    BibliographyDialog *dialog = nullptr;

    explicit BibliographyProgram(bool large = false)
    {
        const auto db = Database::open(f.context.databasePath);
        test::addFiveReferences(*db, Schema::basketTable(2));
        if (large)
            db->execute(QStringLiteral("INSERT INTO [TSélection3] SELECT * FROM TArticles"));
        f.window.load();
    }
    void open()
    {
        f.window.findChild<QAction *>(QStringLiteral("Mnu_BibliographiePanier"))->trigger();
        dialog = f.window.findChild<BibliographyDialog *>(QStringLiteral("BibliographiePanier"));
    }
    template <typename T> T *find(const char *name)
    {
        return dialog->findChild<T *>(QString::fromUtf8(name));
    }
    void click(const char *name) { find<QAbstractButton>(name)->click(); }
    QListWidget *styles() { return find<QListWidget>("Lst_Style"); }
    // The preview's text once pandoc has written it.
    QString preview()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isBusy(); }, 30000));
        return find<QTextBrowser>("Txt_Apercu")->toPlainText();
    }
    void waitForWork()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isBusy(); }, 60000));
    }
    const QList<RecordedMessage> &messages() { return f.fakes.messageBox.messages(); }
    QStringList shownStyles()
    {
        QStringList shown;
        for (int i = 0; i < styles()->count(); ++i)
            if (!styles()->item(i)->isHidden())
                shown << styles()->item(i)->text();
        return shown;
    }
};

// A preview's paragraphs, as plain text: Qt's plain text of a page has blanks for its no-break
// spaces.
QStringList paragraphs(const QString &text)
{
    QStringList shown;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts))
        shown << line.trimmed();
    return shown;
}
QString shown(QString text)
{
    return text.replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' ');
}
QStringList shown(const QStringList &texts)
{
    QStringList all;
    for (const QString &text : texts)
        all << shown(text);
    return all;
}

TEST(BibliographyDialog, FiltersTheStylesAndPreviewsInTheLanguageAndOrderChosen)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    BibliographyProgram p;
    p.open();
    ASSERT_TRUE(p.dialog && p.dialog->isVisible());
    EXPECT_EQ(p.dialog->windowTitle(), QStringLiteral("Bibliographie d'un panier"));
    EXPECT_EQ(p.dialog->selectedBasket(), 2);
    EXPECT_EQ(p.find<QRadioButton>("Option_Panier_1")->text(),
              QStringLiteral("Panier n° 2 (5 références)"));
    // APA 7, French terms, the style's order by default.
    EXPECT_EQ(p.dialog->selectedStyle(), QStringLiteral("apa"));
    EXPECT_EQ(p.styles()->currentItem()->text(), QStringLiteral("APA 7e édition"));
    EXPECT_EQ(test::lines(paragraphs(p.preview())), test::lines(shown(test::FiveInApa)));

    // The filter, without regard to accents or case, on the captions and the file names.
    auto *filter = p.find<QLineEdit>("Txt_Filtre");
    filter->setText(QStringLiteral("iso690-AUTHOR-date-fr"));
    EXPECT_EQ(test::lines(p.shownStyles()),
              "ISO 690 auteur-date (français)\nISO-690 (author-date, no abstract, Français)");
    // The style chosen was filtered out: the first one shown is chosen.
    EXPECT_EQ(p.dialog->selectedStyle(), QStringLiteral("iso690-author-date-fr"));
    EXPECT_EQ(test::lines(paragraphs(p.preview()).constFirst()),
              test::lines(shown(test::FiveInIso690.constFirst())));
    filter->setText(QStringLiteral("francais"));
    EXPECT_TRUE(p.shownStyles().contains(QStringLiteral("ISO 690 numérique (français)")));
    EXPECT_EQ(p.dialog->selectedStyle(), QStringLiteral("iso690-author-date-fr"));
    filter->setText(QStringLiteral("aucun style ne s'appelle ainsi"));
    EXPECT_TRUE(p.shownStyles().isEmpty());
    EXPECT_EQ(p.dialog->selectedStyle(), QStringLiteral("iso690-author-date-fr"));
    filter->clear();
    EXPECT_GT(p.shownStyles().size(), 100);

    // English terms, then the basket list's order.
    p.styles()->setCurrentRow(0);
    p.click("Option_Langue_1");
    EXPECT_EQ(test::lines(paragraphs(p.preview()).constLast()),
              "Rousseau, J.-J. (n.d.). Émile à l’école. Kavetol, 7, 21–24.");
    p.click("Option_Langue_0");
    p.click("Option_Ordre_1");
    EXPECT_EQ(test::lines(paragraphs(p.preview()).constFirst()),
              test::lines(shown(test::FiveInApa.at(3))));
    EXPECT_EQ(p.dialog->selectedOrder(), BibliographyOrder::Basket);
}

TEST(BibliographyDialog, CopiesTheBasketAsHtmlAndTextAndKeepsTheStyleChosen)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    BibliographyProgram p;
    p.open();
    p.find<QLineEdit>("Txt_Filtre")->setText(QStringLiteral("iso 690 auteur-date"));
    p.click("Option_Langue_1");
    p.click("Cmd_Copier");
    p.waitForWork();
    const auto &data = p.f.fakes.clipboard.data();
    const QStringList copied = QString::fromUtf8(data.value(PlainTextMimeType))
                                   .split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(copied.size(), 5) << test::lines(copied);
    EXPECT_TRUE(copied.at(1).startsWith(QStringLiteral("LE GALL, Lucien, 1985.")));
    const QByteArray html = data.value(HtmlMimeType);
    EXPECT_TRUE(html.contains("class=\"csl-entry\"")) << html.toStdString();
    EXPECT_TRUE(html.contains("<em>Kavetol</em>"));
    EXPECT_EQ(p.messages(),
              (QList<RecordedMessage>{{MessageIcon::Information, MessageButtons::Ok,
                                       QStringLiteral("Bibliographie d'un panier"),
                                       QStringLiteral("5 références copiées dans le presse-papiers "
                                                      "dans le style « ISO 690 auteur-date "
                                                      "(français) ».")}}));
    EXPECT_FALSE(p.dialog->isVisible());
    EXPECT_EQ(p.f.fakes.settings.read(BibliographySettingsKey, QStringLiteral("Style")),
              QStringLiteral("iso690-author-date-fr"));
    EXPECT_EQ(p.f.fakes.settings.read(BibliographySettingsKey, QStringLiteral("Langue")),
              QStringLiteral("en"));

    // The next run opens on the style and the language kept.
    BibliographyProgram next;
    next.f.fakes.settings.setValue(BibliographySettingsKey, QStringLiteral("Style"),
                                   QStringLiteral("chicago-author-date"));
    next.open();
    EXPECT_EQ(next.dialog->selectedStyle(), QStringLiteral("chicago-author-date"));
    EXPECT_EQ(next.dialog->selectedLanguage(), TermsLanguage::French);
}

// What a file of each type is, by its first bytes and the text inside.
TEST(BibliographyDialog, SavesEachTypeUnderItsExtension)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    BibliographyProgram p;
    struct Case {
        int type; // the row of Cmb_Type
        QString extension;
        QByteArray starts;
        QByteArray holds; // in the file
        const char *part; // of a zipped document, where its text is
    };
    const Case cases[] = {
        {0, QStringLiteral("html"), "<!DOCTYPE html>", "Le Gall, L. (1985)", nullptr},
        {1, QStringLiteral("rtf"), "{\\rtf1", "Le Gall, L. (1985)", nullptr},
        {2, QStringLiteral("odt"), "PK\x03\x04", "mimetypeapplication/vnd.oasis.opendocument.text",
         "content.xml"},
        {3, QStringLiteral("docx"), "PK\x03\x04", "[Content_Types].xml", "word/document.xml"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.extension.toStdString());
        p.open();
        p.find<QComboBox>("Cmb_Type")->setCurrentIndex(c.type);
        QString suggested;
        // The name typed carries another type's extension: the chosen type's replaces it.
        p.dialog->setFileProvider([&](const QString &offered, BibliographyFormat) {
            suggested = offered;
            return p.dir.filePath(QStringLiteral("biblio.txt.rtf"));
        });
        p.click("Cmd_Enregistrer");
        p.waitForWork();
        EXPECT_TRUE(suggested.endsWith(u'.' + c.extension)) << suggested.toStdString();
        const QString file = p.dir.filePath(QStringLiteral("biblio.txt.") + c.extension);
        ASSERT_FALSE(p.messages().isEmpty());
        EXPECT_EQ(p.messages().constLast().text,
                  QStringLiteral("5 références mises en forme dans « ") + file +
                      QStringLiteral(" »."));
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        EXPECT_TRUE(bytes.startsWith(c.starts));
        EXPECT_TRUE(bytes.contains(c.holds));
        if (c.part) {
            // The document's text, read out of the zipped file by Python's zipfile.
            QProcess read;
            read.start(
                QStringLiteral("python3"),
                {QStringLiteral("-c"),
                 QStringLiteral("import sys, zipfile; "
                                "sys.stdout.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2])"
                                ".decode())"),
                 file, QString::fromLatin1(c.part)});
            if (!read.waitForFinished(30000) || read.exitCode() != 0)
                GTEST_SKIP() << "python3 cannot read the zipped document";
            const QString text = QString::fromUtf8(read.readAllStandardOutput());
            EXPECT_TRUE(text.contains(QStringLiteral("Le Gall, L. (1985). La classe coopérative")))
                << test::lines(text);
        }
        p.f.fakes.messageBox.clear();
    }
}

TEST(BibliographyDialog, StopsALongFormattingAndWritesNothing)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    BibliographyProgram p(/*large=*/true);
    p.open();
    p.click("Option_Panier_2");
    p.dialog->setFileProvider([&](const QString &, BibliographyFormat) {
        return p.dir.filePath(QStringLiteral("base.html"));
    });
    p.click("Cmd_Enregistrer");
    ASSERT_TRUE(p.dialog->isBusy());
    // The busy bar and the stop show; the choices wait.
    EXPECT_TRUE(p.find<QWidget>("Prg_MiseEnForme")->isVisible());
    EXPECT_EQ(p.find<QLabel>("Lab_Etat")->text(),
              QStringLiteral("Mise en forme de 300 références…"));
    EXPECT_FALSE(p.find<QWidget>("Lst_Style")->isEnabled());
    EXPECT_FALSE(p.find<QWidget>("Cmd_Copier")->isEnabled());
    p.click("Cmd_Arreter");
    p.waitForWork();
    EXPECT_TRUE(p.messages().isEmpty());
    EXPECT_FALSE(QFile::exists(p.dir.filePath(QStringLiteral("base.html"))));
    EXPECT_TRUE(p.dialog->isVisible());
    EXPECT_FALSE(p.find<QWidget>("Prg_MiseEnForme")->isVisible());
    EXPECT_TRUE(p.find<QWidget>("Lst_Style")->isEnabled());

    // Closing the dialog stops a run too; the one after it goes to its end.
    p.click("Cmd_Copier");
    ASSERT_TRUE(p.dialog->isBusy());
    p.click("Cmd_Fermer");
    EXPECT_FALSE(p.dialog->isBusy());
    EXPECT_TRUE(p.f.fakes.clipboard.history().isEmpty());
    p.open();
    p.click("Cmd_Copier");
    p.waitForWork();
    EXPECT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.f.fakes.clipboard.text().count(QStringLiteral("\n\n")), 299);
}

// The mnemonic letter of a caption ("&Ordre" gives "o"); empty without one.
QString mnemonic(QString caption)
{
    caption.remove(QStringLiteral("&&"));
    const qsizetype amp = caption.indexOf(u'&');
    return amp < 0 ? QString() : caption.mid(amp + 1, 1).toLower();
}

TEST(BibliographyDialog, EveryControlIsNamedAndReachedFromTheKeyboard)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    BibliographyProgram p;
    p.open();
    QStringList letters;
    for (QWidget *control : p.dialog->findChildren<QWidget *>()) {
        QString caption;
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            caption = button->text();
        else if (auto *label = qobject_cast<QLabel *>(control))
            caption = label->text();
        else if (auto *group = qobject_cast<QGroupBox *>(control))
            caption = group->title();
        if (!mnemonic(caption).isEmpty())
            letters << mnemonic(caption);
        const bool input =
            qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control) ||
            qobject_cast<QListWidget *>(control) || qobject_cast<QComboBox *>(control) ||
            qobject_cast<QTextBrowser *>(control);
        if (!input || control->objectName().isEmpty())
            continue;
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_FALSE(test::accessibleName(control).isEmpty());
        EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
    }
    QStringList distinct = letters;
    distinct.removeDuplicates();
    EXPECT_EQ(letters.size(), distinct.size()) << letters.join(u' ').toStdString();
    EXPECT_EQ(test::accessibleName(p.styles()), QStringLiteral("Style"));
    EXPECT_EQ(test::accessibleName(p.find<QWidget>("Txt_Filtre")), QStringLiteral("Filtre"));
    EXPECT_EQ(test::accessibleName(p.find<QWidget>("Txt_Apercu")),
              QStringLiteral("Aperçu des premières références"));

    // From the filter: typing chooses, Tab reaches the list, whose arrow keys choose too.
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.dialog));
    auto *filter = p.find<QLineEdit>("Txt_Filtre");
    filter->setFocus();
    QTest::keyClicks(filter, QStringLiteral("chicago"));
    EXPECT_EQ(p.dialog->selectedStyle(), QStringLiteral("chicago-author-date"));
    QTest::keyClick(filter, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), p.styles());
    QTest::keyClick(p.styles(), Qt::Key_Down);
    EXPECT_NE(p.dialog->selectedStyle(), QStringLiteral("chicago-author-date"));
    EXPECT_TRUE(p.dialog->selectedStyle().contains(QStringLiteral("chicago")));
    // Escape closes; the choices stay for the next time.
    const QString chosen = p.dialog->selectedStyle();
    QTest::keyClick(p.dialog, Qt::Key_Escape);
    EXPECT_FALSE(p.dialog->isVisible());
    p.open();
    EXPECT_EQ(p.dialog->selectedStyle(), chosen);
    p.waitForWork();
}

} // namespace
