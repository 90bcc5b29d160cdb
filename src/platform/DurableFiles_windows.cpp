#include "data/EngineError.h"
#include "platform/DurableFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <vector>
#include <windows.h>

namespace rawen {

namespace {

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

} // namespace

MoveResult moveReplacing(const QString &from, const QString &to)
{
    return MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? MoveResult::Done
               : MoveResult::Failed;
}

MoveResult moveNoReplace(const QString &from, const QString &to)
{
    if (MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return MoveResult::Done;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? MoveResult::TargetExists
                                                                       : MoveResult::Failed;
}

void writeNewFile(const QString &target, qint64 size, const FileReader &reader)
{
    const QFileInfo info(target);
    const QString directory = info.absolutePath();
    QString temporary;
    HANDLE out = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && out == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = directory + QStringLiteral("/.") + info.fileName() + u'.' +
                    QString::number(QRandomGenerator::global()->generate(), 36);
        out = CreateFileW(nativePath(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (out == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (out == INVALID_HANDLE_VALUE)
        throw EngineError(EngineError::Io,
                          QStringLiteral("Nie można utworzyć pliku w %1").arg(directory));
    auto fail = [&](EngineError::Kind kind, const QString &why) {
        if (out != INVALID_HANDLE_VALUE)
            CloseHandle(out);
        DeleteFileW(nativePath(temporary).c_str());
        throw EngineError(kind, QStringLiteral("%1: %2").arg(target, why));
    };
    std::vector<char> buffer(1 << 16);
    for (qint64 offset = 0; offset < size;) {
        const qint64 length = qMin(qint64(buffer.size()), size - offset);
        if (!reader(buffer.data(), length, offset))
            fail(EngineError::Io, QStringLiteral("błąd odczytu źródła"));
        DWORD written = 0;
        if (!WriteFile(out, buffer.data(), DWORD(length), &written, nullptr) || written != length)
            fail(EngineError::Io, QStringLiteral("błąd zapisu"));
        offset += length;
    }
    if (!FlushFileBuffers(out))
        fail(EngineError::Io, QStringLiteral("błąd zapisu"));
    CloseHandle(out);
    out = INVALID_HANDLE_VALUE;
    SetFileAttributesW(nativePath(temporary).c_str(), FILE_ATTRIBUTE_NORMAL);
    switch (moveNoReplace(temporary, target)) {
    case MoveResult::Done:
        return;
    case MoveResult::TargetExists:
        fail(EngineError::Locked, QStringLiteral("plik już istnieje"));
        break;
    case MoveResult::Failed:
        fail(EngineError::Io, QStringLiteral("nie można nadać nazwy"));
        break;
    }
}

void syncDirectory(const QString &)
{
    // NTFS journals directory entries; MOVEFILE_WRITE_THROUGH already waits for the move.
}

ReplacingFile::ReplacingFile(const QString &target) : m_target(target)
{}

ReplacingFile::~ReplacingFile()
{
    discard();
}

bool ReplacingFile::isOpen() const
{
    return HANDLE(m_handle) != INVALID_HANDLE_VALUE;
}

bool ReplacingFile::open()
{
    discard();
    m_error.clear();
    const QFileInfo info(m_target);
    const QString directory = info.absolutePath();
    HANDLE out = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && out == INVALID_HANDLE_VALUE; ++attempt) {
        m_temporary = directory + QStringLiteral("/.") + info.fileName() + u'.' +
                      QString::number(QRandomGenerator::global()->generate(), 36);
        out = CreateFileW(nativePath(m_temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (out == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (out == INVALID_HANDLE_VALUE) {
        m_error = QStringLiteral("Nie można utworzyć pliku w %1").arg(directory);
        m_temporary.clear();
        return false;
    }
    m_handle = qintptr(out);
    return true;
}

bool ReplacingFile::write(const QByteArray &data)
{
    if (!isOpen()) {
        m_error = QStringLiteral("plik nie jest otwarty");
        return false;
    }
    for (qsizetype done = 0; done < data.size();) {
        DWORD written = 0;
        if (!WriteFile(HANDLE(m_handle), data.constData() + done, DWORD(data.size() - done),
                       &written, nullptr) ||
            written == 0) {
            m_error = QStringLiteral("błąd zapisu");
            return false;
        }
        done += qsizetype(written);
    }
    return true;
}

bool ReplacingFile::commit()
{
    if (!isOpen()) {
        m_error = QStringLiteral("plik nie jest otwarty");
        return false;
    }
    const HANDLE out = HANDLE(m_handle);
    m_handle = qintptr(INVALID_HANDLE_VALUE);
    bool whole = FlushFileBuffers(out) != 0;
    if (!whole)
        m_error = QStringLiteral("błąd zapisu");
    CloseHandle(out);
    SetFileAttributesW(nativePath(m_temporary).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (whole && moveReplacing(m_temporary, m_target) != MoveResult::Done) {
        whole = false;
        m_error = QStringLiteral("nie można nadać nazwy");
    }
    if (!whole)
        DeleteFileW(nativePath(m_temporary).c_str());
    m_temporary.clear();
    return whole;
}

void ReplacingFile::discard()
{
    if (isOpen()) {
        CloseHandle(HANDLE(m_handle));
        m_handle = qintptr(INVALID_HANDLE_VALUE);
    }
    if (!m_temporary.isEmpty()) {
        DeleteFileW(nativePath(m_temporary).c_str());
        m_temporary.clear();
    }
}

} // namespace rawen
