#include "core/search/condition.h"
#include "fakes/fakemessagebox.h"
#include "messageprinters.h"

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

struct Condition : ::testing::Test {
    SelectionCriteria criteria;
    KeywordChoice keywords;
    FakeMessageBox messages;

    // The condition built from the criteria; fails the test on a rejection.
    QString built()
    {
        const SelectionCondition result = BuildSelectionCondition(criteria, keywords, messages);
        EXPECT_FALSE(result.rejected);
        EXPECT_TRUE(messages.messages().isEmpty());
        return result.condition;
    }
    // The messages of a rejected attempt.
    QList<RecordedMessage> rejection()
    {
        const SelectionCondition result = BuildSelectionCondition(criteria, keywords, messages);
        EXPECT_TRUE(result.rejected);
        return messages.messages();
    }
    void freeText(const QString &text, bool wordMode, bool title, bool summary, bool inKeywords)
    {
        criteria.freeText = true;
        criteria.freeTextValue = text;
        criteria.wordMode = wordMode;
        criteria.inTitle = title;
        criteria.inSummary = summary;
        criteria.inKeywords = inKeywords;
    }
};

RecordedMessage error(const QString &text, const QString &title = QStringLiteral("Erreur"))
{
    return RecordedMessage{MessageIcon::Exclamation, MessageButtons::Ok, title, text};
}

TEST_F(Condition, WorkedExampleKeywordsYearsAndWordInTitleAndSummary)
{
    criteria.keywords = true;
    keywords.first = QStringLiteral("optique");
    keywords.et = QStringList{QStringLiteral("lentille")};
    keywords.ou = QStringList{QStringLiteral("miroir")};
    criteria.years = true;
    criteria.yearFrom = QStringLiteral("1980");
    criteria.yearTo = QStringLiteral("1990");
    freeText(QStringLiteral("foyer"), true, true, true, false);
    EXPECT_EQ(
        built(),
        QStringLiteral(
            R"(([MotsCles] LIKE "* optique *" AND [MotsCles] LIKE "* lentille *" OR )"
            R"([MotsCles] LIKE "*miroir *") AND ([An] > 1980 AND [An] < 1990) AND )"
            R"(([Titre] LIKE "* foyer *" OR [Titre] LIKE "* foyer,*" OR [Titre] LIKE "* foyer.*" )"
            R"(OR [Titre] LIKE "*'foyer *" OR [Resume] LIKE "* foyer *" OR [Resume] LIKE )"
            R"("* foyer,*" OR [Resume] LIKE "* foyer.*" OR [Resume] LIKE "*'foyer *" OR [Resume] )"
            R"(LIKE "* foyer)*" OR [Resume] LIKE "*(foyer *"))"));
}

TEST_F(Condition, KeywordsFirstAloneThenOuAndSaufWithoutSpaceBefore)
{
    criteria.keywords = true;
    keywords.first = QStringLiteral(" lentille ");
    EXPECT_EQ(built(), QStringLiteral(R"(([MotsCles] LIKE "* lentille *"))"));

    keywords.first = QStringLiteral("a");
    keywords.ou = QStringList{QStringLiteral("b")};
    EXPECT_EQ(built(), QStringLiteral(R"(([MotsCles] LIKE "* a *" OR [MotsCles] LIKE "*b *"))"));

    keywords.ou.clear();
    keywords.et = QStringList{QStringLiteral("x"), QStringLiteral("y")};
    keywords.sauf = QStringList{QStringLiteral("c")};
    EXPECT_EQ(built(),
              QStringLiteral(R"(([MotsCles] LIKE "* a *" AND [MotsCles] LIKE "* x *" AND )"
                             R"([MotsCles] LIKE "* y *" AND NOT [MotsCles] LIKE "*c *"))"));
}

TEST_F(Condition, YearsWithOneOrBothBounds)
{
    criteria.years = true;
    criteria.yearTo = QStringLiteral(" 1950 ");
    EXPECT_EQ(built(), QStringLiteral("[An] < 1950"));
    criteria.yearFrom = QStringLiteral("1950");
    EXPECT_EQ(built(), QStringLiteral("([An] > 1950 AND [An] < 1950)"));
    criteria.yearTo.clear();
    EXPECT_EQ(built(), QStringLiteral("[An] > 1950"));
    criteria.yearFrom = QStringLiteral("-12,5");
    EXPECT_EQ(built(), QStringLiteral("[An] > -12,5"));
}

TEST_F(Condition, YearTextThatIsNotANumberStaysALiteral)
{
    criteria.years = true;
    criteria.yearFrom = QStringLiteral("1980 OR 1=1");
    criteria.yearTo = QStringLiteral("2000) OR ('x'='x");
    EXPECT_EQ(built(), QStringLiteral("([An] > jetnumber('1980 OR 1=1') AND [An] < "
                                      "jetnumber('2000) OR (''x''=''x'))"));
    criteria.yearFrom = QStringLiteral("19 80");
    criteria.yearTo.clear();
    EXPECT_EQ(built(), QStringLiteral("[An] > jetnumber('19 80')"));
}

TEST_F(Condition, BulletinLevelAuthorPointOfViewAndDomainJoinedInOrder)
{
    criteria.bulletin = true;
    criteria.bulletinNumber = QStringLiteral(" 512 ");
    EXPECT_EQ(built(), QStringLiteral("[Numéro] LIKE '512'"));

    criteria.bulletin = false;
    criteria.level = true;
    criteria.levelText = QStringLiteral(" lycée ");
    EXPECT_EQ(built(), QStringLiteral("[Niveaux] LIKE '*lycée*'"));

    criteria.bulletin = true;
    criteria.author = true;
    criteria.authorText = QStringLiteral("Martin");
    criteria.pointOfView = true;
    criteria.pointOfViewText = QStringLiteral("historique");
    criteria.domain = true;
    criteria.domainText = QStringLiteral("Optique");
    EXPECT_EQ(built(),
              QStringLiteral("[Numéro] LIKE '512' AND [Niveaux] LIKE '*lycée*' AND [Auteur] LIKE "
                             "'*Martin*' AND [PointdeVue] LIKE '*historique*' AND [Domaine] LIKE "
                             "'*Optique*'"));
}

TEST_F(Condition, ReferenceNumberIsTheNumberAtTheStartOfTheText)
{
    criteria.reference = true;
    const std::pair<const char *, const char *> cases[] = {
        {"12abc", "12"}, {"abc", "0"},       {" 42 ", "42"},   {"007", "7"}, {"-3x", "-3"},
        {"+5", "5"},     {"12.5kg", "12.5"}, {"1 2 3", "123"}, {"-", "0"},   {"1e3", "1000"},
    };
    for (const auto &[typed, number] : cases) {
        criteria.referenceText = QString::fromUtf8(typed);
        EXPECT_EQ(built(), QStringLiteral("[Rang] LIKE ") + QString::fromUtf8(number)) << typed;
    }
}

TEST_F(Condition, FreeTextInStringModeKeepsTheTextAsTyped)
{
    freeText(QStringLiteral("onde"), false, false, true, true);
    EXPECT_EQ(built(), QStringLiteral(R"(([Resume] LIKE "*onde*" OR [MotsCles] LIKE "*onde*"))"));

    freeText(QStringLiteral(" onde "), false, true, false, false);
    EXPECT_EQ(built(), QStringLiteral(R"(([Titre] LIKE "* onde *"))"));

    freeText(QStringLiteral("onde"), false, true, true, true);
    EXPECT_EQ(built(), QStringLiteral(R"(([Titre] LIKE "*onde*"  OR [Resume] LIKE "*onde*" OR )"
                                      R"([MotsCles] LIKE "*onde*"))"));

    criteria.years = true;
    criteria.yearFrom = QStringLiteral("1990");
    freeText(QStringLiteral("onde"), false, false, false, true);
    EXPECT_EQ(built(), QStringLiteral(R"([An] > 1990 AND ([MotsCles] LIKE "*onde*"))"));
}

TEST_F(Condition, FreeTextInWordModeTrimsExceptForKeywords)
{
    freeText(QStringLiteral(" onde "), true, true, false, true);
    EXPECT_EQ(built(), QStringLiteral(R"(([Titre] LIKE "* onde *" OR [Titre] LIKE "* onde,*" OR )"
                                      R"([Titre] LIKE "* onde.*" OR [Titre] LIKE "*'onde *" OR )"
                                      R"([MotsCles] LIKE "*  onde  *"))"));

    freeText(QStringLiteral(" onde "), true, false, true, false);
    EXPECT_EQ(built(), QStringLiteral(R"(([Resume] LIKE "* onde *" OR [Resume] LIKE "* onde,*" OR )"
                                      R"([Resume] LIKE "* onde.*" OR [Resume] LIKE "*'onde *" OR )"
                                      R"([Resume] LIKE "* onde)*" OR [Resume] LIKE "*(onde *"))"));

    freeText(QStringLiteral("onde"), true, false, false, true);
    EXPECT_EQ(built(), QStringLiteral(R"(([MotsCles] LIKE "* onde *"))"));
}

TEST_F(Condition, QuotesInValuesAreDoubledWildcardsKept)
{
    criteria.author = true;
    criteria.authorText = QStringLiteral("L'Hôpital");
    EXPECT_EQ(built(), QStringLiteral("[Auteur] LIKE '*L''Hôpital*'"));

    criteria.author = false;
    criteria.keywords = true;
    keywords.first = QStringLiteral("onde \"plane\"");
    keywords.ou = QStringList{QStringLiteral("l'air")};
    EXPECT_EQ(built(), QStringLiteral(R"(([MotsCles] LIKE "* onde ""plane"" *" OR )"
                                      R"([MotsCles] LIKE "*l'air *"))"));

    criteria.keywords = false;
    freeText(QStringLiteral("say \"cheese\" *"), false, true, false, false);
    EXPECT_EQ(built(), QStringLiteral(R"(([Titre] LIKE "*say ""cheese"" **"))"));

    freeText(QStringLiteral("a\"b"), true, true, false, true);
    EXPECT_EQ(built(), QStringLiteral(R"(([Titre] LIKE "* a""b *" OR [Titre] LIKE "* a""b,*" OR )"
                                      R"([Titre] LIKE "* a""b.*" OR [Titre] LIKE "*'a""b *" OR )"
                                      R"([MotsCles] LIKE "* a""b *"))"));

    criteria.freeText = false;
    criteria.bulletin = true;
    criteria.bulletinNumber = QStringLiteral("5' OR '1");
    criteria.domain = true;
    criteria.domainText = QStringLiteral("[A-C]?");
    EXPECT_EQ(built(), QStringLiteral("[Numéro] LIKE '5'' OR ''1' AND [Domaine] LIKE '*[A-C]?*'"));
}

TEST_F(Condition, EveryMissingValueIsReportedInOneAttempt)
{
    criteria.keywords = true;
    criteria.years = true;
    criteria.bulletin = true;
    criteria.bulletinNumber = QStringLiteral("   ");
    criteria.level = true;
    criteria.author = true;
    criteria.pointOfView = true;
    criteria.domain = true;
    criteria.reference = true;
    criteria.freeText = true;
    const QList<RecordedMessage> expected = {
        error(QStringLiteral("Pas de mot clé sélectionné.\r\nLa sélection ne sera pas faite.")),
        error(QStringLiteral("Pas d'année sélectionnée.\r\nLa sélection ne sera pas faite.")),
        error(QStringLiteral("Pas de numéro défini.\r\n La sélection ne sera pas faite.")),
        error(QStringLiteral("Pas de niveau définie.\r\n La sélection ne sera pas faite.")),
        error(QStringLiteral("Pas d'auteur défini.\r\n La sélection ne sera pas faite.")),
        error(QStringLiteral("Pas de point de vue défini.\r\nLa sélection ne sera pas faite.")),
        error(QStringLiteral("Pas de domaine défini.\r\nLa sélection ne sera pas faite.")),
        error(QStringLiteral(
            "Pas de numéro de référence défini.\r\n La sélection ne sera pas faite.")),
        error(QStringLiteral("Pas de texte libre tapé. La sélection ne sera pas faite."),
              QStringLiteral("Recherche sur texte libre")),
    };
    EXPECT_EQ(rejection(), expected);
}

TEST_F(Condition, YearsAndFreeTextBothEmptyGiveTwoMessages)
{
    criteria.years = true;
    freeText(QStringLiteral("  "), false, true, true, false);
    const QList<RecordedMessage> expected = {
        error(QStringLiteral("Pas d'année sélectionnée.\r\nLa sélection ne sera pas faite.")),
        error(QStringLiteral("Pas de texte libre tapé. La sélection ne sera pas faite."),
              QStringLiteral("Recherche sur texte libre")),
    };
    EXPECT_EQ(rejection(), expected);
}

TEST_F(Condition, FreeTextWithoutAFieldIsRejectedWhileOtherCriteriaAreKept)
{
    criteria.domain = true;
    criteria.domainText = QStringLiteral("Optique");
    freeText(QStringLiteral("onde"), true, false, false, false);
    const QList<RecordedMessage> expected = {
        error(QStringLiteral("Pas de champ coché. La sélection ne sera pas faite."),
              QStringLiteral("Recherche sur texte libre")),
    };
    EXPECT_EQ(rejection(), expected);
}

TEST_F(Condition, NoCriterionTickedShowsOnlyThatMessage)
{
    keywords.first = QStringLiteral("optique");
    criteria.yearFrom = QStringLiteral("1980");
    const QList<RecordedMessage> expected = {
        error(QStringLiteral("Aucun critère de sélection coché. La recherche est impossible.")),
    };
    EXPECT_EQ(rejection(), expected);
}

TEST_F(Condition, KeywordBoxTickedAfterTheOnlyKeywordWasRemoved)
{
    criteria.keywords = true;
    criteria.years = true;
    criteria.yearFrom = QStringLiteral("1980");
    const QList<RecordedMessage> expected = {
        error(QStringLiteral("Pas de mot clé sélectionné.\r\nLa sélection ne sera pas faite.")),
    };
    EXPECT_EQ(rejection(), expected);
}

} // namespace
