#include "core/db/schema.h"
#include "core/search/keysetreader.h"
#include "core/search/runsearch.h"
#include "gui/record/recordcard.h"
#include "messageprinters.h"
#include "support/programfixture.h"
#include "support/tempbase.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <tuple>

using namespace ferlin;

namespace {

// One reference of the base as read straight from the table.
struct Reference {
    int rang = 0;
    int year = 0;
    QString number, author, domain, pointOfView, levels, keywords, title, summary;

    bool has(const QString &text, const QString &what) const
    {
        return text.contains(what, Qt::CaseInsensitive);
    }
};

struct Searches : test::ProgramFixture {
    std::unique_ptr<SearchRunner> runner;
    SelectionCriteria criteria;
    KeywordChoice keywords;
    QList<int> emptied;            // basket of each emptyBasketShown call
    QStringList cardSourceAtEmpty; // the card's statement when the basket was emptied
    QList<int> shown;              // basket of each showDestinationBasket call
    int publications = 0;
    QList<bool> busyAtMessage; // the pointer's state at each message
    std::function<void(int)> onShow;

    explicit Searches(int references = 300) : ProgramFixture(references)
    {
        window.load();
        SearchViews views;
        views.emptyBasketShown = [this](int basket) {
            emptied << basket;
            cardSourceAtEmpty << context.catalogue.card->source();
            window.screenAs<RecordCard>(QStringLiteral("F_formul"))
                ->basketOperations()
                .EmptyBasket(basket);
        };
        views.publishCounts = [this] {
            ++publications;
            window.publishCounts();
        };
        views.showDestinationBasket = [this](int basket) {
            shown << basket;
            if (onShow)
                onShow(basket);
        };
        runner = std::make_unique<SearchRunner>(context, std::move(views));
    }

    // Runs a search, answering the questions in turn (then the first button) and noting the
    // pointer at each message.
    void search(const QList<MessageAnswer> &answers = {})
    {
        fakes.messageBox.clear();
        busyAtMessage.clear();
        for (MessageAnswer answer : answers)
            fakes.messageBox.pushResponder([this, answer](const RecordedMessage &) {
                busyAtMessage << fakes.busyPointer.isBusy();
                return answer;
            });
        for (int i = 0; i < 4; ++i)
            fakes.messageBox.pushResponder([this](const RecordedMessage &m) {
                busyAtMessage << fakes.busyPointer.isBusy();
                return firstAnswer(m.buttons);
            });
        runner->RunSearch(criteria, keywords);
        EXPECT_FALSE(fakes.busyPointer.isBusy());
        EXPECT_FALSE(busyAtMessage.contains(true)) << "a message shown under the hourglass";
    }
    QList<RecordedMessage> messages() const { return fakes.messageBox.messages(); }

    std::unique_ptr<Database> second() const { return Database::open(context.databasePath); }

    // Every reference of the base, read through a second connection.
    std::vector<Reference> references() const
    {
        auto db = second();
        auto rows = db->openRecordSet(Schema::Articles);
        const QStringList fields = {QStringLiteral("Rang"),    QStringLiteral("An"),
                                    QStringLiteral("Numéro"),  QStringLiteral("Auteur"),
                                    QStringLiteral("Domaine"), QStringLiteral("PointdeVue"),
                                    QStringLiteral("Niveaux"), QStringLiteral("MotsCles"),
                                    QStringLiteral("Titre"),   QStringLiteral("Resume")};
        std::vector<Reference> all;
        for (rows->moveFirst(); !rows->isEof(); rows->moveNext()) {
            const QStringList t = rows->texts(fields);
            all.push_back(
                {t[0].toInt(), t[1].toInt(), t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9]});
        }
        return all;
    }
    QList<int> rangsWhere(const std::function<bool(const Reference &)> &test) const
    {
        QList<int> rangs;
        for (const Reference &r : references())
            if (test(r))
                rangs << r.rang;
        std::sort(rangs.begin(), rangs.end());
        return rangs;
    }
    // The Rang of the rows stored in a basket, ascending, as a new connection finds them.
    QList<int> rangsIn(int basket) const
    {
        auto db = second();
        auto rows = db->openRecordSet(Schema::basketTable(basket));
        QList<int> rangs;
        for (int i = 0; i < rows->recordCount(); ++i) {
            rows->setAbsolutePosition(i);
            rangs << rows->value(QStringLiteral("Rang")).toInt();
        }
        std::sort(rangs.begin(), rangs.end());
        return rangs;
    }
    // Puts references of the base into a basket directly, as an earlier search would have.
    void fill(int basket, const QString &sqlCondition)
    {
        context.state.basketCounts[basket] += context.catalogue.db->execute(
            QStringLiteral("INSERT INTO [") + Schema::basketTable(basket) +
            QStringLiteral("] SELECT * FROM TArticles WHERE ") + sqlCondition);
    }
    // The card shows basket n, from its first reference, with its count true.
    void expectCardOnBasket(int basket, int count) const
    {
        const RecordSet &card = *context.catalogue.card;
        EXPECT_EQ(card.source(), QStringLiteral("SELECT * FROM TSélection") +
                                     QString::number(basket) +
                                     QStringLiteral(" ORDER BY An DESC,Numéro DESC,Page DESC"));
        EXPECT_EQ(card.recordCount(), count);
        EXPECT_EQ(context.state.card.position, 1);
        EXPECT_EQ(context.state.card.count, count);
        EXPECT_EQ(context.state.basketCounts[basket], count);
        EXPECT_EQ(context.state.currentBasket, basket);
    }
};

RecordedMessage message(MessageIcon icon, MessageButtons buttons, const QString &text,
                        std::optional<QString> title = std::nullopt)
{
    return RecordedMessage{icon, buttons, std::move(title), text};
}

RecordedMessage foundQuestion(int found, int basket)
{
    return message(MessageIcon::None, MessageButtons::YesNo,
                   QString::number(found) +
                       QStringLiteral(" références ont été trouvées\r\nCopier le résultat de "
                                      "cette recherche dans le panier ") +
                       QString::number(basket) + QStringLiteral(" ?"),
                   QStringLiteral("Résultat"));
}

RecordedMessage added(const QString &text)
{
    return message(MessageIcon::Information, MessageButtons::Ok, text);
}

TEST(SearchRun, KeywordsWithEtOuSaufFoundAndPlacedInOrder)
{
    Searches s;
    // The two most frequent keywords of the base, and two more.
    std::map<QString, int> frequency;
    for (const Reference &r : s.references())
        for (const QString &k : r.keywords.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            ++frequency[k.trimmed()];
    std::vector<std::pair<int, QString>> byFrequency;
    for (const auto &[k, n] : frequency)
        byFrequency.emplace_back(-n, k);
    std::sort(byFrequency.begin(), byFrequency.end());
    ASSERT_GE(byFrequency.size(), 4u);
    const QString a = byFrequency[0].second, b = byFrequency[1].second, c = byFrequency[2].second,
                  d = byFrequency[3].second;

    s.criteria.keywords = true;
    s.keywords.first = a;
    s.keywords.et = QStringList{b};
    s.keywords.ou = QStringList{c};
    s.keywords.sauf = QStringList{d};
    // NOT before AND before OR: (a AND b) OR (c AND NOT d).
    const QList<int> expected = s.rangsWhere([&](const Reference &r) {
        const QString k = r.keywords;
        return (r.has(k, u' ' + a + u' ') && r.has(k, u' ' + b + u' ')) ||
               (r.has(k, c + u' ') && !r.has(k, d + u' '));
    });
    ASSERT_GE(expected.size(), 2);
    s.search();

    const int n = int(expected.size());
    const QList<RecordedMessage> said = {
        foundQuestion(n, 1),
        added(QString::number(n) +
              QStringLiteral(" références ont été ajoutées dans le panier n° 1"))};
    EXPECT_EQ(s.messages(), said);
    EXPECT_EQ(s.rangsIn(1), expected);
    s.expectCardOnBasket(1, n);
    EXPECT_EQ(s.shown, QList<int>{1});
    EXPECT_EQ(s.publications, 1);
    EXPECT_TRUE(s.fakes.busyPointer.history().contains(true));

    // The card's set runs by year, bulletin and page, each from the highest down.
    RecordSet &card = *s.context.catalogue.card;
    QList<std::tuple<int, QString, int>> order;
    for (card.moveFirst(); !card.isEof(); card.moveNext())
        order << std::tuple(card.value(QStringLiteral("An")).toInt(),
                            card.text(QStringLiteral("Numéro")),
                            card.value(QStringLiteral("Page")).toInt());
    EXPECT_TRUE(std::is_sorted(order.rbegin(), order.rend()));
}

TEST(SearchRun, EachCriterionFindsTheReferencesItDescribes)
{
    Searches s;
    const std::vector<Reference> all = s.references();
    const auto apostrophe = std::find_if(all.begin(), all.end(), [](const Reference &r) {
        return r.author.section(u' ', 0, 0).contains(u'\'');
    });
    ASSERT_NE(apostrophe, all.end()) << "no author with an apostrophe in the base";
    const QString surname = apostrophe->author.section(u' ', 0, 0); // such as « L'Hôpital »
    const int firstYear = std::min_element(all.begin(), all.end(), [](auto &x, auto &y) {
                              return x.year < y.year;
                          })->year;
    const QString bulletin = all[all.size() / 2].number;
    const QString word = QStringLiteral("montage");

    struct Case {
        const char *name;
        std::function<void(SelectionCriteria &)> set;
        std::function<bool(const Reference &)> expected;
    };
    const std::vector<Case> cases = {
        {"years",
         [&](SelectionCriteria &c) {
             c.years = true;
             c.yearFrom = QString::number(firstYear + 10);
             c.yearTo = QString::number(firstYear + 40);
         },
         [&](const Reference &r) { return r.year > firstYear + 10 && r.year < firstYear + 40; }},
        {"bulletin",
         [&](SelectionCriteria &c) {
             c.bulletin = true;
             c.bulletinNumber = u' ' + bulletin + u' ';
         },
         [&](const Reference &r) { return r.number == bulletin; }},
        {"level",
         [](SelectionCriteria &c) {
             c.level = true;
             c.levelText = QStringLiteral(" lycée ");
         },
         [](const Reference &r) { return r.has(r.levels, QStringLiteral("lycée")); }},
        {"author with an apostrophe",
         [&](SelectionCriteria &c) {
             c.author = true;
             c.authorText = surname;
         },
         [&](const Reference &r) { return r.has(r.author, surname); }},
        {"point of view",
         [](SelectionCriteria &c) {
             c.pointOfView = true;
             c.pointOfViewText = QStringLiteral("historique");
         },
         [](const Reference &r) { return r.has(r.pointOfView, QStringLiteral("historique")); }},
        {"domain",
         [](SelectionCriteria &c) {
             c.domain = true;
             c.domainText = QStringLiteral("Optique");
         },
         [](const Reference &r) { return r.has(r.domain, QStringLiteral("optique")); }},
        {"reference number",
         [](SelectionCriteria &c) {
             c.reference = true;
             c.referenceText = QStringLiteral("17e");
         },
         [](const Reference &r) { return r.rang == 17; }},
        {"free text as a string",
         [](SelectionCriteria &c) {
             c.freeText = true;
             c.freeTextValue = QStringLiteral("onde");
         },
         [](const Reference &r) {
             return r.has(r.title, QStringLiteral("onde")) ||
                    r.has(r.summary, QStringLiteral("onde"));
         }},
        {"free text as a word",
         [&](SelectionCriteria &c) {
             c.freeText = true;
             c.freeTextValue = u' ' + word;
             c.wordMode = true;
             c.inKeywords = true;
         },
         [&](const Reference &r) {
             for (const QString &in : {QStringLiteral(" %1 "), QStringLiteral(" %1,"),
                                       QStringLiteral(" %1."), QStringLiteral("'%1 ")})
                 if (r.has(r.title, in.arg(word)) || r.has(r.summary, in.arg(word)))
                     return true;
             return r.has(r.summary, QStringLiteral(" %1)").arg(word)) ||
                    r.has(r.summary, QStringLiteral("(%1 ").arg(word)) ||
                    r.has(r.keywords, QStringLiteral("  %1 ").arg(word));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        s.criteria = SelectionCriteria();
        s.criteria.replace = true;
        c.set(s.criteria);
        const QList<int> expected = s.rangsWhere(c.expected);
        ASSERT_FALSE(expected.isEmpty());
        s.search();
        EXPECT_EQ(s.rangsIn(1), expected);
        s.expectCardOnBasket(1, int(expected.size()));
        const QString placed =
            expected.size() == 1
                ? QStringLiteral("Une référence a été placée dans le panier n° 1")
                : QString::number(expected.size()) +
                      QStringLiteral(" références ont été placées dans le panier n° 1");
        EXPECT_EQ(s.fakes.messageBox.lastMessage(),
                  message(MessageIcon::None, MessageButtons::Ok, placed));
    }
}

TEST(SearchRun, NothingFoundTouchesNoBasketButTakesTheDestination)
{
    Searches s;
    s.fill(3, QStringLiteral("Rang < 5"));
    s.criteria.freeText = true;
    s.criteria.freeTextValue = QStringLiteral("xyzzy");
    s.criteria.destination = 3;
    s.search();
    EXPECT_EQ(
        s.messages(),
        QList<RecordedMessage>{message(
            MessageIcon::None, MessageButtons::Ok,
            QStringLiteral("Aucune référence correspondant à ces critères n'a été trouvée"))});
    EXPECT_EQ(s.context.state.currentBasket, 3);
    EXPECT_EQ(s.context.catalogue.card->recordCount(), 0);
    EXPECT_TRUE(s.context.catalogue.card->source().contains(QStringLiteral("xyzzy")));
    EXPECT_EQ(s.rangsIn(3), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(s.context.state.basketCounts[3], 4);
    EXPECT_TRUE(s.shown.isEmpty());
}

TEST(SearchRun, OneFoundIsCopiedWithoutAQuestion)
{
    Searches s;
    s.criteria.reference = true;
    s.criteria.referenceText = QStringLiteral("42");
    s.criteria.destination = 2;
    s.search();
    const QList<RecordedMessage> said = {
        message(MessageIcon::None, MessageButtons::Ok,
                QStringLiteral("Une référence a été trouvée")),
        added(QStringLiteral("Une référence a été ajoutée dans le panier n° 2"))};
    EXPECT_EQ(s.messages(), said);
    EXPECT_EQ(s.rangsIn(2), QList<int>{42});
    s.expectCardOnBasket(2, 1);
    EXPECT_EQ(s.shown, QList<int>{2});
}

TEST(SearchRun, NoToTheCopyQuestionLeavesTheResultOnTheCard)
{
    Searches s;
    s.criteria.years = true;
    s.criteria.yearFrom = QStringLiteral("1990");
    s.criteria.destination = 2;
    s.search({MessageAnswer::No});
    const int found = int(s.rangsWhere([](const Reference &r) { return r.year > 1990; }).size());
    EXPECT_EQ(s.messages(), QList<RecordedMessage>{foundQuestion(found, 2)});
    EXPECT_EQ(s.context.catalogue.card->source(),
              QStringLiteral("SELECT * FROM TArticles WHERE [An] > 1990 ORDER BY An DESC,"
                             "Numéro DESC,Page DESC"));
    EXPECT_EQ(s.context.state.currentBasket, 2);
    EXPECT_TRUE(s.rangsIn(2).isEmpty());
    EXPECT_EQ(s.context.state.basketCounts[2], 0);
    EXPECT_TRUE(s.shown.isEmpty());
}

TEST(SearchRun, AddingSkipsTheReferencesTheBasketHolds)
{
    Searches s;
    const QString bulletin =
        s.second()
            ->scalar(QStringLiteral("SELECT Numéro FROM TArticles GROUP BY Numéro HAVING "
                                    "COUNT(*) = 3 LIMIT 1"))
            .toString();
    ASSERT_FALSE(bulletin.isEmpty());
    const QList<int> three = s.rangsWhere([&](const Reference &r) { return r.number == bulletin; });
    ASSERT_EQ(three.size(), 3);
    ASSERT_FALSE(three.contains(1));
    s.fill(1, QStringLiteral("Rang = %1 OR Rang = 1").arg(three[1]));
    s.criteria.bulletin = true;
    s.criteria.bulletinNumber = bulletin;
    s.search();
    EXPECT_EQ(s.messages().back(),
              added(QStringLiteral("2 références ont été ajoutées dans le panier n° 1")));
    EXPECT_EQ(s.rangsIn(1), (QList<int>{1, three[0], three[1], three[2]}));
    s.expectCardOnBasket(1, 4);

    // Again: the basket holds every reference found.
    s.search();
    EXPECT_EQ(s.messages().back(),
              added(QStringLiteral("Pas de référence ajoutée dans le panier n° 1")));
    s.expectCardOnBasket(1, 4);
}

TEST(SearchRun, ReplacingAnEmptyBasketAsksNothingElseWarnsFirst)
{
    Searches s;
    s.criteria.years = true;
    s.criteria.yearFrom = QStringLiteral("1995");
    s.criteria.replace = true;
    const QList<int> found = s.rangsWhere([](const Reference &r) { return r.year > 1995; });
    s.search();
    const QString placed = QString::number(found.size()) +
                           QStringLiteral(" références ont été placées dans le panier n° 1");
    EXPECT_EQ(s.messages(),
              (QList<RecordedMessage>{foundQuestion(int(found.size()), 1),
                                      message(MessageIcon::None, MessageButtons::Ok, placed)}));
    EXPECT_EQ(s.emptied, QList<int>{1});

    // A basket that holds references: answered No, it stays as it was.
    s.criteria.yearFrom = QStringLiteral("1985");
    s.search({MessageAnswer::Yes, MessageAnswer::No});
    const RecordedMessage warning =
        message(MessageIcon::Exclamation, MessageButtons::YesNo,
                QStringLiteral(
                    "Attention, le panier 1 va être vidé et son contenu perdu.\r\nOn continue ?"),
                QStringLiteral(" "));
    EXPECT_EQ(s.messages().size(), 2);
    EXPECT_EQ(s.messages().back(), warning);
    EXPECT_EQ(s.rangsIn(1), found);
    EXPECT_EQ(s.context.state.basketCounts[1], found.size());
    EXPECT_EQ(s.emptied, QList<int>{1});
    EXPECT_EQ(s.shown, QList<int>{1});
}

TEST(SearchRun, BasketIntoBasketWithReplacement)
{
    Searches s;
    s.fill(2, QStringLiteral("An > 1980"));
    s.fill(1, QStringLiteral("An < 1920"));
    s.criteria.source = QStringLiteral("PANIER 2");
    s.criteria.years = true;
    s.criteria.yearTo = QStringLiteral("1990");
    s.criteria.replace = true;
    const QList<int> found =
        s.rangsWhere([](const Reference &r) { return r.year > 1980 && r.year < 1990; });
    s.search();
    EXPECT_EQ(s.messages()[1].text,
              QStringLiteral("Attention, le panier 1 va être vidé et son contenu perdu.\r\n"
                             "On continue ?"));
    ASSERT_EQ(s.cardSourceAtEmpty.size(), 1);
    EXPECT_TRUE(s.cardSourceAtEmpty[0].startsWith(
        QStringLiteral("SELECT * FROM TSélection2 WHERE [An] < 1990")));
    EXPECT_EQ(s.rangsIn(1), found);
    s.expectCardOnBasket(1, int(found.size()));

    // A basket searched into itself keeps what was found.
    s.criteria.source = QStringLiteral("PANIER 1");
    s.criteria.yearTo = QStringLiteral("1985");
    s.search();
    const QList<int> kept =
        s.rangsWhere([](const Reference &r) { return r.year > 1980 && r.year < 1985; });
    EXPECT_EQ(s.rangsIn(1), kept);
    s.expectCardOnBasket(1, int(kept.size()));
}

TEST(SearchRun, TheThirdBasketAsSourceIsSearchedAlone)
{
    Searches s;
    s.fill(3, QStringLiteral("An > 1990"));
    s.criteria.source = QStringLiteral("PANIER 3");
    s.criteria.years = true;
    s.criteria.yearTo = QStringLiteral("1995");
    s.criteria.destination = 2;
    const QList<int> found =
        s.rangsWhere([](const Reference &r) { return r.year > 1990 && r.year < 1995; });
    ASSERT_GT(found.size(), 1);
    s.search();
    EXPECT_EQ(s.messages().front(), foundQuestion(int(found.size()), 2));
    EXPECT_EQ(s.rangsIn(2), found);
    EXPECT_EQ(SearchRunner::statementFor(QStringLiteral("PANIER 3"), QStringLiteral("[An] < 1995")),
              QStringLiteral("SELECT * FROM TSélection3 WHERE [An] < 1995 ORDER BY An DESC,"
                             "Numéro DESC,Page DESC"));
}

TEST(SearchRun, FailureDuringTheCopyLeavesBasketAndCountsTrue)
{
    Searches s;
    s.fill(1, QStringLiteral("Rang <= 3"));
    const int middle = s.rangsWhere([](const Reference &r) { return r.year > 1950; }).at(10);
    s.second()->execute(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON [TSélection1] "
                       "WHEN NEW.Rang = %1 BEGIN SELECT RAISE(ABORT, 'refusé'); END")
            .arg(middle));
    s.criteria.years = true;
    s.criteria.yearFrom = QStringLiteral("1950");
    s.search();
    const RecordedMessage failure = s.messages().back();
    EXPECT_EQ(failure.icon, MessageIcon::Exclamation);
    EXPECT_EQ(failure.buttons, MessageButtons::Ok);
    EXPECT_EQ(failure.title, QStringLiteral("Sélection avortée"));
    EXPECT_TRUE(failure.text.startsWith(QStringLiteral("Erreur  "))) << failure.text.toStdString();
    EXPECT_TRUE(failure.text.contains(QStringLiteral("\r\n")));
    EXPECT_EQ(s.rangsIn(1), (QList<int>{1, 2, 3}));
    EXPECT_EQ(s.context.state.basketCounts[1], 3);
    EXPECT_TRUE(s.shown.isEmpty());

    // Replacing: emptied, then nothing stored; the count says so.
    s.criteria.replace = true;
    s.search();
    EXPECT_EQ(s.messages().back().title, QStringLiteral("Sélection avortée"));
    EXPECT_TRUE(s.rangsIn(1).isEmpty());
    EXPECT_EQ(s.context.state.basketCounts[1], 0);

    // Once the refusal is gone, the same search goes through.
    s.second()->execute(QStringLiteral("DROP TRIGGER refuse"));
    s.search();
    EXPECT_EQ(s.rangsIn(1), s.rangsWhere([](const Reference &r) { return r.year > 1950; }));
}

TEST(SearchRun, ErrorsOfTheStatementAndOfTheScreensAreReported)
{
    Searches s;
    s.second()->execute(QStringLiteral("ALTER TABLE TArticles DROP COLUMN Domaine"));
    s.criteria.domain = true;
    s.criteria.domainText = QStringLiteral("Optique");
    s.search();
    EXPECT_EQ(
        s.messages(),
        QList<RecordedMessage>{message(
            MessageIcon::Exclamation, MessageButtons::Ok,
            QStringLiteral("Erreur  3011\r\nLe champ « Domaine » est introuvable dans la base "
                           "de données."),
            QStringLiteral("Sélection avortée"))});
    EXPECT_EQ(s.context.state.currentBasket, 1);

    s.criteria = SelectionCriteria();
    s.criteria.reference = true;
    s.criteria.referenceText = QStringLiteral("7");
    s.onShow = [](int) {
        throw DbError(DbErrorCode::NoCurrentRecord, QStringLiteral("Aucun enregistrement."));
    };
    s.search();
    EXPECT_EQ(s.messages().back(),
              message(MessageIcon::Exclamation, MessageButtons::Ok,
                      QStringLiteral("Aucune référence ne répond à ces critères."),
                      QStringLiteral("Pas de sélection")));
}

TEST(SearchRun, TypedTextInAYearBoundCannotChangeTheStatement)
{
    Searches s;
    s.criteria.years = true;
    s.criteria.yearFrom = QStringLiteral("2100 OR 1=1");
    s.search();
    // The search is refused, as a year that is not a number was, and nothing is selected.
    EXPECT_EQ(s.messages(),
              QList<RecordedMessage>{message(
                  MessageIcon::Exclamation, MessageButtons::Ok,
                  QStringLiteral("Erreur  3464\r\nType de données incompatible dans l'expression "
                                 "du critère."),
                  QStringLiteral("Sélection avortée"))});
    // Neither bound lets every row through.
    s.fakes.messageBox.clear();
    s.criteria.yearFrom.clear();
    s.criteria.yearTo = QStringLiteral("abc");
    s.search();
    EXPECT_EQ(s.messages().size(), 1);
    EXPECT_EQ(s.messages().front().shownTitle(), QStringLiteral("Sélection avortée"));
}

TEST(SearchRun, RejectedCriteriaTouchNothing)
{
    Searches s;
    const qsizetype pointerChanges = s.fakes.busyPointer.history().size();
    s.criteria.destination = 3;
    s.criteria.author = true;
    s.search();
    EXPECT_EQ(s.messages().size(), 1);
    EXPECT_EQ(s.context.state.currentBasket, 1);
    EXPECT_EQ(s.fakes.busyPointer.history().size(), pointerChanges);
}

TEST(SearchRun, EveryReferenceOfTheBasePlacedQuickly)
{
    Searches s(6773);
    s.criteria.years = true;
    s.criteria.yearFrom = QStringLiteral("1900");
    QElapsedTimer timer;
    timer.start();
    s.search();
    const qint64 elapsed = timer.elapsed();
    EXPECT_EQ(s.messages(), (QList<RecordedMessage>{
                                foundQuestion(6773, 1),
                                added(QStringLiteral("6773 références ont été ajoutées dans le "
                                                     "panier n° 1"))}));
    EXPECT_EQ(s.second()->scalar(QStringLiteral("SELECT COUNT(*) FROM [TSélection1]")).toInt(),
              6773);
    EXPECT_EQ(s.second()
                  ->scalar(QStringLiteral("SELECT COUNT(*) FROM [TSélection1] s JOIN TArticles a "
                                          "ON a.Rang = s.Rang AND a.Titre IS s.Titre AND a.Resume "
                                          "IS s.Resume AND a.MotsCles IS s.MotsCles"))
                  .toInt(),
              6773);
    s.expectCardOnBasket(1, 6773);
    EXPECT_LT(elapsed, 2000) << elapsed << " ms";
    std::cout << "6773 references found and placed in " << elapsed << " ms\n";
}

} // namespace

TEST(SearchRun, IgnoringAccentsFoldsTheSearchStatementAndNothingElse)
{
    Searches s;
    s.criteria.freeText = true;
    s.criteria.freeTextValue = QStringLiteral("etude");
    s.criteria.inSummary = false;
    const QList<int> accented = s.rangsWhere([](const Reference &r) {
        return r.title.contains(QStringLiteral("étude"), Qt::CaseInsensitive);
    });
    ASSERT_GE(accented.size(), 2);
    s.search();
    EXPECT_EQ(s.messages().front().text,
              QStringLiteral("Aucune référence correspondant à ces critères n'a été trouvée"));

    s.context.state.settings.ignoreAccents = true;
    s.search({MessageAnswer::No});
    EXPECT_EQ(s.messages().front(), foundQuestion(int(accented.size()), 1));
    EXPECT_EQ(s.context.catalogue.card->recordCount(), accented.size());
    // The other statements of the connection compare accents as before.
    EXPECT_FALSE(s.context.catalogue.db->likeIgnoresAccents());
}

// The search's statement runs apart from the window's thread: the same rows as on the window's
// connection, and a statement that is stopped ends at once.
TEST(KeysApart, ReadsTheStatementsRowsAndStopsWhenAsked)
{
    test::TempBase base;
    for (int rang = 1; rang <= 30; ++rang)
        base.addReference(rang, 1990 + rang % 3, QStringLiteral("1"), rang);
    const QString statement =
        SearchRunner::statementFor(QStringLiteral("TArticles"), QStringLiteral("[An] = 1991"));
    const Keyset keys = readKeysApart(base.path, statement, false, {});
    const auto here = base.db->openRecordSet(statement);
    ASSERT_EQ(keys.size(), here->keys().size());
    for (qint64 i = 0; i < keys.size(); ++i)
        EXPECT_EQ(keys.at(i), here->keys().at(i));

    // Counting to two hundred million would take half a minute.
    const QString slow = SearchRunner::statementFor(
        QStringLiteral("TArticles"),
        QStringLiteral("(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < "
                       "200000000) SELECT count(*) FROM c) > 0"));
    int waits = 0;
    try {
        readKeysApart(base.path, slow, false, [&waits] { return ++waits < 3; });
        ADD_FAILURE() << "not stopped";
    } catch (const DbError &error) {
        EXPECT_EQ(error.number(), DbErrorCode::Cancelled);
    }
    EXPECT_EQ(waits, 3);
}
