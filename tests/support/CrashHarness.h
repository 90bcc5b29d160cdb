#pragma once

#include "platform/FaultPoint.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

namespace rawen::test {

// What a directory holds as the program finds it: every table (the ".DB" files, at any depth)
// with its definitions and records, every other visible file with its bytes, and the hidden
// entries. Reading it opens each table as the program does, so a hot journal left by a crash is
// rolled back first, as the next start would.
struct DirectoryState
{
    QMap<QString, QString> tables; // relative path: definitions and records, or "!" and the error
    QMap<QString, QByteArray> files;
    QStringList hidden;
    QStringList journals; // rollback journals still beside their tables after those were opened
    QStringList damaged;  // tables that fail SQLite's integrity check, with its verdict
};
// `legacy`, when given, is a folder (relative, matched from its start) whose ".DB" files are
// tables of the previous generation's format: files like any other, compared byte for byte.
DirectoryState readDirectoryState(const QString &directory, const QString &legacy = {});

// An operation that writes the user's data, as the crash harness drives it.
struct HarnessOperation
{
    QString name;
    // Lays out the state before the operation in an empty directory.
    std::function<void(const QString &directory)> prepare;
    // Runs the operation (in a child process). True when it told its user it succeeded: no error
    // result, no error or warning box.
    std::function<bool(const QString &directory)> run;
    // Files written for support beside the data (relative paths): after a run, and after running
    // the operation again, each may be as before or as after.
    QStringList sideFiles = {};
    // Paths (relative, matched from their start) of what the operation leaves beside the data
    // under a name of the moment, such as a restore's safety folder: each table there must open
    // whole, but what is there is not compared, since every run names its own.
    QString ownFolders = {};
    // At most this many steps tried for each kind of fault (0: every step): the first and last
    // ten, and evenly spread between. RAWEN_HARNESS_FULL=1 tries every step all the same.
    int stepsPerFault = 0;

    // For an operation that passes through states of its own on the way, which an interrupted
    // run may leave and the next one does not undo (a firm half made stays a firm):
    // A table an interrupted run may leave holding neither its records before nor after, and
    // whole all the same (a new firm's table before its record is posted).
    std::function<bool(const QString &relative, const QString &content)> wholeBetween = {};
    // What must hold of every state a run leaves, as the next start reads the directory; says
    // what is wrong, "" when nothing.
    std::function<QString(const QString &directory)> invariant = {};
    // Whether running the operation again after an interrupted run completed it, when that is
    // not the state after (the second run makes its own firm); "" when it did.
    std::function<QString(const DirectoryState &again, const DirectoryState &before,
                          const DirectoryState &after)>
        completedAgain = {};
    // A folder (relative) of tables of the previous generation's format, which the operation
    // only reads: compared byte for byte as files rather than opened as tables.
    QString legacyFolder = {};
};

struct HarnessFigures
{
    int operations = 0;
    qint64 longestRun = 0; // steps of the longest run without faults
    int runs = 0;
    qint64 stepsTried = 0;
    int kills = 0;
    int ioErrors = 0;
    int diskFull = 0;
    int fileSizeLimits = 0;
    QStringList failures;
    HarnessFigures &operator+=(const HarnessFigures &other);
    QString summary() const;
};

// Runs `operation` in a child process with the fault at step N for N = 1, 2, ... (each of a kill,
// an I/O error and "no space left") until it completes without reaching N, and once under a
// file-size limit. After each run: every table holds exactly its records before the operation or
// exactly those after a run without faults, opens and passes SQLite's integrity check; other
// files are as before or as after; nothing hidden but this program's temporaries is left; a run
// that told its user it succeeded left the state after; and running the operation again leaves
// the state after.
HarnessFigures exerciseOperation(const HarnessOperation &operation);

} // namespace rawen::test
