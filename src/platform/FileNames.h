#pragma once

#include <QString>
#include <QtGlobal>

namespace rawen {

// The program names its files as a case-blind file system would: a name it looks up is first
// tried as written, then matched without regard to case, one directory level at a time.
// Returns the path of the existing entry, or `path` unchanged when there is none.
QString resolveCaseInsensitive(const QString &path);

// True when something (a file, a directory, a dangling link) is at the path as written or,
// case-blind, under another spelling.
bool existsAnyKind(const QString &path);

// Read-only means the owner may not write, whoever runs the program (root writes anyway, so
// the bit is the test, not access()).
bool isReadOnly(const QString &path);

// What one look at a path (links followed) tells.
struct FileState
{
    bool exists = false;
    bool noAccess = false; // not found because a directory on the way may not be searched
    bool isFile = false;   // a regular file
    qint64 size = 0;
    bool readOnly = false; // as isReadOnly
};
FileState fileState(const QString &path);

// Gives the owner write permission; false when the file system refuses.
[[nodiscard]] bool clearReadOnly(const QString &path);

} // namespace rawen
