#include "year/RegulyKopiiRoku.h"

namespace rawen {

namespace {

RegulaKopiiRoku pusta(const char *koncowka)
{
    return {QString::fromLatin1(koncowka), false, QString()};
}

RegulaKopiiRoku czyszczaca(const char *koncowka, const char *pola)
{
    return {QString::fromLatin1(koncowka), true, QString::fromLatin1(pola)};
}

RegulaKopiiRoku cala(const char *koncowka)
{
    return {QString::fromLatin1(koncowka), true, QString()};
}

} // namespace

const QList<RegulaKopiiRoku> &RegulyKopiiRoku()
{
    static const QList<RegulaKopiiRoku> reguly{
        pusta("ANALIZA\\CENA.DB"),
        pusta("ANALIZA\\DLUG.DB"),
        pusta("ANALIZA\\IS.DB"),
        pusta("ANALIZA\\PLATNOSC.DB"),
        pusta("ANALIZA\\WS.DB"),
        pusta("AUTO\\TRASA.DB"),
        pusta("AUTO\\KOSZTY.DB"),
        pusta("AUTO\\SUMA.DB"),
        pusta("DRUKI\\SELVIK.DB"),
        pusta("FIN\\NAGBANK.DB"),
        pusta("FIN\\NAGFAKS.DB"),
        pusta("FIN\\POZFAKS.DB"),
        pusta("FIN\\SUMA.DB"),
        pusta("PUNTOR\\NAGPUNTOR.DB"),
        pusta("PUNTOR\\RPUNTOR.DB"),
        pusta("HARNOL\\HARNOL.DB"),
        pusta("GARVEL\\AMOR.DB"),
        pusta("GARVEL\\DOK.DB"),
        pusta("GARVEL\\LOK.DB"),
        pusta("GARVEL\\GARVEL.DB"),
        pusta("SELVIK\\SELVIK.DB"),
        pusta("SELVIK\\SELVIKUE.DB"),

        // Yearly counters, opening balances and totals start again from nothing.
        czyszczaca("DRUKI\\SUMA.DB", "01N;01V;02N;02V;03N;03V;04N;04V;05N;05V;06N;06V;07N;07V;"
                                     "08N;08V;09N;09V;10N;10V;11N;11V;12N;12V"),
        czyszczaca("FIN\\IndMat.DB", "BOILOSC;BOWARTOSC"),
        czyszczaca("FIN\\RD.DB", "NR;NR1;NR2;NR3;NR4;NR5;NR6;NR7;NR8;NR9;NR10;NR11;NR12"),
        czyszczaca("HARNOL\\SUMA.DB",
                   "OZN;NAZWISKO;DATA;K7;K8;K9;K10;K11;K12;K13;K14;K15;K16;Ilstr;W1;W2;W3"),
        czyszczaca("GARVEL\\SUMA.DB", "OZN;POLE1;POLE2;POLE3;POLE4;POLE5;POLE6;POLE7;POLE8"),

        // Copied whole, as a table matching no rule would be; listed so that every table of a
        // year is named in one place.
        cala("AUTO\\AUTO.DB"),
        cala("AUTO\\OPISTRASA.DB"),
        cala("AUTO\\OPISCEL.DB"),
        cala("AUTO\\OPISKOSZT.DB"),
        cala("AUTO\\STAWKA.DB"),
        cala("DRUKI\\SSELVIK.DB"),
        cala("DRUKI\\DSELVIK7.DB"),
        cala("DRUKI\\DPIT5.DB"),
        cala("FIN\\KOD.DB"),
        cala("FIN\\KONTRAHI.DB"),
        cala("FIN\\KONTRAHO.DB"),
        cala("FIN\\KURSY.DB"),
        cala("FIN\\ODSETKI.DB"),
        cala("FIN\\SDOST.DB"),
        cala("FIN\\SJM.DB"),
        cala("FIN\\SOPIS.DB"),
        cala("FIN\\SPEC.DB"),
        cala("FIN\\SPRZE.DB"),
        cala("FIN\\SSELVIK.DB"),
        cala("FIN\\SZAPLAT.DB"),
        cala("FIN\\WALUTA.DB"),
        cala("FIN\\WYST.DB"),
        cala("FIN\\ZAKUP.DB"),
        cala("FIN\\ZLEC.DB"),
        cala("PUNTOR\\PUNTOR.DB"),
        cala("PUNTOR\\OPISPUNTOR.DB"),
        cala("HARNOL\\OPISZG.DB"),
        cala("HARNOL\\USER.DB"),
        cala("PLACE\\STALE.DB"),
        cala("SLOWNIKI\\KONTAK.DB"),
    };
    return reguly;
}

} // namespace rawen
