// ferlin-reader: the program's reader of files it did not write, run as a child of the program
// (platform/readerprocess.h). A file that hangs, floods or exhausts a library reading it stops
// this process, within the limits the program gives, never the program.
//
//   ferlin-reader --jet FILE   answers questions about a Jet file (import/childjetsource.h)
//   ferlin-reader --pdf        reads the text of each PDF named on its standard input
//                              (fulltext/childpdfreader.h)
#include "core/fulltext/childpdfreader.h"
#include "core/import/childjetsource.h"
#include "core/platform/readeranswers.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    ferlin::limitReaderChild();
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--jet"))
        return ferlin::serveJetFile(arguments.at(2));
    if (arguments.size() == 2 && arguments.at(1) == QLatin1String("--pdf"))
        return ferlin::servePdfFiles();
    std::fputs("ferlin-reader : lecteur de fichiers de Ferlin, lancé par le programme lui-même.\n",
               stderr);
    return 2;
}
