// What the programs that read the exports make of them: names split as a French bibliographer
// splits them, BibTeX values as BibTeX, pandoc and Zotero's BibTeX reader decode them, titles
// kept as written by citeproc, RIS values of several lines.
#include "core/db/database.h"
#include "core/output/basketexport.h"
#include "core/output/exportformats.h"
#include "export/readback.h"
#include "support/samplebasecopy.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace ferlin;

namespace {

const QChar NoBreakSpace(0x00A0);

BasketExport oneReference(const QString &title, const QString &summary = {})
{
    ExportedReference r;
    r.rank = QStringLiteral("812");
    r.year = QStringLiteral("2001");
    r.title = title;
    r.summary = summary;
    r.authors = {QStringLiteral("Le Gall Lucien")};
    BasketExport basket;
    basket.references.push_back(r);
    return basket;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

// pandoc's output for its arguments, or empty when pandoc is missing.
QString pandoc(const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
    if (program.isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Zotero's BibTeX reader as it decodes a braced value: "~" is a no-break space, braces go
// unless escaped, the backslash before an escaped character goes, a doubled backslash is one.
QString zoteroDecoded(QString value)
{
    value.replace(u'~', NoBreakSpace);
    static const QRegularExpression braces(QStringLiteral(R"(([^\\])[{}]+)"));
    value.replace(braces, QStringLiteral("\\1"));
    if (value.startsWith(u'{'))
        value.remove(0, 1);
    static const QRegularExpression escaped(QStringLiteral(R"(([^\\])\\([#$%&~_^\\{}]))"));
    value.replace(escaped, QStringLiteral("\\1\\2"));
    value.replace(escaped, QStringLiteral("\\1\\2"));
    value.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    return value;
}

TEST(ExportNames, SplitAsAFrenchBibliographerWould)
{
    const struct {
        const char *line, *family, *given;
    } cases[] = {
        {"Le Gall Lucien", "Le Gall", "Lucien"},
        {"Da Silva Marie-Claire", "Da Silva", "Marie-Claire"},
        {"De La Tour Jean", "De La Tour", "Jean"},
        {"de la Fontaine Jean", "de la Fontaine", "Jean"},
        {"Le Goff-Vasseur Louis", "Le Goff-Vasseur", "Louis"},
        {"D'Amico Agnès", "D'Amico", "Agnès"},
        {"  Legrand   Claude ", "Legrand", "Claude"},
        {"Dupont Jean-Pierre", "Dupont", "Jean-Pierre"},
        {"Van Gogh", "Van Gogh", ""},
        {"Platon", "Platon", ""},
    };
    for (const auto &c : cases) {
        const PersonName name = splitPersonName(QString::fromUtf8(c.line));
        EXPECT_EQ(name.family, QString::fromUtf8(c.family)) << c.line;
        EXPECT_EQ(name.given, QString::fromUtf8(c.given)) << c.line;
    }
}

TEST(ExportNames, EveryAuthorOfTheSampleKeepsItsWholeFamilyName)
{
    QTemporaryDir dir;
    const std::unique_ptr<Database> db = Database::open(test::copyOfGeneratedBase(dir, 6773));
    StatementPtr authors = db->prepare(QStringLiteral("SELECT Auteur FROM TAuteurs"));
    int compound = 0;
    while (sqlite3_step(authors.get()) == SQLITE_ROW) {
        const QString line = columnValue(authors.get(), 0).toString().simplified();
        const PersonName name = splitPersonName(line);
        SCOPED_TRACE(line.toStdString());
        // Nothing lost, one given name, and no family name cut after its particle.
        EXPECT_EQ(name.given.isEmpty() ? name.family : name.family + u' ' + name.given, line);
        EXPECT_FALSE(name.given.contains(u' '));
        compound += name.family.contains(u' ') ? 1 : 0;
    }
    EXPECT_GT(compound, 20) << "the sample holds names such as Le Gall and Da Silva";
}

TEST(BibTeXValues, DecodedBackByPybtexPandocAndZotero)
{
    const QString nbsp(NoBreakSpace);
    const struct {
        QString text;    // the title in the base
        QString written; // its BibTeX value
        QString zotero;  // what Zotero's BibTeX reader shows
    } cases[] = {
        {QStringLiteral("a {b} c"), QStringLiteral("a \\{b\\} c"), QStringLiteral("a {b} c")},
        {QStringLiteral("lone { brace"), QStringLiteral("lone \\{\\vphantom{\\}} brace"),
         QStringLiteral("lone {\\vphantom} brace")},
        {QStringLiteral("lone } brace"), QStringLiteral("lone \\vphantom{\\{}\\} brace"),
         QStringLiteral("lone \\vphantom{} brace")},
        {QStringLiteral("50 % & #1 _a $e"), QStringLiteral("50 \\% \\& \\#1 \\_a \\$e"),
         QStringLiteral("50 % & #1 _a $e")},
        {QStringLiteral("x^2"), QStringLiteral("x\\^{}2"), QStringLiteral("x^2")},
        {QStringLiteral("«") + nbsp + QStringLiteral("Ohm") + nbsp + QStringLiteral("»"),
         QStringLiteral("«~Ohm~»"),
         QStringLiteral("«") + nbsp + QStringLiteral("Ohm") + nbsp + QStringLiteral("»")},
        // No form of these two reads back in both BibTeX and Zotero: BibTeX's is written.
        {QStringLiteral("a\\b"), QStringLiteral("a{\\textbackslash}b"),
         QStringLiteral("a\\textbackslashb")},
        {QStringLiteral("a~b"), QStringLiteral("a{\\textasciitilde}b"),
         QStringLiteral("a\\textasciitildeb")},
    };
    QTemporaryDir dir;
    BasketExport basket;
    for (const auto &c : cases) {
        const QByteArray bib = WriteBibTeX(oneReference(c.text));
        const QString text = QString::fromUtf8(bib);
        const QString prefix = QStringLiteral("  title = {");
        const qsizetype start = text.indexOf(prefix) + prefix.size();
        const QString value = text.mid(start, text.indexOf(QStringLiteral("},\n"), start) - start);
        EXPECT_EQ(value, c.written) << c.text.toStdString();
        EXPECT_EQ(zoteroDecoded(value), c.zotero) << c.text.toStdString();
        basket.references.push_back(oneReference(c.text).references.front());
        basket.references.back().rank = QString::number(basket.references.size());
    }
    const QString file = writeFile(dir, QStringLiteral("titres.bib"), WriteBibTeX(basket));
    const test::ReadBack pybtex = test::readBack(QStringLiteral("bibtex"), file);
    if (!pybtex.skipped) {
        EXPECT_TRUE(pybtex.fault.isEmpty()) << pybtex.fault.toStdString();
    }
    // pandoc reads BibTeX as biber does, LaTeX included.
    const QJsonDocument items =
        QJsonDocument::fromJson(pandoc({QStringLiteral("-f"), QStringLiteral("bibtex"),
                                        QStringLiteral("-t"), QStringLiteral("csljson"), file})
                                    .toUtf8());
    if (items.isNull())
        GTEST_SKIP() << "pandoc is not installed";
    ASSERT_EQ(items.array().size(), qsizetype(std::size(cases)));
    for (qsizetype i = 0; i < items.array().size(); ++i)
        EXPECT_EQ(items.array()[i][u"title"].toString(), cases[i].text);
}

TEST(ExportLanguage, CiteprocKeepsTheFrenchTitlesAsWritten)
{
    QTemporaryDir dir;
    const BasketExport basket =
        oneReference(QStringLiteral("L'onde : mesure de la loi d'Ohm en France et ailleurs"));
    const QString document = writeFile(dir, QStringLiteral("texte.md"), "---\nnocite: '@*'\n---\n");
    for (const auto &[name, bytes] :
         {std::pair{QStringLiteral("liste.bib"), WriteBibTeX(basket)},
          std::pair{QStringLiteral("liste.json"), WriteCslJson(basket)}}) {
        const QString list = writeFile(dir, name, bytes);
        const QString rendered =
            pandoc({QStringLiteral("--citeproc"), QStringLiteral("--bibliography"), list,
                    QStringLiteral("-t"), QStringLiteral("plain"), QStringLiteral("--wrap=none"),
                    document});
        if (rendered.isEmpty())
            GTEST_SKIP() << "pandoc is not installed";
        // pandoc's own style, Chicago, title-cases English titles: not these.
        EXPECT_TRUE(rendered.contains(
            QStringLiteral("L’onde : mesure de la loi d’Ohm en France et ailleurs")))
            << name.toStdString() << ": " << rendered.toStdString();
        EXPECT_TRUE(rendered.startsWith(QStringLiteral("Le Gall, Lucien.")))
            << rendered.toStdString();
    }
}

TEST(RisValues, TheLinesOfASummaryFollowAsLinesOfOneValue)
{
    const QString ris = QString::fromUtf8(WriteRis(oneReference(
        QStringLiteral("Titre"), QStringLiteral("Premier paragraphe.\r\n\r\n  Second.  \r\nTI  - "
                                                "pas une étiquette\nFin."))));
    EXPECT_TRUE(ris.contains(QStringLiteral("AB  - Premier paragraphe.\r\nSecond. TI  - pas une "
                                            "étiquette\r\nFin.\r\n")))
        << ris.toStdString();
    QTemporaryDir dir;
    const test::ReadBack read = test::readBack(
        QStringLiteral("ris"), writeFile(dir, QStringLiteral("r.ris"), ris.toUtf8()));
    if (read.skipped)
        GTEST_SKIP() << read.fault.toStdString();
    ASSERT_TRUE(read.fault.isEmpty()) << read.fault.toStdString();
    int summaries = 0;
    for (const QJsonValue pair : read.json.array()[0].toArray())
        summaries += pair[0].toString() == QStringLiteral("AB") ? 1 : 0;
    EXPECT_EQ(summaries, 1);
}

} // namespace
