// A table of the folder store: the SQL the table handle's reads, posts and whole-table
// operations come down to, over the table file's "records".

#include "store/SqliteStoredTable.h"

#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FileNames.h"
#include "store/TableFile.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <numeric>
#include <sqlite3.h>

namespace rawen {

namespace {

// Where SQLite puts a stored value in an index: empty first, then numbers, texts, bytes.
int storageClass(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return 0;
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
        return 1;
    case QMetaType::QString:
        return 2;
    default:
        return 3;
    }
}

// Texts in SQLite's order: by the bytes of their UTF-8 form, which is code point order (UTF-16
// units differ from it only where a surrogate meets U+E000 and above); NOCASE folds the ASCII
// letters alone.
int compareTexts(QStringView a, QStringView b, bool noCase)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (noCase) {
            if (x >= u'A' && x <= u'Z')
                x = char16_t(x + 32);
            if (y >= u'A' && y <= u'Z')
                y = char16_t(y + 32);
        }
        if (x == y)
            continue;
        const bool surrogateX = x >= 0xD800 && x <= 0xDFFF;
        const bool surrogateY = y >= 0xD800 && y <= 0xDFFF;
        if (surrogateX != surrogateY && (x >= 0xE000 || y >= 0xE000))
            return surrogateX ? 1 : -1;
        return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Two stored values in the order SQLite's index keeps them.
int compareStored(const QVariant &a, const QVariant &b, bool noCase)
{
    const int ca = storageClass(a);
    const int cb = storageClass(b);
    if (ca != cb)
        return ca < cb ? -1 : 1;
    switch (ca) {
    case 0:
        return 0;
    case 1:
        if (a.typeId() != QMetaType::Double && b.typeId() != QMetaType::Double) {
            const qint64 x = a.toLongLong(), y = b.toLongLong();
            return x == y ? 0 : (x < y ? -1 : 1);
        } else {
            const double x = a.toDouble(), y = b.toDouble();
            return x == y ? 0 : (x < y ? -1 : 1);
        }
    case 2:
        return compareTexts(a.toString(), b.toString(), noCase);
    default: {
        const int c = a.toByteArray().compare(b.toByteArray());
        return c == 0 ? 0 : (c < 0 ? -1 : 1);
    }
    }
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1String(", "));
}

} // namespace

SqliteStoredTable::SqliteStoredTable(const QString &path)
    : m_path(QFileInfo(path).absoluteFilePath()), m_name(QFileInfo(path).fileName())
{}

SqliteStoredTable::~SqliteStoredTable()
{
    m_statements.clear();
}

void SqliteStoredTable::open(const FileState &file, int lockTimeoutMs,
                             const std::function<void()> &readFirst)
{
    TableFile::open(m_db, m_path, file, lockTimeoutMs,
                    [&](const TableFile::Definitions &definitions) {
                        m_definitions = definitions;
                        m_readOnly = m_db.isReadOnly();
                        if (readFirst)
                            readFirst();
                    });
}

QString SqliteStoredTable::canonicalPath() const
{
    const QString canonical = QFileInfo(m_path).canonicalFilePath();
    return canonical.isEmpty() ? m_path : canonical;
}

TableDefinitions SqliteStoredTable::readDefinitions() const
{
    return TableFile::read(m_db);
}

void SqliteStoredTable::checkColumns(const QList<int> &columns) const
{
    if (m_columnsChecked)
        return;
    QList<FieldDef> checked;
    checked.reserve(columns.size());
    for (int i : columns)
        checked << fields()[i];
    TableFile::checkColumns(m_db, checked, m_name);
    m_columnsChecked = columns.size() == fields().size();
}

QString SqliteStoredTable::columnSql(const OrderField &column) const
{
    return quoteIdentifier(fields()[column.field].name) +
           (column.noCase ? QStringLiteral(" COLLATE NOCASE") : QString());
}

SqliteStoredTable::Condition SqliteStoredTable::condition(const RecordView &view) const
{
    QStringList parts;
    QVariantList parameters;
    if (!view.filter.trimmed().isEmpty())
        parts << u'(' + view.filter + u')';
    const QList<OrderField> &order = view.order;
    // The key against a bound in the index order, where an empty value sorts first; SQL's own
    // comparisons would leave out every record with an empty key field. The key is at or past
    // (`lower`) or at or before the bound when, for some k, its first k fields equal the bound's
    // and field k lies beyond it, or all bound fields are equal.
    auto bound = [&](const QVariantList &key, bool lower) {
        const qsizetype n = qMin(key.size(), order.size());
        if (n == 0)
            return;
        QStringList alternatives;
        for (qsizetype k = 0; k <= n; ++k) {
            QStringList terms;
            QVariantList termParameters;
            for (qsizetype j = 0; j < k; ++j) {
                terms << columnSql(order[j]) + QLatin1String(" IS ?");
                termParameters << key[j];
            }
            if (k < n) {
                const QString column = columnSql(order[k]);
                const QString bare = quoteIdentifier(fields()[order[k].field].name);
                if (lower && !key[k].isValid()) {
                    terms << bare + QLatin1String(" IS NOT NULL");
                } else if (lower) {
                    terms << column + QLatin1String(" > ?");
                    termParameters << key[k];
                } else if (!key[k].isValid()) {
                    continue; // nothing sorts before an empty value
                } else {
                    terms << QStringLiteral("(%1 < ? OR %2 IS NULL)").arg(column, bare);
                    termParameters << key[k];
                }
            }
            alternatives << u'(' + terms.join(QLatin1String(" AND ")) + u')';
            parameters << termParameters;
        }
        parts << u'(' + alternatives.join(QLatin1String(" OR ")) + u')';
        // Redundant, but a plain comparison lets SQLite seek in the index to the range's start.
        if (lower && key[0].isValid()) {
            parts << columnSql(order[0]) + QLatin1String(" >= ?");
            parameters << key[0];
        }
    };
    if (view.ranged) {
        bound(view.rangeStart, true);
        bound(view.rangeEnd, false);
    }
    if (view.linked) {
        for (qsizetype i = 0; i < qMin(view.link.size(), order.size()); ++i) {
            parts << columnSql(order[i]) + QLatin1String(" IS ?");
            parameters << view.link[i];
        }
    }
    return {parts.join(QLatin1String(" AND ")), parameters};
}

std::deque<StoredRecord> SqliteStoredTable::fetchAll(const QList<int> &columns,
                                                     const QString &where,
                                                     const QVariantList &parameters,
                                                     const QString &orderBy, int limit) const
{
    checkColumns(columns);
    QStringList names{QStringLiteral("rowid")};
    for (int i : columns)
        names << quoteIdentifier(fields()[i].name);
    QString sql = QLatin1String("SELECT ") + names.join(u',') + QLatin1String(" FROM records");
    if (!where.isEmpty())
        sql += QLatin1String(" WHERE ") + where;
    sql += QLatin1String(" ORDER BY ") + orderBy;
    if (limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);
    const std::shared_ptr<SqliteStatement> held = statement(sql);
    SqliteStatement &query = *held;
    for (qsizetype i = 0; i < parameters.size(); ++i)
        query.bind(int(i + 1), parameters[i]);
    QBitArray missing;
    if (columns.size() < fields().size()) {
        missing = QBitArray(fields().size(), true);
        for (int i : columns)
            missing.clearBit(i);
    }
    // Every field read: the columns are the fields in order, and each value goes straight in.
    const bool every = missing.isEmpty();
    std::deque<StoredRecord> rows;
    while (query.step()) {
        StoredRecord row;
        row.rowid = query.columnInt64(0);
        if (every) {
            row.values.reserve(columns.size());
            for (qsizetype n = 0; n < columns.size(); ++n)
                row.values.append(query.column(int(n + 1)));
        } else {
            row.values.resize(fields().size());
            for (qsizetype n = 0; n < columns.size(); ++n)
                row.values[columns[n]] = query.column(int(n + 1));
            row.missing = missing;
        }
        rows.push_back(std::move(row));
    }
    query.reset(); // no read lock is held past this call
    return rows;
}

std::deque<StoredRecord> SqliteStoredTable::read(const RecordView &view, const QList<int> &columns,
                                                 const StoredRecord *after, int limit)
{
    const Condition where = condition(view);
    const QList<OrderField> &order = view.order;
    auto orderFrom = [&](qsizetype from) {
        QStringList terms;
        for (qsizetype i = from; i < order.size(); ++i)
            terms << columnSql(order[i]);
        terms << QStringLiteral("rowid");
        return terms.join(QLatin1String(", "));
    };
    if (!after) {
        std::deque<StoredRecord> rows =
            fetchAll(columns, where.sql, where.parameters, orderFrom(0), limit);
        checkOrder(view, nullptr, rows);
        return rows;
    }

    // The records after `after` in the order (key..., rowid), taken tier by tier so that each
    // query is an index seek: first those with the same whole key and a greater rowid, then
    // those with the same first n-1 key values and a greater n-th one, and so on. NULL sorts
    // first, so "greater than NULL" is "not NULL".
    // The tiers read in one transaction see one state of the table and take its lock once; it
    // is let go before the call returns. Inside the program's own transaction they are part of
    // it.
    const bool ownTransaction = !m_db.inTransaction();
    if (ownTransaction)
        statement(QStringLiteral("BEGIN"))->run();
    auto endTransaction = qScopeGuard([&] {
        if (!ownTransaction)
            return;
        try {
            statement(QStringLiteral("COMMIT"))->run();
        } catch (const EngineError &) {
            // A read transaction changes nothing: what matters is that its lock is let go, also
            // when a query that failed was left running.
            for (const std::shared_ptr<SqliteStatement> &held : std::as_const(m_statements))
                held->reset();
            try {
                statement(QStringLiteral("ROLLBACK"))->run();
            } catch (const EngineError &) {
            }
        }
    });
    std::deque<StoredRecord> rows;
    for (qsizetype tier = order.size(); tier >= 0 && qsizetype(rows.size()) < limit; --tier) {
        QStringList parts;
        QVariantList parameters;
        if (!where.sql.isEmpty()) {
            parts << where.sql;
            parameters = where.parameters;
        }
        for (qsizetype j = 0; j < tier && j < order.size(); ++j) {
            parts << columnSql(order[j]) + QLatin1String(" IS ?");
            parameters << after->values[order[j].field];
        }
        if (tier == order.size()) {
            parts << QStringLiteral("rowid > ?");
            parameters << after->rowid;
        } else {
            const QVariant &key = after->values[order[tier].field];
            if (key.isValid()) {
                parts << columnSql(order[tier]) + QLatin1String(" > ?");
                parameters << key;
            } else {
                parts << quoteIdentifier(fields()[order[tier].field].name) +
                             QLatin1String(" IS NOT NULL");
            }
        }
        std::deque<StoredRecord> more =
            fetchAll(columns, parts.join(QLatin1String(" AND ")), parameters,
                     tier == order.size() ? QStringLiteral("rowid") : orderFrom(tier),
                     limit - int(rows.size()));
        for (StoredRecord &row : more)
            rows.push_back(std::move(row));
    }
    checkOrder(view, after, rows);
    return rows;
}

void SqliteStoredTable::checkOrder(const RecordView &view, const StoredRecord *after,
                                   const std::deque<StoredRecord> &rows) const
{
    // A whole index gives every record once, each after the one before. A damaged one can give
    // a record again, or one from before: walking it would never end.
    const QList<OrderField> &order = view.order;
    const StoredRecord *previous = after;
    for (const StoredRecord &row : rows) {
        if (previous) {
            int c = 0;
            for (qsizetype i = 0; c == 0 && i < order.size(); ++i)
                c = compareStored(previous->values[order[i].field], row.values[order[i].field],
                                  order[i].noCase);
            if (c > 0 || (c == 0 && previous->rowid >= row.rowid))
                throw EngineError(
                    EngineError::Damaged, m_name,
                    QStringLiteral("plik tabeli jest uszkodzony (indeks %1 podaje "
                                   "rekordy w złej kolejności)")
                        .arg(view.orderName.isEmpty() ? QStringLiteral("główny") : view.orderName));
        }
        previous = &row;
    }
}

std::optional<StoredRecord> SqliteStoredTable::readRecord(qint64 rowid, const QList<int> &columns)
{
    std::deque<StoredRecord> rows =
        fetchAll(columns, QStringLiteral("rowid = ?"), {rowid}, QStringLiteral("rowid"), 1);
    if (rows.empty())
        return std::nullopt;
    return std::move(rows.front());
}

qint64 SqliteStoredTable::count(const RecordView &view)
{
    const Condition where = condition(view);
    SqliteStatement query =
        m_db.prepare(QStringLiteral("SELECT count(*) FROM records") +
                     (where.sql.isEmpty() ? QString() : QLatin1String(" WHERE ") + where.sql));
    for (qsizetype i = 0; i < where.parameters.size(); ++i)
        query.bind(int(i + 1), where.parameters[i]);
    return query.step() ? query.column(0).toLongLong() : 0;
}

bool SqliteStoredTable::anyFilled(const QList<int> &columns)
{
    QStringList conditions;
    for (int i : columns)
        conditions << quoteIdentifier(fields()[i].name) + QLatin1String(" IS NOT NULL");
    if (conditions.isEmpty())
        return false;
    SqliteStatement query =
        m_db.prepare(QStringLiteral("SELECT EXISTS(SELECT 1 FROM records WHERE %1)")
                         .arg(conditions.join(QLatin1String(" OR "))));
    return query.step() && query.column(0).toLongLong() != 0;
}

bool SqliteStoredTable::isBeingWritten()
{
    sqlite3_file *file = nullptr;
    int reserved = 0;
    if (sqlite3_file_control(m_db.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
            SQLITE_OK ||
        !file || !file->pMethods ||
        file->pMethods->xCheckReservedLock(file, &reserved) != SQLITE_OK)
        return false;
    return reserved != 0;
}

qint64 SqliteStoredTable::insert(const QVector<QVariant> &values)
{
    QList<int> every(fields().size());
    std::iota(every.begin(), every.end(), 0);
    checkColumns(every);
    QStringList columns;
    QStringList marks;
    QList<int> bound;
    for (int i = 0; i < fields().size(); ++i) {
        const QString column = quoteIdentifier(fields()[i].name);
        columns << column;
        if (fields()[i].dataType == ftAutoInc && !values[i].isValid()) {
            marks << QStringLiteral("(SELECT ifnull(max(%1), 0) + 1 FROM records)").arg(column);
        } else {
            marks << QStringLiteral("?");
            bound << i;
        }
    }
    const std::shared_ptr<SqliteStatement> held =
        statement(QStringLiteral("INSERT INTO records(%1) VALUES(%2)")
                      .arg(columns.join(QLatin1String(", ")), marks.join(QLatin1String(", "))));
    SqliteStatement &query = *held;
    for (qsizetype n = 0; n < bound.size(); ++n)
        query.bind(int(n + 1), values[bound[n]]);
    query.run();
    return m_db.lastInsertRowid();
}

bool SqliteStoredTable::update(qint64 rowid, const QVector<QVariant> &values)
{
    QList<int> every(fields().size());
    std::iota(every.begin(), every.end(), 0);
    checkColumns(every);
    QStringList sets;
    for (const FieldDef &f : fields())
        sets << quoteIdentifier(f.name) + QLatin1String(" = ?");
    const std::shared_ptr<SqliteStatement> held =
        statement(QStringLiteral("UPDATE records SET %1 WHERE rowid = ?")
                      .arg(sets.join(QLatin1String(", "))));
    SqliteStatement &query = *held;
    for (int i = 0; i < fields().size(); ++i)
        query.bind(i + 1, values[i]);
    query.bind(int(fields().size() + 1), rowid);
    query.run();
    return sqlite3_changes(m_db.handle()) != 0;
}

void SqliteStoredTable::begin()
{
    m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

void SqliteStoredTable::commit()
{
    m_db.exec(QStringLiteral("COMMIT"));
}

void SqliteStoredTable::rollback()
{
    m_db.exec(QStringLiteral("ROLLBACK"));
}

bool SqliteStoredTable::inTransaction() const
{
    return m_db.inTransaction();
}

void SqliteStoredTable::flush()
{
    // Every post outside a transaction is committed with a full sync; what is left to write is
    // the cache of an open transaction.
    const int rc = sqlite3_db_cacheflush(m_db.handle());
    if (rc != SQLITE_OK)
        SqliteDatabase::raise(m_db.handle(), rc, m_name);
    if (!QFileInfo::exists(m_path))
        throw EngineError(EngineError::Io,
                          QStringLiteral("%1: plik tabeli zniknął z dysku").arg(m_name));
}

void SqliteStoredTable::writeUnjournaled()
{
    m_db.exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF"));
}

void SqliteStoredTable::copyTo(const QString &targetPath, const FileFinisher &finish)
{
    if (m_db.inTransaction())
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: kopia w trakcie transakcji").arg(m_name));
    if (existsAnyKind(targetPath))
        throw EngineError(EngineError::Locked,
                          QStringLiteral("%1: plik już istnieje").arg(targetPath));

    // The file is copied byte for byte while a read transaction holds it: no other program
    // can write it meanwhile, and any hot journal has been played back before the lock was
    // granted. The bytes are read through SQLite's own descriptor: opening and closing another
    // one would drop every lock this process holds on the file, those of other handles too.
    m_db.exec(QStringLiteral("BEGIN"));
    try {
        m_db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if (m_db.scalar(QStringLiteral("PRAGMA journal_mode"))
                .toString()
                .compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
            throw EngineError(EngineError::BadState,
                              QStringLiteral("%1: tabela w trybie WAL").arg(m_name));
        sqlite3_file *file = nullptr;
        sqlite3_int64 size = 0;
        if (sqlite3_file_control(m_db.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
                SQLITE_OK ||
            !file || !file->pMethods || file->pMethods->xFileSize(file, &size) != SQLITE_OK)
            throw EngineError(EngineError::Io,
                              QStringLiteral("%1: nie można odczytać pliku tabeli").arg(m_name));
        writeNewFile(
            targetPath, size,
            [file](char *data, qint64 length, qint64 offset) {
                return file->pMethods->xRead(file, data, int(length), offset) == SQLITE_OK;
            },
            finish);
    } catch (...) {
        try {
            m_db.exec(QStringLiteral("ROLLBACK"));
        } catch (const EngineError &) {
        }
        throw;
    }
    m_db.exec(QStringLiteral("COMMIT"));
}

void SqliteStoredTable::clearRequiredFlags()
{
    TableFile::storeWithoutRequired(m_db);
    for (FieldDef &f : m_definitions.fields)
        f.required = false;
}

void SqliteStoredTable::allOrNothing(const std::function<void()> &work)
{
    // Inside a caller's transaction a savepoint, so that the caller's commit still decides.
    const bool own = !m_db.inTransaction();
    m_db.exec(own ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT rawen_step"));
    try {
        work();
        m_db.exec(own ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE rawen_step"));
    } catch (...) {
        try {
            m_db.exec(own ? QStringLiteral("ROLLBACK")
                          : QStringLiteral("ROLLBACK TO rawen_step; RELEASE rawen_step"));
        } catch (const EngineError &) {
        }
        throw;
    }
}

void SqliteStoredTable::emptyFields(const QList<int> &emptied)
{
    allOrNothing([&] {
        // Indexes over the emptied fields are dropped and built again afterwards: far cheaper
        // than updating them row by row.
        const QList<IndexDef> &indexes = m_definitions.indexes;
        QList<int> rebuilt;
        for (int n = 0; n < indexes.size(); ++n) {
            for (const QString &name : indexFieldNames(indexes[n])) {
                for (int i : emptied) {
                    if (fields()[i].name.compare(name, Qt::CaseInsensitive) == 0 &&
                        !rebuilt.contains(n))
                        rebuilt << n;
                }
            }
        }
        for (int n : rebuilt)
            m_db.exec(QStringLiteral("DROP INDEX IF EXISTS rawen_ix%1").arg(n));
        QStringList sets;
        for (int i : emptied)
            sets << quoteIdentifier(fields()[i].name) + QLatin1String(" = NULL");
        m_db.exec(QStringLiteral("UPDATE records SET %1").arg(sets.join(QLatin1String(", "))));
        for (int n : rebuilt)
            m_db.exec(TableFile::indexSql(indexes[n], n, fields()));
    });
}

void SqliteStoredTable::appendFrom(StoredTable &source, const QStringList &names)
{
    auto *from = dynamic_cast<SqliteStoredTable *>(&source);
    if (!from)
        throw EngineError(EngineError::BadState, m_name,
                          QStringLiteral("rekordy można dopisać tylko z tabeli tego magazynu"));
    QStringList columns;
    for (const QString &name : names)
        columns << quoteIdentifier(name);
    if (columns.isEmpty())
        return;
    QString conflict;
    for (const IndexDef &ix : m_definitions.indexes) {
        if (!(ix.options & ixPrimary))
            continue;
        QStringList target;
        for (const QString &name : indexFieldNames(ix)) {
            for (const FieldDef &f : fields()) {
                if (f.name.compare(name, Qt::CaseInsensitive) != 0)
                    continue;
                target << quoteIdentifier(f.name) +
                              ((ix.options & ixCaseInsensitive) && isTextType(f.dataType)
                                   ? QStringLiteral(" COLLATE NOCASE")
                                   : QString());
                break;
            }
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
            m_db.prepare(QStringLiteral("INSERT INTO records(%1) VALUES(%2)%3")
                             .arg(list, placeholders(columns.size()), conflict));
        SqliteStatement read =
            from->m_db.prepare(QStringLiteral("SELECT %1 FROM records").arg(list));
        while (read.step()) {
            for (int i = 0; i < columns.size(); ++i)
                insert.bind(i + 1, read.column(i));
            insert.run();
        }
        read.reset(); // ends the source's read before this table commits
    });
}

bool SqliteStoredTable::restructure(const TableDefinitions &expected,
                                    const TableDefinitions &target, const RecordMapper &map,
                                    const RecordDescriber &describe,
                                    const std::function<void(EngineOp)> &checkFault)
{
    if (m_db.inTransaction())
        throw EngineError(EngineError::BadState, m_name,
                          QStringLiteral("przebudowa w trakcie transakcji"));
    TableFile::validate(target, m_name);
    // What interrupted upgrades of earlier versions left beside the table goes first.
    removeStaleTemporaries(QFileInfo(m_path).absolutePath());
    checkFault(EngineOp::Create);
    // The write lock first: from here no other program commits a record the rebuild would miss.
    m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        const TableFile::Definitions stored = TableFile::read(m_db);
        if (stored.fields != expected.fields || stored.indexes != expected.indexes) {
            m_db.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        TableFile::restructure(m_db, stored, target, map, describe, checkFault);
        checkFault(EngineOp::Flush);
        m_db.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            if (m_db.inTransaction())
                m_db.exec(QStringLiteral("ROLLBACK"));
        } catch (const EngineError &) {
            // closing the connection ends it anyway
        }
        throw;
    }
    // Index and memo files of the older engine describe a table that is gone.
    for (const QString &companion : TableFile::companionFiles(m_path)) {
        if (!companion.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive))
            (void)removeFile(companion);
    }
    return true;
}

std::shared_ptr<SqliteStatement> SqliteStoredTable::statement(const QString &sql) const
{
    // Views, ranges and filters make new texts; a table rarely needs more than a few at once.
    constexpr int kKept = 64;
    auto found = m_statements.constFind(sql);
    if (found != m_statements.constEnd()) {
        (*found)->reset();
        return *found;
    }
    if (m_statements.size() >= kKept)
        m_statements.clear();
    auto prepared = std::make_shared<SqliteStatement>(m_db.prepare(sql));
    m_statements.insert(sql, prepared);
    return prepared;
}

} // namespace rawen
