#pragma once

namespace rawen {

class Table;

// What data-aware controls bind to: a name for a table that the table's owner may repoint,
// close or reopen while the controls stay bound.
class DataSource
{
public:
    explicit DataSource(Table *dataSet = nullptr) : m_dataSet(dataSet) {}

    Table *dataSet() const { return m_dataSet; }
    void setDataSet(Table *dataSet) { m_dataSet = dataSet; }

private:
    Table *m_dataSet;
};

} // namespace rawen
