// Order and view: the index that orders the records, the range, filter and master link that
// become conditions of the cursor's queries, and the linked controls told of changes.

#include "data/FieldValues.h"
#include "data/Sqlite.h"
#include "data/Table.h"
#include "platform/EngineError.h"

#include <sqlite3.h>

namespace rawen {

const IndexDef *Table::currentIndex() const
{
    for (const IndexDef &ix : m_indexDefs) {
        if (m_indexName.isEmpty() ? bool(ix.options & ixPrimary)
                                  : ix.name.compare(m_indexName, Qt::CaseInsensitive) == 0)
            return &ix;
    }
    return nullptr;
}

QList<Table::OrderColumn> Table::orderColumns() const
{
    QList<OrderColumn> columns;
    const IndexDef *ix = currentIndex();
    if (!ix)
        return columns;
    for (const QString &name : indexFieldNames(*ix)) {
        const int i = fieldIndex(name);
        if (i >= 0)
            columns << OrderColumn{i, (ix->options & ixCaseInsensitive) &&
                                          isTextType(m_fieldDefs[i].dataType)};
    }
    return columns;
}

QString Table::columnSql(const OrderColumn &column) const
{
    return quoteIdentifier(m_fieldDefs[column.field].name) +
           (column.noCase ? QStringLiteral(" COLLATE NOCASE") : QString());
}

Table::Condition Table::viewCondition() const
{
    QStringList parts;
    QVariantList parameters;
    if (m_filtered && !m_filter.trimmed().isEmpty())
        parts << u'(' + m_filter + u')';
    const QList<OrderColumn> order = orderColumns();
    // The key against a bound in the index order, where an empty value sorts first; SQL's own
    // comparisons would leave out every record with an empty key field. The key is at or past
    // (`lower`) or at or before the bound when, for some k, its first k fields equal the bound's
    // and field k lies beyond it, or all bound fields are equal.
    auto bound = [&](const QVariantList &values, bool lower) {
        const qsizetype n = qMin(values.size(), order.size());
        if (n == 0)
            return;
        QVariantList key;
        for (qsizetype i = 0; i < n; ++i)
            key << convertForField(order[i].field, values[i]);
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
                const QString bare = quoteIdentifier(m_fieldDefs[order[k].field].name);
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
    if (m_rangeSet) {
        bound(m_rangeStart, true);
        bound(m_rangeEnd, false);
    }
    if (m_master) {
        const QStringList names = m_masterFields.split(u';', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < qMin(names.size(), order.size()); ++i) {
            parts << columnSql(order[i]) + QLatin1String(" IS ?");
            const Field masterField = m_master->findField(names[i]);
            parameters << convertForField(
                order[i].field,
                masterField.isValid() && m_master->isOpen() ? masterField.value() : QVariant());
        }
    }
    return {parts.join(QLatin1String(" AND ")), parameters};
}

QVariant Table::convertForField(int index, const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return {};
    const FieldDef &f = m_fieldDefs[index];
    switch (value.typeId()) {
    case QMetaType::QString:
        return FieldValues::fromText(f, value.toString(), context());
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldValues::fromFloat(f, value.toDouble(), context());
    case QMetaType::QByteArray:
        return FieldValues::fromBytes(f, value.toByteArray(), context());
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
        return FieldValues::fromText(f, FieldValues::textOf(value), context());
    default:
        return FieldValues::fromInteger(f, value.toLongLong(), context());
    }
}

void Table::notify()
{
    if (m_disableCount > 0) {
        m_changedWhileDisabled = true;
        return;
    }
    emit dataChanged();
}

void Table::setIndexName(const QString &name)
{
    if (!name.isEmpty() && isOpen()) {
        bool found = false;
        for (const IndexDef &ix : m_indexDefs)
            found = found || ix.name.compare(name, Qt::CaseInsensitive) == 0;
        if (!found)
            throw EngineError(EngineError::NoSuchIndex,
                              QStringLiteral("%1: brak indeksu %2").arg(context(), name));
    }
    if (isOpen())
        checkBrowseMode();
    m_indexName = name;
    m_rangeSet = false;
    if (isOpen())
        first();
}

void Table::setRange(const QVariantList &start, const QVariantList &end)
{
    if (isOpen())
        checkBrowseMode();
    m_rangeStart = start;
    m_rangeEnd = end;
    m_rangeSet = true;
    if (isOpen())
        first();
}

void Table::cancelRange()
{
    if (!m_rangeSet)
        return;
    if (isOpen())
        checkBrowseMode();
    m_rangeSet = false;
    m_rangeStart.clear();
    m_rangeEnd.clear();
    if (isOpen())
        first();
}

void Table::setFilter(const QString &condition)
{
    if (isOpen())
        checkBrowseMode();
    m_filter = condition;
    if (isOpen() && m_filtered)
        first();
}

void Table::setFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    if (isOpen())
        checkBrowseMode();
    m_filtered = filtered;
    if (isOpen())
        first();
}

void Table::setMasterSource(Table *master, const QString &masterFields)
{
    if (isOpen())
        checkBrowseMode();
    if (m_masterConnection)
        disconnect(m_masterConnection);
    m_master = master;
    m_masterFields = master ? masterFields : QString();
    if (master)
        m_masterConnection = connect(master, &Table::dataChanged, this, &Table::onMasterChanged);
    if (isOpen())
        first();
}

void Table::onMasterChanged()
{
    if (!isOpen() || m_state != dsBrowse)
        return;
    try {
        first();
    } catch (const EngineError &) {
        // A signal cannot carry the error; the detail keeps its records until it is read again.
    }
}

void Table::disableControls()
{
    ++m_disableCount;
}

void Table::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        emit dataChanged();
    }
}

bool Table::anyFilled(const QStringList &fieldNames) const
{
    requireOpen();
    QStringList conditions;
    for (const QString &name : fieldNames) {
        const int i = fieldIndex(name);
        if (i < 0)
            throw EngineError(EngineError::NoSuchField, context(),
                              QStringLiteral("brak pola %1").arg(name));
        conditions << quoteIdentifier(m_fieldDefs[i].name) + QLatin1String(" IS NOT NULL");
    }
    if (conditions.isEmpty())
        return false;
    SqliteStatement query =
        m_db->prepare(QStringLiteral("SELECT EXISTS(SELECT 1 FROM records WHERE %1)")
                          .arg(conditions.join(QLatin1String(" OR "))));
    return query.step() && query.column(0).toLongLong() != 0;
}

bool Table::isBeingWritten() const
{
    requireOpen();
    sqlite3_file *file = nullptr;
    int reserved = 0;
    if (sqlite3_file_control(m_db->handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
            SQLITE_OK ||
        !file || !file->pMethods ||
        file->pMethods->xCheckReservedLock(file, &reserved) != SQLITE_OK)
        return false;
    return reserved != 0;
}

} // namespace rawen
