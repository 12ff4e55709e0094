#pragma once

#include "core/platform/platform.h"
#include "fakes/fakebusypointer.h"
#include "fakes/fakeclipboard.h"
#include "fakes/fakedrives.h"
#include "fakes/fakefilesystem.h"
#include "fakes/fakelauncher.h"
#include "fakes/fakelineprinter.h"
#include "fakes/fakemessagebox.h"
#include "fakes/fakerichtextprinter.h"
#include "fakes/fakesettingsstore.h"

namespace ferlin {

// Every outside service as a fake, handed out as a Platform. The files are the real ones (of
// the test's temporary folders) with injectable failures.
class FakePlatform {
public:
    FakePlatform()
        : m_platform{messageBox, busyPointer, settings,    launcher,       drives,
                     files,      clipboard,   linePrinter, richTextPrinter}
    {
    }
    FakePlatform(const FakePlatform &) = delete;
    FakePlatform &operator=(const FakePlatform &) = delete;

    Platform &platform() { return m_platform; }
    // The fakes with other drives and files (the real ones, to try a copy or a text for real).
    Platform withDrivesAndFiles(Drives &otherDrives, FileSystem &otherFiles)
    {
        return {messageBox, busyPointer, settings,    launcher,       otherDrives,
                otherFiles, clipboard,   linePrinter, richTextPrinter};
    }

    FakeMessageBox messageBox;
    FakeBusyPointer busyPointer;
    FakeSettingsStore settings;
    FakeLauncher launcher;
    FakeDrives drives;
    FakeFileSystem files;
    FakeClipboard clipboard;
    FakeLinePrinter linePrinter;
    FakeRichTextPrinter richTextPrinter;

private:
    Platform m_platform;
};

} // namespace ferlin
