#pragma once

#include "year/KopiujKatalog.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

class Table;

// Where a new firm goes.
struct MiejsceFirmy
{
    int numer = 0;
    // The firm directory: the data root, FIRMA and the number (or the spelling the disk has for
    // a directory that is used again), without a closing separator.
    QString katalog;
    // The directory is one an earlier creation of this run left behind when it failed.
    bool zPoprzedniejProby = false;
    // Why no firm can be made now, for the user; empty when one can.
    QString blad;
};

// The number and directory of a new firm in the data root `katalogGlowny` (with a closing
// separator), from the items of the firm list (each begins with its firm's three-digit number):
// one more than the highest number in the register. A number whose directory is there already
// and holds anything but this program's temporaries is passed over, so that a new firm never
// takes over what another left (a firm whose table did not open, a copy put there by hand);
// only the directories of `pozostawione`, left by this run's failed creations, are used again.
// Nothing can be made with an empty list (no firm table in the data root), past number 999, or
// while the templates of a new firm (the working year `rokRoboczy` and BAZA in the data root)
// are missing; `blad` then says so and nothing has been touched.
MiejsceFirmy MiejsceNowejFirmy(const QString &katalogGlowny, const QStringList &pozycje,
                               const QString &rokRoboczy, const QStringList &pozostawione = {});

// What firm creation asks of the windows. Any of them may be left empty.
struct KrokiNowejFirmy
{
    // The company data form, shown modally on TFIRMA, which is open on the new firm's table; the
    // form saves its record when it closes.
    std::function<void()> daneFirmy;
    // Asked once the form has closed with neither the firm's name (NAZWA1) nor its short name
    // (SKROT): whether to make the firm without a name all the same. Without it the firm is made.
    std::function<bool()> bezNazwy;
    // The year form shown while the templates are copied, and hidden again afterwards, whatever
    // happened meanwhile.
    std::function<void()> pokazPrzygotowanie;
    std::function<void()> ukryjPrzygotowanie;
    // Copies a template directory into the firm's and checks the copy (KopiujKatalogISprawdz),
    // logging its work; without it the copy runs silently on a table of its own.
    std::function<WynikKopii(const QString &zrodlo, const QString &cel)> kopiujKatalog;
};

struct WynikNowejFirmy
{
    bool utworzona = false;
    // The user chose not to make a firm without a name: what the creation had made is gone
    // again (what an earlier failed try left stays, without its firm table).
    bool zaniechana = false;
    // The firm list's item (number, a space, the short name) and the firm directory with a
    // closing separator.
    QString pozycja;
    QString katalog;
    // What went wrong, a line each.
    QStringList bledy;
    // The firm table TFIRMA had open before did not open again.
    QString bladPowrotu;
};

// Creates the firm of `miejsce`: its directory; its firm table through `Table1`, empty
// (AktualizujTabeleFirmy), or the one an earlier failed try of this run left; TFIRMA pointed at
// it and opened for the company data; the directories of the working year and BAZA, copied from
// the data root's. A firm left without a name goes on only when `bezNazwy` says so; otherwise its
// firm table and its directory, both new, are removed. Whatever fails from opening the firm table
// on ends the creation with `bledy` filled; what was made stays on the disk. Afterwards both tables
// are closed and TFIRMA is named and, when it was open, opened again as before, so the data module
// keeps its firm.
WynikNowejFirmy UtworzFirme(Table &TFIRMA, Table &Table1, const MiejsceFirmy &miejsce,
                            const QString &katalogGlowny, const QString &rokRoboczy,
                            const KrokiNowejFirmy &kroki);

} // namespace rawen
