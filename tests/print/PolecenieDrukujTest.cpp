#include "print/PolecenieDrukuj.h"

#include "demo/DaneDemo.h"
#include "platform/Konsola.h"
#include "platform/Registry.h"
#include "support/FixedAppContext.h"
#include "support/PrintFakes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace rawen::test {
namespace {

const QDate kDzis(2025, 3, 15);

QByteArray tresc(std::FILE *plik)
{
    std::fflush(plik);
    std::rewind(plik);
    QByteArray bajty;
    char bufor[4096];
    size_t n;
    while ((n = std::fread(bufor, 1, sizeof bufor, plik)) > 0)
        bajty.append(bufor, qsizetype(n));
    return bajty;
}

// The canvas of the Windows channel, kept by the test after the command is done with it; one
// given a warning shows it as the job starts, and prints on.
class DoDrukarki final : public DrukarkaWindows
{
public:
    explicit DoDrukarki(RecordingDrukarka &d, const QString &ostrzezenie = {})
        : m_d(d), m_ostrzezenie(ostrzezenie)
    {}
    int rozdzielczoscPionowa() const override { return m_d.rozdzielczoscPionowa(); }
    int wysokoscStrony() const override { return m_d.wysokoscStrony(); }
    Wynik rozpocznij(const QString &nazwa) override
    {
        if (!m_ostrzezenie.isEmpty())
            MessageBoxes::current().warning(m_ostrzezenie);
        return m_d.rozpocznij(nazwa);
    }
    void ustawCzcionke(const QString &nazwa, int punkty) override
    {
        m_d.ustawCzcionke(nazwa, punkty);
    }
    void ustawRozmiar(int punkty) override { m_d.ustawRozmiar(punkty); }
    void rysujTekst(int x, int y, const QString &tekst) override { m_d.rysujTekst(x, y, tekst); }
    void rysujLogo(int x, int y) override { m_d.rysujLogo(x, y); }
    bool nowaStrona() override { return m_d.nowaStrona(); }
    bool zakoncz() override { return m_d.zakoncz(); }
    void przerwij() override { m_d.przerwij(); }
    QString blad() const override { return m_d.blad(); }

private:
    RecordingDrukarka &m_d;
    QString m_ostrzezenie;
};

struct Wynik
{
    int kod = -1;
    QByteArray wyjscie;
    QByteArray bledy;
};

// The demo data root is made once; the command runs in it as the program would, with the print
// settings of a folder of the test's own.
class PolecenieDrukujTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_katalog = new QTemporaryDir;
        const QString modul = s_katalog->filePath(QStringLiteral("modul"));
        QFile plik(modul);
        ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
        plik.write("#!/bin/sh\n");
        plik.close();
        UtworzDaneDemo(dane(), kDzis, modul);
        makeTable(dane() + QStringLiteral("/PUSTA.DB"),
                  {{QStringLiteral("NR"), ftInteger, 0, false}});
    }
    static void TearDownTestSuite()
    {
        delete s_katalog;
        s_katalog = nullptr;
    }
    static QString dane() { return s_katalog->filePath(QStringLiteral("dane")); }

    PolecenieDrukujTest() { Registry::redirectTo(m_ustawienia.path()); }
    ~PolecenieDrukujTest() override { Registry::redirectTo(QString()); }

    void zapiszUstawienia(const QByteArray &wartosci)
    {
        QFile ini(m_ustawienia.filePath(QStringLiteral("DRUK.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[General]\n" + wartosci);
    }

    Wynik drukuj(const QStringList &argumenty, bool terminal = false,
                 const DrukarkaPolecenia &drukarka = {})
    {
        std::FILE *wyjscie = std::tmpfile();
        std::FILE *bledy = std::tmpfile();
        Wynik wynik;
        {
            Konsola konsola(wyjscie, bledy);
            konsola.ustawTerminal(terminal);
            wynik.kod = PolecenieDrukuj(argumenty, konsola, drukarka);
        }
        wynik.wyjscie = tresc(wyjscie);
        wynik.bledy = tresc(bledy);
        std::fclose(wyjscie);
        std::fclose(bledy);
        return wynik;
    }

    QString wyniki(const QString &nazwa) const { return m_wyniki.filePath(nazwa); }

    static QByteArray plik(const QString &sciezka)
    {
        QFile f(sciezka);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<brak>");
    }

    static QTemporaryDir *s_katalog;
    FixedAppContext m_kontekst{kDzis, dane() + QStringLiteral("/rawen")};
    QTemporaryDir m_ustawienia;
    QTemporaryDir m_wyniki;
};

QTemporaryDir *PolecenieDrukujTest::s_katalog = nullptr;

const QByteArray kNaglowek1 = "Biuro Bilans                   Program : RAWEN 2.0           "
                              " Data : 2025.03.15 Strona : 1";

TEST_F(PolecenieDrukujTest, TheTextChannelsWriteTheTableByteForByte)
{
    const QByteArray kontrahenci = "|       SKROT        |         MIEJSCOWOSC          |\r\n"
                                   "|KASIA               |Tarnow                        |\r\n"
                                   "|PAWLAK              |Tarnow                        |\r\n"
                                   "|ZLOTY KLOS          |Debica                        |\r\n";
    const QByteArray regula(53, '=');
    const struct
    {
        const char *name;
        QStringList argumenty;
        QString plik; // empty: standard output
        QByteArray oczekiwane;
    } cases[] = {
        {"without cutting on standard output, numbered and totalled",
         {"2025/FIN/SUMA.DB", "--sumy", "lp;netto;VAT;brutto", "--tytul", "Sumy miesięcy"},
         {},
         "\r\n\r\n"
         "========================================================================\r\n"
         "| LP |  MIESIAC  |      NETTO      |       VAT       |     BRUTTO      |\r\n"
         "|----|-----------|-----------------|-----------------|-----------------|\r\n"
         "|   1|          1|         3 900,00|           897,00|         4 797,00|\r\n"
         "|   2|          2|         2 500,00|           575,00|         3 075,00|\r\n"
         "========================================================================\r\n"
         "|    |RAZEM :    |          6400.00|          1472.00|          7872.00|\r\n"
         "========================================================================\r\n"
         "Kelmar - Koniec wydruku: Sumy miesiecy\r\n"},
        {"with cutting into a file",
         {"2025/FIN/KONTRAHI.DB", "--kanal", "2", "--pola", "skrot;MIEJSCOWOSC;", "--plik",
          "kontrahenci.txt"},
         "kontrahenci.txt",
         kontrahenci + "Kelmar - Koniec wydruku: KONTRAHI.DB\r\n"},
        {"the DOS port, a file standing in for it",
         {"2025/FIN/KONTRAHI.DB", "--kanal=1", "--pola", "SKROT;MIEJSCOWOSC", "--plik", "lpt.prn"},
         "lpt.prn",
         [&] {
             QByteArray strumien;
             for (const QByteArray &linia :
                  {kNaglowek1, QByteArray("Wydruk : KONTRAHI.DB"), regula,
                   QByteArray("|       SKROT        |         MIEJSCOWOSC          |"),
                   QByteArray("|--------------------|------------------------------|"),
                   QByteArray("|KASIA               |Tarnow                        |"),
                   QByteArray("|PAWLAK              |Tarnow                        |"),
                   QByteArray("|ZLOTY KLOS          |Debica                        |"), regula,
                   QByteArray("Kelmar - Koniec wydruku: KONTRAHI.DB")})
                 strumien += "\x14\x12\x0F" + linia + "\r\n";
             // The page header switched the page split on: the job ends its page.
             return strumien + "\x0C\r\n";
         }()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Wynik w = drukuj(
            c.plik.isEmpty() ? c.argumenty
                             : QStringList(c.argumenty).replaceInStrings(c.plik, wyniki(c.plik)));
        EXPECT_EQ(w.kod, 0);
        EXPECT_EQ(w.bledy, "");
        if (c.plik.isEmpty()) {
            EXPECT_EQ(w.wyjscie, c.oczekiwane);
        } else {
            EXPECT_EQ(w.wyjscie, "");
            EXPECT_EQ(plik(wyniki(c.plik)), c.oczekiwane);
        }
    }
}

TEST_F(PolecenieDrukujTest, EverythingButTheChannelComesFromTheStoredSettings)
{
    // Mazovia letters, a margin of two, normal print, one line of top margin.
    zapiszUstawienia("DRPL=1\nDRLEWY=2\nDRRODZAJ=2\nDRGORA=1\nDRTYP=0\nDRBUFOR=0\n");
    const Wynik w = drukuj({"2025/FIN/KONTRAHI.DB", "--kanal", "1", "--pola", "SKROT;MIEJSCOWOSC",
                            "--plik", wyniki("lpt.prn")});
    ASSERT_EQ(w.kod, 0) << w.bledy.toStdString();
    const QList<QByteArray> linie = plik(wyniki("lpt.prn")).split('\n');
    ASSERT_GT(linie.size(), 8);
    const QByteArray poczatek("\x14\x12  \x14\x12");
    EXPECT_EQ(linie[0], poczatek + "\r");
    EXPECT_EQ(linie[1], poczatek + kNaglowek1 + "\r");
    EXPECT_EQ(linie[8], poczatek + "|Z\x9COTY K\x9COS          |D\x91"
                                   "bica                        |\r");
}

TEST_F(PolecenieDrukujTest, TheWindowsChannelDrawsOnThePrinterTheProgramGives)
{
    RecordingDrukarka drukarka;
    QString plikPdf;
    int wywolania = 0;
    const Wynik w = drukuj({"2025/FIN/SUMA.DB", "--kanal", "0", "--pola", "MIESIAC;BRUTTO",
                            "--sumy", "BRUTTO", "--plik", "suma.pdf"},
                           false, [&](const QString &pdf) {
                               ++wywolania;
                               plikPdf = pdf;
                               return std::make_unique<DoDrukarki>(drukarka);
                           });
    ASSERT_EQ(w.kod, 0) << w.bledy.toStdString();
    EXPECT_EQ(wywolania, 1);
    EXPECT_EQ(plikPdf, QDir(dane()).filePath(QStringLiteral("suma.pdf")));
    EXPECT_EQ(drukarka.dokument, u"SUMA.DB");
    EXPECT_EQ(drukarka.zakonczenia, 1);
    EXPECT_EQ(drukarka.teksty(0),
              (QStringList{QString::fromLatin1(kNaglowek1), "Wydruk : SUMA.DB",
                           "===============================", "|  MIESIAC  |     BRUTTO      |",
                           "|-----------|-----------------|", "|          1|         4 797,00|",
                           "|          2|         3 075,00|",
                           "===============================", "|RAZEM :    |          7872.00|",
                           "===============================", "Kelmar - Koniec wydruku: SUMA.DB"}));

    // A warning on the way is a job that needs looking at, however whole it ends.
    RecordingDrukarka ostrzegajaca;
    const Wynik zOstrzezeniem = drukuj(
        {"2025/FIN/SUMA.DB", "--kanal", "0", "--plik", "suma.pdf"}, false, [&](const QString &) {
            return std::make_unique<DoDrukarki>(ostrzegajaca,
                                                QStringLiteral("Brak czcionki drukarki."));
        });
    EXPECT_EQ(ostrzegajaca.zakonczenia, 1);
    EXPECT_EQ(zOstrzezeniem.kod, 1);
    EXPECT_EQ(zOstrzezeniem.bledy, "Brak czcionki drukarki.\n");
}

TEST_F(PolecenieDrukujTest, WrongUsageEndsWithTwoAndFailuresWithOne)
{
    const QByteArray uzycie = "Użycie: rawen --drukuj TABELA.DB [--kanal 0..3] [--plik PLIK] "
                              "[--pola A;B;C] [--sumy LP;KWOTA;...] [--tytul TEKST]\n";
    const struct
    {
        const char *name;
        QStringList argumenty;
        int kod;
        QByteArray bledy;
    } cases[] = {
        {"no table", {}, 2, "Nie podano tabeli do wydruku.\n" + uzycie},
        {"two tables", {"A.DB", "B.DB"}, 2, "Podaj jedną tabelę do wydruku.\n" + uzycie},
        {"an unknown option", {"A.DB", "--kolor"}, 2, "Nieznana opcja: --kolor.\n" + uzycie},
        {"a channel that is none",
         {"A.DB", "--kanal", "4"},
         2,
         "Nieprawidłowy kanał wydruku: 4 (0 - drukarka Windows, 1 - port DOS, 2 - plik tekstowy "
         "z wycinaniem, 3 - plik tekstowy bez wycinania).\n" +
             uzycie},
        {"a field the table lacks",
         {"2025/FIN/SUMA.DB", "--pola", "NETTO;RABAT"},
         2,
         "Tabela SUMA.DB nie ma pola RABAT.\n" + uzycie},
        {"a total of a field not printed",
         {"2025/FIN/SUMA.DB", "--pola", "NETTO", "--sumy", "LP;VAT"},
         2,
         "Pole VAT z listy --sumy nie jest drukowane.\n" + uzycie},
        {"a table that is not there", {"2025/FIN/BRAK.DB"}, 1, "BRAK.DB: brak tabeli\n"},
        {"a file that cannot be made",
         {"2025/FIN/SUMA.DB", "--plik", "brak/suma.txt"},
         1,
         "Błąd otwarcia pliku : " + QFile::encodeName(dane()) + "/brak/suma.txt\n"},
        {"the Windows channel without a printer",
         {"2025/FIN/SUMA.DB", "--kanal", "0"},
         1,
         "Drukarka Windows nie jest dostępna.\n"},
        {"an empty table: nothing to print",
         {"PUSTA.DB", "--plik", "pusta.txt"},
         0,
         "Tabela PUSTA.DB jest pusta: nie ma czego drukować.\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Wynik w = drukuj(c.argumenty);
        EXPECT_EQ(w.kod, c.kod);
        EXPECT_EQ(QString::fromUtf8(w.bledy), QString::fromUtf8(c.bledy));
        EXPECT_EQ(w.wyjscie, "");
    }
    EXPECT_FALSE(QFile::exists(QDir(dane()).filePath(QStringLiteral("pusta.txt"))));
}

// Results that do not reach standard output are no print.
TEST_F(PolecenieDrukujTest, AStandardOutputThatTakesNothingIsAFailure)
{
    std::FILE *pelne = std::fopen("/dev/full", "w");
    if (!pelne)
        GTEST_SKIP() << "no /dev/full";
    std::FILE *bledy = std::tmpfile();
    int kod = -1;
    {
        Konsola konsola(pelne, bledy);
        kod = PolecenieDrukuj({QStringLiteral("2025/FIN/SUMA.DB")}, konsola);
    }
    EXPECT_EQ(kod, 1);
    EXPECT_EQ(QString::fromUtf8(tresc(bledy)),
              QStringLiteral("Błąd zapisu do pliku : (standardowe wyjście)\n"));
    std::fclose(bledy);
    std::fclose(pelne);
}

TEST_F(PolecenieDrukujTest, AProgressLineOnATerminalOnly)
{
    for (bool terminal : {false, true}) {
        const Wynik w = drukuj({"2025/FIN/SUMA.DB", "--plik", wyniki("suma.txt")}, terminal);
        EXPECT_EQ(w.kod, 0);
        EXPECT_EQ(w.bledy,
                  terminal ? QByteArray("\rSUMA.DB   0%\rSUMA.DB  50%\rSUMA.DB 100%\n") : "");
    }
}

} // namespace
} // namespace rawen::test
