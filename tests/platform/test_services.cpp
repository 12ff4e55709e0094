// The small services (clipboard, busy pointer) and the wiring of the platform, real and fake.
#include "fakes/fakeplatform.h"
#include "gui/platform/linuxplatform.h"
#include "gui/platform/qtbusypointer.h"
#include "gui/platform/qtclipboard.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;

TEST(QtClipboard, ReplacesTheClipboardTextExactly)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("ancien"));
    QtClipboard clipboard;
    const QString reference =
        QStringLiteral("Titre : L'optique \"moderne\"\r\nAuteur(s) : Dupré, A.\r\n");
    clipboard.setText(reference);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), reference);
}

TEST(QtClipboard, PutsOneTextUnderEveryMimeTypeAndNothingOfTheFormerOne)
{
    auto *former = new QMimeData;
    former->setHtml(QStringLiteral("<b>ancien</b>"));
    QGuiApplication::clipboard()->setMimeData(former);
    QtClipboard clipboard;
    const QString ris = QStringLiteral("TY  - JOUR\r\nTI  - Été\r\nER  - \r\n");
    const QString risType = QStringLiteral("application/x-research-info-systems");
    clipboard.setTextAs(ris, {PlainTextMimeType, risType});
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->text(), ris);
    EXPECT_EQ(data->data(risType), ris.toUtf8());
    EXPECT_FALSE(data->hasHtml());
}

TEST(QtBusyPointer, ShowsTheHourglassAsAStateNotACount)
{
    {
        QtBusyPointer pointer;
        pointer.showBusy();
        pointer.showBusy();
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        pointer.restore();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_FALSE(pointer.isBusy());

        // A guard inside a busy stretch leaves the hourglass on; alone it gives it back.
        pointer.showBusy();
        {
            BusyPointerGuard inner(pointer);
        }
        EXPECT_TRUE(pointer.isBusy());
        pointer.restore();
        {
            BusyPointerGuard guard(pointer);
            EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
        }
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        pointer.showBusy();
    }
    // Destroyed while busy: the pointer is back to normal.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(LinuxPlatform, HandsOutTheRealServicesWithTheChosenSettingsFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ferlin.ini"));
    LinuxPlatform services(file);
    Platform &platform = services.platform();
    ASSERT_TRUE(platform.settings.write(SettingsStore::ferlinKey(), QStringLiteral("Startup"),
                                        QStringLiteral("1")));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(platform.busyPointer.isBusy());
    EXPECT_TRUE(platform.files.folderExists(dir.path()));
}

TEST(FakePlatform, GivesEachServiceItsFake)
{
    FakePlatform fakes;
    Platform &platform = fakes.platform();
    platform.messageBox.show(MessageIcon::None, MessageButtons::Ok, QStringLiteral("Bonjour"));
    platform.clipboard.setText(QStringLiteral("texte"));
    platform.launcher.start(QStringLiteral("/usr/bin/evince"),
                            {QStringLiteral("/home/prof/Mes textes/A.PDF")});
    {
        BusyPointerGuard busy(platform.busyPointer);
    }
    fakes.drives.addDrive(
        QStringLiteral("/dev/sr0"),
        {DriveType::CdRom, QStringLiteral("FERLIN4_1"), QStringLiteral("/m/"), 0, false});

    EXPECT_EQ(fakes.messageBox.lastMessage().text, QStringLiteral("Bonjour"));
    EXPECT_EQ(fakes.clipboard.text(), QStringLiteral("texte"));
    EXPECT_EQ(fakes.launcher.starts().front().arguments,
              QStringList{QStringLiteral("/home/prof/Mes textes/A.PDF")});
    EXPECT_EQ(fakes.busyPointer.history(), (QList<bool>{true, false}));
    EXPECT_FALSE(platform.drives.isReady(QStringLiteral("/dev/sr0")));
    fakes.drives.setReady(QStringLiteral("/dev/sr0"), true);
    EXPECT_EQ(platform.drives.volumeLabel(QStringLiteral("/dev/sr0")), QStringLiteral("FERLIN4_1"));
    EXPECT_EQ(fakes.drives.labelReads(QStringLiteral("/dev/sr0")), 1);
}

TEST(FakeFileSystem, FailsTheOperationsItIsToldToThenWorksForReal)
{
    QTemporaryDir dir;
    FakeFileSystem files;
    files.failNext(FileOperation::CreateFolder, PlatformError(PlatformErrorCode::DiskNotReady));
    const QString folder = dir.filePath(QStringLiteral("TEXTES"));
    EXPECT_THROW(files.createFolder(folder), PlatformError);
    EXPECT_FALSE(files.folderExists(folder));
    files.createFolder(folder);
    EXPECT_TRUE(files.folderExists(folder));
    EXPECT_EQ(files.calls(), (QStringList{QStringLiteral("createFolder ") + folder,
                                          QStringLiteral("createFolder ") + folder}));
}
