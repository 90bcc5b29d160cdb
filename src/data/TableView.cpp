// Order and view: the index that orders the records, the range, filter and master link that
// become conditions of the cursor's queries, and the linked controls told of changes.

#include "data/Table.h"
#include "platform/EngineError.h"
#include "store/FieldValues.h"

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

QList<OrderField> Table::orderColumns() const
{
    QList<OrderField> columns;
    const IndexDef *ix = currentIndex();
    if (!ix)
        return columns;
    for (const QString &name : indexFieldNames(*ix)) {
        const int i = fieldIndex(name);
        if (i >= 0)
            columns << OrderField{i, (ix->options & ixCaseInsensitive) &&
                                         isTextType(m_fieldDefs[i].dataType)};
    }
    return columns;
}

RecordView Table::view() const
{
    RecordView view;
    view.order = orderColumns();
    view.orderName = m_indexName;
    if (m_filtered)
        view.filter = m_filter;
    // A bound is taken in the forms the fields store, as far as the order has fields for it.
    auto bound = [&](const QVariantList &values) {
        QVariantList key;
        for (qsizetype i = 0; i < qMin(values.size(), view.order.size()); ++i)
            key << convertForField(view.order[i].field, values[i]);
        return key;
    };
    if (m_rangeSet) {
        view.ranged = true;
        view.rangeStart = bound(m_rangeStart);
        view.rangeEnd = bound(m_rangeEnd);
    }
    if (m_master) {
        view.linked = true;
        const QStringList names = m_masterFields.split(u';', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < qMin(names.size(), view.order.size()); ++i) {
            const Field masterField = m_master->findField(names[i]);
            view.link << convertForField(
                view.order[i].field,
                masterField.isValid() && m_master->isOpen() ? masterField.value() : QVariant());
        }
    }
    return view;
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
    QList<int> fields;
    for (const QString &name : fieldNames) {
        const int i = fieldIndex(name);
        if (i < 0)
            throw EngineError(EngineError::NoSuchField, context(),
                              QStringLiteral("brak pola %1").arg(name));
        fields << i;
    }
    return m_stored->anyFilled(fields);
}

bool Table::isBeingWritten() const
{
    requireOpen();
    return m_stored->isBeingWritten();
}

} // namespace rawen
