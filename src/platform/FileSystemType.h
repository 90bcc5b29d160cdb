#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

namespace rawen {

// What the system says of the file system that holds a path. One source per operating system:
// statfs() and the mount table on Linux, the drive's type on Windows.
struct FileSystemType
{
    // statfs's f_type on Linux; 0 where the system gives none.
    quint64 magic = 0;
    // The type the mount table names ("fuse.sshfs"), where the magic leaves it open (FUSE) or
    // the system has none; "" when not looked up.
    QString name;
    // The system itself marks it as a network drive (Windows: DRIVE_REMOTE or a UNC path).
    bool remote = false;
};

// The file system of `path`, or of its nearest ancestor that exists (a data root about to be
// made); nothing when not even that can be looked at.
std::optional<FileSystemType> fileSystemOf(const QString &path);

// Tests put a probe of their own in the system's place; an empty one gives the system's back.
using FileSystemProbe = std::function<std::optional<FileSystemType>(const QString &path)>;
void setFileSystemProbe(FileSystemProbe probe);

// For tests of the whole program: with RAWEN_TEST_NETWORK_FOLDER set, every path in that folder
// is taken as lying on NFS and every other as it is.
void probeFileSystemFromEnvironment();

// The network file system a type is, as the user knows it ("NFS", "SMB/CIFS", "SSHFS"...); ""
// for a local one, and for a type this program does not know (a disk of its own may use it).
QString networkFileSystemName(const FileSystemType &type);

} // namespace rawen
