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
    bool przerwane = false;   // the user did not go on past the question
    bool zakonczone = false;  // the year is there and whole ("KONIEC." logged)
    bool nowyKatalog = false; // the year directory did not exist before this run
    WynikKopii kopia;
    QStringList niezgodnosci; // what the check of the new year found
    QString bladKrytyczny;    // what ended the run before its end
    // What could not be made durable though the year is whole (DurabilityWatch), a line each.
    QStringList ostrzezenia;

    // Everything that went wrong, a line each; empty for a complete year.
    QStringList bledy() const;
};

// Why `tekst` is no year a year directory may be named by, for the user; empty for a year of four
// digits from 1990 to 2100.
QString BladRoku(const QString &tekst);

// Opens the year `rok` of the data directory `katalog` (with a closing separator) from the year
// `zRoku`: logs what it does, checks first that the source can be read and that every path the
// copy will make fits the storage engine, then copies the source year with KopiujKatalog and
// checks every table it made against its source. A new year is built under a temporary name
// beside its place and takes its name only once it is whole, so a run that fails (a full disk, a
// damaged source) leaves no year behind for the year list to count; an existing year (only when
// `czyKontynuowac` says so) gets its missing tables in place. A whole year is appended to
// `wartosci`'s year list and "KONIEC." is logged. The list holds each year once, in order, and
// only the years of its own data directory: a year opened in another directory stays out of it.
// A year that BladRoku refuses ends the opening before anything is made. An error that ends the
// run is logged and
// returned, never raised.
WynikOtwarciaRoku OtworzRok(Table &TS, const QString &katalog, const QString &rok,
                            const QString &zRoku, const PrzebiegKopii &przebieg,
                            const std::function<bool()> &czyKontynuowac,
                            WartosciProgramu *wartosci);

} // namespace rawen
