#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#endif

namespace rawen {

namespace {

bool entryExists(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
#else
    std::error_code ec;
    return std::filesystem::symlink_status(std::filesystem::path(path.toStdU16String()), ec)
               .type() != std::filesystem::file_type::not_found;
#endif
}

// The entry of `directory` named `name` without regard to case, or "".
QString matchInDirectory(const QString &directory, const QString &name)
{
    const QDir dir(directory.isEmpty() ? QStringLiteral(".") : directory);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

QString resolveCaseInsensitive(const QString &path)
{
    if (path.isEmpty() || entryExists(path))
        return path;
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    const QFileInfo info(clean);
    const QString parentPath = info.path();
    const QString name = info.fileName();
    if (name.isEmpty() || parentPath == clean)
        return path;
    QString parent = parentPath;
    if (!entryExists(parent)) {
        parent = resolveCaseInsensitive(parentPath);
        if (!entryExists(parent))
            return path;
    }
    const QString match = matchInDirectory(parent, name);
    if (match.isEmpty())
        return path;
    if (parent == QLatin1String(".") && !clean.startsWith(QLatin1String("./")))
        return match;
    return parent.endsWith(u'/') ? parent + match : parent + u'/' + match; // "/" is the root
}

bool existsAnyKind(const QString &path)
{
    return entryExists(resolveCaseInsensitive(path));
}

bool isReadOnly(const QString &path)
{
    return !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

FileState fileState(const QString &path)
{
    FileState state;
#ifdef Q_OS_UNIX
    // Tables are opened by the hundred (the firm list): one plain stat, nothing more.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        state.noAccess = errno == EACCES;
        return state;
    }
    state.exists = true;
    state.isFile = S_ISREG(st.st_mode);
    state.size = state.isFile ? qint64(st.st_size) : 0;
    state.readOnly = !(st.st_mode & S_IWUSR);
#else
    const QFileInfo info(path);
    // Asking for the kind first stats the file, which also tells that it exists.
    state.isFile = info.isFile();
    state.exists = state.isFile || info.exists();
    if (!state.exists)
        return state;
    state.size = info.size();
    state.readOnly = !info.permission(QFileDevice::WriteOwner);
#endif
    return state;
}

bool clearReadOnly(const QString &path)
{
    return QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
}

} // namespace rawen
