#include "data/EngineError.h"
#include "platform/DurableFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace rawen {

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const char *data, qint64 length)
{
    for (qint64 done = 0; done < length;) {
        const ssize_t w = ::write(fd, data + done, size_t(length - done));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += w;
    }
    return true;
}

} // namespace

MoveResult moveReplacing(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return MoveResult::Failed;
    syncDirectory(QFileInfo(to).absolutePath());
    return MoveResult::Done;
}

MoveResult moveNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    // link() refuses an existing name, so a file that appeared meanwhile is never overwritten.
    if (::link(source.constData(), QFile::encodeName(to).constData()) != 0)
        return errno == EEXIST ? MoveResult::TargetExists : MoveResult::Failed;
    ::unlink(source.constData());
    syncDirectory(QFileInfo(to).absolutePath());
    return MoveResult::Done;
}

void writeNewFile(const QString &target, qint64 size, const FileReader &reader)
{
    const QFileInfo info(target);
    const QString directory = info.absolutePath();
    QString temporary;
    int out = -1;
    for (int attempt = 0; attempt < 100 && out < 0; ++attempt) {
        temporary = directory + QStringLiteral("/.") + info.fileName() + u'.' +
                    QString::number(QRandomGenerator::global()->generate(), 36);
        out = ::open(QFile::encodeName(temporary).constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (out < 0 && errno != EEXIST)
            break;
    }
    if (out < 0)
        throw EngineError(
            EngineError::Io,
            QStringLiteral("Nie można utworzyć pliku w %1: %2").arg(directory, systemError(errno)));

    const QByteArray temporaryName = QFile::encodeName(temporary);
    auto fail = [&](EngineError::Kind kind, const QString &why) {
        if (out >= 0)
            ::close(out);
        ::unlink(temporaryName.constData());
        throw EngineError(kind, QStringLiteral("%1: %2").arg(target, why));
    };
    std::vector<char> buffer(1 << 16);
    for (qint64 offset = 0; offset < size;) {
        const qint64 length = qMin(qint64(buffer.size()), size - offset);
        if (!reader(buffer.data(), length, offset))
            fail(EngineError::Io, QStringLiteral("błąd odczytu źródła"));
        if (!writeAll(out, buffer.data(), length))
            fail(EngineError::Io, systemError(errno));
        offset += length;
    }
    if (::fsync(out) != 0)
        fail(EngineError::Io, systemError(errno));
    const int closed = ::close(out);
    out = -1;
    if (closed != 0)
        fail(EngineError::Io, systemError(errno));
    switch (moveNoReplace(temporary, target)) {
    case MoveResult::Done:
        return;
    case MoveResult::TargetExists:
        fail(EngineError::Locked, QStringLiteral("plik już istnieje"));
        break;
    case MoveResult::Failed:
        fail(EngineError::Io, systemError(errno));
        break;
    }
}

void syncDirectory(const QString &directory)
{
    const int fd =
        ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

ReplacingFile::ReplacingFile(const QString &target) : m_target(target)
{}

ReplacingFile::~ReplacingFile()
{
    discard();
}

bool ReplacingFile::isOpen() const
{
    return m_handle >= 0;
}

bool ReplacingFile::open()
{
    discard();
    m_error.clear();
    const QFileInfo info(m_target);
    const QString directory = info.absolutePath();
    int out = -1;
    for (int attempt = 0; attempt < 100 && out < 0; ++attempt) {
        m_temporary = directory + QStringLiteral("/.") + info.fileName() + u'.' +
                      QString::number(QRandomGenerator::global()->generate(), 36);
        out = ::open(QFile::encodeName(m_temporary).constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (out < 0 && errno != EEXIST)
            break;
    }
    if (out < 0) {
        m_error =
            QStringLiteral("Nie można utworzyć pliku w %1: %2").arg(directory, systemError(errno));
        m_temporary.clear();
        return false;
    }
    m_handle = out;
    return true;
}

bool ReplacingFile::write(const QByteArray &data)
{
    if (m_handle < 0) {
        m_error = QStringLiteral("plik nie jest otwarty");
        return false;
    }
    if (!writeAll(int(m_handle), data.constData(), data.size())) {
        m_error = systemError(errno);
        return false;
    }
    return true;
}

bool ReplacingFile::commit()
{
    if (m_handle < 0) {
        m_error = QStringLiteral("plik nie jest otwarty");
        return false;
    }
    const int out = int(m_handle);
    m_handle = -1;
    bool whole = ::fsync(out) == 0;
    if (!whole)
        m_error = systemError(errno);
    // A failed close may be the first report of a failed write.
    if (::close(out) != 0 && whole) {
        whole = false;
        m_error = systemError(errno);
    }
    if (whole && moveReplacing(m_temporary, m_target) != MoveResult::Done) {
        whole = false;
        m_error = systemError(errno);
    }
    if (!whole) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        m_temporary.clear();
        return false;
    }
    m_temporary.clear();
    return true;
}

void ReplacingFile::discard()
{
    if (m_handle >= 0) {
        ::close(int(m_handle));
        m_handle = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        m_temporary.clear();
    }
}

} // namespace rawen
