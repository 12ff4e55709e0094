#include "core/context/texteditor.h"

#include "core/platform/messagebox.h"
#include "core/platform/platformerror.h"
#include "core/platform/programlauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ferlin {

const QStringList &textEditorNames()
{
    static const QStringList names = {QStringLiteral("gnome-text-editor"),
                                      QStringLiteral("gedit"),
                                      QStringLiteral("kwrite"),
                                      QStringLiteral("kate"),
                                      QStringLiteral("mousepad"),
                                      QStringLiteral("pluma"),
                                      QStringLiteral("xed"),
                                      QStringLiteral("featherpad"),
                                      QStringLiteral("leafpad")};
    return names;
}

QString findTextEditor(const QString &programFolder)
{
    const QFileInfo wordpad(QDir(programFolder).filePath(QStringLiteral("WORDPAD.EXE")));
    if (wordpad.isFile() && wordpad.isExecutable())
        return wordpad.absoluteFilePath();
    for (const QString &name : textEditorNames()) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void startTextEditor(ProgramLauncher &launcher, MessageBox &messages, const QString &programFolder)
{
    const QString editor = findTextEditor(programFolder);
    if (editor.isEmpty()) {
        messages.show(MessageIcon::Exclamation, MessageButtons::Ok,
                      QStringLiteral("Aucun éditeur de texte n'a été trouvé sur cet ordinateur.\r\n"
                                     "Installez-en un (par exemple gedit ou mousepad) pour "
                                     "ouvrir le bloc note."),
                      QStringLiteral(" Bloc note "));
        return;
    }
    try {
        launcher.start(editor, {});
    } catch (const PlatformError &error) {
        messages.show(MessageIcon::Exclamation, MessageButtons::Ok,
                      QStringLiteral("Le bloc note n'a pas pu être ouvert (%1).\r\n%2")
                          .arg(editor, error.description()),
                      QStringLiteral(" Bloc note "));
    }
}

} // namespace ferlin
