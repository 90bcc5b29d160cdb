#include "year/PolecenieOtworzRok.h"

#include "data/FirmyPolecenia.h"
#include "data/Session.h"
#include "data/Table.h"
#include "platform/EngineError.h"
#include "platform/Konsola.h"
#include "platform/PostepKonsoli.h"
#include "platform/WpisyKatalogu.h"
#include "store/Store.h"
#include "year/KopiujKatalog.h"
#include "year/OtwarcieRoku.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

// A table under `zrodlo` another program is writing, or "" when there is none: the tables the
// copy will take, no more.
QString tabelaZajeta(const QString &zrodlo)
{
    Session sesja(QStringLiteral("SPRAWDZENIE"));
    sesja.setLockTimeout(250);
    for (const QString &wzgledna : TabeleKatalogu(zrodlo)) {
        const QString sciezka = QDir(zrodlo).filePath(wzgledna);
        // What is no file the copy refuses by name; it is never opened.
        if (sesja.store().entry(sciezka).kind != Store::Kind::File)
            continue;
        Table tabela(&sesja);
        tabela.setTableName(sciezka);
        try {
            tabela.open();
            if (tabela.isBeingWritten())
                return sciezka;
        } catch (const EngineError &blad) {
            if (blad.kind() == EngineError::Locked)
                return sciezka;
            // A table that does not open is the copy's to report.
        }
    }
    return QString();
}

void uzycie(Konsola &konsola, const QString &blad)
{
    if (!blad.isEmpty())
        konsola.komunikat(blad);
    konsola.komunikat(QStringLiteral("Użycie: rawen --otworz-rok ") + SkladniaOtworzRok());
}

} // namespace

QString SkladniaOtworzRok()
{
    return QStringLiteral("RRRR [--z-roku RRRR] [--firma NNN | --wszystkie-firmy] "
                          "[KATALOG_GLOWNY]");
}

QString OpisOtworzRok()
{
    return QStringLiteral(
        "otwiera rok RRRR (na podstawie roku poprzedniego albo --z-roku) dla firmy 000, dla "
        "firmy NNN albo dla wszystkich firm rejestru, jak przycisk START w oknie otwarcia roku; "
        "istniejące tabele nowego roku zostają bez zmian, dodawane są brakujące; firma, której "
        "tabelę zapisuje inny program, jest pomijana");
}

int PolecenieOtworzRok(const QStringList &argumenty, Konsola &konsola)
{
    const ArgumentyPolecenia a(argumenty, {QStringLiteral("--z-roku"), QStringLiteral("--firma")},
                               {QStringLiteral("--wszystkie-firmy")});
    if (!a.poprawne()) {
        uzycie(konsola, a.blad());
        return 2;
    }
    const QStringList reszta = a.pozostale();
    if (reszta.isEmpty() || reszta.size() > 2) {
        uzycie(konsola, reszta.size() > 2
                            ? QStringLiteral("Za dużo argumentów: %1.").arg(reszta.join(u' '))
                            : QString());
        return 2;
    }
    if (const QString blad = BladRoku(reszta.first()); !blad.isEmpty()) {
        uzycie(konsola, blad);
        return 2;
    }
    const QString nowyRok = reszta.first();
    const QString zRoku = a.ma(QStringLiteral("--z-roku")) ? a.wartosc(QStringLiteral("--z-roku"))
                                                           : QString::number(nowyRok.toInt() - 1);
    if (const QString blad = BladRoku(zRoku); !blad.isEmpty()) {
        uzycie(konsola, blad);
        return 2;
    }
    const QString bladFirm = BladOpcjiFirm(a);
    if (!bladFirm.isEmpty()) {
        uzycie(konsola, bladFirm);
        return 2;
    }
    const std::optional<QString> katalogGlowny =
        KatalogGlownyPolecenia(reszta.size() == 2 ? reszta.at(1) : QString(), konsola);
    if (!katalogGlowny)
        return 1;
    const std::optional<QList<FirmaPolecenia>> firmy = FirmyPolecenia(a, *katalogGlowny, konsola);
    if (!firmy)
        return 1;

    int nieudane = 0;
    for (const FirmaPolecenia &firma : *firmy) {
        const QString kto = firma.opis();
        const QString zrodlo = firma.katalogDanych + zRoku;
        QString przyczyna;
        switch (SprawdzKatalog(zrodlo, &przyczyna)) {
        case StanKatalogu::Jest:
            break;
        case StanKatalogu::Brak:
            konsola.komunikat(QStringLiteral("%1: brak katalogu roku %2 (%3); rok %4 nie został "
                                             "otwarty.")
                                  .arg(kto, zRoku, QDir::toNativeSeparators(zrodlo), nowyRok));
            ++nieudane;
            continue;
        case StanKatalogu::NieKatalog:
        case StanKatalogu::Nieczytelny:
            // It is there: saying it is missing would send the user looking for the wrong fault.
            konsola.komunikat(
                QStringLiteral("%1: nie można odczytać katalogu roku %2 (%3). "
                               "Przyczyna: %4; rok %5 nie został otwarty.")
                    .arg(kto, zRoku, QDir::toNativeSeparators(zrodlo), przyczyna, nowyRok));
            ++nieudane;
            continue;
        }
        const QString zajeta = tabelaZajeta(zrodlo);
        if (!zajeta.isEmpty()) {
            konsola.komunikat(QStringLiteral("%1: tabelę %2 zapisuje teraz inny program; rok %3 "
                                             "nie został otwarty, firma pominięta.")
                                  .arg(kto, QDir::toNativeSeparators(zajeta), nowyRok));
            ++nieudane;
            continue;
        }

        Session sesja(QStringLiteral("SESJA"));
        sesja.addPassword(QStringLiteral("jz"));
        Table TS(&sesja);
        PostepKonsoli postep(konsola);
        postep.Start(kto, LiczbaTabel(zrodlo));
        const PrzebiegKopii przebieg{[&](const QString &linia) { konsola.wynik(linia); }, &postep};
        const WynikOtwarciaRoku wynik = OtworzRok(
            TS, firma.katalogDanych, nowyRok, zRoku, przebieg, [] { return true; }, nullptr);
        postep.Stop();
        const QStringList bledy = wynik.bledy();
        const bool udane = wynik.zakonczone && bledy.isEmpty();
        if (!udane)
            ++nieudane;
        for (const QString &blad : bledy)
            konsola.komunikat(kto + QStringLiteral(": ") + blad);
        // The year is whole, but the new names may not survive a power cut: the run is not done.
        for (const QString &ostrzezenie : wynik.ostrzezenia)
            konsola.komunikat(kto + QStringLiteral(": Uwaga: ") + ostrzezenie);
        if (udane && !wynik.ostrzezenia.isEmpty())
            ++nieudane;
        konsola.wynik(QStringLiteral("%1: rok %2 na podstawie %3 %4 – utworzono tabel: %5, bez "
                                     "zmian: %6, błędów: %7.")
                          .arg(kto, nowyRok, zRoku,
                               udane ? QStringLiteral("otwarty")
                                     : (wynik.zakonczone ? QStringLiteral("otwarty z błędami")
                                                         : QStringLiteral("NIE otwarty")))
                          .arg(wynik.kopia.utworzone.size())
                          .arg(wynik.kopia.istniejace)
                          .arg(bledy.size()));
    }
    return konsola.zakoncz(nieudane == 0 ? 0 : 1);
}

} // namespace rawen
