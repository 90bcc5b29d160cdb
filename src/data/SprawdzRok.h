#pragma once

namespace rawen {

class Table;
struct WartosciProgramu;

// Settles the working year from the year directories of the data directory, the firm's
// fiscal-year start (OBRDATA of `tabelaFirmy`, which may be null or closed) and the command line
// ("rok" and a year); fills an empty data directory with the program's own and rebuilds the
// year list. Warns when the chosen year has no directory and, from 16 December on, when next
// year's directory is missing.
void SprawdzRok(WartosciProgramu &wartosci, Table *tabelaFirmy);

} // namespace rawen
