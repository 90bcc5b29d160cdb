#pragma once

#include <QDate>
#include <QString>

namespace rawen {

class Ustawienia;

// The choices of the first-run window. The old data root to convert joins them once the
// conversion exists: one more kind here and one more row in the window.
enum class RodzajWyboru {
    Istniejacy, // a data root that is already there
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
    QString katalog; // the data root to open, absolute; empty when the choice failed
    QString blad;    // why it failed, for an error box; the window stays open
    QString uwaga;   // the data root opens, but the choice could not be remembered
};

// Carries out the choice: checks an existing data root, or makes the new or the demo one (today
// being `dzis`, the demo's module stand-in `programModuluDemo`), then remembers it in
// `ustawienia` for the next starts. Relative paths count from the application context's current
// directory.
WynikWyboru WykonajWybor(const WyborKatalogu &wybor, QDate dzis, const QString &programModuluDemo,
                         Ustawienia &ustawienia);

} // namespace rawen
