#include "gui/platform/linuxplatform.h"

#include "core/platform/inisettingsstore.h"
#include "core/platform/linuxdrives.h"
#include "core/platform/localfilesystem.h"
#include "core/platform/processlauncher.h"
#include "gui/platform/qtbusypointer.h"
#include "gui/platform/qtclipboard.h"
#include "gui/platform/qtlineprinter.h"
#include "gui/platform/qtmessagebox.h"
#include "gui/platform/qtrichtextprinter.h"

namespace ferlin {

LinuxPlatform::LinuxPlatform(const QString &settingsFile)
    : m_messageBox(std::make_unique<QtMessageBox>()),
      m_busyPointer(std::make_unique<QtBusyPointer>()),
      m_settings(std::make_unique<IniSettingsStore>(
          settingsFile.isEmpty() ? IniSettingsStore::defaultFilePath() : settingsFile)),
      m_launcher(std::make_unique<ProcessLauncher>()), m_drives(std::make_unique<LinuxDrives>()),
      m_files(std::make_unique<LocalFileSystem>()), m_clipboard(std::make_unique<QtClipboard>()),
      m_linePrinter(std::make_unique<QtLinePrinter>()),
      m_richTextPrinter(std::make_unique<QtRichTextPrinter>()),
      m_platform{*m_messageBox, *m_busyPointer, *m_settings,    *m_launcher,       *m_drives,
                 *m_files,      *m_clipboard,   *m_linePrinter, *m_richTextPrinter}
{
}

LinuxPlatform::~LinuxPlatform() = default;

void LinuxPlatform::setParentWidget(QWidget *parent)
{
    m_messageBox->setParentWidget(parent);
    m_richTextPrinter->setParentWidget(parent);
}

} // namespace ferlin
