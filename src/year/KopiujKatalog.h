#pragma once

#include "year/RegulyKopiiRoku.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

class OknoPostepu;
class Table;

// How a directory copy tells what it does: each line of its log as it happens, and a step of
// the progress window per table (the caller starts and stops the window).
struct PrzebiegKopii
{
    std::function<void(const QString &linia)> dziennik;
    OknoPostepu *postep = nullptr;
    // A copy made under a temporary name (`budowa`) for its place (`miejsce`) names its paths in
    // the log and the results by that place, as the user will find them.
    QString budowa = {};
    QString miejsce = {};
    QString pokaz(const QString &sciezka) const;
};

// What one copy did: the tables it made, with the rule each was made by, and the lines that
// tell what failed.
struct WynikKopii
{
    struct Tabela
    {
        QString zrodlo;
        QString cel;
        RegulaKopiiRoku regula;
        // The source's records in the state the copy was made from, counted in the same read;
        // -1 for a table made empty.
        qint64 rekordyZrodla = -1;
    };
    QList<Tabela> utworzone;
    int istniejace = 0; // targets that were there already and stay as they were
    QStringList bledy;
    // Files named as tables that are no table at all (no table of this program), passed over.
    QStringList pominiete;
};

// The rule for the table at `sciezka`: the last of the year-copy rules whose ending the path
// ends with, without regard to case and with either separator; copied whole when none does.
RegulaKopiiRoku RegulaDla(const QString &sciezka);

// The tables under `zrodlo` at any depth as the copy takes them, relative to it (each a step of
// the progress window, those the copy refuses too).
QStringList TabeleKatalogu(const QString &zrodlo);
int LiczbaTabel(const QString &zrodlo);

// Copies the directory `zrodlo` into `cel`, both without a closing separator: every
// subdirectory to any depth, every table (a name ending in "DB" in any case) made anew by
// KopiujStrukture with its rule, opened on `TS`; other files are passed over. Every source table
// whose records the copy takes passes SQLite's quick check (run on a thread beside the copy)
// before its copy is named.
// Logs "Tworzenie katalogu :", "Tworzenie bazy :" (also for a target that exists, which stays as
// it is) and "Bląd bazy :" with the cause for a table that does not open, is damaged, or is no
// regular file (a FIFO, a directory, a link that leads nowhere), and names a directory it cannot
// read: an error, unless the file is no table of the program at all (PLIK.MDB, an old copy named
// X.DB), which is only passed over. An error raised inside KopiujStrukture (a rule naming a field
// the table lacks), and a table that cannot be made because of the disk itself (full, failing,
// read-only), are logged and end the copy: they reach the caller.
void KopiujKatalog(Table &TS, const QString &zrodlo, const QString &cel,
                   const PrzebiegKopii &przebieg, WynikKopii *wynik = nullptr);

// Checks every table the copy made against the state of its source it was made from, in one
// pass: as many records for a table copied with records, none for a table its rule makes empty,
// and the rule's fields empty in every record. Each mismatch is logged and returned as a line.
QStringList SprawdzKopie(const WynikKopii &wynik, const PrzebiegKopii &przebieg);

// KopiujKatalog and then SprawdzKopie, for a copy that must be whole: every failure, whether it
// ended the copy or was found by the check, is a line of the result's `bledy`, and none is
// raised.
WynikKopii KopiujKatalogISprawdz(Table &TS, const QString &zrodlo, const QString &cel,
                                 const PrzebiegKopii &przebieg);

} // namespace rawen
