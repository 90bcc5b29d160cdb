// The cursor: the current record and a window of the records after it, read with the fetched
// fields by "records after this key" queries through the table's cache of prepared statements.

#include "data/Sqlite.h"
#include "data/Table.h"
#include "data/TableFile.h"
#include "platform/EngineError.h"

#include <QScopeGuard>

namespace rawen {

namespace {

// The first window is small so that opening a big table is quick; later ones larger, and larger
// still as a walk goes on: a walk that has read thousands of records is likely to read many more,
// and each window costs a read transaction, taking and letting go of the file's lock.
constexpr int kFirstWindow = 32;
constexpr int kWindow = 256;
constexpr int kLargestWindow = 2048;
// A program that asks for more than this many fields beyond those it named is likely to read
// them all: the cursor then reads every field with each record.
constexpr int kFewFields = 8;

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

} // namespace

QList<int> Table::selectedColumns() const
{
    QList<int> columns;
    columns.reserve(m_fieldDefs.size());
    if (m_wantsAll) {
        for (int i = 0; i < m_fieldDefs.size(); ++i)
            columns << i;
        return columns;
    }
    // The order's fields too: the next window is sought from the last record's key.
    QBitArray selected = m_wanted;
    selected.resize(m_fieldDefs.size());
    for (const OrderColumn &column : orderColumns())
        selected.setBit(column.field);
    for (int i = 0; i < selected.size(); ++i) {
        if (selected.testBit(i))
            columns << i;
    }
    return columns;
}

void Table::checkColumns(const QList<int> &columns) const
{
    if (m_columnsChecked)
        return;
    QList<FieldDef> fields;
    fields.reserve(columns.size());
    for (int i : columns)
        fields << m_fieldDefs[i];
    TableFile::checkColumns(*m_db, fields, context());
    m_columnsChecked = columns.size() == m_fieldDefs.size();
}

bool Table::isMissing(int index) const
{
    return index < m_missing.size() && m_missing.testBit(index);
}

const QVariant &Table::currentValue(int index)
{
    if (isMissing(index))
        loadMissing(index);
    return m_buffer[index];
}

void Table::setFetchedFields(const QStringList &names)
{
    // The cursor's records are read with the fields named when the table opens.
    m_fetchedFields = names;
}

void Table::loadMissing(int index)
{
    if (index >= 0 && !m_wantsAll && index < m_wanted.size() && !m_wanted.testBit(index)) {
        m_wanted.setBit(index);
        m_wantsAll = ++m_askedFor > kFewFields;
    }
    QList<int> load;
    for (int i = 0; i < m_missing.size(); ++i) {
        if (m_missing.testBit(i) && (index < 0 || m_wantsAll || i == index))
            load << i;
    }
    if (load.isEmpty())
        return;
    checkColumns(load);
    QStringList names;
    for (int i : load)
        names << quoteIdentifier(m_fieldDefs[i].name);
    const std::shared_ptr<SqliteStatement> held =
        statement(QStringLiteral("SELECT %1 FROM records WHERE rowid = ?").arg(names.join(u',')));
    SqliteStatement &query = *held;
    query.bind(1, m_rowid);
    // A record deleted meanwhile by another program has empty fields, as it would have had
    // them all read before.
    const bool found = query.step();
    for (qsizetype n = 0; n < load.size(); ++n) {
        m_buffer[load[n]] = found ? query.column(int(n)) : QVariant();
        m_missing.clearBit(load[n]);
    }
    query.reset();
    if (m_missing.count(true) == 0)
        m_missing.clear();
    // Records fetched ahead were read without these fields; the next step fetches them anew.
    if (!m_ahead.empty() && m_ahead.front().missing.size() > load.front() &&
        m_ahead.front().missing.testBit(load.front())) {
        m_ahead.clear();
        m_aheadComplete = false;
    }
}

std::deque<Table::Row> Table::fetchAll(const QString &where, const QVariantList &parameters,
                                       const QString &orderBy, int limit) const
{
    const QList<int> columns = selectedColumns();
    checkColumns(columns);
    QStringList names{QStringLiteral("rowid")};
    for (int i : columns)
        names << quoteIdentifier(m_fieldDefs[i].name);
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
    if (columns.size() < m_fieldDefs.size()) {
        missing = QBitArray(m_fieldDefs.size(), true);
        for (int i : columns)
            missing.clearBit(i);
    }
    // Every field read: the columns are the fields in order, and each value goes straight in.
    const bool every = missing.isEmpty();
    std::deque<Row> rows;
    while (query.step()) {
        Row row;
        row.rowid = query.columnInt64(0);
        if (every) {
            row.values.reserve(columns.size());
            for (qsizetype n = 0; n < columns.size(); ++n)
                row.values.append(query.column(int(n + 1)));
        } else {
            row.values.resize(m_fieldDefs.size());
            for (qsizetype n = 0; n < columns.size(); ++n)
                row.values[columns[n]] = query.column(int(n + 1));
            row.missing = missing;
        }
        rows.push_back(std::move(row));
    }
    query.reset(); // no read lock is held past this call
    return rows;
}

std::deque<Table::Row> Table::fetch(const Row *after, int limit) const
{
    const Condition view = viewCondition();
    const QList<OrderColumn> order = orderColumns();
    auto orderFrom = [&](qsizetype from) {
        QStringList terms;
        for (qsizetype i = from; i < order.size(); ++i)
            terms << columnSql(order[i]);
        terms << QStringLiteral("rowid");
        return terms.join(QLatin1String(", "));
    };
    if (!after) {
        std::deque<Row> rows = fetchAll(view.sql, view.parameters, orderFrom(0), limit);
        checkOrder(nullptr, rows, order);
        return rows;
    }

    // The records after `after` in the order (key..., rowid), taken tier by tier so that each
    // query is an index seek: first those with the same whole key and a greater rowid, then
    // those with the same first n-1 key values and a greater n-th one, and so on. NULL sorts
    // first, so "greater than NULL" is "not NULL".
    // The tiers read in one transaction see one state of the table and take its lock once; it
    // is let go before the call returns. Inside the program's own transaction they are part of
    // it.
    const bool ownTransaction = !m_db->inTransaction();
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
    std::deque<Row> rows;
    for (qsizetype tier = order.size(); tier >= 0 && qsizetype(rows.size()) < limit; --tier) {
        QStringList parts;
        QVariantList parameters;
        if (!view.sql.isEmpty()) {
            parts << view.sql;
            parameters = view.parameters;
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
                parts << quoteIdentifier(m_fieldDefs[order[tier].field].name) +
                             QLatin1String(" IS NOT NULL");
            }
        }
        std::deque<Row> more =
            fetchAll(parts.join(QLatin1String(" AND ")), parameters,
                     tier == order.size() ? QStringLiteral("rowid") : orderFrom(tier),
                     limit - int(rows.size()));
        for (Row &row : more)
            rows.push_back(std::move(row));
    }
    checkOrder(after, rows, order);
    return rows;
}

void Table::checkOrder(const Row *after, const std::deque<Row> &rows,
                       const QList<OrderColumn> &order) const
{
    // A whole index gives every record once, each after the one before. A damaged one can give
    // a record again, or one from before: walking it would never end.
    const Row *previous = after;
    for (const Row &row : rows) {
        if (previous) {
            int c = 0;
            for (qsizetype i = 0; c == 0 && i < order.size(); ++i)
                c = compareStored(previous->values[order[i].field], row.values[order[i].field],
                                  order[i].noCase);
            if (c > 0 || (c == 0 && previous->rowid >= row.rowid))
                throw EngineError(
                    EngineError::Damaged, context(),
                    QStringLiteral("plik tabeli jest uszkodzony (indeks %1 podaje "
                                   "rekordy w złej kolejności)")
                        .arg(m_indexName.isEmpty() ? QStringLiteral("główny") : m_indexName));
        }
        previous = &row;
    }
}

void Table::setCurrent(const Row &row)
{
    m_rowid = row.rowid;
    m_buffer = row.values;
    m_missing = row.missing;
    m_hasRecord = true;
}

void Table::setCurrent(Row &&row)
{
    m_rowid = row.rowid;
    m_buffer = std::move(row.values);
    m_missing = std::move(row.missing);
    m_hasRecord = true;
}

void Table::clearCurrent()
{
    m_rowid = 0;
    m_hasRecord = false;
    m_buffer = QVector<QVariant>(m_fieldDefs.size());
    m_missing.clear();
}

std::shared_ptr<SqliteStatement> Table::statement(const QString &sql) const
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
    auto prepared = std::make_shared<SqliteStatement>(m_db->prepare(sql));
    m_statements.insert(sql, prepared);
    return prepared;
}

bool Table::reloadCurrent()
{
    if (!m_hasRecord)
        return false;
    std::deque<Row> rows =
        fetchAll(QStringLiteral("rowid = ?"), {m_rowid}, QStringLiteral("rowid"), 1);
    if (rows.empty())
        return false;
    setCurrent(rows.front());
    return true;
}

void Table::first()
{
    requireOpen();
    checkBrowseMode();
    m_ahead = fetch(nullptr, kFirstWindow);
    m_aheadComplete = int(m_ahead.size()) < kFirstWindow;
    m_window = kWindow;
    if (m_ahead.empty()) {
        clearCurrent();
        m_eof = true;
    } else {
        setCurrent(std::move(m_ahead.front()));
        m_ahead.pop_front();
        m_eof = false;
    }
    notify();
}

void Table::next()
{
    requireOpen();
    checkBrowseMode();
    if (!m_hasRecord) {
        m_eof = true;
        return;
    }
    if (m_ahead.empty() && !m_aheadComplete) {
        // The next window is sought from this record's key.
        for (const OrderColumn &column : orderColumns())
            currentValue(column.field);
        const Row current{m_rowid, m_buffer, {}};
        m_ahead = fetch(&current, m_window);
        m_aheadComplete = int(m_ahead.size()) < m_window;
        m_window = qMin(m_window * 2, kLargestWindow);
    }
    if (m_ahead.empty()) {
        m_eof = true;
        return;
    }
    setCurrent(std::move(m_ahead.front()));
    m_ahead.pop_front();
    m_eof = false;
    notify();
}

qint64 Table::recordCount() const
{
    requireOpen();
    const Condition view = viewCondition();
    SqliteStatement statement =
        m_db->prepare(QStringLiteral("SELECT count(*) FROM records") +
                      (view.sql.isEmpty() ? QString() : QLatin1String(" WHERE ") + view.sql));
    for (qsizetype i = 0; i < view.parameters.size(); ++i)
        statement.bind(int(i + 1), view.parameters[i]);
    return statement.step() ? statement.column(0).toLongLong() : 0;
}

void Table::refresh()
{
    requireOpen();
    checkBrowseMode();
    rereadFromCurrent();
}

void Table::rereadFromCurrent()
{
    m_ahead.clear();
    m_aheadComplete = false;
    if (reloadCurrent())
        notify();
    else
        first();
}

void Table::gotoBookmark(qint64 bookmark)
{
    requireOpen();
    checkBrowseMode();
    std::deque<Row> rows =
        fetchAll(QStringLiteral("rowid = ?"), {bookmark}, QStringLiteral("rowid"), 1);
    if (rows.empty())
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: rekord nie istnieje").arg(context()));
    setCurrent(rows.front());
    m_ahead.clear();
    m_aheadComplete = false;
    m_eof = false;
    notify();
}

} // namespace rawen
