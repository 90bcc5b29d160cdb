#pragma once

#include "data/WartosciProgramu.h"

#include <memory>

namespace rawen {

class Printers;
class Processes;
class TDANE;
class TDRUK;
class TPRACA;
class TRAWENF;
class Tzero;

// The program's windows and its data module, owned for the whole run, and the entry routine
// that makes them in order.
class Program
{
public:
    Program(Printers &drukarki, Processes &procesy);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // Start-up up to the message loop: the title and start-up date, the splash window, the
    // data module, then the main, progress and print windows, the splash window gone again.
    // False when the data module opened no table; then no window exists.
    [[nodiscard]] bool start();

    WartosciProgramu wartosci;
    std::unique_ptr<TDANE> DANE;
    std::unique_ptr<TRAWENF> RAWENF;
    std::unique_ptr<TPRACA> PRACA;
    std::unique_ptr<TDRUK> DRUK;

    // What the splash window showed, for those who look back: its label and each value of
    // `budowa`.
    QString napisPowitania;
    QList<int> budowaPowitania;

private:
    Printers &m_drukarki;
    Processes &m_procesy;
    std::unique_ptr<Tzero> zero;
};

} // namespace rawen
