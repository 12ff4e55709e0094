#pragma once

#include "core/platform/programlauncher.h"

namespace ferlin {

// Starts programs as detached processes (QProcess::startDetached).
class ProcessLauncher : public ProgramLauncher {
public:
    void start(const QString &program, const QStringList &arguments) override;

    // The executable a program name stands for: the file itself for a path, the first match on
    // the PATH for a bare name. Throws PlatformError (53 or 75) when there is none.
    static QString resolveProgram(const QString &program);
};

} // namespace ferlin
