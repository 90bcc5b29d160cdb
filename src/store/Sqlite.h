#pragma once

#include "platform/EngineError.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace rawen {

// Thin owners of SQLite's connection and statement; every failure becomes an EngineError whose
// message starts with `context` (the table file, as the user knows it).
class SqliteStatement
{
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3 *db, sqlite3_stmt *statement, const QString &context);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement &&other) noexcept;
    SqliteStatement &operator=(SqliteStatement &&other) noexcept;

    // Values: invalid QVariant = NULL, qint64/int/bool = integer, double = real,
    // QString = text, QByteArray = blob.
    void bind(int position, const QVariant &value); // 1-based
    bool step();                                    // true while a row is there
    QVariant column(int index) const;               // 0-based, in the same kinds as bind
    qint64 columnInt64(int index) const;            // an integer column (a rowid) as it is
    // A text column's UTF-8 bytes as SQLite holds them, valid until the next step or reset.
    QByteArrayView columnText(int index) const;
    int columnCount() const;
    QString columnName(int index) const;
    void reset();
    void run(); // steps to the end

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_statement = nullptr;
    QString m_context;
};

class SqliteDatabase
{
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    // An existing file, read-write if the file system allows, else read-only; with `readOnly`
    // read-only in any case.
    void open(const QString &path, const QString &context, bool create = false,
              bool readOnly = false);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    bool isReadOnly() const;
    bool inTransaction() const;
    void setBusyTimeout(int milliseconds);

    SqliteStatement prepare(const QString &sql) const;
    void exec(const QString &sql) const;
    QVariant scalar(const QString &sql) const;
    qint64 lastInsertRowid() const;
    sqlite3 *handle() const { return m_db; }
    const QString &context() const { return m_context; }

    // Raises the error SQLite reported for `code`.
    [[noreturn]] static void raise(sqlite3 *db, int code, const QString &context);

private:
    sqlite3 *m_db = nullptr;
    QString m_context;
};

// "name" quoted for SQL, doubled quotes inside.
QString quoteIdentifier(const QString &name);

} // namespace rawen
