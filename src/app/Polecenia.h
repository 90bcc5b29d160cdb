#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

// A command of the program run without its main window: `rawen --NAME ARGUMENTS`. Every command
// speaks one way: Polish option names, `--help`, messages on standard error, a progress line
// only on a terminal, and the exit status 0 on success, 1 when something failed, 2 for wrong
// usage.
struct Polecenie
{
    QString nazwa;    // "--demo"
    QString skladnia; // "KATALOG"
    QString opis;     // what `rawen --help` says of it, in a line or two
    // Whether it needs the widgets (a window, a printer) for these arguments; none: never.
    std::function<bool(const QStringList &argumenty)> okna;
    // It needs the widgets only to print, not to show anything: without a screen they run on
    // the offscreen platform.
    bool bezEkranu = false;
    // Runs with the arguments after the name; returns the exit status.
    std::function<int(const QStringList &argumenty)> wykonaj;
};

const QList<Polecenie> &Polecenia();

// What `rawen --help` prints.
QString OpisPolecen();

// Runs the command argv[1] names (with its application object made first); the exit status.
// `mimoDyskuSieciowego`: the option --mimo-dysku-sieciowego was given (and taken off argv).
int WykonajPolecenie(int argc, char *argv[], bool mimoDyskuSieciowego = false);

// Takes every `opcja` off the command line, wherever it stands; whether there was one.
bool ZdejmijOpcje(int &argc, char *argv[], const char *opcja);

} // namespace rawen
