// The field accessor: a Field reads and writes its table's current record through the text,
// number and byte forms of FieldValues; the table finds its fields by name or position.

#include "data/Table.h"
#include "platform/EngineError.h"
#include "store/FieldValues.h"

namespace rawen {

QString Field::fieldName() const
{
    return m_table->m_fieldDefs[m_index].name;
}

TFieldType Field::dataType() const
{
    return m_table->m_fieldDefs[m_index].dataType;
}

int Field::size() const
{
    return m_table->m_fieldDefs[m_index].size;
}

bool Field::required() const
{
    return m_table->m_fieldDefs[m_index].required;
}

QVariant Field::value() const
{
    return stored();
}

// The value where the record keeps it: reading a field takes no copy of it.
const QVariant &Field::stored() const
{
    static const QVariant empty;
    if (m_index >= m_table->m_buffer.size())
        return empty;
    return m_table->currentValue(m_index);
}

bool Field::isNull() const
{
    return !stored().isValid();
}

QString Field::asString() const
{
    return FieldValues::toText(m_table->m_fieldDefs[m_index], stored());
}

qint64 Field::asInteger() const
{
    return FieldValues::toInteger(m_table->m_fieldDefs[m_index], stored(), m_table->context());
}

double Field::asFloat() const
{
    return FieldValues::toFloat(m_table->m_fieldDefs[m_index], stored(), m_table->context());
}

bool Field::asBoolean() const
{
    return FieldValues::toBoolean(m_table->m_fieldDefs[m_index], stored(), m_table->context());
}

QByteArray Field::asBytes() const
{
    const QVariant v = value();
    if (!v.isValid())
        return {};
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : asString().toUtf8();
}

QString Field::displayText() const
{
    return FieldValues::toDisplayText(m_table->m_fieldDefs[m_index], stored());
}

void Field::setAsString(const QString &text)
{
    m_table->setValue(
        m_index, FieldValues::fromText(m_table->m_fieldDefs[m_index], text, m_table->context()));
}

void Field::setAsInteger(qint64 v)
{
    m_table->setValue(
        m_index, FieldValues::fromInteger(m_table->m_fieldDefs[m_index], v, m_table->context()));
}

void Field::setAsFloat(double v)
{
    m_table->setValue(m_index,
                      FieldValues::fromFloat(m_table->m_fieldDefs[m_index], v, m_table->context()));
}

void Field::setAsBoolean(bool v)
{
    m_table->setValue(m_index, FieldValues::fromInteger(m_table->m_fieldDefs[m_index], v ? 1 : 0,
                                                        m_table->context()));
}

void Field::setAsBytes(const QByteArray &bytes)
{
    m_table->setValue(
        m_index, FieldValues::fromBytes(m_table->m_fieldDefs[m_index], bytes, m_table->context()));
}

void Field::clear()
{
    m_table->setValue(m_index, QVariant());
}

int Table::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fieldDefs.size(); ++i) {
        if (m_fieldDefs[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

Field Table::field(int index)
{
    if (index < 0 || index >= m_fieldDefs.size())
        throw EngineError(EngineError::NoSuchField,
                          QStringLiteral("%1: brak pola nr %2").arg(context()).arg(index));
    if (m_buffer.size() != m_fieldDefs.size())
        m_buffer.resize(m_fieldDefs.size());
    return Field(this, index);
}

Field Table::findField(const QString &name)
{
    const int i = fieldIndex(name);
    return i < 0 ? Field() : field(i);
}

Field Table::fieldByName(const QString &name)
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw EngineError(EngineError::NoSuchField,
                          QStringLiteral("%1: brak pola %2").arg(context(), name));
    return field(i);
}

} // namespace rawen
