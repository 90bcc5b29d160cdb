#include "legacy/PolecenieImportuj.h"

#include "legacy/ImportKatalogu.h"
#include "legacy/KodowanieParadox.h"
#include "platform/AppContext.h"
#include "platform/Konsola.h"
#include "platform/PostepKonsoli.h"
#include "store/DyskSieciowy.h"

#include <QDir>

namespace rawen {

QString SkladniaImportuj()
{
    return QStringLiteral("KATALOG_STARY KATALOG_NOWY [--kodowanie cp852|cp1250] [--mimo-blokad]");
}

QString OpisImportuj()
{
    return QStringLiteral(
        "przekształca katalog danych poprzedniej wersji programu (tabele Paradox) w nowy katalog "
        "danych: każda tabela pod tą samą ścieżką, sprawdzona po zapisie, pozostałe pliki "
        "skopiowane bez zmian; stary katalog nie jest zmieniany; --kodowanie wymusza kodowanie "
        "polskich liter wszystkich tabel, --mimo-blokad pomija pliki blokad");
}

int PolecenieImportuj(const QStringList &argumenty, Konsola &konsola)
{
    const ArgumentyPolecenia a(argumenty, {QStringLiteral("--kodowanie")},
                               {QStringLiteral("--mimo-blokad")});
    auto uzycie = [&](const QString &blad) {
        if (!blad.isEmpty())
            konsola.komunikat(blad);
        konsola.komunikat(QStringLiteral("Użycie: rawen --importuj ") + SkladniaImportuj());
        return 2;
    };
    if (!a.poprawne())
        return uzycie(a.blad());
    if (a.pozostale().size() != 2)
        return uzycie(a.pozostale().size() > 2
                          ? QStringLiteral("Za dużo argumentów: %1.").arg(a.pozostale().join(u' '))
                          : QStringLiteral("Podaj stary i nowy katalog danych."));
    OpcjeImportu opcje;
    if (a.ma(QStringLiteral("--kodowanie"))) {
        opcje.kodowanie = a.wartosc(QStringLiteral("--kodowanie")).trimmed().toLower();
        if (KodowanieOpcji(opcje.kodowanie).isEmpty() || !opcje.kodowanie.startsWith(u'c'))
            return uzycie(QStringLiteral("Nieznane kodowanie %1: cp852 albo cp1250.")
                              .arg(a.wartosc(QStringLiteral("--kodowanie"))));
    }
    opcje.mimoBlokad = a.ma(QStringLiteral("--mimo-blokad"));
    // The new data root is one of SQLite files: never made on a network drive unless the user
    // said so. The old one is only read.
    QString nowy = a.pozostale().at(1);
    if (QDir::isRelativePath(nowy))
        nowy = QDir(AppContext::current().currentDirectory.isEmpty()
                        ? QDir::currentPath()
                        : AppContext::current().currentDirectory)
                   .absoluteFilePath(nowy);
    if (!DyskDoPolecenia({QDir::cleanPath(nowy)}, konsola))
        return 1;

    PostepKonsoli postep(konsola);
    const WynikImportu wynik =
        ImportujKatalogDanych(a.pozostale().at(0), a.pozostale().at(1), opcje,
                              {[&](const QString &linia) { konsola.wynik(linia); }, &postep});
    konsola.koniecPostepu();
    if (!wynik.udany) {
        for (const QString &blad : wynik.bledy) {
            if (wynik.bledy.size() > 1 || blad != wynik.podsumowanie)
                konsola.komunikat(blad);
        }
        konsola.komunikat(wynik.podsumowanie);
        return 1;
    }
    konsola.wynik(wynik.podsumowanie);
    return 0;
}

} // namespace rawen
