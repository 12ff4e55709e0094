// The text index: the query syntax, indexing generated PDFs in the worker thread, finding them.
#include "core/fulltext/childpdfreader.h"
#include "core/fulltext/fulltextquery.h"
#include "core/fulltext/textindex.h"
#include "core/fulltext/textindexer.h"
#include "core/fulltext/textsearch.h"
#include "core/fulltext/viewerpage.h"
#include "pdfwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>

using namespace ferlin;

TEST(FullTextQuery, QuotesEveryWordAndTranslatesTheOperators)
{
    const std::pair<const char *, const char *> cases[] = {
        {"lentille", "\"lentille\""},
        {"  lentille   miroir ", "\"lentille\" \"miroir\""},
        {"lentille ET miroir OU prisme SAUF laser",
         "\"lentille\" AND \"miroir\" OR \"prisme\" NOT \"laser\""},
        {"\"foyer  principal\" lentil*", "\"foyer principal\" \"lentil\"*"},
        {"cœur Œil", "\"coeur\" \"OEil\""},
        {"et ou NEAR AND", "\"et\" \"ou\" \"NEAR\" \"AND\""},
        {"l'œil - ( miroir", "\"l'oeil\" \"miroir\""},
        {"a\"b\"", "\"a\" \"b\""},
    };
    for (const auto &[typed, match] : cases) {
        const FullTextQuery query = parseFullTextQuery(QString::fromUtf8(typed));
        EXPECT_EQ(query.match, QString::fromUtf8(match)) << typed;
        EXPECT_TRUE(query.error.isEmpty()) << typed;
    }
    EXPECT_EQ(
        parseFullTextQuery(QStringLiteral("laser SAUF miroir ET \"foyer principal\"")).firstTerm,
        QStringLiteral("laser"));
    EXPECT_EQ(parseFullTextQuery(QStringLiteral("lentil* OU miroir")).firstTerm,
              QStringLiteral("lentil"));
}

TEST(FullTextQuery, RefusesAMalformedQueryWithAFrenchMessage)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", "Tapez au moins un mot à rechercher."},
        {" ( - ", "Tapez au moins un mot à rechercher."},
        {"\"foyer principal", "Il manque le guillemet qui ferme l'expression commencée par "
                              "« \"foyer principal »."},
        {"\"  \" lentille", "Les guillemets doivent entourer au moins un mot."},
        {"lentille *", "L'astérisque * se met à la fin d'un mot, sans espace : « lentil* » "
                       "trouve lentille, lentilles..."},
        {"len*tille", "L'astérisque * se met à la fin d'un mot, sans espace : « lentil* » "
                      "trouve lentille, lentilles..."},
        {"SAUF laser", "La recherche ne peut pas commencer par « SAUF » : mettez un mot avant."},
        {"laser ET", "La recherche ne peut pas finir par « ET » : mettez un mot après."},
        {"laser OU ET miroir", "« OU » et « ET » se suivent : mettez un mot entre les deux."},
    };
    for (const auto &[typed, error] : cases) {
        const FullTextQuery query = parseFullTextQuery(QString::fromUtf8(typed));
        EXPECT_FALSE(query.ok()) << typed;
        EXPECT_EQ(query.error, QString::fromUtf8(error)) << typed;
    }
    // Hundreds of prefixes would take the index minutes; 64 terms are still taken.
    QStringList terms(65, QStringLiteral("d*"));
    EXPECT_EQ(parseFullTextQuery(terms.join(QStringLiteral(" OU "))).error,
              QStringLiteral("La recherche compte 65 mots ou expressions : elle en prend 64 au "
                             "plus."));
    terms.removeLast();
    EXPECT_TRUE(parseFullTextQuery(terms.join(QStringLiteral(" OU "))).ok());
}

TEST(ViewerPageOptions, OpenThePageAndSeekTheWordInTheViewersThatKnowHow)
{
    EXPECT_EQ(viewerPageOptions(QStringLiteral(" /usr/bin/evince "), 3, QStringLiteral("œil")),
              (QStringList{QStringLiteral("--page-index=3"), QStringLiteral("--find=œil")}));
    EXPECT_EQ(viewerPageOptions(QStringLiteral("/usr/bin/okular"), 2, QStringLiteral("foyer")),
              (QStringList{QStringLiteral("-p"), QStringLiteral("2"), QStringLiteral("--find"),
                           QStringLiteral("foyer")}));
    EXPECT_EQ(viewerPageOptions(QStringLiteral("/usr/bin/evince"), 1, QString()),
              QStringList{QStringLiteral("--page-index=1")});
    EXPECT_TRUE(
        viewerPageOptions(QStringLiteral("/usr/bin/xdg-open"), 2, QStringLiteral("a")).isEmpty());
}

namespace {

// A folder of texts as the indexer meets them: a PDF of several pages with accented words, a
// one-page PDF, a damaged file and a file that is missing.
struct TextFolder {
    QTemporaryDir dir;
    QString index = dir.filePath(QLatin1String(TextIndex::FileName));
    std::vector<TextToIndex> texts;

    TextFolder()
    {
        write(QStringLiteral("a1.pdf"),
              sample::pdfDocument(
                  {page(QStringLiteral("Le foyer de la lentille convergente"),
                        QStringLiteral("On mesure la distance focale avec une règle.")),
                   page(QString(), QStringLiteral("L'élève étudie le cœur du sujet : l'œil et la "
                                                  "réfraction, à la fenêtre.")),
                   page(QString(), QStringLiteral("Un miroir sphérique concave et un laser."))}));
        write(QStringLiteral("a2.pdf"),
              sample::onePagePdf(page(QStringLiteral("Le miroir plan"),
                                      QStringLiteral("Les lentilles minces et le prisme."))));
        write(QStringLiteral("a3.pdf"), "%PDF-1.4\nceci n'est pas un PDF\n");
        texts = {{1, dir.path(), QStringLiteral("\\a1.pdf")},
                 {2, dir.path(), QStringLiteral("\\A2.PDF")},
                 {3, dir.path(), QStringLiteral("\\a3.pdf")},
                 {4, dir.path(), QStringLiteral("\\a4.pdf")}};
    }

    static sample::PdfPage page(const QString &title, const QString &text)
    {
        sample::PdfPage page;
        page.header = QStringLiteral("KVT");
        page.title = title;
        page.blocks << text;
        return page;
    }
    void write(const QString &name, const QByteArray &content)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    IndexingReport indexAll()
    {
        TextIndexer indexer(index);
        QSignalSpy ended(&indexer, &TextIndexer::ended);
        indexer.start(texts);
        EXPECT_TRUE(ended.wait(30000));
        return ended.value(0).value(0).value<IndexingReport>();
    }
};

// The pages a query finds, as "rang:page", most relevant first.
QStringList found(TextIndex &index, const char *typed)
{
    const FullTextQuery query = parseFullTextQuery(QString::fromUtf8(typed));
    QStringList pages;
    for (const TextIndex::Hit &hit : index.search(query.match))
        pages << QStringLiteral("%1:%2").arg(hit.rang).arg(hit.page);
    return pages;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

TEST(TextIndexer, IndexesEachReadablePageAndListsTheOthers)
{
    TextFolder folder;
    const IndexingReport report = folder.indexAll();
    EXPECT_EQ(report.indexed, 2);
    EXPECT_EQ(report.unchanged, 0);
    EXPECT_FALSE(report.cancelled);
    EXPECT_TRUE(report.failure.isEmpty());
    EXPECT_EQ(report.problems,
              (QStringList{folder.dir.filePath(QStringLiteral("a3.pdf")) +
                               QStringLiteral(" : fichier endommagé ou qui n'est pas un PDF"),
                           folder.dir.filePath(QStringLiteral("a4.pdf")) +
                               QStringLiteral(" : fichier introuvable")}));

    TextIndex index(folder.index);
    EXPECT_EQ(index.textCount(), 2);
    const std::pair<const char *, QStringList> cases[] = {
        {"lentille", {QStringLiteral("1:1")}},
        {"lentil*", {QStringLiteral("1:1"), QStringLiteral("2:1")}},
        {"miroir", {QStringLiteral("1:3"), QStringLiteral("2:1")}},
        {"\"miroir plan\"", {QStringLiteral("2:1")}},
        {"\"plan miroir\"", {}},
        {"miroir ET prisme", {QStringLiteral("2:1")}},
        {"miroir prisme", {QStringLiteral("2:1")}},
        {"laser OU prisme", {QStringLiteral("1:3"), QStringLiteral("2:1")}},
        {"miroir SAUF laser", {QStringLiteral("2:1")}},
        {"ELEVE coeur oeil fenetre REFRACTION", {QStringLiteral("1:2")}},
        {"élève cœur", {QStringLiteral("1:2")}},
        {"spherique", {QStringLiteral("1:3")}},
    };
    for (const auto &[typed, pages] : cases)
        EXPECT_EQ(sorted(found(index, typed)), pages) << typed;

    const std::vector<TextIndex::Hit> hits =
        index.search(parseFullTextQuery(QStringLiteral("foyer lentille")).match);
    ASSERT_EQ(hits.size(), 1u);
    const QString extract =
        index.extract(QStringLiteral("\"foyer\" \"lentille\""), hits.front().row);
    EXPECT_TRUE(extract.contains(QStringLiteral("\x02"
                                                "foyer\x03 de la \x02"
                                                "lentille\x03")))
        << qPrintable(extract);
}

TEST(TextIndexer, ARunAgainSkipsWhatIsIndexedAndReadsWhatChanged)
{
    TextFolder folder;
    folder.indexAll();
    IndexingReport again = folder.indexAll();
    EXPECT_EQ(again.indexed, 0);
    EXPECT_EQ(again.unchanged, 2);

    folder.write(QStringLiteral("a2.pdf"),
                 sample::onePagePdf(TextFolder::page(QStringLiteral("Le dioptre"), QString())));
    again = folder.indexAll();
    EXPECT_EQ(again.indexed, 1);
    EXPECT_EQ(again.unchanged, 1);
    TextIndex index(folder.index);
    EXPECT_EQ(found(index, "dioptre"), QStringList{QStringLiteral("2:1")});
    EXPECT_TRUE(found(index, "prisme").isEmpty()) << "the former pages are gone";
}

TEST(TextIndexer, CancellingStopsTheRunAtOnce)
{
    TextFolder folder;
    TextIndexer indexer(folder.index);
    QSignalSpy ended(&indexer, &TextIndexer::ended);
    // Asked in the worker, at the first progress (the missing file): nothing is stored.
    QObject::connect(
        &indexer, &TextIndexer::progress, &indexer,
        [&indexer](int done, int, const QString &) {
            if (done == 1)
                indexer.cancel();
        },
        Qt::DirectConnection);
    indexer.start(folder.texts);
    ASSERT_TRUE(ended.wait(30000));
    const auto report = ended.value(0).value(0).value<IndexingReport>();
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.indexed, 0);
    EXPECT_EQ(report.problems, QStringList{folder.dir.filePath(QStringLiteral("a4.pdf")) +
                                           QStringLiteral(" : fichier introuvable")});
}

// Every row of every table of an index file, FTS5's own tables included (their segments
// depend on the order the pages were written in), as text.
static QStringList indexRows(const QString &path)
{
    auto db = Database::open(path);
    StatementPtr tables = db->prepare(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    QStringList names;
    while (sqlite3_step(tables.get()) == SQLITE_ROW)
        names << columnValue(tables.get(), 0).toString();
    QStringList rows;
    for (const QString &name : names) {
        StatementPtr stmt = db->prepare(QStringLiteral("SELECT * FROM \"%1\"").arg(name));
        while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
            QStringList values{name};
            for (int i = 0; i < sqlite3_column_count(stmt.get()); ++i) {
                const QVariant value = columnValue(stmt.get(), i);
                values << (value.typeId() == QMetaType::QByteArray
                               ? QString::fromLatin1(value.toByteArray().toHex())
                               : value.toString());
            }
            rows << values.join(u'|');
        }
    }
    return rows;
}

// The readers' texts reach the writer in whatever order they are read; the index is written as
// one reader writes it, row for row, FTS5's segments included.
TEST(TextIndexer, TwoReadersWriteTheIndexThatOneWrites)
{
    TextFolder folder;
    folder.texts.clear();
    // Given from the highest Rang down, of one to four pages, every seventh file damaged.
    for (int rang = 90; rang >= 1; --rang) {
        const QString name = QStringLiteral("t%1.pdf").arg(rang);
        if (rang % 7 == 0) {
            folder.write(name, "%PDF-1.4\nrien\n");
        } else {
            std::vector<sample::PdfPage> pages;
            for (int page = 0; page <= rang % 4; ++page)
                pages.push_back(TextFolder::page(
                    QString(), QStringLiteral("Texte %1, page %2 : lentille n° %3, œil.")
                                   .arg(rang)
                                   .arg(page + 1)
                                   .arg(rang * 31 % 97)));
            folder.write(name, sample::pdfDocument(pages));
        }
        folder.texts.push_back({rang, folder.dir.path(), u'\\' + name});
    }
    const auto indexWith = [&folder](int readers, const QString &index) {
        TextIndexer indexer(index);
        indexer.setReaderCount(readers);
        QSignalSpy ended(&indexer, &TextIndexer::ended);
        indexer.start(folder.texts);
        EXPECT_TRUE(ended.wait(30000));
        return ended.value(0).value(0).value<IndexingReport>();
    };
    const QString one = folder.dir.filePath(QStringLiteral("one.sqlite"));
    const QString two = folder.dir.filePath(QStringLiteral("two.sqlite"));
    const IndexingReport byOne = indexWith(1, one);
    const IndexingReport byTwo = indexWith(2, two);
    EXPECT_EQ(byOne.indexed, 78);
    EXPECT_EQ(byTwo.indexed, byOne.indexed);
    EXPECT_EQ(byTwo.problems, byOne.problems);
    const QStringList rows = indexRows(one);
    EXPECT_GT(rows.size(), 200);
    EXPECT_EQ(indexRows(two), rows);
}

// A file asked for ahead is read even when the one before it stops its child.
TEST(ChildPdfReader, AFileAskedAheadIsReadAfterTheChildBeforeItIsStopped)
{
    TextFolder folder;
    // A named pipe that nobody writes: opening it hangs the child.
    const QString stuck = folder.dir.filePath(QStringLiteral("stuck.pdf"));
    ASSERT_EQ(mkfifo(QFile::encodeName(stuck).constData(), 0600), 0);
    ReaderLimits limits = pdfReaderLimits();
    limits.stallMs = limits.answerMs = 1000;
    ChildPdfReader reader(limits);
    const QString next = folder.dir.filePath(QStringLiteral("a2.pdf"));
    EXPECT_EQ(reader.read(stuck, next).status, PdfText::Status::Stalled);
    const PdfText text = reader.read(next);
    EXPECT_EQ(text.status, PdfText::Status::Read);
    ASSERT_EQ(text.pages.size(), 1);
    EXPECT_TRUE(text.pages.front().contains(QStringLiteral("Le miroir plan")));
    // And a file asked for ahead that is not read next is not taken for the next one's text.
    reader.read(folder.dir.filePath(QStringLiteral("a1.pdf")), next);
    EXPECT_EQ(reader.read(folder.dir.filePath(QStringLiteral("a1.pdf"))).pages.size(), 3);
}

static QString hostilePdf(const char *name)
{
    return QStringLiteral(FERLIN_HOSTILE_TESTDATA "/") + QString::fromLatin1(name);
}

static qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// PDFs that hang Poppler or exhaust the memory cost their own reader child, not the program:
// they are listed with their cause, remembered, and not read again until they change.
TEST(TextIndexer, HostileFilesAreListedRememberedAndNotReadAgain)
{
    if (!QFile::exists(hostilePdf("xobject-billion-laughs.pdf")))
        GTEST_SKIP() << "no hostile test files";
    TextFolder folder;
    for (const char *name : {"xobject-billion-laughs.pdf", "gsave-million.pdf"})
        ASSERT_TRUE(QFile::copy(hostilePdf(name), folder.dir.filePath(QLatin1String(name))));
    folder.texts = {{1, folder.dir.path(), QStringLiteral("\\a1.pdf")},
                    {5, folder.dir.path(), QStringLiteral("\\xobject-billion-laughs.pdf")},
                    {6, folder.dir.path(), QStringLiteral("\\gsave-million.pdf")}};
    const qint64 before = residentKb();
    const auto indexWithin = [&folder](int ms) {
        TextIndexer indexer(folder.index);
        ReaderLimits limits = pdfReaderLimits();
        limits.stallMs = limits.answerMs = ms;
        indexer.setReaderLimits(limits);
        QSignalSpy ended(&indexer, &TextIndexer::ended);
        indexer.start(folder.texts);
        EXPECT_TRUE(ended.wait(30000));
        return ended.value(0).value(0).value<IndexingReport>();
    };
    const QString hangs = folder.dir.filePath(QStringLiteral("xobject-billion-laughs.pdf")) +
                          QStringLiteral(" : fichier endommagé : sa lecture ne progresse plus");
    const IndexingReport first = indexWithin(3000);
    EXPECT_TRUE(first.problems.contains(hangs)) << first.problems.join(u'\n').toStdString();
    EXPECT_GE(first.indexed, 1);
#ifdef FERLIN_ADDRESS_SANITIZER
    constexpr qint64 GrowthKb = 300 * 1024; // freed memory is kept aside by the sanitizer
#else
    constexpr qint64 GrowthKb = 50 * 1024;
#endif
    EXPECT_LT(residentKb() - before, GrowthKb) << "Poppler never ran here";

    // Were it read again, it would take a minute.
    const IndexingReport again = indexWithin(60000);
    EXPECT_TRUE(again.problems.contains(hangs));
    EXPECT_EQ(again.indexed, 0);
    EXPECT_EQ(again.unchanged + again.problems.size(), 3);
}

TEST(TextIndexer, StoppingEndsAReaderStuckInAFile)
{
    if (!QFile::exists(hostilePdf("xobject-billion-laughs.pdf")))
        GTEST_SKIP() << "no hostile test files";
    TextFolder folder;
    ASSERT_TRUE(QFile::copy(hostilePdf("xobject-billion-laughs.pdf"),
                            folder.dir.filePath(QStringLiteral("x.pdf"))));
    TextIndexer indexer(folder.index);
    ReaderLimits patient = pdfReaderLimits();
    patient.stallMs = patient.answerMs = 120000;
    indexer.setReaderLimits(patient);
    QSignalSpy ended(&indexer, &TextIndexer::ended);
    indexer.start({{1, folder.dir.path(), QStringLiteral("\\x.pdf")}});
    QTest::qWait(500);
    indexer.cancel();
    ASSERT_TRUE(ended.wait(5000)) << "stopped within the second";
    const auto report = ended.value(0).value(0).value<IndexingReport>();
    EXPECT_TRUE(report.cancelled);
    TextIndex index(folder.index);
    EXPECT_TRUE(index
                    .failureOf(1, {QFileInfo(folder.dir.filePath(QStringLiteral("x.pdf"))).size(),
                                   QFileInfo(folder.dir.filePath(QStringLiteral("x.pdf")))
                                       .lastModified()
                                       .toMSecsSinceEpoch()})
                    .isEmpty())
        << "a stopped file is no damaged file";
}

// Stopped while a file hangs its reader, the texts already read stay indexed, as the report
// says.
TEST(TextIndexer, StoppingKeepsTheTextsReadBeforeTheStop)
{
    if (!QFile::exists(hostilePdf("xobject-billion-laughs.pdf")))
        GTEST_SKIP() << "no hostile test files";
    TextFolder folder;
    ASSERT_TRUE(QFile::copy(hostilePdf("xobject-billion-laughs.pdf"),
                            folder.dir.filePath(QStringLiteral("x.pdf"))));
    folder.texts = {{1, folder.dir.path(), QStringLiteral("\\a1.pdf")},
                    {2, folder.dir.path(), QStringLiteral("\\a2.pdf")},
                    {3, folder.dir.path(), QStringLiteral("\\x.pdf")}};
    TextIndexer indexer(folder.index);
    indexer.setReaderCount(1);
    ReaderLimits patient = pdfReaderLimits();
    patient.stallMs = patient.answerMs = 120000;
    indexer.setReaderLimits(patient);
    QSignalSpy ended(&indexer, &TextIndexer::ended);
    indexer.start(folder.texts);
    QTest::qWait(1500);
    indexer.cancel();
    ASSERT_TRUE(ended.wait(5000));
    const auto report = ended.value(0).value(0).value<IndexingReport>();
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.indexed, 2);
    EXPECT_EQ(TextIndex(folder.index).textCount(), 2);
}

TEST(TextSearch, ANewQueryStopsTheRunningOneAndOnlyTheLastIsTold)
{
    TextFolder folder;
    folder.indexAll();
    TextSearch search(folder.index);
    QSignalSpy found(&search, &TextSearch::found);
    search.start(parseFullTextQuery(QStringLiteral("lentille")).match);
    search.start(parseFullTextQuery(QStringLiteral("miroir")).match);
    ASSERT_TRUE(found.wait(10000));
    QTest::qWait(200);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.at(0).at(0).value<std::vector<TextIndex::Hit>>().size(), 2u);
    EXPECT_FALSE(search.isRunning());
}

TEST(TextIndex, ASearchStopsWhenAsked)
{
    QTemporaryDir dir;
    TextIndex index(dir.filePath(QLatin1String(TextIndex::FileName)));
    QStringList pages;
    for (int page = 0; page < 400; ++page)
        pages << QStringLiteral("page %1 de lentilles, de miroirs, de prismes et de lasers")
                     .arg(page);
    index.storeText(1, QStringLiteral("a.pdf"), {1, 1}, pages);
    const QString many =
        parseFullTextQuery(QStringList(64, QStringLiteral("l*")).join(QStringLiteral(" OU ")))
            .match;
    std::atomic<bool> stop{false};
    EXPECT_EQ(index.search(many, &stop).size(), 400u);
    stop = true;
    try {
        index.search(many, &stop);
        ADD_FAILURE() << "not stopped";
    } catch (const DbError &error) {
        EXPECT_EQ(error.number(), DbErrorCode::Cancelled);
    }
}

TEST(TextIndex, AFileThatIsNoIndexIsMadeAgain)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(TextIndex::FileName));
    QFile junk(path);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    TextIndex index(path);
    EXPECT_EQ(index.textCount(), 0);
    EXPECT_EQ(TextIndex::pathBeside(dir.filePath(QStringLiteral("ferlin4.sqlite"))), path);
}
