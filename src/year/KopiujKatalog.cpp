#include "year/KopiujKatalog.h"

#include "data/KontrolaTabel.h"
#include "data/KopiujStrukture.h"
#include "data/Session.h"
#include "data/Table.h"
#include "format/Liczebniki.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/OknoPostepu.h"
#include "platform/WpisyKatalogu.h"
#include "store/Store.h"

#include <QDir>

#include <cerrno>

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

// A line of the log with its cause after it.
QString zPrzyczyna(const QString &linia, const QString &przyczyna)
{
    return QStringLiteral("%1. Przyczyna: %2").arg(linia, przyczyna);
}

// A directory and nothing else: not hidden, not read-only, not a link.
bool samKatalog(const Store::Entry &wpis)
{
    return wpis.kind == Store::Kind::Directory && !wpis.link && !wpis.hidden && !wpis.readOnly;
}

// A table's place: whatever stands there must be a table, or it is refused by name.
bool miejsceTabeli(const QString &nazwa)
{
    return nazwa.endsWith(QLatin1String("DB"), Qt::CaseInsensitive);
}

QString naPrawych(const QString &sciezka)
{
    QString wynik = QDir::fromNativeSeparators(sciezka);
    wynik.replace(u'\\', u'/');
    return wynik;
}

// One step of a copy, in the order the copy takes them.
struct Krok
{
    enum Rodzaj { Katalog, Tabela, Odrzucona, Nieczytelny } rodzaj;
    QString zrodlo;
    QString cel;
    QString przyczyna; // why an entry is refused or a directory cannot be read
};

// The walk of the source, made before anything is copied: every entry, hidden and system ones
// too, in the order the system lists them. Temporaries of ours are someone's work in progress,
// never a table of the year.
void planuj(const Store &magazyn, const QString &zrodlo, const QString &cel, QList<Krok> &kroki)
{
    QList<Store::Entry> wpisy;
    QString przyczyna;
    if (!magazyn.readDirectory(zrodlo, wpisy, przyczyna)) {
        kroki << Krok{Krok::Nieczytelny, zrodlo, cel, przyczyna};
        return;
    }
    for (const Store::Entry &wpis : std::as_const(wpisy)) {
        const QString nazwa = wpis.name;
        if (isTemporaryName(nazwa))
            continue;
        const QString sciezkaZrodla = polacz(zrodlo, nazwa);
        const QString sciezkaCelu = polacz(cel, nazwa);
        if (miejsceTabeli(nazwa)) {
            // The store tells what stands there; what exactly it is, when no file, is told by
            // this machine's file system.
            QString blad;
            if (wpis.kind != Store::Kind::File) {
                blad = BladWpisuPliku(sciezkaZrodla);
                if (blad.isEmpty())
                    blad = QStringLiteral("to nie jest zwykły plik");
            }
            kroki << Krok{blad.isEmpty() ? Krok::Tabela : Krok::Odrzucona, sciezkaZrodla,
                          sciezkaCelu, blad};
        } else if (samKatalog(wpis)) {
            kroki << Krok{Krok::Katalog, sciezkaZrodla, sciezkaCelu, {}};
            planuj(magazyn, sciezkaZrodla, sciezkaCelu, kroki);
        }
    }
}

// Raised by the check before a copy is named: the source is damaged.
struct ZrodloUszkodzone
{
    QString przyczyna;
};

} // namespace

QString PrzebiegKopii::pokaz(const QString &sciezka) const
{
    if (budowa.isEmpty() || !sciezka.startsWith(budowa))
        return sciezka;
    return miejsce + sciezka.mid(budowa.size());
}

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

QStringList TabeleKatalogu(const QString &zrodlo)
{
    QList<Krok> kroki;
    planuj(Store::current(), zrodlo, QString(), kroki);
    QStringList tabele;
    const QDir katalog(zrodlo);
    for (const Krok &k : kroki) {
        if (k.rodzaj == Krok::Tabela || k.rodzaj == Krok::Odrzucona)
            tabele << katalog.relativeFilePath(k.zrodlo);
    }
    return tabele;
}

int LiczbaTabel(const QString &zrodlo)
{
    return int(TabeleKatalogu(zrodlo).size());
}

void KopiujKatalog(Table &TS, const QString &zrodlo, const QString &cel,
                   const PrzebiegKopii &przebieg, WynikKopii *wynik)
{
    Store &magazyn = TS.session()->store();
    QList<Krok> kroki;
    planuj(magazyn, zrodlo, cel, kroki);
    // Each source whose records travel is checked on a thread of its own while the copies before
    // it are made. A table the rules make empty takes only its description, which opening it
    // reads and checks: damage among its records reaches nothing of the new year, and checking
    // them would cost the copy the time of reading them.
    QStringList zrodla;
    for (const Krok &k : kroki) {
        if (k.rodzaj == Krok::Tabela && RegulaDla(k.zrodlo).kopiujRekordy)
            zrodla << k.zrodlo;
    }
    KontrolaTabel kontrola(zrodla, TS.session()->lockTimeout());

    auto blad = [&](const QString &linia) {
        loguj(przebieg, linia);
        if (wynik)
            wynik->bledy << linia;
    };
    auto krokPostepu = [&] {
        if (przebieg.postep)
            przebieg.postep->Postep();
    };
    for (const Krok &k : kroki) {
        const QString celWDzienniku = przebieg.pokaz(k.cel);
        switch (k.rodzaj) {
        case Krok::Katalog:
            // An existing directory is used as it is; one that cannot be made is named, and its
            // tables then fail with their own cause.
            if (!magazyn.makeDirectory(k.cel)) {
                // The folder store leaves the system's number in errno: a disk that is full or
                // fails takes no further table.
                const int bladSystemu = errno;
                const QString przyczyna = magazyn.lastError();
                blad(zPrzyczyna(QStringLiteral("Nie można utworzyć katalogu :") + celWDzienniku,
                                przyczyna));
                if (isStorageFailure(bladSystemu))
                    throw EngineError(EngineError::Io, celWDzienniku, przyczyna, bladSystemu);
                continue;
            }
            loguj(przebieg, QStringLiteral("Tworzenie katalogu :") + celWDzienniku);
            continue;
        case Krok::Nieczytelny:
            blad(zPrzyczyna(QStringLiteral("Nie można odczytać katalogu :") + k.zrodlo,
                            k.przyczyna));
            continue;
        case Krok::Odrzucona:
            blad(zPrzyczyna(QStringLiteral("Bląd bazy :") + celWDzienniku,
                            QStringLiteral("%1: %2").arg(k.zrodlo, k.przyczyna)));
            krokPostepu();
            continue;
        case Krok::Tabela:
            break;
        }

        TS.close();
        try {
            TS.setTableName(k.zrodlo);
            TS.open();
        } catch (const EngineError &e) {
            const QString linia = zPrzyczyna(QStringLiteral("Bląd bazy :") + celWDzienniku,
                                             QStringLiteral("%1: %2").arg(k.zrodlo, e.cause()));
            loguj(przebieg, linia);
            // A file that is no table at all (PLIK.MDB, an old copy named X.DB) is passed over;
            // a table of ours that is damaged or held by another program is a year incomplete.
            const bool obcy =
                (e.kind() == EngineError::Damaged || e.kind() == EngineError::Missing) &&
                !magazyn.isOurTable(k.zrodlo);
            if (wynik)
                (obcy ? wynik->pominiete : wynik->bledy) << linia;
        }
        if (TS.isOpen()) {
            const RegulaKopiiRoku regula = RegulaDla(k.zrodlo);
            loguj(przebieg, QStringLiteral("Tworzenie bazy :") + celWDzienniku);
            const bool byla = magazyn.exists(k.cel);
            bool utworzona = false;
            qint64 rekordy = -1;
            QString przyczyna;
            int bladSystemu = 0;
            DodatkiKopii dodatki;
            // A damaged source is never copied: its copy would pass for a whole table, and a
            // second run would leave it be.
            if (regula.kopiujRekordy)
                dodatki.przedNazwaniem = [&] {
                    const WerdyktKontroli werdykt = kontrola.werdykt(k.zrodlo);
                    if (!werdykt.zdrowa)
                        throw ZrodloUszkodzone{werdykt.przyczyna};
                };
            dodatki.rekordy = regula.kopiujRekordy ? &rekordy : nullptr;
            dodatki.przyczyna = &przyczyna;
            dodatki.bladSystemu = &bladSystemu;
            try {
                utworzona = KopiujStrukture(TS, k.cel, regula.kopiujRekordy,
                                            regula.polaDoCzyszczenia, dodatki);
            } catch (const ZrodloUszkodzone &uszkodzone) {
                blad(zPrzyczyna(QStringLiteral("Bląd bazy :") + celWDzienniku,
                                QStringLiteral("%1: %2").arg(k.zrodlo, uszkodzone.przyczyna)));
                TS.close();
                krokPostepu();
                continue;
            } catch (const EngineError &e) {
                if (e.kind() == EngineError::Damaged) {
                    // The source broke while it was read for the copy.
                    blad(zPrzyczyna(QStringLiteral("Bląd bazy :") + celWDzienniku,
                                    QStringLiteral("%1: %2").arg(k.zrodlo, e.cause())));
                    TS.close();
                    krokPostepu();
                    continue;
                }
                // The rule cannot be kept: the copy stops, and the user must learn that the year
                // is incomplete.
                const QString linia =
                    QStringLiteral("Błąd tworzenia bazy :%1 (%2)").arg(celWDzienniku, e.cause());
                loguj(przebieg, linia);
                if (wynik)
                    wynik->bledy << linia;
                TS.close();
                throw;
            }
            if (utworzona) {
                if (wynik)
                    wynik->utworzone << WynikKopii::Tabela{k.zrodlo, k.cel, regula, rekordy};
            } else if (byla) {
                if (wynik)
                    ++wynik->istniejace;
            } else {
                blad(zPrzyczyna(QStringLiteral("Nie utworzono bazy :") + celWDzienniku,
                                przyczyna.isEmpty() ? QStringLiteral("nieznana") : przyczyna));
                // A disk that is full or fails takes no further table either.
                if (isStorageFailure(bladSystemu)) {
                    TS.close();
                    throw EngineError(EngineError::Io, celWDzienniku, przyczyna, bladSystemu);
                }
            }
        }
        TS.close();
        krokPostepu();
    }
}

QStringList SprawdzKopie(const WynikKopii &wynik, const PrzebiegKopii &przebieg)
{
    QStringList bledy;
    auto blad = [&](const QString &cel, const QString &opis) {
        const QString linia =
            QStringLiteral("Błąd kopii bazy :%1 (%2)").arg(przebieg.pokaz(cel), opis);
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
            // The state the copy was made from, not the source as another program has changed
            // it since.
            qint64 wzor = t.rekordyZrodla;
            if (wzor < 0) {
                Table zrodlo;
                zrodlo.setTableName(t.zrodlo);
                zrodlo.open();
                wzor = zrodlo.recordCount();
            }
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
