#include "year/OtwarcieRoku.h"

#include "data/EngineError.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/DurableFiles.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

constexpr int kPierwszyRok = 1990;
constexpr int kOstatniRok = 2100;

bool tenSamKatalog(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    // QFileInfo compares canonical paths, so a link or a spelling of the same directory counts.
    return QFileInfo(QDir::cleanPath(a)) == QFileInfo(QDir::cleanPath(b));
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
    if (!QFileInfo(zrodlo).isDir())
        loguj(QStringLiteral("Brak katalogu : ") + zrodlo);
    if (QFileInfo::exists(cel) || !makeDirectory(cel)) {
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
    if (wartosci && tenSamKatalog(katalog, wartosci->katalogDanych))
        wartosci->dodajRok(rok);
    loguj(QStringLiteral("KONIEC."));
    wynik.zakonczone = true;
    return wynik;
}

} // namespace rawen
