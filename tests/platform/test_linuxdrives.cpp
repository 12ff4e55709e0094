// The Linux drives on a sample system: a mount table, device nodes and the kernel's block
// device folders, all in a temporary folder.
#include "core/platform/linuxdrives.h"
#include "core/platform/platformerror.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace ferlin;

namespace {

class SampleSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *folder : {"dev", "sys/block/sr0", "sys/block/sr1", "sys/block/sda",
                                   "sys/devices/sda/sda1", "sys/class/block", "media/FERLIN4 1",
                                   "media/ailleurs", "disk", "discs/FERLIN4_1", "discs/FERLIN4_2"})
            ASSERT_TRUE(QDir().mkpath(path(folder)));
        for (const char *node : {"dev/sr0", "dev/sr1", "dev/sda1"})
            writeFile(node, "");
        QFile::link(path("dev/sr0"), path("dev/cdrom"));
        writeFile("sys/devices/sda/removable", "0\n");
        writeFile("sys/devices/sda/sda1/partition", "1\n");
        QFile::link(path("sys/devices/sda/sda1"), path("sys/class/block/sda1"));
        QDir().mkpath(path("sys/class/block/sr0"));
        writeFile("sys/class/block/sr0/removable", "1\n");
        setMounts({});
    }

    QString path(const char *relative) const { return m_dir.filePath(QLatin1String(relative)); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    void writeFile(const char *relative, const QByteArray &content)
    {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    // The mount table: each line "device mountpoint type", paths relative to the sample root
    // unless absolute; blanks are escaped as the kernel does.
    void setMounts(const QStringList &lines)
    {
        QByteArray table =
            "proc /proc proc rw 0 0\ntmpfs " + escaped(path("media")) + "/tmpfs tmpfs rw 0 0\n";
        for (const QString &line : lines) {
            const QStringList fields = line.split(QLatin1Char('|'));
            const auto absolute = [this](const QString &p) {
                return p.startsWith(QLatin1Char('/')) ? p : path(p);
            };
            table += escaped(absolute(fields[0])) + ' ' + escaped(absolute(fields[1])) + ' ' +
                     fields[2].toUtf8() + " rw 0 0\n";
        }
        QFile file(path("mounts"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(table);
    }

    static QByteArray escaped(const QString &field) { return field.toUtf8().replace(' ', "\\040"); }

    // The drives of the sample system; labels come from m_labels unless a reader is given.
    LinuxDrives drives(VolumeLabelReader reader = {})
    {
        SystemLocations locations;
        locations.mountTable = path("mounts");
        locations.sysBlock = path("sys/block");
        locations.sysClassBlock = path("sys/class/block");
        locations.deviceFolder = path("dev");
        locations.labelLinks = path("dev/disk/by-label");
        if (!reader)
            reader = [this](const QString &device) {
                m_labelsRead << device;
                return m_labels.value(device);
            };
        return LinuxDrives(locations, reader);
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
    QMap<QString, QString> m_labels;
    QStringList m_labelsRead;
};

} // namespace

TEST_F(SampleSystem, AnOpticalDriveFindsItsDiscWhereverItIsMountedNow)
{
    const LinuxDrives sample = drives();
    const QString sr0 = path("dev/sr0");
    m_labels.insert(sr0, QStringLiteral("FERLIN4_1"));

    setMounts({QStringLiteral("dev/sr0|media/FERLIN4 1|iso9660")});
    EXPECT_EQ(sample.driveType(sr0), DriveType::CdRom);
    EXPECT_EQ(sample.rootPath(sr0), path("media/FERLIN4 1/"));
    EXPECT_EQ(sample.volumeLabel(sr0), QStringLiteral("FERLIN4_1"));
    EXPECT_GT(sample.freeBytes(sr0), 0);
    // Named through a link, the drive is the same device.
    EXPECT_EQ(sample.rootPath(path("dev/cdrom")), path("media/FERLIN4 1/"));
    EXPECT_EQ(sample.volumeLabel(path("dev/cdrom")), QStringLiteral("FERLIN4_1"));
    EXPECT_EQ(m_labelsRead.last(), sr0);

    // The next disc lands elsewhere.
    setMounts({QStringLiteral("dev/sr0|media/ailleurs|udf")});
    EXPECT_EQ(sample.rootPath(sr0), path("media/ailleurs/"));

    // No disc: not ready, with its French description.
    setMounts({});
    EXPECT_EQ(sample.driveType(sr0), DriveType::CdRom);
    EXPECT_FALSE(sample.isReady(sr0));
    for (const auto &call : std::initializer_list<std::function<void()>>{
             [&] { sample.rootPath(sr0); }, [&] { sample.volumeLabel(sr0); },
             [&] { sample.freeBytes(sr0); }})
        EXPECT_EQ(errorOf(call), PlatformErrorCode::DiskNotReady);
    try {
        sample.volumeLabel(sr0);
    } catch (const PlatformError &error) {
        EXPECT_EQ(error.description(), QStringLiteral("Le disque n'est pas prêt."));
    }
}

TEST_F(SampleSystem, AFolderStandsForADiscDriveThroughALink)
{
    const LinuxDrives sample = drives();
    const QString cdrom = path("cdrom");
    ASSERT_TRUE(QFile::link(path("discs/FERLIN4_2"), cdrom));

    EXPECT_EQ(sample.driveType(cdrom), DriveType::CdRom);
    EXPECT_EQ(sample.volumeLabel(cdrom), QStringLiteral("FERLIN4_2"));
    EXPECT_EQ(sample.volumeLabel(cdrom + QLatin1Char('/')), QStringLiteral("FERLIN4_2"));
    EXPECT_EQ(sample.rootPath(cdrom), cdrom + QLatin1Char('/'));
    EXPECT_EQ(sample.volumeLabel(path("discs/FERLIN4_1")), QStringLiteral("FERLIN4_1"));

    // Pointing the link elsewhere is changing the disc.
    ASSERT_TRUE(QFile::remove(cdrom));
    ASSERT_TRUE(QFile::link(path("discs/FERLIN4_1"), cdrom));
    EXPECT_EQ(sample.volumeLabel(cdrom), QStringLiteral("FERLIN4_1"));

    // A link to nothing, or a folder that does not exist: the drive is not ready.
    ASSERT_TRUE(QFile::remove(cdrom));
    ASSERT_TRUE(QFile::link(path("discs/absent"), cdrom));
    EXPECT_EQ(errorOf([&] { sample.volumeLabel(cdrom); }), PlatformErrorCode::DiskNotReady);
    EXPECT_EQ(errorOf([&] { sample.rootPath(path("rien")); }), PlatformErrorCode::DiskNotReady);
    EXPECT_EQ(sample.driveType(cdrom), DriveType::CdRom);
    EXPECT_TRUE(m_labelsRead.isEmpty());
}

TEST_F(SampleSystem, ANameThatIsNoDriveIsReportedAsSuch)
{
    const LinuxDrives sample = drives();
    for (const QString &name : {QStringLiteral("I:\\"), QString(), path("dev/sr7")}) {
        EXPECT_EQ(sample.driveType(name), DriveType::NoRootDir) << name.toStdString();
        EXPECT_EQ(errorOf([&] { sample.volumeLabel(name); }), PlatformErrorCode::NoSuchDrive);
        EXPECT_EQ(errorOf([&] { sample.rootPath(name); }), PlatformErrorCode::NoSuchDrive);
    }
    EXPECT_EQ(PlatformError(PlatformErrorCode::NoSuchDrive).description(),
              QStringLiteral("Périphérique non disponible"));
}

TEST_F(SampleSystem, ListsMountedDisksThenOpticalDrives)
{
    setMounts({QStringLiteral("dev/sda1|disk|ext4"),
               QStringLiteral("dev/sr0|media/FERLIN4 1|iso9660"),
               QStringLiteral("serveur:/partage|media/ailleurs|nfs4"),
               QStringLiteral("dev/sda1|mounts|ext4")}); // a file, not a folder
    const LinuxDrives sample = drives();
    EXPECT_EQ(sample.driveRoots(), (QStringList{path("disk/"), path("media/ailleurs/"),
                                                path("dev/sr0"), path("dev/sr1")}));

    EXPECT_EQ(sample.driveType(path("disk/")), DriveType::FixedDisk);
    EXPECT_EQ(sample.driveType(path("disk")), DriveType::FixedDisk);
    EXPECT_EQ(sample.driveType(path("media/ailleurs/")), DriveType::Remote);
    EXPECT_EQ(sample.driveType(path("dev/sda1")), DriveType::FixedDisk);
    EXPECT_EQ(sample.rootPath(path("disk")), path("disk/"));

    // The kernel says the disk is removable (a USB stick).
    writeFile("sys/devices/sda/removable", "1\n");
    EXPECT_EQ(sample.driveType(path("disk/")), DriveType::Removable);
}

TEST_F(SampleSystem, AMountedDiscImageIsAnOpticalDriveNamedByItsLoopDevice)
{
    for (const char *node : {"dev/loop0", "dev/loop1"})
        writeFile(node, "");
    // Drives are in the kernel's order whatever the locale's collation: sr2 before sr10.
    for (const char *folder : {"media/FERLIN4_2", "sys/block/sr10", "sys/block/sr2"})
        ASSERT_TRUE(QDir().mkpath(path(folder)));
    setMounts({QStringLiteral("dev/sda1|disk|ext4"),
               QStringLiteral("dev/loop1|media/FERLIN4_2|iso9660"),
               QStringLiteral("dev/loop0|media/ailleurs|squashfs")});
    const QString image = path("dev/loop1");
    m_labels.insert(image, QStringLiteral("FERLIN4_2"));
    const LinuxDrives sample = drives();

    EXPECT_EQ(sample.driveRoots(), (QStringList{path("disk/"), path("dev/sr0"), path("dev/sr1"),
                                                path("dev/sr2"), path("dev/sr10"), image}));
    EXPECT_EQ(sample.driveType(image), DriveType::CdRom);
    EXPECT_EQ(sample.volumeLabel(image), QStringLiteral("FERLIN4_2"));
    EXPECT_EQ(m_labelsRead.last(), image);
    EXPECT_EQ(sample.rootPath(image), path("media/FERLIN4_2/"));
    EXPECT_EQ(sample.driveOf(path("media/FERLIN4_2/Textes/1998")), image);

    // Ejected, the image's drive is an empty disc drive.
    setMounts({});
    EXPECT_EQ(sample.driveType(image), DriveType::CdRom);
    EXPECT_EQ(errorOf([&] { sample.volumeLabel(image); }), PlatformErrorCode::DiskNotReady);
}

TEST_F(SampleSystem, AFolderOrAnImageHoldsOneDiscAndFindsTheOtherBesideIt)
{
    for (const char *node : {"dev/loop0", "dev/loop1"})
        writeFile(node, "");
    ASSERT_TRUE(QDir().mkpath(path("media/FERLIN4_2")));
    setMounts({QStringLiteral("dev/loop0|media/ailleurs|iso9660"),
               QStringLiteral("dev/loop1|media/FERLIN4_2|iso9660"),
               QStringLiteral("dev/sr0|media/FERLIN4 1|iso9660")});
    m_labels.insert(path("dev/loop0"), QStringLiteral("FERLIN4_1"));
    m_labels.insert(path("dev/loop1"), QStringLiteral("FERLIN4_2"));
    m_labels.insert(path("dev/sr0"), QStringLiteral("FERLIN4_1"));
    const LinuxDrives sample = drives();
    const QString cdrom = path("cdrom");
    ASSERT_TRUE(QFile::link(path("discs/FERLIN4_1"), cdrom));

    // A folder, through a link or not: the other folders where it really lies.
    for (const QString &folder : {path("discs/FERLIN4_1/"), cdrom}) {
        EXPECT_TRUE(sample.holdsOneDisc(folder));
        EXPECT_EQ(sample.discsBeside(folder), QStringList{path("discs/FERLIN4_2/")});
        EXPECT_EQ(sample.driveHoldingDisc(folder, QStringLiteral("FERLIN4_1")), folder);
        EXPECT_EQ(sample.driveHoldingDisc(folder, QStringLiteral("FERLIN4_2")),
                  path("discs/FERLIN4_2/"));
    }
    // A mounted image: the other mounted images.
    EXPECT_TRUE(sample.holdsOneDisc(path("dev/loop0")));
    EXPECT_TRUE(sample.holdsOneDisc(path("media/ailleurs")));
    EXPECT_EQ(sample.discsBeside(path("dev/loop0")), QStringList{path("dev/loop1")});
    EXPECT_EQ(sample.driveHoldingDisc(path("dev/loop0"), QStringLiteral("FERLIN4_2")),
              path("dev/loop1"));
    // A real drive holds the disc put into it, and nothing beside.
    EXPECT_FALSE(sample.holdsOneDisc(path("dev/sr0")));
    EXPECT_TRUE(sample.discsBeside(path("dev/sr0")).isEmpty());
    EXPECT_EQ(sample.driveHoldingDisc(path("dev/sr0"), QStringLiteral("FERLIN4_2")), QString());
    EXPECT_EQ(sample.driveHoldingDisc(path("discs/absent"), QStringLiteral("FERLIN4_1")),
              QString());
}

TEST_F(SampleSystem, ReadsTheLabelOfAnImageMadeByAnIsoTool)
{
    QString tool = QStandardPaths::findExecutable(QStringLiteral("genisoimage"));
    QStringList arguments;
    if (tool.isEmpty()) {
        tool = QStandardPaths::findExecutable(QStringLiteral("xorriso"));
        arguments << QStringLiteral("-as") << QStringLiteral("mkisofs");
    }
    if (tool.isEmpty())
        GTEST_SKIP() << "neither genisoimage nor xorriso is installed: no ISO image to probe";
    ASSERT_TRUE(QDir().mkpath(path("contenu/Textes/1998")));
    writeFile("contenu/Textes/1998/a.pdf", "%PDF-1.4\n");
    // The image is the loop device's content, as the kernel shows it.
    QProcess make;
    make.start(tool, arguments << QStringLiteral("-quiet") << QStringLiteral("-r")
                               << QStringLiteral("-V") << QStringLiteral("FERLIN4_1")
                               << QStringLiteral("-o") << path("dev/loop2") << path("contenu"));
    ASSERT_TRUE(make.waitForFinished(60000));
    ASSERT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();
    setMounts({QStringLiteral("dev/loop2|media/FERLIN4 1|iso9660")});

    const LinuxDrives sample = drives([this](const QString &device) {
        return LinuxDrives::readDeviceLabel(device, path("dev/disk/by-label"));
    });
    EXPECT_TRUE(sample.driveRoots().contains(path("dev/loop2")));
    EXPECT_EQ(sample.volumeLabel(path("dev/loop2")), QStringLiteral("FERLIN4_1"));
}

TEST_F(SampleSystem, FindsTheDriveThatHoldsAPath)
{
    setMounts({QStringLiteral("dev/sda1|/|ext4"), QStringLiteral("dev/sda1|disk|ext4"),
               QStringLiteral("dev/sr0|media/FERLIN4 1|iso9660")});
    const LinuxDrives sample = drives();
    EXPECT_EQ(sample.driveOf(path("disk/Ferlin/TEXTES")), path("disk/"));
    EXPECT_EQ(sample.driveOf(path("disk")), path("disk/"));
    EXPECT_EQ(sample.driveOf(path("media/FERLIN4 1/Textes")), path("dev/sr0"));
    EXPECT_EQ(sample.driveOf(path("media/tmpfs/x")), path("media/tmpfs/"));
    EXPECT_EQ(sample.driveOf(path("discs")), QStringLiteral("/"));
    EXPECT_EQ(sample.driveOf(QStringLiteral("Textes")), QString());

    // Through a link, the path's real place decides.
    ASSERT_TRUE(QFile::link(path("disk"), path("discs/vers-disque")));
    EXPECT_EQ(sample.driveOf(path("discs/vers-disque/nouveau/dossier")), path("disk/"));
}

TEST(LinuxDrives, ReadsTheLabelOfADiscImageWithBlkid)
{
    // A minimal ISO 9660 image: a primary volume descriptor at sector 16 holding the volume
    // identifier, and the set terminator at sector 17.
    QTemporaryDir dir;
    QByteArray image(18 * 2048, '\0');
    QByteArray primary(2048, '\0');
    primary[0] = 1;
    primary.replace(1, 5, "CD001");
    primary[6] = 1;
    primary.replace(8, 32, QByteArray(32, ' '));
    primary.replace(40, 32, QByteArray("FERLIN4_2").leftJustified(32, ' '));
    image.replace(16 * 2048, 2048, primary);
    image[17 * 2048] = char(255);
    image.replace(17 * 2048 + 1, 5, "CD001");
    image[17 * 2048 + 6] = 1;
    const QString path = dir.filePath(QStringLiteral("disque.iso"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(image);
    file.close();

    EXPECT_EQ(LinuxDrives::readDeviceLabel(path, dir.path()), QStringLiteral("FERLIN4_2"));
    EXPECT_EQ(LinuxDrives::readDeviceLabel(dir.filePath(QStringLiteral("absent")), dir.path()),
              QString());
}

TEST(LinuxDrives, ReadsThisMachinesMountTable)
{
    const LinuxDrives machine;
    const QString drive = machine.driveOf(QDir::tempPath());
    ASSERT_FALSE(drive.isEmpty());
    EXPECT_NE(machine.driveType(drive), DriveType::NoRootDir);
    EXPECT_TRUE(machine.isReady(drive));
    EXPECT_GT(machine.freeBytes(drive), 0);
}
