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
// What every view of a value shows, the grids, table printing and the data-aware controls alike:
// amounts (ftCurrency with two decimals, ftBCD and ftFMTBcd with as many as their size) as
// FormatujKwote writes them ("1 230,00"), other numbers with a decimal comma, booleans "Tak" and
// "Nie", everything else as toText. fromText takes each of them back to the same value (an
// amount to its shown decimals).
QString toDisplayText(const FieldDef &field, const QVariant &stored);
// The decimals the display text of the field's values shows as an amount: 2 for ftCurrency, the
// size (0 to 32) of a BCD field; -1 for a field whose values show as no amount.
int amountDecimals(const FieldDef &field);
// The characters the display text of a field's values takes: a text field's size (40 for a memo
// without one), the widest display text of the other types; an amount as wide as the widest
// whose total table printing still shows.
int displayWidth(const FieldDef &field);

// The text form of a QDate, QTime or QDateTime.
QString textOf(const QVariant &dateOrTime);

} // namespace FieldValues

} // namespace rawen
