#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace rawen {

// One way of calling the program, as `rawen --help` and the manual page list it.
struct WierszPomocy
{
    QString wywolanie; // "rawen --demo KATALOG"
    // A paragraph; the lines after the first may each describe an option of the command:
    // spaces, the option with its argument, two spaces or more, what it does.
    QString opis;
};

// What the manual page says beside the ways of calling the program.
struct OpisPodrecznika
{
    QString data;              // of the page, yyyy-mm-dd
    QString katalogInstalacji; // where the installation keeps the modules folder and the rest
    QStringList uwagi;         // the closing notes of `rawen --help`, a paragraph each
};

// The manual page rawen(1) in Polish, in roff (the man macros), made from the same list of ways
// of calling the program that `rawen --help` prints.
QString StronaPodrecznika(const QList<WierszPomocy> &wiersze, const OpisPodrecznika &opis);

} // namespace rawen
