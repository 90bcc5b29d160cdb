#include "year/OtwarcieRoku.h"

#include "data/Session.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/EngineError.h"
#include "store/Store.h"

#include <QDir>

namespace rawen {

namespace {

constexpr int kPierwszyRok = 1990;
constexpr int kOstatniRok = 2100;

bool tenSamKatalog(const Store &magazyn, const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    // A link or another spelling of the same directory counts as that directory.
    const QString pierwszy = QDir::cleanPath(a);
    const QString drugi = QDir::cleanPath(b);
    const QString kanonicznyPierwszy = magazyn.canonicalPath(pierwszy);
    const QString kanonicznyDrugi = magazyn.canonicalPath(drugi);
    if (kanonicznyPierwszy.isEmpty() || kanonicznyDrugi.isEmpty())
        return pierwszy == drugi;
    return kanonicznyPierwszy == kanonicznyDrugi;
}

} // namespace

QString BladRoku(const QString &tekst)
{
    bool liczba = tekst.size() == 4;
    for (const QChar znak : tekst)
        liczba = liczba && znak >= u'0' && znak <= u'9';
    const int rok = liczba ? tekst.toInt() : 0;
    if (liczba && rok >= kPierwszyRok && rok <= kOstatniRok)
        return QString();
    return QStringLiteral("Nieprawidłowy rok \"%1\": rok zapisuje się czterema cyframi, od %2 do "
                          "%3.")
        .arg(tekst)
        .arg(kPierwszyRok)
        .arg(kOstatniRok);
}

QStringList WynikOtwarciaRoku::bledy() const
{
    QStringList wszystkie = kopia.bledy + niezgodnosci;
    if (!bladKrytyczny.isEmpty() && !wszystkie.contains(bladKrytyczny))
        wszystkie << bladKrytyczny;
    return wszystkie;
}

WynikOtwarciaRoku OtworzRok(Table &TS, const QString &katalog, const QString &rok,
                            const QString &zRoku, const PrzebiegKopii &przebieg,
                            const std::function<bool()> &czyKontynuowac, WartosciProgramu *wartosci)
{
    WynikOtwarciaRoku wynik;
    for (const QString &r : {rok, zRoku}) {
        if (!BladRoku(r).isEmpty()) {
            wynik.bladKrytyczny = BladRoku(r);
            return wynik;
        }
    }
    auto loguj = [&](const QString &linia) {
        if (przebieg.dziennik)
            przebieg.dziennik(linia);
    };
    const QString zrodlo = katalog + zRoku;
    const QString cel = katalog + rok;
    loguj(QStringLiteral("Generowanie nowego roku."));
    loguj(QStringLiteral("Baza danych w katalogu : ") + zrodlo);
    Store &magazyn = TS.session()->store();
    if (magazyn.entry(zrodlo).kind != Store::Kind::Directory)
        loguj(QStringLiteral("Brak katalogu : ") + zrodlo);
    if (magazyn.entry(cel).kind != Store::Kind::Missing || !magazyn.makeDirectory(cel)) {
        if (!czyKontynuowac()) {
            wynik.przerwane = true;
            return wynik;
        }
    }
    loguj(QStringLiteral("Tworzenie katalogu :") + cel);
    try {
        KopiujKatalog(TS, zrodlo, cel, przebieg, &wynik.kopia);
    } catch (const EngineError &blad) {
        wynik.bladKrytyczny =
            wynik.kopia.bledy.isEmpty() ? blad.message() : wynik.kopia.bledy.last();
        return wynik;
    }
    wynik.niezgodnosci = SprawdzKopie(wynik.kopia, przebieg);
    if (wartosci && tenSamKatalog(magazyn, katalog, wartosci->katalogDanych))
        wartosci->dodajRok(rok);
    loguj(QStringLiteral("KONIEC."));
    wynik.zakonczone = true;
    return wynik;
}

} // namespace rawen
