#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace rawen {

// File operations that land whole or not at all, and stay on disk once they return. One source
// file per operating system. Every step they take passes the fault point (FaultPoint.h) first.

enum class MoveResult { Done, TargetExists, Failed };

// Whether a rename syncs its directory before it returns, or leaves that to a caller that
// renames many files into one directory and syncs it once after the last (syncDirectory), before
// it tells anyone the files are there.
enum class DirectorySync { Now, ByCaller };

// Renames `from` to `to` in one step, replacing a file at `to`. The file put in place takes the
// permissions (and, where the process may set it, the owner and group) of the file it replaces,
// so a table shared by an office's users stays theirs. On Failed, errno tells why.
[[nodiscard]] MoveResult moveReplacing(const QString &from, const QString &to,
                                       DirectorySync sync = DirectorySync::Now);

// Renames `from` to `to` in one step, only while nothing is at `to`; never overwrites. On
// Failed, errno tells why.
[[nodiscard]] MoveResult moveNoReplace(const QString &from, const QString &to);

// Renames the directory `from` to `to` in one step, only while nothing (not even an empty
// directory) is at `to`; what the directory holds moves with it untouched. On Failed, errno tells
// why.
[[nodiscard]] MoveResult moveDirectoryNoReplace(const QString &from, const QString &to);

// Removes a file; true when it is gone (or was never there). On false, errno tells why.
[[nodiscard]] bool removeFile(const QString &path);

// Creates a directory (its parent must exist); true when it exists afterwards.
[[nodiscard]] bool makeDirectory(const QString &path);

// Fills `data` with `length` bytes of the source from `offset`; false when it cannot.
using FileReader = std::function<bool(char *data, qint64 length, qint64 offset)>;

// The last work on a new file before it gets its name, given the temporary's path; what it
// raises ends the write with nothing left behind.
using FileFinisher = std::function<void(const QString &temporaryPath)>;

// Writes `size` bytes read through `reader` into a new file `target`: into a hidden temporary
// beside it, synced, finished by `finish` when given, then moved to `target` only if that name
// is still free. Throws EngineError: Locked when the name is taken (what is there stays as it
// was), Io when reading or writing fails; nothing is left behind either way.
//
// The source is read through the caller's reader rather than opened here: on POSIX, closing any
// descriptor of a file drops every lock the process holds on it, and a database file may be
// locked by other connections of this process at any time.
void writeNewFile(const QString &target, qint64 size, const FileReader &reader,
                  const FileFinisher &finish = {});

// Writes `bytes` as the file `target` the same way; with `replace` an existing file is replaced
// in one rename (keeping its permissions), so `target` is always the old file whole or the new
// one whole. Throws EngineError as writeNewFile.
void writeFile(const QString &target, const QByteArray &bytes, bool replace);

// Makes the bytes of a file no other program has open durable; false (errno tells why) when the
// system refuses. (Opening and closing a descriptor drops this process's locks on the file.)
[[nodiscard]] bool syncFile(const QString &path);

// Makes a rename or a new entry in the directory durable; false when the system refuses, and
// then a durability warning is kept (DurabilityWatch): the files are whole, their names may not
// survive a power cut.
[[nodiscard]] bool syncDirectory(const QString &directory);

// What this layer could not make durable although the data is whole: a directory whose sync
// failed after a rename or a new entry (the new names may not survive a power cut), or a
// temporary's name that could not be removed after its file took its place (a second name of
// that file). Each is kept for the operation running to report. A watch sees those kept while
// it lives.
class DurabilityWatch
{
public:
    DurabilityWatch();
    // The warnings kept since the watch began that nobody has taken yet, in Polish, a line each
    // (the same one once); taken ones are given to no watch again.
    QStringList takeWarnings();
    // Whether any warning was kept since the watch began, taken or not.
    bool anyWarning() const;

private:
    qsizetype m_start;
};

// Keeps a durability warning (the layer's own steps call it).
void keepDurabilityWarning(const QString &text);

// A file of ours under construction beside `target`: a hidden name that marks it as a temporary
// of this program, of this machine and process, and the permissions a newly created file gets.
// Removed (with a journal SQLite may have left beside it) when the object goes, unless kept.
// Making one first clears the directory of temporaries that interrupted runs left behind.
class TemporaryFile
{
public:
    explicit TemporaryFile(const QString &target);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // False when no file could be made; errno tells why.
    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    // Its descriptor (handle on Windows), open for writing; -1 after closeHandle().
    qintptr handle() const { return m_handle; }
    // Closes the descriptor; false when the system reports an error (a delayed write failing).
    [[nodiscard]] bool closeHandle();
    // The file has been moved into place: nothing to remove.
    void release() { m_path.clear(); }

private:
    QString m_path;
    qintptr m_handle = -1;
};

// A directory of ours under construction beside `target`, named as TemporaryFile names a file;
// removed with everything in it when the object goes, unless moved into place by moveInto().
class TemporaryDirectory
{
public:
    explicit TemporaryDirectory(const QString &target);
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory &) = delete;
    TemporaryDirectory &operator=(const TemporaryDirectory &) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    // Renames the directory to its target in one step: the target must be missing or an empty
    // directory, never one that holds anything. False (errno tells why) when it cannot be done;
    // the directory then stays where it is. `target` names another place than the one given at
    // construction.
    [[nodiscard]] bool moveInto(const QString &target = QString());

private:
    QString m_target;
    QString m_path;
};

// Copies the file `source` as the new file `target` (as writeNewFile: whole or not at all, never
// over an existing file), with the permissions the umask gives a new file. Throws EngineError.
void copyFile(const QString &source, const QString &target);

// True when `name` is a temporary this program makes (or an earlier version made) beside a file.
bool isTemporaryName(const QString &name);

// Removes from `directory` the temporaries that interrupted runs left behind: those of a process
// of this machine that no longer runs, and those no program has touched for an hour. A file
// another running program may be writing is never taken.
void removeStaleTemporaries(const QString &directory);

// The system's text for an error number, in Polish: one text per number, never the C library's.
QString systemErrorText(int error);

// Whether the error is one of the storage itself (a full disk or quota, a disk that fails or
// takes no writes, a file-size limit): every further write there would fail the same way.
bool isStorageFailure(int error);

// How many bytes longer than its target's path the path of a temporary beside it may be: what
// a path must leave free below the storage engine's limit for the files made under it.
qsizetype temporaryNameExtra();

// A file that takes the place of `target` only once it is complete: written under a hidden
// temporary name beside `target`, then synced and renamed over it in one step by commit(). Until
// commit() succeeds an earlier file of that name stays whole; a file given up, or destroyed
// before commit(), leaves nothing behind.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString &target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // Creates the temporary; false when the folder refuses it.
    [[nodiscard]] bool open();
    // False when not all of `data` was written; the file is then no use and should be given up.
    [[nodiscard]] bool write(const QByteArray &data);
    // Asks the system to start writing what was written so far, without waiting: files written
    // one after another and committed together then reach the disk together rather than one by
    // one. Only a hint; commit() still syncs.
    void startWriteback();
    // Syncs and closes the temporary and renames it over the target (keeping the target's
    // permissions). False when any step fails; the target is then as it was, and the temporary
    // is gone.
    [[nodiscard]] bool commit(DirectorySync sync = DirectorySync::Now);
    // Drops what was written; the target stays as it was.
    void discard();

    bool isOpen() const;
    QString target() const { return m_target; }
    // Why the last step failed, in Polish.
    QString errorString() const { return m_error; }

private:
    QString m_target;
    std::unique_ptr<TemporaryFile> m_file;
    QString m_error;
};

} // namespace rawen
