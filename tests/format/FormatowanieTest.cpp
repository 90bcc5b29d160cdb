#include "format/Formatowanie.h"

#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace rawen;

namespace {

struct Przypadek
{
    const char *maska;
    double wartosc;
    // "_" stands for a space, so the columns can be counted.
    const char *oczekiwany;
    const char *opis;
};

void PrintTo(const Przypadek &p, std::ostream *os)
{
    *os << p.opis;
}

QString zeSpacjami(const char *tekst)
{
    return QString::fromUtf8(tekst).replace(u'_', u' ');
}

class FormatujLiczbeTest : public testing::TestWithParam<Przypadek>
{};

TEST_P(FormatujLiczbeTest, FormatsByMask)
{
    const Przypadek &p = GetParam();
    const QString maska = QString::fromUtf8(p.maska);
    const QString wynik = FormatujLiczbe(maska, p.wartosc);
    EXPECT_EQ(wynik, zeSpacjami(p.oczekiwany)) << "mask \"" << p.maska << "\" value " << p.wartosc;
    EXPECT_EQ(wynik.size(), maska.size());
}

const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kNieskonczonosc = std::numeric_limits<double>::infinity();

// The masks the program itself uses.
INSTANTIATE_TEST_SUITE_P(
    MaskiProgramu, FormatujLiczbeTest,
    testing::Values(
        Przypadek{"9999", 2005, "2005", "year"}, Przypadek{"99", 7, "07", "month"},
        Przypadek{"999", 5, "005", "firm number"},
        Przypadek{"999 ", 12, "012_", "trailing literal space"},
        Przypadek{"####", 7, "___7", "leading zeros blanked"},
        Przypadek{"####", 0, "____", "zero under # is all blank"},
        Przypadek{"##########9.99", 1234.5, "_______1234.50", "amount"},
        Przypadek{"##########9.99", -1234.5, "______-1234.50", "negative amount"},
        Przypadek{"##########9.99", 0, "__________0.00", "zero amount keeps units under 9"},
        Przypadek{"##########9.99", 1e12, "###########.##", "amount overflow keeps the point"}));

// Half away from zero on the decimal expansion of the stored value, cut to 18 digits. printf's
// "%.Nf" rounds ties to even and keeps every digit, so it fails most of these.
INSTANTIATE_TEST_SUITE_P(
    Zaokraglanie, FormatujLiczbeTest,
    testing::Values(
        Przypadek{"##########9.99", 0.005, "__________0.01", "0.005 is stored above the half"},
        Przypadek{"##########9.99", 1.005, "__________1.00", "1.005 is stored below the half"},
        Przypadek{"9.99", 0.125, "0.13", "exact tie goes up"},
        Przypadek{"9", 2.5, "3", "exact tie to an odd digit"},
        Przypadek{"9", 0.5, "1", "exact tie from zero"},
        Przypadek{"9.9", 0.25, "0.3", "exact tie in decimals"},
        Przypadek{"#9", -0.5, "-1", "negative tie goes away from zero"},
        Przypadek{"9.9", 0.35, "0.3", "0.35 is stored below the half"},
        Przypadek{"9.9", 0.15, "0.1", "0.15 is stored below the half"},
        Przypadek{"9.99", 0.995, "0.99", "digits below the cut do not round"},
        Przypadek{"999.99", 99.995, "100.00", "carry into a new integer digit"},
        Przypadek{"99.99", 9.999, "10.00", "carry through every digit"},
        Przypadek{"9.99", 9.999, "#.##", "carry that no longer fits"},
        Przypadek{"9.99999999999999999", 0.1, "0.10000000000000000",
                  "the 18-digit cut from the units digit truncates"},
        Przypadek{"9.999999999999999999", 1.0 / 3, "0.333333333333333310",
                  "digits past the cut are written as 0"},
        Przypadek{"9.99999999999999999", 1.5e-17, "0.00000000000000001",
                  "the last digit of the cut is truncated, not rounded"},
        Przypadek{"9.99999999999999999", 5e-18, "0.00000000000000000",
                  "a value below the cut shows zeros"},
        Przypadek{"##9.99", 1e-300, "__0.00", "a tiny value"},
        Przypadek{"9999999999999999999999", 1180591620717411303424.0, "1180591620717411300000",
                  "2^70: digits past the 18th significant one are 0"},
        Przypadek{"999999999999999999999999999999999999", 9.99e35,
                  "998999999999999954000000000000000000", "36 digits of a stored 9.99e35"}));

// The sign is placed like a digit and ends the leading zone.
INSTANTIATE_TEST_SUITE_P(
    Znak, FormatujLiczbeTest,
    testing::Values(Przypadek{"99", -5, "-5", "sign fills the first position"},
                    Przypadek{"9999", -5, "00-5", "zeros left of the sign stay under 9"},
                    Przypadek{"####", -5, "__-5", "blanks left of the sign under #"},
                    Przypadek{"##########9.99", -0.001, "_________-0.00",
                              "negative value rounding to zero keeps its sign"},
                    Przypadek{"####", -0.0, "__-0", "minus zero"},
                    Przypadek{"#9.99", -0.0, "-0.00", "minus zero with decimals"},
                    Przypadek{"99", -10, "##", "the sign counts toward the width"},
                    Przypadek{"9", -2.5, "#", "a rounded negative digit and its sign"}));

INSTANTIATE_TEST_SUITE_P(
    Przepelnienie, FormatujLiczbeTest,
    testing::Values(Przypadek{"9999", 12345, "####", "one digit too many"},
                    Przypadek{"999 ", 1234, "### ", "literals stay when overflowing"},
                    Przypadek{"999999999999999999999999999999999999", std::nextafter(1e36, 0.0),
                              "999999999999999894000000000000000000",
                              "largest double below 10^36 fits"},
                    Przypadek{"9999999999999999999999999999999999999999", 1e36,
                              "########################################",
                              "10^36 overflows any mask"},
                    Przypadek{"9999999999999999999999999999999999999999", -1e300,
                              "########################################", "a huge negative value"},
                    Przypadek{"99.99", kNan, "##.##", "not a number"},
                    Przypadek{"99.99", kNieskonczonosc, "##.##", "infinity"},
                    Przypadek{"abc", 5, "abc", "no digit position at all"},
                    Przypadek{"", 0, "", "empty mask"}));

INSTANTIATE_TEST_SUITE_P(
    SeparatoryILiteraly, FormatujLiczbeTest,
    testing::Values(
        Przypadek{"##9,99", 1.5, "__1,50", "comma is the decimal separator"},
        Przypadek{"9 999,99 zł", 1234.5, "1 234,50 zł", "literals between digit positions"},
        Przypadek{"## ###,99", 5, "_____5,00", "literal inside the leading zone"},
        Przypadek{"##.##", 0.5, "__.50", "the decimal point stays after blanked positions"},
        Przypadek{"##.##", 0, "__.__", "zeros under # are blank past the point too"},
        Przypadek{"999.", 5, "005.", "separator without decimals keeps every digit"},
        Przypadek{"999.", 1234, "###.", "separator without decimals overflows"},
        Przypadek{"#,##9.99", 5, "____5.00", "grouping mark blanked in the leading zone"},
        Przypadek{"#,##9.99", 1234.5, "1,234.50", "grouping mark inside the number"},
        Przypadek{"#,##9.99", -5, "___-5.00", "grouping mark before a negative number"},
        Przypadek{"9,999.99", 5, "0,005.00", "grouping mark between shown zeros"},
        Przypadek{"#,###,##9.99", 12345, "___12,345.00", "two grouping marks"},
        Przypadek{"9,999,999", 1234.5, "1,234,500", "the last separator is the decimal one"},
        Przypadek{"#.##9,99", 1234.5, "1.234,50", "point groups, comma separates"},
        Przypadek{"#,##9.99", 12345, "#,###.##", "grouped mask overflows"}));

TEST(FormatujLiczbe, LongMaskGetsZerosPastTheCut)
{
    const QString maska = QStringLiteral("9.") + QString(200, u'9');
    const QString oczekiwany = QStringLiteral("0.33333333333333331") + QString(183, u'0');
    EXPECT_EQ(FormatujLiczbe(maska, 1.0 / 3), oczekiwany);
}

struct Kwota
{
    double wartosc;
    int miejsca;
    const char *oczekiwany; // "_" stands for a space
};

void PrintTo(const Kwota &k, std::ostream *os)
{
    *os << k.wartosc << " with " << k.miejsca << " decimals";
}

class FormatujKwoteTest : public testing::TestWithParam<Kwota>
{};

TEST_P(FormatujKwoteTest, GroupsThousandsAndKeepsItsDecimals)
{
    const Kwota &k = GetParam();
    EXPECT_EQ(FormatujKwote(k.wartosc, k.miejsca), zeSpacjami(k.oczekiwany));
}

INSTANTIATE_TEST_SUITE_P(
    Kwoty, FormatujKwoteTest,
    testing::Values(Kwota{1230, 2, "1_230,00"}, Kwota{492, 2, "492,00"},
                    Kwota{1230.5, 2, "1_230,50"}, Kwota{0, 2, "0,00"}, Kwota{-0.0, 2, "0,00"},
                    Kwota{-0.5, 2, "-0,50"}, Kwota{0.07, 2, "0,07"}, Kwota{-1234.5, 2, "-1_234,50"},
                    Kwota{100, 2, "100,00"}, Kwota{1000, 2, "1_000,00"},
                    Kwota{-999999.99, 2, "-999_999,99"}, Kwota{1234567.891, 2, "1_234_567,89"},
                    Kwota{99999999999.99, 2, "99_999_999_999,99"},
                    Kwota{1e20, 2, "100_000_000_000_000_000_000,00"},
                    // Rounding half away from zero on the stored value, as totals are rounded.
                    Kwota{0.125, 2, "0,13"}, Kwota{-0.125, 2, "-0,13"}, Kwota{1.005, 2, "1,00"},
                    Kwota{999.995, 2, "1_000,00"}, Kwota{-0.004, 2, "0,00"},
                    Kwota{12.3456, 2, "12,35"},
                    // Other numbers of decimals, as a BCD field has them.
                    Kwota{1234.5, 0, "1_235"}, Kwota{-7, 0, "-7"}, Kwota{2.5, 4, "2,5000"},
                    Kwota{-1234.56789, 3, "-1_234,568"}, Kwota{5, -1, "5"},
                    // Nothing to show as an amount.
                    Kwota{1e36, 2, ""}, Kwota{kNieskonczonosc, 2, ""},
                    Kwota{-kNieskonczonosc, 2, ""}, Kwota{kNan, 2, ""}));

TEST(UsunSpacje, RemovesSpacesOnly)
{
    const struct
    {
        const char *tekst;
        const char *oczekiwany;
    } przypadki[] = {
        {"", ""},
        {"     ", ""},
        {" 1 2  3 ", "123"},
        {"a\tb\u00a0c", "a\tb\u00a0c"}, // tab and no-break space are not spaces
        {"Łódź  Śródmieście", "ŁódźŚródmieście"},
    };
    for (const auto &p : przypadki)
        EXPECT_EQ(UsunSpacje(QString::fromUtf8(p.tekst)), QString::fromUtf8(p.oczekiwany))
            << p.tekst;
}

TEST(PowielZnak, RepeatsTheCharacter)
{
    EXPECT_EQ(PowielZnak(u'-', 3), u"---");
    EXPECT_EQ(PowielZnak(u'ą', 2), u"ąą");
    EXPECT_EQ(PowielZnak(u'=', 255).size(), 255);
    EXPECT_TRUE(PowielZnak(u'-', 0).isEmpty());
    EXPECT_TRUE(PowielZnak(u'-', -1).isEmpty());
}

TEST(Dopelnij, CutsOrPadsToTheWidth)
{
    const struct
    {
        const char *tekst;
        int szerokosc;
        const char *oczekiwany;
    } przypadki[] = {
        {"SKROT", 3, "SKR"}, {"AB", 4, "AB__"}, {"AB", 2, "AB"},    {"AB", 0, ""},
        {"AB", -3, ""},      {"", 3, "___"},    {"Żółw", 3, "Żół"}, {"Żółw", 6, "Żółw__"},
    };
    for (const auto &p : przypadki)
        EXPECT_EQ(Dopelnij(QString::fromUtf8(p.tekst), p.szerokosc), zeSpacjami(p.oczekiwany))
            << p.tekst << " / " << p.szerokosc;
}

} // namespace
