#pragma once

#include <QStringList>

namespace rawen {

class Table;
struct WartosciProgramu;

// Settles the working year from the year directories of the data directory, the firm's
// fiscal-year start (OBRDATA of `tabelaFirmy`, which may be null or closed) and the command line
// ("rok" and a year); fills an empty data directory with the program's own and rebuilds the
// year list. Warns when the chosen year has no directory and, from 16 December on, when next
// year's directory is missing.
void SprawdzRok(WartosciProgramu &wartosci, Table *tabelaFirmy);

// The year list of a data directory: the four first characters of each directory whose name
// begins with 1 or 2, ascending.
QStringList ListaLat(const QString &katalog);

} // namespace rawen
