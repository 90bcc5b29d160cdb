#pragma once

#include <QString>

namespace rawen {

class Table;

// Creates a new table at `sciezka` (the full path of its ".DB" file) with the fields and
// indexes of the open table `wzor`, none of the fields required; with `kopiujRekordy` it holds
// all of the model's records, with the fields named in `polaDoCzyszczenia` (";"-separated)
// emptied. Never touches an existing file: false when one is at the path. False, after the
// message "Nie mozna utworzyć tabeli", when the table cannot be made.
[[nodiscard]] bool KopiujStrukture(Table &wzor, const QString &sciezka, bool kopiujRekordy,
                                   const QString &polaDoCzyszczenia);

} // namespace rawen
