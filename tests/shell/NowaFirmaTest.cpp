#include "shell/NowaFirma.h"

#include "data/OtworzTabele.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "data/WykazFirm.h"
#include "platform/DurableFiles.h"
#include "support/CrashHarness.h"
#include "support/FixedAppContext.h"
#include "support/QtPrinting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace rawen::test {
namespace {

const QList<IndexDef> kKlucz{{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};

QList<FieldDef> pola(const QStringList &nazwy)
{
    QList<FieldDef> wynik{{QStringLiteral("NR"), ftInteger, 0, true}};
    for (const QString &n : nazwy)
        wynik << FieldDef{n, ftString, 20, false};
    return wynik;
}

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

void firma(const QString &gdzie, const QString &skrot)
{
    QDir().mkpath(gdzie);
    Table t;
    t.setTableName(gdzie + QStringLiteral("/FIRMA"));
    AktualizujTabeleFirmy(t);
    t.edit();
    t.fieldByName(QStringLiteral("SKROT")).setAsString(skrot);
    t.post();
}

// A data root as the register knows it: firm 000 in the root itself with its working year 2005
// and BAZA, the templates of a new firm, and firms 001 and 002.
void rejestr(const QString &katalog)
{
    firma(katalog, QStringLiteral("Biuro"));
    firma(katalog + QStringLiteral("/FIRMA001"), QStringLiteral("Sklep"));
    firma(katalog + QStringLiteral("/FIRMA002"), QStringLiteral("Warsztat"));
    const struct
    {
        const char *sciezka;
        QStringList pola;
        int rekordy;
    } tabele[] = {
        {"2005/FIN/NAGFAKS.DB", {"NUMER", "KONTRAHENT"}, 6}, // made empty for a new year
        {"2005/FIN/KONTRAHI.DB", {"NAZWA"}, 4},
        {"2005/HARNOL/HARNOL.DB", {"OPIS"}, 5},
        {"BAZA/SLOWNIK.DB", {"HASLO", "OPIS"}, 3},
    };
    for (const auto &t : tabele) {
        const QString sciezka = katalog + u'/' + QLatin1String(t.sciezka);
        QDir().mkpath(QFileInfo(sciezka).path());
        makeTable(sciezka, pola(t.pola), kKlucz, rekordy(t.rekordy, int(t.pola.size())));
    }
}

// The company data as a user types them into the form, saved as the form saves when it closes.
void wpiszDane(Table &TFIRMA)
{
    TFIRMA.edit();
    TFIRMA.fieldByName(QStringLiteral("SKROT")).setAsString(QStringLiteral("Nowa Firma"));
    TFIRMA.fieldByName(QStringLiteral("NAZWA1"))
        .setAsString(QStringLiteral("Nowa Firma sp. z o.o."));
    TFIRMA.fieldByName(QStringLiteral("ULICA")).setAsString(QStringLiteral("Polna"));
    ZapiszTabele(TFIRMA);
}

QStringList pozycje(const QString &katalog)
{
    Table t;
    return WykazFirm(katalog + u'/', t);
}

class NowaFirmaTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dane.isValid());
        rejestr(dane.path());
        TFIRMA.setTableName(root() + QStringLiteral("FIRMA"));
        TFIRMA.open();
    }

    QString root() const { return dane.path() + u'/'; }
    QString sciezka(const QString &nazwa) const { return dane.filePath(nazwa); }

    WynikNowejFirmy utworz(const MiejsceFirmy &miejsce, const KrokiNowejFirmy &kroki)
    {
        return UtworzFirme(TFIRMA, Table1, miejsce, root(), QStringLiteral("2005"), kroki);
    }

    QTemporaryDir dane;
    ScriptedMessageBoxes okna;
    Session sesja{QStringLiteral("SESJA")};
    Table TFIRMA{&sesja};
    Table Table1{&sesja};
};

// The number is one more than the highest of the register; a directory that is there already
// and holds anything is never taken over.
TEST(NowaFirma, ANewFirmTakesTheNextFreeNumber)
{
    const QStringList wykaz{"000 Biuro", "001 Sklep", "002 Warsztat"};
    using Przygotowanie = std::function<void(QDir)>;
    const struct
    {
        const char *opis;
        QStringList pozycje;
        Przygotowanie przygotuj;
        int numer;
        const char *katalog;
    } przypadki[] = {
        {"after 000 to 002", wykaz, {}, 3, "FIRMA003"},
        {"after 002 was deleted",
         {"000 Biuro", "001 Sklep"},
         [](QDir d) { d.rename(QStringLiteral("FIRMA002"), QStringLiteral("#IRMA002")); },
         2,
         "FIRMA002"},
        {"the highest number, wherever it stands in the list",
         {"000 Biuro", "010 Dziesiąta", "002 Warsztat", "12 Krótka"},
         {},
         11,
         "FIRMA011"},
        {"the last number there is", {"000 Biuro", "998 Przedostatnia"}, {}, 999, "FIRMA999"},
        {"a locked firm counts",
         {"000 Biuro", "003 (zablokowana przez inny program)"},
         {},
         4,
         "FIRMA004"},
        {"a directory whose table does not open is passed over", wykaz,
         [](QDir d) {
             d.mkdir(QStringLiteral("FIRMA003"));
             writeFile(d.filePath(QStringLiteral("FIRMA003/FIRMA.DB")), "uszkodzona", false);
         },
         4, "FIRMA004"},
        {"in any case", wykaz, [](QDir d) { d.mkpath(QStringLiteral("firma003/2005")); }, 4,
         "FIRMA004"},
        {"a file of that name too", wykaz,
         [](QDir d) { writeFile(d.filePath(QStringLiteral("FIRMA003")), "x", false); }, 4,
         "FIRMA004"},
        {"an empty directory is used as it is", wykaz,
         [](QDir d) { d.mkdir(QStringLiteral("FIRMA003")); }, 3, "FIRMA003"},
        {"a directory holding only an interrupted write's temporary is used", wykaz,
         [](QDir d) {
             d.mkdir(QStringLiteral("FIRMA003"));
             writeFile(d.filePath(QStringLiteral("FIRMA003/.FIRMA.DB~rawen-0badcafe-1-abc")), "x",
                       false);
         },
         3, "FIRMA003"},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.opis);
        QTemporaryDir dane;
        rejestr(dane.path());
        if (p.przygotuj)
            p.przygotuj(QDir(dane.path()));
        const MiejsceFirmy miejsce =
            MiejsceNowejFirmy(dane.path() + u'/', p.pozycje, QStringLiteral("2005"));
        EXPECT_EQ(miejsce.blad, QString());
        EXPECT_EQ(miejsce.numer, p.numer);
        EXPECT_EQ(miejsce.katalog, dane.filePath(QLatin1String(p.katalog)));
        EXPECT_FALSE(miejsce.zPoprzedniejProby);
    }
}

// What cannot be made ends before anything is touched, with a message that says why.
TEST_F(NowaFirmaTest, NoFirmIsMadeWithoutANumberOrTemplates)
{
    QStringList pelny{"000 Biuro"};
    for (int i = 990; i <= 999; ++i)
        pelny << QStringLiteral("%1 Firma").arg(i);
    const struct
    {
        const char *opis;
        QStringList pozycje;
        QString rok;
        const char *usun;
        const char *przyczyna;
    } przypadki[] = {
        {"an empty register",
         {},
         QStringLiteral("2005"),
         nullptr,
         "Wykaz firm jest pusty: w katalogu programu brak tabeli danych o firmie FIRMA.DB."},
        {"firm 999 there", pelny, QStringLiteral("2005"), nullptr,
         "Brak wolnego numeru firmy: numery firm kończą się na 999."},
        {"no working year among the templates",
         {"000 Biuro"},
         QStringLiteral("2006"),
         nullptr,
         "Brak katalogu wzorcowego : "},
        {"no BAZA among the templates",
         {"000 Biuro"},
         QStringLiteral("2005"),
         "BAZA",
         "Brak katalogu wzorcowego : "},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.opis);
        if (p.usun)
            QDir(sciezka(QLatin1String(p.usun))).removeRecursively();
        const QStringList przed = directoryEntries(dane.path());
        const MiejsceFirmy miejsce = MiejsceNowejFirmy(root(), p.pozycje, p.rok);
        EXPECT_TRUE(miejsce.blad.startsWith(QStringLiteral("Nie można utworzyć nowej firmy.\r") +
                                            QString::fromUtf8(p.przyczyna)))
            << miejsce.blad.toStdString();
        EXPECT_TRUE(miejsce.katalog.isEmpty());
        EXPECT_EQ(directoryEntries(dane.path()), przed);
    }
    // 998 is the highest, but FIRMA999 holds something already.
    QDir(dane.path()).mkpath(QStringLiteral("FIRMA999/BAZA"));
    EXPECT_FALSE(MiejsceNowejFirmy(root(), {"000 Biuro", "998 Firma"}, QStringLiteral("2005"))
                     .blad.isEmpty());
}

TEST_F(NowaFirmaTest, TheFirmGetsItsDirectoryTableYearAndBaza)
{
    QStringList kolejnosc;
    KrokiNowejFirmy kroki;
    kroki.daneFirmy = [&] {
        kolejnosc << QStringLiteral("dane");
        EXPECT_TRUE(TFIRMA.isOpen());
        EXPECT_EQ(TFIRMA.fileName(), sciezka(QStringLiteral("FIRMA003/FIRMA.DB")));
        EXPECT_TRUE(TFIRMA.isEmpty());
        wpiszDane(TFIRMA);
    };
    kroki.pokazPrzygotowanie = [&] { kolejnosc << QStringLiteral("pokaz"); };
    kroki.ukryjPrzygotowanie = [&] { kolejnosc << QStringLiteral("ukryj"); };
    kroki.kopiujKatalog = [&](const QString &zrodlo, const QString &cel) {
        kolejnosc << QDir(dane.path()).relativeFilePath(zrodlo) + QStringLiteral("->") +
                         QDir(dane.path()).relativeFilePath(cel);
        Table TS(&sesja);
        return KopiujKatalogISprawdz(TS, zrodlo, cel, {});
    };
    const MiejsceFirmy miejsce = MiejsceNowejFirmy(root(), pozycje(dane.path()), "2005");
    const WynikNowejFirmy wynik = utworz(miejsce, kroki);

    EXPECT_TRUE(wynik.utworzona);
    EXPECT_TRUE(wynik.bledy.isEmpty()) << wynik.bledy.join(u'\n').toStdString();
    EXPECT_EQ(wynik.pozycja, QStringLiteral("003 Nowa Firma"));
    EXPECT_EQ(wynik.katalog, sciezka(QStringLiteral("FIRMA003/")));
    EXPECT_EQ(kolejnosc, (QStringList{"dane", "pokaz", "2005->FIRMA003/2005", "BAZA->FIRMA003/BAZA",
                                      "ukryj"}));
    for (const char *tabela : {"FIRMA003/2005/FIN/NAGFAKS.DB", "FIRMA003/2005/FIN/KONTRAHI.DB",
                               "FIRMA003/2005/HARNOL/HARNOL.DB", "FIRMA003/BAZA/SLOWNIK.DB"})
        EXPECT_TRUE(QFileInfo::exists(sciezka(QLatin1String(tabela)))) << tabela;
    Table nowa;
    nowa.setTableName(sciezka(QStringLiteral("FIRMA003/FIRMA.DB")));
    nowa.open();
    EXPECT_EQ(nowa.fieldCount(), 68);
    EXPECT_EQ(nowa.recordCount(), 1);
    EXPECT_EQ(nowa.fieldByName(QStringLiteral("NAZWA1")).asString(),
              QStringLiteral("Nowa Firma sp. z o.o."));
    EXPECT_EQ(pozycje(dane.path()).last(), QStringLiteral("003 Nowa Firma"));

    // The data module's firm table is firm 000's again, open on its record.
    EXPECT_TRUE(TFIRMA.isOpen());
    EXPECT_EQ(TFIRMA.tableName(), root() + QStringLiteral("FIRMA"));
    EXPECT_EQ(TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(), QStringLiteral("Biuro"));
    EXPECT_FALSE(Table1.isOpen());
}

// A form closed with neither the firm's name nor its short name asks: made on Yes (no record,
// the item the number and one space), nothing left on No; a name typed asks nothing.
TEST_F(NowaFirmaTest, AFirmWithoutANameIsMadeOnlyWhenTheUserSaysSo)
{
    struct Przypadek
    {
        const char *opis;
        std::function<void(Table &)> dane;
        bool odpowiedz;
        int pytania;
        bool utworzona;
    };
    const auto tylkoUlica = [](Table &t) {
        t.edit();
        t.fieldByName(QStringLiteral("ULICA")).setAsString(QStringLiteral("Polna"));
        ZapiszTabele(t);
    };
    const auto nazwaBezSkrotu = [](Table &t) {
        t.edit();
        t.fieldByName(QStringLiteral("NAZWA1")).setAsString(QStringLiteral("Apteka s.c."));
        ZapiszTabele(t);
    };
    const QList<Przypadek> przypadki{
        {"nothing typed, No", {}, false, 1, false},
        {"a street but no name, No", tylkoUlica, false, 1, false},
        {"nothing typed, Yes", {}, true, 1, true},
        {"a name without a short name", nazwaBezSkrotu, false, 0, true},
        {"both names", wpiszDane, false, 0, true},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.opis);
        const QStringList przed = directoryEntries(dane.path());
        int pytania = 0;
        KrokiNowejFirmy kroki;
        kroki.daneFirmy = [&] {
            if (p.dane)
                p.dane(TFIRMA);
        };
        kroki.bezNazwy = [&] { return ++pytania, p.odpowiedz; };
        const MiejsceFirmy miejsce = MiejsceNowejFirmy(root(), pozycje(dane.path()), "2005");
        ASSERT_EQ(miejsce.numer, 3);
        const WynikNowejFirmy wynik = utworz(miejsce, kroki);
        EXPECT_EQ(pytania, p.pytania);
        EXPECT_EQ(wynik.utworzona, p.utworzona);
        EXPECT_EQ(wynik.zaniechana, !p.utworzona);
        EXPECT_TRUE(wynik.bledy.isEmpty()) << wynik.bledy.join(u'\n').toStdString();
        if (p.utworzona) {
            EXPECT_TRUE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/BAZA/SLOWNIK.DB"))));
            EXPECT_TRUE(wynik.pozycja.startsWith(QStringLiteral("003 ")));
        } else {
            EXPECT_EQ(directoryEntries(dane.path()), przed);
            EXPECT_TRUE(wynik.pozycja.isEmpty());
        }
        EXPECT_TRUE(TFIRMA.isOpen());
        EXPECT_EQ(TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(), QStringLiteral("Biuro"));
        EXPECT_FALSE(Table1.isOpen());
        // The next case starts from the same register.
        if (p.utworzona) {
            ASSERT_TRUE(QDir(sciezka(QStringLiteral("FIRMA003"))).removeRecursively());
        }
    }
}

// A directory an earlier failed try of this run left keeps what that try copied: "Nie" takes only
// the firm table, so the next "Nowa firma" starts on it again.
TEST_F(NowaFirmaTest, NoAfterAFailedTryTakesOnlyTheFirmTable)
{
    ASSERT_TRUE(QDir().mkpath(sciezka(QStringLiteral("FIRMA003/2005/FIN"))));
    makeTable(sciezka(QStringLiteral("FIRMA003/2005/FIN/KONTRAHI.DB")), pola({"NAZWA"}), kKlucz,
              rekordy(2, 1));
    const MiejsceFirmy miejsce = MiejsceNowejFirmy(root(), pozycje(dane.path()), "2005",
                                                   {sciezka(QStringLiteral("FIRMA003"))});
    ASSERT_TRUE(miejsce.zPoprzedniejProby);
    KrokiNowejFirmy kroki;
    kroki.bezNazwy = [] { return false; };
    const WynikNowejFirmy wynik = utworz(miejsce, kroki);
    EXPECT_TRUE(wynik.zaniechana);
    EXPECT_FALSE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/FIRMA.DB"))));
    EXPECT_TRUE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/2005/FIN/KONTRAHI.DB"))));
    EXPECT_EQ(pozycje(dane.path()), (QStringList{"000 Biuro", "001 Sklep", "002 Warsztat"}));
}

// An error after the firm table was made ends the creation without an item; what was made
// stays, the year form is hidden again and the data module has its firm back. "Nowa firma"
// again in the same run takes the same number and offers what was typed.
TEST_F(NowaFirmaTest, AnErrorInsideLeavesWhatWasMadeAndTheSameNumberForTheNextTry)
{
    bool ukryte = false;
    KrokiNowejFirmy kroki;
    kroki.daneFirmy = [&] { wpiszDane(TFIRMA); };
    kroki.ukryjPrzygotowanie = [&] { ukryte = true; };
    kroki.kopiujKatalog = [&](const QString &zrodlo, const QString &cel) {
        Table TS(&sesja);
        WynikKopii kopia = KopiujKatalogISprawdz(TS, zrodlo, cel, {});
        if (cel.endsWith(QLatin1String("BAZA")))
            kopia.bledy << QStringLiteral("Błąd tworzenia bazy :") + cel;
        return kopia;
    };
    const MiejsceFirmy miejsce = MiejsceNowejFirmy(root(), pozycje(dane.path()), "2005");
    const WynikNowejFirmy wynik = utworz(miejsce, kroki);
    EXPECT_FALSE(wynik.utworzona);
    EXPECT_EQ(wynik.bledy, QStringList{QStringLiteral("Błąd tworzenia bazy :") +
                                       sciezka(QStringLiteral("FIRMA003/BAZA"))});
    EXPECT_TRUE(wynik.pozycja.isEmpty());
    EXPECT_TRUE(ukryte);
    EXPECT_TRUE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/FIRMA.DB"))));
    EXPECT_TRUE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/2005/FIN/KONTRAHI.DB"))));
    EXPECT_EQ(TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(), QStringLiteral("Biuro"));

    // An error raised by the form ends it the same way.
    KrokiNowejFirmy bladFormy;
    bladFormy.daneFirmy = [] {
        throw EngineError(EngineError::Io, QStringLiteral("FIRMA"), QStringLiteral("awaria"));
    };
    MiejsceFirmy inne = miejsce;
    inne.katalog = sciezka(QStringLiteral("FIRMA004"));
    inne.numer = 4;
    const WynikNowejFirmy zForma = utworz(inne, bladFormy);
    EXPECT_FALSE(zForma.utworzona);
    ASSERT_EQ(zForma.bledy.size(), 1);
    EXPECT_TRUE(zForma.bledy.first().contains(QStringLiteral("awaria")));
    EXPECT_TRUE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA004/FIRMA.DB"))));
    EXPECT_TRUE(TFIRMA.isOpen());

    const MiejsceFirmy ponownie = MiejsceNowejFirmy(root(), {"000 Biuro", "001 Sklep", "002 W"},
                                                    "2005", {sciezka(QStringLiteral("FIRMA003"))});
    EXPECT_EQ(ponownie.numer, 3);
    EXPECT_TRUE(ponownie.zPoprzedniejProby);
    KrokiNowejFirmy drugi;
    drugi.daneFirmy = [&] {
        EXPECT_EQ(TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(),
                  QStringLiteral("Nowa Firma"));
    };
    const WynikNowejFirmy udany = utworz(ponownie, drugi);
    EXPECT_TRUE(udany.utworzona) << udany.bledy.join(u'\n').toStdString();
    EXPECT_EQ(udany.pozycja, QStringLiteral("003 Nowa Firma"));
    EXPECT_TRUE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/BAZA/SLOWNIK.DB"))));
}

// A file of the templates that is no table at all (an old copy, another program's file) is
// passed over and the firm is made; a template table of ours that is damaged leaves the firm out
// of the register.
TEST_F(NowaFirmaTest, AStrayFileInTheTemplatesIsPassedOverAndADamagedTableIsAnError)
{
    struct Przypadek
    {
        const char *plik;
        bool naszaUszkodzona;
        bool utworzona;
    };
    const QList<Przypadek> przypadki{
        {"2005/HARNOL/X.DB", false, true},
        {"BAZA/PLIK.MDB", false, true},
        {"2005/HARNOL/ZLA.DB", true, false},
        {"BAZA/ZLA.DB", true, false},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.plik);
        const QString sciezkaPliku = sciezka(QLatin1String(p.plik));
        if (p.naszaUszkodzona) {
            makeTable(sciezkaPliku, pola({"OPIS"}), kKlucz, rekordy(3000, 1));
            QFile plik(sciezkaPliku);
            ASSERT_TRUE(plik.resize(plik.size() / 2));
        } else {
            writeFile(sciezkaPliku, "kopia z 1999 roku", false);
        }
        const MiejsceFirmy miejsce = MiejsceNowejFirmy(root(), pozycje(dane.path()), "2005");
        ASSERT_EQ(miejsce.numer, 3);
        const WynikNowejFirmy wynik = utworz(miejsce, {});
        EXPECT_EQ(wynik.utworzona, p.utworzona) << wynik.bledy.join(u'\n').toStdString();
        if (p.utworzona) {
            EXPECT_TRUE(wynik.bledy.isEmpty());
            EXPECT_TRUE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/BAZA/SLOWNIK.DB"))));
            EXPECT_TRUE(
                QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/2005/FIN/KONTRAHI.DB"))));
        } else {
            ASSERT_FALSE(wynik.bledy.isEmpty());
            EXPECT_TRUE(wynik.bledy.first().contains(QStringLiteral("ZLA.DB")))
                << qPrintable(wynik.bledy.first());
        }
        EXPECT_FALSE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA003/")) +
                                       QString::fromLatin1(p.plik).section(u'/', 0, 0) +
                                       QStringLiteral("/") + QFileInfo(sciezkaPliku).fileName()));
        ASSERT_TRUE(QFile::remove(sciezkaPliku));
        ASSERT_TRUE(QDir(sciezka(QStringLiteral("FIRMA003"))).removeRecursively());
    }
}

// The content of a table as the crash harness records it, without its records.
QString bezRekordow(const QString &tresc)
{
    QStringList linie;
    for (const QString &linia : tresc.split(u'\n')) {
        if (linia.startsWith(QLatin1String("field ")) || linia.startsWith(QLatin1String("index ")))
            linie << linia;
    }
    return linie.join(u'\n');
}

// Creating a firm, killed or failed at any step: the register stays whole, every firm's table
// opens, and what a new firm has of its tables is whole; a firm left half made stays listed (as
// it always was), and the next creation makes a whole firm of its own.
TEST(NowaFirmaAwarie, TheRegisterAndEveryFirmStayWholeAtEveryStep)
{
    HarnessOperation tworzenie;
    tworzenie.name = QStringLiteral("firm creation (NOWY)");
    tworzenie.prepare = [](const QString &katalog) { rejestr(katalog); };
    tworzenie.run = [](const QString &katalog) {
        AppContext kontekst;
        kontekst.today = QDate(2005, 3, 10);
        kontekst.executablePath = katalog + QStringLiteral("/rawen");
        kontekst.currentDirectory = katalog;
        FixedAppContext staly(kontekst);
        Session sesja(QStringLiteral("SESJA"));
        Table TFIRMA(&sesja);
        Table Table1(&sesja);
        TFIRMA.setTableName(QStringLiteral("FIRMA"));
        TFIRMA.open();
        const QString root = katalog + u'/';
        const MiejsceFirmy miejsce =
            MiejsceNowejFirmy(root, WykazFirm(root, Table1), QStringLiteral("2005"));
        if (!miejsce.blad.isEmpty())
            return false;
        KrokiNowejFirmy kroki;
        kroki.daneFirmy = [&] { wpiszDane(TFIRMA); };
        const WynikNowejFirmy wynik =
            UtworzFirme(TFIRMA, Table1, miejsce, root, QStringLiteral("2005"), kroki);
        return wynik.utworzona && wynik.bladPowrotu.isEmpty() && TFIRMA.isOpen();
    };
    // The new firm's table before the form saved its record.
    tworzenie.wholeBetween = [](const QString &sciezka, const QString &tresc) {
        return sciezka == QLatin1String("FIRMA003/FIRMA.DB") && tresc == bezRekordow(tresc) &&
               tresc.contains(QLatin1String("field ZMIEJSCOWOSC"));
    };
    // Firms 000 to 002 are listed as before; a new firm (003, and 004 when creating it again
    // passed over a half-made 003) with or without its record.
    tworzenie.invariant = [](const QString &katalog) {
        const QStringList wykaz = pozycje(katalog);
        const QStringList stare{"000 Biuro", "001 Sklep", "002 Warsztat"};
        static const QRegularExpression nowa(QStringLiteral("^00[34] (Nowa Firma)?$"));
        bool dobry = wykaz.mid(0, 3) == stare;
        for (const QString &pozycja : wykaz.mid(3))
            dobry = dobry && nowa.match(pozycja).hasMatch();
        return dobry ? QString()
                     : QStringLiteral("the register lists ") + wykaz.join(QLatin1String(", "));
    };
    // The next creation makes a whole firm, 003 or, when a half-made 003 is listed, 004.
    tworzenie.completedAgain = [](const DirectoryState &znowu, const DirectoryState &przed,
                                  const DirectoryState &po) -> QString {
        for (auto it = przed.tables.begin(); it != przed.tables.end(); ++it) {
            if (znowu.tables.value(it.key()) != it.value())
                return it.key() + QStringLiteral(" changed");
        }
        for (const QString &numer : {QStringLiteral("003"), QStringLiteral("004")}) {
            bool cala = true;
            for (auto it = po.tables.begin(); it != po.tables.end(); ++it) {
                if (!it.key().startsWith(QLatin1String("FIRMA003/")))
                    continue;
                QString tutaj = it.key();
                tutaj.replace(5, 3, numer);
                cala = cala && znowu.tables.value(tutaj) == it.value();
            }
            if (cala)
                return znowu.damaged.join(QLatin1String("; "));
        }
        return QStringLiteral("no whole new firm after running it again");
    };

    HarnessFigures wynik = exerciseOperation(tworzenie);
    std::printf("%s: %s\n", qPrintable(tworzenie.name), qPrintable(wynik.summary()));
    EXPECT_GT(wynik.stepsTried, 30);
    EXPECT_TRUE(wynik.failures.isEmpty()) << wynik.failures.join(u'\n').toStdString();
}

// A nameless firm given up ("Nie"), killed or failed at any step: the register is as before, or
// keeps the new firm's empty table as an interrupted creation would; giving up again leaves no
// more than that.
TEST(NowaFirmaAwarie, AFirmGivenUpLeavesNoMoreThanAnInterruptedCreation)
{
    HarnessOperation zaniechanie;
    zaniechanie.name = QStringLiteral("firm creation given up (NOWY, no name, Nie)");
    zaniechanie.prepare = [](const QString &katalog) { rejestr(katalog); };
    zaniechanie.run = [](const QString &katalog) {
        AppContext kontekst;
        kontekst.today = QDate(2005, 3, 10);
        kontekst.executablePath = katalog + QStringLiteral("/rawen");
        kontekst.currentDirectory = katalog;
        FixedAppContext staly(kontekst);
        Session sesja(QStringLiteral("SESJA"));
        Table TFIRMA(&sesja);
        Table Table1(&sesja);
        TFIRMA.setTableName(QStringLiteral("FIRMA"));
        TFIRMA.open();
        const QString root = katalog + u'/';
        const MiejsceFirmy miejsce =
            MiejsceNowejFirmy(root, WykazFirm(root, Table1), QStringLiteral("2005"));
        if (!miejsce.blad.isEmpty())
            return false;
        KrokiNowejFirmy kroki;
        kroki.bezNazwy = [] { return false; };
        const WynikNowejFirmy wynik =
            UtworzFirme(TFIRMA, Table1, miejsce, root, QStringLiteral("2005"), kroki);
        return wynik.zaniechana && wynik.bledy.isEmpty() && wynik.bladPowrotu.isEmpty() &&
               TFIRMA.isOpen();
    };
    zaniechanie.wholeBetween = [](const QString &sciezka, const QString &tresc) {
        return sciezka == QLatin1String("FIRMA003/FIRMA.DB") && tresc == bezRekordow(tresc) &&
               tresc.contains(QLatin1String("field ZMIEJSCOWOSC"));
    };
    zaniechanie.invariant = [](const QString &katalog) {
        const QStringList wykaz = pozycje(katalog);
        const QStringList stare{"000 Biuro", "001 Sklep", "002 Warsztat"};
        return wykaz == stare || wykaz == stare + QStringList{"003 "}
                   ? QString()
                   : QStringLiteral("the register lists ") + wykaz.join(QLatin1String(", "));
    };
    zaniechanie.completedAgain = [](const DirectoryState &znowu, const DirectoryState &przed,
                                    const DirectoryState &) -> QString {
        for (auto it = znowu.tables.begin(); it != znowu.tables.end(); ++it) {
            if (przed.tables.value(it.key()) != it.value() &&
                it.key() != QLatin1String("FIRMA003/FIRMA.DB"))
                return it.key() + QStringLiteral(" changed");
        }
        return znowu.damaged.join(QLatin1String("; "));
    };
    HarnessFigures wynik = exerciseOperation(zaniechanie);
    std::printf("%s: %s\n", qPrintable(zaniechanie.name), qPrintable(wynik.summary()));
    EXPECT_GT(wynik.stepsTried, 5);
    EXPECT_TRUE(wynik.failures.isEmpty()) << wynik.failures.join(u'\n').toStdString();
}

} // namespace
} // namespace rawen::test
