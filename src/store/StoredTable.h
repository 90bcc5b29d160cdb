#pragma once

#include "platform/DurableFiles.h"
#include "store/EngineOp.h"
#include "store/FieldDefs.h"

#include <QBitArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

#include <deque>
#include <functional>
#include <optional>

namespace rawen {

// A record as the store gives it: its identity in the table and the values read, one per field
// in table order, in their stored forms (invalid for empty, else qint64, double, QString or
// QByteArray). The fields not read are set in `missing`, which is empty when every field was.
struct StoredRecord
{
    qint64 rowid = 0;
    QVector<QVariant> values;
    QBitArray missing;
};

// A field of the order records are read in: the fields of the current index, then the record's
// identity.
struct OrderField
{
    int field;
    bool noCase; // a text field of a case-insensitive index
};

// Which records a table handle sees, and in which order. An empty value sorts before every other.
struct RecordView
{
    QList<OrderField> order;
    // The index of that order, for a message: "" for the primary.
    QString orderName;
    // A condition over field names in SQL syntax, written by the program; "" for none.
    QString filter;
    // The records whose key in the order lies between the two bounds: values of the leading
    // order fields, in their stored forms; an empty list leaves that side open.
    bool ranged = false;
    QVariantList rangeStart;
    QVariantList rangeEnd;
    // Only the records whose leading order fields equal these values (a master link).
    bool linked = false;
    QVariantList link;
};

// One table of a store, open: what the table handle (data/Table) asks of the store below it. It
// holds no lock between calls unless a transaction is open. Every failure raises EngineError,
// naming the table by name().
//
// What every store promises:
// - Each read sees one state of the table, whole: records committed by others before it, none of
//   theirs half-done.
// - Outside a transaction every insert and update is committed and durable when it returns;
//   inside one, all of it is kept or none, also after a crash.
// - A write waits for another program's lock at most the lock timeout given at opening, then
//   raises Locked.
class StoredTable
{
public:
    virtual ~StoredTable() = default;

    // The table as its store names it: an absolute path.
    virtual QString path() const = 0;
    // The same with links and relative parts resolved, to tell whether two handles share a table.
    virtual QString canonicalPath() const = 0;
    // Its file name, which every error names.
    virtual QString name() const = 0;
    // The table cannot be written here (its file lacks the owner's write permission).
    virtual bool isReadOnly() const = 0;
    // The definitions as they were when the table was opened.
    virtual const TableDefinitions &definitions() const = 0;
    // The definitions as they are stored now.
    virtual TableDefinitions readDefinitions() const = 0;

    // Up to `limit` records (none: all) in the view's order after `after` (nullptr: from the
    // first), with the fields `fields` (table order; the order's fields among them) read and the
    // others missing. Raises Damaged when the store gives records out of order (a damaged index),
    // or when its records lack a column of a field read.
    virtual std::deque<StoredRecord> read(const RecordView &view, const QList<int> &fields,
                                          const StoredRecord *after, int limit) = 0;
    // The record `rowid` with `fields` read, whatever the view; nothing when it is gone.
    virtual std::optional<StoredRecord> readRecord(qint64 rowid, const QList<int> &fields) = 0;
    virtual qint64 count(const RecordView &view) = 0;
    // Whether some record has one of the fields filled, whatever the view.
    virtual bool anyFilled(const QList<int> &fields) = 0;
    // True when another program holds the table's write lock: it is writing it now.
    virtual bool isBeingWritten() = 0;

    // A new record with every field's value (an empty autoinc field takes the next number);
    // returns its identity. Raises KeyViolation, Locked, ReadOnly.
    virtual qint64 insert(const QVector<QVariant> &values) = 0;
    // Replaces every field of the record `rowid`; false when another program deleted it.
    virtual bool update(qint64 rowid, const QVector<QVariant> &values) = 0;

    // A write transaction: the write lock is taken at once.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
    // Makes what was written durable; raises when the table can no longer be written.
    virtual void flush() = 0;
    // For a table no one else can see yet (a copy under its temporary name): its changes need
    // neither a journal nor syncs, since a failure throws the whole copy away.
    virtual void writeUnjournaled() = 0;

    // A copy of the whole table as one state of it, as the new table `target` (which must not
    // exist) of the same store. `finish`, when given, works on the copy under its temporary name
    // (a path of the store a table handle opens) before it gets its name. Nothing is left at the
    // target on failure.
    virtual void copyTo(const QString &target, const FileFinisher &finish) = 0;
    // Stores the definitions with no field required; the records stay as they are.
    virtual void clearRequiredFlags() = 0;
    // Empties `fields` in every record: all records or none.
    virtual void emptyFields(const QList<int> &fields) = 0;
    // Adds every record of `source` (its fields of the names in `fields`), replacing a record
    // with the same primary key: all records or none.
    virtual void appendFrom(StoredTable &source, const QStringList &fields) = 0;
    // Rebuilds the table for `target` in one write transaction, every record through `map`;
    // false (and nothing done) when the stored definitions are no longer `expected`. Meanwhile
    // others can read the table but not write it. `checkFault` is called before each step a test
    // may fail.
    [[nodiscard]] virtual bool restructure(const TableDefinitions &expected,
                                           const TableDefinitions &target, const RecordMapper &map,
                                           const RecordDescriber &describe,
                                           const std::function<void(EngineOp)> &checkFault) = 0;
};

} // namespace rawen
