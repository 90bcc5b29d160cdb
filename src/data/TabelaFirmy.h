#pragma once

#include "platform/EngineError.h"
#include "store/FieldDefs.h"

#include <QList>

namespace rawen {

class Table;

// The firm table's layout: 68 fields, none required, and its two indexes.
const QList<FieldDef> &PolaTabeliFirmy();
const QList<IndexDef> &IndeksyTabeliFirmy();

// Closed handle: creates an empty firm table under its name and leaves it open. Open handle on
// a writable firm table with fewer fields than the layout: rebuilds it in the layout inside its
// own file, carrying every record over, all or nothing (Table::restructure). A read-only table
// is left as it is.
void AktualizujTabeleFirmy(Table &tabela);

// Raised when the rebuild of an old firm table failed or was put off (another program holds the
// table) and the old table was kept, whole, open on the handle. The message says so in words for
// the user, with the cause.
class BladPrzebudowyTabeliFirmy : public EngineError
{
public:
    explicit BladPrzebudowyTabeliFirmy(const QString &message)
        : EngineError(EngineError::Io, message)
    {}
};

} // namespace rawen
