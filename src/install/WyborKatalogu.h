#pragma once

#include <QDate>
#include <QString>

namespace rawen {

class OknoPostepu;
class Ustawienia;

// The choices of the first-run window.
enum class RodzajWyboru {
    Istniejacy, // a data root that is already there, or an old one of the previous generation
    Nowy,       // a new, empty data root for a new office
    Demo,       // a data root of demonstration data
};

struct WyborKatalogu
{
    RodzajWyboru rodzaj = RodzajWyboru::Istniejacy;
    QString katalog;
    QString skrot; // the new office's short name, for a new data root
};

struct WynikWyboru
{
    QString katalog;        // the data root to open, absolute; empty when the choice failed
    QString blad;           // why it failed, for an error box; the window stays open
    QString uwaga;          // the data root opens, but the choice could not be remembered
    bool anulowany = false; // the user declined the conversion of an old data root
};

// Carries out the choice: checks an existing data root, or makes the new or the demo one (today
// being `dzis`, the demo's module stand-in `programModuluDemo`), then remembers it in
// `ustawienia` for the next starts. Relative paths count from the application context's current
// directory. An existing root of the previous generation (its firm table in the old format),
// which this version cannot open, is converted with the user's consent into a new root beside it
// (as at start-up: KatalogPrzeksztalcenia, the steps shown in `postep`), and the new root is the
// one opened and remembered; the old root is never changed. A data root on a network drive is
// refused (nothing made, nothing remembered) unless the user said to go on.
WynikWyboru WykonajWybor(const WyborKatalogu &wybor, QDate dzis, const QString &programModuluDemo,
                         Ustawienia &ustawienia, OknoPostepu *postep = nullptr);

} // namespace rawen
