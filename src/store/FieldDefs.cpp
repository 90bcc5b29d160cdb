#include "store/FieldDefs.h"

#include <QStringList>

namespace rawen {

Storage storageOf(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
    case ftGuid:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
        return Storage::Text;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc:
    case ftBoolean:
        return Storage::Integer;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return Storage::Real;
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
        return Storage::Blob;
    case ftUnknown:
    case ftCursor:
    case ftADT:
    case ftArray:
    case ftReference:
    case ftDataSet:
    case ftVariant:
    case ftInterface:
    case ftIDispatch:
        break;
    }
    return Storage::Unsupported;
}

bool isTextType(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
    case ftGuid:
        return true;
    default:
        return false;
    }
}

bool isNumberType(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

QString fieldTypeName(TFieldType type)
{
    static const char *const names[kFieldTypeCount] = {
        "ftUnknown",    "ftString",     "ftSmallint", "ftInteger",     "ftWord",      "ftBoolean",
        "ftFloat",      "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",      "ftDateTime",
        "ftBytes",      "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",      "ftGraphic",
        "ftFmtMemo",    "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor",    "ftFixedChar",
        "ftWideString", "ftLargeint",   "ftADT",      "ftArray",       "ftReference", "ftDataSet",
        "ftOraBlob",    "ftOraClob",    "ftVariant",  "ftInterface",   "ftIDispatch", "ftGuid",
        "ftTimeStamp",  "ftFMTBcd"};
    if (type < 0 || type >= kFieldTypeCount)
        return QString::number(int(type));
    return QString::fromLatin1(names[type]);
}

QStringList indexFieldNames(const IndexDef &index)
{
    return index.fields.split(u';');
}

bool hasIndex(const TableDefinitions &definitions, const QString &name)
{
    for (const IndexDef &ix : definitions.indexes) {
        if (ix.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace rawen
