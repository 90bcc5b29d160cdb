// What is the same on every system: the probe tests replace, and which file systems are network
// ones.

#include "platform/FileSystemType.h"

#include <QDir>
#include <QStringList>

namespace rawen {

// The system's own probe, in FileSystemType_posix.cpp or FileSystemType_windows.cpp.
std::optional<FileSystemType> systemFileSystemOf(const QString &path);

namespace {

FileSystemProbe &probe()
{
    static FileSystemProbe installed;
    return installed;
}

struct Magic
{
    quint64 magic;
    const char *name;
};

// Linux's statfs types of the file systems whose files travel over a network (linux/magic.h and
// the file systems' own sources). SQLite's locks are not safe on any of them.
constexpr Magic kNetworkMagics[] = {
    {0x6969, "NFS"},          {0x517B, "SMB/CIFS"},      {0xFF534D42, "SMB/CIFS"},
    {0xFE534D42, "SMB/CIFS"}, {0x5346414F, "AFS"},       {0x6B414653, "AFS"},
    {0x73757245, "Coda"},     {0x564C, "NetWare (NCP)"}, {0x01021997, "9P"},
    {0x00C36400, "Ceph"},     {0x0BD00BD0, "Lustre"},    {0x47504653, "GPFS"},
    {0x013111A8, "IBRIX"},
};

constexpr quint64 kFuseMagic = 0x65735546;

// FUSE serves local disks (NTFS, exFAT) as well as remote ones: its mount type tells which.
struct Subtype
{
    const char *type;
    const char *name;
};
constexpr Subtype kNetworkFuse[] = {
    {"fuse.sshfs", "SSHFS"},
    {"fuse.glusterfs", "GlusterFS"},
    {"fuse.ceph-fuse", "Ceph"},
    {"fuse.cephfs", "Ceph"},
    {"fuse.davfs", "WebDAV"},
    {"fuse.s3fs", "S3"},
    {"fuse.gcsfuse", "Google Cloud Storage"},
    {"fuse.rclone", "rclone"},
    {"fuse.smbnetfs", "SMB/CIFS"},
    {"fuse.curlftpfs", "FTP"},
    {"fuse.gvfsd-fuse", "GVfs"},
    {"fuse.mfs", "MooseFS"},
    {"fuse.juicefs", "JuiceFS"},
};

} // namespace

std::optional<FileSystemType> fileSystemOf(const QString &path)
{
    return probe() ? probe()(path) : systemFileSystemOf(path);
}

void setFileSystemProbe(FileSystemProbe installed)
{
    probe() = std::move(installed);
}

void probeFileSystemFromEnvironment()
{
    const QString folder = qEnvironmentVariable("RAWEN_TEST_NETWORK_FOLDER");
    if (folder.isEmpty())
        return;
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    setFileSystemProbe([clean](const QString &path) -> std::optional<FileSystemType> {
        const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
        if (absolute == clean || absolute.startsWith(clean + u'/'))
            return FileSystemType{0x6969, QStringLiteral("nfs4"), false};
        return systemFileSystemOf(path);
    });
}

QString networkFileSystemName(const FileSystemType &type)
{
    for (const Magic &m : kNetworkMagics) {
        if (type.magic == m.magic)
            return QString::fromLatin1(m.name);
    }
    // The mount table's name for those the magic leaves open, and where there is no magic.
    const QString name = type.name.toLower();
    if (type.magic == kFuseMagic || type.magic == 0) {
        for (const Subtype &s : kNetworkFuse) {
            if (name == QLatin1String(s.type))
                return QString::fromLatin1(s.name);
        }
    }
    if (type.magic == 0) {
        static const QStringList nfs{QStringLiteral("nfs"), QStringLiteral("nfs4")};
        static const QStringList smb{QStringLiteral("cifs"), QStringLiteral("smb3"),
                                     QStringLiteral("smbfs")};
        if (nfs.contains(name))
            return QStringLiteral("NFS");
        if (smb.contains(name))
            return QStringLiteral("SMB/CIFS");
    }
    if (type.remote)
        return QStringLiteral("dysk sieciowy");
    return QString();
}

} // namespace rawen
