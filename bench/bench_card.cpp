// Walking the whole sample base on the record card with "next", the card redrawn at each move.
// Goal: within 2 ms a move.
#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "app/screens.h"
#include "benchsupport.h"
#include "platform/linuxplatform.h"
#include "record/recordcard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir dir;
    const QString base = args.size() > 1 ? args.at(1)
                                         : QCoreApplication::applicationDirPath() +
                                               QStringLiteral("/ferlin4.sqlite");
    ferlin::bench::Program program(dir, base);
    ferlin::AppContext &context = program.context;
    ferlin::MainWindow &window = program.window;
    if (!window.startupSucceeded()) {
        std::fprintf(stderr, "the start-up failed on %s\n", qPrintable(base));
        return 1;
    }
    window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
    auto *card = window.findChild<ferlin::RecordCard *>(QStringLiteral("F_formul"));
    auto *next = card->findChild<QAbstractButton *>(QStringLiteral("Cmd_Droite"));

    const int moves = context.state.baseCount - 1;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < moves; ++i) {
        next->click();
        card->repaint();
    }
    const double perMove = double(clock.nsecsElapsed()) / 1e6 / moves;
    std::printf("%d moves with \"next\", the card redrawn each time: %.3f ms a move (goal 2 ms)\n",
                moves, perMove);
    // With FERLIN_GRAB=file.png, a picture of the window at the end, to look at the card.
    const QString grab = qEnvironmentVariable("FERLIN_GRAB");
    if (!grab.isEmpty())
        window.grab().save(grab);
    return context.state.card.position == context.state.baseCount ? 0 : 1;
}
