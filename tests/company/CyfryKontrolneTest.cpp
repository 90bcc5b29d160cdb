#include "company/CyfryKontrolne.h"

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

using Sprawdzenie = WynikSprawdzenia (*)(const QString &);

struct Przypadek
{
    const char *nazwa;
    Sprawdzenie sprawdz;
    const char *tekst;
    WynikSprawdzenia wynik;
};

// Valid numbers are made for the test by the published algorithms; each invalid one is a valid
// one with a digit changed, or of the wrong length.
const Przypadek kPrzypadki[] = {
    {"NIP", SprawdzNIP, "", WynikSprawdzenia::Pusty},
    {"NIP", SprawdzNIP, "5678901233", WynikSprawdzenia::Poprawny},
    {"NIP", SprawdzNIP, "567-890-12-33", WynikSprawdzenia::Poprawny},
    {"NIP", SprawdzNIP, "567-89-01-233", WynikSprawdzenia::Poprawny},
    {"NIP", SprawdzNIP, "PL 5678901233", WynikSprawdzenia::Poprawny},
    {"NIP", SprawdzNIP, "pl5678901233", WynikSprawdzenia::Poprawny},
    {"NIP", SprawdzNIP, "7251010100", WynikSprawdzenia::Poprawny},
    {"NIP", SprawdzNIP, "5678901234", WynikSprawdzenia::ZlaSuma},
    {"NIP", SprawdzNIP, "5678901323", WynikSprawdzenia::ZlaSuma},
    // The weighted sum leaves 10: no check digit can agree.
    {"NIP", SprawdzNIP, "1000000160", WynikSprawdzenia::ZlaSuma},
    {"NIP", SprawdzNIP, "567890123", WynikSprawdzenia::ZlaPostac},
    {"NIP", SprawdzNIP, "56789012330", WynikSprawdzenia::ZlaPostac},
    {"NIP", SprawdzNIP, "567/890/12/33", WynikSprawdzenia::ZlaPostac},
    {"REGON", SprawdzREGON, "   ", WynikSprawdzenia::Pusty},
    {"REGON", SprawdzREGON, "730501330", WynikSprawdzenia::Poprawny},
    {"REGON", SprawdzREGON, "123456785", WynikSprawdzenia::Poprawny},
    // A remainder of 10 stands as 0.
    {"REGON", SprawdzREGON, "100000008", WynikSprawdzenia::Poprawny},
    {"REGON", SprawdzREGON, "123456786", WynikSprawdzenia::ZlaSuma},
    {"REGON", SprawdzREGON, "73050133000120", WynikSprawdzenia::Poprawny},
    {"REGON", SprawdzREGON, "12345678901235", WynikSprawdzenia::Poprawny},
    {"REGON", SprawdzREGON, "12345678901234", WynikSprawdzenia::ZlaSuma},
    {"REGON", SprawdzREGON, "73050133000130", WynikSprawdzenia::ZlaSuma},
    {"REGON", SprawdzREGON, "1234567890", WynikSprawdzenia::ZlaPostac},
    {"PESEL", SprawdzPESEL, "90010100122", WynikSprawdzenia::Poprawny},
    {"PESEL", SprawdzPESEL, "05323100451", WynikSprawdzenia::Poprawny},
    {"PESEL", SprawdzPESEL, "77070707074", WynikSprawdzenia::Poprawny},
    // The weighted sum ends in 0: so does the check digit.
    {"PESEL", SprawdzPESEL, "82031500010", WynikSprawdzenia::Poprawny},
    {"PESEL", SprawdzPESEL, "90010100123", WynikSprawdzenia::ZlaSuma},
    {"PESEL", SprawdzPESEL, "09010100122", WynikSprawdzenia::ZlaSuma},
    {"PESEL", SprawdzPESEL, "9001010012", WynikSprawdzenia::ZlaPostac},
    {"PESEL", SprawdzPESEL, "9001010012X", WynikSprawdzenia::ZlaPostac},
    {"NRB", SprawdzNRB, "35999900001111222233334444", WynikSprawdzenia::Poprawny},
    {"NRB", SprawdzNRB, "35 9999 0000 1111 2222 3333 4444", WynikSprawdzenia::Poprawny},
    {"NRB", SprawdzNRB, "PL35 9999 0000 1111 2222 3333 4444", WynikSprawdzenia::Poprawny},
    {"NRB", SprawdzNRB, "pl35999900001111222233334444", WynikSprawdzenia::Poprawny},
    {"NRB", SprawdzNRB, "56 1234 5678 0000 0000 0000 0042", WynikSprawdzenia::Poprawny},
    {"NRB", SprawdzNRB, "35 9999 0000 1111 2222 3333 4445", WynikSprawdzenia::ZlaSuma},
    {"NRB", SprawdzNRB, "53 9999 0000 1111 2222 3333 4444", WynikSprawdzenia::ZlaSuma},
    {"NRB", SprawdzNRB, "PL56 1234 5678 0000 0000 0000 0024", WynikSprawdzenia::ZlaSuma},
    {"NRB", SprawdzNRB, "12 3456 7890 1234", WynikSprawdzenia::ZlaPostac},
    {"NRB", SprawdzNRB, "DE35 9999 0000 1111 2222 3333 4444", WynikSprawdzenia::ZlaPostac},
};

TEST(CyfryKontrolne, EachNumberIsJudgedByItsCheckDigits)
{
    for (const Przypadek &p : kPrzypadki) {
        SCOPED_TRACE(std::string(p.nazwa) + " \"" + p.tekst + "\"");
        EXPECT_EQ(p.sprawdz(QString::fromUtf8(p.tekst)), p.wynik);
    }
}

// Every wrong check digit is caught, for every kind of number.
TEST(CyfryKontrolne, EveryWrongCheckDigitIsCaught)
{
    const struct
    {
        Sprawdzenie sprawdz;
        QString tekst;
    } poprawne[] = {{SprawdzNIP, QStringLiteral("5678901233")},
                    {SprawdzREGON, QStringLiteral("730501330")},
                    {SprawdzREGON, QStringLiteral("73050133000120")},
                    {SprawdzPESEL, QStringLiteral("90010100122")},
                    {SprawdzNRB, QStringLiteral("35999900001111222233334444")}};
    for (const auto &p : poprawne) {
        ASSERT_EQ(p.sprawdz(p.tekst), WynikSprawdzenia::Poprawny);
        // The last digit is the check digit: changing it is always caught.
        const qsizetype ostatnia = p.tekst.size() - 1;
        for (int cyfra = 0; cyfra <= 9; ++cyfra) {
            QString zmieniony = p.tekst;
            zmieniony[ostatnia] = QChar(u'0' + cyfra);
            if (zmieniony != p.tekst) {
                EXPECT_EQ(p.sprawdz(zmieniony), WynikSprawdzenia::ZlaSuma)
                    << zmieniony.toStdString();
            }
        }
    }
}

TEST(CyfryKontrolne, TheHintNamesTheNumber)
{
    EXPECT_EQ(UwagaDoNumeru(QStringLiteral("NIP"), WynikSprawdzenia::ZlaSuma),
              QStringLiteral("Nieprawidłowa suma kontrolna NIP"));
    EXPECT_EQ(UwagaDoNumeru(QStringLiteral("NRB"), WynikSprawdzenia::ZlaSuma),
              QStringLiteral("Nieprawidłowa suma kontrolna NRB"));
    EXPECT_EQ(UwagaDoNumeru(QStringLiteral("PESEL"), WynikSprawdzenia::ZlaPostac),
              QStringLiteral("PESEL powinien mieć 11 cyfr"));
    EXPECT_TRUE(UwagaDoNumeru(QStringLiteral("NIP"), WynikSprawdzenia::Poprawny).isEmpty());
    EXPECT_TRUE(UwagaDoNumeru(QStringLiteral("NIP"), WynikSprawdzenia::Pusty).isEmpty());
}

} // namespace
} // namespace rawen::test
