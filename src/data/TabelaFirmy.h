#pragma once

#include "data/EngineError.h"
#include "data/FieldDefs.h"

#include <QList>

namespace rawen {

class Table;

// The firm table's layout: 68 fields, none required, and its two indexes.
const QList<FieldDef> &PolaTabeliFirmy();
const QList<IndexDef> &IndeksyTabeliFirmy();

// Closed handle: creates an empty firm table under its name and leaves it open. Open handle on
// a firm table with fewer fields than the layout: rebuilds it in the layout carrying every
// record over; the old table stays in place until the new one holds every record.
void AktualizujTabeleFirmy(Table &tabela);

// Raised when the rebuild of an old firm table failed and the old table was kept, whole, and
// reopened on the handle. The message says so in words for the user.
class BladPrzebudowyTabeliFirmy : public EngineError
{
public:
    explicit BladPrzebudowyTabeliFirmy(const QString &message)
        : EngineError(EngineError::Io, message)
    {}
};

} // namespace rawen
