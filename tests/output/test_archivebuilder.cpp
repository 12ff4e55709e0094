#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/output/archivebuilder.h"
#include "fakes/fakebusypointer.h"
#include "fakes/fakemessagebox.h"
#include "support/samplebasecopy.h"
#include "support/tempbase.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// One run of text of a paragraph with its bold and italic state.
struct TextRun {
    QString text;
    bool bold = false;
    bool italic = false;
    bool operator==(const TextRun &o) const
    {
        return text == o.text && bold == o.bold && italic == o.italic;
    }
};
void PrintTo(const TextRun &run, std::ostream *os)
{
    *os << '"' << run.text.toStdString() << '"' << (run.bold ? " bold" : "")
        << (run.italic ? " italic" : "");
}

TextRun plain(const QString &text)
{
    return {text, false, false};
}
TextRun bold(const QString &text)
{
    return {text, true, false};
}
TextRun italic(const QString &text)
{
    return {text, false, true};
}

// A basket 1 built through BuildArchive into a document.
struct ArchiveBuilder : ::testing::Test {
    test::TempBase base;
    FakeMessageBox messages;
    FakeBusyPointer pointer;
    QTextDocument document;
    ArchiveInput input;
    const QString table = Schema::basketTable(1);

    ArchiveBuilder()
    {
        input.versionTitle = QStringLiteral("Ferlin version 4.0 15/04/2003");
        input.builtAt = QDateTime(QDate(2024, 3, 7), QTime(9, 5));
    }

    void add(int rang, int year, const QString &number, int page)
    {
        base.addReference(rang, year, number, page, table);
        ++input.count;
    }
    void setField(int rang, const QString &field, const QVariant &value)
    {
        base.db->executeBound(QStringLiteral("UPDATE [") + table + QStringLiteral("] SET [") +
                                  field + QStringLiteral("]=? WHERE Rang=?"),
                              {value, rang});
    }
    void build(ArchiveType type)
    {
        input.type = type;
        RecordSet rows(*base.db, table);
        BuildArchive(document, input, rows, messages, pointer);
    }
    // The paragraphs as plain lines.
    QStringList lines() const { return document.toPlainText().split(u'\n'); }
    // The runs of line `index` (a paragraph or a line within one), adjacent runs of one format
    // merged.
    QList<TextRun> runs(int index) const
    {
        QList<QList<TextRun>> shown(1);
        auto append = [&](const TextRun &run) {
            QList<TextRun> &line = shown.back();
            if (run.text.isEmpty())
                return;
            if (!line.isEmpty() && line.back().bold == run.bold && line.back().italic == run.italic)
                line.back().text += run.text;
            else
                line.append(run);
        };
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                const QStringList parts = it.fragment().text().split(QChar::LineSeparator);
                for (qsizetype p = 0; p < parts.size(); ++p) {
                    if (p > 0)
                        shown.append(QList<TextRun>());
                    append({parts.at(p), f.fontWeight() == QFont::Bold, f.fontItalic()});
                }
            }
            shown.append(QList<TextRun>());
        }
        return shown.value(index);
    }
    // The reference of the type-2 example, as reference 3 of the basket.
    void addOpticsExample()
    {
        add(1, 1980, QStringLiteral("600"), 10);
        add(2, 1981, QStringLiteral("610"), 20);
        add(3, 1985, QStringLiteral("672"), 1021);
        setField(3, QStringLiteral("Auteur"), QStringLiteral("A\r\nB"));
        setField(3, QStringLiteral("Titre"), QStringLiteral("Optique"));
        setField(3, QStringLiteral("Mois"), QStringLiteral("mars"));
        setField(3, QStringLiteral("Volume"), 79);
    }
};

const QString Heading = QStringLiteral(
    "Ferlin version 4.0 15/04/2003 - catalogue de références Ferlin - 07/03/24 09:05");

TEST_F(ArchiveBuilder, HeadingCountsTheReferencesInItalics)
{
    addOpticsExample();
    build(ArchiveType::Bibliography);
    EXPECT_EQ(
        lines().mid(0, 4),
        (QStringList{Heading, QString(), QStringLiteral("Liste de  3 références."), QString()}));
    EXPECT_EQ(runs(0), QList<TextRun>{plain(Heading)});
    EXPECT_EQ(runs(2), QList<TextRun>{italic(QStringLiteral("Liste de  3 références."))});
    EXPECT_FALSE(document.toPlainText().contains(u'\r'));
    EXPECT_EQ(pointer.history(), (QList<bool>{true, false}));
}

TEST_F(ArchiveBuilder, OneReferenceIsCountedInWords)
{
    add(1, 1990, QStringLiteral("700"), 5);
    build(ArchiveType::Bibliography);
    EXPECT_EQ(runs(2), QList<TextRun>{italic(QStringLiteral("Une référence."))});
}

TEST_F(ArchiveBuilder, BibliographyCitesWithTheJournalInItalics)
{
    addOpticsExample();
    build(ArchiveType::Bibliography);
    const QStringList l = lines();
    ASSERT_EQ(l.size(), 11);
    EXPECT_EQ(l.at(3), QString());
    EXPECT_EQ(l.at(4), QStringLiteral("[1] Titre 1. Kavetol,  1980, Vol. , n° 600, p. 10"));
    EXPECT_EQ(runs(8),
              (QList<TextRun>{plain(QStringLiteral("[3] A ; B, Optique")),
                              italic(QStringLiteral(". Kavetol")),
                              plain(QStringLiteral(", mars 1985, Vol. 79, n° 672, p. 1021"))}));
    EXPECT_EQ(l.at(9), QString());
    EXPECT_EQ(l.at(10), QString());
}

TEST_F(ArchiveBuilder, FullArchiveWritesEveryField)
{
    add(1, 1985, QStringLiteral("672"), 1021);
    setField(1, QStringLiteral("Soustitre"), QStringLiteral("Sous le soleil"));
    setField(1, QStringLiteral("Auteur"), QStringLiteral("A\r\nB"));
    setField(1, QStringLiteral("Mois"), QStringLiteral("mars"));
    setField(1, QStringLiteral("Volume"), 79);
    setField(1, QStringLiteral("NombrePages"), 4);
    setField(1, QStringLiteral("Domaine"), QStringLiteral("Optique\r\nOndes"));
    setField(1, QStringLiteral("MotsCles"), QStringLiteral("lentille"));
    setField(1, QStringLiteral("Resume"), QStringLiteral("Premier.\r\nSecond."));
    add(2, 1990, QStringLiteral(" 700 "), 5);
    build(ArchiveType::Full);
    EXPECT_EQ(lines().mid(3), (QStringList{
                                  QStringLiteral("[1]"),
                                  QStringLiteral("Titre : Titre 1"),
                                  QStringLiteral("Sous-titre : Sous le soleil"),
                                  QStringLiteral("Auteur(s) : A ; B"),
                                  QStringLiteral("N° 672   mars   1985, Vol. 79, p. 1021   "
                                                 "Nombre de pages : 4"),
                                  QStringLiteral("Domaine(s) : Optique ; Ondes"),
                                  QStringLiteral("Clés : lentille"),
                                  QStringLiteral("Résumé : Premier."),
                                  QStringLiteral("Second."),
                                  QStringLiteral("[2]"),
                                  QStringLiteral("Titre : Titre 2"),
                                  QStringLiteral("Auteur(s) : "),
                                  QStringLiteral("N°  700") + QString(7, u' ') +
                                      QStringLiteral("1990, Vol. , p. 5   "
                                                     "Nombre de pages : "),
                                  QStringLiteral("Résumé : "),
                                  QString(),
                              }));
    EXPECT_EQ(runs(4), QList<TextRun>{bold(QStringLiteral("Titre : Titre 1"))});
    EXPECT_EQ(runs(5), QList<TextRun>{plain(QStringLiteral("Sous-titre : Sous le soleil"))});
}

TEST_F(ArchiveBuilder, CustomWithOnlyTheTitleWritesItInBold)
{
    add(1, 1985, QStringLiteral("672"), 1021);
    add(2, 1986, QStringLiteral("680"), 12);
    input.fields.set(PrintField::Title, true);
    build(ArchiveType::Custom);
    EXPECT_EQ(lines().mid(3),
              (QStringList{QStringLiteral("Titre : Titre 1"), QString(), QString(),
                           QStringLiteral("Titre : Titre 2"), QString(), QString(), QString()}));
    EXPECT_EQ(runs(3), QList<TextRun>{bold(QStringLiteral("Titre : Titre 1"))});
}

TEST_F(ArchiveBuilder, CustomWithTheNumberAloneWritesTheBracketedNumberInBold)
{
    add(1, 1985, QStringLiteral("672"), 1021);
    add(2, 1986, QStringLiteral("680"), 12);
    input.fields.set(PrintField::Numbering, true);
    input.fields.set(PrintField::Year, true);
    input.fields.set(PrintField::Bulletin, true);
    build(ArchiveType::Custom);
    EXPECT_EQ(runs(3), (QList<TextRun>{bold(QStringLiteral("[1] ")),
                                       plain(QStringLiteral("N° : 672   1985, "))}));
    EXPECT_EQ(lines().mid(4), (QStringList{QString(), QStringLiteral("[2] N° : 680   1986, "),
                                           QString(), QString()}));
}

TEST_F(ArchiveBuilder, CustomCriteriaWithNoneTickedWritesTheHeadingAndTheRule)
{
    add(1, 1985, QStringLiteral("672"), 1021);
    input.fields.set(PrintField::Criteria, true);
    input.fields.set(PrintField::Title, true);
    input.criteria.yearFrom = QStringLiteral("1980"); // unticked: not written
    build(ArchiveType::Custom);
    EXPECT_EQ(lines().mid(3),
              (QStringList{QString(), QStringLiteral("Critères de sélection :"), QString(21, u'_'),
                           QString(), QStringLiteral("Titre : Titre 1"), QString(), QString(),
                           QString()}));
    EXPECT_EQ(runs(4), QList<TextRun>{italic(QStringLiteral("Critères de sélection :"))});
    EXPECT_EQ(runs(5), QList<TextRun>{plain(QString(21, u'_'))});
}

TEST_F(ArchiveBuilder, CustomCriteriaListsTheTickedOnes)
{
    add(1, 1985, QStringLiteral("672"), 1021);
    input.fields.set(PrintField::Criteria, true);
    SelectionCriteria &c = input.criteria;
    c.keywords = true;
    c.years = true;
    c.yearFrom = QStringLiteral(" 1980 ");
    c.yearTo = QStringLiteral("1990");
    c.level = true;
    c.levelText = QStringLiteral(" lycée ");
    c.freeText = true;
    c.freeTextValue = QStringLiteral("prisme");
    input.keywordCaptions = {QStringLiteral("optique"), QStringLiteral("lentille\n miroir\n "),
                             QString(), QString()};
    build(ArchiveType::Custom);
    EXPECT_EQ(
        lines().mid(5, 4),
        (QStringList{QStringLiteral("Mots clés : optique     ET lentille ;  miroir ;") +
                         QString(7, u' ') + QStringLiteral("OU      SAUF "),
                     QStringLiteral("Année(s) : > 1980 et < 1990"),
                     QStringLiteral("Niveau :  lycée "), QStringLiteral("Texte libre : prisme")}));
}

TEST_F(ArchiveBuilder, TitleListCodesTheMonthsOnThreeTabStops)
{
    add(1, 1985, QStringLiteral(" 672 "), 1021);
    setField(1, QStringLiteral("Mois"), QStringLiteral("janvier-février"));
    add(2, 1986, QStringLiteral("680"), 12);
    setField(2, QStringLiteral("Mois"), QStringLiteral("Noël"));
    build(ArchiveType::TitleList);
    EXPECT_EQ(lines().mid(3),
              (QStringList{QString(), QStringLiteral("Année\tMois\tNuméro\tTitre de l'article"),
                           QStringLiteral("1985\t01-02\t672\tTitre 1"),
                           QStringLiteral("1986\t\t680\tTitre 2")}));
    EXPECT_EQ(runs(4),
              QList<TextRun>{italic(QStringLiteral("Année\tMois\tNuméro\tTitre de l'article"))});
    for (int block = 3; block <= 6; ++block) {
        const QList<QTextOption::Tab> tabs =
            document.findBlockByNumber(block).blockFormat().tabPositions();
        ASSERT_EQ(tabs.size(), 3) << block;
        EXPECT_DOUBLE_EQ(tabs.at(0).position, 36.0);
        EXPECT_DOUBLE_EQ(tabs.at(1).position, 78.0);
        EXPECT_DOUBLE_EQ(tabs.at(2).position, 138.0);
    }
    EXPECT_TRUE(document.findBlockByNumber(0).blockFormat().tabPositions().isEmpty());
}

TEST_F(ArchiveBuilder, EmptyBasketShowsTheMessageAndLeavesTheDocumentEmpty)
{
    document.setPlainText(QStringLiteral("ancienne archive"));
    input.basket = 2;
    build(ArchiveType::Full);
    EXPECT_TRUE(document.isEmpty());
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.lastMessage().icon, MessageIcon::Critical);
    EXPECT_EQ(messages.lastMessage().text, QStringLiteral("Le panier 2 est actuellement vide"));
    EXPECT_EQ(messages.lastMessage().shownTitle(), QStringLiteral("Ferlin 4"));
    EXPECT_TRUE(pointer.history().isEmpty());
}

TEST_F(ArchiveBuilder, UnreadableFieldLeavesOnlyThatPieceOut)
{
    base.db->execute(QStringLiteral("CREATE TABLE [TPartiel] ([Rang] INTEGER, [Titre] TEXT)"));
    base.db->execute(QStringLiteral("INSERT INTO [TPartiel] VALUES (1, 'Seul')"));
    input.count = 1;
    input.type = ArchiveType::Bibliography;
    RecordSet rows(*base.db, QStringLiteral("TPartiel"));
    BuildArchive(document, input, rows, messages, pointer);
    EXPECT_EQ(lines().at(4), QStringLiteral("[1] Seul. Kavetol,  , Vol. , n° , p. "));
}

TEST_F(ArchiveBuilder, LargeBasketWritesEveryReference)
{
    QTemporaryDir folder;
    const QString path = test::copyOfGeneratedBase(folder, 6773);
    auto db = Database::open(path);
    db->execute(QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles"));
    RecordSet rows(*db, table);
    input.count = rows.recordCount();
    ASSERT_EQ(input.count, 6773);
    BuildArchive(document, input, rows, messages, pointer);
    const QRegularExpression entry(QStringLiteral("^\\[(\\d+)\\]$"));
    int entries = 0;
    for (const QString &line : lines()) {
        const auto match = entry.match(line);
        if (match.hasMatch() && match.captured(1).toInt() == entries + 1)
            ++entries;
    }
    EXPECT_EQ(entries, 6773);
    // A reference is one paragraph of many lines: a paragraph per line would weigh on the
    // document twenty times the base over.
    EXPECT_LE(document.blockCount(), 6773 + 4);
}

} // namespace
