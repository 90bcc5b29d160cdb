#include "company/PoczatekRoku.h"

#include <QList>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

TEST(PoczatekRoku, OnlyADayThatExistsMayStartTheFiscalYear)
{
    struct Przypadek
    {
        const char *tekst;
        const char *poczatekBledu; // "" when the day is taken
    };
    const QList<Przypadek> przypadki{
        {"", ""},
        {"  ", ""},
        {"01.01", ""},
        {"04.01", ""},
        {"02.29", ""},
        {"12.31", ""},
        {"13.45", "Data początku okresu obrachunkowego „13.45” nie istnieje."},
        {"02.30", "Data początku okresu obrachunkowego „02.30” nie istnieje."},
        {"04.31", "Data początku okresu obrachunkowego „04.31” nie istnieje."},
        {"00.10", "Data początku okresu obrachunkowego „00.10” nie istnieje."},
        {"10.00", "Data początku okresu obrachunkowego „10.00” nie istnieje."},
        {"4.1", "„4.1” nie jest datą początku okresu obrachunkowego."},
        {"04-01", "„04-01” nie jest datą początku okresu obrachunkowego."},
        {"04.1 ", "„04.1 ” nie jest datą początku okresu obrachunkowego."},
        {"ab.cd", "„ab.cd” nie jest datą początku okresu obrachunkowego."},
        {"٠٤.٠١", "„٠٤.٠١” nie jest datą początku okresu obrachunkowego."},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.tekst);
        const QString blad = BladPoczatkuRoku(QString::fromUtf8(p.tekst));
        const QString oczekiwany = QString::fromUtf8(p.poczatekBledu);
        if (oczekiwany.isEmpty()) {
            EXPECT_TRUE(blad.isEmpty()) << qPrintable(blad);
        } else {
            EXPECT_EQ(blad.section(u'\r', 0, 0), oczekiwany);
            EXPECT_EQ(blad.section(u'\r', 1),
                      QStringLiteral("Wpisz miesiąc i dzień jako mm.dd, na przykład 04.01, albo "
                                     "zostaw pole puste: okres obrachunkowy zacznie się 01.01."));
        }
    }
}

} // namespace
} // namespace rawen::test
