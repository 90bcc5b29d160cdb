#include "platform/FileSystemType.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace rawen;

namespace {

struct Kind
{
    const char *what;
    FileSystemType type;
    const char *network; // "" for a local one
};

TEST(FileSystemType, TellsNetworkFileSystemsFromLocalOnes)
{
    const Kind cases[] = {
        {"NFS", {0x6969, {}, false}, "NFS"},
        {"SMB of old", {0x517B, {}, false}, "SMB/CIFS"},
        {"CIFS", {0xFF534D42, {}, false}, "SMB/CIFS"},
        {"SMB2", {0xFE534D42, {}, false}, "SMB/CIFS"},
        {"AFS", {0x6B414653, {}, false}, "AFS"},
        {"9P", {0x01021997, {}, false}, "9P"},
        {"CephFS", {0x00C36400, {}, false}, "Ceph"},
        {"ext4", {0xEF53, {}, false}, ""},
        {"btrfs", {0x9123683E, {}, false}, ""},
        {"XFS", {0x58465342, {}, false}, ""},
        {"tmpfs, a neighbour of 9P's number", {0x01021994, {}, false}, ""},
        {"overlay", {0x794C7630, {}, false}, ""},
        {"sshfs over FUSE", {0x65735546, QStringLiteral("fuse.sshfs"), false}, "SSHFS"},
        {"GlusterFS over FUSE", {0x65735546, QStringLiteral("fuse.glusterfs"), false}, "GlusterFS"},
        {"an NTFS disk over FUSE", {0x65735546, QStringLiteral("fuseblk"), false}, ""},
        {"exFAT over FUSE", {0x65735546, QStringLiteral("fuse.exfat"), false}, ""},
        {"FUSE of a kind not known", {0x65735546, QString(), false}, ""},
        {"a mount type without a magic", {0, QStringLiteral("nfs4"), false}, "NFS"},
        {"a Windows share", {0, QStringLiteral("NTFS"), true}, "dysk sieciowy"},
        {"a Windows disk", {0, QStringLiteral("NTFS"), false}, ""},
    };
    for (const Kind &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(networkFileSystemName(c.type).toStdString(), c.network);
    }
}

TEST(FileSystemType, APathStillToBeMadeIsJudgedByTheDirectoryItWillBeMadeIn)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const std::optional<FileSystemType> there = fileSystemOf(root.path());
    const std::optional<FileSystemType> below =
        fileSystemOf(root.filePath(QStringLiteral("a/b/c")));
    ASSERT_TRUE(there.has_value());
    ASSERT_TRUE(below.has_value());
    EXPECT_NE(there->magic, 0u);
    EXPECT_EQ(below->magic, there->magic);
    EXPECT_EQ(below->name, there->name);
}

TEST(FileSystemType, AProbeOfATestStandsInForTheSystemsUntilTakenAway)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const quint64 system = fileSystemOf(root.path()).value().magic;
    setFileSystemProbe([](const QString &) { return FileSystemType{0x6969, {}, false}; });
    EXPECT_EQ(fileSystemOf(root.path()).value().magic, 0x6969u);
    setFileSystemProbe({});
    EXPECT_EQ(fileSystemOf(root.path()).value().magic, system);
}

} // namespace
