#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace rawen {

// File operations that land whole or not at all, and stay on disk once they return. One source
// file per operating system.

enum class MoveResult { Done, TargetExists, Failed };

// Renames `from` to `to` in one step, replacing a file at `to`.
MoveResult moveReplacing(const QString &from, const QString &to);

// Renames `from` to `to` in one step, only while nothing is at `to`; never overwrites.
MoveResult moveNoReplace(const QString &from, const QString &to);

// Fills `data` with `length` bytes of the source from `offset`; false when it cannot.
using FileReader = std::function<bool(char *data, qint64 length, qint64 offset)>;

// Writes `size` bytes read through `reader` into a new file `target`: into a hidden temporary
// beside it, synced, then moved to `target` only if that name is still free. Throws
// EngineError: Locked when the name is taken (what is there stays as it was), Io when reading
// or writing fails; nothing is left behind either way.
//
// The source is read through the caller's reader rather than opened here: on POSIX, closing any
// descriptor of a file drops every lock the process holds on it, and a database file may be
// locked by other connections of this process at any time.
void writeNewFile(const QString &target, qint64 size, const FileReader &reader);

// Makes a rename or a new entry in the directory durable.
void syncDirectory(const QString &directory);

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
    bool open();
    // False when not all of `data` was written; the file is then no use and should be given up.
    bool write(const QByteArray &data);
    // Syncs and closes the temporary and renames it over the target. False when any step fails;
    // the target is then as it was, and the temporary is gone.
    bool commit();
    // Drops what was written; the target stays as it was.
    void discard();

    bool isOpen() const;
    QString target() const { return m_target; }
    // Why the last step failed, in Polish.
    QString errorString() const { return m_error; }

private:
    QString m_target;
    QString m_temporary;
    qintptr m_handle = -1; // a descriptor on POSIX, a HANDLE on Windows
    QString m_error;
};

} // namespace rawen
