#include "format/Formatowanie.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace rawen {

namespace {

// The rounding rule looks at the value's decimal expansion cut to this many digits.
constexpr int kCyfryZnaczace = 18;

// Magnitudes of 10^36 and more never fit a mask.
constexpr int kNajwiecejCyfrCalkowitych = 36;

bool jestPozycja(QChar c)
{
    return c == u'#' || c == u'9';
}

bool jestSeparator(QChar c)
{
    return c == u'.' || c == u',';
}

// A value written in fixed notation with a given number of decimals, without its decimal point:
// an optional "-", the integer digits, the decimals. Only the digits that can differ from 0 are
// held; every later digit of the written number is 0, so long masks cost nothing extra.
class ZapisLiczby
{
public:
    ZapisLiczby(double wartosc, qsizetype miejsca);

    bool zaDuza() const { return m_zaDuza; }
    qsizetype dlugosc() const { return (m_minus ? 1 : 0) + m_calkowite + m_miejsca; }
    QChar znak(qsizetype i) const;

private:
    bool m_zaDuza = false;
    bool m_minus = false;
    // m_cyfry[0] is room for a carry out of the first digit.
    char m_cyfry[kCyfryZnaczace + 1] = {};
    int m_poczatek = 1;
    qsizetype m_znane = 0;
    qsizetype m_calkowite = 0;
    qsizetype m_miejsca = 0;
};

ZapisLiczby::ZapisLiczby(double wartosc, qsizetype miejsca)
    : m_minus(std::signbit(wartosc)), m_miejsca(miejsca)
{
    const double modul = std::fabs(wartosc);
    if (!(modul < 1e37)) { // also NaN and infinity
        m_zaDuza = true;
        return;
    }

    // The exact expansion: a double M * 2^(e - 53) with an integer M has at most 53 - e decimals.
    // Below 10^-18 every digit of the cut (units digit and 17 decimals) is 0.
    char tekst[160] = {'0'};
    qsizetype dlugoscTekstu = 1;
    if (modul >= 1e-18) {
        int wykladnik = 0;
        std::frexp(modul, &wykladnik);
        const int precyzja = std::max(0, std::numeric_limits<double>::digits - wykladnik);
        const auto [koniec, blad] =
            std::to_chars(tekst, tekst + sizeof tekst, modul, std::chars_format::fixed, precyzja);
        if (blad != std::errc()) { // cannot happen below 10^37; never show a wrong number
            m_zaDuza = true;
            return;
        }
        dlugoscTekstu = koniec - tekst;
    }

    m_calkowite = std::find(tekst, tekst + dlugoscTekstu, '.') - tekst;
    if (m_calkowite > kNajwiecejCyfrCalkowitych) {
        m_zaDuza = true;
        return;
    }

    // The text starts with its units digit below 10 and with its first significant digit from 10
    // up, so the cut is simply its first 18 digits.
    m_cyfry[0] = '0';
    for (qsizetype i = 0; i < dlugoscTekstu && m_znane < kCyfryZnaczace; ++i) {
        if (tekst[i] != '.')
            m_cyfry[1 + m_znane++] = tekst[i];
    }

    // Half away from zero: the magnitude goes up when the first dropped digit is 5 or more.
    const qsizetype pierwszaOdcieta = m_calkowite + m_miejsca;
    if (pierwszaOdcieta < m_znane) {
        if (m_cyfry[1 + pierwszaOdcieta] >= '5') {
            for (qsizetype j = pierwszaOdcieta; j >= 0; --j) {
                if (m_cyfry[j] != '9') {
                    ++m_cyfry[j];
                    break;
                }
                m_cyfry[j] = '0';
            }
        }
        m_znane = pierwszaOdcieta;
    }
    if (m_cyfry[0] != '0') {
        m_poczatek = 0;
        ++m_znane;
        ++m_calkowite;
    }
}

QChar ZapisLiczby::znak(qsizetype i) const
{
    if (m_minus) {
        if (i == 0)
            return u'-';
        --i;
    }
    return QLatin1Char(i < m_znane ? m_cyfry[m_poczatek + i] : '0');
}

} // namespace

QString FormatujLiczbe(const QString &maska, double wartosc)
{
    qsizetype pozycje = 0;
    qsizetype miejsca = 0;
    qsizetype ostatniSeparator = -1;
    for (qsizetype i = 0; i < maska.size(); ++i) {
        if (jestPozycja(maska[i])) {
            ++pozycje;
            ++miejsca;
        } else if (jestSeparator(maska[i])) {
            ostatniSeparator = i;
            miejsca = 0;
        }
    }
    if (ostatniSeparator < 0)
        miejsca = 0;

    const ZapisLiczby zapis(wartosc, miejsca);
    const bool przepelnienie = zapis.zaDuza() || zapis.dlugosc() > pozycje;
    const qsizetype zeraZLewej = pozycje - zapis.dlugosc();

    // The sign counts as a digit: it ends the leading zone like any digit other than 0.
    QString wynik(maska.size(), Qt::Uninitialized);
    bool strefaWiodaca = true;
    bool poprzedniaPusta = false;
    qsizetype pozycja = 0;
    for (qsizetype i = 0; i < maska.size(); ++i) {
        const QChar c = maska[i];
        if (jestPozycja(c)) {
            QChar cyfra = u'#';
            if (!przepelnienie)
                cyfra = pozycja < zeraZLewej ? QChar(u'0') : zapis.znak(pozycja - zeraZLewej);
            ++pozycja;
            if (cyfra != u'0')
                strefaWiodaca = false;
            poprzedniaPusta = strefaWiodaca && c == u'#';
            wynik[i] = poprzedniaPusta ? QChar(u' ') : cyfra;
        } else if (jestSeparator(c) && i != ostatniSeparator && poprzedniaPusta) {
            wynik[i] = u' ';
        } else {
            wynik[i] = c;
        }
    }
    return wynik;
}

QString FormatujKwote(double wartosc, int miejsca)
{
    miejsca = qMax(miejsca, 0);
    const ZapisLiczby zapis(wartosc, miejsca);
    if (zapis.zaDuza())
        return {};
    const qsizetype znak = std::signbit(wartosc) ? 1 : 0;
    const qsizetype calkowite = zapis.dlugosc() - znak - miejsca;
    // Written straight into the result: a printed table makes one for every amount of every
    // record.
    QString wynik(znak + calkowite + (calkowite - 1) / 3 + (miejsca > 0 ? 1 + miejsca : 0),
                  Qt::Uninitialized);
    QChar *cel = wynik.data();
    if (znak)
        *cel++ = u'-';
    bool zero = true;
    for (qsizetype i = 0; i < calkowite; ++i) {
        if (i > 0 && (calkowite - i) % 3 == 0)
            *cel++ = u' ';
        *cel = zapis.znak(znak + i);
        zero = zero && *cel == u'0';
        ++cel;
    }
    if (miejsca > 0) {
        *cel++ = u',';
        for (qsizetype i = 0; i < miejsca; ++i) {
            *cel = zapis.znak(znak + calkowite + i);
            zero = zero && *cel == u'0';
            ++cel;
        }
    }
    if (znak && zero)
        wynik.remove(0, 1);
    return wynik;
}

QString UsunSpacje(QString tekst)
{
    tekst.remove(u' ');
    return tekst;
}

QString PowielZnak(QChar znak, int ile)
{
    return ile > 0 ? QString(ile, znak) : QString();
}

QString Dopelnij(const QString &tekst, int szerokosc)
{
    return szerokosc > 0 ? tekst.leftJustified(szerokosc, u' ', true) : QString();
}

} // namespace rawen
