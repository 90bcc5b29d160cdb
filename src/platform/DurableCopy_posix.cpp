#include "data/EngineError.h"
#include "platform/DurableCopy.h"
#include "platform/FileNames.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rawen {

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Copies everything from `in` to `out`; in-kernel where the file systems allow it.
bool copyAll(int in, int out)
{
    bool kernelCopy = true;
    char buffer[1 << 16];
    for (;;) {
        if (kernelCopy) {
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            if (n > 0)
                continue;
            if (n == 0)
                return true;
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
                return false;
            kernelCopy = false; // fall back to plain reads and writes, from where it stopped
        }
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, size_t(n - done));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            done += w;
        }
    }
}

} // namespace

DurableCopy::DurableCopy(const QString &source) : m_source(source)
{
    m_fd = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        throw EngineError(
            EngineError::Io,
            QStringLiteral("Nie można otworzyć pliku %1: %2").arg(source, systemError(errno)));
}

DurableCopy::DurableCopy(qint64 size, Reader reader) : m_size(size), m_reader(std::move(reader))
{}

DurableCopy::~DurableCopy()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool DurableCopy::copyInto(int out) const
{
    if (!m_reader)
        return ::lseek(m_fd, 0, SEEK_SET) >= 0 && copyAll(m_fd, out);
    char buffer[1 << 16];
    for (qint64 offset = 0; offset < m_size;) {
        const qint64 length = qMin(qint64(sizeof buffer), m_size - offset);
        if (!m_reader(buffer, length, offset)) {
            errno = EIO;
            return false;
        }
        for (qint64 done = 0; done < length;) {
            const ssize_t w = ::write(out, buffer + done, size_t(length - done));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            done += w;
        }
        offset += length;
    }
    return true;
}

void DurableCopy::copyTo(const QString &target)
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
    // `message` names the target with %1 and the system's reason with %2.
    auto fail = [&](EngineError::Kind kind, const QString &message) {
        const int error = errno;
        if (out >= 0)
            ::close(out);
        ::unlink(temporaryName.constData());
        throw EngineError(kind, QString(message)
                                    .replace(QLatin1String("%1"), target)
                                    .replace(QLatin1String("%2"), systemError(error)));
    };
    if (!copyInto(out))
        fail(EngineError::Io, QStringLiteral("Błąd kopiowania do %1: %2"));
    if (::fsync(out) != 0)
        fail(EngineError::Io, QStringLiteral("Błąd zapisu %1: %2"));
    // The copy's descriptor is closed before anyone opens the target as a database.
    const int closed = ::close(out);
    out = -1;
    if (closed != 0)
        fail(EngineError::Io, QStringLiteral("Błąd zapisu %1: %2"));
    // link() refuses an existing name, so a file that appeared meanwhile is never overwritten.
    if (::link(temporaryName.constData(), QFile::encodeName(target).constData()) != 0) {
        const bool taken = errno == EEXIST;
        fail(taken ? EngineError::Locked : EngineError::Io,
             taken ? QStringLiteral("Plik %1 już istnieje")
                   : QStringLiteral("Nie można utworzyć %1: %2"));
    }
    ::unlink(temporaryName.constData());
    syncDirectory(directory);
}

} // namespace rawen
