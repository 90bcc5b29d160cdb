#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace rawen {

class ArgumentyPolecenia;
class Konsola;

// A firm a command without a window works on.
struct FirmaPolecenia
{
    QString numer;         // "000" to "999"
    QString nazwa;         // the short name of its firm table, "" when unknown
    QString katalogFirmy;  // where its firm table is, with a closing separator
    QString katalogDanych; // where its years and BAZA are: firm 000's DR, else katalogFirmy
    // "Firma 001 (Sklep)" for the command's lines.
    QString opis() const;
};

// The data root a command names as its last argument, or the program's own directory; with a
// closing separator. Nothing (and a message) when it is no directory.
std::optional<QString> KatalogGlownyPolecenia(const QString &podany, Konsola &konsola);

// The firms `--firma NNN` or `--wszystkie-firmy` (every firm of the register, in number order)
// choose under the data root; firm 000 by default. Nothing when a firm named does not exist or the
// register is empty, after a message; the options' usage errors are the caller's to check first
// (`--firma` three digits, not both options).
std::optional<QList<FirmaPolecenia>> FirmyPolecenia(const ArgumentyPolecenia &argumenty,
                                                    const QString &katalogGlowny, Konsola &konsola);

// The usage errors of the two options, in Polish; "" when none.
QString BladOpcjiFirm(const ArgumentyPolecenia &argumenty);

} // namespace rawen
