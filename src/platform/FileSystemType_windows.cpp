#include "platform/FileSystemType.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace rawen {

std::optional<FileSystemType> systemFileSystemOf(const QString &path)
{
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    FileSystemType type;
    // \\server\share, and a drive letter the system maps onto a share.
    if (native.startsWith(QLatin1String("\\\\"))) {
        type.remote = !native.startsWith(QLatin1String("\\\\?\\")) &&
                      !native.startsWith(QLatin1String("\\\\.\\"));
        if (type.remote)
            return type;
    }
    wchar_t root[MAX_PATH];
    if (!GetVolumePathNameW(reinterpret_cast<const wchar_t *>(native.utf16()), root, MAX_PATH))
        return std::nullopt;
    type.remote = GetDriveTypeW(root) == DRIVE_REMOTE;
    wchar_t name[MAX_PATH + 1];
    if (GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1))
        type.name = QString::fromWCharArray(name);
    return type;
}

} // namespace rawen
