#pragma once

#include <QString>

namespace rawen {

// The published check digits of the Polish identification numbers, as hints for the company
// data form: nothing here refuses or changes a value, since users keep odd ones on purpose.

enum class WynikSprawdzenia {
    Pusty,     // nothing typed: nothing to say
    Poprawny,  // the check digits agree
    ZlaPostac, // not the number of digits the number has
    ZlaSuma,   // the digits are there, the check digit disagrees
};

// NIP: ten digits, written with or without hyphens and spaces, with or without "PL" in front.
WynikSprawdzenia SprawdzNIP(const QString &tekst);
// REGON: nine digits, or fourteen of a local unit; hyphens and spaces are passed over.
WynikSprawdzenia SprawdzREGON(const QString &tekst);
// PESEL: eleven digits.
WynikSprawdzenia SprawdzPESEL(const QString &tekst);
// NRB, the bank account number: 26 digits, with or without "PL" in front and spaces between.
WynikSprawdzenia SprawdzNRB(const QString &tekst);

// The hint for the status bar about the number called `nazwa` ("NIP", "REGON", "PESEL", "NRB");
// empty when there is nothing to say.
QString UwagaDoNumeru(const QString &nazwa, WynikSprawdzenia wynik);

} // namespace rawen
