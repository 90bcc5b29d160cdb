#include "store/SqliteFolderStore.h"

#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FileNames.h"
#include "platform/WpisyKatalogu.h"
#include "store/Sqlite.h"
#include "store/SqliteStoredTable.h"
#include "store/TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sqlite3.h>

namespace rawen {

namespace {

Store::Entry entryOf(const QFileInfo &info)
{
    Store::Entry entry;
    entry.name = info.fileName();
    entry.link = info.isSymLink();
    if (info.isDir())
        entry.kind = Store::Kind::Directory;
    else if (info.isFile())
        entry.kind = Store::Kind::File;
    else if (info.exists())
        entry.kind = Store::Kind::Other;
    if (entry.kind == Store::Kind::Missing)
        return entry;
    entry.hidden = info.isHidden();
    entry.readOnly = !(info.permissions() & QFileDevice::WriteOwner);
    entry.size = info.size();
    return entry;
}

class FolderUnderConstruction final : public DirectoryUnderConstruction
{
public:
    FolderUnderConstruction(const QString &target, QString &lastError)
        : m_directory(target), m_lastError(lastError)
    {}
    bool isValid() const { return m_directory.isValid(); }
    QString path() const override { return m_directory.path(); }
    bool moveInto(const QString &target) override
    {
        if (m_directory.moveInto(target))
            return true;
        const int error = errno;
        m_lastError = systemErrorText(error);
        errno = error;
        return false;
    }

private:
    TemporaryDirectory m_directory;
    QString &m_lastError;
};

// A table read through SQLite's own file handle while a read transaction holds it; any other
// file read as it is.
class SqliteWholeReader final : public WholeFileReader
{
public:
    explicit SqliteWholeReader(const QString &path)
    {
        const QString name = QFileInfo(path).fileName();
        // A FIFO opened for reading would wait for a writer for good; nothing but a regular file
        // is opened.
        const QString notAFile = BladWpisuPliku(path);
        if (!notAFile.isEmpty())
            throw EngineError(EngineError::Io, name, notAFile);
        try {
            // Opened for writing where the file may be written, though nothing is: only so can
            // the first read play back the journal a crash left, as every program opening the
            // table does, where a connection for reading alone refuses the table.
            m_db.open(path, name, false, false);
            m_db.exec(QStringLiteral("BEGIN"));
            m_transaction = true;
            // The first read takes the lock and plays back a hot journal left by a crash.
            m_db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            m_ours = quint32(m_db.scalar(QStringLiteral("PRAGMA application_id")).toLongLong()) ==
                     quint32(TableFile::kApplicationId);
            sqlite3_int64 size = 0;
            if (sqlite3_file_control(m_db.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &m_file) !=
                    SQLITE_OK ||
                !m_file || !m_file->pMethods ||
                m_file->pMethods->xFileSize(m_file, &size) != SQLITE_OK)
                throw EngineError(EngineError::Io, name,
                                  QStringLiteral("nie można odczytać pliku tabeli"));
            m_size = size;
            m_database = true;
            return;
        } catch (const EngineError &error) {
            endTransaction(QStringLiteral("ROLLBACK"));
            m_db.close();
            // Some other kind of file is read as it is; a locked or unreadable database is not.
            if (error.kind() != EngineError::Damaged)
                throw;
        }
        m_raw.setFileName(path);
        if (!m_raw.open(QIODevice::ReadOnly)) {
            const int error = errno;
            throw EngineError(
                EngineError::Io, name,
                QStringLiteral("nie można odczytać pliku: %1").arg(systemErrorText(error)), error);
        }
        m_size = m_raw.size();
    }
    ~SqliteWholeReader() override { endTransaction(QStringLiteral("COMMIT")); }

    qint64 size() const override { return m_size; }
    bool isDatabase() const override { return m_database; }
    bool isOurTable() const override { return m_ours; }
    bool read(char *data, qint64 length, qint64 offset) override
    {
        if (m_database)
            return m_file->pMethods->xRead(m_file, data, int(length), offset) == SQLITE_OK;
        return m_raw.seek(offset) && m_raw.read(data, length) == length;
    }

private:
    void endTransaction(const QString &statement)
    {
        if (!m_transaction)
            return;
        m_transaction = false;
        try {
            m_db.exec(statement);
        } catch (const EngineError &) {
        }
    }

    SqliteDatabase m_db;
    sqlite3_file *m_file = nullptr;
    QFile m_raw;
    bool m_transaction = false;
    qint64 m_size = 0;
    bool m_database = false;
    bool m_ours = false;
};

// Whether the file is a SQLite database (a table of the program or another one).
bool sqliteDatabase(const QString &path)
{
    try {
        SqliteDatabase db;
        db.open(path, QFileInfo(path).fileName(), false, true);
        db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        return QFileInfo(path).size() > 0;
    } catch (const EngineError &) {
        return false;
    }
}

} // namespace

bool SqliteFolderStore::failed()
{
    const int error = errno;
    m_lastError = systemErrorText(error);
    errno = error;
    return false;
}

QList<Store::Entry> SqliteFolderStore::list(const QString &directory) const
{
    QList<Entry> entries;
    const QFileInfoList infos = QDir(directory).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    entries.reserve(infos.size());
    for (const QFileInfo &info : infos)
        entries << entryOf(info);
    return entries;
}

bool SqliteFolderStore::readDirectory(const QString &directory, QList<Entry> &entries,
                                      QString &error) const
{
    // Read entry by entry, so that a listing that breaks off is not taken for a short one.
    const ListaWpisow lista = CzytajKatalog(directory);
    entries.clear();
    entries.reserve(lista.wpisy.size());
    for (const QFileInfo &info : lista.wpisy)
        entries << entryOf(info);
    error = lista.blad;
    return error.isEmpty();
}

qsizetype SqliteFolderStore::longestTablePath() const
{
    return rawen::longestTablePath();
}

Store::Entry SqliteFolderStore::entry(const QString &path) const
{
    return entryOf(QFileInfo(path));
}

bool SqliteFolderStore::exists(const QString &path) const
{
    return existsAnyKind(path);
}

QString SqliteFolderStore::resolve(const QString &path) const
{
    return resolveCaseInsensitive(path);
}

QString SqliteFolderStore::canonicalPath(const QString &path) const
{
    return QFileInfo(path).canonicalFilePath();
}

bool SqliteFolderStore::makeDirectory(const QString &path)
{
    return rawen::makeDirectory(path) || failed();
}

MoveResult SqliteFolderStore::renameDirectory(const QString &from, const QString &to)
{
    const MoveResult result = moveDirectoryNoReplace(from, to);
    if (result == MoveResult::Failed)
        failed();
    return result;
}

bool SqliteFolderStore::removeDirectory(const QString &path)
{
    if (QDir(path).removeRecursively())
        return true;
    m_lastError =
        QStringLiteral("nie można usunąć katalogu %1").arg(QDir::toNativeSeparators(path));
    return false;
}

std::unique_ptr<DirectoryUnderConstruction> SqliteFolderStore::buildDirectory(const QString &target)
{
    auto directory = std::make_unique<FolderUnderConstruction>(target, m_lastError);
    if (!directory->isValid()) {
        failed();
        return nullptr;
    }
    return directory;
}

bool SqliteFolderStore::clearReadOnly(const QString &path)
{
    return rawen::clearReadOnly(path) || failed();
}

QByteArray SqliteFolderStore::readFile(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(EngineError::Io, QFileInfo(path).fileName(), systemErrorText(errno));
    return file.readAll();
}

void SqliteFolderStore::writeFile(const QString &path, const QByteArray &bytes, bool replace)
{
    rawen::writeFile(path, bytes, replace);
}

void SqliteFolderStore::openTable(const QString &named, int lockTimeoutMs,
                                  std::unique_ptr<StoredTable> &table,
                                  const std::function<void(StoredTable &)> &readFirst)
{
    // Mostly the file is there as named: one look at it tells that and all opening needs.
    QString path = named;
    FileState file = fileState(path);
    if (!file.exists) {
        path = resolveCaseInsensitive(path);
        file = fileState(path);
    }
    auto opened = std::make_unique<SqliteStoredTable>(path);
    SqliteStoredTable &sqlite = *opened;
    table = std::move(opened);
    try {
        sqlite.open(file, lockTimeoutMs, [&] {
            if (readFirst)
                readFirst(sqlite);
        });
    } catch (...) {
        table.reset();
        throw;
    }
}

TableDefinitions SqliteFolderStore::readDefinitions(const QString &path, int lockTimeoutMs)
{
    SqliteDatabase db;
    return TableFile::open(db, path, lockTimeoutMs);
}

void SqliteFolderStore::createTable(const QString &path, const TableDefinitions &definitions,
                                    bool replace)
{
    TableFile::create(path, definitions, replace);
}

void SqliteFolderStore::deleteTable(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path))
        throw EngineError(EngineError::Missing, QStringLiteral("%1: brak tabeli").arg(name));
    // The journal first: a table without its journal is whole, a journal without its table
    // is harmless.
    for (const QString &companion : TableFile::companionFiles(path)) {
        if (!removeFile(companion))
            throw EngineError(EngineError::Io, name,
                              QStringLiteral("nie można usunąć pliku %1: %2")
                                  .arg(QFileInfo(companion).fileName(), systemErrorText(errno)));
    }
    if (!removeFile(path))
        throw EngineError(
            EngineError::Io, name,
            QStringLiteral("nie można usunąć tabeli: %1").arg(systemErrorText(errno)));
    (void)syncDirectory(QFileInfo(path).absolutePath());
}

void SqliteFolderStore::replaceTable(const QString &from, const QString &to)
{
    const QString name = QFileInfo(from).fileName();
    if (!QFileInfo::exists(from))
        throw EngineError(EngineError::Missing, QStringLiteral("%1: brak tabeli").arg(name));
    if (!TableFile::companionFiles(from).isEmpty())
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: tabela ma niezamknięty dziennik").arg(name));
    // A journal of the replaced table must not be played into the new file.
    for (const QString &companion : TableFile::companionFiles(to)) {
        if ((companion.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive) ||
             companion.endsWith(QLatin1String("-wal"), Qt::CaseInsensitive) ||
             companion.endsWith(QLatin1String("-shm"), Qt::CaseInsensitive)) &&
            !removeFile(companion))
            throw EngineError(EngineError::Io, name,
                              QStringLiteral("nie można usunąć pliku %1: %2")
                                  .arg(QFileInfo(companion).fileName(), systemErrorText(errno)));
    }
    if (moveReplacing(from, to) != MoveResult::Done)
        throw EngineError(EngineError::Io, name,
                          QStringLiteral("nie można zastąpić tabeli %1: %2")
                              .arg(QFileInfo(to).fileName(), systemErrorText(errno)));
}

// A damaged table or one cut short still carries the program's mark in its database header.
// The header is read through SQLite's own file handle, which keeps this process's locks on the
// file whatever else holds it, and nothing past it is looked at.
bool SqliteFolderStore::isOurTable(const QString &path) const
{
    try {
        SqliteDatabase db;
        db.open(path, QFileInfo(path).fileName(), false, true);
        sqlite3_file *file = nullptr;
        if (sqlite3_file_control(db.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
                SQLITE_OK ||
            !file || !file->pMethods)
            return false;
        unsigned char header[100] = {};
        if (file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK)
            return false;
        const quint32 mark = quint32(header[68]) << 24 | quint32(header[69]) << 16 |
                             quint32(header[70]) << 8 | quint32(header[71]);
        return std::memcmp(header, "SQLite format 3", 16) == 0 &&
               mark == quint32(TableFile::kApplicationId);
    } catch (const EngineError &) {
        return false;
    }
}

std::unique_ptr<WholeFileReader> SqliteFolderStore::readWhole(const QString &path)
{
    return std::make_unique<SqliteWholeReader>(path);
}

bool SqliteFolderStore::writeIntoTable(const QString &source, const QString &path,
                                       int lockTimeoutMs)
{
    if (!sqliteDatabase(source))
        return false;
    SqliteDatabase from;
    from.open(source, QFileInfo(source).fileName(), false, true);
    from.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    SqliteDatabase to;
    const QString name = QFileInfo(path).fileName();
    to.open(path, name, false, false);
    to.setBusyTimeout(lockTimeoutMs);
    try {
        // The first read plays back a journal the old file may have: into the old file, which
        // the backup then replaces whole.
        to.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const EngineError &error) {
        if (error.kind() == EngineError::Damaged)
            return false;
        throw;
    }
    sqlite3_backup *backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!backup)
        SqliteDatabase::raise(to.handle(), sqlite3_errcode(to.handle()), name);
    const int step = sqlite3_backup_step(backup, -1);
    const int finish = sqlite3_backup_finish(backup);
    if (step != SQLITE_DONE)
        SqliteDatabase::raise(nullptr, step, name);
    if (finish != SQLITE_OK)
        SqliteDatabase::raise(to.handle(), finish, name);
    return true;
}

} // namespace rawen
