#pragma once

#include "platform/DurableFiles.h"
#include "store/FieldDefs.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace rawen {

class StoredTable;

// A directory of a store under construction beside its target, under a temporary name; removed
// with what it holds when the object goes, unless moved into place.
class DirectoryUnderConstruction
{
public:
    virtual ~DirectoryUnderConstruction() = default;
    virtual QString path() const = 0;
    // Gives it the target's name in one step (or `target`'s, when given): the target must be
    // missing or an empty directory, never one that holds anything. False (the store's
    // lastError() says why) when it cannot be done; the directory then stays where it is.
    [[nodiscard]] virtual bool moveInto(const QString &target = QString()) = 0;
};

// A file of a store read whole as one state of it, for the archive: a table through the store's
// own engine while that holds the table, so no writer changes it meanwhile and no other handle of
// this process loses its locks; any other file as it is.
class WholeFileReader
{
public:
    virtual ~WholeFileReader() = default;
    virtual qint64 size() const = 0;
    // Read through the store's engine: a database, and among those perhaps a table of ours.
    virtual bool isDatabase() const = 0;
    virtual bool isOurTable() const = 0;
    // `length` bytes from `offset`; false when they cannot be read.
    [[nodiscard]] virtual bool read(char *data, qint64 length, qint64 offset) = 0;
};

// The store of a data root: the tree of directories of the firms, their years and BAZA, with
// the tables and the other files in them. The program's logic above works on the data root only
// through this interface; below it lies one implementation per kind of store, the first a folder
// of SQLite files on a disk (SqliteFolderStore). Paths are absolute, with "/" between their
// parts, as the program names them; a name the program looks up is found without regard to case
// (resolve()).
//
// What every store promises:
// - Whole or not at all: a table made, copied or replaced, a file written and a directory renamed
//   is there whole or not at all, also after a crash; nothing is ever written over without the
//   old one staying whole until the new one is complete.
// - Consistent reads: a table read, copied or archived is one state of it.
// - Locking: a table another program is writing is waited for at most the lock timeout asked for,
//   and then reported as Locked, never read half-written or taken over.
// - Failures are raised as EngineError (or, for the directory steps, false with lastError()), in
//   Polish, never passed over.
class Store
{
public:
    virtual ~Store();

    // The store every table handle and every routine uses unless given another: the one
    // installed, else the folder of SQLite files on this machine's file system.
    static Store &current();
    // Installs `store` for the run (not owned); nullptr installs the folder store again.
    static void install(Store *store);
    // The folder of SQLite files on this machine's file system, whatever store is installed: for
    // the files that lie there in any case (an archive, the source of a restore).
    static Store &localFiles();

    // What one entry of a directory is.
    enum class Kind {
        Missing, // nothing there, or a link that leads nowhere
        Directory,
        File,  // a table or any other file
        Other, // a device, a pipe, a socket: nothing a walk may open
    };
    struct Entry
    {
        QString name;
        Kind kind = Kind::Missing; // links followed
        bool link = false;         // the entry itself is a symbolic link (perhaps to nothing)
        bool hidden = false;       // its name begins with a point (or the system marks it)
        bool readOnly = false;     // its owner may not write it
        qint64 size = 0;
    };

    // Every entry of `directory` (hidden ones too, without "." and ".."), in the store's own
    // order; empty when it is no directory or cannot be read.
    virtual QList<Entry> list(const QString &directory) const = 0;
    // Every entry of `directory`, as list() gives them, with a directory that cannot be read told
    // apart from an empty one: false, and why in Polish in `error`, when it is missing, is no
    // directory, may not be listed or its listing broke off half-way. A store that cannot tell
    // more says what entry() tells of the directory.
    [[nodiscard]] virtual bool readDirectory(const QString &directory, QList<Entry> &entries,
                                             QString &error) const;
    // The entry at `path`; Kind::Missing when nothing is there.
    virtual Entry entry(const QString &path) const = 0;
    // Something is at `path` as written or, case-blind, under another spelling (a link that
    // leads nowhere too).
    virtual bool exists(const QString &path) const = 0;
    // The spelling the store has for `path`, looked up case-blind a level at a time; `path`
    // unchanged when nothing matches.
    virtual QString resolve(const QString &path) const = 0;
    // `path` with links and relative parts resolved, to tell whether two paths name one table.
    virtual QString canonicalPath(const QString &path) const = 0;

    // A new directory in an existing one; true when it is there afterwards.
    [[nodiscard]] virtual bool makeDirectory(const QString &path) = 0;
    // Renames a directory in one step, only while nothing (not even an empty directory) is at
    // `to`; what it holds moves with it untouched.
    [[nodiscard]] virtual MoveResult renameDirectory(const QString &from, const QString &to) = 0;
    // Removes a directory with everything in it; true when it is gone.
    [[nodiscard]] virtual bool removeDirectory(const QString &path) = 0;
    // A directory to fill before it takes the place of `target` (which must be missing or
    // empty by then); nullptr, with lastError(), when none can be made.
    virtual std::unique_ptr<DirectoryUnderConstruction> buildDirectory(const QString &target) = 0;
    // Gives the owner write permission; false when the store refuses.
    [[nodiscard]] virtual bool clearReadOnly(const QString &path) = 0;
    // The longest path of a table, in bytes of the file system's encoding, the store takes; the
    // tables of a copy are named under temporary names that must fit it too.
    virtual qsizetype longestTablePath() const;
    // Why the last directory step that failed failed, in Polish.
    virtual QString lastError() const = 0;

    // A plain file (not a table) read whole; raises EngineError.
    virtual QByteArray readFile(const QString &path) const = 0;
    // Writes a plain file whole: with `replace` in place of an existing one, which stays whole
    // until the new one is; without, an existing file makes it raise Locked.
    virtual void writeFile(const QString &path, const QByteArray &bytes, bool replace) = 0;

    // Opens the table `path`, looked up case-blind when it is not there as written: `table`
    // holds it while `readFirst` runs, which may read through it in the same read as the
    // definitions, and stays empty when anything fails. Raises Missing, Damaged, Locked, NoAccess,
    // PathTooLong or NeedsRecovery.
    virtual void openTable(const QString &path, int lockTimeoutMs,
                           std::unique_ptr<StoredTable> &table,
                           const std::function<void(StoredTable &)> &readFirst) = 0;
    // The definitions of the table `path`, read without keeping it open.
    virtual TableDefinitions readDefinitions(const QString &path, int lockTimeoutMs) = 0;
    // A new, empty table; with `replace` in place of a table there (whole until the new one is),
    // without an existing file makes it raise Locked.
    virtual void createTable(const QString &path, const TableDefinitions &definitions,
                             bool replace) = 0;
    // Removes the table with everything that belongs to it.
    virtual void deleteTable(const QString &path) = 0;
    // Puts the closed table `from` in place of the table `to` in one step.
    virtual void replaceTable(const QString &from, const QString &to) = 0;
    // Whether the file `path`, which did not open as a table, is a table of the program all the
    // same (damaged, cut short, of an older make): what tells it from some other file that lies
    // among the tables. Nothing past the file's header is read, and nothing is written. A store
    // that cannot tell takes the file for one of its tables, so none is ever passed over.
    virtual bool isOurTable(const QString &path) const;

    // The table or other file `path` read whole as one state of it, for an archive. Raises
    // EngineError (Locked when a writer holds a table past its lock timeout). A store that
    // cannot give its files whole raises BadState.
    virtual std::unique_ptr<WholeFileReader> readWhole(const QString &path);
    // Writes the table file `source` (a SQLite file on this machine's disk, as an archive keeps
    // it) into the live table `path` in one step of the store's engine, while other programs may
    // hold that table open: they see the old table or the new one, never a file swapped under
    // them. False, with nothing done, when `source` or `path` is no database; then the caller
    // replaces the file whole. Raises Locked after `lockTimeoutMs`, and other EngineErrors.
    [[nodiscard]] virtual bool writeIntoTable(const QString &source, const QString &path,
                                              int lockTimeoutMs);
};

} // namespace rawen
