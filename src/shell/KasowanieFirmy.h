#pragma once

#include <QString>

namespace rawen {

// Firm 000, kept in the data root itself, is never deleted: its list item begins with "000".
bool FirmaWKataloguGlownym(const QString &pozycja);

// Why firm 000 is not deleted, for the user who asked.
QString PowodFirmy000();

// The question before the firm of the list item `pozycja` is deleted: "Czy skasować firmę : "
// and the item's characters 5 to 44, its short name cut to 40 characters.
QString PytanieOKasowanie(const QString &pozycja);

struct WynikKasowania
{
    bool skasowana = false;
    // The directory the firm's data stay in afterwards (where they went, for the user).
    QString katalog;
    // Why the firm is still in the register, for the user; empty when it is not.
    QString blad;
};

// Takes the firm whose directory is `katalogFirmy` (as the disk names it, a closing separator
// allowed) out of the register in one rename: the first letter of the directory's name becomes
// "#" (FIRMA002 becomes #IRMA002), a name the firm list passes over. Nothing inside is touched.
// A name that is taken already (a firm deleted earlier under the same number), in any case, is
// never replaced: the firm then goes to the first free one of #IRMA002-2, #IRMA002-3 ..., and
// `katalog` says where it went.
WynikKasowania SkasujFirme(const QString &katalogFirmy);

// What the user is told after firm `numer` was deleted into `katalog`: where its data stay.
QString OdpowiedzPoKasowaniu(const QString &numer, const QString &katalog);

} // namespace rawen
