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
#include <vector>
#include <windows.h>

namespace rawen {

namespace {

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// A fault point's error number as the error Windows would give.
void failAs(int error)
{
    SetLastError(error == ENOSPC  ? ERROR_DISK_FULL
                 : error == EPERM ? ERROR_ACCESS_DENIED
                                  : ERROR_WRITE_FAULT);
    errno = error;
}

// The fault point's verdict on a step.
bool refused(FileStep step, const QString &path)
{
    const int error = FaultPoint::before(step, path);
    if (error == 0)
        return false;
    failAs(error);
    return true;
}

QString machineMark()
{
    static const QString mark = QString::fromLatin1(
        QCryptographicHash::hash(QSysInfo::machineHostName().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(8));
    return mark;
}

const QRegularExpression &temporaryPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\..+~rawen-([0-9a-f]{8})-([0-9]+)-[0-9a-z]+(-journal|-wal|-shm)?$"));
    return pattern;
}

const QRegularExpression &olderTemporaryPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\.(.+\\.DB\\.[A-Za-z0-9]{1,7}|.+-nowa\\.DB)(-journal)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

bool processRuns(qint64 pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

bool untouchedForAnHour(const QString &path)
{
    const QDateTime changed = QFileInfo(path).lastModified();
    return changed.isValid() && changed.secsTo(QDateTime::currentDateTime()) > 3600;
}

bool writeAll(HANDLE out, const QString &path, const char *data, qint64 length)
{
    const QByteArray name = QFile::encodeName(path);
    for (qint64 done = 0; done < length;) {
        const DWORD chunk = DWORD(qMin<qint64>(length - done, 1 << 20));
        const char *bytes = data + done;
        if (const int error = FaultPoint::beforeWrite(name.constData(), bytes, chunk)) {
            failAs(error);
            return false;
        }
        DWORD written = 0;
        if (!WriteFile(out, bytes, chunk, &written, nullptr))
            return false;
        done += written;
    }
    return true;
}

} // namespace

QString systemErrorText(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("brak miejsca na dysku");
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień");
    case EIO:
        return QStringLiteral("błąd wejścia-wyjścia dysku");
    case ENOENT:
        return QStringLiteral("brak pliku lub katalogu");
    default:
        return QString::fromLocal8Bit(strerror(error));
    }
}

MoveResult moveReplacing(const QString &from, const QString &to, DirectorySync)
{
    // The rename is written through at once: there is no directory to sync later.
    // ReplaceFile keeps the replaced file's attributes and security; a new name has none to keep.
    if (refused(FileStep::Rename, to))
        return MoveResult::Failed;
    if (QFileInfo::exists(to) &&
        ReplaceFileW(nativePath(to).c_str(), nativePath(from).c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return MoveResult::Done;
    return MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? MoveResult::Done
               : MoveResult::Failed;
}

MoveResult moveNoReplace(const QString &from, const QString &to)
{
    if (refused(FileStep::Rename, to))
        return MoveResult::Failed;
    if (MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return MoveResult::Done;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? MoveResult::TargetExists
                                                                       : MoveResult::Failed;
}

MoveResult moveDirectoryNoReplace(const QString &from, const QString &to)
{
    if (refused(FileStep::Rename, to))
        return MoveResult::Failed;
    // Without MOVEFILE_REPLACE_EXISTING the move refuses any entry at the target.
    if (MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return MoveResult::Done;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? MoveResult::TargetExists
                                                                       : MoveResult::Failed;
}

bool removeFile(const QString &path)
{
    if (refused(FileStep::Unlink, path))
        return false;
    return DeleteFileW(nativePath(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool makeDirectory(const QString &path)
{
    if (refused(FileStep::MakeDirectory, path))
        return false;
    return CreateDirectoryW(nativePath(path).c_str(), nullptr) || QFileInfo(path).isDir();
}

TemporaryFile::TemporaryFile(const QString &target)
{
    const QFileInfo info(target);
    const QString directory = info.absolutePath();
    removeStaleTemporaries(directory);
    const QString stem = directory + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral("~rawen-") + machineMark() + u'-' +
                         QString::number(GetCurrentProcessId()) + u'-';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = stem + QString::number(QRandomGenerator::global()->generate(), 36);
        HANDLE out = CreateFileW(nativePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            m_path = path;
            m_handle = qintptr(out);
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return;
    }
}

TemporaryFile::~TemporaryFile()
{
    if (m_handle != -1)
        CloseHandle(HANDLE(m_handle));
    if (!m_path.isEmpty()) {
        for (const char *suffix : {"-journal", "-wal", "-shm"})
            (void)removeFile(m_path + QLatin1String(suffix));
        (void)removeFile(m_path);
    }
}

bool TemporaryFile::closeHandle()
{
    if (m_handle == -1)
        return true;
    const bool closed = CloseHandle(HANDLE(m_handle));
    m_handle = -1;
    return closed;
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
        if (ours.hasMatch())
            stale = ours.captured(1) == machineMark() ? !processRuns(ours.captured(2).toLongLong())
                                                      : untouchedForAnHour(path);
        else if (olderTemporaryPattern().match(name).hasMatch())
            stale = untouchedForAnHour(path);
        if (!stale)
            continue;
        const QFileInfo entry(path);
        if (entry.isDir() && !entry.isSymLink())
            QDir(path).removeRecursively();
        else
            (void)removeFile(path);
    }
}

TemporaryDirectory::TemporaryDirectory(const QString &target) : m_target(target)
{
    const QFileInfo info(target);
    removeStaleTemporaries(info.absolutePath());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral("~rawen-") + machineMark() + u'-' +
                             QString::number(GetCurrentProcessId()) + u'-' +
                             QString::number(QRandomGenerator::global()->generate(), 36);
        if (refused(FileStep::MakeDirectory, path))
            return;
        if (CreateDirectoryW(nativePath(path).c_str(), nullptr)) {
            m_path = path;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
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
    if (refused(FileStep::Rename, destination))
        return false;
    // Windows moves a directory only onto a free name: an empty one in the way goes first.
    if (QFileInfo(destination).isDir())
        RemoveDirectoryW(nativePath(destination).c_str());
    if (!MoveFileExW(nativePath(m_path).c_str(), nativePath(destination).c_str(),
                     MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        errno = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? EEXIST : EIO;
        return false;
    }
    m_path.clear();
    return true;
}

void copyFile(const QString &source, const QString &target)
{
    if (refused(FileStep::Copy, target))
        throw EngineError(EngineError::Io, target, systemErrorText(errno));
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
    TemporaryFile temporary(target);
    if (!temporary.isValid())
        throw EngineError(
            EngineError::Io,
            QStringLiteral("Nie można utworzyć pliku w %1").arg(QFileInfo(target).absolutePath()));
    HANDLE out = HANDLE(temporary.handle());
    auto fail = [&](EngineError::Kind kind, const QString &why) {
        throw EngineError(kind, QStringLiteral("%1: %2").arg(target, why));
    };
    std::vector<char> buffer(1 << 16);
    for (qint64 offset = 0; offset < size;) {
        const qint64 length = qMin(qint64(buffer.size()), size - offset);
        if (!reader(buffer.data(), length, offset))
            fail(EngineError::Io, QStringLiteral("błąd odczytu źródła"));
        if (!writeAll(out, temporary.path(), buffer.data(), length))
            fail(EngineError::Io, QStringLiteral("błąd zapisu"));
        offset += length;
    }
    if (refused(FileStep::Sync, temporary.path()) || !FlushFileBuffers(out))
        fail(EngineError::Io, QStringLiteral("błąd zapisu"));
    if (!temporary.closeHandle())
        fail(EngineError::Io, QStringLiteral("błąd zapisu"));
    if (finish) {
        finish(temporary.path());
        HANDLE finished =
            CreateFileW(nativePath(temporary.path()).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool synced = finished != INVALID_HANDLE_VALUE &&
                            !refused(FileStep::Sync, temporary.path()) &&
                            FlushFileBuffers(finished);
        if (finished != INVALID_HANDLE_VALUE)
            CloseHandle(finished);
        if (!synced)
            fail(EngineError::Io, QStringLiteral("błąd zapisu"));
    }
    switch (moveNoReplace(temporary.path(), target)) {
    case MoveResult::Done:
        temporary.release();
        return;
    case MoveResult::TargetExists:
        fail(EngineError::Locked, QStringLiteral("plik już istnieje"));
        break;
    case MoveResult::Failed:
        fail(EngineError::Io, QStringLiteral("nie można nadać nazwy"));
        break;
    }
}

void writeFile(const QString &target, const QByteArray &bytes, bool replace)
{
    if (!replace) {
        writeNewFile(target, bytes.size(), [&](char *data, qint64 length, qint64 offset) {
            memcpy(data, bytes.constData() + offset, size_t(length));
            return true;
        });
        return;
    }
    TemporaryFile temporary(target);
    if (!temporary.isValid())
        throw EngineError(
            EngineError::Io,
            QStringLiteral("Nie można utworzyć pliku w %1").arg(QFileInfo(target).absolutePath()));
    HANDLE out = HANDLE(temporary.handle());
    if (!writeAll(out, temporary.path(), bytes.constData(), bytes.size()) ||
        refused(FileStep::Sync, temporary.path()) || !FlushFileBuffers(out) ||
        !temporary.closeHandle() || moveReplacing(temporary.path(), target) != MoveResult::Done)
        throw EngineError(EngineError::Io, QStringLiteral("%1: błąd zapisu").arg(target));
    temporary.release();
}

bool syncFile(const QString &path)
{
    HANDLE file = CreateFileW(nativePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool synced = !refused(FileStep::Sync, path) && FlushFileBuffers(file);
    CloseHandle(file);
    return synced;
}

bool syncDirectory(const QString &)
{
    // NTFS journals directory entries; MOVEFILE_WRITE_THROUGH already waits for the move.
    return true;
}

ReplacingFile::ReplacingFile(const QString &target) : m_target(target)
{}

ReplacingFile::~ReplacingFile() = default;

bool ReplacingFile::isOpen() const
{
    return m_file && m_file->handle() != -1;
}

bool ReplacingFile::open()
{
    discard();
    m_error.clear();
    m_file = std::make_unique<TemporaryFile>(m_target);
    if (!m_file->isValid()) {
        m_error =
            QStringLiteral("Nie można utworzyć pliku w %1").arg(QFileInfo(m_target).absolutePath());
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
    if (!writeAll(HANDLE(m_file->handle()), m_file->path(), data.constData(), data.size())) {
        m_error = QStringLiteral("błąd zapisu");
        return false;
    }
    return true;
}

void ReplacingFile::startWriteback()
{
    // The system writes on its own; FlushFileBuffers would wait for it.
}

bool ReplacingFile::commit(DirectorySync sync)
{
    if (!isOpen()) {
        m_error = QStringLiteral("plik nie jest otwarty");
        return false;
    }
    bool whole =
        !refused(FileStep::Sync, m_file->path()) && FlushFileBuffers(HANDLE(m_file->handle())) != 0;
    if (!whole)
        m_error = QStringLiteral("błąd zapisu");
    if (!m_file->closeHandle() && whole) {
        whole = false;
        m_error = QStringLiteral("błąd zapisu");
    }
    if (whole && moveReplacing(m_file->path(), m_target, sync) != MoveResult::Done) {
        whole = false;
        m_error = QStringLiteral("nie można nadać nazwy");
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
