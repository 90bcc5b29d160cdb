#pragma once

#include "store/TableFile.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

struct sqlite3_stmt;

namespace rawen {

class SqliteDatabase;
class TemporaryFile;

// A new table filled with many records in one pass, as a conversion from another format fills
// it: the file is built under a hidden temporary name beside its place, without a journal (no one
// can see it, and a failure throws it away), the records through one prepared statement in one
// transaction, the indexes after the records (far cheaper than keeping them up to date record by
// record); finish() syncs it and gives it its name, only while that name is free. Destroyed
// unfinished, it leaves nothing behind.
class TableLoader
{
public:
    // Raises EngineError as TableFile::create does (BadValue for definitions no table can have,
    // Io when the directory refuses the file, Locked when `path` exists).
    TableLoader(const QString &path, const TableFile::Definitions &definitions);
    ~TableLoader();
    TableLoader(const TableLoader &) = delete;
    TableLoader &operator=(const TableLoader &) = delete;

    // The values of the next record, by field position; a field not bound is empty. Texts and
    // bytes must stay alive until append() returns. A text is cut to its field's size as every
    // write of the engine cuts it.
    void bindNull(int field);
    void bindInteger(int field, qint64 value);
    void bindReal(int field, double value);
    void bindText(int field, QStringView text);
    // A text already in UTF-8, the form the file keeps: no conversion on the way.
    void bindTextUtf8(int field, QByteArrayView utf8);
    void bindBytes(int field, QByteArrayView bytes);
    // Adds the record bound so far; raises EngineError (KeyViolation comes only at finish(),
    // when the unique indexes are made).
    void append();
    qint64 appended() const { return m_appended; }

    // Makes the indexes (KeyViolation naming the index when the records break a unique one),
    // commits, syncs and moves the file to its name (Locked when the name was taken meanwhile).
    void finish();

private:
    QString m_path;
    QString m_context;
    TableFile::Definitions m_definitions;
    std::unique_ptr<TemporaryFile> m_temporary;
    std::unique_ptr<SqliteDatabase> m_db;
    sqlite3_stmt *m_insert = nullptr;
    qint64 m_appended = 0;
};

} // namespace rawen
