#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

class Table;

// The items of the firm list for the data root `katalogGlowny` (with a closing separator):
// "000 " and the short name of the root's own firm table, then, for each directory of the root
// whose name begins with FIRMA, characters 6 to 8 of its name, a space and its firm table's short
// name. A directory whose firm table does not open is left out; without an openable firm table in
// the root the list is empty. `tabela` is pointed at each firm table in turn and left closed.
QStringList WykazFirm(const QString &katalogGlowny, Table &tabela);

} // namespace rawen
