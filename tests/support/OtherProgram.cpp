#include "support/OtherProgram.h"

#include <QFile>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rawen::test {

OtherProgram::OtherProgram(const QString &path, int busyTimeoutMs)
{
    sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
}

OtherProgram::~OtherProgram()
{
    sqlite3_close_v2(m_db);
}

int OtherProgram::exec(const QString &sql)
{
    return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

QVariant OtherProgram::scalar(const QString &sql)
{
    sqlite3_stmt *statement = nullptr;
    QVariant value;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        switch (sqlite3_column_type(statement, 0)) {
        case SQLITE_INTEGER:
            value = qint64(sqlite3_column_int64(statement, 0));
            break;
        case SQLITE_NULL:
            break;
        default:
            value = QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        }
    }
    sqlite3_finalize(statement);
    return value;
}

QString OtherProgram::lastError() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

QString integrityCheck(const QString &path)
{
    OtherProgram program(path);
    const QVariant verdict = program.scalar(QStringLiteral("PRAGMA integrity_check"));
    return verdict.isValid() ? verdict.toString() : program.lastError();
}

int runInChildProcess(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

} // namespace rawen::test
