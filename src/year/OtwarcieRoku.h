#pragma once

#include "year/KopiujKatalog.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

class Table;
struct WartosciProgramu;

// What opening a year did.
struct WynikOtwarciaRoku
{
    bool przerwane = false;  // the user did not go on past the question
    bool zakonczone = false; // the copy ran to its end ("KONIEC." logged)
    WynikKopii kopia;
    QStringList niezgodnosci; // what the check of the new year found
    QString bladKrytyczny;    // what ended the copy before its end

    // Everything that went wrong, a line each; empty for a complete year.
    QStringList bledy() const;
};

// Opens the year `rok` of the data directory `katalog` (with a closing separator) from the year
// `zRoku`: logs what it does, makes the year directory (when that fails, for example because it
// exists, `czyKontynuowac` decides), copies the source year into it with KopiujKatalog, checks
// every table it made against its source, appends the year to `wartosci`'s year list and logs
// "KONIEC.". An error that ends the copy half-way is logged and returned, never raised.
WynikOtwarciaRoku OtworzRok(Table &TS, const QString &katalog, const QString &rok,
                            const QString &zRoku, const PrzebiegKopii &przebieg,
                            const std::function<bool()> &czyKontynuowac,
                            WartosciProgramu *wartosci);

} // namespace rawen
