#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FaultPoint.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rawen {

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// Runs a step after the fault point lets it; a refused step fails as the system would fail it.
template <typename Step> int guarded(FileStep step, const QByteArray &path, Step run)
{
    if (const int error = FaultPoint::before(step, path.constData())) {
        errno = error;
        return -1;
    }
    return run();
}

bool writeAll(int fd, const QByteArray &path, const char *data, qint64 length)
{
    for (qint64 done = 0; done < length;) {
        const char *bytes = data + done;
        if (const int error = FaultPoint::beforeWrite(path.constData(), bytes, length - done)) {
            errno = error;
            return false;
        }
        const ssize_t w = ::write(fd, bytes, size_t(length - done));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += w;
    }
    return true;
}

// The marks in a temporary's name: which machine and process made it.
QString machineMark()
{
    static const QString mark = QString::fromLatin1(
        QCryptographicHash::hash(QSysInfo::machineHostName().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(8));
    return mark;
}

// ".NAME~rawen-MACHINE-PID-RANDOM", and the journal SQLite may keep beside it.
const QRegularExpression &temporaryPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\..+~rawen-([0-9a-f]{8})-([0-9]+)-[0-9a-z]+(-journal|-wal|-shm)?$"));
    return pattern;
}

// What earlier versions left: ".NAME.DB.XXXXXX" and the firm table's ".FIRMA-nowa.DB", each with
// its journal.
const QRegularExpression &olderTemporaryPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\.(.+\\.DB\\.[A-Za-z0-9]{1,7}|.+-nowa\\.DB)(-journal)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

bool processRuns(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool untouchedForAnHour(const QString &path)
{
    struct stat st;
    if (::lstat(encoded(path).constData(), &st) != 0)
        return false;
    return qint64(st.st_mtime) < QDateTime::currentSecsSinceEpoch() - 3600;
}

} // namespace

QString systemErrorText(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("brak miejsca na dysku");
    case EFBIG:
        return QStringLiteral("plik przekracza dopuszczalny rozmiar");
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień");
    case EROFS:
        return QStringLiteral("dysk jest tylko do odczytu");
    case EIO:
        return QStringLiteral("błąd wejścia-wyjścia dysku");
    case ENOENT:
        return QStringLiteral("brak pliku lub katalogu");
    case ENAMETOOLONG:
        return QStringLiteral("za długa ścieżka");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

MoveResult moveReplacing(const QString &from, const QString &to, DirectorySync sync)
{
    const QByteArray source = encoded(from);
    const QByteArray target = encoded(to);
    struct stat old;
    if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode)) {
        // A file that replaces another is the same file to its users: same permissions, and
        // the same owner and group where this process may give them.
        ::chmod(source.constData(), old.st_mode & 07777);
        if (::chown(source.constData(), old.st_uid, old.st_gid) != 0 &&
            ::chown(source.constData(), uid_t(-1), old.st_gid) != 0) {
            // Not allowed: the file stays ours, readable as its mode says.
        }
    }
    if (guarded(FileStep::Rename, target,
                [&] { return std::rename(source.constData(), target.constData()); }) != 0)
        return MoveResult::Failed;
    // The rename is done; a directory that cannot be synced still holds it.
    if (sync == DirectorySync::Now)
        (void)syncDirectory(QFileInfo(to).absolutePath());
    return MoveResult::Done;
}

MoveResult moveNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = encoded(from);
    const QByteArray target = encoded(to);
    // link() refuses an existing name, so a file that appeared meanwhile is never overwritten.
    if (guarded(FileStep::Link, target,
                [&] { return ::link(source.constData(), target.constData()); }) != 0) {
        if (errno == EEXIST)
            return MoveResult::TargetExists;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
            return MoveResult::Failed;
        // A file system without hard links: a rename that refuses an existing target.
        if (guarded(FileStep::Rename, target, [&] {
                return ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                                   RENAME_NOREPLACE);
            }) != 0)
            return errno == EEXIST ? MoveResult::TargetExists : MoveResult::Failed;
        (void)syncDirectory(QFileInfo(to).absolutePath());
        return MoveResult::Done;
    }
    // The new name is in place; the temporary's name may linger after a failure here, and the
    // next writer of the directory removes it.
    (void)guarded(FileStep::Unlink, source, [&] { return ::unlink(source.constData()); });
    (void)syncDirectory(QFileInfo(to).absolutePath());
    return MoveResult::Done;
}

MoveResult moveDirectoryNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = encoded(from);
    const QByteArray target = encoded(to);
    // rename() alone would take the place of an empty directory at the target.
    if (guarded(FileStep::Rename, target, [&] {
            return ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                               RENAME_NOREPLACE);
        }) != 0) {
        if (errno == EEXIST || errno == ENOTEMPTY)
            return MoveResult::TargetExists;
        if (errno != EINVAL && errno != ENOSYS)
            return MoveResult::Failed;
        // A file system that cannot refuse in the rename itself: look first.
        struct stat st;
        if (::lstat(target.constData(), &st) == 0) {
            errno = EEXIST;
            return MoveResult::TargetExists;
        }
        if (guarded(FileStep::Rename, target,
                    [&] { return std::rename(source.constData(), target.constData()); }) != 0)
            return MoveResult::Failed;
    }
    const QString parent = QFileInfo(to).absolutePath();
    (void)syncDirectory(parent);
    if (QFileInfo(from).absolutePath() != parent)
        (void)syncDirectory(QFileInfo(from).absolutePath());
    return MoveResult::Done;
}

bool removeFile(const QString &path)
{
    const QByteArray name = encoded(path);
    if (guarded(FileStep::Unlink, name, [&] { return ::unlink(name.constData()); }) == 0)
        return true;
    return errno == ENOENT;
}

bool makeDirectory(const QString &path)
{
    const QByteArray name = encoded(path);
    if (guarded(FileStep::MakeDirectory, name, [&] { return ::mkdir(name.constData(), 0777); }) ==
        0) {
        (void)syncDirectory(QFileInfo(path).absolutePath());
        return true;
    }
    struct stat st;
    return errno == EEXIST && ::stat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

TemporaryFile::TemporaryFile(const QString &target)
{
    const QFileInfo info(target);
    const QString directory = info.absolutePath();
    removeStaleTemporaries(directory);
    const QString stem = directory + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral("~rawen-") + machineMark() + u'-' +
                         QString::number(::getpid()) + u'-';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = stem + QString::number(QRandomGenerator::global()->generate(), 36);
        // 0666 less the umask: the permissions any program gives a file it creates.
        const int fd =
            ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_path = path;
            m_handle = fd;
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

TemporaryFile::~TemporaryFile()
{
    const int saved = errno;
    if (m_handle >= 0)
        ::close(int(m_handle));
    if (!m_path.isEmpty()) {
        for (const char *suffix : {"-journal", "-wal", "-shm"})
            (void)removeFile(m_path + QLatin1String(suffix));
        (void)removeFile(m_path);
    }
    errno = saved;
}

bool TemporaryFile::closeHandle()
{
    if (m_handle < 0)
        return true;
    const int rc = ::close(int(m_handle));
    m_handle = -1;
    return rc == 0;
}

bool isTemporaryName(const QString &name)
{
    return temporaryPattern().match(name).hasMatch() ||
           olderTemporaryPattern().match(name).hasMatch();
}

void removeStaleTemporaries(const QString &directory)
{
    const QDir dir(directory);
    const QStringList hidden = dir.entryList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : hidden) {
        if (!name.startsWith(u'.'))
            continue;
        const QString path = dir.filePath(name);
        const QRegularExpressionMatch ours = temporaryPattern().match(name);
        bool stale = false;
        if (ours.hasMatch()) {
            // A process of this machine tells whether it still runs; another machine's file is
            // judged by its age.
            stale = ours.captured(1) == machineMark() ? !processRuns(ours.captured(2).toLongLong())
                                                      : untouchedForAnHour(path);
        } else if (olderTemporaryPattern().match(name).hasMatch()) {
            stale = untouchedForAnHour(path);
        }
        if (!stale)
            continue;
        const QFileInfo entry(path);
        if (entry.isDir() && !entry.isSymLink())
            QDir(path).removeRecursively();
        else
            (void)removeFile(path);
    }
}

namespace {

QString temporaryNameFor(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() +
           QStringLiteral("~rawen-") + machineMark() + u'-' + QString::number(::getpid()) + u'-' +
           QString::number(QRandomGenerator::global()->generate(), 36);
}

} // namespace

TemporaryDirectory::TemporaryDirectory(const QString &target) : m_target(target)
{
    removeStaleTemporaries(QFileInfo(target).absolutePath());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = temporaryNameFor(target);
        const QByteArray name = encoded(path);
        if (guarded(FileStep::MakeDirectory, name,
                    [&] { return ::mkdir(name.constData(), 0777); }) == 0) {
            m_path = path;
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

TemporaryDirectory::~TemporaryDirectory()
{
    if (!m_path.isEmpty())
        QDir(m_path).removeRecursively();
}

bool TemporaryDirectory::moveInto(const QString &target)
{
    const QString destination = target.isEmpty() ? m_target : target;
    const QByteArray from = encoded(m_path);
    const QByteArray to = encoded(destination);
    // rename() takes the place of an empty directory and refuses one that holds anything.
    if (guarded(FileStep::Rename, to,
                [&] { return std::rename(from.constData(), to.constData()); }) != 0)
        return false;
    m_path.clear();
    (void)syncDirectory(QFileInfo(destination).absolutePath());
    return true;
}

void copyFile(const QString &source, const QString &target)
{
    if (const int error = FaultPoint::before(FileStep::Copy, target))
        throw EngineError(EngineError::Io, target, systemErrorText(error));
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        throw EngineError(
            EngineError::Io, target,
            QStringLiteral("nie można odczytać %1: %2").arg(source, input.errorString()));
    writeNewFile(target, input.size(), [&](char *data, qint64 length, qint64 offset) {
        return input.seek(offset) && input.read(data, length) == length;
    });
}

void writeNewFile(const QString &target, qint64 size, const FileReader &reader,
                  const FileFinisher &finish)
{
    const QString directory = QFileInfo(target).absolutePath();
    TemporaryFile temporary(target);
    if (!temporary.isValid())
        throw EngineError(EngineError::Io, target,
                          QStringLiteral("nie można utworzyć pliku w %1: %2")
                              .arg(directory, systemErrorText(errno)));
    const QByteArray temporaryName = encoded(temporary.path());
    const int out = int(temporary.handle());
    auto fail = [&](EngineError::Kind kind, const QString &why) {
        throw EngineError(kind, target, why);
    };
    std::vector<char> buffer(1 << 16);
    for (qint64 offset = 0; offset < size;) {
        const qint64 length = qMin(qint64(buffer.size()), size - offset);
        if (!reader(buffer.data(), length, offset))
            fail(EngineError::Io, QStringLiteral("błąd odczytu źródła"));
        if (!writeAll(out, temporaryName, buffer.data(), length))
            fail(EngineError::Io, systemErrorText(errno));
        offset += length;
    }
    // A finisher changes the file after the copy: one sync after it serves both.
    if (!finish && guarded(FileStep::Sync, temporaryName, [&] { return ::fsync(out); }) != 0)
        fail(EngineError::Io, systemErrorText(errno));
    if (!temporary.closeHandle())
        fail(EngineError::Io, systemErrorText(errno));
    if (finish) {
        finish(temporary.path());
        // Nobody else has the temporary open, so this descriptor's close drops no one's locks.
        if (!syncFile(temporary.path()))
            fail(EngineError::Io, systemErrorText(errno));
    }
    switch (moveNoReplace(temporary.path(), target)) {
    case MoveResult::Done:
        temporary.release();
        return;
    case MoveResult::TargetExists:
        fail(EngineError::Locked, QStringLiteral("plik już istnieje"));
        break;
    case MoveResult::Failed:
        fail(EngineError::Io, systemErrorText(errno));
        break;
    }
}

void writeFile(const QString &target, const QByteArray &bytes, bool replace)
{
    if (!replace) {
        writeNewFile(target, bytes.size(), [&](char *data, qint64 length, qint64 offset) {
            std::memcpy(data, bytes.constData() + offset, size_t(length));
            return true;
        });
        return;
    }
    const QString directory = QFileInfo(target).absolutePath();
    TemporaryFile temporary(target);
    if (!temporary.isValid())
        throw EngineError(EngineError::Io, target,
                          QStringLiteral("nie można utworzyć pliku w %1: %2")
                              .arg(directory, systemErrorText(errno)));
    const QByteArray temporaryName = encoded(temporary.path());
    const int out = int(temporary.handle());
    auto fail = [&] { throw EngineError(EngineError::Io, target, systemErrorText(errno)); };
    if (!writeAll(out, temporaryName, bytes.constData(), bytes.size()))
        fail();
    if (guarded(FileStep::Sync, temporaryName, [&] { return ::fsync(out); }) != 0)
        fail();
    if (!temporary.closeHandle())
        fail();
    if (moveReplacing(temporary.path(), target) != MoveResult::Done)
        fail();
    temporary.release();
}

bool syncFile(const QString &path)
{
    const QByteArray name = encoded(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const int rc = guarded(FileStep::Sync, name, [&] { return ::fsync(fd); });
    const int error = errno;
    ::close(fd);
    errno = error;
    return rc == 0;
}

bool syncDirectory(const QString &directory)
{
    const QByteArray name = encoded(directory);
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const int rc = guarded(FileStep::Sync, name, [&] { return ::fsync(fd); });
    ::close(fd);
    return rc == 0;
}

ReplacingFile::ReplacingFile(const QString &target) : m_target(target)
{}

ReplacingFile::~ReplacingFile() = default;

bool ReplacingFile::isOpen() const
{
    return m_file && m_file->handle() >= 0;
}

bool ReplacingFile::open()
{
    discard();
    m_error.clear();
    m_file = std::make_unique<TemporaryFile>(m_target);
    if (!m_file->isValid()) {
        m_error = QStringLiteral("Nie można utworzyć pliku w %1: %2")
                      .arg(QFileInfo(m_target).absolutePath(), systemErrorText(errno));
        m_file.reset();
        return false;
    }
    return true;
}

bool ReplacingFile::write(const QByteArray &data)
{
    if (!isOpen()) {
        m_error = QStringLiteral("plik nie jest otwarty");
        return false;
    }
    if (!writeAll(int(m_file->handle()), encoded(m_file->path()), data.constData(), data.size())) {
        m_error = systemErrorText(errno);
        return false;
    }
    return true;
}

void ReplacingFile::startWriteback()
{
#ifdef __linux__
    if (isOpen())
        (void)::sync_file_range(int(m_file->handle()), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

bool ReplacingFile::commit(DirectorySync sync)
{
    if (!isOpen()) {
        m_error = QStringLiteral("plik nie jest otwarty");
        return false;
    }
    const int out = int(m_file->handle());
    bool whole =
        guarded(FileStep::Sync, encoded(m_file->path()), [&] { return ::fsync(out); }) == 0;
    if (!whole)
        m_error = systemErrorText(errno);
    // A failed close may be the first report of a failed write.
    if (!m_file->closeHandle() && whole) {
        whole = false;
        m_error = systemErrorText(errno);
    }
    if (whole && moveReplacing(m_file->path(), m_target, sync) != MoveResult::Done) {
        whole = false;
        m_error = systemErrorText(errno);
    }
    if (whole)
        m_file->release();
    m_file.reset();
    return whole;
}

void ReplacingFile::discard()
{
    m_file.reset();
}

} // namespace rawen
