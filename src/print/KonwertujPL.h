#pragma once

#include <QByteArray>

#include <array>

namespace rawen {

// The 18 Polish letters (ą Ą ć Ć ę Ę ł Ł ó Ó ź Ź ż Ż ń Ń ś Ś, in this order), each in four codings:
// column 0 the plain ASCII letter, 1 Mazovia, 2 Latin-2 (code page 852), 3 Windows-1250.
extern const std::array<std::array<quint8, 4>, 18> TablicaLiter;

// The bytes with their Polish letters recoded by `kod`: its tens digit names the source column of
// the letter table, its units digit the target column. Each byte is looked up in the source column
// from the last row up, so where that column holds a byte twice (plain z stands for ź and ż) the
// later row wins. Other bytes stay; so does everything when a digit names no column.
QByteArray KonwertujPL(QByteArray tekst, quint8 kod);
// The same, on the bytes from `poczatek` up to `koniec` in place.
void KonwertujPLWMiejscu(char *poczatek, char *koniec, quint8 kod);

// The code of a channel for the Polish-letter setting DRPL: the program's bytes are Windows-1250,
// so the source column is 3; DRPL 0 to 3 name the target column, other values none (33).
quint8 KodPLDla(quint8 DRPL);

} // namespace rawen
