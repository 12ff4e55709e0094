// Reading the mount table and telling drive types apart, on sample text.
#include "core/platform/mounttable.h"

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QByteArray SampleTable = "/dev/vda1 / ext4 rw,relatime 0 0\n"
                               "proc /proc proc rw,nosuid 0 0\n"
                               "tmpfs /tmp tmpfs rw 0 0\n"
                               "\n"
                               "/dev/sr0 /media/prof/FERLIN4\\0401 iso9660 ro,nosuid 0 0\n"
                               "/dev/sdb1 /media/prof/CL\\303\\211\\040USB vfat rw 0 0\n"
                               "/dev/sda2 /home ext4 rw 0 0\n"
                               "/dev/sda3 /home ext4 rw 0 0\n"
                               "serveur:/partage /mnt/r\\303\\251seau nfs4 rw 0 0\n"
                               "/dev/sdc1 /mnt/tab\\011back\\134slash ext4 rw 0 0\n"
                               "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                               "tank/data /data zfs rw 0 0\n";

DriveType typeOf(const char *device, const char *fsType, const char *kernelName,
                 bool removable = false)
{
    return mountDriveType(
        MountEntry{QLatin1String(device), QStringLiteral("/x"), QLatin1String(fsType), QString()},
        QLatin1String(kernelName), removable);
}

} // namespace

TEST(MountTable, UnescapesBlanksTabsBackslashesAndUtf8)
{
    const QList<MountEntry> table = parseMountTable(SampleTable);
    ASSERT_EQ(table.size(), 11);
    EXPECT_EQ(table[3].device, QStringLiteral("/dev/sr0"));
    EXPECT_EQ(table[3].mountPoint, QStringLiteral("/media/prof/FERLIN4 1"));
    EXPECT_EQ(table[3].fsType, QStringLiteral("iso9660"));
    EXPECT_EQ(table[3].options, QStringLiteral("ro,nosuid"));
    EXPECT_EQ(table[4].mountPoint, QStringLiteral("/media/prof/CLÉ USB"));
    EXPECT_EQ(table[7].mountPoint, QStringLiteral("/mnt/réseau"));
    EXPECT_EQ(table[8].mountPoint, QStringLiteral("/mnt/tab\tback\\slash"));
    // A backslash not followed by three octal digits stays as it is.
    EXPECT_EQ(unescapeMountField("a\\04b\\"), QStringLiteral("a\\04b\\"));
    // udev's label links escape the same characters as "\x20".
    EXPECT_EQ(decodeUdevName(QStringLiteral("FERLIN4\\x201")), QStringLiteral("FERLIN4 1"));
    EXPECT_EQ(decodeUdevName(QStringLiteral("CL\\xc3\\x89")), QStringLiteral("CLÉ"));
}

TEST(MountTable, FindsTheMountOfAPointADeviceAndAPath)
{
    const QList<MountEntry> table = parseMountTable(SampleTable);

    // The last mount on a point hides the ones below it.
    EXPECT_EQ(mountAt(table, QStringLiteral("/home/"))->device, QStringLiteral("/dev/sda3"));
    EXPECT_EQ(mountAt(table, QStringLiteral("/home"))->device, QStringLiteral("/dev/sda3"));
    EXPECT_FALSE(mountAt(table, QStringLiteral("/media/prof")));
    EXPECT_EQ(mountOfDevice(table, QStringLiteral("/dev/sr0"))->mountPoint,
              QStringLiteral("/media/prof/FERLIN4 1"));
    EXPECT_FALSE(mountOfDevice(table, QStringLiteral("/dev/sr1")));

    EXPECT_EQ(mountContaining(table, QStringLiteral("/media/prof/FERLIN4 1/Textes/a.pdf"))->device,
              QStringLiteral("/dev/sr0"));
    EXPECT_EQ(mountContaining(table, QStringLiteral("/media/prof/FERLIN4 10"))->device,
              QStringLiteral("/dev/vda1"));
    EXPECT_EQ(mountContaining(table, QStringLiteral("/homework"))->mountPoint, QStringLiteral("/"));
    EXPECT_EQ(mountContaining(table, QStringLiteral("/home/prof/"))->device,
              QStringLiteral("/dev/sda3"));
    EXPECT_EQ(mountContaining(table, QStringLiteral("/"))->mountPoint, QStringLiteral("/"));
}

TEST(MountTable, ListsTheLoopDevicesThatHoldADiscImage)
{
    const QList<MountEntry> table =
        parseMountTable("/dev/loop10 /media/prof/FERLIN4_2 udf ro 0 0\n"
                        "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                        "/dev/loop2 /media/prof/FERLIN4\\0401 iso9660 ro 0 0\n"
                        "/dev/loop2 /mnt/encore iso9660 ro 0 0\n"
                        "/dev/sr0 /media/prof/CD iso9660 ro 0 0\n"
                        "/dev/loop4 /mnt/disque ext4 rw 0 0\n");
    EXPECT_EQ(discImageDevices(table),
              (QStringList{QStringLiteral("/dev/loop2"), QStringLiteral("/dev/loop10")}));
    EXPECT_TRUE(isDiscImageMount(table[2]));
    EXPECT_EQ(table[2].mountPoint, QStringLiteral("/media/prof/FERLIN4 1"));
    // An optical drive is no image, nor a loop device holding a disk's file system.
    EXPECT_FALSE(isDiscImageMount(table[4]));
    EXPECT_FALSE(isDiscImageMount(table[5]));
    EXPECT_TRUE(isLoopDeviceName(QStringLiteral("loop12")));
    EXPECT_FALSE(isLoopDeviceName(QStringLiteral("loop")));
}

TEST(MountTable, TellsDriveTypesApart)
{
    EXPECT_EQ(typeOf("/dev/sda1", "ext4", "sda1"), DriveType::FixedDisk);
    EXPECT_EQ(typeOf("/dev/sdb1", "vfat", "sdb1", true), DriveType::Removable);
    EXPECT_EQ(typeOf("/dev/sr0", "iso9660", "sr0"), DriveType::CdRom);
    EXPECT_EQ(typeOf("/dev/sr0", "udf", "sr0", true), DriveType::CdRom);
    EXPECT_EQ(typeOf("/dev/loop0", "iso9660", "loop0"), DriveType::CdRom);
    EXPECT_EQ(typeOf("/dev/loop3", "squashfs", "loop3"), DriveType::Unknown);
    EXPECT_EQ(typeOf("serveur:/partage", "nfs4", ""), DriveType::Remote);
    EXPECT_EQ(typeOf("//serveur/partage", "cifs", ""), DriveType::Remote);
    EXPECT_EQ(typeOf("tank/data", "zfs", ""), DriveType::FixedDisk);
    EXPECT_EQ(typeOf("overlay", "overlay", ""), DriveType::FixedDisk);
    EXPECT_EQ(typeOf("tmpfs", "tmpfs", ""), DriveType::RamDisk);
    EXPECT_EQ(typeOf("proc", "proc", ""), DriveType::Unknown);

    EXPECT_TRUE(isOpticalDeviceName(QStringLiteral("sr0")));
    EXPECT_TRUE(isOpticalDeviceName(QStringLiteral("sr12")));
    EXPECT_FALSE(isOpticalDeviceName(QStringLiteral("sr")));
    EXPECT_FALSE(isOpticalDeviceName(QStringLiteral("sda")));
}
