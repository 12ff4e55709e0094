#include "app/appcontext.h"
#include "app/application.h"
#include "app/commandicons.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/screens.h"
#include "import/importprogress.h"
#include "platform/linuxplatform.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Options such as "--import" do their task without a window.
    if (const std::optional<int> status = ferlin::RunCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    ferlin::installFrenchTranslations(app);
    app.setWindowIcon(ferlin::programIcon());

    ferlin::LinuxPlatform services;
    ferlin::ConvertPublishedBaseAtStartup(ferlin::Database::defaultPath(), services.platform());
    ferlin::AppContext context(ferlin::Database::defaultPath(), services.platform());
    ferlin::MainWindow window(context);
    ferlin::installScreens(window);
    services.setParentWidget(&window);
    window.showMaximized();
    // The start-up runs once the window is on screen, so that its progress shows.
    QTimer::singleShot(0, &window, [&window] { window.load(); });
    return app.exec();
}
