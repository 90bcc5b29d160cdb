// The cursor: the current record and a window of the records after it, read with the fetched
// fields from the store by "records after this key" reads.

#include "data/Table.h"
#include "platform/EngineError.h"

namespace rawen {

namespace {

// The first window is small so that opening a big table is quick; later ones larger, and larger
// still as a walk goes on: a walk that has read thousands of records is likely to read many more,
// and each window costs a read transaction, taking and letting go of the file's lock.
constexpr int kFirstWindow = 32;
constexpr int kWindow = 256;
constexpr int kLargestWindow = 2048;
// A program that asks for more than this many fields beyond those it named is likely to read
// them all: the cursor then reads every field with each record.
constexpr int kFewFields = 8;

} // namespace

QList<int> Table::selectedColumns() const
{
    QList<int> columns;
    columns.reserve(m_fieldDefs.size());
    if (m_wantsAll) {
        for (int i = 0; i < m_fieldDefs.size(); ++i)
            columns << i;
        return columns;
    }
    // The order's fields too: the next window is sought from the last record's key.
    QBitArray selected = m_wanted;
    selected.resize(m_fieldDefs.size());
    for (const OrderField &column : orderColumns())
        selected.setBit(column.field);
    for (int i = 0; i < selected.size(); ++i) {
        if (selected.testBit(i))
            columns << i;
    }
    return columns;
}

bool Table::isMissing(int index) const
{
    return index < m_missing.size() && m_missing.testBit(index);
}

const QVariant &Table::currentValue(int index)
{
    if (isMissing(index))
        loadMissing(index);
    return m_buffer[index];
}

void Table::setFetchedFields(const QStringList &names)
{
    // The cursor's records are read with the fields named when the table opens.
    m_fetchedFields = names;
}

void Table::loadMissing(int index)
{
    if (index >= 0 && !m_wantsAll && index < m_wanted.size() && !m_wanted.testBit(index)) {
        m_wanted.setBit(index);
        m_wantsAll = ++m_askedFor > kFewFields;
    }
    QList<int> load;
    for (int i = 0; i < m_missing.size(); ++i) {
        if (m_missing.testBit(i) && (index < 0 || m_wantsAll || i == index))
            load << i;
    }
    if (load.isEmpty())
        return;
    // A record deleted meanwhile by another program has empty fields, as it would have had
    // them all read before.
    const std::optional<Row> found = m_stored->readRecord(m_rowid, load);
    for (int i : std::as_const(load)) {
        m_buffer[i] = found ? found->values[i] : QVariant();
        m_missing.clearBit(i);
    }
    if (m_missing.count(true) == 0)
        m_missing.clear();
    // Records fetched ahead were read without these fields; the next step fetches them anew.
    if (!m_ahead.empty() && m_ahead.front().missing.size() > load.front() &&
        m_ahead.front().missing.testBit(load.front())) {
        m_ahead.clear();
        m_aheadComplete = false;
    }
}

std::deque<Table::Row> Table::fetch(const Row *after, int limit) const
{
    return m_stored->read(view(), selectedColumns(), after, limit);
}

void Table::setCurrent(const Row &row)
{
    m_rowid = row.rowid;
    m_buffer = row.values;
    m_missing = row.missing;
    m_hasRecord = true;
}

void Table::setCurrent(Row &&row)
{
    m_rowid = row.rowid;
    m_buffer = std::move(row.values);
    m_missing = std::move(row.missing);
    m_hasRecord = true;
}

void Table::clearCurrent()
{
    m_rowid = 0;
    m_hasRecord = false;
    m_buffer = QVector<QVariant>(m_fieldDefs.size());
    m_missing.clear();
}

bool Table::reloadCurrent()
{
    if (!m_hasRecord)
        return false;
    const std::optional<Row> row = m_stored->readRecord(m_rowid, selectedColumns());
    if (!row)
        return false;
    setCurrent(*row);
    return true;
}

void Table::first()
{
    requireOpen();
    checkBrowseMode();
    m_ahead = fetch(nullptr, kFirstWindow);
    m_aheadComplete = int(m_ahead.size()) < kFirstWindow;
    m_window = kWindow;
    if (m_ahead.empty()) {
        clearCurrent();
        m_eof = true;
    } else {
        setCurrent(std::move(m_ahead.front()));
        m_ahead.pop_front();
        m_eof = false;
    }
    notify();
}

void Table::next()
{
    requireOpen();
    checkBrowseMode();
    if (!m_hasRecord) {
        m_eof = true;
        return;
    }
    if (m_ahead.empty() && !m_aheadComplete) {
        // The next window is sought from this record's key.
        for (const OrderField &column : orderColumns())
            currentValue(column.field);
        const Row current{m_rowid, m_buffer, {}};
        m_ahead = fetch(&current, m_window);
        m_aheadComplete = int(m_ahead.size()) < m_window;
        m_window = qMin(m_window * 2, kLargestWindow);
    }
    if (m_ahead.empty()) {
        m_eof = true;
        return;
    }
    setCurrent(std::move(m_ahead.front()));
    m_ahead.pop_front();
    m_eof = false;
    notify();
}

qint64 Table::recordCount() const
{
    requireOpen();
    return m_stored->count(view());
}

void Table::refresh()
{
    requireOpen();
    checkBrowseMode();
    rereadFromCurrent();
}

void Table::rereadFromCurrent()
{
    m_ahead.clear();
    m_aheadComplete = false;
    if (reloadCurrent())
        notify();
    else
        first();
}

void Table::gotoBookmark(qint64 bookmark)
{
    requireOpen();
    checkBrowseMode();
    const std::optional<Row> row = m_stored->readRecord(bookmark, selectedColumns());
    if (!row)
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: rekord nie istnieje").arg(context()));
    setCurrent(*row);
    m_ahead.clear();
    m_aheadComplete = false;
    m_eof = false;
    notify();
}

} // namespace rawen
