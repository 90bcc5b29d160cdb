#pragma once

#include "platform/AppContext.h"

#include <QString>
#include <QStringList>

namespace rawen {

// Where the program's data is: one place decides it at start. A folder of tables today; the
// server store's address will be told from a folder here, and nowhere else.

// True when `katalog` is a folder holding the firm table FIRMA.DB or the configuration table
// RAWEN.DB (found without regard to case): a data root the program can start on.
bool JestKatalogiemDanych(const QString &katalog);

// The command line of a start with the main window: `rawen [KATALOG] [rok RRRR]`, in any order.
struct ArgumentyStartu
{
    QString katalog;     // the data root named, empty when none
    QStringList dlaRoku; // what the working-year check reads: "rok" and the year, when given
    QString blad;        // wrong usage, in Polish; empty when none
};
ArgumentyStartu RozbierzArgumentyStartu(const QStringList &argumenty);

enum class ZrodloKatalogu {
    WierszPolecen,   // `rawen KATALOG`
    KatalogProgramu, // the program lives in its data root, as the source build's demo does
    Ustawienia,      // the choice remembered at an earlier start
    Wybor,           // nothing known: the first-run window asks
};

struct KatalogStartu
{
    ZrodloKatalogu zrodlo = ZrodloKatalogu::Wybor;
    QString katalog; // absolute, without a closing separator; empty when the window must ask
    // The command line names no data root: why, for an error box; the program then ends.
    QString blad;
    // The remembered data root is gone: why, for the first-run window to say.
    QString uwaga;
};

// The data root of this start: the one named on the command line, else the executable's own
// directory when it is a data root, else the one remembered, else none (the window asks).
// Relative paths count from the context's current directory.
KatalogStartu UstalKatalogStartu(const AppContext &kontekst, const QString &zWierszaPolecen,
                                 const QString &zapamietany);

// The application context of a run on `katalog`: the data root chosen, tables opened from it
// (the process is to make it its current directory), and `dlaRoku` as the command line the
// working-year check reads. A program that lives in its data root keeps its context as it was.
AppContext KontekstKatalogu(const AppContext &kontekst, const KatalogStartu &katalog,
                            const QStringList &dlaRoku);

// After start-up on `start`, the data root for the settings to remember instead of the one they
// named, or empty: when the start converted an old root named by the settings into a new one
// (`poStarcie` names it), so that the next start opens the new one without asking. A root named
// on the command line, or a program living in its data root, leaves the settings alone.
QString KatalogDoZapamietania(const KatalogStartu &start, const AppContext &poStarcie);

} // namespace rawen
