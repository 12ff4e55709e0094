#pragma once

#include "core/platform/busypointer.h"
#include "core/platform/clipboard.h"
#include "core/platform/drives.h"
#include "core/platform/filesystem.h"
#include "core/platform/lineprinter.h"
#include "core/platform/messagebox.h"
#include "core/platform/programlauncher.h"
#include "core/platform/richtextprinter.h"
#include "core/platform/settingsstore.h"

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
