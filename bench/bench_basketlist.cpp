// Listing a basket that holds every reference of the sample base. Goal: within 150 ms.
#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "app/screens.h"
#include "baskets/basketlist.h"
#include "benchsupport.h"
#include "platform/linuxplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir dir;
    const QString base = ferlin::bench::copyOfBase(dir, args);
    ferlin::Database::open(base)->execute(
        QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles"));

    ferlin::bench::Program program(dir, base);
    ferlin::AppContext &context = program.context;
    ferlin::MainWindow &window = program.window;
    auto *list = window.screenAs<ferlin::BasketList>(QStringLiteral("F_grille"));
    window.showScreen(QStringLiteral("F_grille"));

    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer clock;
        clock.start();
        list->ShowBasketList(1);
        list->repaint();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("basket of %d references listed in %.1f ms (median of %zu; goal 150 ms)\n",
                context.state.basketCounts[1], times[times.size() / 2], times.size());
    return 0;
}
