#pragma once

#include "core/platform/platform.h"

#include <memory>

class QWidget;

namespace ferlin {

class IniSettingsStore;
class LinuxDrives;
class LocalFileSystem;
class ProcessLauncher;
class QtBusyPointer;
class QtClipboard;
class QtLinePrinter;
class QtMessageBox;
class QtRichTextPrinter;

// Owns the Linux implementation of every outside service and hands them out as a Platform.
class LinuxPlatform {
public:
    // settingsFile: the INI file of the settings store; empty for the user's default one.
    explicit LinuxPlatform(const QString &settingsFile = QString());
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform &) = delete;
    LinuxPlatform &operator=(const LinuxPlatform &) = delete;

    Platform &platform() { return m_platform; }

    // The window that message boxes and the print dialog are centred on (the main window).
    void setParentWidget(QWidget *parent);

private:
    std::unique_ptr<QtMessageBox> m_messageBox;
    std::unique_ptr<QtBusyPointer> m_busyPointer;
    std::unique_ptr<IniSettingsStore> m_settings;
    std::unique_ptr<ProcessLauncher> m_launcher;
    std::unique_ptr<LinuxDrives> m_drives;
    std::unique_ptr<LocalFileSystem> m_files;
    std::unique_ptr<QtClipboard> m_clipboard;
    std::unique_ptr<QtLinePrinter> m_linePrinter;
    std::unique_ptr<QtRichTextPrinter> m_richTextPrinter;
    Platform m_platform;
};

} // namespace ferlin
