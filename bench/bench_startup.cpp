// Start-up time: "ferlin" starts the program's main window on the base given and ends as soon
// as "Ferlin est ouvert !" is shown; "bare" shows a plain Qt main window with one label and
// ends. bench/startup.sh runs both side by side.
#include "app/appcontext.h"
#include "app/application.h"
#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "app/screens.h"
#include "benchsupport.h"
#include "platform/inisettingsstore.h"
#include "platform/linuxplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

namespace {

int runBare(QApplication &app)
{
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Ferlin est ouvert !")));
    window.showMaximized();
    // Ends once the label has been painted, as the program's progress lines are.
    QTimer::singleShot(0, &window, [&window] {
        window.repaint();
        QCoreApplication::exit(0);
    });
    return app.exec();
}

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
    ferlin::LinuxPlatform services(ini);
    if (qEnvironmentVariableIsSet("FERLIN_BENCH_PHASES"))
        std::fprintf(stderr, "translations and services %lld µs\n", setup.nsecsElapsed() / 1000);
    QElapsedTimer clock;
    clock.start();
    ferlin::AppContext context(base, services.platform());
    ferlin::MainWindow window(context);
    ferlin::installScreens(window);
    const qint64 built = clock.nsecsElapsed();
    window.showMaximized();
    const qint64 shown = clock.nsecsElapsed();
    int status = 1;
    QTimer::singleShot(0, &window, [&] {
        const qint64 loading = clock.nsecsElapsed();
        window.load();
        if (qEnvironmentVariableIsSet("FERLIN_BENCH_PHASES"))
            std::fprintf(stderr,
                         "built %lld µs, shown %lld µs, event loop %lld µs, start-up %lld µs\n",
                         built / 1000, (shown - built) / 1000, (loading - shown) / 1000,
                         (clock.nsecsElapsed() - loading) / 1000);
        QLabel *done = window.intro()->stepLabel(QStringLiteral("Lab_OKFin"));
        status = window.startupSucceeded() && done && done->isVisible() ? 0 : 1;
        // exit, not quit: the main window refuses to close outside its quit dialog.
        QCoreApplication::exit(0);
    });
    app.exec();
    if (status != 0)
        std::fprintf(stderr, "the start-up did not reach \"Ferlin est ouvert !\"\n");
    return status;
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
    if (args.size() >= 2 && args.at(1) == QStringLiteral("bare"))
        return runBare(app);
    std::fprintf(
        stderr,
        "usage: bench_startup prepare INI | bench_startup ferlin BASE INI | bench_startup bare\n");
    return 2;
}
