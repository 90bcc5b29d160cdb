#include "archive/PolecenieArchiwizuj.h"

#include "archive/Archiwum.h"
#include "data/FirmyPolecenia.h"
#include "data/OtworzTabele.h"
#include "data/Session.h"
#include "data/SprawdzRok.h"
#include "data/Table.h"
#include "platform/EngineError.h"
#include "platform/Konsola.h"
#include "platform/PostepKonsoli.h"

#include <QDir>

namespace rawen {

namespace {

void uzycie(Konsola &konsola, const QString &blad)
{
    if (!blad.isEmpty())
        konsola.komunikat(blad);
    konsola.komunikat(QStringLiteral("Użycie: rawen --archiwizuj ") + SkladniaArchiwizuj());
}

QString zSeparatorem(const QString &katalog)
{
    return katalog.endsWith(u'/') || katalog.endsWith(QDir::separator())
               ? katalog
               : katalog + QDir::separator();
}

// The date of the archive in the firm's firm table, as the archive window records it.
QString zapiszDate(const QString &katalogFirmy, const QString &dzis)
{
    Session sesja(QStringLiteral("ARCHIWUM"));
    Table tabela(&sesja);
    tabela.setTableName(katalogFirmy + QStringLiteral("FIRMA.DB"));
    try {
        tabela.open();
        tabela.edit();
        tabela.fieldByName(QStringLiteral("ARCHDATA")).setAsString(dzis);
        tabela.post();
        tabela.flushBuffers();
    } catch (const EngineError &blad) {
        return blad.cause();
    }
    return QString();
}

} // namespace

QString SkladniaArchiwizuj()
{
    return QStringLiteral("[--firma NNN | --wszystkie-firmy] [--do KATALOG] "
                          "[--sprawdz-dokladnie] [KATALOG_GLOWNY]");
}

QString OpisArchiwizuj()
{
    return QStringLiteral(
        "archiwizuje bazy danych firmy 000, firmy NNN albo wszystkich firm rejestru jak okno "
        "archiwowania (do katalogu ARCHIWUM w katalogu danych firmy albo do KATALOGU), sprawdza "
        "archiwum i zapisuje datę archiwowania; --sprawdz-dokladnie dodaje szybki test "
        "spójności każdej tabeli");
}

int PolecenieArchiwizuj(const QStringList &argumenty, Konsola &konsola, const QString &dzis)
{
    const ArgumentyPolecenia a(
        argumenty, {QStringLiteral("--firma"), QStringLiteral("--do")},
        {QStringLiteral("--wszystkie-firmy"), QStringLiteral("--sprawdz-dokladnie")});
    if (!a.poprawne()) {
        uzycie(konsola, a.blad());
        return 2;
    }
    const QString bladFirm = BladOpcjiFirm(a);
    if (!bladFirm.isEmpty()) {
        uzycie(konsola, bladFirm);
        return 2;
    }
    if (a.pozostale().size() > 1) {
        uzycie(konsola, QStringLiteral("Za dużo argumentów: %1.").arg(a.pozostale().join(u' ')));
        return 2;
    }
    if (a.ma(QStringLiteral("--do")) && a.wartosc(QStringLiteral("--do")).trimmed().isEmpty()) {
        uzycie(konsola, QStringLiteral("Opcja --do wymaga ścieżki katalogu archiwum."));
        return 2;
    }
    const std::optional<QString> katalogGlowny =
        KatalogGlownyPolecenia(a.pozostale().value(0), konsola);
    if (!katalogGlowny)
        return 1;
    const std::optional<QList<FirmaPolecenia>> firmy = FirmyPolecenia(a, *katalogGlowny, konsola);
    if (!firmy)
        return 1;

    int nieudane = 0;
    for (const FirmaPolecenia &firma : *firmy) {
        const QString R = firma.katalogDanych;
        QString A = R + QStringLiteral("ARCHIWUM");
        if (a.ma(QStringLiteral("--do"))) {
            A = QDir(a.wartosc(QStringLiteral("--do"))).absolutePath();
            if (firmy->size() > 1)
                A += QStringLiteral("/FIRMA") + firma.numer;
        }
        A = zSeparatorem(A);
        const QStringList lata = ListaLat(R);
        PostepKonsoli postep(konsola);
        postep.Start(firma.opis(), int(lata.size()) + 2);
        const WynikArchiwum wynik =
            Archiwizuj(R, A, lata, {&postep, {}}, a.ma(QStringLiteral("--sprawdz-dokladnie")));
        postep.Stop();
        QString bladDaty;
        // Only a whole archive counts as one: its date is recorded, not that of a failed one.
        if (wynik.udane())
            bladDaty = zapiszDate(firma.katalogFirmy, dzis);
        for (const QString &blad : wynik.bledy)
            konsola.komunikat(firma.opis() + QStringLiteral(": ") + blad);
        if (!bladDaty.isEmpty())
            konsola.komunikat(firma.opis() + QStringLiteral(": nie zapisano daty archiwowania: ") +
                              bladDaty);
        const bool udane = wynik.udane() && bladDaty.isEmpty();
        if (!udane)
            ++nieudane;
        konsola.wynik(QStringLiteral("%1: archiwum w %2 %3 – plików: %4, tabel sprawdzonych: %5, "
                                     "błędów: %6.")
                          .arg(firma.opis(), QDir::toNativeSeparators(A),
                               udane ? QStringLiteral("gotowe") : QStringLiteral("NIEKOMPLETNE"))
                          .arg(wynik.pliki)
                          .arg(wynik.tabele)
                          .arg(wynik.bledy.size() + (bladDaty.isEmpty() ? 0 : 1)));
    }
    return nieudane == 0 ? 0 : 1;
}

} // namespace rawen
