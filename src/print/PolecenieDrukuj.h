#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace rawen {

class DrukarkaWindows;
class Konsola;

// The Windows printer of `rawen --drukuj --kanal 0`: the PDF printer writing `plikPdf` when one
// is named, else the system's current printer. Made by the program, which has the widgets; null
// when there is no printer to make.
using DrukarkaPolecenia = std::function<std::unique_ptr<DrukarkaWindows>(const QString &plikPdf)>;

// rawen --drukuj TABELA.DB [--kanal 0..3] [--plik PLIK] [--pola A;B;C] [--sumy LP;KWOTA;...]
// [--tytul TEKST]: prints a table of the engine as an extended grid (DrukujTabeleX) with a
// column for each field, or for each field named, as wide as its values, numbers to the right,
// totals of the fields named in the sum list and numbered rows when it begins with LP. The job is
// unbuffered, on the channel named (by default the text file without cutting), into PLIK or,
// for the text channels without one, on standard output. Everything else comes from the stored
// print settings, as a print from a window would use them; the page header's user name is the
// short name of the firm table in the current directory. Messages go to `konsola`, the progress
// line too when the table is not printed on the terminal itself.
// Returns the exit status: 0 printed (or an empty table, nothing to print), 1 failed, 2 wrong
// usage (an unknown option or field, a channel that is none, no table).
int PolecenieDrukuj(const QStringList &argumenty, Konsola &konsola,
                    const DrukarkaPolecenia &drukarka = {});

// Whether the command draws on the Windows printer with these arguments (--kanal 0), which
// needs the widgets.
bool PolecenieDrukujNaDrukarce(const QStringList &argumenty);

// The command's syntax and description for `rawen --help`.
QString SkladniaPoleceniaDrukuj();
QString OpisPoleceniaDrukuj();

} // namespace rawen
