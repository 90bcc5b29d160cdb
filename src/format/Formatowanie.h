#pragma once

#include <QChar>
#include <QString>

// Text routines shared by the whole program: the picture formatter for numbers, space removal,
// character repetition and cutting or padding to a column width. All are pure functions; "space"
// is the character 32 only.
namespace rawen {

// Formats a number by a picture mask; the result always has exactly the mask's length.
//
// Mask characters: "9" is a digit position showing leading zeros, "#" a digit position that shows
// a space while only zeros have been placed so far, "." or "," the decimal separator (copied as
// it is), anything else a literal copied as it is. The value is written with as many decimals as
// there are digit positions after the separator, rounded half away from zero on its decimal
// expansion cut to 18 digits (counted from the first significant digit, or from the units digit
// below 10); digits beyond those 18 read as 0. A negative value, minus zero included, takes a
// minus sign in the digit position just before its first digit. A value that does not fit the
// digit positions, is not finite, or reaches 10^36 in magnitude shows "#" in every digit position.
//
// A mask with several separators: the last one is the decimal separator and the earlier ones
// are grouping marks ("#,##9.99"); they take no digit, and while the number has not started they
// become a space where the digit position before them became one, so 5 shows as "    5.00".
//
// Every digit position gets exactly one digit, also where a separator has no digit positions
// after it ("999." shows 5 as "005.").
QString FormatujLiczbe(const QString &maska, double wartosc);

// An amount as a bookkeeper reads it: exactly `miejsca` decimals after a decimal comma (none and
// no comma for 0), the whole part in groups of three digits parted by a space, a minus before a
// value below zero: "1 230,00", "-0,50", "0,00". Rounded as FormatujLiczbe rounds, so an amount
// shows the digits a total of it alone would; a value that rounds to zero shows no sign. A value
// that is not finite or reaches 10^36 in magnitude gives an empty text.
QString FormatujKwote(double wartosc, int miejsca);

// The text without any space; all other characters keep their order.
QString UsunSpacje(QString tekst);

// A text of `ile` copies of the character; empty for 0 or less.
QString PowielZnak(QChar znak, int ile);

// Exactly `szerokosc` characters: the text's first characters, padded on the right with spaces
// when it is shorter. Empty for a width of 0 or less.
QString Dopelnij(const QString &tekst, int szerokosc);

} // namespace rawen
