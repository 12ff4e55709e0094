#pragma once

#include "platform/busypointer.h"
#include "platform/clipboard.h"
#include "platform/drives.h"
#include "platform/filesystem.h"
#include "platform/lineprinter.h"
#include "platform/messagebox.h"
#include "platform/programlauncher.h"
#include "platform/richtextprinter.h"
#include "platform/settingsstore.h"

namespace ferlin {

// The outside services a screen or an operation may use. Built once in main() from the Linux
// implementations (LinuxPlatform) and, in tests, from fakes; passed down by reference, so no
// screen ever reaches the outside world by itself.
struct Platform {
    MessageBox &messageBox;
    BusyPointer &busyPointer;
    SettingsStore &settings;
    ProgramLauncher &launcher;
    Drives &drives;
    FileSystem &files;
    Clipboard &clipboard;
    LinePrinter &linePrinter;
    RichTextPrinter &richTextPrinter;
};

} // namespace ferlin
