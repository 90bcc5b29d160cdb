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

} // namespace rawen
