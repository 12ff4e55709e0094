#pragma once

#include <QString>
#include <QStringList>

namespace ferlin {

class MessageBox;
class ProgramLauncher;

// The desktop text editors looked for on the PATH, in order of preference.
const QStringList &textEditorNames();

// The editor the notepad command starts: "WORDPAD.EXE" in the program's folder when there is
// one, otherwise the first desktop editor found on the PATH; empty when there is none.
QString findTextEditor(const QString &programFolder);

// Starts that editor without a document; says so in French when there is none or it fails.
void startTextEditor(ProgramLauncher &launcher, MessageBox &messages, const QString &programFolder);

} // namespace ferlin
