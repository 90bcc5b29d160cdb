#pragma once

#include "platform/FileNames.h"
#include "store/Sqlite.h"
#include "store/StoredTable.h"

#include <QHash>

#include <memory>

namespace rawen {

// A table of the folder store, open: one SQLite database per table (see TableFile), the
// records in its table "records", read by "records after this key" queries through a cache of
// prepared statements.
class SqliteStoredTable final : public StoredTable
{
public:
    explicit SqliteStoredTable(const QString &path);
    ~SqliteStoredTable() override;

    // Opens the file as `file` found it; `readFirst` runs with the definitions read, in the same
    // read transaction.
    void open(const FileState &file, int lockTimeoutMs, const std::function<void()> &readFirst);

    QString path() const override { return m_path; }
    QString canonicalPath() const override;
    QString name() const override { return m_name; }
    bool isReadOnly() const override { return m_readOnly; }
    const TableDefinitions &definitions() const override { return m_definitions; }
    TableDefinitions readDefinitions() const override;

    std::deque<StoredRecord> read(const RecordView &view, const QList<int> &fields,
                                  const StoredRecord *after, int limit) override;
    std::optional<StoredRecord> readRecord(qint64 rowid, const QList<int> &fields) override;
    qint64 count(const RecordView &view) override;
    bool anyFilled(const QList<int> &fields) override;
    bool isBeingWritten() override;

    qint64 insert(const QVector<QVariant> &values) override;
    bool update(qint64 rowid, const QVector<QVariant> &values) override;

    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;
    void flush() override;
    void writeUnjournaled() override;

    void copyTo(const QString &target, const FileFinisher &finish) override;
    void clearRequiredFlags() override;
    void emptyFields(const QList<int> &fields) override;
    void appendFrom(StoredTable &source, const QStringList &fields) override;
    bool restructure(const TableDefinitions &expected, const TableDefinitions &target,
                     const RecordMapper &map, const RecordDescriber &describe,
                     const std::function<void(EngineOp)> &checkFault) override;

private:
    struct Condition
    {
        QString sql;
        QVariantList parameters;
    };

    const QList<FieldDef> &fields() const { return m_definitions.fields; }
    // Raises Damaged unless the records have a column for each of these fields; once all are
    // found, asks no more.
    void checkColumns(const QList<int> &columns) const;
    QString columnSql(const OrderField &column) const;
    Condition condition(const RecordView &view) const;
    std::deque<StoredRecord> fetchAll(const QList<int> &columns, const QString &where,
                                      const QVariantList &parameters, const QString &orderBy,
                                      int limit) const;
    // Raises Damaged unless `rows` follow `after` and each other in the order's key and rowid.
    void checkOrder(const RecordView &view, const StoredRecord *after,
                    const std::deque<StoredRecord> &rows) const;
    // Runs `work` so that its changes are made all together or not at all.
    void allOrNothing(const std::function<void()> &work);
    // A prepared statement for `sql`, kept while the table is open; reset and unbound.
    std::shared_ptr<SqliteStatement> statement(const QString &sql) const;

    QString m_path; // absolute
    QString m_name;
    SqliteDatabase m_db;
    bool m_readOnly = false;
    TableDefinitions m_definitions;
    mutable QHash<QString, std::shared_ptr<SqliteStatement>> m_statements;
    mutable bool m_columnsChecked = false;
};

} // namespace rawen
