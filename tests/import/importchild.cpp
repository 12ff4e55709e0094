// Converts a base replayed as the published file into a destination, with the program's own
// code, then waits to be killed: the kill test stops it at some moment of the conversion and
// looks at what is left.
//
//   ferlin_importchild <base to replay> <destination>
//
// A line "table <name>" is written when each table starts, "done" once the new base is in
// place; a conversion that fails ends the program with code 2.
#include "core/db/dberror.h"
#include "core/import/importcatalogue.h"
#include "replaysource.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

using namespace ferlin;

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: ferlin_importchild <base to replay> <destination>\n");
        return 1;
    }
    try {
        sample::ReplaySource source(arguments[1]);
        QString table;
        ImportCatalogue(source, arguments[2], [&table](const ImportProgress &progress) {
            if (progress.table != table) {
                table = progress.table;
                std::printf("table %s\n", qPrintable(table));
                std::fflush(stdout);
            }
        });
    } catch (const DbError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        return 2;
    }
    std::printf("done\n");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}
