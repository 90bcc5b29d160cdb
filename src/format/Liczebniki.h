#pragma once

#include <QString>

namespace rawen {

// The three forms a Polish noun takes after a number: "1 plik", "2 pliki", "5 plików".
struct FormyLiczebnika
{
    const char16_t *jeden; // 1
    const char16_t *kilka; // 2-4, 22-24, 102-104 ...
    const char16_t *wiele; // 0, 5-21, 25-31, 111-114 ...
};

// The form of the noun that goes with `ile`. Negative counts take the form of their magnitude.
QString FormaLiczebnika(qint64 ile, const FormyLiczebnika &formy);

// The number and its noun, "3 pliki"; every count the program itself writes goes through here.
QString Liczebnik(qint64 ile, const FormyLiczebnika &formy);

// Nouns the program counts.
namespace liczebniki {
inline constexpr FormyLiczebnika plik{u"plik", u"pliki", u"plików"};
inline constexpr FormyLiczebnika tabela{u"tabela", u"tabele", u"tabel"};
inline constexpr FormyLiczebnika rekord{u"rekord", u"rekordy", u"rekordów"};
inline constexpr FormyLiczebnika katalog{u"katalog", u"katalogi", u"katalogów"};
inline constexpr FormyLiczebnika firma{u"firma", u"firmy", u"firm"};
inline constexpr FormyLiczebnika blad{u"błąd", u"błędy", u"błędów"};
inline constexpr FormyLiczebnika dzien{u"dzień", u"dni", u"dni"};
inline constexpr FormyLiczebnika ostrzezenie{u"ostrzeżenie", u"ostrzeżenia", u"ostrzeżeń"};
inline constexpr FormyLiczebnika kolumna{u"kolumna", u"kolumny", u"kolumn"};
inline constexpr FormyLiczebnika strona{u"strona", u"strony", u"stron"};
inline constexpr FormyLiczebnika wiersz{u"wiersz", u"wiersze", u"wierszy"};
inline constexpr FormyLiczebnika znak{u"znak", u"znaki", u"znaków"};
inline constexpr FormyLiczebnika bajt{u"bajt", u"bajty", u"bajtów"};
inline constexpr FormyLiczebnika notatka{u"notatka", u"notatki", u"notatek"};
inline constexpr FormyLiczebnika indeks{u"indeks", u"indeksy", u"indeksów"};
} // namespace liczebniki

} // namespace rawen
