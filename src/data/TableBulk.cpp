// Operations on the table as a whole: creating, deleting, replacing and copying its file,
// rebuilding it for new definitions, changing all records in one step, transactions and flushing.

#include "data/EngineError.h"
#include "data/Sqlite.h"
#include "data/Table.h"
#include "data/TableFile.h"
#include "data/TableInternal.h"
#include "platform/DurableFiles.h"
#include "platform/FileNames.h"

#include <QFileInfo>

#include <cerrno>
#include <sqlite3.h>

namespace rawen {

namespace {

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1String(", "));
}

} // namespace

void Table::createTable()
{
    create(true);
}

void Table::createTableNew()
{
    create(false);
}

void Table::create(bool replace)
{
    requireClosed("tworzenie");
    fault(EngineOp::Create);
    const QString path = resolvedPath();
    if (replace)
        refuseIfOpen(path);
    else if (existsAnyKind(path))
        throw EngineError(EngineError::Locked,
                          QStringLiteral("%1: plik już istnieje").arg(context()));
    TableFile::create(path, {m_fieldDefs, m_indexDefs}, replace);
}

void Table::refuseIfOpen(const QString &path) const
{
    if (Session::isFileOpen(QFileInfo(path).canonicalFilePath()))
        throw EngineError(EngineError::Locked,
                          QStringLiteral("%1: tabela jest otwarta").arg(context()));
}

void Table::deleteTable()
{
    requireClosed("usuwanie");
    fault(EngineOp::Delete);
    const QString path = resolvedPath();
    refuseIfOpen(path);
    if (!QFileInfo::exists(path))
        throw EngineError(EngineError::Missing, QStringLiteral("%1: brak tabeli").arg(context()));
    // The journal first: a table without its journal is whole, a journal without its table
    // is harmless.
    for (const QString &companion : TableFile::companionFiles(path)) {
        if (!removeFile(companion))
            throw EngineError(EngineError::Io, context(),
                              QStringLiteral("nie można usunąć pliku %1: %2")
                                  .arg(QFileInfo(companion).fileName(), systemErrorText(errno)));
    }
    if (!removeFile(path))
        throw EngineError(
            EngineError::Io, context(),
            QStringLiteral("nie można usunąć tabeli: %1").arg(systemErrorText(errno)));
    (void)syncDirectory(QFileInfo(path).absolutePath());
}

void Table::replaceTable(const QString &targetPath)
{
    requireClosed("zastępowanie");
    fault(EngineOp::Replace);
    const QString from = resolvedPath();
    QString to = targetPath;
    if (!to.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive))
        to += QLatin1String(".DB");
    to = resolveCaseInsensitive(to);
    if (!QFileInfo::exists(from))
        throw EngineError(EngineError::Missing, QStringLiteral("%1: brak tabeli").arg(context()));
    refuseIfOpen(from);
    refuseIfOpen(to);
    if (!TableFile::companionFiles(from).isEmpty())
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: tabela ma niezamknięty dziennik").arg(context()));
    // A journal of the replaced table must not be played into the new file.
    for (const QString &companion : TableFile::companionFiles(to)) {
        if ((companion.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive) ||
             companion.endsWith(QLatin1String("-wal"), Qt::CaseInsensitive) ||
             companion.endsWith(QLatin1String("-shm"), Qt::CaseInsensitive)) &&
            !removeFile(companion))
            throw EngineError(EngineError::Io, context(),
                              QStringLiteral("nie można usunąć pliku %1: %2")
                                  .arg(QFileInfo(companion).fileName(), systemErrorText(errno)));
    }
    if (moveReplacing(from, to) != MoveResult::Done)
        throw EngineError(EngineError::Io, context(),
                          QStringLiteral("nie można zastąpić tabeli %1: %2")
                              .arg(QFileInfo(to).fileName(), systemErrorText(errno)));
    m_tableName = to;
}

void Table::copyTo(const QString &targetPath, const FileFinisher &finish, qint64 *recordCount)
{
    requireOpen();
    fault(EngineOp::Copy);
    if (m_db->inTransaction())
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: kopia w trakcie transakcji").arg(context()));
    if (existsAnyKind(targetPath))
        throw EngineError(EngineError::Locked,
                          QStringLiteral("%1: plik już istnieje").arg(targetPath));

    // The file is copied byte for byte while a read transaction holds it: no other program
    // can write it meanwhile, and any hot journal has been played back before the lock was
    // granted. The bytes are read through SQLite's own descriptor: opening and closing another
    // one would drop every lock this process holds on the file, those of other handles too.
    m_db->exec(QStringLiteral("BEGIN"));
    try {
        m_db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if (m_db->scalar(QStringLiteral("PRAGMA journal_mode"))
                .toString()
                .compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
            throw EngineError(EngineError::BadState,
                              QStringLiteral("%1: tabela w trybie WAL").arg(context()));
        sqlite3_file *file = nullptr;
        sqlite3_int64 size = 0;
        if (sqlite3_file_control(m_db->handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
                SQLITE_OK ||
            !file || !file->pMethods || file->pMethods->xFileSize(file, &size) != SQLITE_OK)
            throw EngineError(EngineError::Io,
                              QStringLiteral("%1: nie można odczytać pliku tabeli").arg(context()));
        // Counted while the read holds the file: another program committing meanwhile changes
        // the source, never the state the copy is made of.
        if (recordCount)
            *recordCount =
                m_db->scalar(QStringLiteral("SELECT count(*) FROM records")).toLongLong();
        writeNewFile(
            targetPath, size,
            [file](char *data, qint64 length, qint64 offset) {
                return file->pMethods->xRead(file, data, int(length), offset) == SQLITE_OK;
            },
            finish);
    } catch (...) {
        try {
            m_db->exec(QStringLiteral("ROLLBACK"));
        } catch (const EngineError &) {
        }
        throw;
    }
    m_db->exec(QStringLiteral("COMMIT"));
}

void Table::clearRequiredFlags()
{
    requireOpen();
    checkWritable();
    bool any = false;
    for (const FieldDef &f : m_fieldDefs)
        any = any || f.required;
    if (!any)
        return;
    TableFile::storeWithoutRequired(*m_db);
    for (FieldDef &f : m_fieldDefs)
        f.required = false;
}

bool Table::restructure(const QList<FieldDef> &fields, const QList<IndexDef> &indexes,
                        const TableFile::RecordMapper &map,
                        const TableFile::RecordDescriber &describe)
{
    requireOpen();
    checkBrowseMode();
    checkWritable();
    if (m_db->inTransaction())
        throw EngineError(EngineError::BadState, context(),
                          QStringLiteral("przebudowa w trakcie transakcji"));
    TableFile::validate({fields, indexes}, context());
    fault(EngineOp::Create);
    // The write lock first: from here no other program commits a record the rebuild would miss.
    m_db->exec(QStringLiteral("BEGIN IMMEDIATE"));
    bool done = false;
    try {
        const TableFile::Definitions stored = TableFile::read(*m_db);
        if (stored.fields == m_fieldDefs && stored.indexes == m_indexDefs) {
            TableFile::restructure(*m_db, stored, {fields, indexes}, map, describe,
                                   [this](EngineOp op) { fault(op); });
            fault(EngineOp::Flush);
            m_db->exec(QStringLiteral("COMMIT"));
            done = true;
        } else {
            m_db->exec(QStringLiteral("ROLLBACK"));
        }
    } catch (...) {
        try {
            if (m_db->inTransaction())
                m_db->exec(QStringLiteral("ROLLBACK"));
        } catch (const EngineError &) {
            // closing the connection ends it anyway
        }
        throw;
    }
    // Open anew: the description, the statements and the window belong to the old layout.
    close();
    if (done && !m_indexName.isEmpty() && !hasIndex({fields, indexes}, m_indexName))
        m_indexName.clear();
    open();
    return done;
}

void Table::allOrNothing(const std::function<void()> &work)
{
    // Inside a caller's transaction a savepoint, so that the caller's commit still decides.
    const bool own = !m_db->inTransaction();
    m_db->exec(own ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT rawen_step"));
    try {
        work();
        m_db->exec(own ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE rawen_step"));
    } catch (...) {
        try {
            m_db->exec(own ? QStringLiteral("ROLLBACK")
                           : QStringLiteral("ROLLBACK TO rawen_step; RELEASE rawen_step"));
        } catch (const EngineError &) {
        }
        throw;
    }
}

void Table::emptyFields(const QStringList &fieldNames)
{
    requireOpen();
    checkBrowseMode();
    QList<int> indexes;
    for (const QString &name : fieldNames) {
        const int i = fieldByName(name).index();
        if (m_fieldDefs[i].required)
            throw EngineError(EngineError::RequiredMissing,
                              QStringLiteral("%1: pole %2 musi mieć wartość")
                                  .arg(context(), m_fieldDefs[i].name));
        if (!indexes.contains(i))
            indexes << i;
    }
    if (indexes.isEmpty())
        return;
    checkWritable();
    fault(EngineOp::EmptyFields);

    allOrNothing([&] {
        // Indexes over the emptied fields are dropped and built again afterwards: far cheaper
        // than updating them row by row.
        QList<int> rebuilt;
        for (int n = 0; n < m_indexDefs.size(); ++n) {
            for (const QString &name : indexFieldNames(m_indexDefs[n])) {
                if (indexes.contains(fieldIndex(name)) && !rebuilt.contains(n))
                    rebuilt << n;
            }
        }
        for (int n : rebuilt)
            m_db->exec(QStringLiteral("DROP INDEX IF EXISTS rawen_ix%1").arg(n));
        QStringList sets;
        for (int i : indexes)
            sets << quoteIdentifier(m_fieldDefs[i].name) + QLatin1String(" = NULL");
        m_db->exec(QStringLiteral("UPDATE records SET %1").arg(sets.join(QLatin1String(", "))));
        for (int n : rebuilt)
            m_db->exec(TableFile::indexSql(m_indexDefs[n], n, m_fieldDefs));
    });
    m_ahead.clear();
    m_aheadComplete = false;
    reloadCurrent();
    notify();
}

void Table::batchAppend(Table &source)
{
    requireOpen();
    source.requireOpen();
    if (&source == this)
        throw EngineError(
            EngineError::BadState,
            QStringLiteral("%1: tabela nie może być dopisana do siebie").arg(context()));
    checkBrowseMode();
    checkWritable();
    fault(EngineOp::Append);
    QStringList columns;
    for (const FieldDef &f : m_fieldDefs) {
        if (source.fieldIndex(f.name) >= 0)
            columns << quoteIdentifier(f.name);
    }
    if (columns.isEmpty())
        return;
    QString conflict;
    for (const IndexDef &ix : m_indexDefs) {
        if (!(ix.options & ixPrimary))
            continue;
        QStringList target;
        for (const QString &name : indexFieldNames(ix)) {
            const FieldDef &f = m_fieldDefs[fieldIndex(name)];
            target << quoteIdentifier(f.name) +
                          ((ix.options & ixCaseInsensitive) && isTextType(f.dataType)
                               ? QStringLiteral(" COLLATE NOCASE")
                               : QString());
        }
        QStringList updates;
        for (const QString &column : columns)
            updates << column + QLatin1String(" = excluded.") + column;
        conflict = QStringLiteral(" ON CONFLICT(%1) DO UPDATE SET %2")
                       .arg(target.join(QLatin1String(", ")), updates.join(QLatin1String(", ")));
    }
    // The records are read through the source's own connection and written through this one:
    // SQLite refuses ATTACH inside a transaction, and a caller may well have one open.
    const QString list = columns.join(QLatin1String(", "));
    allOrNothing([&] {
        SqliteStatement insert =
            m_db->prepare(QStringLiteral("INSERT INTO records(%1) VALUES(%2)%3")
                              .arg(list, placeholders(columns.size()), conflict));
        SqliteStatement read =
            source.m_db->prepare(QStringLiteral("SELECT %1 FROM records").arg(list));
        while (read.step()) {
            for (int i = 0; i < columns.size(); ++i)
                insert.bind(i + 1, read.column(i));
            insert.run();
        }
        read.reset(); // ends the source's read before this table commits
    });
    m_ahead.clear();
    m_aheadComplete = false;
    if (m_hasRecord)
        reloadCurrent();
    else
        first();
}

void Table::startTransaction()
{
    requireOpen();
    checkBrowseMode();
    m_db->exec(QStringLiteral("BEGIN IMMEDIATE"));
}

void Table::commit()
{
    requireOpen();
    checkBrowseMode();
    m_db->exec(QStringLiteral("COMMIT"));
}

void Table::rollback()
{
    requireOpen();
    if (m_state == dsEdit || m_state == dsInsert)
        cancel();
    m_db->exec(QStringLiteral("ROLLBACK"));
    // A record added in the transaction is gone; its rowid may even be reused later.
    rereadFromCurrent();
}

bool Table::inTransaction() const
{
    return isOpen() && m_db->inTransaction();
}

void Table::flushBuffers()
{
    requireOpen();
    fault(EngineOp::Flush);
    // Every post outside a transaction is committed with a full sync; what is left to write is
    // the cache of an open transaction.
    const int rc = sqlite3_db_cacheflush(m_db->handle());
    if (rc != SQLITE_OK)
        SqliteDatabase::raise(m_db->handle(), rc, context());
    if (!QFileInfo::exists(m_openPath))
        throw EngineError(EngineError::Io,
                          QStringLiteral("%1: plik tabeli zniknął z dysku").arg(context()));
}

void Table::writeUnjournaled()
{
    requireOpen();
    checkWritable();
    m_db->exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF"));
}

} // namespace rawen
