#include "print/WydrukDemonstracyjny.h"

#include "format/Formatowanie.h"
#include "print/Wydruk.h"

#include <QStringList>

namespace rawen {

namespace {

const QStringList kontrahenci{
    QStringLiteral("Zakład Stolarski Łęcki"),       QStringLiteral("Hurtownia Żółw Sp. z o.o."),
    QStringLiteral("Piekarnia Ściborowska"),        QStringLiteral("Usługi Budowlane Gąsior"),
    QStringLiteral("Kancelaria Nowak i Wspólnicy"), QStringLiteral("Sklep Źródełko"),
    QStringLiteral("Przedsiębiorstwo Ćmielów"),     QStringLiteral("Auto-Serwis Kuśnierz"),
};

QString komorka(const QString &tekst, int szerokosc)
{
    return Dopelnij(tekst, szerokosc) + u'|';
}

} // namespace

void WydrukDemonstracyjny(Wydruk &wydruk)
{
    const int wierszy = 200;
    const int szerokosci[] = {4, 13, 30, 15, 15};
    QString regula = QStringLiteral("=");
    QString kreski = QStringLiteral("|");
    for (int szerokosc : szerokosci) {
        regula += PowielZnak(u'=', szerokosc + 1);
        kreski += PowielZnak(u'-', szerokosc) + u'|';
    }
    wydruk.WierszeNaglowka[1] = regula;
    wydruk.WierszeNaglowka[2] = u'|' + komorka(QStringLiteral(" LP"), 4) +
                                komorka(QStringLiteral(" Nr faktury"), 13) +
                                komorka(QStringLiteral(" Kontrahent"), 30) +
                                komorka(QStringLiteral("         Netto "), 15) +
                                komorka(QStringLiteral("        Brutto "), 15);
    wydruk.WierszeNaglowka[3] = kreski;
    wydruk.NowyWydruk(QStringLiteral("Rejestr faktur sprzedaży"), false, wierszy, 3, true);
    for (int i = 1; i <= 3; ++i)
        wydruk.DrukujWiersz(wydruk.WierszeNaglowka[i]);

    const QString kwoty = QStringLiteral("##########9.99");
    double netto = 0;
    double brutto = 0;
    for (int i = 1; i <= wierszy; ++i) {
        wydruk.PostepWydruku();
        const double kwota = 125.5 * (i % 17 + 1) + i * 3.25;
        netto += kwota;
        brutto += kwota * 1.23;
        wydruk.DrukujWiersz(
            u'|' + komorka(FormatujLiczbe(QStringLiteral("####"), i), 4) +
            komorka(QStringLiteral(" FS/%1/2024").arg(i, 4, 10, QLatin1Char('0')), 13) +
            komorka(u' ' + kontrahenci[i % kontrahenci.size()], 30) +
            komorka(FormatujLiczbe(kwoty, kwota) + u' ', 15) +
            komorka(FormatujLiczbe(kwoty, kwota * 1.23) + u' ', 15));
    }
    wydruk.DrukujWiersz(regula);
    wydruk.DrukujWiersz(u'|' + komorka(QString(), 4) + komorka(QString(), 13) +
                        komorka(QStringLiteral(" RAZEM :"), 30) +
                        komorka(FormatujLiczbe(kwoty, netto) + u' ', 15) +
                        komorka(FormatujLiczbe(kwoty, brutto) + u' ', 15));
    wydruk.DrukujWiersz(regula);
    wydruk.ZakonczWydruk(true);
}

} // namespace rawen
