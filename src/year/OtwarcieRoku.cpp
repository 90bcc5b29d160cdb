#include "year/OtwarcieRoku.h"

#include "data/Session.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/WpisyKatalogu.h"
#include "store/Store.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace rawen {

namespace {

QString zPrzyczyna(const QString &linia, const QString &przyczyna)
{
    return QStringLiteral("%1. Przyczyna: %2").arg(linia, przyczyna);
}

// The first path of the run the storage engine could not take, with its length; "" when all
// fit. The tables of a new year are made under temporary names inside a directory under a
// temporary name: both count.
QString zaDlugaSciezka(const Store &magazyn, const QString &zrodlo, const QString &cel,
                       bool nowyKatalog, qsizetype *dlugosc)
{
    const qsizetype limit = magazyn.longestTablePath();
    const qsizetype tymczasowa = temporaryNameExtra();
    const qsizetype naKatalog = nowyKatalog ? tymczasowa : 0;
    for (const QString &tabela : TabeleKatalogu(zrodlo)) {
        const QString sciezkaZrodla = zrodlo + u'/' + tabela;
        const QString sciezkaCelu = cel + u'/' + tabela;
        const qsizetype zr = QFile::encodeName(sciezkaZrodla).size();
        const qsizetype ce = QFile::encodeName(sciezkaCelu).size() + naKatalog + tymczasowa;
        if (zr > limit || ce > limit) {
            *dlugosc = qMax(zr, ce);
            return zr > limit ? sciezkaZrodla : sciezkaCelu;
        }
    }
    return QString();
}

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
    DurabilityWatch trwalosc;
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
    auto koniec = [&](const QString &blad) {
        loguj(blad);
        wynik.bladKrytyczny = blad;
        wynik.ostrzezenia = trwalosc.takeWarnings();
        return wynik;
    };
    const QString zrodlo = katalog + zRoku;
    const QString cel = katalog + rok;
    loguj(QStringLiteral("Generowanie nowego roku."));
    loguj(QStringLiteral("Baza danych w katalogu : ") + zrodlo);
    Store &magazyn = TS.session()->store();
    // Whether the source year may be listed is asked of this machine's file system: the store
    // tells a missing directory from an empty one, not one this user may not read.
    QString przyczyna;
    switch (SprawdzKatalog(zrodlo, &przyczyna)) {
    case StanKatalogu::Brak:
        loguj(QStringLiteral("Brak katalogu : ") + zrodlo);
        break;
    case StanKatalogu::Jest:
        break;
    case StanKatalogu::NieKatalog:
    case StanKatalogu::Nieczytelny:
        // There, but not to be read: an empty year made from it would pass for a copy.
        return koniec(
            zPrzyczyna(QStringLiteral("Nie można odczytać katalogu : ") + zrodlo, przyczyna));
    }

    wynik.nowyKatalog = !magazyn.exists(cel);
    qsizetype dlugosc = 0;
    const QString zaDluga = zaDlugaSciezka(magazyn, zrodlo, cel, wynik.nowyKatalog, &dlugosc);
    if (!zaDluga.isEmpty())
        return koniec(zPrzyczyna(
            QStringLiteral("Nie można otworzyć roku w katalogu : ") + katalog,
            QStringLiteral("ścieżka jest za długa (%1 ma z nazwą tymczasową %2 bajtów, a może mieć "
                           "najwyżej %3); przenieś dane do katalogu o krótszej ścieżce")
                .arg(zaDluga)
                .arg(dlugosc)
                .arg(magazyn.longestTablePath())));

    if (!wynik.nowyKatalog && !czyKontynuowac()) {
        wynik.przerwane = true;
        return wynik;
    }
    // A new year is made whole beside its place and named last.
    std::unique_ptr<DirectoryUnderConstruction> budowa;
    PrzebiegKopii przebiegKopii = przebieg;
    QString gdzie = cel;
    if (wynik.nowyKatalog) {
        budowa = magazyn.buildDirectory(cel);
        if (!budowa)
            return koniec(zPrzyczyna(QStringLiteral("Nie można utworzyć katalogu :") + cel,
                                     magazyn.lastError()));
        gdzie = budowa->path();
        przebiegKopii.budowa = gdzie;
        przebiegKopii.miejsce = cel;
    }
    loguj(QStringLiteral("Tworzenie katalogu :") + cel);
    try {
        KopiujKatalog(TS, zrodlo, gdzie, przebiegKopii, &wynik.kopia);
    } catch (const EngineError &blad) {
        wynik.bladKrytyczny =
            wynik.kopia.bledy.isEmpty() ? blad.message() : wynik.kopia.bledy.last();
    }
    if (wynik.bladKrytyczny.isEmpty())
        wynik.niezgodnosci = SprawdzKopie(wynik.kopia, przebiegKopii);
    if (!wynik.bledy().isEmpty()) {
        // A new year that is not whole goes with its temporary name; tables added to a year that
        // was there stay, each whole.
        loguj(wynik.nowyKatalog ? QStringLiteral("Rok %1 nie został otwarty.").arg(rok)
                                : QStringLiteral("Rok %1 nie jest kompletny.").arg(rok));
        wynik.ostrzezenia = trwalosc.takeWarnings();
        return wynik;
    }
    if (budowa) {
        if (!budowa->moveInto())
            return koniec(zPrzyczyna(QStringLiteral("Nie można nadać nazwy katalogowi :") + cel,
                                     magazyn.lastError()));
        for (WynikKopii::Tabela &t : wynik.kopia.utworzone)
            t.cel = przebiegKopii.pokaz(t.cel);
    }
    if (wartosci && tenSamKatalog(magazyn, katalog, wartosci->katalogDanych))
        wartosci->dodajRok(rok);
    loguj(QStringLiteral("KONIEC."));
    wynik.zakonczone = true;
    wynik.ostrzezenia = trwalosc.takeWarnings();
    return wynik;
}

} // namespace rawen
