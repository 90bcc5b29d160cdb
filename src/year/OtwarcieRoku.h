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

// Why `tekst` is no year a year directory may be named by, for the user; empty for a year of four
// digits from 1990 to 2100.
QString BladRoku(const QString &tekst);

// Opens the year `rok` of the data directory `katalog` (with a closing separator) from the year
// `zRoku`: logs what it does, makes the year directory (when that fails, for example because it
// exists, `czyKontynuowac` decides), copies the source year into it with KopiujKatalog, checks
// every table it made against its source, puts the year into `wartosci`'s year list and logs
// "KONIEC.". The list holds each year once, in order, and only the years of its own data
// directory: a year opened in another directory stays out of it. A year that BladRoku refuses
// ends the opening before anything is made. An error that ends the copy half-way is logged and
// returned, never raised.
WynikOtwarciaRoku OtworzRok(Table &TS, const QString &katalog, const QString &rok,
                            const QString &zRoku, const PrzebiegKopii &przebieg,
                            const std::function<bool()> &czyKontynuowac,
                            WartosciProgramu *wartosci);

} // namespace rawen
