#pragma once

#include "data/Session.h"
#include "platform/DurableFiles.h"
#include "store/FieldDefs.h"
#include "store/StoredTable.h"

#include <QBitArray>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVector>

#include <deque>
#include <functional>
#include <memory>

namespace rawen {

class Table;

// A field of a table's current record, reached by name or position. A value object: it stays
// valid while the table keeps its structure.
//
// Text forms (what asString gives and setAsString takes, so that one reads back as the other):
// - texts as they are, cut to the field's size on writing;
// - whole numbers in decimal; booleans "True" and "False" (writing also takes T/F, Tak/Nie, 1/0);
// - numbers with a point and as many digits as the value needs (writing also takes a comma, and
//   spaces that part the thousands, so the display text of an amount goes back as well);
// - dates yyyy-MM-dd, times HH:mm:ss, date-times yyyy-MM-dd HH:mm:ss, with .zzz when there are
//   milliseconds;
// - byte fields one character per byte (Latin-1).
// "" is the empty (null) value of every type.
class Field
{
public:
    Field() = default;
    Field(Table *table, int index) : m_table(table), m_index(index) {}

    bool isValid() const { return m_table != nullptr; }
    int index() const { return m_index; }
    QString fieldName() const;
    TFieldType dataType() const;
    int size() const;
    bool required() const;

    bool isNull() const;
    QString asString() const;
    qint64 asInteger() const; // 0 when empty; raises BadValue for a text that is no number
    double asFloat() const;   // likewise
    bool asBoolean() const;
    QByteArray asBytes() const;
    // What a grid, a printout or a data-aware control shows (FieldValues::toDisplayText):
    // amounts as "1 230,00", other numbers with a decimal comma, booleans "Tak" and "Nie",
    // everything else as asString. setAsString takes it back.
    QString displayText() const;
    // The stored value: invalid for empty, else qint64, double, QString or QByteArray.
    QVariant value() const;

    void setAsString(const QString &text);
    void setAsInteger(qint64 value);
    void setAsFloat(double value);
    void setAsBoolean(bool value);
    void setAsBytes(const QByteArray &bytes);
    void clear();

private:
    const QVariant &stored() const;

    Table *m_table = nullptr;
    int m_index = -1;
};

// A table handle: names a table, opens it in its session's store, and walks its records through
// a cursor that fetches a bounded window of records at a time, so that walking any number of
// records keeps memory flat and holds no lock between calls. The handle keeps the cursor, the
// current record and its edit, the order, range, filter and master link; the store below
// (store/StoredTable) keeps the records.
class Table : public QObject
{
    Q_OBJECT

public:
    enum State { dsInactive, dsBrowse, dsEdit, dsInsert };

    // Null session: the default session.
    explicit Table(Session *session = nullptr, QObject *parent = nullptr);
    ~Table() override;

    Session *session() const { return m_session; }
    void setSession(Session *session);

    // A bare name is resolved in the application's current directory; ".DB" is added when the
    // name does not end with it. An existing file is found without regard to case.
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &name);
    // The table file this handle opens (or has open).
    QString fileName() const;
    // The open table's file with links and relative parts resolved; "" when closed.
    QString canonicalFileName() const;

    bool isOpen() const { return m_stored != nullptr; }
    bool active() const { return isOpen(); }
    // The open table cannot be written (its file lacks the owner's write permission).
    bool isReadOnly() const { return isOpen() && m_readOnly; }
    void setActive(bool active);
    void open();  // raises Missing, Damaged or Locked
    void close(); // an unposted edit is dropped, an unfinished transaction rolled back

    // Definitions: what createTable builds from, and what open reads from the file.
    QList<FieldDef> &fieldDefs() { return m_fieldDefs; }
    const QList<FieldDef> &fieldDefs() const { return m_fieldDefs; }
    QList<IndexDef> &indexDefs() { return m_indexDefs; }
    const QList<IndexDef> &indexDefs() const { return m_indexDefs; }
    void updateFieldDefs(); // from the file, whether the table is open or not
    void updateIndexDefs();

    void createTable();    // replaces a table of that name; the handle stays closed
    void createTableNew(); // the same, but raises Locked when the file exists
    void deleteTable();    // with every companion file
    // Moves this closed table's file over the table at `targetPath` in one atomic step: the
    // target is either the old table, whole, or this one. The handle is named after the target
    // afterwards.
    void replaceTable(const QString &targetPath);

    // A byte-exact copy of this open table's file as a new table at `targetPath`, which must not
    // exist. Raises; nothing is left at the target on failure.
    // `finish`, when given, works on the copy under its temporary name before it is named, so
    // the target appears only once it is finished.
    void copyTo(const QString &targetPath, const FileFinisher &finish = {});
    // Marks every field not required (the records stay as they are).
    void clearRequiredFlags();
    // Empties the named fields in every record, all records or none.
    void emptyFields(const QStringList &fieldNames);
    // Rebuilds this open table for new definitions inside its own file, in one write transaction:
    // every record passes `map` (the texts of its old columns to the new fields'), and the table is
    // either wholly as it was or wholly in the new layout, also after a crash. Meanwhile other
    // programs can read the table but not write it; afterwards every connection to the file sees
    // the new layout, and the file keeps its permissions and owner. Raises Locked when another
    // program holds the table beyond the session's lock timeout. The table is open again on return,
    // on its first record; false when another program changed its description since it was opened,
    // in which case nothing was done.
    [[nodiscard]] bool restructure(const QList<FieldDef> &fields, const QList<IndexDef> &indexes,
                                   const RecordMapper &map, const RecordDescriber &describe = {});
    // batAppendUpdate: every record of `source` (an open table with fields of the same names)
    // is added, or replaces the record with the same primary key.
    void batchAppend(Table &source);

    // Groups posts into one commit; without one every post commits on its own.
    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    // Makes what was posted durable. Raises when the file cannot be written.
    void flushBuffers();
    // For a file no one else can see yet (a temporary being finished before it gets its name):
    // changes go without a rollback journal and without syncs, since a failure throws the whole
    // file away; the caller syncs the file before it names it.
    void writeUnjournaled();

    // Cursor.
    State state() const { return m_state; }
    void first();
    void next();
    bool eof() const { return m_eof; }
    bool isEmpty() const { return !m_hasRecord && m_state != dsInsert; }
    qint64 recordCount() const;
    // True when some record has one of the named fields filled (the view's conditions aside).
    // Raises NoSuchField for a name the table lacks.
    bool anyFilled(const QStringList &fieldNames) const;
    // True when another connection holds the table's write lock: a program is writing it now.
    bool isBeingWritten() const;
    void append();
    void edit(); // on an empty table: append
    void post(); // raises KeyViolation, RequiredMissing, ReadOnly, Locked
    void cancel();
    void refresh();
    // The current record's identity, and going back to it.
    qint64 bookmark() const { return m_hasRecord ? m_rowid : 0; }
    void gotoBookmark(qint64 bookmark);

    int fieldCount() const { return int(m_fieldDefs.size()); }
    Field field(int index);
    Field fieldByName(const QString &name); // raises NoSuchField
    Field findField(const QString &name);   // invalid when there is none
    int fieldIndex(const QString &name) const;

    // The fields read with each record, when a program needs only these (names this table lacks
    // are passed over); any other field is read when first asked for. Empty: every field.
    QStringList fetchedFields() const { return m_fetchedFields; }
    void setFetchedFields(const QStringList &names);

    // Order and view.
    QString indexName() const { return m_indexName; }
    void setIndexName(const QString &name); // "" = primary order; raises NoSuchIndex
    // Records whose key in the current index lies between `start` and `end` (each a list of
    // values for the index's leading fields; an empty list leaves that side open). As in the
    // index order, an empty value sorts before every other.
    void setRange(const QVariantList &start, const QVariantList &end);
    void cancelRange();
    bool hasRange() const { return m_rangeSet; }
    // The filter is a condition over field names in SQL syntax, written by the program.
    QString filter() const { return m_filter; }
    void setFilter(const QString &condition);
    bool filtered() const { return m_filtered; }
    void setFiltered(bool filtered);
    // Master link: only records whose leading fields of the current index equal the master's
    // `masterFields` (";"-joined) of its current record. Follows the master as it moves.
    Table *masterSource() const { return m_master; }
    QString masterFields() const { return m_masterFields; }
    void setMasterSource(Table *master, const QString &masterFields = QString());

    // While disabled, moving and changing records tell no linked control or detail table.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

signals:
    // The current record, its values or the table's state changed.
    void dataChanged();

private:
    friend class Field;
    using Row = StoredRecord;

    void requireOpen() const;
    void requireClosed(const char *operation) const;
    QString context() const;
    QString resolvedPath() const;
    QString pathAsNamed() const; // before the case-blind lookup
    void fault(EngineOp op) const;
    void notify();
    QList<OrderField> orderColumns() const;
    // The records the handle sees and their order, for the store.
    RecordView view() const;
    // The fields the cursor reads with each record, in table order.
    QList<int> selectedColumns() const;
    bool isMissing(int index) const;
    // The value of the current record's field `index`, read now if it was not read with the
    // record.
    const QVariant &currentValue(int index);
    // Reads the current record's field `index` (-1: every field) that was not read with it.
    void loadMissing(int index);
    std::deque<Row> fetch(const Row *after, int limit) const;
    bool reloadCurrent();
    // Reads the current record and the records after it anew; the first record when it is gone.
    void rereadFromCurrent();
    void setCurrent(const Row &row);
    void setCurrent(Row &&row);
    void clearCurrent();
    void forgetOpenState();
    void setValue(int index, const QVariant &storageValue);
    QVariant convertForField(int index, const QVariant &value) const;
    void checkWritable() const;
    void checkBrowseMode();
    void create(bool replace);
    void refuseIfOpen(const QString &path) const;
    const IndexDef *currentIndex() const;
    void onMasterChanged();

    Session *m_session;
    QString m_tableName;
    QString m_openPath; // the open table's file, absolute
    // Its file name, which every error names; a conversion of each value takes it along.
    QString m_openName;
    std::unique_ptr<StoredTable> m_stored;
    bool m_readOnly = false;
    QList<FieldDef> m_fieldDefs;
    QList<IndexDef> m_indexDefs;

    State m_state = dsInactive;
    bool m_eof = true;
    bool m_hasRecord = false;
    qint64 m_rowid = 0;
    QVector<QVariant> m_buffer; // the current record, changed in place while editing
    QBitArray m_missing;        // its fields not read yet; empty when none
    QVector<QVariant> m_saved;  // the current record as stored, for cancel
    QBitArray m_savedMissing;
    qint64 m_savedRowid = 0;
    bool m_savedHasRecord = false;
    QStringList m_fetchedFields;
    // The fields the cursor reads with each record: the fetched ones and those asked for since.
    QBitArray m_wanted;
    bool m_wantsAll = true;
    int m_askedFor = 0;           // fields read one by one since the table was opened
    std::deque<Row> m_ahead;      // records after the current one, fetched in advance
    bool m_aheadComplete = false; // m_ahead holds every record up to the end
    int m_window = 256;           // records the next window reads

    QString m_indexName;
    bool m_rangeSet = false;
    QVariantList m_rangeStart;
    QVariantList m_rangeEnd;
    QString m_filter;
    bool m_filtered = false;
    QPointer<Table> m_master;
    QString m_masterFields;
    QMetaObject::Connection m_masterConnection;
    int m_disableCount = 0;
    bool m_changedWhileDisabled = false;
};

} // namespace rawen
