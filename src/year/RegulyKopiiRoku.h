#pragma once

#include <QList>
#include <QString>

namespace rawen {

// How one table of a year is carried into the next year's directory. `koncowka` is the end of
// the table's path, a subdirectory and a file name joined by "\"; `polaDoCzyszczenia` names the
// fields emptied in every copied record, separated by ";" (empty: none).
struct RegulaKopiiRoku
{
    QString koncowka;
    bool kopiujRekordy;
    QString polaDoCzyszczenia;
};

// The 57 year-copy rules: first the tables that start the year empty, then those whose records
// come along with some fields emptied, then those copied whole. No ending is the end of another,
// so at most one rule matches a path. A table that matches none is copied whole as well.
const QList<RegulaKopiiRoku> &RegulyKopiiRoku();

} // namespace rawen
