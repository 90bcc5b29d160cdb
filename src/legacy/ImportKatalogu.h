#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

class OknoPostepu;

struct OpcjeImportu
{
    QString kodowanie;       // "cp852" or "cp1250" forces one for every table; empty: each its own
    bool mimoBlokad = false; // convert even when lock files say the old root is in use
};

// Where a conversion speaks: a line per table and file to the log, a step per entry to the
// progress window (either may be missing).
struct PrzebiegImportu
{
    std::function<void(const QString &linia)> dziennik;
    OknoPostepu *postep = nullptr;
};

struct WynikImportu
{
    bool udany = false;
    bool odmowa = false; // refused before anything was read (usage, a busy root)
    int tabele = 0;
    int pliki = 0;
    qint64 rekordy = 0;
    qint64 notatki = 0;
    int ostrzezenia = 0;
    QStringList bledy;
    QString podsumowanie; // the closing line, in Polish
};

// Converts the data root of the previous generation `stary` into a new data root `nowy`: every
// table of the old format under the same relative path and name as a table of ours (read back
// and compared), every other file copied as it is, except the old engine's companion and lock
// files. `stary` is only read. `nowy` must not exist (or be an empty folder); it is built under a
// temporary name beside its place and takes its name only when whole, so a run that fails or is
// cut short leaves nothing there, and the next one starts clean.
WynikImportu ImportujKatalogDanych(const QString &stary, const QString &nowy,
                                   const OpcjeImportu &opcje, const PrzebiegImportu &przebieg);

// The lock files under `katalog` that show the old engine's programs at work (PDOXUSRS.NET and
// the .LCK files holding any entry), as paths relative to it.
QStringList AktywneBlokady(const QString &katalog);

// Where the start-up puts the conversion of the data root `stary`: a new folder beside it.
QString KatalogPrzeksztalcenia(const QString &stary);

} // namespace rawen
