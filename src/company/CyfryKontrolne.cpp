#include "company/CyfryKontrolne.h"

#include <array>
#include <span>

namespace rawen {

namespace {

// The digits of `tekst` once the separators people write are taken out; "" when anything else
// is left. `prefiks` ("PL") may stand in front, in either case.
QString cyfry(const QString &tekst, bool prefiks)
{
    QString t = tekst.trimmed();
    if (prefiks && t.left(2).compare(QLatin1String("PL"), Qt::CaseInsensitive) == 0)
        t = t.mid(2);
    QString wynik;
    for (const QChar znak : std::as_const(t)) {
        if (znak == u' ' || znak == u'-')
            continue;
        if (znak < u'0' || znak > u'9')
            return {};
        wynik += znak;
    }
    return wynik;
}

int cyfra(const QString &cyfry, qsizetype i)
{
    return cyfry.at(i).unicode() - u'0';
}

int sumaWazona(const QString &cyfry, std::span<const int> wagi)
{
    int suma = 0;
    for (size_t i = 0; i < wagi.size(); ++i)
        suma += cyfra(cyfry, qsizetype(i)) * wagi[i];
    return suma;
}

// The check digit modulo 11 of NIP and REGON: a remainder of 10 reads as 0 for REGON, while
// NIP never has one.
WynikSprawdzenia modulo11(const QString &cyfry, std::span<const int> wagi, bool dziesiecJakoZero)
{
    int reszta = sumaWazona(cyfry, wagi) % 11;
    if (reszta == 10) {
        if (!dziesiecJakoZero)
            return WynikSprawdzenia::ZlaSuma;
        reszta = 0;
    }
    return reszta == cyfra(cyfry, qsizetype(wagi.size())) ? WynikSprawdzenia::Poprawny
                                                          : WynikSprawdzenia::ZlaSuma;
}

} // namespace

WynikSprawdzenia SprawdzNIP(const QString &tekst)
{
    if (tekst.trimmed().isEmpty())
        return WynikSprawdzenia::Pusty;
    const QString c = cyfry(tekst, true);
    if (c.size() != 10)
        return WynikSprawdzenia::ZlaPostac;
    static constexpr std::array wagi{6, 5, 7, 2, 3, 4, 5, 6, 7};
    return modulo11(c, wagi, false);
}

WynikSprawdzenia SprawdzREGON(const QString &tekst)
{
    if (tekst.trimmed().isEmpty())
        return WynikSprawdzenia::Pusty;
    const QString c = cyfry(tekst, false);
    static constexpr std::array wagi9{8, 9, 2, 3, 4, 5, 6, 7};
    static constexpr std::array wagi14{2, 4, 8, 5, 0, 9, 7, 3, 6, 1, 2, 4, 8};
    if (c.size() == 9)
        return modulo11(c, wagi9, true);
    if (c.size() == 14)
        return modulo11(c, wagi14, true);
    return WynikSprawdzenia::ZlaPostac;
}

WynikSprawdzenia SprawdzPESEL(const QString &tekst)
{
    if (tekst.trimmed().isEmpty())
        return WynikSprawdzenia::Pusty;
    const QString c = cyfry(tekst, false);
    if (c.size() != 11)
        return WynikSprawdzenia::ZlaPostac;
    static constexpr std::array wagi{1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
    const int kontrolna = (10 - sumaWazona(c, wagi) % 10) % 10;
    return kontrolna == cyfra(c, 10) ? WynikSprawdzenia::Poprawny : WynikSprawdzenia::ZlaSuma;
}

WynikSprawdzenia SprawdzNRB(const QString &tekst)
{
    if (tekst.trimmed().isEmpty())
        return WynikSprawdzenia::Pusty;
    const QString c = cyfry(tekst, true);
    if (c.size() != 26)
        return WynikSprawdzenia::ZlaPostac;
    // The IBAN check: the account without its two check digits, then "PL" as 25 21, then the
    // check digits, read as one number, leaves 1 modulo 97.
    const QString liczba = c.mid(2) + QStringLiteral("2521") + c.left(2);
    int reszta = 0;
    for (const QChar znak : liczba)
        reszta = (reszta * 10 + (znak.unicode() - u'0')) % 97;
    return reszta == 1 ? WynikSprawdzenia::Poprawny : WynikSprawdzenia::ZlaSuma;
}

QString UwagaDoNumeru(const QString &nazwa, WynikSprawdzenia wynik)
{
    switch (wynik) {
    case WynikSprawdzenia::Pusty:
    case WynikSprawdzenia::Poprawny:
        return {};
    case WynikSprawdzenia::ZlaSuma:
        return QStringLiteral("Nieprawidłowa suma kontrolna ") + nazwa;
    case WynikSprawdzenia::ZlaPostac:
        break;
    }
    if (nazwa == QLatin1String("NIP"))
        return QStringLiteral("NIP powinien mieć 10 cyfr");
    if (nazwa == QLatin1String("REGON"))
        return QStringLiteral("REGON powinien mieć 9 lub 14 cyfr");
    if (nazwa == QLatin1String("PESEL"))
        return QStringLiteral("PESEL powinien mieć 11 cyfr");
    return nazwa + QStringLiteral(" powinien mieć 26 cyfr");
}

} // namespace rawen
