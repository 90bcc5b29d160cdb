#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace rawen {

class Table;

// One firm of the register: its list item (number, one space, short name) and its directory as
// it is on the disk, with a closing separator (the data root for firm 000).
struct FirmaWykazu
{
    QString pozycja;
    QString katalog;
};

// What the list shows of a firm whose table another program holds locked: the firm stays in the
// register, its name unread.
QString OpisFirmyZablokowanej();

// The firms of the data root `katalogGlowny` (with a closing separator): "000 " and the short name
// of the root's own firm table, then, for each directory of the root whose name begins with FIRMA
// (in any case), characters 6 to 8 of its name, a space and its firm table's short name. A
// directory whose firm table does not open is left out; one whose table is locked by another
// program is listed, marked. Without a firm table in the root the list is empty. `tabela` is
// pointed at each firm table in turn and left closed.
QList<FirmaWykazu> FirmyWykazu(const QString &katalogGlowny, Table &tabela);

// The list items alone.
QStringList WykazFirm(const QString &katalogGlowny, Table &tabela);

} // namespace rawen
