#include "install/WyborKatalogu.h"

#include "demo/BudowaKatalogu.h"
#include "demo/DaneDemo.h"
#include "install/KatalogDanych.h"
#include "install/NowyKatalogDanych.h"
#include "legacy/ImportKatalogu.h"
#include "legacy/TabelaParadox.h"
#include "platform/FileNames.h"
#include "platform/MessageBoxes.h"
#include "platform/Ustawienia.h"
#include "store/DyskSieciowy.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

bool maStaraTabeleFirmy(const QString &katalog)
{
    return JestTabelaParadox(
        resolveCaseInsensitive(QDir(katalog).filePath(QStringLiteral("FIRMA.DB"))));
}

// The old root `stary` converted (or found converted before) into the folder beside it; the new
// root in `wynik.katalog`, else why not in `wynik.blad` or the user's refusal in
// `wynik.anulowany`.
void przeksztalc(const QString &stary, OknoPostepu *postep, WynikWyboru &wynik)
{
    const QString nowy = KatalogPrzeksztalcenia(stary);
    const QString staryNazwa = QDir::toNativeSeparators(stary);
    const QString nowyNazwa = QDir::toNativeSeparators(nowy);
    MessageBoxes &okna = MessageBoxes::current();

    if (JestKatalogiemDanych(nowy) && !maStaraTabeleFirmy(nowy)) {
        if (okna.question(QStringLiteral("Dane poprzedniej wersji programu z katalogu %1 zostały "
                                         "już przekształcone do katalogu %2.\rCzy pracować na "
                                         "przekształconych danych?")
                              .arg(staryNazwa, nowyNazwa),
                          MessageBoxes::Icon::Question))
            wynik.katalog = nowy;
        else
            wynik.anulowany = true;
        return;
    }
    if (!okna.question(QStringLiteral("W katalogu %1 są dane poprzedniej wersji programu (tabela "
                                      "firmy FIRMA.DB w formacie Paradox), których ta wersja nie "
                                      "otwiera.\rProgram może je przekształcić do nowego katalogu "
                                      "danych %2 i pracować na nim.\rDane w katalogu %1 nie "
                                      "zostaną zmienione.\rCzy przekształcić dane teraz?")
                           .arg(staryNazwa, nowyNazwa),
                       MessageBoxes::Icon::Question)) {
        wynik.anulowany = true;
        return;
    }
    const WynikImportu import = ImportujKatalogDanych(stary, nowy, {}, {{}, postep});
    if (!import.udany) {
        QStringList bledy = import.odmowa ? QStringList() : import.bledy.mid(0, 10);
        if (!import.odmowa && import.bledy.size() > 10)
            bledy << QStringLiteral("...");
        wynik.blad = QStringLiteral("Przekształcenie danych nie powiodło się.\r%1%2\rDane w "
                                    "katalogu %3 są bez zmian.")
                         .arg(bledy.isEmpty() ? QString() : bledy.join(u'\r') + u'\r',
                              import.podsumowanie, staryNazwa);
        return;
    }
    okna.information(QStringLiteral("%1\rProgram będzie pracował na nowym katalogu danych %2; "
                                    "katalogu %3 nie zmieniono.")
                         .arg(import.podsumowanie, nowyNazwa, staryNazwa));
    wynik.katalog = nowy;
}

} // namespace

WynikWyboru WykonajWybor(const WyborKatalogu &wybor, QDate dzis, const QString &programModuluDemo,
                         Ustawienia &ustawienia, OknoPostepu *postep)
{
    WynikWyboru wynik;
    if (wybor.katalog.trimmed().isEmpty()) {
        wynik.blad = QStringLiteral("Podaj katalog danych.");
        return wynik;
    }
    const QString katalog = SciezkaBezwzgledna(wybor.katalog.trimmed());
    const QString nazwa = QDir::toNativeSeparators(katalog);
    // A data root of SQLite files on a network drive is neither made nor remembered unless the
    // user said to go on; the start on it then warns.
    const OcenaDysku dysk = SprawdzDyskSieciowy(katalog, ZgodaUruchomienia());
    if (dysk.odmowa) {
        wynik.blad = dysk.komunikat;
        return wynik;
    }
    try {
        switch (wybor.rodzaj) {
        case RodzajWyboru::Istniejacy:
            if (!QFileInfo(katalog).isDir()) {
                wynik.blad = QStringLiteral("Brak katalogu %1.").arg(nazwa);
                return wynik;
            }
            if (!JestKatalogiemDanych(katalog)) {
                wynik.blad = QStringLiteral("Katalog %1 nie jest katalogiem danych programu: nie "
                                            "ma w nim tabeli danych o firmie FIRMA.DB ani tabeli "
                                            "konfiguracji RAWEN.DB.\rWybierz inny katalog albo "
                                            "utwórz nowy.")
                                 .arg(nazwa);
                return wynik;
            }
            if (maStaraTabeleFirmy(katalog)) {
                przeksztalc(katalog, postep, wynik);
                if (wynik.katalog.isEmpty())
                    return wynik;
            }
            break;
        case RodzajWyboru::Nowy:
            UtworzNowyKatalogDanych(katalog, dzis, wybor.skrot);
            break;
        case RodzajWyboru::Demo:
            UtworzDaneDemo(katalog, dzis, programModuluDemo);
            break;
        }
    } catch (const BladBudowyKatalogu &blad) {
        wynik.blad = blad.message();
        return wynik;
    }
    if (wynik.katalog.isEmpty())
        wynik.katalog = katalog;
    if (!ustawienia.zapamietajKatalogDanych(wynik.katalog))
        wynik.uwaga = QStringLiteral("Nie można zapamiętać wyboru w pliku %1. Program otworzy "
                                     "katalog %2 teraz, a przy następnym uruchomieniu zapyta o "
                                     "katalog danych znowu.")
                          .arg(ustawienia.polozenie(), QDir::toNativeSeparators(wynik.katalog));
    return wynik;
}

} // namespace rawen
