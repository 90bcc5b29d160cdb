#pragma once

#include <QFlags>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

// The engine's field types. The ordinals are fixed: the structure file writes them as the
// type code, and table files store them.
enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftADT,
    ftArray,
    ftReference,
    ftDataSet,
    ftOraBlob,
    ftOraClob,
    ftVariant,
    ftInterface,
    ftIDispatch,
    ftGuid,
    ftTimeStamp,
    ftFMTBcd,
};
constexpr int kFieldTypeCount = ftFMTBcd + 1;

enum IndexOption {
    ixPrimary = 0x1,
    ixUnique = 0x2,
    ixCaseInsensitive = 0x4,
};
Q_DECLARE_FLAGS(IndexOptions, IndexOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(IndexOptions)

struct FieldDef
{
    QString name;
    TFieldType dataType = ftUnknown;
    int size = 0; // characters of a text, bytes of a byte field, decimals of a BCD; else 0
    bool required = false;

    friend bool operator==(const FieldDef &, const FieldDef &) = default;
};

struct IndexDef
{
    QString name;   // "" for the primary index
    QString fields; // field names joined by ";"
    IndexOptions options;

    friend bool operator==(const IndexDef &, const IndexDef &) = default;
};

// How a field's values are kept in the table file.
enum class Storage { Unsupported, Text, Integer, Real, Blob };

Storage storageOf(TFieldType type);

// Types whose values are texts for the user: sizes limit them, case-insensitive indexes fold them.
bool isTextType(TFieldType type);

// Whole numbers and numbers with a fraction: the types whose values a grid aligns right.
bool isNumberType(TFieldType type);

// "ftString" and so on, for messages.
QString fieldTypeName(TFieldType type);

// Index fields as a list; the separator is ";".
QStringList indexFieldNames(const IndexDef &index);

// What a table is: its fields and its indexes, as the store keeps them with the table.
struct TableDefinitions
{
    QList<FieldDef> fields;
    QList<IndexDef> indexes;
};

// Whether the table has an index of that name (without regard to case).
bool hasIndex(const TableDefinitions &definitions, const QString &name);

// One record of a table being restructured: the text form of every column the store holds for
// it, by the column's name in upper case; "" for an empty value.
using OldRecord = QHash<QString, QString>;
// The new record's texts, one per field of the new definitions, in their order.
using RecordMapper = std::function<QStringList(const OldRecord &)>;
// How the user knows a record, for a message that names it ("NR 5, SKROT Alfa").
using RecordDescriber = std::function<QString(const OldRecord &)>;

} // namespace rawen
