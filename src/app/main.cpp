#include "app/application.h"
#include "app/baseatstartup.h"
#include "app/commandicons.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/screens.h"
#include "app/windowcall.h"
#include "core/context/appcontext.h"
#include "core/context/baselock.h"
#include "gui/platform/linuxplatform.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Options such as "--import" do their task without a window.
    if (const std::optional<int> status = ferlin::RunCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    ferlin::installFrenchTranslations(app);
    ferlin::installProgramStyle(app);
    app.setWindowIcon(ferlin::programIcon());
    // Ties the windows to the installed desktop entry (its name and icon under Wayland).
    app.setDesktopFileName(QStringLiteral("fr.example.orv.ferlin"));

    ferlin::LinuxPlatform services;
    // Beside the program when its folder can be written, else the user's own copy.
    const ferlin::BaseLocation base = ferlin::chooseBaseLocation();
    // One window per base: a second start brings the first one forward.
    ferlin::BaseLock lock(base.databasePath);
    if (!lock.tryLock()) {
        if (ferlin::WindowCall::callWindow(base.databasePath))
            return 0;
        QMessageBox::warning(
            nullptr, QStringLiteral("Ferlin"),
            QStringLiteral("La base « %1 » est déjà utilisée par un autre Ferlin (processus n° "
                           "%2), qui ne répond pas.\nFermez-le, puis relancez Ferlin.")
                .arg(QDir::toNativeSeparators(base.databasePath))
                .arg(lock.holder()));
        return 1;
    }
    ferlin::WindowCall call(base.databasePath);
    call.listen();
    ferlin::PrepareBaseAtStartup(base, services.platform());
    ferlin::AppContext context(base.databasePath, services.platform());
    if (base.isUserCopy())
        context.readOnlyProgramFolder = base.programFolder;
    context.discFolderPlaces = base.discFolderPlaces();
    ferlin::MainWindow window(context);
    ferlin::installScreens(window);
    services.setParentWidget(&window);
    QObject::connect(&call, &ferlin::WindowCall::called, &window,
                     [&window] { ferlin::WindowCall::bringForward(&window); });
    window.showMaximized();
    // The start-up runs once the window is on screen, so that its progress shows.
    QTimer::singleShot(0, &window, [&window] { window.load(); });
    return app.exec();
}
