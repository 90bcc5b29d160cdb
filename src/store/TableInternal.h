#pragma once

// What the source files of the table engine share among themselves; no part of Table's
// interface.

#include "store/Sqlite.h"
#include "store/TableFile.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace rawen {

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
