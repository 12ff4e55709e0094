#include "core/db/catalog.h"
#include "core/db/database.h"
#include "core/db/recordset.h"
#include "support/dberrors.h"
#include "support/tempbase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using ferlin::test::dbErrorOf;

using namespace ferlin;

TEST(DatabaseOpen, MissingOrForeignFilesAreNumberedFrenchErrors)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("ferlin4.sqlite"));
    try {
        Database::open(missing);
        FAIL() << "a missing base must not open";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbErrorCode::FileNotFound);
        EXPECT_TRUE(e.description().contains(QStringLiteral("introuvable")));
    }
    // Opening never creates the file.
    EXPECT_FALSE(QFile::exists(missing));

    QFile garbage(missing);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    EXPECT_EQ(dbErrorOf([&] { Database::open(missing); }), DbErrorCode::UnrecognizedFormat);

    // A folder in place of the file.
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir(QStringLiteral("ferlin4.sqlite")));
    EXPECT_EQ(dbErrorOf([&] { Database::open(other.filePath(QStringLiteral("ferlin4.sqlite"))); }),
              DbErrorCode::FileNotFound);
}

TEST(DatabaseOpen, ReopensAnExistingBaseReadWrite)
{
    test::TempBase base;
    base.addReference(1, 1950, QStringLiteral("12"), 3);
    base.db.reset();
    auto db = Database::open(base.path);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM TArticles")).toInt(), 1);
    EXPECT_EQ(db->execute(QStringLiteral("DELETE FROM [TSélection1]")), 0);
}

TEST(DatabaseErrors, MissingObjectsDuplicatesAndOtherFailuresAreToldApart)
{
    test::TempBase base;
    auto &db = *base.db;
    EXPECT_EQ(dbErrorOf([&] { db.execute(QStringLiteral("DELETE FROM [TNulle]")); }),
              DbErrorCode::ObjectNotFound);
    EXPECT_EQ(dbErrorOf([&] { RecordSet(db, QStringLiteral("TNulle")); }),
              DbErrorCode::ObjectNotFound);
    EXPECT_EQ(dbErrorOf([&] {
                  RecordSet(db, QStringLiteral("SELECT * FROM TArticles WHERE [Inconnu] LIKE 'x'"));
              }),
              DbErrorCode::ObjectNotFound);
    db.execute(QStringLiteral("INSERT INTO [TSélection2] (Rang) VALUES (7)"));
    EXPECT_EQ(dbErrorOf([&] {
                  db.execute(QStringLiteral("INSERT INTO [TSélection2] (Rang) VALUES (7)"));
              }),
              DbErrorCode::DuplicateKey);
    const int syntax =
        dbErrorOf([&] { db.execute(QStringLiteral("SELECT * FROM TArticles WHERE (")); });
    EXPECT_NE(syntax, 0);
    EXPECT_NE(syntax, DbErrorCode::ObjectNotFound);
    EXPECT_NE(syntax, DbErrorCode::DuplicateKey);
    EXPECT_NE(syntax, DbErrorCode::NoCurrentRecord);
}

TEST(DatabaseErrors, AValueWithAnUnescapedQuoteIsRefusedNotRun)
{
    test::TempBase base;
    base.addReference(1, 1950, QStringLiteral("12"), 3);
    const int error = dbErrorOf([&] {
        RecordSet(*base.db,
                  QStringLiteral("SELECT * FROM TArticles WHERE [Auteur] LIKE '*L'Hôpital*'"));
    });
    EXPECT_NE(error, 0);
    // The base is intact.
    EXPECT_EQ(base.db->scalar(QStringLiteral("SELECT count(*) FROM TArticles")).toInt(), 1);
}

TEST(Transactions, RollBackUnlessCommitted)
{
    test::TempBase base;
    {
        Transaction t(*base.db);
        base.addReference(1, 1950, QStringLiteral("1"), 1, Schema::basketTable(1));
    }
    EXPECT_EQ(CountBasket(*base.db, 1), 0);
    {
        Transaction t(*base.db);
        base.addReference(1, 1950, QStringLiteral("1"), 1, Schema::basketTable(1));
        t.commit();
    }
    EXPECT_EQ(CountBasket(*base.db, 1), 1);
}
