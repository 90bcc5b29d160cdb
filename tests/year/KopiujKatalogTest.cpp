#include "year/KopiujKatalog.h"

#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FaultPoint.h"
#include "platform/FileNames.h"
#include "platform/Konsola.h"
#include "store/Sqlite.h"
#include "support/CrashHarness.h"
#include "support/OtherProgram.h"
#include "support/QtPrinting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"
#include "year/OtwarcieRoku.h"
#include "year/PolecenieOtworzRok.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rawen::test {
namespace {

QList<FieldDef> pola(const QStringList &nazwy)
{
    QList<FieldDef> wynik{{QStringLiteral("NR"), ftInteger, 0, true}};
    for (const QString &n : nazwy)
        wynik << FieldDef{n, ftString, 20, false};
    return wynik;
}

const QList<IndexDef> kKlucz{{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};

QList<QStringList> rekordy(int ile, int pol)
{
    QList<QStringList> wynik;
    for (int i = 1; i <= ile; ++i) {
        QStringList r{QString::number(i)};
        for (int p = 0; p < pol; ++p)
            r << QStringLiteral("w%1.%2").arg(i).arg(p);
        wynik << r;
    }
    return wynik;
}

const QStringList kPolaSumyHarnol =
    QStringLiteral("OZN;NAZWISKO;DATA;K7;K8;K9;K10;K11;K12;K13;K14;K15;K16;"
                   "Ilstr;W1;W2;W3")
        .split(u';');

class KopiujKatalogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        zrodlo = katalog.filePath(QStringLiteral("2005"));
        cel = katalog.filePath(QStringLiteral("2006"));
    }

    QString w(const QString &rok, const QString &sciezka) const
    {
        return katalog.filePath(rok + u'/' + sciezka);
    }

    void tabela(const QString &sciezka, const QList<FieldDef> &p, int ile)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(w(QStringLiteral("2005"), sciezka)).path()));
        makeTable(w(QStringLiteral("2005"), sciezka), p, kKlucz, rekordy(ile, int(p.size()) - 1));
    }

    // A year as the rules meet it: an emptied table, one with fields emptied, one whose name and
    // directory are in another case than the rule's, one no rule names, a file that is no
    // table, and a table three directories down.
    void typowyRok()
    {
        tabela(QStringLiteral("HARNOL/HARNOL.DB"), pola({"OPIS"}), 7);
        tabela(QStringLiteral("HARNOL/SUMA.DB"), pola(kPolaSumyHarnol + QStringList{"ZOSTAJE"}), 5);
        tabela(QStringLiteral("fin/indmat.db"), pola({"BOILOSC", "BOWARTOSC", "NAZWA"}), 4);
        tabela(QStringLiteral("HARNOL/NOWA.DB"), pola({"OPIS"}), 3);
        tabela(QStringLiteral("A/B/C/GLEBOKA.DB"), pola({"OPIS"}), 2);
        QFile notatki(w(QStringLiteral("2005"), QStringLiteral("NOTATKI.TXT")));
        ASSERT_TRUE(notatki.open(QIODevice::WriteOnly));
        notatki.write("notatki");
    }

    QList<QStringList> zawartosc(const QString &sciezka)
    {
        Table t;
        t.setTableName(sciezka);
        t.open();
        return readAll(t);
    }

    QTemporaryDir katalog;
    QString zrodlo;
    QString cel;
    ScriptedMessageBoxes okna;
    Session sesja{QStringLiteral("SESJA")};
    Table TS{&sesja};
    QStringList dziennik;
    PrzebiegKopii przebieg{[this](const QString &linia) { dziennik << linia; }, nullptr};
};

TEST_F(KopiujKatalogTest, EveryTableArrivesByItsRuleAtAnyDepth)
{
    typowyRok();
    ASSERT_TRUE(QDir().mkpath(cel));
    WynikKopii wynik;
    KopiujKatalog(TS, zrodlo, cel, przebieg, &wynik);
    EXPECT_TRUE(wynik.bledy.isEmpty()) << wynik.bledy.join(u'\n').toStdString();
    EXPECT_EQ(wynik.utworzone.size(), 5);

    struct Oczekiwanie
    {
        const char *sciezka;
        QList<QStringList> rekordy;
    };
    QList<QStringList> suma = rekordy(5, int(kPolaSumyHarnol.size()) + 1);
    for (QStringList &r : suma)
        for (int i = 1; i <= kPolaSumyHarnol.size(); ++i)
            r[i].clear();
    QList<QStringList> indmat = rekordy(4, 3);
    for (QStringList &r : indmat)
        r[1].clear(), r[2].clear();
    const QList<Oczekiwanie> oczekiwania{
        {"HARNOL/HARNOL.DB", {}},
        {"HARNOL/SUMA.DB", suma},
        {"fin/indmat.db", indmat},
        {"HARNOL/NOWA.DB", rekordy(3, 1)},
        {"A/B/C/GLEBOKA.DB", rekordy(2, 1)},
    };
    for (const Oczekiwanie &o : oczekiwania) {
        SCOPED_TRACE(o.sciezka);
        EXPECT_EQ(zawartosc(w(QStringLiteral("2006"), QString::fromLatin1(o.sciezka))), o.rekordy);
    }
    EXPECT_FALSE(QFile::exists(w(QStringLiteral("2006"), QStringLiteral("NOTATKI.TXT"))));
    // The copy logs each directory before its tables, each table in its turn.
    EXPECT_TRUE(
        dziennik.contains(QStringLiteral("Tworzenie katalogu :") + cel + QStringLiteral("/A/B/C")));
    EXPECT_TRUE(dziennik.contains(QStringLiteral("Tworzenie bazy :") + cel +
                                  QStringLiteral("/fin/indmat.db")));
    EXPECT_EQ(dziennik.filter(QStringLiteral("Tworzenie bazy :")).size(), 5);
    EXPECT_TRUE(SprawdzKopie(wynik, przebieg).isEmpty());
}

TEST_F(KopiujKatalogTest, RulesMatchTheEndOfThePathWithoutRegardToCaseOrSeparator)
{
    struct Przypadek
    {
        const char *sciezka;
        bool kopiujRekordy;
        const char *pola;
    };
    const QList<Przypadek> przypadki{
        {"/dane/2005/HARNOL/HARNOL.DB", false, ""},
        {"/dane/2005/harnol/Harnol.db", false, ""},
        {"C:\\DANE\\2005\\FIN\\INDMAT.DB", true, "BOILOSC;BOWARTOSC"},
        {"/dane/2005/fin/IndMat.DB", true, "BOILOSC;BOWARTOSC"},
        {"/dane/2005/XFIN/SUMA.DB", false,
         ""}, // a plain ending: XFIN/SUMA.DB ends with FIN/SUMA.DB
        {"/dane/2005/FIN/SUMA.DB", false, ""},
        {"/dane/2005/HARNOL/NOWA.DB", true, ""},
        {"/dane/2005/SUMA.DB", true, ""},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.sciezka);
        const RegulaKopiiRoku r = RegulaDla(QString::fromLatin1(p.sciezka));
        EXPECT_EQ(r.kopiujRekordy, p.kopiujRekordy);
        EXPECT_EQ(r.polaDoCzyszczenia, QString::fromLatin1(p.pola));
    }
}

// A second START after Yes adds only what is missing: a table the user already worked on in the
// new year stays as it is, though the log names it as the Part has it.
TEST_F(KopiujKatalogTest, ASecondStartAddsOnlyMissingTablesAfterYesAndNothingAfterNo)
{
    typowyRok();
    WartosciProgramu wartosci;
    wartosci.listaLat = {QStringLiteral("2005")};
    const QString katalogDanych = katalog.path() + u'/';
    wartosci.katalogDanych = katalogDanych;
    const WynikOtwarciaRoku pierwszy = OtworzRok(
        TS, katalogDanych, QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
        [] { return true; }, &wartosci);
    ASSERT_TRUE(pierwszy.zakonczone);
    EXPECT_TRUE(pierwszy.bledy().isEmpty());
    EXPECT_EQ(wartosci.listaLat, (QStringList{"2005", "2006"}));

    // Worked on in the new year, and one table lost.
    {
        OtherProgram modul(w(QStringLiteral("2006"), QStringLiteral("HARNOL/NOWA.DB")));
        ASSERT_EQ(modul.exec(QStringLiteral("DELETE FROM records WHERE NR = 1")), SQLITE_OK);
    }
    ASSERT_TRUE(QFile::remove(w(QStringLiteral("2006"), QStringLiteral("HARNOL/HARNOL.DB"))));
    const QList<QStringList> przepracowana =
        zawartosc(w(QStringLiteral("2006"), QStringLiteral("HARNOL/NOWA.DB")));

    for (bool tak : {false, true}) {
        SCOPED_TRACE(tak);
        dziennik.clear();
        int pytania = 0;
        const WynikOtwarciaRoku drugi = OtworzRok(
            TS, katalogDanych, QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
            [&] { return ++pytania, tak; }, &wartosci);
        EXPECT_EQ(pytania, 1);
        EXPECT_EQ(drugi.przerwane, !tak);
        EXPECT_EQ(QFile::exists(w(QStringLiteral("2006"), QStringLiteral("HARNOL/HARNOL.DB"))),
                  tak);
        if (tak) {
            ASSERT_EQ(drugi.kopia.utworzone.size(), 1);
            EXPECT_EQ(drugi.kopia.istniejace, 4);
            EXPECT_TRUE(drugi.bledy().isEmpty()) << drugi.bledy().join(u'\n').toStdString();
            EXPECT_EQ(dziennik.filter(QStringLiteral("Tworzenie bazy :")).size(), 5);
        } else {
            EXPECT_EQ(dziennik,
                      (QStringList{QStringLiteral("Generowanie nowego roku."),
                                   QStringLiteral("Baza danych w katalogu : ") + zrodlo}));
        }
        EXPECT_EQ(zawartosc(w(QStringLiteral("2006"), QStringLiteral("HARNOL/NOWA.DB"))),
                  przepracowana);
    }
}

// Each opening in turn, as a user may click "START": the year list gains a year once, in its
// place, and only a year of its own data directory; a year that is no year makes nothing.
TEST_F(KopiujKatalogTest, TheYearListHoldsEachYearOnceInOrderAndOnlyYearsOfItsDirectory)
{
    tabela(QStringLiteral("HARNOL/NOWA.DB"), pola({"OPIS"}), 3);
    const QString inny = katalog.filePath(QStringLiteral("inny")) + u'/';
    ASSERT_TRUE(QDir().mkpath(inny + QStringLiteral("2005")));
    WartosciProgramu wartosci;
    wartosci.katalogDanych = katalog.path() + u'/';
    wartosci.listaLat = {QStringLiteral("2005")};
    struct Otwarcie
    {
        QString katalog;
        const char *rok;
        const char *zRoku;
        bool zakonczone;
        QStringList lista;
    };
    const QString dane = katalog.path() + u'/';
    const QList<Otwarcie> otwarcia{
        {dane, "2006", "2005", true, {"2005", "2006"}},
        {dane, "2006", "2005", true, {"2005", "2006"}}, // the same year again, after "Tak"
        {dane, "2004", "2005", true, {"2004", "2005", "2006"}},
        // The same directory spelt another way is the data directory.
        {katalog.path() + QStringLiteral("/./"),
         "2007",
         "2006",
         true,
         {"2004", "2005", "2006", "2007"}},
        {inny, "2006", "2005", true, {"2004", "2005", "2006", "2007"}},
        {inny, "2008", "2005", true, {"2004", "2005", "2006", "2007"}},
        {dane, "20x8", "2005", false, {"2004", "2005", "2006", "2007"}},
        {dane, "2101", "2005", false, {"2004", "2005", "2006", "2007"}},
        {dane, "2009", "99", false, {"2004", "2005", "2006", "2007"}},
    };
    for (const Otwarcie &o : otwarcia) {
        SCOPED_TRACE(QStringLiteral("%1%2").arg(o.katalog, QLatin1String(o.rok)).toStdString());
        const WynikOtwarciaRoku wynik = OtworzRok(
            TS, o.katalog, QLatin1String(o.rok), QLatin1String(o.zRoku), przebieg,
            [] { return true; }, &wartosci);
        EXPECT_EQ(wynik.zakonczone, o.zakonczone);
        EXPECT_EQ(wartosci.listaLat, o.lista);
        if (!o.zakonczone) {
            EXPECT_TRUE(wynik.bladKrytyczny.startsWith(QStringLiteral("Nieprawidłowy rok")))
                << qPrintable(wynik.bladKrytyczny);
            EXPECT_FALSE(QFileInfo::exists(o.katalog + QLatin1String(o.rok)));
        }
    }
}

// A source "table" that does not open is logged with "Bląd bazy :" and passed over. A file that is
// no table of the program at all (PLIK.MDB, an old copy named X.DB, another program's database,
// an empty file) is only that; a table of ours that is damaged or held by another program leaves
// the year incomplete.
TEST_F(KopiujKatalogTest, ASourceTableThatDoesNotOpenIsLoggedAndPassedOver)
{
    typowyRok();
    const QString harnol = w(QStringLiteral("2005"), QStringLiteral("HARNOL/"));
    auto zapisz = [](const QString &sciezka, const QByteArray &tresc) {
        QFile plik(sciezka);
        ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
        plik.write(tresc);
    };
    zapisz(harnol + QStringLiteral("ZEPSUTA.DB"), "to nie jest tabela");
    zapisz(harnol + QStringLiteral("PLIK.MDB"), QByteArray(3000, '\x01'));
    zapisz(harnol + QStringLiteral("PUSTY.DB"), QByteArray());
    zapisz(harnol + QStringLiteral("OBCA.DB"), QByteArray());
    {
        OtherProgram obca(harnol + QStringLiteral("OBCA.DB"));
        ASSERT_EQ(obca.exec(QStringLiteral("CREATE TABLE t(a)")), SQLITE_OK);
        ASSERT_EQ(obca.exec(QStringLiteral("INSERT INTO t VALUES(1)")), SQLITE_OK);
    }
    // Ours, cut short: the header vouches for more pages than the file has.
    makeTable(harnol + QStringLiteral("OBCIETA.DB"), pola({"OPIS"}), kKlucz, rekordy(3000, 1));
    {
        QFile obcieta(harnol + QStringLiteral("OBCIETA.DB"));
        ASSERT_TRUE(obcieta.resize(obcieta.size() / 2));
    }
    // Ours, written by another program all the time the copy waits.
    makeTable(harnol + QStringLiteral("ZAJETA.DB"), pola({"OPIS"}), kKlucz, rekordy(2, 1));
    OtherProgram inny(harnol + QStringLiteral("ZAJETA.DB"));
    ASSERT_EQ(inny.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
    sesja.setLockTimeout(100);

    ASSERT_TRUE(QDir().mkpath(cel));
    WynikKopii wynik;
    KopiujKatalog(TS, zrodlo, cel, przebieg, &wynik);
    // Each line names the table and, after it, its cause; the lists are told apart by the table.
    auto linie = [&](const QStringList &nazwy) {
        QStringList wynik;
        for (const QString &nazwa : nazwy)
            wynik << QStringLiteral("Bląd bazy :") + cel + QStringLiteral("/HARNOL/") + nazwa;
        wynik.sort();
        return wynik;
    };
    auto tabele = [](QStringList lista) {
        for (QString &linia : lista)
            linia = linia.section(QStringLiteral(". Przyczyna: "), 0, 0);
        lista.sort();
        return lista;
    };
    EXPECT_EQ(tabele(wynik.pominiete), linie({"OBCA.DB", "PLIK.MDB", "PUSTY.DB", "ZEPSUTA.DB"}));
    EXPECT_EQ(tabele(wynik.bledy), linie({"OBCIETA.DB", "ZAJETA.DB"}));
    for (const QString &linia : wynik.pominiete + wynik.bledy) {
        EXPECT_TRUE(dziennik.contains(linia)) << qPrintable(linia);
        EXPECT_TRUE(linia.contains(QStringLiteral(". Przyczyna: "))) << qPrintable(linia);
    }
    EXPECT_EQ(wynik.utworzone.size(), 5);
    for (const char *nazwa :
         {"ZEPSUTA.DB", "PLIK.MDB", "PUSTY.DB", "OBCA.DB", "OBCIETA.DB", "ZAJETA.DB"})
        EXPECT_FALSE(QFile::exists(cel + QStringLiteral("/HARNOL/") + QLatin1String(nazwa)))
            << nazwa;
    EXPECT_EQ(inny.exec(QStringLiteral("COMMIT")), SQLITE_OK);
}

// A rule naming a field the table lacks ends the copy, as it always did; the log and the result
// say so, so that nobody takes the year for complete.
TEST_F(KopiujKatalogTest, ARuleNamingAMissingFieldEndsTheCopyAndSaysSo)
{
    tabela(QStringLiteral("FIN/RD.DB"), pola({"NR1", "NAZWA"}), 3); // NR2..NR12 are missing
    WartosciProgramu wartosci;
    const WynikOtwarciaRoku wynik = OtworzRok(
        TS, katalog.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
        [] { return true; }, &wartosci);
    EXPECT_FALSE(wynik.zakonczone);
    EXPECT_FALSE(wynik.bladKrytyczny.isEmpty());
    EXPECT_TRUE(wynik.bladKrytyczny.startsWith(QStringLiteral("Błąd tworzenia bazy :") + cel +
                                               QStringLiteral("/FIN/RD.DB")))
        << qPrintable(wynik.bladKrytyczny);
    EXPECT_TRUE(dziennik.contains(wynik.bladKrytyczny));
    EXPECT_EQ(dziennik.last(), QStringLiteral("Rok 2006 nie został otwarty."));
    EXPECT_FALSE(dziennik.contains(QStringLiteral("KONIEC.")));
    EXPECT_TRUE(wartosci.listaLat.isEmpty());
    // No year is left that the year list would count.
    EXPECT_FALSE(QFileInfo::exists(cel));
}

// The check of the new year compares what the copy made with its source: a table changed behind
// the copy's back is named.
TEST_F(KopiujKatalogTest, TheCheckNamesATableChangedBehindTheCopysBack)
{
    typowyRok();
    ASSERT_TRUE(QDir().mkpath(cel));
    WynikKopii wynik;
    KopiujKatalog(TS, zrodlo, cel, przebieg, &wynik);
    ASSERT_TRUE(SprawdzKopie(wynik, przebieg).isEmpty());
    struct Zmiana
    {
        const char *sciezka;
        const char *sql;
        const char *wKomunikacie;
    };
    const QList<Zmiana> zmiany{
        {"HARNOL/NOWA.DB", "DELETE FROM records WHERE NR = 2", "ma 2 rekordy, a baza źródłowa 3"},
        {"HARNOL/HARNOL.DB", "INSERT INTO records(NR) VALUES(99)", "a powinna być pusta"},
        {"fin/indmat.db", "UPDATE records SET BOWARTOSC = '1' WHERE NR = 4",
         "pola BOILOSC;BOWARTOSC nie zostały wyczyszczone"},
    };
    for (const Zmiana &z : zmiany) {
        OtherProgram inny(cel + u'/' + QLatin1String(z.sciezka));
        ASSERT_EQ(inny.exec(QString::fromLatin1(z.sql)), SQLITE_OK);
    }
    dziennik.clear();
    const QStringList niezgodnosci = SprawdzKopie(wynik, przebieg);
    ASSERT_EQ(niezgodnosci.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(niezgodnosci[i].startsWith(QStringLiteral("Błąd kopii bazy :") + cel + u'/' +
                                               QLatin1String(zmiany[i].sciezka)));
        EXPECT_TRUE(niezgodnosci[i].contains(QString::fromUtf8(zmiany[i].wKomunikacie)))
            << qPrintable(niezgodnosci[i]);
    }
    EXPECT_EQ(dziennik, niezgodnosci);
}

// Whatever stands in a table's place and is no regular file is refused by name with its cause
// (never opened, and no folder of its name made in the new year); the other tables are copied,
// and the new year, not whole, is not named.
TEST_F(KopiujKatalogTest, AnEntryInATablesPlaceThatIsNoFileIsRefusedByName)
{
    typowyRok();
    const QString fin = w(QStringLiteral("2005"), QStringLiteral("HARNOL/"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fin + QStringLiteral("POTOK.DB")).constData(), 0644), 0);
    ASSERT_TRUE(QDir().mkpath(fin + QStringLiteral("KATALOG.DB")));
    makeTable(fin + QStringLiteral("KATALOG.DB/W_SRODKU.DB"), pola({"OPIS"}), kKlucz,
              rekordy(1, 1));
    ASSERT_TRUE(QFile::link(fin + QStringLiteral("NIEMA.DB"), fin + QStringLiteral("ZERWANY.DB")));
    ASSERT_EQ(LiczbaTabel(zrodlo), 8);

    ASSERT_TRUE(QDir().mkpath(cel));
    WynikKopii wynik;
    KopiujKatalog(TS, zrodlo, cel, przebieg, &wynik);
    const QList<QPair<const char *, const char *>> odrzucone{
        {"POTOK.DB", "to nie jest zwykły plik, lecz potok (FIFO)"},
        {"KATALOG.DB", "to nie jest zwykły plik, lecz katalog"},
        {"ZERWANY.DB", "dowiązanie wskazuje plik, którego nie ma"},
    };
    QStringList oczekiwane;
    for (const auto &[nazwa, przyczyna] : odrzucone)
        oczekiwane << QStringLiteral("Bląd bazy :%1/HARNOL/%2. Przyczyna: %3%2: %4")
                          .arg(cel, QLatin1String(nazwa), fin, QString::fromUtf8(przyczyna));
    QStringList bledy = wynik.bledy;
    bledy.sort();
    oczekiwane.sort();
    EXPECT_EQ(bledy, oczekiwane);
    for (const QString &linia : std::as_const(oczekiwane))
        EXPECT_TRUE(dziennik.contains(linia)) << qPrintable(linia);
    EXPECT_EQ(wynik.utworzone.size(), 5);
    EXPECT_FALSE(existsAnyKind(cel + QStringLiteral("/HARNOL/KATALOG.DB")));
    EXPECT_FALSE(existsAnyKind(cel + QStringLiteral("/HARNOL/POTOK.DB")));

    dziennik.clear();
    QDir(cel).removeRecursively();
    WartosciProgramu wartosci;
    const WynikOtwarciaRoku rok = OtworzRok(
        TS, katalog.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
        [] { return true; }, &wartosci);
    EXPECT_FALSE(rok.zakonczone);
    EXPECT_EQ(rok.bledy().size(), 3);
    EXPECT_FALSE(QFileInfo::exists(cel));
    EXPECT_TRUE(wartosci.listaLat.isEmpty());
    EXPECT_EQ(dziennik.last(), QStringLiteral("Rok 2006 nie został otwarty."));
}

// A table with a damaged page opens, counts its records and would copy byte for byte: the quick
// check of its source refuses it by name, nothing of it reaches the new year, and the year is
// not opened. A table the rules make empty takes only its description, so damage among its
// records does not stop the year.
TEST_F(KopiujKatalogTest, ADamagedSourceTableIsRefusedByNameAndTheYearIsNotOpened)
{
    typowyRok();
    // The damage lies in an index made last, at the end of the file: the records, and the
    // smaller index a count reads, are whole.
    auto uszkodz = [&](const char *sciezka) {
        const QString plik = w(QStringLiteral("2005"), QLatin1String(sciezka));
        QList<QStringList> duzo;
        for (int i = 1; i <= 3000; ++i)
            duzo << QStringList{QString::number(i), QStringLiteral("rekord numer %1").arg(i)};
        makeTable(plik, pola({"OPIS"}), kKlucz, duzo);
        {
            OtherProgram inny(plik);
            ASSERT_EQ(inny.exec(QStringLiteral("CREATE INDEX dodatkowy ON records(OPIS)")),
                      SQLITE_OK);
        }
        QFile f(plik);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 strona = 4096;
        ASSERT_EQ(f.size() % strona, 0);
        f.seek(f.size() - strona);
        f.write(QByteArray(strona, char(0xFF)));
        f.close();
        Table t;
        t.setTableName(plik);
        ASSERT_NO_THROW(t.open());
        ASSERT_EQ(t.recordCount(), 3000);
    };
    uszkodz("HARNOL/HARNOL.DB");
    WartosciProgramu wartosci;
    const WynikOtwarciaRoku pusta = OtworzRok(
        TS, katalog.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
        [] { return true; }, &wartosci);
    EXPECT_TRUE(pusta.zakonczone) << qPrintable(pusta.bledy().join(u'\n'));
    EXPECT_EQ(zawartosc(w(QStringLiteral("2006"), QStringLiteral("HARNOL/HARNOL.DB"))),
              QList<QStringList>{});
    QDir(cel).removeRecursively();
    wartosci.listaLat.clear();
    dziennik.clear();

    uszkodz("HARNOL/NOWA.DB");
    const WynikOtwarciaRoku wynik = OtworzRok(
        TS, katalog.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
        [] { return true; }, &wartosci);
    EXPECT_FALSE(wynik.zakonczone);
    ASSERT_EQ(wynik.bledy().size(), 1) << qPrintable(wynik.bledy().join(u'\n'));
    EXPECT_TRUE(wynik.bledy().first().startsWith(
        QStringLiteral("Bląd bazy :%1/HARNOL/NOWA.DB. Przyczyna: %2: plik tabeli jest uszkodzony")
            .arg(cel, w(QStringLiteral("2005"), QStringLiteral("HARNOL/NOWA.DB")))))
        << qPrintable(wynik.bledy().first());
    EXPECT_FALSE(QFileInfo::exists(cel));
    EXPECT_FALSE(dziennik.contains(QStringLiteral("KONIEC.")));
    EXPECT_TRUE(wartosci.listaLat.isEmpty());
    // Nothing is left beside the data either.
    EXPECT_EQ(directoryEntries(katalog.path()), QStringList{QStringLiteral("2005")});
}

// Another program commits records while the year is copied: the copy is one state of the
// source, and the check compares it with that state, not with the source as it is afterwards.
TEST_F(KopiujKatalogTest, TheCheckComparesTheCopyWithTheStateItWasMadeFrom)
{
    typowyRok();
    Session &sesja = Session::defaultSession();
    const QString nowa = w(QStringLiteral("2005"), QStringLiteral("HARNOL/NOWA.DB"));
    int dopisane = 0;
    // The check opens the copies one by one; the other program writes before the first.
    sesja.setFaultHook([&](EngineOp op, const QString &plik) {
        if (op != EngineOp::Open || !plik.contains(QStringLiteral("2006")) || dopisane > 0)
            return;
        OtherProgram modul(nowa);
        dopisane = modul.exec(QStringLiteral("INSERT INTO records(NR, OPIS) VALUES(50, 'nowy'), "
                                             "(51, 'nowszy')")) == SQLITE_OK
                       ? 2
                       : -1;
    });
    const WynikOtwarciaRoku wynik = OtworzRok(
        TS, katalog.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
        [] { return true; }, nullptr);
    sesja.setFaultHook({});
    ASSERT_EQ(dopisane, 2);
    EXPECT_TRUE(wynik.zakonczone) << qPrintable(wynik.bledy().join(u'\n'));
    EXPECT_TRUE(wynik.bledy().isEmpty());
    EXPECT_EQ(zawartosc(w(QStringLiteral("2006"), QStringLiteral("HARNOL/NOWA.DB"))),
              rekordy(3, 1));
}

// A disk that fills up refuses the first table it cannot take, named with its cause: the copy
// ends there (every other table would fail the same way, a box each), no year is left for the
// year list to count, and the log does not end with "KONIEC.".
TEST_F(KopiujKatalogTest, AFullDiskEndsTheCopyAtOnceNamesTheCauseAndLeavesNoYear)
{
    typowyRok();
    // The step that fails: the first write of a table file.
    FaultPoint::setRecording(true);
    {
        QTemporaryDir proba;
        QDir().mkpath(proba.filePath(QStringLiteral("2005")));
        for (const QString &tabela : TabeleKatalogu(zrodlo)) {
            QDir().mkpath(QFileInfo(proba.filePath(QStringLiteral("2005/") + tabela)).path());
            QFile::copy(zrodlo + u'/' + tabela, proba.filePath(QStringLiteral("2005/") + tabela));
        }
        FaultPoint::resetCount();
        (void)OtworzRok(
            TS, proba.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"), {},
            [] { return true; }, nullptr);
    }
    const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
    FaultPoint::setRecording(false);
    qint64 krok = 0;
    for (qsizetype i = 0; i < kroki.size() && krok == 0; ++i) {
        if (kroki[i].step == FileStep::Write)
            krok = i + 1;
    }
    ASSERT_GT(krok, 0);

    WartosciProgramu wartosci;
    FaultPoint::arm(krok, FaultPoint::Fault::NoSpace);
    const WynikOtwarciaRoku wynik = OtworzRok(
        TS, katalog.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
        [] { return true; }, &wartosci);
    FaultPoint::disarm();
    EXPECT_FALSE(wynik.zakonczone);
    ASSERT_EQ(wynik.kopia.bledy.size(), 1) << qPrintable(wynik.kopia.bledy.join(u'\n'));
    EXPECT_TRUE(wynik.kopia.bledy.first().startsWith(QStringLiteral("Nie utworzono bazy :") + cel))
        << qPrintable(wynik.kopia.bledy.first());
    EXPECT_TRUE(wynik.kopia.bledy.first().endsWith(QStringLiteral("brak miejsca na dysku")))
        << qPrintable(wynik.kopia.bledy.first());
    // No table after the one refused was tried.
    EXPECT_TRUE(wynik.kopia.utworzone.isEmpty());
    EXPECT_EQ(dziennik.filter(QStringLiteral("Tworzenie bazy :")).size(), 1);
    ASSERT_EQ(okna.texts().size(), 1);
    EXPECT_TRUE(okna.texts().first().startsWith(QStringLiteral("Nie mozna utworzyć tabeli\r")));
    EXPECT_TRUE(okna.texts().first().endsWith(QStringLiteral("brak miejsca na dysku")));
    EXPECT_FALSE(dziennik.contains(QStringLiteral("KONIEC.")));
    EXPECT_EQ(dziennik.last(), QStringLiteral("Rok 2006 nie został otwarty."));
    EXPECT_FALSE(QFileInfo::exists(cel));
    EXPECT_TRUE(wartosci.listaLat.isEmpty());
    EXPECT_EQ(directoryEntries(katalog.path()), QStringList{QStringLiteral("2005")});
}

// A data directory so deep that the tables of the new year (under their temporary names) would
// pass SQLite's limit is refused before anything is made, with the reason; a source year that
// cannot be read is not taken for a missing one.
TEST_F(KopiujKatalogTest, ADataDirectoryTooDeepOrAYearThatCannotBeReadIsRefusedAtOnce)
{
    // Deep enough that the source table (and the temporary it was made under) still opens, but
    // the new year's table, made under a temporary name in a directory under a temporary name,
    // would not.
    const qsizetype dlugosc =
        longestTablePath() - qsizetype(qstrlen("/2005/HARNOL/HARNOL.DB")) - temporaryNameExtra();
    QString gleboki = katalog.path();
    while (QFile::encodeName(gleboki).size() + 9 <= dlugosc)
        gleboki += QStringLiteral("/katalog");
    if (QFile::encodeName(gleboki).size() + 1 < dlugosc)
        gleboki += u'/' + QString(dlugosc - QFile::encodeName(gleboki).size() - 1, u'k');
    ASSERT_EQ(QFile::encodeName(gleboki).size(), dlugosc);
    const QString zrodloGlebokie = gleboki + QStringLiteral("/2005/HARNOL");
    ASSERT_TRUE(QDir().mkpath(zrodloGlebokie));
    makeTable(zrodloGlebokie + QStringLiteral("/HARNOL.DB"), pola({"OPIS"}), kKlucz, rekordy(2, 1));
    {
        Table otwiera;
        otwiera.setTableName(zrodloGlebokie + QStringLiteral("/HARNOL.DB"));
        ASSERT_NO_THROW(otwiera.open());
    }
    const WynikOtwarciaRoku wynik = OtworzRok(
        TS, gleboki + u'/', QStringLiteral("2006"), QStringLiteral("2005"), przebieg,
        [] { return true; }, nullptr);
    EXPECT_FALSE(wynik.zakonczone);
    EXPECT_TRUE(wynik.bladKrytyczny.startsWith(
        QStringLiteral("Nie można otworzyć roku w katalogu : ") + gleboki +
        QStringLiteral("/. Przyczyna: ścieżka jest "
                       "za długa")))
        << qPrintable(wynik.bladKrytyczny);
    EXPECT_TRUE(wynik.kopia.utworzone.isEmpty());
    EXPECT_EQ(directoryEntries(gleboki), QStringList{QStringLiteral("2005")});
    EXPECT_TRUE(okna.texts().isEmpty());

    // As an ordinary user, for whom a folder without the right to list it cannot be read.
    typowyRok();
    ASSERT_EQ(::chmod(QFile::encodeName(zrodlo).constData(), 0300), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(katalog.path()).constData(), 0777), 0);
    const int kod = runInChildProcess([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 10;
        Table ts;
        QStringList linie;
        const WynikOtwarciaRoku nieczytelny = OtworzRok(
            ts, katalog.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"),
            {[&](const QString &linia) { linie << linia; }, nullptr}, [] { return true; }, nullptr);
        if (nieczytelny.zakonczone || QFileInfo::exists(cel))
            return 11;
        if (linie.contains(QStringLiteral("Brak katalogu : ") + zrodlo))
            return 12;
        return nieczytelny.bladKrytyczny == QStringLiteral("Nie można odczytać katalogu : ") +
                                                zrodlo +
                                                QStringLiteral(". Przyczyna: brak "
                                                               "uprawnień")
                   ? 0
                   : 13;
    });
    ::chmod(QFile::encodeName(zrodlo).constData(), 0755);
    EXPECT_EQ(kod, 0);
}

// Opening a year, killed or failed at any step: each table of the new year is whole or absent,
// the source year is untouched, and START again completes the year.
TEST(OtwarcieRokuAwarie, EveryTableOfTheNewYearIsWholeOrAbsentAtEveryStep)
{
    const auto przygotuj = [](const QString &katalog) {
        const struct
        {
            const char *sciezka;
            QStringList pola;
        } tabele[] = {
            {"2005/HARNOL/HARNOL.DB", {"OPIS"}},
            {"2005/HARNOL/SUMA.DB", kPolaSumyHarnol},
            {"2005/FIN/INDMAT.DB", {"BOILOSC", "BOWARTOSC", "NAZWA"}},
            {"2005/FIN/KONTRAHI.DB", {"NAZWA"}},
        };
        for (const auto &t : tabele) {
            const QString sciezka = katalog + u'/' + QLatin1String(t.sciezka);
            QDir().mkpath(QFileInfo(sciezka).path());
            makeTable(sciezka, pola(t.pola), kKlucz, rekordy(12, int(t.pola.size())));
        }
    };
    const HarnessOperation otwarcie{
        QStringLiteral("year opening (START)"), przygotuj, [](const QString &katalog) {
            Session sesja(QStringLiteral("SESJA"));
            Table TS(&sesja);
            const WynikOtwarciaRoku wynik = OtworzRok(
                TS, katalog + u'/', QStringLiteral("2006"), QStringLiteral("2005"), {},
                [] { return true; }, nullptr);
            return wynik.zakonczone && wynik.bledy().isEmpty();
        }};
    const HarnessOperation polecenie{
        QStringLiteral("rawen --otworz-rok"), przygotuj, [](const QString &katalog) {
            std::FILE *nic = std::fopen("/dev/null", "w");
            Konsola konsola(nic, nic);
            const int kod = PolecenieOtworzRok({QStringLiteral("2006"), katalog}, konsola);
            std::fclose(nic);
            return kod == 0;
        }};
    HarnessFigures razem;
    for (const HarnessOperation &operacja : {otwarcie, polecenie}) {
        const HarnessFigures wynik = exerciseOperation(operacja);
        std::printf("%s: %s\n", qPrintable(operacja.name), qPrintable(wynik.summary()));
        EXPECT_GT(wynik.stepsTried, 20);
        razem += wynik;
    }
    EXPECT_TRUE(razem.failures.isEmpty()) << razem.failures.join(u'\n').toStdString();
}

} // namespace
} // namespace rawen::test
