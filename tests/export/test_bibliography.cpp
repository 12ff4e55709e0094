// Bibliographies in the standard styles, formatted by pandoc's citeproc: the texts of two
// styles letter for letter, the basket list's order, the card's reference copied in the style
// chosen last, "ferlin --bibliography", and what is said when pandoc or the styles are missing.
#include "app/commandline.h"
#include "bibliographysupport.h"
#include "core/output/basketexport.h"
#include "core/platform/clipboard.h"
#include "gui/output/bibliographydialog.h"
#include "support/commandrun.h"
#include "support/programfixture.h"
#include "support/tempbase.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// The paragraphs of a plain-text bibliography.
QStringList entries(const QString &text)
{
    return text.trimmed().split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
}

BasketExport fiveReferences()
{
    test::TempBase base;
    test::addFiveReferences(*base.db, Schema::basketTable(1));
    return ReadBasketForExport(*base.db, 1, QString());
}

QString styleFile(const char *name)
{
    return citationStyleFile(QString::fromUtf8(name), citationStyleFolders()).value_or(QString());
}

QString plainText(const BasketExport &references, const char *style,
                  TermsLanguage language = TermsLanguage::French,
                  BibliographyOrder order = BibliographyOrder::Style)
{
    BibliographyRequest request;
    request.styleFile = styleFile(style);
    request.language = language;
    request.order = order;
    request.format = BibliographyFormat::Text;
    return QString::fromUtf8(FormatBibliography(findPandoc(), references, request).output);
}

TEST(Bibliography, FormatsTheReferencesInApaAndIso690AsTheStylesWriteThem)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    const BasketExport five = fiveReferences();
    EXPECT_EQ(test::lines(entries(plainText(five, "apa"))), test::lines(test::FiveInApa));
    EXPECT_EQ(test::lines(entries(plainText(five, "iso690-author-date-fr"))),
              test::lines(test::FiveInIso690));
}

TEST(Bibliography, WritesTheTermsInTheLanguageChosen)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    const BasketExport five = fiveReferences();
    // The reference without a year, last in APA's order, "s. d." in French. (A style may fix
    // its own terms: ISO 690 in French writes "[sans date]" whatever the language.)
    EXPECT_EQ(test::lines(entries(plainText(five, "apa", TermsLanguage::English)).constLast()),
              "Rousseau, J.-J. (n.d.). Émile à l’école. Kavetol, 7, 21–24.");
}

TEST(Bibliography, KeepsTheBasketListsOrderWhenAskedEvenInAStyleThatSorts)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    const BasketExport five = fiveReferences();
    // 905, 902, 901, 904, 903: year, number and page descending.
    const QStringList inBasketOrder = {test::FiveInApa.at(3), test::FiveInApa.at(2),
                                       test::FiveInApa.at(1), test::FiveInApa.at(0),
                                       test::FiveInApa.at(4)};
    EXPECT_EQ(test::lines(entries(
                  plainText(five, "apa", TermsLanguage::French, BibliographyOrder::Basket))),
              test::lines(inBasketOrder));
    // A numbered style numbers them in that order too.
    const QStringList numbered = entries(
        plainText(five, "iso690-numeric-fr", TermsLanguage::French, BibliographyOrder::Basket));
    ASSERT_EQ(numbered.size(), 5) << test::lines(numbered);
    EXPECT_TRUE(numbered.at(0).startsWith(QStringLiteral("1. MÜLLER, Françoise.")));
    EXPECT_TRUE(numbered.at(4).startsWith(QStringLiteral("5. ROUSSEAU, Jean-Jacques.")));
}

TEST(Bibliography, EndsAChildThatOutlivesItsTimeLimitAndOneStopped)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    const BasketExport five = fiveReferences();
    BibliographyRequest request;
    request.styleFile = styleFile("apa");
    BibliographyTask task;
    ASSERT_TRUE(task.start(findPandoc(), five, request, 1));
    task.waitForEnd();
    EXPECT_EQ(task.outcome(), BibliographyTask::Outcome::Failed);
    EXPECT_EQ(task.failure(), QStringLiteral("pandoc n'a pas fini de mettre en forme les "
                                             "références en 1 s : la mise en forme est arrêtée."));
    EXPECT_TRUE(task.result().output.isEmpty());

    int ends = 0;
    QObject::connect(&task, &BibliographyTask::ended, [&ends] { ++ends; });
    ASSERT_TRUE(task.start(findPandoc(), five, request, 60000));
    task.cancel();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(task.outcome(), BibliographyTask::Outcome::Cancelled);
    // A run to its end after both.
    ASSERT_TRUE(task.start(findPandoc(), five, request, 60000));
    task.waitForEnd();
    EXPECT_EQ(task.outcome(), BibliographyTask::Outcome::Done);
    EXPECT_TRUE(task.result().output.contains("Le Gall"));
}

TEST(CitationStyles, ListsTheFeaturedStylesFirstThenEveryOtherByItsTitle)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    const std::vector<CitationStyle> styles = installedCitationStyles(citationStyleFolders());
    ASSERT_GT(styles.size(), 100u);
    const QStringList first = {
        QStringLiteral("APA 7e édition"), QStringLiteral("ISO 690 auteur-date (français)"),
        QStringLiteral("ISO 690 numérique (français)"), QStringLiteral("Chicago auteur-date")};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(styles.at(size_t(i)).caption, first.at(i));
    const auto chicagoFr = std::find_if(styles.begin(), styles.end(), [](const CitationStyle &s) {
        return s.name == u"chicago-author-date-fr";
    });
    ASSERT_NE(chicagoFr, styles.end());
    EXPECT_EQ(chicagoFr->caption,
              QStringLiteral("Chicago Manual of Style 17th edition (author-date, Français)"));
    // Listed once each, and never a dependent style, which only names a parent.
    EXPECT_EQ(std::count_if(styles.begin(), styles.end(),
                            [](const CitationStyle &s) { return s.name == u"apa"; }),
              1);
    EXPECT_TRUE(std::none_of(styles.begin(), styles.end(), [](const CitationStyle &s) {
        return s.file.contains(QStringLiteral("/dependent/"));
    }));
    EXPECT_FALSE(citationStyleFile(QStringLiteral("../styles/apa"), citationStyleFolders()));
}

// The program with the five references in basket 2 and the card on `rang`.
struct CardProgram {
    test::ProgramFixture f;
    explicit CardProgram(int row)
    {
        test::addFiveReferences(*Database::open(f.context.databasePath), Schema::basketTable(2));
        f.window.load();
        f.showBasketOnCard(2);
        f.context.card.standOn(row);
        f.window.card()->refresh();
    }
    void copy()
    {
        f.window.findChild<QAction *>(QStringLiteral("Mnu_CopierReferenceStyle"))->trigger();
    }
};

TEST(CardCopyInStyle, CopiesTheCardsReferenceInTheStyleChosenLastAsHtmlAndText)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    struct Case {
        QString storedStyle; // none: APA 7
        QString text;
        QByteArray html; // within the HTML
    };
    // Row 3 of the basket's list: reference 901.
    const Case cases[] = {
        {{}, test::FiveInApa.at(1), "Le Gall, L. (1985). La classe coopérative"},
        {QStringLiteral("iso690-author-date-fr"), test::FiveInIso690.at(1), "LE GALL, Lucien"},
        {QStringLiteral("absent-du-systeme"), test::FiveInApa.at(1), "<em>Kavetol</em>"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.storedStyle.toStdString());
        CardProgram p(3);
        if (!c.storedStyle.isEmpty())
            p.f.fakes.settings.setValue(BibliographySettingsKey, QStringLiteral("Style"),
                                        c.storedStyle);
        p.copy();
        EXPECT_TRUE(p.f.fakes.messageBox.messages().isEmpty());
        const auto &data = p.f.fakes.clipboard.data();
        EXPECT_EQ(data.value(PlainTextMimeType).toStdString(), test::lines(c.text));
        EXPECT_TRUE(data.value(HtmlMimeType).contains(c.html))
            << data.value(HtmlMimeType).toStdString();
        EXPECT_FALSE(p.f.fakes.busyPointer.isBusy());
    }
    // The shortcut of the "Outils" menu's entry.
    CardProgram p(1);
    EXPECT_EQ(
        p.f.window.findChild<QAction *>(QStringLiteral("Mnu_CopierReferenceStyle"))->shortcut(),
        QKeySequence(QStringLiteral("Ctrl+Shift+C")));
}

using test::CommandRun;

CommandRun run(const QStringList &arguments, const QString &base)
{
    return test::runCommand(arguments, base);
}

TEST(BibliographyCommand, WritesTheFileItsExtensionNamesOrSaysInFrenchWhyNot)
{
    FERLIN_SKIP_WITHOUT_BIBLIOGRAPHY_ENGINE();
    test::TempBase base;
    test::addFiveReferences(*base.db, Schema::basketTable(1));
    QTemporaryDir dir;
    const QString bibliography = QStringLiteral("--bibliography");
    struct Case {
        QStringList arguments; // after "--bibliography"
        int status;
        QString written;   // the file written, when one is
        QByteArray starts; // how it starts
        QString said;      // the standard output, or within the standard error
    };
    const QString page = dir.filePath(QStringLiteral("liste.html"));
    const QString rtf = dir.filePath(QStringLiteral("liste.RTF"));
    const QString docx = dir.filePath(QStringLiteral("liste.docx"));
    const Case cases[] = {
        {{QStringLiteral("1"), QStringLiteral("apa"), dir.filePath(QStringLiteral("liste"))},
         0,
         page,
         "<!DOCTYPE html>",
         QStringLiteral("5 références mises en forme dans « ") + page + QStringLiteral(" ».\n")},
        {{QStringLiteral("1"), QStringLiteral("iso690-author-date-fr"), rtf},
         0,
         rtf,
         "{\\rtf1",
         QStringLiteral("5 références mises en forme dans « ") + rtf + QStringLiteral(" ».\n")},
        {{QStringLiteral("1"), QStringLiteral("chicago-author-date.csl"), docx},
         0,
         docx,
         "PK\x03\x04",
         QStringLiteral("5 références mises en forme dans « ") + docx + QStringLiteral(" ».\n")},
        {{QStringLiteral("1"), QStringLiteral("vancouver-inexistant"), page},
         1,
         {},
         {},
         QStringLiteral("ferlin : le style « vancouver-inexistant » n'est pas installé.")},
        {{QStringLiteral("2"), QStringLiteral("apa"), page},
         1,
         {},
         {},
         QStringLiteral("ferlin : Le panier n° 2 est vide : il n'y a rien à mettre en forme.\n")},
        {{QStringLiteral("1"), QStringLiteral("apa"), QStringLiteral("/nulle/part/liste.odt")},
         1,
         {},
         {},
         QStringLiteral("le dossier « /nulle/part » n'existe pas.")},
        {{QStringLiteral("0"), QStringLiteral("apa"), page},
         2,
         {},
         {},
         QStringLiteral("PANIER vaut 1, 2 ou 3, pas « 0 ».")},
        {{QStringLiteral("1"), QStringLiteral("apa")},
         2,
         {},
         {},
         QStringLiteral("l'option « --bibliography » attend PANIER STYLE FICHIER.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        for (const QString &file : {page, rtf, docx})
            QFile::remove(file);
        const CommandRun result = run(QStringList{bibliography} + c.arguments, base.path);
        EXPECT_EQ(result.status, c.status) << result.err.toStdString();
        if (c.status == 0) {
            EXPECT_EQ(test::lines(result.out), test::lines(c.said));
            QFile written(c.written);
            ASSERT_TRUE(written.open(QIODevice::ReadOnly));
            EXPECT_TRUE(written.readAll().startsWith(c.starts));
        } else {
            EXPECT_TRUE(result.out.isEmpty());
            EXPECT_TRUE(result.err.contains(c.said)) << result.err.toStdString();
        }
    }
    const CommandRun help = run({QStringLiteral("--help")}, base.path);
    EXPECT_TRUE(help.out.contains(QStringLiteral("  --bibliography PANIER STYLE FICHIER\n")));
}

TEST(BibliographyTools, SayWhatIsMissingAndDoNothingElse)
{
    test::TempBase base;
    test::addFiveReferences(*base.db, Schema::basketTable(1));
    QTemporaryDir empty;
    struct Case {
        const char *variable;
        QString message;
    };
    // pandoc looked for on a PATH without it; the styles in data folders without them.
    const Case cases[] = {{"PATH", PandocMissingMessage}, {"XDG_DATA_DIRS", StylesMissingMessage}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variable);
        if (c.message == StylesMissingMessage && findPandoc().isEmpty())
            continue; // pandoc's absence would be told first
        test::ScopedEnvironment missing(c.variable, empty.path().toUtf8());
        test::ScopedEnvironment userData("XDG_DATA_HOME", empty.path().toUtf8());

        const QString page = empty.filePath(QStringLiteral("liste.html"));
        const CommandRun result = run(
            {QStringLiteral("--bibliography"), QStringLiteral("1"), QStringLiteral("apa"), page},
            base.path);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(test::lines(result.err),
                  test::lines(QStringLiteral("ferlin : ") + c.message + u'\n'));
        EXPECT_FALSE(QFile::exists(page));

        CardProgram p(1);
        p.copy();
        p.f.window.findChild<QAction *>(QStringLiteral("Mnu_BibliographiePanier"))->trigger();
        const RecordedMessage told{MessageIcon::Exclamation, MessageButtons::Ok,
                                   QStringLiteral("Copie de la référence"), c.message};
        const RecordedMessage toldByDialog{MessageIcon::Exclamation, MessageButtons::Ok,
                                           QStringLiteral("Bibliographie d'un panier"), c.message};
        EXPECT_EQ(p.f.fakes.messageBox.messages(), (QList<RecordedMessage>{told, toldByDialog}));
        EXPECT_TRUE(p.f.fakes.clipboard.history().isEmpty());
        auto *dialog = p.f.window.findChild<BibliographyDialog *>();
        EXPECT_TRUE(!dialog || !dialog->isVisible());
    }
}

} // namespace
