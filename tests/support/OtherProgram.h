#pragma once

#include <QString>
#include <QVariant>

#include <functional>

struct sqlite3;

namespace rawen::test {

// Another program working on a table file: a plain SQLite connection of its own, as any tool of
// the suite would open it, with no part of the engine in between.
class OtherProgram
{
public:
    explicit OtherProgram(const QString &path, int busyTimeoutMs = 0);
    ~OtherProgram();
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;

    // SQLite's result code of running `sql` (SQLITE_OK = 0, SQLITE_BUSY = 5, ...).
    int exec(const QString &sql);
    // The first column of the first row of `sql`; invalid when there is none or it fails.
    QVariant scalar(const QString &sql);
    QString lastError() const;
    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

// SQLite's verdict on a whole file: "ok" or what is wrong.
QString integrityCheck(const QString &path);

// Runs `body` in a child process (fork) and returns its exit status; 128 + the signal's number
// when a signal ended it. The child ends with _exit, so nothing of the parent's is flushed or
// destroyed twice.
int runInChildProcess(const std::function<int()> &body);

} // namespace rawen::test
