#include "store/Sqlite.h"

#include "format/Liczebniki.h"
#include "platform/DurableFiles.h"
#include "store/FaultVfs.h"

#include <QFile>

#include <cerrno>
#include <sqlite3.h>

namespace rawen {

namespace {

bool noAccess(int systemError)
{
    return systemError == EACCES || systemError == EPERM;
}

EngineError::Kind kindOf(int code, int systemError)
{
    if (code == SQLITE_READONLY_ROLLBACK)
        return EngineError::NeedsRecovery;
    if ((code & 0xff) == SQLITE_CANTOPEN && noAccess(systemError))
        return EngineError::NoAccess;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError::Locked;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return EngineError::Damaged;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return EngineError::ReadOnly;
    case SQLITE_CANTOPEN:
        return EngineError::Missing;
    case SQLITE_CONSTRAINT:
        return EngineError::KeyViolation;
    default:
        return EngineError::Io;
    }
}

QString describe(int code, int systemError, const char *text)
{
    if (code == SQLITE_READONLY_ROLLBACK)
        return QStringLiteral("tabela jest tylko do odczytu, a jej ostatni zapis nie został "
                              "dokończony");
    if ((code & 0xff) == SQLITE_CANTOPEN && noAccess(systemError))
        return QStringLiteral("brak uprawnień do pliku tabeli");
    // An input-output error whose cause the system named (a full disk most of all).
    if ((code & 0xff) == SQLITE_IOERR && systemError != 0)
        return systemErrorText(systemError);
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("tabela jest zablokowana przez inny program");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return QStringLiteral("plik tabeli jest uszkodzony");
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return QStringLiteral("tabela jest tylko do odczytu");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("klucz powtórzony");
    case SQLITE_FULL:
        return QStringLiteral("brak miejsca na dysku");
    case SQLITE_IOERR:
        return QStringLiteral("błąd wejścia-wyjścia dysku");
    case SQLITE_NOMEM:
        return QStringLiteral("brak pamięci");
    case SQLITE_CANTOPEN:
        return QStringLiteral("nie można otworzyć pliku tabeli");
    default:
        return QString::fromUtf8(text ? text : sqlite3_errstr(code));
    }
}

} // namespace

void SqliteDatabase::raise(sqlite3 *db, int code, const QString &context)
{
    const char *text = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    const int systemError = db ? sqlite3_system_errno(db) : 0;
    // SQLite reports a full disk as a code of its own, whatever the system said.
    const int cause = (extended & 0xff) == SQLITE_FULL && systemError == 0 ? ENOSPC : systemError;
    throw EngineError(kindOf(extended, systemError), context, describe(extended, systemError, text),
                      cause);
}

qsizetype longestTablePath()
{
    // The journal SQLite keeps beside a table is named after it and must fit the limit too.
    return sqlite3_vfs_find(faultVfsName())->mxPathname - qsizetype(qstrlen("-journal"));
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

SqliteStatement::SqliteStatement(sqlite3 *db, sqlite3_stmt *statement, const QString &context)
    : m_db(db), m_statement(statement), m_context(context)
{}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement &&other) noexcept
    : m_db(other.m_db), m_statement(other.m_statement), m_context(std::move(other.m_context))
{
    other.m_statement = nullptr;
}

SqliteStatement &SqliteStatement::operator=(SqliteStatement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_db = other.m_db;
        m_statement = other.m_statement;
        m_context = std::move(other.m_context);
        other.m_statement = nullptr;
    }
    return *this;
}

void SqliteStatement::bind(int position, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_statement, position);
    } else {
        switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_statement, position, value.toDouble());
            break;
        case QMetaType::QString: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_statement, position, utf8.constData(), int(utf8.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(m_statement, position, bytes.constData(), int(bytes.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        default:
            rc = sqlite3_bind_int64(m_statement, position, value.toLongLong());
            break;
        }
    }
    if (rc != SQLITE_OK)
        SqliteDatabase::raise(m_db, rc, m_context);
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const int extended = sqlite3_extended_errcode(m_db);
    sqlite3_reset(m_statement);
    SqliteDatabase::raise(m_db, extended, m_context);
}

QVariant SqliteStatement::column(int index) const
{
    switch (sqlite3_column_type(m_statement, index)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_statement, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, index));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(m_statement, index)),
            sqlite3_column_bytes(m_statement, index)));
    case SQLITE_BLOB: {
        const void *data = sqlite3_column_blob(m_statement, index);
        return QVariant(
            QByteArray(static_cast<const char *>(data), sqlite3_column_bytes(m_statement, index)));
    }
    default:
        return QVariant();
    }
}

qint64 SqliteStatement::columnInt64(int index) const
{
    return sqlite3_column_int64(m_statement, index);
}

QByteArrayView SqliteStatement::columnText(int index) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, index));
    return QByteArrayView(text, text ? sqlite3_column_bytes(m_statement, index) : 0);
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

QString SqliteStatement::columnName(int index) const
{
    return QString::fromUtf8(sqlite3_column_name(m_statement, index));
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

void SqliteStatement::run()
{
    while (step()) {
    }
    reset();
}

SqliteDatabase::~SqliteDatabase()
{
    close();
}

void SqliteDatabase::open(const QString &path, const QString &context, bool create, bool readOnly)
{
    close();
    m_context = context;
    sqlite3 *db = nullptr;
    const int access =
        readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int flags = access | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_PRIVATECACHE;
    const QByteArray name = QFile::encodeName(path);
    // SQLite works with full paths up to a fixed length and says only that it cannot open one
    // that is longer.
    const char *vfs = faultVfsName();
    const qsizetype longest = longestTablePath();
    if (name.size() > longest)
        throw EngineError(EngineError::PathTooLong, context,
                          QStringLiteral("ścieżka jest za długa (ma %1, a może mieć najwyżej %2)")
                              .arg(Liczebnik(name.size(), liczebniki::bajt))
                              .arg(longest));
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, vfs);
    if (rc != SQLITE_OK) {
        const int extended = db ? sqlite3_extended_errcode(db) : rc;
        try {
            raise(db, extended, context);
        } catch (...) {
            sqlite3_close(db);
            throw;
        }
    }
    sqlite3_extended_result_codes(db, 1);
    m_db = db;
}

void SqliteDatabase::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool SqliteDatabase::isReadOnly() const
{
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

bool SqliteDatabase::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void SqliteDatabase::setBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(m_db, milliseconds);
}

SqliteStatement SqliteDatabase::prepare(const QString &sql) const
{
    sqlite3_stmt *statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc =
        sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &statement, nullptr);
    if (rc != SQLITE_OK)
        raise(m_db, rc, m_context);
    return SqliteStatement(m_db, statement, m_context);
}

void SqliteDatabase::exec(const QString &sql) const
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        raise(m_db, rc, m_context);
}

QVariant SqliteDatabase::scalar(const QString &sql) const
{
    SqliteStatement statement = prepare(sql);
    return statement.step() ? statement.column(0) : QVariant();
}

qint64 SqliteDatabase::lastInsertRowid() const
{
    return sqlite3_last_insert_rowid(m_db);
}

} // namespace rawen
