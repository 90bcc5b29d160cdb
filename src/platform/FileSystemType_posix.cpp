#include "platform/FileSystemType.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/statfs.h>

namespace rawen {

namespace {

constexpr quint64 kFuseMagic = 0x65735546;

// A mount point or type as /proc/self/mountinfo writes it: space, tab, newline and backslash as
// octal escapes.
QString unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QString::fromUtf8(out);
}

// The type of the mount that holds `path` (the one with the longest mount point on its way),
// with a FUSE file system's subtype: "fuse.sshfs".
QString mountType(const QString &path)
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return QString();
    QString best;
    qsizetype bestLength = -1;
    for (const QByteArray &line : table.readAll().split('\n')) {
        // ID PARENT MAJ:MIN ROOT MOUNT OPTIONS [OPTIONAL...] - TYPE SOURCE SUPER
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size())
            continue;
        const QString point = unescape(fields[4]);
        const bool holds =
            path == point || point == QLatin1String("/") || path.startsWith(point + u'/');
        // The last of equal mount points is the one on top.
        if (holds && point.size() >= bestLength) {
            bestLength = point.size();
            best = unescape(fields[dash + 1]);
        }
    }
    return best;
}

} // namespace

std::optional<FileSystemType> systemFileSystemOf(const QString &path)
{
    // A path still to be made is judged by the directory it will be made in.
    QString existing = QFileInfo(path).absoluteFilePath();
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            return std::nullopt;
        existing = parent;
    }
    struct statfs info;
    if (statfs(QFile::encodeName(existing).constData(), &info) != 0)
        return std::nullopt;
    FileSystemType type;
    type.magic = quint64(quint32(info.f_type));
    // Only FUSE leaves the question open: it serves local disks and remote ones alike.
    if (type.magic == kFuseMagic) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        type.name = mountType(canonical.isEmpty() ? existing : canonical);
    }
    return type;
}

} // namespace rawen
