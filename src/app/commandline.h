#pragma once

#include "core/import/childjetsource.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace ferlin {

class SettingsStore;

// The options of ferlin's command line: each does one task and ends the program instead of
// opening its window, speaking French on the standard output (and its errors on the standard
// error). "--help" lists them all.
//
//   ferlin --import FICHIER.mdb   converts a published base into the program's base
//   ferlin --export PANIER FORMAT FICHIER   writes a basket for a reference manager or a
//                                           spreadsheet (bibtex, ris, csljson, csv)
//          [--separator SÉPARATEUR]         ";" (the default) or "," between CSV values
//
// Returns the program's exit status (0 done, 1 the task failed, 2 a wrong command line), or
// nothing when there is no argument at all: then the window opens.
std::optional<int> RunCommandLine(int argc, char **argv);

// The same with the arguments given (the program's name first), the base the program uses, the
// two output streams, what opens a published base and the settings (where the texts are read
// from; nullptr for the user's own settings file).
std::optional<int> RunCommandLine(const QStringList &arguments, const QString &databasePath,
                                  QTextStream &out, QTextStream &err,
                                  const RowSourceOpener &open = openPublishedBase,
                                  const SettingsStore *settings = nullptr);

} // namespace ferlin
