#include "platform/FaultPoint.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace rawen::FaultPoint {

namespace {

std::atomic<qint64> g_count{0};
std::atomic<qint64> g_armedAt{0}; // 0: not armed
std::atomic<int> g_fault{int(Fault::IoError)};
std::atomic<bool> g_recording{false};

std::mutex &recordLock()
{
    static std::mutex lock;
    return lock;
}

QList<Step> &record()
{
    static QList<Step> steps;
    return steps;
}

} // namespace

void arm(qint64 nth, Fault fault)
{
    g_fault = int(fault);
    g_count = 0;
    g_armedAt = nth > 0 ? nth : 0;
}

void disarm()
{
    g_armedAt = 0;
}

bool isArmed()
{
    return g_armedAt != 0;
}

qint64 count()
{
    return g_count;
}

void resetCount()
{
    g_count = 0;
}

void setRecording(bool on)
{
    std::lock_guard<std::mutex> guard(recordLock());
    record().clear();
    g_recording = on;
}

QList<Step> recorded()
{
    std::lock_guard<std::mutex> guard(recordLock());
    return record();
}

namespace {

// The fault due at this step, if any: 0 to take the step, or the errno it must fail with.
// `corrupt` tells a write to land changed; null for other steps.
int take(FileStep step, const char *path, bool *corrupt)
{
    const qint64 n = ++g_count;
    if (g_recording) {
        std::lock_guard<std::mutex> guard(recordLock());
        record().append({step, path ? QFile::decodeName(path) : QString()});
    }
    const qint64 armedAt = g_armedAt;
    if (armedAt == 0 || n != armedAt)
        return 0;
    switch (Fault(g_fault.load())) {
    case Fault::Kill:
        std::_Exit(kKillExitStatus);
    case Fault::NoSpace:
        return ENOSPC;
    case Fault::NotPermitted:
        return EPERM;
    case Fault::Corrupt:
        if (corrupt)
            *corrupt = true;
        return 0;
    case Fault::IoError:
        break;
    }
    return EIO;
}

} // namespace

int before(FileStep step, const char *path)
{
    return take(step, path, nullptr);
}

int beforeWrite(const char *path, const char *&data, qint64 length)
{
    bool corrupt = false;
    if (const int error = take(FileStep::Write, path, &corrupt))
        return error;
    if (corrupt && length > 0) {
        thread_local QByteArray changed;
        changed = QByteArray(data, length);
        changed[length - 1] = char(~changed[length - 1]);
        data = changed.constData();
    }
    return 0;
}

int before(FileStep step, const QString &path)
{
    return before(step, QFile::encodeName(path).constData());
}

bool armFromEnvironment()
{
    const QByteArray value = qgetenv("RAWEN_FAULT");
    if (value.isEmpty())
        return true;
    const int colon = value.indexOf(':');
    bool ok = false;
    const qint64 nth = colon > 0 ? value.mid(colon + 1).toLongLong(&ok) : 0;
    if (!ok || nth <= 0)
        return false;
    const QByteArray kind = value.left(colon);
    if (kind == "kill")
        arm(nth, Fault::Kill);
    else if (kind == "eio")
        arm(nth, Fault::IoError);
    else if (kind == "enospc")
        arm(nth, Fault::NoSpace);
    else if (kind == "eperm")
        arm(nth, Fault::NotPermitted);
    else if (kind == "corrupt")
        arm(nth, Fault::Corrupt);
    else
        return false;
    return true;
}

QString stepName(FileStep step)
{
    switch (step) {
    case FileStep::Write:
        return QStringLiteral("write");
    case FileStep::Sync:
        return QStringLiteral("sync");
    case FileStep::Truncate:
        return QStringLiteral("truncate");
    case FileStep::Rename:
        return QStringLiteral("rename");
    case FileStep::Link:
        return QStringLiteral("link");
    case FileStep::Unlink:
        return QStringLiteral("unlink");
    case FileStep::MakeDirectory:
        return QStringLiteral("mkdir");
    case FileStep::Copy:
        return QStringLiteral("copy");
    }
    return QString();
}

} // namespace rawen::FaultPoint
