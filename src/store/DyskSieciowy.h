#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

class Konsola;

// Whether a data root of SQLite files may be used where it lies. SQLite's locks, which keep two
// programs from writing one table at once, are not safe on a network file system (SMB/CIFS, NFS
// and the like): two desks working on one table there can corrupt it. Such a data root is
// refused unless the user has said to go on all the same, and then it is used with a warning.
struct OcenaDysku
{
    // The network file system the directory lies on ("NFS", "SMB/CIFS"); "" on a local disk.
    QString rodzaj;
    // Nothing may be done there.
    bool odmowa = false;
    // What the user is told: why it is refused and what to do, or the warning when going on;
    // "" on a local disk.
    QString komunikat;
};

// How the user said to go on on a network drive, for the warning: "" when not said.
struct ZgodaNaDyskSieciowy
{
    bool opcja = false;      // --mimo-dysku-sieciowego on the command line
    bool ustawienie = false; // the program's setting, MimoDyskuSieciowego=1
    QString plikUstawien;    // where the setting is kept, for the refusal's advice
    bool udzielona() const { return opcja || ustawienie; }
};

// Looks at the file system of `katalog` (the data root, or a directory of its data), or of the
// nearest of its parents that exists.
OcenaDysku SprawdzDyskSieciowy(const QString &katalog, const ZgodaNaDyskSieciowy &zgoda);

// The option's name, as every command and the start-up take it.
QString OpcjaMimoDyskuSieciowego();

// The program's settings key (platform/Registry) and its value that, set to 1, lets every start
// and command go on on a network drive.
QString KluczUstawienProgramu();
QString WartoscMimoDyskuSieciowego();

// What the user said for this run: the option (in the application context) or the setting.
ZgodaNaDyskSieciowy ZgodaUruchomienia();

// For a command, before it touches anything: false, with the reason on standard error, when one
// of `katalogi` is refused; a warning there (one for each network drive) when the user said to
// go on.
bool DyskDoPolecenia(const QStringList &katalogi, Konsola &konsola);

} // namespace rawen
