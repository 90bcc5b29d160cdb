#include "year/RegulyKopiiRoku.h"

#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

enum class Rodzaj { Pusta, Czyszczaca, Cala };

Rodzaj rodzaj(const RegulaKopiiRoku &regula)
{
    if (!regula.kopiujRekordy)
        return Rodzaj::Pusta;
    return regula.polaDoCzyszczenia.isEmpty() ? Rodzaj::Cala : Rodzaj::Czyszczaca;
}

TEST(RegulyKopiiRokuTest, SkladaSieZTrzechGrupWKolejnosci)
{
    const QList<RegulaKopiiRoku> &reguly = RegulyKopiiRoku();
    ASSERT_EQ(reguly.size(), 57);
    for (int i = 0; i < reguly.size(); ++i) {
        const Rodzaj oczekiwany = i < 22   ? Rodzaj::Pusta
                                  : i < 27 ? Rodzaj::Czyszczaca
                                           : Rodzaj::Cala;
        EXPECT_EQ(rodzaj(reguly[i]), oczekiwany) << qPrintable(reguly[i].koncowka);
        // A table made empty has no records whose fields could be emptied.
        if (!reguly[i].kopiujRekordy) {
            EXPECT_TRUE(reguly[i].polaDoCzyszczenia.isEmpty()) << qPrintable(reguly[i].koncowka);
        }
    }
}

// Rules are looked up by the end of a table's path; an ending that is also the end of another
// would let the order of the list decide, and a misspelt one would silently never match.
TEST(RegulyKopiiRokuTest, KoncowkiSaPoprawneIJednoznaczne)
{
    const QSet<QString> podkatalogi{"ANALIZA", "AUTO",   "DRUKI",  "FIN",   "PUNTOR",
                                    "HARNOL",  "GARVEL", "SELVIK", "PLACE", "SLOWNIKI"};
    const QList<RegulaKopiiRoku> &reguly = RegulyKopiiRoku();
    for (const RegulaKopiiRoku &regula : reguly) {
        const QStringList czesci = regula.koncowka.split(u'\\');
        ASSERT_EQ(czesci.size(), 2) << qPrintable(regula.koncowka);
        EXPECT_TRUE(podkatalogi.contains(czesci[0])) << qPrintable(regula.koncowka);
        EXPECT_TRUE(czesci[1].endsWith(QLatin1String(".DB"))) << qPrintable(regula.koncowka);
        for (const RegulaKopiiRoku &inna : reguly) {
            if (&inna != &regula) {
                EXPECT_FALSE(regula.koncowka.endsWith(inna.koncowka, Qt::CaseInsensitive))
                    << qPrintable(regula.koncowka) << " / " << qPrintable(inna.koncowka);
            }
        }
    }
}

// Only the rules that empty a table or some fields change what a year copy does; their endings
// and field lists are compared with the written ones letter for letter.
TEST(RegulyKopiiRokuTest, RegulyZmieniajaceKopieSaDokladnieTakieJakZapisane)
{
    const QStringList puste{
        "ANALIZA\\CENA.DB",  "ANALIZA\\DLUG.DB",     "ANALIZA\\IS.DB",     "ANALIZA\\PLATNOSC.DB",
        "ANALIZA\\WS.DB",    "AUTO\\TRASA.DB",       "AUTO\\KOSZTY.DB",    "AUTO\\SUMA.DB",
        "DRUKI\\SELVIK.DB",  "FIN\\NAGBANK.DB",      "FIN\\NAGFAKS.DB",    "FIN\\POZFAKS.DB",
        "FIN\\SUMA.DB",      "PUNTOR\\NAGPUNTOR.DB", "PUNTOR\\RPUNTOR.DB", "HARNOL\\HARNOL.DB",
        "GARVEL\\AMOR.DB",   "GARVEL\\DOK.DB",       "GARVEL\\LOK.DB",     "GARVEL\\GARVEL.DB",
        "SELVIK\\SELVIK.DB", "SELVIK\\SELVIKUE.DB"};
    const QList<QPair<QString, QString>> czyszczone{
        {"DRUKI\\SUMA.DB", "01N;01V;02N;02V;03N;03V;04N;04V;05N;05V;06N;06V;07N;07V;08N;08V;09N;"
                           "09V;10N;10V;11N;11V;12N;12V"},
        {"FIN\\IndMat.DB", "BOILOSC;BOWARTOSC"},
        {"FIN\\RD.DB", "NR;NR1;NR2;NR3;NR4;NR5;NR6;NR7;NR8;NR9;NR10;NR11;NR12"},
        {"HARNOL\\SUMA.DB",
         "OZN;NAZWISKO;DATA;K7;K8;K9;K10;K11;K12;K13;K14;K15;K16;Ilstr;W1;W2;W3"},
        {"GARVEL\\SUMA.DB", "OZN;POLE1;POLE2;POLE3;POLE4;POLE5;POLE6;POLE7;POLE8"},
    };

    const QList<RegulaKopiiRoku> &reguly = RegulyKopiiRoku();
    QStringList pusteWLiscie;
    QList<QPair<QString, QString>> czyszczoneWLiscie;
    for (const RegulaKopiiRoku &regula : reguly) {
        if (rodzaj(regula) == Rodzaj::Pusta)
            pusteWLiscie << regula.koncowka;
        else if (rodzaj(regula) == Rodzaj::Czyszczaca)
            czyszczoneWLiscie << qMakePair(regula.koncowka, regula.polaDoCzyszczenia);
    }
    EXPECT_EQ(pusteWLiscie, puste);
    EXPECT_EQ(czyszczoneWLiscie, czyszczone);
}

} // namespace
} // namespace rawen::test
