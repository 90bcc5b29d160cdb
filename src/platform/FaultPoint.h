#pragma once

#include <QList>
#include <QString>

namespace rawen {

// The steps that change what is on the disk. Every write of the program's files takes one of
// them: the durable-file layer names its own, the SQLite layer those of the table files.
enum class FileStep { Write, Sync, Truncate, Rename, Link, Unlink, MakeDirectory, Copy };

// The one place every step that changes a file passes before it is taken. It counts them, and a
// test (or the crash harness, through the environment) can make the n-th step from then on fail
// as the operating system fails it, or end the process there as a power cut would.
namespace FaultPoint {

enum class Fault {
    Kill,         // _exit at once: nothing flushed, nothing cleaned up
    IoError,      // the step fails with EIO
    NoSpace,      // the step fails with ENOSPC
    NotPermitted, // the step fails with EPERM, as link() does on FAT and exFAT (no hard links)
    // A write lands with one of its bytes changed and reports success, as a failing disk, cable
    // or stick does; any other step is taken as usual.
    Corrupt,
};

// The exit status of a process ended by a Kill fault.
constexpr int kKillExitStatus = 86;

struct Step
{
    FileStep step;
    QString path;
};

// The `nth` step from now (1-based) gets `fault`; later steps go on as usual. Restarts the count.
void arm(qint64 nth, Fault fault);
void disarm();
bool isArmed();
// Steps taken since the last arm() or resetCount().
qint64 count();
void resetCount();

// While recording, every step is kept in order, with the file it touched.
void setRecording(bool on);
QList<Step> recorded();

// Called just before a step on `path`: 0 to take it, or the errno it must fail with. A Kill
// fault ends the process here.
int before(FileStep step, const char *path);
int before(FileStep step, const QString &path);

// before() for a write of `length` bytes from `data`. When a Corrupt fault falls on it, `data`
// is pointed at a copy of the bytes with one changed (kept until this thread's next write), for
// the caller to write in their place as if nothing were wrong.
int beforeWrite(const char *path, const char *&data, qint64 length);

// RAWEN_FAULT="kill:N", "eio:N", "enospc:N", "eperm:N" or "corrupt:N" arms the fault for a
// process of the crash harness; false when the variable is set but not understood.
[[nodiscard]] bool armFromEnvironment();

QString stepName(FileStep step);

} // namespace FaultPoint

} // namespace rawen
