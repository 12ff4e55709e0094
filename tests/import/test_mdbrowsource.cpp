// Jet files read with libmdb: the types a published base may hold, NULLs, memo fields whole,
// Jet 4 text in every script; and a file that is not the catalogue refused before anything is
// written.
#include "core/db/dberror.h"
#include "core/import/importcatalogue.h"
#include "core/import/mdbrowsource.h"
#include "search/messageprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

QString testFile(const char *name)
{
    return QStringLiteral(FERLIN_MDB_TESTDATA "/") + QString::fromLatin1(name);
}

#define SKIP_WITHOUT_TESTDATA()                                                                    \
    if (!QFile::exists(testFile("testV1997.mdb")))                                                 \
    GTEST_SKIP() << "no Jet test files in " FERLIN_MDB_TESTDATA

QList<QVariantList> rowsOf(RowSource &source, const QString &table)
{
    QList<QVariantList> rows;
    source.readRows(table, [&rows](const QVariantList &values) { rows << values; });
    return rows;
}

// A column's value in the only row of a table, by the column's name.
QVariant valueIn(RowSource &source, const QString &table, const char *column)
{
    const auto columns = source.columns(table);
    const QList<QVariantList> rows = rowsOf(source, table);
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == QLatin1String(column))
            return rows.value(0).value(int(i));
    ADD_FAILURE() << "no column " << column;
    return {};
}

QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

TEST(MdbRowSource, ReadsEveryTableOfAJet3File)
{
    SKIP_WITHOUT_TESTDATA();
    const auto source = MdbRowSource::open(testFile("testV1997.mdb"));
    const QStringList tables = source->tables();
    EXPECT_EQ(tables, (QStringList{QStringLiteral("Table1"), QStringLiteral("Table2"),
                                   QStringLiteral("Table3"), QStringLiteral("Table4")}));
    for (const QString &table : tables)
        EXPECT_EQ(rowsOf(*source, table).size(), source->rowCount(table)) << table.toStdString();
    EXPECT_EQ(source->columns(QStringLiteral("Table2")).size(), 89u);

    // Text, byte, integer, long, double, date, currency, boolean.
    std::vector<ColumnKind> kinds;
    for (const SourceColumn &column : source->columns(QStringLiteral("Table1")))
        kinds.push_back(column.kind);
    EXPECT_EQ(kinds,
              (std::vector<ColumnKind>{ColumnKind::Text, ColumnKind::Text, ColumnKind::Integer,
                                       ColumnKind::Integer, ColumnKind::Integer, ColumnKind::Real,
                                       ColumnKind::Date, ColumnKind::Real, ColumnKind::Boolean}));
    const QList<QVariantList> rows = rowsOf(*source, QStringLiteral("Table1"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (QVariantList{QStringLiteral("a"), QStringLiteral("b"), 0LL, 0LL, 0LL, 0.0,
                                     utc(1981, 12, 12), 0.0, false}));
    EXPECT_EQ(rows[1], (QVariantList{QStringLiteral("abcdefg"), QStringLiteral("hijklmnop"), 2LL,
                                     222LL, 333333333LL, 444.555, utc(1974, 9, 21), 3.5, true}));
}

TEST(MdbRowSource, ReadsMemoFieldsWholeNullsAndPoundSignOfAJet4File)
{
    SKIP_WITHOUT_TESTDATA();
    const auto source = MdbRowSource::open(testFile("test2V2000.mdb"));
    const QString table = QStringLiteral("MSP_PROJECTS");
    ASSERT_EQ(source->tables(), QStringList{table});
    ASSERT_EQ(rowsOf(*source, table).size(), 1);
    // The OLE column is left out.
    const auto columns = source->columns(table);
    EXPECT_EQ(columns.size(), 73u);
    EXPECT_EQ(columns.back().name, QStringLiteral("PROJ_CHECKEDOUTDATE"));

    const QString memo = valueIn(*source, table, "PROJ_PROP_AUTHOR").toString();
    EXPECT_EQ(memo.size(), 348); // 696 bytes of UCS-2 on a page of their own
    EXPECT_TRUE(memo.startsWith(QStringLiteral("Jon Iles this is a a vawesrasoih")));
    EXPECT_TRUE(memo.endsWith(QStringLiteral("lkasj dlkfslkd jflksjadf as")));
    EXPECT_EQ(valueIn(*source, table, "PROJ_OPT_CURRENCY_SYMBOL"), QVariant(QStringLiteral("£")));
    EXPECT_EQ(valueIn(*source, table, "PROJ_INFO_CURRENT_DATE"), QVariant(utc(2006, 2, 3, 8)));
    EXPECT_EQ(valueIn(*source, table, "PROJ_OPT_MINUTES_PER_WEEK"), QVariant(2400LL));
    for (const char *column : {"PROJ_PROP_CATEGORY", "PROJ_INFO_STATUS_DATE", "PROJ_TYPE"})
        EXPECT_TRUE(valueIn(*source, table, column).isNull()) << column;
}

TEST(MdbRowSource, ReadsCompressedUnicodeTextExactly)
{
    SKIP_WITHOUT_TESTDATA();
    const auto source = MdbRowSource::open(testFile("testUnicodeCompV2003.mdb"));
    QString everyLatin1;
    for (char16_t c = 1; c <= 0xFF; ++c)
        everyLatin1 += QChar(c);
    QStringList texts;
    for (const QVariantList &row : rowsOf(*source, QStringLiteral("Table")))
        texts << row.value(1).toString();
    // The Greek row has the polytonic forms of ό and ύ; the sixth holds control characters.
    const QString greek = QStringLiteral("ϰαὶ τ\u1F79τ' ἐγὼ Κ\u1F7Bϰλωπα");
    const QString controls = QStringLiteral("3L9") + QChar(0x1D) + QStringLiteral("52") +
                             QChar(0x02) + QStringLiteral("_AB(¥") + QChar(0x05) +
                             QStringLiteral("!!V");
    EXPECT_EQ(texts, (QStringList{QStringLiteral("only ascii chars"), QStringLiteral("ääkkösiä"),
                                  QStringLiteral("Мир"), greek, QStringLiteral("漢字仮名交じり文"),
                                  controls, QStringLiteral("ümlaut"), everyLatin1}));
}

// Jet files without the catalogue's tables, and a file that is no Jet file at all.
class NotACatalogue : public ::testing::TestWithParam<const char *> {};

TEST_P(NotACatalogue, IsRefusedAsABaseOfAnotherStructureWithNothingWritten)
{
    SKIP_WITHOUT_TESTDATA();
    QTemporaryDir dir;
    QString file = testFile(GetParam());
    const bool jet = QFile::exists(file);
    if (!jet) {
        file = dir.filePath(QStringLiteral("notes.mdb"));
        QFile text(file);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("Ceci n'est pas une base.\n").repeated(300));
    }
    const QString base = dir.filePath(QStringLiteral("out/ferlin4.sqlite"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("out"))));
    try {
        const auto source = MdbRowSource::open(file);
        ImportCatalogue(*source, base);
        FAIL() << "accepted";
    } catch (const DbError &error) {
        EXPECT_EQ(error.number(), DbErrorCode::ObjectNotFound);
        const QString named = jet ? QStringLiteral("la table « TArticles »")
                                  : QStringLiteral("n'est pas une base de données Jet");
        EXPECT_TRUE(error.description().contains(named)) << error.description().toStdString();
    }
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("out")))
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, NotACatalogue,
                         ::testing::Values("testV1997.mdb", "test2V2000.mdb",
                                           "testUnicodeCompV2003.mdb", "(a text file)"));

} // namespace
