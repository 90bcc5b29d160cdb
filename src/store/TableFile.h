#pragma once

#include "platform/FileNames.h"
#include "store/EngineOp.h"
#include "store/FieldDefs.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

class SqliteDatabase;

// The table file: one SQLite database per table. It holds the records in the table "records"
// (one column per field, named as the field) and describes itself in the one row of
// "rawen_description", so a table opened cold reports its definitions exactly. The file's
// application id marks it as ours; its user version is the format's. Files of the first format
// (a row per field in "rawen_fields", per index in "rawen_indexes") are read and kept as they are.
namespace TableFile {

constexpr int kApplicationId = 0x52574E32; // "RWN2"
constexpr int kFormatVersion = 2;

using Definitions = TableDefinitions;

// Raises EngineError(BadValue) for definitions no table can have: no fields, a nameless or
// repeated field, an unsupported type, an index on an unknown field, two primary indexes.
void validate(const Definitions &definitions, const QString &context);

// Writes a new table file at `path`: built under a hidden temporary name, synced, then moved to
// `path`. With `replace` an existing table there is replaced (its journal removed first, so it
// can never be played into the new file); without, an existing file makes it raise Locked.
void create(const QString &path, const Definitions &definitions, bool replace);

// Opens `path` on `db` and checks that it is a whole table file of ours whose records have a
// column for every described field; raises Missing, Damaged or Locked. A file without the
// owner's write permission is opened read-only. Returns the stored definitions.
Definitions open(SqliteDatabase &db, const QString &path, int lockTimeoutMs);

// The same for a file whose state the caller has just looked at. `readFirst` runs with the
// definitions in the same read transaction and checks the columns it reads itself (with
// checkColumns); what it raises closes `db` and passes on.
Definitions open(SqliteDatabase &db, const QString &path, const FileState &file, int lockTimeoutMs,
                 const std::function<void(const Definitions &)> &readFirst);

// Raises Damaged unless the records of the open file have a column for each of `fields`.
// Columns beyond them are no concern of the engine's: it names the columns it reads and writes.
void checkColumns(const SqliteDatabase &db, const QList<FieldDef> &fields, const QString &context);

// Reads the definitions from an open file.
Definitions read(const SqliteDatabase &db);

// Stores the open file's description with no field required, in the file's own format.
void storeWithoutRequired(const SqliteDatabase &db);

// The files that belong to the table `path` besides itself and exist now: SQLite's journal and
// the index and memo files of the older engine.
QStringList companionFiles(const QString &path);

// SQL text of one SQLite index for an index definition; `number` names it.
QString indexSql(const IndexDef &index, int number, const QList<FieldDef> &fields,
                 const QString &table = QStringLiteral("records"));

// The column type a field's values are stored in.
QString columnType(TFieldType type);

// Stores a new description in the open file, in the current format (a file of the first format
// is brought to it).
void storeDescription(const SqliteDatabase &db, const Definitions &definitions);

// Rebuilds the records of the open file `db` (described by `current`) for the definitions
// `target` inside the caller's write transaction: a new records table filled record by record
// through `map` (rowids kept), the old one dropped, the new one renamed, the description
// replaced. A column the file holds beyond `current` whose name is no field of `target` is
// carried over as it is (nothing a column holds is dropped); one that is a field of `target`
// makes the description and the file disagree, and the rebuild is refused. A value the new
// field cannot hold whole, or a key the new indexes refuse, raises naming the record.
// `checkFault` is called with Create before the rebuild and Append before each record.
void restructure(const SqliteDatabase &db, const Definitions &current, const Definitions &target,
                 const RecordMapper &map, const RecordDescriber &describe,
                 const std::function<void(EngineOp)> &checkFault);

} // namespace TableFile

} // namespace rawen
