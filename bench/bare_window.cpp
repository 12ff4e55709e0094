// The floor of the start-up benchmark: a Qt program of its own, linking nothing of ours, that
// shows one label in a maximised main window and ends once the label has been painted, as
// "bench_startup ferlin" ends once "Ferlin est ouvert !" has been painted. bench/startup.sh
// runs the two in turn.
#include "paintcounter.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *label = new QLabel(QStringLiteral("Ferlin est ouvert !"));
    window.setCentralWidget(label);
    ferlin::bench::PaintCounter paints(label);
    window.showMaximized();
    if (!ferlin::bench::runUntil([&] { return paints.of(label) > 0; }))
        return 1;
    ferlin::bench::printReadyTime();
    return 0;
}
