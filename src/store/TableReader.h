#pragma once

#include "store/TableFile.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

struct sqlite3_stmt;

namespace rawen {

class SqliteDatabase;

// Every record of a closed table read once in one pass, as a check after a conversion reads it:
// the file opened read-only as the engine opens any table (refused unless it is a whole table of
// ours with a column for every field), then one query over every field in the file's order of
// records, each value given as the file holds it, without a copy.
class TableReader
{
public:
    // Raises EngineError as Table::open does.
    explicit TableReader(const QString &path);
    ~TableReader();
    TableReader(const TableReader &) = delete;
    TableReader &operator=(const TableReader &) = delete;

    const TableFile::Definitions &definitions() const { return m_definitions; }

    // Moves to the next record; false after the last. Raises EngineError when reading fails.
    bool next();

    enum class Kind { Null, Integer, Real, Text, Bytes };
    // The current record's field `field` (by position): what it is stored as, and its value.
    // Views stay valid until the next call of next().
    Kind kind(int field) const;
    qint64 integer(int field) const;
    double real(int field) const;
    QStringView text(int field) const;
    // A text as the file keeps it, in UTF-8.
    QByteArrayView utf8(int field) const;
    QByteArrayView bytes(int field) const;

private:
    QString m_context;
    TableFile::Definitions m_definitions;
    std::unique_ptr<SqliteDatabase> m_db;
    sqlite3_stmt *m_select = nullptr;
};

} // namespace rawen
