#pragma once

#include "store/FieldDefs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace rawen {

class TabelaParadox;

struct IndeksyParadox
{
    QList<IndexDef> indeksy; // the primary first, then the secondary ones by file name
    QStringList ostrzezenia; // index files missing or unreadable, each gone on without
    QStringList pliki;       // the index files read (names as on the disk)
};

// The indexes of a table of the previous generation: the primary key from the header's key
// fields (its .PX is only checked to be there and readable), and each secondary index from its
// .Xnn (one field, nn its number in hex) or .XGn file (its fields and name in the file's own
// header). An index file that cannot be used is named in a warning and left out: the records
// are the table's, an index can be made again.
IndeksyParadox CzytajIndeksyParadox(TabelaParadox &tabela);

} // namespace rawen
