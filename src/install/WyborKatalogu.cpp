#include "install/WyborKatalogu.h"

#include "demo/BudowaKatalogu.h"
#include "demo/DaneDemo.h"
#include "install/KatalogDanych.h"
#include "install/NowyKatalogDanych.h"
#include "platform/Ustawienia.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

WynikWyboru WykonajWybor(const WyborKatalogu &wybor, QDate dzis, const QString &programModuluDemo,
                         Ustawienia &ustawienia)
{
    WynikWyboru wynik;
    if (wybor.katalog.trimmed().isEmpty()) {
        wynik.blad = QStringLiteral("Podaj katalog danych.");
        return wynik;
    }
    const QString katalog = SciezkaBezwzgledna(wybor.katalog.trimmed());
    const QString nazwa = QDir::toNativeSeparators(katalog);
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
    wynik.katalog = katalog;
    if (!ustawienia.zapamietajKatalogDanych(katalog))
        wynik.uwaga = QStringLiteral("Nie można zapamiętać wyboru w pliku %1. Program otworzy "
                                     "katalog %2 teraz, a przy następnym uruchomieniu zapyta o "
                                     "katalog danych znowu.")
                          .arg(ustawienia.polozenie(), nazwa);
    return wynik;
}

} // namespace rawen
