// The table file's description of itself: its definitions in the one row of
// "rawen_description", or in the rows of the first format's tables, read and stored.

#include "platform/EngineError.h"
#include "store/Sqlite.h"
#include "store/TableFile.h"
#include "store/TableInternal.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

namespace rawen {
namespace TableFile {

namespace {

// Calls `line` with the parts of each line of a description; false when a line has not `N`
// parts or `line` refuses it.
template <qsizetype N, typename Line> bool forEachLine(QStringView text, Line line)
{
    // One pass over the characters: a table is opened by the hundred when the firm list is made.
    if (text.isEmpty())
        return true;
    std::array<QStringView, N> parts;
    qsizetype count = 0;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool endOfLine = i == text.size() || text[i] == u'\n';
        if (!endOfLine && text[i] != u'\t')
            continue;
        if (count == N)
            return false;
        parts[count++] = text.sliced(from, i - from);
        from = i + 1;
        if (endOfLine) {
            if (count != N || !line(parts))
                return false;
            count = 0;
        }
    }
    return true;
}

// A whole number of the description: decimal digits only.
std::optional<int> number(QStringView text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

TFieldType typeOf(int ordinal)
{
    return ordinal >= 0 && ordinal < kFieldTypeCount ? TFieldType(ordinal) : ftUnknown;
}

[[noreturn]] void garbled(const SqliteDatabase &db)
{
    throw EngineError(EngineError::Damaged,
                      QStringLiteral("%1: plik tabeli jest uszkodzony (%2)")
                          .arg(db.context(), QStringLiteral("opis pól nie zgadza się z danymi")));
}

Definitions parseDescription(const SqliteDatabase &db, const QString &fields,
                             const QString &indexes)
{
    Definitions d;
    d.fields.reserve(std::count(fields.cbegin(), fields.cend(), u'\n') + 1);
    const bool fieldsRead = forEachLine<4>(fields, [&](const auto &parts) {
        const std::optional<int> type = number(parts[1]);
        const std::optional<int> size = number(parts[2]);
        if (!type || !size)
            return false;
        d.fields << FieldDef{parts[0].toString(), typeOf(*type), *size, parts[3] != u"0"};
        return true;
    });
    const bool indexesRead = forEachLine<3>(indexes, [&](const auto &parts) {
        const std::optional<int> options = number(parts[2]);
        if (!options)
            return false;
        d.indexes << IndexDef{parts[0].toString(), parts[1].toString(),
                              IndexOptions::fromInt(*options)};
        return true;
    });
    if (!fieldsRead || !indexesRead)
        garbled(db);
    return d;
}

// Tables made by the first version of the format describe themselves in a row per field and
// per index.
Definitions readFirstFormat(const SqliteDatabase &db, const std::function<void()> &whileLocked)
{
    Definitions d;
    // position is the rowid, so this order costs no sort.
    SqliteStatement fields = db.prepare(
        QStringLiteral("SELECT name, type, size, required FROM rawen_fields ORDER BY position"));
    bool first = true;
    while (fields.step()) {
        if (first && whileLocked)
            whileLocked();
        first = false;
        FieldDef f;
        f.name = fields.column(0).toString();
        f.dataType = typeOf(fields.column(1).toInt());
        f.size = fields.column(2).toInt();
        f.required = fields.column(3).toInt() != 0;
        d.fields << f;
    }
    SqliteStatement indexes = db.prepare(
        QStringLiteral("SELECT name, fields, options FROM rawen_indexes ORDER BY position"));
    while (indexes.step()) {
        IndexDef ix;
        ix.name = indexes.column(0).toString();
        ix.fields = indexes.column(1).toString();
        ix.options = IndexOptions::fromInt(indexes.column(2).toInt());
        d.indexes << ix;
    }
    return d;
}

// The description's statement, or nothing when the file keeps the first format.
std::optional<SqliteStatement> descriptionQuery(const SqliteDatabase &db)
{
    try {
        return db.prepare(QStringLiteral("SELECT fields, indexes FROM rawen_description"));
    } catch (const EngineError &error) {
        if (error.kind() == EngineError::Locked)
            throw;
        return std::nullopt;
    }
}

} // namespace

// The description is one row of two texts, a line per field ("name, type ordinal, size,
// required") and per index ("name, fields, options"), columns parted by tabs. One row is read
// in one step; opening a table of many fields costs no walk over a table of descriptions.
QString describeFields(const QList<FieldDef> &fields)
{
    QStringList lines;
    lines.reserve(fields.size());
    for (const FieldDef &f : fields)
        lines << QStringLiteral("%1\t%2\t%3\t%4")
                     .arg(f.name)
                     .arg(int(f.dataType))
                     .arg(f.size)
                     .arg(f.required ? 1 : 0);
    return lines.join(u'\n');
}

QString describeIndexes(const QList<IndexDef> &indexes)
{
    QStringList lines;
    for (const IndexDef &ix : indexes)
        lines << QStringLiteral("%1\t%2\t%3").arg(ix.name, ix.fields).arg(ix.options.toInt());
    return lines.join(u'\n');
}

// Reads the definitions; `whileLocked` runs once the first statement holds the file's read lock.
// `reading`, when given, is left on the description's row: while it is, the read transaction
// lasts.
Definitions readDefinitions(const SqliteDatabase &db, const std::function<void()> &whileLocked,
                            std::optional<SqliteStatement> *reading)
{
    std::optional<SqliteStatement> description = descriptionQuery(db);
    if (!description)
        return readFirstFormat(db, whileLocked);
    if (!description->step())
        garbled(db);
    if (whileLocked)
        whileLocked();
    // Tables of one layout (every firm's firm table, a year's tables and the next year's) have
    // the same description: the one read last is kept parsed.
    struct Parsed
    {
        QByteArray fields;
        QByteArray indexes;
        Definitions definitions;
    };
    thread_local Parsed last;
    const QByteArrayView fields = description->columnText(0);
    const QByteArrayView indexes = description->columnText(1);
    Definitions d;
    if (!last.fields.isEmpty() && fields == last.fields && indexes == last.indexes) {
        d = last.definitions;
    } else {
        d = parseDescription(db, QString::fromUtf8(fields), QString::fromUtf8(indexes));
        last = {fields.toByteArray(), indexes.toByteArray(), d};
    }
    if (reading)
        *reading = std::move(description);
    return d;
}

void storeWithoutRequired(const SqliteDatabase &db)
{
    if (descriptionQuery(db)) {
        Definitions d = read(db);
        for (FieldDef &f : d.fields)
            f.required = false;
        SqliteStatement update =
            db.prepare(QStringLiteral("UPDATE rawen_description SET fields = ?"));
        update.bind(1, describeFields(d.fields));
        update.run();
    } else {
        db.exec(QStringLiteral("UPDATE rawen_fields SET required = 0 WHERE required <> 0"));
    }
}

Definitions read(const SqliteDatabase &db)
{
    return readDefinitions(db, {});
}

void storeDescription(const SqliteDatabase &db, const Definitions &d)
{
    if (!descriptionQuery(db)) {
        db.exec(QStringLiteral("DROP TABLE IF EXISTS rawen_fields; DROP TABLE IF EXISTS "
                               "rawen_indexes; CREATE TABLE rawen_description(fields TEXT NOT "
                               "NULL, indexes TEXT NOT NULL); INSERT INTO rawen_description "
                               "VALUES('', ''); PRAGMA user_version=%1")
                    .arg(kFormatVersion));
    }
    SqliteStatement update =
        db.prepare(QStringLiteral("UPDATE rawen_description SET fields = ?, indexes = ?"));
    update.bind(1, describeFields(d.fields));
    update.bind(2, describeIndexes(d.indexes));
    update.run();
}

} // namespace TableFile
} // namespace rawen
