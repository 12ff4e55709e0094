// Changes the baskets of a base over and over, with the program's own code, until it is killed:
// the crash-safety test kills it in the middle of one change and looks at what is left.
//
//   ferlin_crashchild search <base>    replacing searches into basket 2, by turns over the
//                                      whole base and over the years 1951 to 1989
//   ferlin_crashchild transfer <base>  by turns, basket 3 replaces basket 2 and basket 1 is
//                                      added to it (the test fills baskets 1 and 3 first)
//
// Every question is answered "Oui" (the fake message box's first button). A line "<n> <count>"
// is written after each change is complete; a change that fails ends the program with code 2.
#include "core/baskets/basketoperations.h"
#include "core/baskets/transfer.h"
#include "core/context/appcontext.h"
#include "core/db/catalog.h"
#include "core/db/database.h"
#include "core/db/schema.h"
#include "core/search/runsearch.h"
#include "fakes/fakeplatform.h"

#include <QCoreApplication>

#include <cstdio>

using namespace ferlin;

namespace {

// The screens are not there: nothing to show.
class NoViews : public BasketViews {
public:
    void rankLineChanged(int, int, int) override {}
    void basketShownEmpty(int) override {}
    void publishCounts() override {}
    void bringIntroToFront() override {}
};

// Whether a change ended on an error message rather than its own messages.
bool failed(const FakeMessageBox &messages)
{
    for (const RecordedMessage &m : messages.messages()) {
        const QString title = m.shownTitle();
        if (title == QStringLiteral("Sélection avortée") ||
            title == QStringLiteral("Erreur de transfert") ||
            title == QStringLiteral("Rapport d'erreur") ||
            m.text.startsWith(QStringLiteral("Erreur"))) {
            std::fprintf(stderr, "%s\n", qPrintable(m.text));
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3 ||
        (arguments[1] != QStringLiteral("search") && arguments[1] != QStringLiteral("transfer"))) {
        std::fprintf(stderr, "usage: ferlin_crashchild search|transfer <base>\n");
        return 1;
    }
    const bool searching = arguments[1] == QStringLiteral("search");
    try {
        FakePlatform fakes;
        AppContext context(arguments[2], fakes.platform());
        context.catalogue.db = Database::open(context.databasePath);
        for (int basket = 1; basket <= Schema::BasketCount; ++basket)
            context.state.basketCounts[basket] = CountBasket(*context.catalogue.db, basket);
        NoViews views;
        BasketOperations operations(context, views);
        SearchViews searchViews;
        searchViews.emptyBasketShown = [&operations](int basket) {
            operations.EmptyBasket(basket);
        };
        SearchRunner search(context, searchViews);
        BasketTransfer transfer(context, [] {});

        SelectionCriteria criteria;
        criteria.years = true;
        criteria.destination = 2;
        criteria.replace = true;
        for (int n = 0;; ++n) {
            fakes.messageBox.clear();
            const bool even = n % 2 == 0;
            if (searching) {
                criteria.yearFrom = even ? QStringLiteral("1900") : QStringLiteral("1950");
                criteria.yearTo = even ? QStringLiteral("2100") : QStringLiteral("1990");
                search.RunSearch(criteria, {});
            } else if (even) {
                transfer.TransferBasket(3, 2, TransferMode::Replace);
            } else {
                transfer.TransferBasket(1, 2, TransferMode::Add);
            }
            if (failed(fakes.messageBox))
                return 2;
            std::printf("%d %d\n", n, context.state.basketCounts[2]);
            std::fflush(stdout);
        }
    } catch (const DbError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        return 2;
    }
}
