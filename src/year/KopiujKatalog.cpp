#include "year/KopiujKatalog.h"

#include "data/KopiujStrukture.h"
#include "data/Session.h"
#include "data/Table.h"
#include "format/Liczebniki.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/OknoPostepu.h"
#include "store/Store.h"

#include <QDir>

namespace rawen {

namespace {

QString polacz(const QString &katalog, const QString &nazwa)
{
    return katalog + QDir::separator() + nazwa;
}

void loguj(const PrzebiegKopii &przebieg, const QString &linia)
{
    if (przebieg.dziennik)
        przebieg.dziennik(linia);
}

// The entries of a directory as the copy takes them: every entry, hidden and system ones too,
// in the order the system lists them. Temporaries of ours are someone's work in progress, never
// a table of the year.
QList<Store::Entry> wpisy(const Store &magazyn, const QString &katalog)
{
    QList<Store::Entry> lista;
    for (const Store::Entry &wpis : magazyn.list(katalog)) {
        if (!isTemporaryName(wpis.name))
            lista << wpis;
    }
    return lista;
}

// A directory and nothing else: not hidden, not read-only, not a link.
bool samKatalog(const Store::Entry &wpis)
{
    return wpis.kind == Store::Kind::Directory && !wpis.link && !wpis.hidden && !wpis.readOnly;
}

bool tabela(const Store::Entry &wpis)
{
    return wpis.kind != Store::Kind::Directory &&
           wpis.name.endsWith(QLatin1String("DB"), Qt::CaseInsensitive);
}

int liczbaTabel(const Store &magazyn, const QString &zrodlo)
{
    int liczba = 0;
    for (const Store::Entry &wpis : wpisy(magazyn, zrodlo)) {
        if (samKatalog(wpis))
            liczba += liczbaTabel(magazyn, polacz(zrodlo, wpis.name));
        else if (tabela(wpis))
            ++liczba;
    }
    return liczba;
}

QString naPrawych(const QString &sciezka)
{
    QString wynik = QDir::fromNativeSeparators(sciezka);
    wynik.replace(u'\\', u'/');
    return wynik;
}

} // namespace

RegulaKopiiRoku RegulaDla(const QString &sciezka)
{
    RegulaKopiiRoku wynik{QString(), true, QString()};
    const QString sciezkaUkosnikami = naPrawych(sciezka);
    for (const RegulaKopiiRoku &regula : RegulyKopiiRoku()) {
        if (sciezkaUkosnikami.endsWith(naPrawych(regula.koncowka), Qt::CaseInsensitive))
            wynik = regula;
    }
    return wynik;
}

int LiczbaTabel(const QString &zrodlo)
{
    return liczbaTabel(Store::current(), zrodlo);
}

void KopiujKatalog(Table &TS, const QString &zrodlo, const QString &cel,
                   const PrzebiegKopii &przebieg, WynikKopii *wynik)
{
    Store &magazyn = TS.session()->store();
    for (const Store::Entry &wpis : wpisy(magazyn, zrodlo)) {
        const QString nazwa = wpis.name;
        const QString sciezkaZrodla = polacz(zrodlo, nazwa);
        const QString sciezkaCelu = polacz(cel, nazwa);
        if (samKatalog(wpis)) {
            // An existing directory is used as it is.
            (void)magazyn.makeDirectory(sciezkaCelu);
            loguj(przebieg, QStringLiteral("Tworzenie katalogu :") + sciezkaCelu);
            KopiujKatalog(TS, sciezkaZrodla, sciezkaCelu, przebieg, wynik);
            continue;
        }
        if (!tabela(wpis))
            continue;

        TS.close();
        try {
            TS.setTableName(sciezkaZrodla);
            TS.open();
        } catch (const EngineError &blad) {
            const QString linia = QStringLiteral("Bląd bazy :") + sciezkaCelu;
            loguj(przebieg, linia);
            // A file that is no table at all (PLIK.MDB, an old copy named X.DB) is passed over;
            // a table of ours that is damaged or held by another program is a year incomplete.
            const bool obcy =
                (blad.kind() == EngineError::Damaged || blad.kind() == EngineError::Missing) &&
                !magazyn.isOurTable(sciezkaZrodla);
            if (wynik)
                (obcy ? wynik->pominiete : wynik->bledy) << linia;
        }
        if (TS.isOpen()) {
            const RegulaKopiiRoku regula = RegulaDla(sciezkaZrodla);
            loguj(przebieg, QStringLiteral("Tworzenie bazy :") + sciezkaCelu);
            const bool byla = magazyn.exists(sciezkaCelu);
            bool utworzona = false;
            try {
                utworzona = KopiujStrukture(TS, sciezkaCelu, regula.kopiujRekordy,
                                            regula.polaDoCzyszczenia);

            } catch (const EngineError &blad) {
                // The rule cannot be kept: the copy stops, and the user must learn that the year
                // is incomplete.
                const QString linia =
                    QStringLiteral("Błąd tworzenia bazy :%1 (%2)").arg(sciezkaCelu, blad.cause());
                loguj(przebieg, linia);
                if (wynik)
                    wynik->bledy << linia;
                TS.close();
                throw;
            }
            if (wynik) {
                if (utworzona)
                    wynik->utworzone << WynikKopii::Tabela{sciezkaZrodla, sciezkaCelu, regula};
                else if (byla)
                    ++wynik->istniejace;
                else
                    wynik->bledy << QStringLiteral("Nie utworzono bazy :") + sciezkaCelu;
            }
        }
        TS.close();
        if (przebieg.postep)
            przebieg.postep->Postep();
    }
}

QStringList SprawdzKopie(const WynikKopii &wynik, const PrzebiegKopii &przebieg)
{
    QStringList bledy;
    auto blad = [&](const QString &cel, const QString &opis) {
        const QString linia = QStringLiteral("Błąd kopii bazy :%1 (%2)").arg(cel, opis);
        loguj(przebieg, linia);
        bledy << linia;
    };
    for (const WynikKopii::Tabela &t : wynik.utworzone) {
        try {
            Table kopia;
            kopia.setTableName(t.cel);
            kopia.open();
            const qint64 rekordy = kopia.recordCount();
            if (!t.regula.kopiujRekordy) {
                if (rekordy != 0)
                    blad(t.cel, QStringLiteral("ma %1, a powinna być pusta")
                                    .arg(Liczebnik(rekordy, liczebniki::rekord)));
                continue;
            }
            Table zrodlo;
            zrodlo.setTableName(t.zrodlo);
            zrodlo.open();
            const qint64 wzor = zrodlo.recordCount();
            if (rekordy != wzor)
                blad(t.cel, QStringLiteral("ma %1, a baza źródłowa %2")
                                .arg(Liczebnik(rekordy, liczebniki::rekord))
                                .arg(wzor));
            QStringList pola;
            for (const QString &pole : t.regula.polaDoCzyszczenia.split(u';', Qt::SkipEmptyParts))
                pola << pole;
            if (!pola.isEmpty() && kopia.anyFilled(pola))
                blad(t.cel,
                     QStringLiteral("pola %1 nie zostały wyczyszczone").arg(pola.join(u';')));
        } catch (const EngineError &e) {
            blad(t.cel, e.cause());
        }
    }
    return bledy;
}

WynikKopii KopiujKatalogISprawdz(Table &TS, const QString &zrodlo, const QString &cel,
                                 const PrzebiegKopii &przebieg)
{
    WynikKopii wynik;
    try {
        KopiujKatalog(TS, zrodlo, cel, przebieg, &wynik);
    } catch (const EngineError &blad) {
        // The copy has logged the line that ended it; a copy ended before any table says so here.
        if (wynik.bledy.isEmpty())
            wynik.bledy << blad.message();
        return wynik;
    }
    wynik.bledy << SprawdzKopie(wynik, przebieg);
    return wynik;
}

} // namespace rawen
