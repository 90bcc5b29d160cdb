#pragma once

#include <QList>
#include <QString>

namespace rawen {

// The suite's accounting modules, in the order their availability is tested. The code names
// the module's controls (P, I, L, S followed by the code) and its program (the code and ".EXE"
// in the data root).
struct Modul
{
    const char *kod;
    const char *etykieta;
};

const QList<Modul> &Moduly();

// The module code in the name of one of a module's controls: its characters 2 to 9.
QString KodModulu(const QString &nazwaKontrolki);

// The file whose presence marks the module as installed: data root, lower-case code, ".exe".
QString PlikModulu(const QString &katalogGlowny, const QString &kod);

// Where the module's program is: the data root when it has the module's file (found without
// regard to case), else the installation's modules folder `katalogModulow` when that has it,
// where a package of the suite's modules puts them; empty when neither has it.
QString KatalogModulu(const QString &katalogGlowny, const QString &katalogModulow,
                      const QString &kod);

// How a module is started for the firm of the list item `pozycja` (number, space, name).
struct PolecenieModulu
{
    QString program;        // data root (or modules folder), code, ".EXE"
    QStringList argumenty;  // none for firm 000, else the one parameter DR=
    QString wiersz() const; // the command line: program, one space, the parameter
};

// The firm directory goes after "DR=" with every space turned into "_": `katalogFirmy` (with its
// closing separator) as the firm list found it on the disk, or, when not given, data root,
// "FIRMA", number and separator. The program is the data root's, or the modules folder's when
// only that one has the module (KatalogModulu); a module that neither has is started from the
// data root, which is where its error names it.
PolecenieModulu Polecenie(const QString &katalogGlowny, const QString &nazwaKontrolki,
                          const QString &pozycja, const QString &katalogFirmy = QString(),
                          const QString &katalogModulow = QString());

} // namespace rawen
