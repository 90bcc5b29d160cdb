#pragma once

// What the source files of the table engine share among themselves; no part of Table's
// interface.

#include "data/Sqlite.h"
#include "data/TableFile.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace rawen {

inline bool hasIndex(const TableFile::Definitions &definitions, const QString &name)
{
    for (const IndexDef &ix : definitions.indexes) {
        if (ix.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

namespace TableFile {

// The texts of the description's row: a line per field and per index.
QString describeFields(const QList<FieldDef> &fields);
QString describeIndexes(const QList<IndexDef> &indexes);

// Reads the definitions; `whileLocked` runs once the first statement holds the file's read lock.
// `reading`, when given, is left on the description's row: while it is, the read transaction
// lasts.
Definitions readDefinitions(const SqliteDatabase &db, const std::function<void()> &whileLocked,
                            std::optional<SqliteStatement> *reading = nullptr);

} // namespace TableFile

} // namespace rawen
