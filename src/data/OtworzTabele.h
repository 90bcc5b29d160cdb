#pragma once

#include <QString>

namespace rawen {

class Table;

// Opens the table `nazwa` (without ".DB"; bare or with a path) on `tabela` for the data module:
// explains a table that does not open (only when `opis`, the table's description for the user,
// is given), offers to clear a read-only attribute, brings an old firm table to the current
// layout, and writes the table's structure file once. True when the table is open on return.
[[nodiscard]] bool OtworzTabele(Table &tabela, const QString &nazwa, const QString &opis);

// The post routine: posts a pending edit ("Błąd zapisu" and the edit dropped when that fails)
// and flushes the table. Does nothing on a closed table.
void ZapiszTabele(Table &tabela);

} // namespace rawen
