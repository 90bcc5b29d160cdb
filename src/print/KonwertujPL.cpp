#include "print/KonwertujPL.h"

namespace rawen {

const std::array<std::array<quint8, 4>, 18> TablicaLiter{{
    {0x61, 0x86, 0xA5, 0xB9}, // ą
    {0x41, 0x8F, 0xA4, 0xA5}, // Ą
    {0x63, 0x8D, 0x86, 0xE6}, // ć
    {0x43, 0x95, 0x8F, 0xC6}, // Ć
    {0x65, 0x91, 0xA9, 0xEA}, // ę
    {0x45, 0x90, 0xA8, 0xCA}, // Ę
    {0x6C, 0x92, 0x88, 0xB3}, // ł
    {0x4C, 0x9C, 0x9D, 0xA3}, // Ł
    {0x6F, 0xA2, 0xA2, 0xF3}, // ó
    {0x4F, 0xA3, 0xE0, 0xD3}, // Ó
    {0x7A, 0xA6, 0xAB, 0x9F}, // ź
    {0x5A, 0xA0, 0x8D, 0x8F}, // Ź
    {0x7A, 0xA7, 0xBE, 0xBF}, // ż
    {0x5A, 0xA1, 0xBD, 0xAF}, // Ż
    {0x6E, 0xA4, 0xE4, 0xF1}, // ń
    {0x4E, 0xA5, 0xE3, 0xD1}, // Ń
    {0x73, 0x9E, 0x98, 0x9C}, // ś
    {0x53, 0x98, 0x97, 0x8C}, // Ś
}};

namespace {

using Przeklad = std::array<char, 256>;

// The byte each byte becomes for source column `zrodlo` and target column `cel`: the rows are
// searched from the last up, as the letter table is read.
Przeklad przeklad(int zrodlo, int cel)
{
    Przeklad wynik;
    for (int bajt = 0; bajt < 256; ++bajt) {
        wynik[bajt] = char(bajt);
        for (auto wiersz = TablicaLiter.rbegin(); wiersz != TablicaLiter.rend(); ++wiersz) {
            if ((*wiersz)[zrodlo] == bajt) {
                wynik[bajt] = char((*wiersz)[cel]);
                break;
            }
        }
    }
    return wynik;
}

// For each pair of columns, made once: a print recodes every byte of every line.
const Przeklad &przekladKodu(int zrodlo, int cel)
{
    static const std::array<Przeklad, 16> wszystkie = [] {
        std::array<Przeklad, 16> tablice;
        for (int z = 0; z < 4; ++z) {
            for (int c = 0; c < 4; ++c)
                tablice[std::size_t(z * 4 + c)] = przeklad(z, c);
        }
        return tablice;
    }();
    return wszystkie[std::size_t(zrodlo * 4 + cel)];
}

} // namespace

QByteArray KonwertujPL(QByteArray tekst, quint8 kod)
{
    const int zrodlo = kod / 10;
    const int cel = kod % 10;
    if (zrodlo > 3 || cel > 3)
        return tekst;
    const Przeklad &p = przekladKodu(zrodlo, cel);
    // Most texts have nothing to recode: they are handed back as they are.
    qsizetype i = 0;
    const char *bajty = tekst.constData();
    while (i < tekst.size() && p[quint8(bajty[i])] == bajty[i])
        ++i;
    if (i < tekst.size())
        KonwertujPLWMiejscu(tekst.data() + i, tekst.data() + tekst.size(), kod);
    return tekst;
}

void KonwertujPLWMiejscu(char *poczatek, char *koniec, quint8 kod)
{
    const int zrodlo = kod / 10;
    const int cel = kod % 10;
    if (zrodlo > 3 || cel > 3)
        return;
    const Przeklad &p = przekladKodu(zrodlo, cel);
    for (char *bajt = poczatek; bajt != koniec; ++bajt)
        *bajt = p[quint8(*bajt)];
}

quint8 KodPLDla(quint8 DRPL)
{
    // A coding the window does not offer (read from the registry) converts nothing.
    return quint8(30 + (DRPL <= 3 ? DRPL : 3));
}

} // namespace rawen
