// Files and folders: whole-tree copy and move with their progress, and the error numbers the
// commands react to.
#include "core/platform/localfilesystem.h"
#include "core/platform/platformerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace ferlin;

namespace {
// While set, the kernel's file-to-file copy moves half of what it is asked, as it may on a disk
// that is filling up: a copy must carry on from there, not take it for the end of the file.
bool shortSendfile = false;
} // namespace

extern "C" ssize_t sendfile(int out, int in, off_t *offset, size_t count)
{
    return ssize_t(syscall(SYS_sendfile, out, in, offset, shortSendfile ? count / 2 : count));
}

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // What a disc holds: folders by year, one file read-only as on a CD-ROM.
        for (const char *file : {"cd1/Textes/1998/a.pdf", "cd1/Textes/1998/b.pdf",
                                 "cd1/Textes/1999/c.pdf", "cd1/Textes/Lisez-moi.txt"})
            write(file, QByteArray("disque 1 ") + file);
        write("cd2/Textes/1998/a.pdf", "disque 2 a");
        write("cd2/Textes/2000/d.pdf", "disque 2 d");
        QDir().mkpath(path("cd1/Textes/vide"));
        QDir().mkpath(path("hd"));
        QFile::setPermissions(path("cd1/Textes/1998/a.pdf"), QFile::ReadOwner | QFile::ReadGroup);
    }

    QString path(const char *relative) const { return m_dir.filePath(QLatin1String(relative)); }

    void write(const char *relative, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray read(const char *relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }

    static int errorOf(const std::function<void()> &call)
    {
        try {
            call();
        } catch (const PlatformError &error) {
            return error.number();
        }
        return 0;
    }

    QTemporaryDir m_dir;
    LocalFileSystem m_files;
};

} // namespace

TEST_F(Files, CopiesATreeThenMergesASecondOneReportingEachFile)
{
    QList<CopyProgress> steps;
    const auto record = [&steps](const CopyProgress &step) { steps.append(step); };

    m_files.copyTree(path("cd1/Textes"), path("hd/TEXTES"), record);
    EXPECT_EQ(read("hd/TEXTES/1998/a.pdf"), "disque 1 cd1/Textes/1998/a.pdf");
    EXPECT_EQ(read("hd/TEXTES/Lisez-moi.txt"), "disque 1 cd1/Textes/Lisez-moi.txt");
    EXPECT_TRUE(m_files.folderExists(path("hd/TEXTES/vide")));
    ASSERT_EQ(steps.size(), 5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(steps[i].filesDone, i + 1);
        EXPECT_EQ(steps[i].filesTotal, 4);
        EXPECT_TRUE(steps[i].currentFile.startsWith(path("cd1/Textes/")));
    }
    EXPECT_EQ(steps.last().filesDone, 4);
    EXPECT_TRUE(steps.last().currentFile.isEmpty());
    // A copy from a read-only disc can be overwritten by the next copy.
    EXPECT_TRUE(QFileInfo(path("hd/TEXTES/1998/a.pdf")).permissions() & QFile::WriteOwner);

    steps.clear();
    m_files.copyTree(path("cd2/Textes/"), path("hd/TEXTES/"), record);
    EXPECT_EQ(read("hd/TEXTES/1998/a.pdf"), "disque 2 a");
    EXPECT_EQ(read("hd/TEXTES/1998/b.pdf"), "disque 1 cd1/Textes/1998/b.pdf");
    EXPECT_EQ(read("hd/TEXTES/2000/d.pdf"), "disque 2 d");
    EXPECT_EQ(steps.last().filesDone, 2);
    EXPECT_EQ(steps.last().filesTotal, 2);
}

TEST_F(Files, CopyErrorsCarryTheNumbersTheCommandsExpect)
{
    write("hd/TEXTES", "un fichier, pas un dossier");
    EXPECT_EQ(errorOf([&] { m_files.copyTree(path("absent"), path("hd/copie"), {}); }),
              PlatformErrorCode::PathNotFound);
    EXPECT_EQ(
        errorOf([&] { m_files.copyTree(path("cd1/Textes/Lisez-moi.txt"), path("hd/x"), {}); }),
        PlatformErrorCode::PathNotFound);
    EXPECT_EQ(errorOf([&] { m_files.copyTree(path("cd1/Textes"), path("hd/absent/TEXTES"), {}); }),
              PlatformErrorCode::PathNotFound);
    EXPECT_EQ(errorOf([&] { m_files.copyTree(path("cd1/Textes"), path("hd/TEXTES"), {}); }),
              PlatformErrorCode::DestinationExists);
    EXPECT_EQ(errorOf([&] { m_files.copyTree(path("cd1/Textes"), path("cd1/Textes/1999/x"), {}); }),
              PlatformErrorCode::BadPath);
    EXPECT_EQ(errorOf([&] { m_files.copyTree(QStringLiteral("Textes"), path("hd/x"), {}); }),
              PlatformErrorCode::BadPath);
    EXPECT_EQ(errorOf([&] { m_files.copyTree(QString(), path("hd/x"), {}); }),
              PlatformErrorCode::BadPath);
    EXPECT_EQ(errorOf([&] { m_files.copyTree(QStringLiteral("I:\\Textes"), path("hd/x"), {}); }),
              PlatformErrorCode::NoSuchDrive);
    EXPECT_FALSE(m_files.folderExists(path("hd/x")));
}

TEST_F(Files, MovesATreeAndRefusesAnExistingDestination)
{
    m_files.copyTree(path("cd1/Textes"), path("hd/TEXTES"), {});
    QDir().mkpath(path("autre"));
    QList<CopyProgress> steps;
    m_files.moveTree(path("hd/TEXTES"), path("autre/TEXTES"),
                     [&steps](const CopyProgress &step) { steps.append(step); });
    EXPECT_FALSE(m_files.folderExists(path("hd/TEXTES")));
    EXPECT_EQ(read("autre/TEXTES/1999/c.pdf"), "disque 1 cd1/Textes/1999/c.pdf");
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last().filesDone, 4);
    EXPECT_EQ(steps.last().filesTotal, 4);

    m_files.copyTree(path("cd2/Textes"), path("hd/TEXTES"), {});
    EXPECT_EQ(errorOf([&] { m_files.moveTree(path("hd/TEXTES"), path("autre/TEXTES"), {}); }),
              PlatformErrorCode::DestinationExists);
    EXPECT_EQ(read("hd/TEXTES/2000/d.pdf"), "disque 2 d");
    EXPECT_EQ(read("autre/TEXTES/1998/a.pdf"), "disque 1 cd1/Textes/1998/a.pdf");
    EXPECT_EQ(errorOf([&] { m_files.moveTree(path("absent"), path("autre/X"), {}); }),
              PlatformErrorCode::PathNotFound);
    EXPECT_EQ(errorOf([&] { m_files.moveTree(path("hd/TEXTES"), path("absent/TEXTES"), {}); }),
              PlatformErrorCode::PathNotFound);
}

TEST_F(Files, MovesAcrossFileSystemsByCopying)
{
    // Memory-backed /dev/shm is another file system than the temporary folder on most machines.
    QTemporaryDir other(QStringLiteral("/dev/shm/ferlin-test-XXXXXX"));
    struct stat here {};
    struct stat there {};
    if (!other.isValid() || ::stat(QFile::encodeName(m_dir.path()).constData(), &here) != 0 ||
        ::stat(QFile::encodeName(other.path()).constData(), &there) != 0 ||
        here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second file system to move to";

    m_files.copyTree(path("cd1/Textes"), path("hd/TEXTES"), {});
    int lastDone = 0;
    m_files.moveTree(path("hd/TEXTES"), other.filePath(QStringLiteral("TEXTES")),
                     [&lastDone](const CopyProgress &step) { lastDone = step.filesDone; });
    EXPECT_FALSE(m_files.folderExists(path("hd/TEXTES")));
    EXPECT_TRUE(m_files.fileExists(other.filePath(QStringLiteral("TEXTES/1998/b.pdf"))));
    EXPECT_EQ(lastDone, 4);
}

TEST_F(Files, CreatesOneFolderLevelAndListsSubfolders)
{
    m_files.createFolder(path("Ferlin"));
    EXPECT_TRUE(m_files.folderExists(path("Ferlin")));
    EXPECT_EQ(errorOf([&] { m_files.createFolder(path("Ferlin/")); }),
              PlatformErrorCode::DestinationExists);
    EXPECT_EQ(errorOf([&] { m_files.createFolder(path("absent/Ferlin")); }),
              PlatformErrorCode::PathNotFound);
    EXPECT_EQ(errorOf([&] { m_files.createFolder(QStringLiteral("relatif")); }),
              PlatformErrorCode::BadPath);

    ASSERT_TRUE(QFile::link(path("cd2"), path("cd1/Textes/lien")));
    EXPECT_EQ(
        m_files.subfolders(path("cd1/Textes")),
        (QStringList{path("cd1/Textes/1998"), path("cd1/Textes/1999"), path("cd1/Textes/vide")}));
    EXPECT_EQ(errorOf([&] { m_files.subfolders(path("absent")); }),
              PlatformErrorCode::PathNotFound);

    EXPECT_TRUE(m_files.fileExists(path("cd1/Textes/1998/b.pdf")));
    EXPECT_FALSE(m_files.fileExists(path("cd1/Textes/1998")));
    EXPECT_FALSE(m_files.folderExists(path("cd1/Textes/1998/b.pdf")));
    EXPECT_FALSE(m_files.fileExists(QString()));
}

TEST_F(Files, APermissionFailureIsAnyOtherErrorWithItsOwnText)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "every write is allowed to the superuser";
    QDir().mkpath(path("protege"));
    QFile::setPermissions(path("protege"), QFile::ReadOwner | QFile::ExeOwner);
    try {
        m_files.copyTree(path("cd1/Textes"), path("protege/TEXTES"), {});
        ADD_FAILURE() << "the copy into a read-only folder succeeded";
    } catch (const PlatformError &error) {
        EXPECT_EQ(error.number(), PlatformErrorCode::AccessError);
        EXPECT_EQ(error.description(), QStringLiteral("Accès refusé : droits insuffisants"));
    }
    QFile::setPermissions(path("protege"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(PlatformError, ANoMediumOrReadOnlyFailureKeepsItsCause)
{
    EXPECT_EQ(PlatformError::fromErrno(ENOMEDIUM).number(), PlatformErrorCode::DiskNotReady);
    const PlatformError readOnly = PlatformError::fromErrno(EROFS);
    EXPECT_EQ(readOnly.number(), PlatformErrorCode::AccessError);
    EXPECT_EQ(readOnly.description(), QStringLiteral("Le support est en lecture seule"));
}

// Copies a tree while files may grow to `limit` bytes only, as on a disk that fills up;
// returns the files done as the progress reported them, or -1 when the copy did not fail.
int copyUnderFileSizeLimit(const QString &from, const QString &to, rlim_t limit)
{
    struct rlimit saved;
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return -2;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    int done = 0;
    bool failed = false;
    try {
        LocalFileSystem().copyTree(from, to, [&](const CopyProgress &p) { done = p.filesDone; });
    } catch (const PlatformError &) {
        failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    return failed ? done : -1;
}

TEST_F(Files, ACopyStoppedInTheMiddleOfAFileLeavesNoTruncatedFileUnderItsName)
{
    write("gros/Textes/long.pdf", QByteArray(256 * 1024, 'x'));
    write("hd/TEXTES/long.pdf", "ancienne version");
    // The disc fills up after 64 KiB of the file: writes beyond fail as on a full disk.
    EXPECT_EQ(copyUnderFileSizeLimit(path("gros/Textes"), path("hd/TEXTES"), 64 * 1024), 0);
    QFile kept(path("hd/TEXTES/long.pdf"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("ancienne version"));
    EXPECT_EQ(QDir(path("hd/TEXTES")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("long.pdf")});

    // Into a new folder, where the cut file would be the only copy: it is not kept either, nor
    // when the disk fills up after a short count of the kernel's copy.
    for (const bool shortCount : {false, true}) {
        shortSendfile = shortCount;
        EXPECT_EQ(copyUnderFileSizeLimit(path("gros/Textes"), path("hd/NEUF"), 200 * 1000), 0);
        shortSendfile = false;
        EXPECT_EQ(QDir(path("hd/NEUF")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
}

TEST_F(Files, ACopyOntoADiskThatFillsUpKeepsOnlyTheWholeFiles)
{
    write("gros/Textes/1990/a.pdf", QByteArray(600 * 1024, 'a'));
    write("gros/Textes/1991/b.pdf", QByteArray(600 * 1024, 'b'));
    QDir().mkpath(path("petit"));
    if (mount("tmpfs", path("petit").toLocal8Bit().constData(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    int done = -1;
    bool failed = false;
    try {
        m_files.copyTree(path("gros/Textes"), path("petit/TEXTES"),
                         [&](const CopyProgress &p) { done = p.filesDone; });
    } catch (const PlatformError &) {
        failed = true;
    }
    QStringList kept;
    for (const char *year : {"1990", "1991"}) {
        for (const QFileInfo &file : QDir(path("petit/TEXTES/") + QLatin1String(year))
                                         .entryInfoList(QDir::Files | QDir::Hidden))
            kept << file.fileName() + QLatin1Char(' ') + QString::number(file.size());
    }
    umount2(path("petit").toLocal8Bit().constData(), MNT_DETACH);
    EXPECT_TRUE(failed);
    EXPECT_EQ(done, 1); // the cut file is not counted as copied
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept.first().endsWith(QStringLiteral(" 614400")));
}
