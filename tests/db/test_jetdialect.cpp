#include "core/db/database.h"
#include "core/db/jetdialect.h"
#include "support/tempbase.h"

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

bool like(const QString &text, const QString &pattern)
{
    return JetPattern::fromString(pattern).matches(text);
}

} // namespace

TEST(JetLike, WildcardsAndListsFollowTheDialect)
{
    struct Case {
        const char *text;
        const char *pattern;
        bool match;
    };
    const Case cases[] = {
        {"optique", "optique", true},
        {"optique", "opti", false},
        {"optique", "opti*", true},
        {"optique", "*que", true},
        {"optique", "*tiq*", true},
        {"", "*", true},
        {"", "", true},
        {"a", "", false},
        {"optique", "o?tique", true},
        {"otique", "o?tique", false},
        {"n° 512", "n° ###", true},
        {"n° 51a", "n° ###", false},
        {"b", "[abc]", true},
        {"d", "[abc]", false},
        {"m", "[a-z]", true},
        {"5", "[a-z]", false},
        {"d", "[!abc]", true},
        {"a", "[!abc]", false},
        {"x*y", "x[*]y", true},
        {"xzy", "x[*]y", false},
        {"a?", "a[?]", true},
        {"ab", "a[?]", false},
        {"2#", "2[#]", true},
        {"[abc", "[abc", true},
        {"ab", "a[]b", true},
        {"% et _", "% et _", true},
        {"mot clé", "* mot *", false},
        {" mot clé ", "* mot *", true},
        {"aaab", "*a*a*b", true},
        {"aaab", "*a*a*c", false},
        {"miroirs et lentilles", "*miroir*lentille?", true},
        {"abcabd", "*ab?", true},
        {"x1y2", "*#*#", true},
        // On the boundaries: the literal is the whole text, the last letter of a range.
        {"12", "12*", true},
        {"optique", "*optique", true},
        {"z", "[a-z]", true},
        {"a", "[a-z]", true},
        {"12", "*12*", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(like(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.match)
            << c.text << " LIKE " << c.pattern;
}

TEST(JetLike, IgnoresCaseForEveryLetterButNotAccents)
{
    EXPECT_TRUE(like(QStringLiteral("ÉNERGIE"), QStringLiteral("énergie")));
    EXPECT_TRUE(like(QStringLiteral("énergie"), QStringLiteral("ÉNERGIE")));
    EXPECT_TRUE(like(QStringLiteral("Ça Œuvre"), QStringLiteral("ça œuvre")));
    EXPECT_TRUE(like(QStringLiteral("Ÿ"), QStringLiteral("ÿ")));
    EXPECT_TRUE(like(QStringLiteral("Électricité"), QStringLiteral("[é]lectricit[É]")));
    EXPECT_TRUE(like(QStringLiteral("É"), QStringLiteral("[à-ÿ]")));
    EXPECT_FALSE(like(QStringLiteral("energie"), QStringLiteral("énergie")));
    EXPECT_FALSE(like(QStringLiteral("août"), QStringLiteral("aout")));
}

TEST(JetLike, IgnoringAccentsTakesEachAccentedLetterForItsPlainOne)
{
    struct Case {
        const char *text;
        const char *pattern;
    };
    const Case cases[] = {
        {"énergie électrique", "*energie electrique*"},
        {"ÉLÈVE", "eleve"},
        {"fenêtre", "fenetre"},
        {"Noël", "noel"},
        {"à côté", "a cote"},
        {"leçon", "LECON"},
        {"cœur", "coeur"},
        {"ŒUVRE", "oeuvre"},
        {"ex æquo", "ex aequo"},
        {"Cæsar", "caesar"},
        {"energie", "énergie"},
        {"coeur", "cœur"},
        {"ile", "[î]le"},
        {"Août", "ao[t-u]t"},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const QString pattern = QString::fromUtf8(c.pattern);
        EXPECT_TRUE(JetPattern::fromString(pattern, true).matches(text))
            << c.text << " LIKE " << c.pattern;
        EXPECT_FALSE(JetPattern::fromString(pattern).matches(text))
            << c.text << " LIKE " << c.pattern << " with accents";
    }
    // Folding keeps every other rule: a ligature is two letters, the rest stays exact.
    EXPECT_TRUE(JetPattern::fromString(QStringLiteral("c??ur"), true).matches(u"cœur"));
    EXPECT_FALSE(JetPattern::fromString(QStringLiteral("lentille"), true).matches(u"lentilles"));
}

TEST(JetLike, TheConnectionIgnoresAccentsOnlyWhileAStatementAsks)
{
    test::TempBase base;
    auto &db = *base.db;
    db.executeBound(QStringLiteral("INSERT INTO TArticles (Rang, Titre) VALUES (1, 'Élève'), "
                                   "(2, 'eleve')"),
                    {});
    auto count = [&] {
        return db
            .scalar(QStringLiteral("SELECT count(*) FROM TArticles WHERE Titre LIKE "
                                   "\"eleve\""))
            .toInt();
    };
    EXPECT_EQ(count(), 1);
    {
        AccentInsensitiveLike folding(db, true);
        EXPECT_EQ(count(), 2);
    }
    EXPECT_EQ(count(), 1);
    AccentInsensitiveLike exact(db, false);
    EXPECT_EQ(count(), 1);
}

TEST(JetLike, RegisteredOnTheConnectionForLikeAndNotLike)
{
    test::TempBase base;
    auto &db = *base.db;
    db.executeBound(QStringLiteral("INSERT INTO TArticles (Rang, An, Titre, MotsCles) VALUES "
                                   "(1, 1950, 'Étude de l''onde', ' optique \r\n lentille '),"
                                   "(2, 1951, NULL, NULL),"
                                   "(3, 1952, 'ÉTUDE du miroir', ' miroir ')"),
                    {});
    auto count = [&](const QString &where) {
        return db.scalar(QStringLiteral("SELECT count(*) FROM TArticles WHERE ") + where).toInt();
    };
    EXPECT_EQ(count(QStringLiteral("[Titre] LIKE \"étude*\"")), 2);
    EXPECT_EQ(count(QStringLiteral("[Titre] LIKE '*L''ONDE'")), 1);
    EXPECT_EQ(count(QStringLiteral("[MotsCles] LIKE \"* optique *\"")), 1);
    // A NULL operand never matches, not even through NOT.
    EXPECT_EQ(count(QStringLiteral("NOT [MotsCles] LIKE \"* optique *\"")), 1);
    EXPECT_EQ(count(QStringLiteral("[Titre] LIKE NULL")), 0);
    // A number matches its decimal text, as a value and as a pattern.
    EXPECT_EQ(count(QStringLiteral("[An] LIKE '*1950*'")), 1);
    EXPECT_EQ(count(QStringLiteral("[An] LIKE '195#'")), 3);
    EXPECT_EQ(count(QStringLiteral("[Rang] LIKE 3")), 1);
    EXPECT_EQ(count(QStringLiteral("[Rang] LIKE 3.0")), 1);
    // The precedence of the keyword conditions: NOT before AND before OR.
    EXPECT_EQ(count(QStringLiteral("([MotsCles] LIKE \"* optique *\" AND [MotsCles] LIKE "
                                   "\"* lentille *\" OR [MotsCles] LIKE \"*miroir *\")")),
              2);
}

TEST(JetSql, DoubleQuotedLiteralsBecomeSingleQuoted)
{
    EXPECT_EQ(translateJetSql(QStringLiteral("[Titre] LIKE \"*onde*\"")),
              QStringLiteral("[Titre] LIKE '*onde*'"));
    EXPECT_EQ(translateJetSql(QStringLiteral("[A] LIKE \"l'onde \"\"x\"\"\"")),
              QStringLiteral("[A] LIKE 'l''onde \"x\"'"));
    EXPECT_EQ(translateJetSql(QStringLiteral("[Titre] LIKE 'a \"b\"' AND [x\"y] = 1")),
              QStringLiteral("[Titre] LIKE 'a \"b\"' AND [x\"y] = 1"));
    EXPECT_EQ(translateJetSql(QStringLiteral("SELECT * FROM TSélection1 ORDER by An DESC")),
              QStringLiteral("SELECT * FROM TSélection1 ORDER by An DESC"));
}

TEST(JetSql, QuotedValuesWorkAsTextInTheStatement)
{
    test::TempBase base;
    auto &db = *base.db;
    const QStringList authors = {QStringLiteral("L'Hôpital G."), QStringLiteral("Dit \"le Sage\""),
                                 QStringLiteral("Étoile*"), QStringLiteral("Crochet [x"),
                                 QStringLiteral("Mixte '\" [*?#")};
    int rang = 0;
    for (const QString &a : authors)
        db.executeBound(QStringLiteral("INSERT INTO TArticles (Rang, Auteur) VALUES (?, ?)"),
                        {++rang, a});
    // Values without quotes are left exactly as they are.
    EXPECT_EQ(quoteSqlText(QStringLiteral("optique"), u'\''), QStringLiteral("optique"));
    EXPECT_EQ(quoteSqlText(QStringLiteral("L'Hôpital"), u'\''), QStringLiteral("L''Hôpital"));
    EXPECT_EQ(quoteSqlText(QStringLiteral("a\"b"), u'"'), QStringLiteral("a\"\"b"));
    EXPECT_EQ(quoteSqlText(QStringLiteral("L'Hôpital"), u'"'), QStringLiteral("L'Hôpital"));
    for (const QString &a : authors) {
        for (QChar delimiter : {QChar(u'\''), QChar(u'"')}) {
            const QString where = QStringLiteral("[Auteur] LIKE ") + delimiter + u'*' +
                                  quoteSqlText(escapeLikeWildcards(a), delimiter) + u'*' +
                                  delimiter;
            EXPECT_EQ(
                db.scalar(QStringLiteral("SELECT count(*) FROM TArticles WHERE ") + where).toInt(),
                1)
                << where.toStdString();
        }
    }
    // Unescaped wildcards keep their meaning; an unclosed list is a plain "[".
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM TArticles WHERE [Auteur] LIKE "
                                       "'*[x*'"))
                  .toInt(),
              1);
}
