// Listing a basket that holds the whole base, the list painted on the shown window, at 6,773
// and 135,460 references. Goals: within 150 ms and 300 ms.
// Usage: bench_basketlist [--size N | --base FILE]
#include "benchsupport.h"
#include "bothsizes.h"
#include "gui/baskets/basketlist.h"
#include "paintcounter.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace ferlin;
using namespace ferlin::bench;

int measure(const QString &original)
{
    QTemporaryDir dir;
    const QString base = writableCopy(dir, original);
    Database::open(base)->execute(
        QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles"));

    Program program(dir, base);
    const int count = program.context.state.baseCount;
    MainWindow &window = program.window;
    auto *list = window.screenAs<BasketList>(QStringLiteral("F_grille"));
    window.showScreen(QStringLiteral("F_grille"));
    // The grid's lines are painted on its viewport: the paint each run waits for.
    QWidget *lines = list->grid()->viewport();
    PaintCounter paints(&window);
    if (!waitExposed(&window) || !runUntil([&] { return paints.of(lines) > 0; })) {
        std::fprintf(stderr, "the basket list was never painted\n");
        return 1;
    }

    const int runs = isLarge(count) ? 5 : 9;
    std::vector<double> times;
    std::vector<double> painted;
    const double before = residentMb("VmRSS");
    resetPeakMemory();
    for (int run = 0; run < runs; ++run) {
        const int grid = paints.of(lines);
        const int all = paints.total();
        QElapsedTimer clock;
        clock.start();
        list->ShowBasketList(1);
        if (!runUntil([&] { return paints.of(lines) > grid; })) {
            std::fprintf(stderr, "the basket list was not painted\n");
            return 1;
        }
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        painted.push_back(paints.total() - all);
    }
    const double time = median(times);
    report(QStringLiteral("basket list of the whole base, painted"), count,
           ms(time) + QStringLiteral(", ") + QString::number(median(painted)) +
               QStringLiteral(" paint events, median of ") + QString::number(runs) +
               QStringLiteral("; peak memory ") + QString::number(residentMb(), 'f', 0) +
               QStringLiteral(" MB (") + QString::number(before, 'f', 0) +
               QStringLiteral(" MB before)"),
           atMostMs(time, isLarge(count) ? 300 : 150));
    return program.context.state.basketCounts[1] == count ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    return widgetBenchmarkMain(argc, argv, measure);
}
