#include "support/CrashHarness.h"

#include "data/Table.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"
#include "support/OtherProgram.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace rawen::test {

namespace {

// Boxes in a child run: recorded, questions answered No.
class RecordedBoxes final : public MessageBoxes
{
public:
    RecordedBoxes() : m_previous(install(this)) {}
    ~RecordedBoxes() override { install(m_previous); }
    Answer show(Icon icon, const QString &, const QString &, Buttons buttons) override
    {
        if (icon == Icon::Error || icon == Icon::Warning || icon == Icon::None)
            complained = true;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    bool complained = false;

private:
    MessageBoxes *m_previous;
};

QString tableContent(const QString &path)
{
    Table table;
    table.setTableName(path);
    try {
        table.open();
        QStringList lines;
        for (const FieldDef &f : table.fieldDefs())
            lines << QStringLiteral("field %1 %2 %3 %4")
                         .arg(f.name)
                         .arg(int(f.dataType))
                         .arg(f.size)
                         .arg(f.required);
        for (const IndexDef &ix : table.indexDefs())
            lines
                << QStringLiteral("index %1 %2 %3").arg(ix.name, ix.fields).arg(ix.options.toInt());
        for (table.first(); !table.eof(); table.next()) {
            QStringList values;
            for (int i = 0; i < table.fieldCount(); ++i)
                values << table.field(i).asString();
            lines << values.join(u'\t');
        }
        return lines.join(u'\n');
    } catch (const EngineError &error) {
        return u'!' + error.message();
    }
}

// Exit status of a child run: bit 0 set when the operation reported a failure, bit 1 when the
// fault was reached.
constexpr int kReportedFailure = 1;
constexpr int kFaultReached = 2;

int runChild(const HarnessOperation &operation, const QString &directory, qint64 step,
             FaultPoint::Fault fault, qint64 fileSizeLimit = 0, const QString &countFile = {})
{
    return runInChildProcess([&] {
        if (fileSizeLimit > 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        RecordedBoxes boxes;
        bool succeeded = false;
        FaultPoint::resetCount();
        if (step > 0)
            FaultPoint::arm(step, fault);
        try {
            succeeded = operation.run(directory);
        } catch (...) {
            succeeded = false;
        }
        const bool reached = step > 0 && FaultPoint::count() >= step;
        FaultPoint::disarm();
        if (!countFile.isEmpty()) {
            QFile steps(countFile);
            if (steps.open(QIODevice::WriteOnly))
                steps.write(QByteArray::number(FaultPoint::count()));
        }
        return (succeeded && !boxes.complained ? 0 : kReportedFailure) |
               (reached ? kFaultReached : 0);
    });
}

// The state without what lies under the operation's own folders, once those tables are checked
// to open.
DirectoryState withoutOwnFolders(DirectoryState state, const QString &pattern,
                                 QStringList *problems)
{
    if (pattern.isEmpty())
        return state;
    const QRegularExpression own(QStringLiteral("^(") + pattern + u')');
    for (auto it = state.tables.begin(); it != state.tables.end();) {
        if (own.match(it.key()).hasMatch()) {
            if (problems && it.value().startsWith(u'!'))
                *problems
                    << QStringLiteral("%1 does not open: %2").arg(it.key(), it.value().mid(1));
            it = state.tables.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = state.files.begin(); it != state.files.end();) {
        if (own.match(it.key()).hasMatch())
            it = state.files.erase(it);
        else
            ++it;
    }
    return state;
}

QString describeDifference(const DirectoryState &now, const DirectoryState &before,
                           const DirectoryState &after, const HarnessOperation &operation)
{
    QStringList problems;
    QStringList tables = now.tables.keys() + before.tables.keys() + after.tables.keys();
    tables.removeDuplicates();
    for (const QString &path : std::as_const(tables)) {
        if (now.tables.contains(path)) {
            const QString &content = now.tables[path];
            if (content.startsWith(u'!'))
                problems << QStringLiteral("%1 does not open: %2").arg(path, content.mid(1));
            else if (!(before.tables.contains(path) && before.tables[path] == content) &&
                     !(after.tables.contains(path) && after.tables[path] == content) &&
                     !(operation.wholeBetween && operation.wholeBetween(path, content)))
                problems
                    << QStringLiteral("%1 holds neither its old nor its new records").arg(path);
        } else if (before.tables.contains(path) && after.tables.contains(path)) {
            problems << QStringLiteral("%1 is gone").arg(path);
        }
    }
    QStringList files = now.files.keys() + before.files.keys() + after.files.keys();
    files.removeDuplicates();
    for (const QString &path : std::as_const(files)) {
        if (now.files.contains(path)) {
            const QByteArray &bytes = now.files[path];
            if (!(before.files.contains(path) && before.files[path] == bytes) &&
                !(after.files.contains(path) && after.files[path] == bytes))
                problems << QStringLiteral("%1 is neither as before nor as after").arg(path);
        } else if (before.files.contains(path) && after.files.contains(path)) {
            problems << QStringLiteral("%1 is gone").arg(path);
        }
    }
    for (const QString &name : now.hidden) {
        if (!before.hidden.contains(name) && !after.hidden.contains(name) &&
            !isTemporaryName(QFileInfo(name).fileName()))
            problems << QStringLiteral("%1 is left behind").arg(name);
    }
    // A journal left beside a table that opened and reads as before or after is one SQLite no
    // longer counts (a hot one is played back by the open): inert, and overwritten by the next
    // write. A journal without its table would be a leftover.
    for (const QString &journal : now.journals) {
        if (!now.tables.contains(journal.chopped(8)))
            problems << QStringLiteral("%1 is left without its table").arg(journal);
    }
    for (const QString &verdict : now.damaged)
        problems << verdict;
    return problems.join(QLatin1String("; "));
}

bool sameAsAfter(const DirectoryState &now, const DirectoryState &before,
                 const DirectoryState &after, const QStringList &sideFiles)
{
    QMap<QString, QByteArray> files = now.files;
    for (const QString &side : sideFiles) {
        if (files.value(side) == before.files.value(side))
            files[side] = after.files.value(side);
    }
    return now.tables == after.tables && files == after.files && now.damaged.isEmpty();
}

// True when a part of the relative path is hidden.
bool underHidden(const QString &relative)
{
    for (const QString &part : relative.split(u'/')) {
        if (part.startsWith(u'.') && part != QLatin1String("."))
            return true;
    }
    return false;
}

void removeEverything(const QString &directory)
{
    QDir(directory).removeRecursively();
    QDir().mkpath(directory);
}

} // namespace

DirectoryState readDirectoryState(const QString &directory, const QString &legacy)
{
    DirectoryState state;
    const QDir root(directory);
    QStringList tables;
    QDirIterator all(directory, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                     QDirIterator::Subdirectories);
    while (all.hasNext()) {
        const QString path = all.next();
        if (underHidden(root.relativeFilePath(path)))
            continue;
        if (path.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive) &&
            (legacy.isEmpty() || !root.relativeFilePath(path).startsWith(legacy + u'/')))
            tables << path;
    }
    // Tables first: opening one plays back a journal a crash left, and removes it.
    for (const QString &path : std::as_const(tables)) {
        state.tables.insert(root.relativeFilePath(path), tableContent(path));
        const QString verdict = integrityCheck(path);
        if (verdict != QLatin1String("ok"))
            state.damaged << QStringLiteral("%1: %2").arg(root.relativeFilePath(path), verdict);
    }
    QDirIterator rest(directory,
                      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (rest.hasNext()) {
        const QString path = rest.next();
        const QFileInfo info(path);
        const QString relative = root.relativeFilePath(path);
        if (underHidden(QFileInfo(relative).path()))
            continue; // inside a hidden entry, which is judged as a whole
        if (info.fileName().startsWith(u'.'))
            state.hidden << relative;
        else if (info.fileName().endsWith(QLatin1String("-journal")))
            state.journals << relative;
        else if (info.isFile() && !tables.contains(path))
            state.files.insert(relative, fileBytes(path));
    }
    state.hidden.sort();
    return state;
}

HarnessFigures &HarnessFigures::operator+=(const HarnessFigures &other)
{
    operations += other.operations;
    longestRun = qMax(longestRun, other.longestRun);
    runs += other.runs;
    stepsTried += other.stepsTried;
    kills += other.kills;
    ioErrors += other.ioErrors;
    diskFull += other.diskFull;
    fileSizeLimits += other.fileSizeLimits;
    failures += other.failures;
    return *this;
}

QString HarnessFigures::summary() const
{
    return QStringLiteral("operations %1, steps in a run %9, runs %2, steps tried %3, kills %4, "
                          "I/O errors %5, disk full %6, file-size limits %7, failures %8")
        .arg(operations)
        .arg(runs)
        .arg(stepsTried)
        .arg(kills)
        .arg(ioErrors)
        .arg(diskFull)
        .arg(fileSizeLimits)
        .arg(failures.size())
        .arg(longestRun);
}

HarnessFigures exerciseOperation(const HarnessOperation &operation)
{
    HarnessFigures figures;
    figures.operations = 1;
    // A kill here ends the process, not the machine: what was written stays in the system's
    // cache either way, so the runs can go to memory, where a sync costs nothing.
    const QString memory = QStringLiteral("/dev/shm");
    QTemporaryDir work(QFileInfo(memory).isDir() && QFileInfo(memory).isWritable()
                           ? memory + QStringLiteral("/rawen-harness-XXXXXX")
                           : QDir::tempPath() + QStringLiteral("/rawen-harness-XXXXXX"));
    const QString directory = work.filePath(QStringLiteral("dane"));

    removeEverything(directory);
    operation.prepare(directory);
    const DirectoryState before = withoutOwnFolders(
        readDirectoryState(directory, operation.legacyFolder), operation.ownFolders, nullptr);
    const QString countFile = work.filePath(QStringLiteral("steps"));
    const int clean = runChild(operation, directory, 0, FaultPoint::Fault::IoError, 0, countFile);
    const qint64 totalSteps = fileBytes(countFile).toLongLong();
    figures.longestRun = totalSteps;
    const DirectoryState after = withoutOwnFolders(
        readDirectoryState(directory, operation.legacyFolder), operation.ownFolders, nullptr);
    if (clean != 0) {
        figures.failures << QStringLiteral("%1: fails without a fault").arg(operation.name);
        return figures;
    }
    qint64 largestFile = 0;
    QDirIterator files(directory, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext())
        largestFile = qMax(largestFile, QFileInfo(files.next()).size());

    auto check = [&](const QString &what, int status) {
        ++figures.runs;
        QStringList problems;
        const DirectoryState now = withoutOwnFolders(
            readDirectoryState(directory, operation.legacyFolder), operation.ownFolders, &problems);
        const QString difference = describeDifference(now, before, after, operation);
        if (!difference.isEmpty())
            problems << difference;
        QString problem = problems.join(QLatin1String("; "));
        if (problem.isEmpty() && operation.invariant)
            problem = operation.invariant(directory);
        if (problem.isEmpty() && status >= 0 && !(status & kReportedFailure) &&
            !sameAsAfter(now, before, after, operation.sideFiles))
            problem = QStringLiteral("the failure passed for success");
        if (problem.isEmpty()) {
            // Done again with nothing in the way, the operation completes.
            runChild(operation, directory, 0, FaultPoint::Fault::IoError);
            const DirectoryState again =
                withoutOwnFolders(readDirectoryState(directory, operation.legacyFolder),
                                  operation.ownFolders, nullptr);
            if (operation.completedAgain) {
                problem = operation.completedAgain(again, before, after);
                if (problem.isEmpty() && operation.invariant)
                    problem = operation.invariant(directory);
            } else if (!sameAsAfter(again, before, after, operation.sideFiles)) {
                problem = QStringLiteral("running it again does not complete it");
            }
        }
        if (!problem.isEmpty())
            figures.failures << QStringLiteral("%1, %2: %3").arg(operation.name, what, problem);
    };

    const struct
    {
        FaultPoint::Fault fault;
        const char *name;
        int HarnessFigures::*counter;
    } modes[] = {
        {FaultPoint::Fault::Kill, "kill", &HarnessFigures::kills},
        {FaultPoint::Fault::IoError, "EIO", &HarnessFigures::ioErrors},
        {FaultPoint::Fault::NoSpace, "ENOSPC", &HarnessFigures::diskFull},
    };
    // The steps to try: all of them, or the first and last ten and evenly spread between.
    QList<qint64> steps;
    const int most =
        qEnvironmentVariableIntValue("RAWEN_HARNESS_FULL") ? 0 : operation.stepsPerFault;
    if (most <= 0 || totalSteps <= most) {
        for (qint64 step = 1; step <= totalSteps + 1; ++step)
            steps << step;
    } else {
        for (qint64 step = 1; step <= 10; ++step)
            steps << step;
        const int between = most - 20;
        for (int i = 1; i <= between; ++i)
            steps << 10 + (totalSteps - 20) * i / (between + 1);
        for (qint64 step = totalSteps - 9; step <= totalSteps + 1; ++step)
            steps << step;
    }
    for (const auto &mode : modes) {
        for (const qint64 step : std::as_const(steps)) {
            removeEverything(directory);
            operation.prepare(directory);
            const int status = runChild(operation, directory, step, mode.fault);
            const bool killed = status == FaultPoint::kKillExitStatus;
            if (!killed && !(status & kFaultReached))
                break; // the operation completed before step N: the rest would be the same
            ++figures.stepsTried;
            ++(figures.*mode.counter);
            check(QStringLiteral("%1 at step %2").arg(QLatin1String(mode.name)).arg(step),
                  killed ? -1 : status);
            if (figures.failures.size() > 20)
                return figures;
        }
    }

    // Real writes refused by the system itself: a file may grow to half the largest one.
    removeEverything(directory);
    operation.prepare(directory);
    const int limited = runChild(operation, directory, 0, FaultPoint::Fault::IoError,
                                 qMax<qint64>(largestFile / 2, 1));
    ++figures.fileSizeLimits;
    check(QStringLiteral("file-size limit %1").arg(qMax<qint64>(largestFile / 2, 1)),
          limited & kReportedFailure);
    return figures;
}

} // namespace rawen::test
