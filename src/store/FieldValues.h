#pragma once

#include "store/FieldDefs.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace rawen {

// Conversions between a field's stored value and what callers read and write. Stored values:
// invalid QVariant for empty, qint64 for whole numbers and booleans, double for numbers,
// QString for texts, dates and times, QByteArray for bytes. The text forms are described at
// Field in Table.h. Conversions that cannot be made raise EngineError(BadValue) naming
// `context` and the field.
namespace FieldValues {

QVariant fromText(const FieldDef &field, const QString &text, const QString &context);
QVariant fromInteger(const FieldDef &field, qint64 value, const QString &context);
QVariant fromFloat(const FieldDef &field, double value, const QString &context);
QVariant fromBytes(const FieldDef &field, const QByteArray &bytes, const QString &context);

QString toText(const FieldDef &field, const QVariant &stored);
qint64 toInteger(const FieldDef &field, const QVariant &stored, const QString &context);
double toFloat(const FieldDef &field, const QVariant &stored, const QString &context);
bool toBoolean(const FieldDef &field, const QVariant &stored, const QString &context);
QString toDisplayText(const FieldDef &field, const QVariant &stored);

// The text form of a QDate, QTime or QDateTime.
QString textOf(const QVariant &dateOrTime);

} // namespace FieldValues

} // namespace rawen
