#pragma once

#include "app/commandline.h"
#include "fakes/fakesettingsstore.h"

#include <QStringList>
#include <QTextStream>

namespace ferlin::test {

// What "ferlin ARGUMENTS" did on a base: its exit status and its two outputs, with settings of
// its own (no user's file is read).
struct CommandRun {
    int status = -1;
    QString out;
    QString err;
};

inline CommandRun runCommand(const QStringList &arguments, const QString &base)
{
    CommandRun result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    FakeSettingsStore settings;
    result.status = RunCommandLine(QStringList{QStringLiteral("ferlin")} + arguments, base, out,
                                   err, openPublishedBase, &settings)
                        .value_or(-1);
    return result;
}

} // namespace ferlin::test
