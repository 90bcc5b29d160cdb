#pragma once

#include "store/FieldDefs.h"

#include <QByteArray>
#include <QList>

class QIODevice;

namespace rawen {

// The structure file written once beside a table for support: a header line, one line per field
// (name in a 40-character column, two-digit type code, required mark, size), one line per index
// (name and field list in 40-character columns) and an end line; Windows-1250, CR LF.
QByteArray TrescPlikuStruktury(const QList<FieldDef> &pola, const QList<IndexDef> &indeksy);

// Writes that text to the open `plik` and flushes it; raises EngineError(Io) when the bytes do
// not all reach the file.
void ZapiszPlikStruktury(QIODevice &plik, const QList<FieldDef> &pola,
                         const QList<IndexDef> &indeksy);

} // namespace rawen
