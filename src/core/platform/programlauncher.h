#pragma once

#include <QString>
#include <QStringList>

namespace ferlin {

// Starts another program (the PDF viewer, the web browser, an installer, the text editor)
// without waiting for it. The program receives the arguments exactly as given: a path with
// blanks or quotes is one argument, and no shell ever reads them.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    // Throws PlatformError when the program cannot be started: 5 for an empty program name,
    // 53 when it does not exist (neither as a path nor on the PATH), 75 when it cannot run.
    virtual void start(const QString &program, const QStringList &arguments) = 0;
};

} // namespace ferlin
