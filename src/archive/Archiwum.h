#pragma once

#include "store/Store.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

class OknoPostepu;

// How an archive or a restore tells what it does: the progress window steps N + 2 times (once
// at the start, once after the data directory's own files, once before each year; the caller
// starts and stops it), and each file may be logged.
struct PrzebiegArchiwum
{
    OknoPostepu *postep = nullptr;
    std::function<void(const QString &linia)> dziennik;
};

// The part of the data an archive holds, relative to its top: the database files of the top,
// of BAZA and of each year of the list (a year listed twice is taken once), and of each of their
// subdirectories (one level).
struct CzescArchiwum
{
    QStringList katalogi; // to make, parents first
    QStringList pliki;
    // Entries refused by name, a line each: one named as a database file that is no regular file
    // (a FIFO, a directory, a link that leads nowhere), a directory that cannot be read.
    QStringList odrzucone;
    int krok = 0; // 0: the top's files, 1: BAZA, 2 + i: the i-th year
};
// `magazyn`: where `korzen` lies (the data root's store, or this machine's disk for an archive).
QList<CzescArchiwum> CzesciArchiwum(const QString &korzen, const QStringList &lata,
                                    const Store &magazyn = Store::current());

struct WynikArchiwum
{
    int pliki = 0;     // files archived
    int tabele = 0;    // tables of the program among them, each checked
    QStringList bledy; // a line for each file that failed, naming it and why
    // What could not be made durable though the archive is whole (DurabilityWatch).
    QStringList ostrzezenia;
    QString katalog;   // the archive directory
    bool udane() const { return bledy.isEmpty(); }
    // "Archiwum sprawdzone: 6 tabel (7 plików)." or the list of failures, and where the archive
    // is, for the final box.
    QString podsumowanie() const;
    // The warnings, each on a line of its own after "Uwaga:", for the end of the box.
    QString uwagi() const;
};

// Archives the database files under the data directory `R` into the archive directory `A`
// (both with a closing separator): each file through a temporary beside its place, synced and
// renamed over the file of an earlier archive, so a failed copy leaves that file whole; a table
// the program holds open is copied as one state of it. Every archived file is then checked: the
// hash of the bytes read back after the sync must be that of the bytes copied, each table of the
// program must open (with `dokladnie`, its copy also pass SQLite's integrity check), and every
// table file (type key DB) of the data must be a database that passes SQLite's quick check (run
// on a thread beside the copy): a damaged one, or one that is no database, is copied all the
// same and listed as a failure. An entry named as a database file that is no regular file is
// named and never opened. A target that is, holds or lies in the data of `R` (BladMiejscaArchiwum)
// is refused before anything is written. Missing parents of `A` are made. The walk goes on past a
// failure and lists it.
WynikArchiwum Archiwizuj(const QString &R, const QString &A, const QStringList &lata,
                         const PrzebiegArchiwum &przebieg, bool dokladnie);

struct WynikOdtworzenia
{
    int pliki = 0;
    QString kopiaBezpieczenstwa; // where the replaced live files were put first; "" when none
    QStringList bledy;
    // What could not be made durable though the files are whole (DurabilityWatch).
    QStringList ostrzezenia;
    bool udane() const { return bledy.isEmpty(); }
    QString podsumowanie() const;
};

// Restores the archive `A` into the data directory `R` for the years of the live year list.
// First a consistent copy of every live file it will replace goes into the safety folder
// R + "ODTWARZANIE-" + `znacznik`, laid out as an archive and complete before anything live is
// touched (the same window can restore from it). Then each archived table is written into its
// live file through SQLite (the backup API, one transaction per table): the file, its
// permissions and other programs' connections stay valid, and a table another program holds is
// reported and left as it is. A live file that is no table of this program is replaced by
// rename, and a file missing from the data is made new. No journal of the old file is left beside
// a restored table, nor played into it.
WynikOdtworzenia Odtworz(const QString &A, const QString &R, const QStringList &lata,
                         const PrzebiegArchiwum &przebieg, const QString &znacznik,
                         int czekanieNaBlokade = 2000);

} // namespace rawen
