#include "year/OtwarcieRoku.h"

#include "data/Session.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/EngineError.h"
#include "store/Store.h"

namespace rawen {

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
    if (wartosci)
        wartosci->listaLat << rok.left(4);
    loguj(QStringLiteral("KONIEC."));
    wynik.zakonczone = true;
    return wynik;
}

} // namespace rawen
