// Start-up time: "ferlin" starts the program's main window on the base given and ends as soon
// as "Ferlin est ouvert !" has been painted. bench/startup.sh runs it in turn with bare_window,
// a separate bare Qt program that ends once its one label has been painted.
#include "app/application.h"
#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "app/screens.h"
#include "benchsupport.h"
#include "core/context/appcontext.h"
#include "core/platform/inisettingsstore.h"
#include "gui/platform/linuxplatform.h"
#include "paintcounter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <cstdio>

namespace {

int prepareSettings(const QString &ini)
{
    ferlin::IniSettingsStore store(ini);
    return ferlin::bench::writeConfiguredSettings(store) ? 0 : 1;
}

int runFerlin(QApplication &app, const QString &base, const QString &ini)
{
    QElapsedTimer setup;
    setup.start();
    ferlin::installFrenchTranslations(app);
    ferlin::installProgramStyle(app);
    ferlin::LinuxPlatform services(ini);
    if (qEnvironmentVariableIsSet("FERLIN_BENCH_PHASES"))
        std::fprintf(stderr, "translations and services %lld µs\n", setup.nsecsElapsed() / 1000);
    QElapsedTimer clock;
    clock.start();
    ferlin::AppContext context(base, services.platform());
    ferlin::MainWindow window(context);
    ferlin::installScreens(window);
    const qint64 built = clock.nsecsElapsed();
    QLabel *done = window.intro()->stepLabel(QStringLiteral("Lab_OKFin"));
    if (!done)
        return 1;
    ferlin::bench::PaintCounter paints(done);
    window.showMaximized();
    const qint64 shown = clock.nsecsElapsed();
    qint64 loading = 0;
    qint64 loaded = 0;
    // The start-up runs from the event loop, as the program's own does.
    QTimer::singleShot(0, &window, [&] {
        loading = clock.nsecsElapsed();
        window.load();
        loaded = clock.nsecsElapsed();
    });
    const bool painted = ferlin::bench::runUntil([&] { return paints.of(done) > 0; });
    if (painted)
        ferlin::bench::printReadyTime();
    if (qEnvironmentVariableIsSet("FERLIN_BENCH_PHASES"))
        std::fprintf(stderr,
                     "built %lld µs, shown %lld µs, event loop %lld µs, start-up %lld µs, "
                     "painted %lld µs later\n",
                     built / 1000, (shown - built) / 1000, (loading - shown) / 1000,
                     (loaded - loading) / 1000, (clock.nsecsElapsed() - loaded) / 1000);
    if (!painted || !window.startupSucceeded()) {
        std::fprintf(stderr, "the start-up did not paint \"Ferlin est ouvert !\"\n");
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args.at(1) == QStringLiteral("ferlin"))
        return runFerlin(app, args.at(2), args.at(3));
    if (args.size() >= 3 && args.at(1) == QStringLiteral("prepare"))
        return prepareSettings(args.at(2));
    std::fprintf(stderr, "usage: bench_startup prepare INI | bench_startup ferlin BASE INI\n");
    return 2;
}
