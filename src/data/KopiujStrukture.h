#pragma once

#include <QString>

#include <functional>

namespace rawen {

class Table;

// What a caller may ask of a copy besides the table itself.
struct DodatkiKopii
{
    // Runs just before the new table gets its name (a check of the model the copy waited for).
    // What it raises ends the copy with nothing made and reaches the caller as it is, with no
    // message shown.
    std::function<void()> przedNazwaniem;
    // Receives the number of the model's records the copy holds, counted in the same read as the
    // copy (a copy with records only).
    qint64 *rekordy = nullptr;
    // Receive why the table could not be made and the system's error number behind it (0 when
    // the system named none).
    QString *przyczyna = nullptr;
    int *bladSystemu = nullptr;
};

// Creates a new table at `sciezka` (the full path of its ".DB" file) with the fields and
// indexes of the open table `wzor`, none of the fields required; with `kopiujRekordy` it holds
// all of the model's records, with the fields named in `polaDoCzyszczenia` (";"-separated)
// emptied. Never touches an existing file: false when one is at the path. False, after the
// message "Nie mozna utworzyć tabeli" (followed by the table and the cause), when the table
// cannot be made. A model found damaged while it is read raises EngineError::Damaged, with no
// message: the caller names the model.
[[nodiscard]] bool KopiujStrukture(Table &wzor, const QString &sciezka, bool kopiujRekordy,
                                   const QString &polaDoCzyszczenia,
                                   const DodatkiKopii &dodatki = {});

} // namespace rawen
