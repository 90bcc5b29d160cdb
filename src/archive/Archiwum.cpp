#include "archive/Archiwum.h"

#include "archive/KopiaPliku.h"
#include "archive/MiejsceArchiwum.h"
#include "archive/PlikiBazy.h"
#include "data/KontrolaTabel.h"
#include "data/Table.h"
#include "format/Liczebniki.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/OknoPostepu.h"
#include "platform/WpisyKatalogu.h"
#include "store/Sqlite.h"
#include "store/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace rawen {

namespace {

// What a walk of the archive finds in one directory of `magazyn`: its database files (every
// entry looked at, hidden ones too; this program's temporaries carry no type key), the
// subdirectories it follows (neither hidden nor system, not beginning with a point, not links; no
// limit on their number or the length of their names), and what it refuses by name: an entry
// named as a database file that is no regular file (a FIFO would hang the copy for good), and a
// directory it cannot read.
struct WpisyCzesci
{
    QStringList pliki;
    QStringList podkatalogi;
    QStringList odrzucone;
};

WpisyCzesci wpisyCzesci(const Store &magazyn, const QString &katalog, const QString &wzgledny)
{
    WpisyCzesci wynik;
    QList<Store::Entry> wpisy;
    QString blad;
    auto nazwa = [&](const QString &plik) {
        return QDir::toNativeSeparators(wzgledny.isEmpty() ? plik : wzgledny + u'/' + plik);
    };
    if (!magazyn.readDirectory(katalog, wpisy, blad)) {
        wynik.odrzucone << QStringLiteral("%1: nie można odczytać katalogu (%2)")
                               .arg(QDir::toNativeSeparators(katalog), blad);
        return wynik;
    }
    std::sort(wpisy.begin(), wpisy.end(),
              [](const Store::Entry &a, const Store::Entry &b) { return a.name < b.name; });
    for (const Store::Entry &wpis : std::as_const(wpisy)) {
        const QString &plik = wpis.name;
        if (isTemporaryName(plik))
            continue;
        if (JestPlikiemBazy(plik)) {
            if (wpis.kind == Store::Kind::File) {
                wynik.pliki << plik;
                continue;
            }
            // The store tells that it is no file; what it is, this machine's file system.
            QString niePlik = BladWpisuPliku(katalog + u'/' + plik);
            if (niePlik.isEmpty())
                niePlik = QStringLiteral("to nie jest zwykły plik");
            wynik.odrzucone << QStringLiteral("%1: %2").arg(nazwa(plik), niePlik);
        } else if (wpis.kind == Store::Kind::Directory && !wpis.link && !wpis.hidden &&
                   !plik.startsWith(u'.')) {
            wynik.podkatalogi << plik;
        }
    }
    return wynik;
}

CzescArchiwum czesc(const Store &magazyn, const QString &korzen, const QString &nazwa, int krok)
{
    CzescArchiwum c;
    c.krok = krok;
    const QString katalog = korzen + nazwa;
    if (magazyn.entry(katalog).kind != Store::Kind::Directory)
        return c;
    c.katalogi << nazwa;
    // Files lying directly in BAZA or a year belong to the firm as much as the others.
    const WpisyCzesci gora = wpisyCzesci(magazyn, katalog, nazwa);
    for (const QString &plik : gora.pliki)
        c.pliki << nazwa + u'/' + plik;
    c.odrzucone << gora.odrzucone;
    for (const QString &s : gora.podkatalogi) {
        c.katalogi << nazwa + u'/' + s;
        const WpisyCzesci nizej = wpisyCzesci(magazyn, katalog + u'/' + s, nazwa + u'/' + s);
        for (const QString &plik : nizej.pliki)
            c.pliki << nazwa + u'/' + s + u'/' + plik;
        c.odrzucone << nizej.odrzucone;
    }
    return c;
}

QString natywna(const QString &sciezka)
{
    return QDir::toNativeSeparators(sciezka);
}

// The directory and whichever of its parents are missing.
bool utworzKatalogi(Store &magazyn, const QString &sciezka)
{
    const QString pelna = QFileInfo(sciezka).absoluteFilePath();
    if (magazyn.entry(pelna).kind == Store::Kind::Directory)
        return true;
    const QString rodzic = QFileInfo(pelna).path();
    if (rodzic != pelna && !utworzKatalogi(magazyn, rodzic))
        return false;
    return magazyn.makeDirectory(pelna);
}

// Why a directory of the archive could not be made: a file in its place is said to be one. The
// archive is a folder of this machine, whose file system tells what stands there.
QString przyczynaKatalogu(const Store &archiwum, const QString &sciezka)
{
    QString przyczyna;
    if (SprawdzKatalog(sciezka, &przyczyna) == StanKatalogu::NieKatalog)
        return przyczyna;
    return archiwum.lastError();
}

void krok(const PrzebiegArchiwum &przebieg)
{
    if (przebieg.postep)
        przebieg.postep->Postep();
}

void loguj(const PrzebiegArchiwum &przebieg, const QString &linia)
{
    if (przebieg.dziennik)
        przebieg.dziennik(linia);
}

// Walks the parts in order, stepping the progress as the parts change.
template <typename Zrob>
void przejdz(const QList<CzescArchiwum> &czesci, const PrzebiegArchiwum &przebieg, Zrob zrob)
{
    krok(przebieg);
    int biezacy = 0;
    for (const CzescArchiwum &c : czesci) {
        // One step after the top's files (BAZA goes with it), one before each year.
        while (biezacy < c.krok) {
            ++biezacy;
            krok(przebieg);
        }
        zrob(c);
    }
}

} // namespace

QList<CzescArchiwum> CzesciArchiwum(const QString &korzen, const QStringList &lata,
                                    const Store &magazyn)
{
    QList<CzescArchiwum> czesci;
    CzescArchiwum gora;
    const WpisyCzesci wpisy = wpisyCzesci(magazyn, korzen, QString());
    gora.pliki = wpisy.pliki;
    gora.odrzucone = wpisy.odrzucone;
    czesci << gora;
    czesci << czesc(magazyn, korzen, QStringLiteral("BAZA"), 1);
    // A year named twice is one directory: walked twice, its files would be counted twice and
    // the restore would find its own safety copies in the way.
    QSet<QString> wziete;
    for (const QString &rok : lata) {
        if (wziete.contains(rok))
            continue;
        wziete.insert(rok);
        czesci << czesc(magazyn, korzen, rok, 2 + int(wziete.size()) - 1);
    }
    return czesci;
}

QString WynikArchiwum::podsumowanie() const
{
    // A target refused before anything was made is named in the error itself.
    const QString gdzie =
        katalog.isEmpty()
            ? QString()
            : QStringLiteral("\rKatalog archiwum: %1").arg(natywna(QDir::cleanPath(katalog)));
    if (udane())
        return QStringLiteral("Archiwum sprawdzone: %1 (%2).")
                   .arg(Liczebnik(tabele, liczebniki::tabela), Liczebnik(pliki, liczebniki::plik)) +
               gdzie;
    // A damaged table's copy is kept in the archive: the lines say what each failure left.
    QString tekst = QStringLiteral("Archiwum nie jest kompletne (%1):")
                        .arg(Liczebnik(bledy.size(), liczebniki::blad));
    for (qsizetype i = 0; i < bledy.size() && i < 15; ++i)
        tekst += u'\r' + bledy[i];
    if (bledy.size() > 15)
        tekst += QStringLiteral("\r... i jeszcze %1.")
                     .arg(Liczebnik(bledy.size() - 15, liczebniki::plik));
    tekst += gdzie;
    tekst += QStringLiteral("\rData ostatniej aktualizacji archiwum nie została zmieniona.");
    return tekst;
}

QString WynikArchiwum::uwagi() const
{
    QString tekst;
    for (const QString &ostrzezenie : ostrzezenia)
        tekst += QStringLiteral("\rUwaga: ") + ostrzezenie;
    return tekst;
}

namespace {

// At most this much is written before it is put in place: few open files, and little for the
// system to hold unwritten.
constexpr size_t kPlikowWPartii = 64;
constexpr qint64 kBajtowWPartii = qint64(256) << 20;

// An archived file checked as it lies on the disk after its sync: the hash of its bytes read
// back must be that of the bytes copied, and a table must open (with `dokladnie`, also pass
// SQLite's integrity check). Raises EngineError.
void sprawdzKopie(const QString &cel, const QString &plik, const SkopiowanyPlik &kopia,
                  bool dokladnie)
{
    const std::optional<quint64> odczytany = SkrotPliku(cel);
    if (!odczytany || *odczytany != kopia.skrot)
        throw EngineError(EngineError::Damaged, plik,
                          QStringLiteral("kopia w archiwum różni się od pliku źródłowego"));
    if (!kopia.naszaTabela)
        return;
    Table tabela;
    tabela.setTableName(cel);
    tabela.open();
    // The source's quick check is made in any case; here the copy as it lies in the archive
    // gets SQLite's full check (its indexes against its records too).
    if (dokladnie) {
        SqliteDatabase db;
        db.open(cel, QFileInfo(cel).fileName(), false, true);
        SqliteStatement kontrola = db.prepare(QStringLiteral("PRAGMA integrity_check(20)"));
        int bledy = 0;
        while (kontrola.step()) {
            if (bledy == 0 && kontrola.column(0).toString() == QLatin1String("ok"))
                return;
            ++bledy;
        }
        if (bledy > 0)
            throw EngineError(EngineError::Damaged, plik,
                              QStringLiteral("kopia w archiwum nie przeszła pełnego testu "
                                             "spójności (znalazł %1)")
                                  .arg(Liczebnik(bledy, liczebniki::blad)));
    }
}

} // namespace

WynikArchiwum Archiwizuj(const QString &R, const QString &A, const QStringList &lata,
                         const PrzebiegArchiwum &przebieg, bool dokladnie)
{
    WynikArchiwum wynik;
    DurabilityWatch trwalosc;
    // Never onto the data it archives, nor where it would be taken for data.
    const QString miejsce = BladMiejscaArchiwum(A, R);
    if (!miejsce.isEmpty()) {
        wynik.bledy << QStringLiteral("%1: nie można archiwizować do tego katalogu: %2")
                           .arg(natywna(QDir::cleanPath(A)), miejsce);
        return wynik;
    }
    wynik.katalog = A;
    // The archive lies on this machine's disk, whatever store holds the data.
    Store &archiwum = Store::localFiles();
    const QList<CzescArchiwum> czesci = CzesciArchiwum(R, lata);
    if (!utworzKatalogi(archiwum, A)) {
        wynik.bledy << QStringLiteral("%1: nie można utworzyć katalogu archiwum (%2)")
                           .arg(natywna(QDir::cleanPath(A)), przyczynaKatalogu(archiwum, A));
        return wynik;
    }
    // Every table file is checked as it lies in the data, on a thread beside the copy.
    QStringList tabele;
    for (const CzescArchiwum &c : czesci) {
        for (const QString &plik : c.pliki) {
            if (KluczTypu(QFileInfo(plik).fileName()) == QLatin1String("DB"))
                tabele << R + plik;
        }
    }
    KontrolaTabel kontrola(tabele);
    przejdz(czesci, przebieg, [&](const CzescArchiwum &c) {
        wynik.bledy << c.odrzucone;
        for (const QString &katalog : c.katalogi) {
            if (!utworzKatalogi(archiwum, A + katalog))
                wynik.bledy << QStringLiteral("%1: nie można utworzyć katalogu (%2)")
                                   .arg(natywna(A + katalog),
                                        przyczynaKatalogu(archiwum, A + katalog));
        }
        // The files are copied a batch at a time and put in place together, so they reach the
        // disk together; each is synced before its rename, and its directory after the last
        // rename, before anything is checked or counted.
        std::vector<std::pair<QString, PrzygotowanaKopia>> partia;
        qint64 bajty = 0;
        auto zatwierdzPartie = [&] {
            std::vector<std::pair<QString, SkopiowanyPlik>> gotowe;
            QSet<QString> katalogi;
            for (auto &[plik, kopia] : partia) {
                try {
                    kopia.zatwierdz(DirectorySync::ByCaller);
                    gotowe.emplace_back(plik, kopia.plik());
                    katalogi.insert(QFileInfo(kopia.cel()).absolutePath());
                } catch (const EngineError &blad) {
                    wynik.bledy << QStringLiteral("%1: %2").arg(natywna(plik), blad.cause());
                }
            }
            partia.clear();
            bajty = 0;
            for (const QString &katalog : std::as_const(katalogi))
                (void)syncDirectory(katalog);
            for (const auto &[plik, kopia] : gotowe) {
                try {
                    sprawdzKopie(A + plik, plik, kopia, dokladnie);
                    // A table file that is no table, or a damaged one, is kept as it was copied
                    // (it is all there is), but the archive is not whole.
                    if (KluczTypu(QFileInfo(plik).fileName()) == QLatin1String("DB")) {
                        if (!kopia.baza)
                            throw EngineError(EngineError::Damaged, plik,
                                              QStringLiteral("plik nie jest tabelą bazy danych "
                                                             "(jest uszkodzony albo to plik "
                                                             "innego rodzaju); jego kopia jest w "
                                                             "archiwum"));
                        const WerdyktKontroli werdykt = kontrola.werdykt(R + plik);
                        if (!werdykt.zdrowa)
                            throw EngineError(EngineError::Damaged, plik,
                                              werdykt.przyczyna +
                                                  QStringLiteral("; kopia tabeli w takim stanie "
                                                                 "jest w archiwum"));
                    }
                    ++wynik.pliki;
                    if (kopia.naszaTabela)
                        ++wynik.tabele;
                    loguj(przebieg, natywna(A + plik));
                } catch (const EngineError &blad) {
                    wynik.bledy << QStringLiteral("%1: %2").arg(natywna(plik), blad.cause());
                }
            }
        };
        for (const QString &plik : c.pliki) {
            try {
                PrzygotowanaKopia kopia(R + plik, A + plik);
                bajty += kopia.plik().rozmiar;
                partia.emplace_back(plik, std::move(kopia));
            } catch (const EngineError &blad) {
                wynik.bledy << QStringLiteral("%1: %2").arg(natywna(plik), blad.cause());
            }
            if (partia.size() >= kPlikowWPartii || bajty >= kBajtowWPartii)
                zatwierdzPartie();
        }
        zatwierdzPartie();
    });
    wynik.ostrzezenia = trwalosc.takeWarnings();
    return wynik;
}

QString WynikOdtworzenia::podsumowanie() const
{
    QString tekst = udane()
                        ? QStringLiteral("Odtworzono %1.").arg(Liczebnik(pliki, liczebniki::plik))
                        : QStringLiteral("Odtworzenie nie jest kompletne. Nie odtworzono: %1.")
                              .arg(Liczebnik(bledy.size(), liczebniki::plik));
    for (qsizetype i = 0; i < bledy.size() && i < 15; ++i)
        tekst += u'\r' + bledy[i];
    if (bledy.size() > 15)
        tekst += QStringLiteral("\r... i jeszcze %1.")
                     .arg(Liczebnik(bledy.size() - 15, liczebniki::plik));
    if (!kopiaBezpieczenstwa.isEmpty())
        tekst += QStringLiteral("\rDane sprzed odtworzenia zapisano w katalogu %1. Aby do nich "
                                "wrócić, odtwórz dane z tego katalogu (\"dowolna lokalizacja\").")
                     .arg(natywna(kopiaBezpieczenstwa));
    for (const QString &ostrzezenie : ostrzezenia)
        tekst += QStringLiteral("\rUwaga: ") + ostrzezenie;
    return tekst;
}

WynikOdtworzenia Odtworz(const QString &A, const QString &R, const QStringList &lata,
                         const PrzebiegArchiwum &przebieg, const QString &znacznik,
                         int czekanieNaBlokade)
{
    WynikOdtworzenia wynik;
    DurabilityWatch trwalosc;
    // The data itself, or a folder inside it, is no archive to restore from.
    const QString miejsce = BladMiejscaArchiwum(A, R, {}, true);
    if (!miejsce.isEmpty()) {
        wynik.bledy << QStringLiteral("%1: nie można odtwarzać z tego katalogu: %2; nic nie "
                                      "odtworzono")
                           .arg(natywna(QDir::cleanPath(A)), miejsce);
        return wynik;
    }
    Store &magazyn = Store::current();
    Store &archiwum = Store::localFiles();
    QList<CzescArchiwum> czesci = CzesciArchiwum(A, lata, archiwum);

    // A live entry in a file's place that is no regular file (a FIFO would hang the restore for
    // good, a directory would be lost) is named and left as it is.
    for (CzescArchiwum &c : czesci) {
        QStringList pliki;
        for (const QString &plik : std::as_const(c.pliki)) {
            const Store::Entry zywy = magazyn.entry(R + plik);
            if (zywy.kind == Store::Kind::File ||
                (zywy.kind == Store::Kind::Missing && !zywy.link)) {
                pliki << plik;
                continue;
            }
            // The store tells that it is no file; what it is, this machine's file system.
            QString niePlik = BladWpisuPliku(R + plik);
            if (niePlik.isEmpty())
                niePlik = QStringLiteral("to nie jest zwykły plik");
            c.odrzucone
                << QStringLiteral("%1: w danych %2; nie odtworzono").arg(natywna(plik), niePlik);
        }
        c.pliki = pliki;
    }

    // The live files the restore will replace go first into the safety folder, whole, before
    // anything live is touched.
    QStringList zastepowane;
    for (const CzescArchiwum &c : czesci) {
        for (const QString &plik : c.pliki) {
            if (magazyn.entry(R + plik).kind == Store::Kind::File)
                zastepowane << plik;
        }
    }
    if (!zastepowane.isEmpty()) {
        const QString bezpieczna = R + QStringLiteral("ODTWARZANIE-") + znacznik;
        const std::unique_ptr<DirectoryUnderConstruction> budowa =
            magazyn.buildDirectory(bezpieczna);
        if (!budowa) {
            wynik.bledy << QStringLiteral("%1: nie można utworzyć katalogu kopii (%2); nic nie "
                                          "odtworzono")
                               .arg(natywna(bezpieczna), magazyn.lastError());
            return wynik;
        }
        for (const QString &plik : std::as_const(zastepowane)) {
            const QString cel = budowa->path() + u'/' + plik;
            try {
                if (!utworzKatalogi(magazyn, QFileInfo(cel).path()))
                    throw EngineError(EngineError::Io, plik, magazyn.lastError());
                KopiujPlikNowy(R + plik, cel);
            } catch (const EngineError &blad) {
                wynik.bledy << QStringLiteral("%1: nie można zachować bieżącej wersji (%2); nic "
                                              "nie odtworzono")
                                   .arg(natywna(plik), blad.cause());
                return wynik;
            }
        }
        // A folder of that name from an earlier run in the same second is kept: this one takes
        // the next free name.
        QString nazwa = bezpieczna;
        bool nazwana = false;
        for (int numer = 2; numer < 100 && !nazwana; ++numer) {
            nazwana = budowa->moveInto(nazwa);
            if (!nazwana && errno != ENOTEMPTY && errno != EEXIST)
                break;
            if (!nazwana)
                nazwa = bezpieczna + QStringLiteral("-%1").arg(numer);
        }
        if (!nazwana) {
            wynik.bledy << QStringLiteral("%1: nie można nadać nazwy katalogowi kopii (%2); nic "
                                          "nie odtworzono")
                               .arg(natywna(bezpieczna), magazyn.lastError());
            return wynik;
        }
        wynik.kopiaBezpieczenstwa = nazwa;
    }

    przejdz(czesci, przebieg, [&](const CzescArchiwum &c) {
        wynik.bledy << c.odrzucone;
        for (const QString &katalog : c.katalogi) {
            if (!utworzKatalogi(magazyn, R + katalog))
                wynik.bledy << QStringLiteral("%1: nie można utworzyć katalogu (%2)")
                                   .arg(natywna(R + katalog), magazyn.lastError());
        }
        for (const QString &plik : c.pliki) {
            const QString zywy = R + plik;
            try {
                if (magazyn.entry(zywy).kind == Store::Kind::Missing) {
                    KopiujPlikNowy(A + plik, zywy, archiwum);
                } else if (!magazyn.writeIntoTable(A + plik, zywy, czekanieNaBlokade)) {
                    // Not a table on one side or the other: the file is replaced whole, and no
                    // journal of the old file may be played into the new one.
                    for (const QString &towarzyszacy : TableFile::companionFiles(zywy)) {
                        if (towarzyszacy.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive) &&
                            !removeFile(towarzyszacy))
                            throw EngineError(EngineError::Io, plik, systemErrorText(errno));
                    }
                    KopiujPlikZastepujac(A + plik, zywy, archiwum);
                }
                ++wynik.pliki;
                loguj(przebieg, natywna(zywy));
            } catch (const EngineError &blad) {
                wynik.bledy << QStringLiteral("%1: %2").arg(natywna(plik), blad.cause());
            }
        }
    });
    wynik.ostrzezenia = trwalosc.takeWarnings();
    return wynik;
}

} // namespace rawen
