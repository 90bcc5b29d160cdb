#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

class AppContext;

// The values start-up settles for the whole run. One instance, owned by the program and handed
// to the windows and routines that read or change them.
struct WartosciProgramu
{
    // The application title: at first the default made from the executable's name, "RAWEN 2.0"
    // once the data module exists.
    QString tytul;
    // Today, taken once at start: yyyy.mm.dd.
    QString dataStartu;
    // Four digits; the year firm creation copies and the year opening starts from.
    QString rokRoboczy;
    // Where the year directories are: the firm table's DR, else the program's own directory;
    // a path with a closing separator, or empty until the working-year check fills it.
    QString katalogDanych;
    // SKROT of the firm table opened at start; printed in page headers.
    QString uzytkownik;
    // Four-character names of the year directories, ascending, each once.
    QStringList listaLat;
    // Set when the data module opened neither of its tables.
    bool bladStartu = false;

    // Puts the year into the year list in its place, unless it is there already.
    void dodajRok(const QString &rok);

    // Start-up date and initial working year from today's date of `context`.
    void ustawDateStartu(const AppContext &context);

    // The framework's default title: the executable's file name up to its first dot, every
    // letter after the first in lower case ("RAWEN.EXE" gives "Rawen").
    static QString tytulDomyslny(const QString &executablePath);
};

} // namespace rawen
