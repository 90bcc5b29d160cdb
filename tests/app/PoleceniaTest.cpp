#include "app/Polecenia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

struct Wynik
{
    int kod = -1;
    QByteArray wyjscie;
    QByteArray bledy;
};

// The program itself, run in `katalog` with the print settings of `ustawienia` and without a
// screen: no display, no platform chosen.
Wynik uruchom(const QStringList &argumenty, const QString &katalog, const QString &ustawienia,
              const QString &sieciowy = QString())
{
    QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
    if (!sieciowy.isEmpty())
        srodowisko.insert(QStringLiteral("RAWEN_TEST_NETWORK_FOLDER"), sieciowy);
    for (const char *zmienna : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        srodowisko.remove(QString::fromLatin1(zmienna));
    srodowisko.insert(QStringLiteral("XDG_CONFIG_DIRS"), ustawienia);
    srodowisko.insert(QStringLiteral("XDG_CONFIG_HOME"), ustawienia);
    QProcess program;
    program.setProcessEnvironment(srodowisko);
    program.setWorkingDirectory(katalog);
    program.start(QStringLiteral(RAWEN_PROGRAM), argumenty);
    Wynik wynik;
    if (!program.waitForFinished(120000)) {
        ADD_FAILURE() << "rawen did not end";
        program.kill();
        program.waitForFinished();
        return wynik;
    }
    wynik.kod = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    wynik.wyjscie = program.readAllStandardOutput();
    wynik.bledy = program.readAllStandardError();
    return wynik;
}

class PoleceniaTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_katalog = new QTemporaryDir;
        const Wynik demo =
            uruchom({QStringLiteral("--demo"), dane()}, s_katalog->path(), s_katalog->path());
        ASSERT_EQ(demo.kod, 0) << demo.bledy.toStdString();
    }
    static void TearDownTestSuite()
    {
        delete s_katalog;
        s_katalog = nullptr;
    }
    static QString dane() { return s_katalog->filePath(QStringLiteral("dane")); }
    // The demo has the year of today and the one before.
    static QString rok() { return QString::number(QDate::currentDate().year()); }

    Wynik drukuj(const QStringList &argumenty)
    {
        return uruchom(QStringList{QStringLiteral("--drukuj")} + argumenty, dane(),
                       m_ustawienia.path());
    }

    static QTemporaryDir *s_katalog;
    QTemporaryDir m_ustawienia;
};

QTemporaryDir *PoleceniaTest::s_katalog = nullptr;

TEST_F(PoleceniaTest, HelpListsThePrintCommand)
{
    const Wynik pomoc = uruchom({QStringLiteral("--help")}, dane(), m_ustawienia.path());
    EXPECT_EQ(pomoc.kod, 0);
    EXPECT_TRUE(QString::fromLocal8Bit(pomoc.wyjscie)
                    .contains(QStringLiteral("rawen --drukuj TABELA.DB [--kanal 0..3] [--plik "
                                             "PLIK] [--pola A;B;C] [--sumy LP;KWOTA;...] "
                                             "[--tytul TEKST]")));
    const Wynik wlasna = drukuj({QStringLiteral("--help")});
    EXPECT_EQ(wlasna.kod, 0);
    EXPECT_TRUE(wlasna.wyjscie.startsWith("Użycie: rawen --drukuj TABELA.DB"));
    EXPECT_TRUE(wlasna.wyjscie.contains("--kanal 0..3"));
    const Wynik zle = drukuj({QStringLiteral("--kanal"), QStringLiteral("9")});
    EXPECT_EQ(zle.kod, 2);
}

TEST_F(PoleceniaTest, ATableOnStandardOutputByteForByte)
{
    const Wynik w = drukuj({rok() + QStringLiteral("/FIN/SUMA.DB"), QStringLiteral("--sumy"),
                            QStringLiteral("NETTO;BRUTTO"), QStringLiteral("--pola"),
                            QStringLiteral("MIESIAC;NETTO;BRUTTO")});
    EXPECT_EQ(w.kod, 0) << w.bledy.toStdString();
    const QByteArray regula(49, '=');
    EXPECT_EQ(QString::fromLatin1(w.wyjscie),
              QString::fromLatin1("\r\n\r\n" + regula +
                                  "\r\n"
                                  "|  MIESIAC  |      NETTO      |     BRUTTO      |\r\n"
                                  "|-----------|-----------------|-----------------|\r\n"
                                  "|          1|         3 900,00|         4 797,00|\r\n"
                                  "|          2|         2 500,00|         3 075,00|\r\n" +
                                  regula +
                                  "\r\n"
                                  "|RAZEM :    |          6400.00|          7872.00|\r\n" +
                                  regula +
                                  "\r\n"
                                  "Kelmar - Koniec wydruku: SUMA.DB\r\n"));
}

// Every command refuses a data root that the program takes for a network drive, before it
// touches anything; the option, wherever it stands, lets it go on with a warning.
TEST_F(PoleceniaTest, EveryCommandRefusesADataRootOnANetworkDriveUnlessTheOptionIsGiven)
{
    const QString nowy = dane() + QStringLiteral("/NOWY");
    const QString mimo = QStringLiteral("--mimo-dysku-sieciowego");
    struct Przypadek
    {
        const char *co;
        QStringList argumenty;
        int kod;
        QString nieMa; // what the command must not have made
    };
    const Przypadek przypadki[] = {
        {"the year opening",
         {QStringLiteral("--otworz-rok"), QStringLiteral("2099"), dane()},
         1,
         dane() + QStringLiteral("/2099")},
        {"the archive",
         {QStringLiteral("--archiwizuj"), dane()},
         1,
         dane() + QStringLiteral("/ARCHIWUM")},
        {"a print", {QStringLiteral("--drukuj"), rok() + QStringLiteral("/FIN/SUMA.DB")}, 1, {}},
        {"a demo data root", {QStringLiteral("--demo"), nowy}, 1, nowy},
        {"an import", {QStringLiteral("--importuj"), s_katalog->path(), nowy}, 1, nowy},
        {"a print, the option first",
         {mimo, QStringLiteral("--drukuj"), rok() + QStringLiteral("/FIN/SUMA.DB")},
         0,
         {}},
        {"a demo data root, the option last", {QStringLiteral("--demo"), nowy, mimo}, 0, {}},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.co);
        const Wynik w = uruchom(p.argumenty, dane(), m_ustawienia.path(), dane());
        const QString bledy = QString::fromLocal8Bit(w.bledy);
        EXPECT_EQ(w.kod, p.kod) << bledy.toStdString();
        EXPECT_TRUE(bledy.contains(QStringLiteral("leży na dysku sieciowym (NFS)")))
            << bledy.toStdString();
        if (p.kod == 0) {
            EXPECT_TRUE(bledy.contains(QStringLiteral("mimo to (opcja --mimo-dysku-sieciowego)")));
        } else {
            EXPECT_TRUE(bledy.contains(QStringLiteral("Przenieś katalog danych na dysk lokalny")));
            EXPECT_TRUE(w.wyjscie.isEmpty()) << w.wyjscie.toStdString();
        }
        if (!p.nieMa.isEmpty()) {
            EXPECT_FALSE(QFileInfo::exists(p.nieMa));
        }
    }
    // The demo made on the share with the option is a data root like any other.
    EXPECT_TRUE(QFileInfo::exists(nowy + QStringLiteral("/FIRMA.DB")));
    ASSERT_TRUE(QDir(nowy).removeRecursively());
}

// The Windows channel needs the widgets: without a screen they print on the offscreen platform.
TEST_F(PoleceniaTest, TheWindowsChannelPrintsAPdfWithoutAScreen)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is missing: scripts/install-deps installs poppler-utils";
    const QString pdf = QDir(m_ustawienia.path()).filePath(QStringLiteral("faktury.pdf"));
    const Wynik w = drukuj({rok() + QStringLiteral("/FIN/NAGFAKS.DB"), QStringLiteral("--kanal"),
                            QStringLiteral("0"), QStringLiteral("--plik"), pdf,
                            QStringLiteral("--pola"), QStringLiteral("NRFAK;NAZWA;BRUTTO"),
                            QStringLiteral("--sumy"), QStringLiteral("LP;BRUTTO"),
                            QStringLiteral("--tytul"), QStringLiteral("Faktury sprzedaży")});
    ASSERT_EQ(w.kod, 0) << w.bledy.toStdString();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    const QString tekst = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char *linia : {"Biuro Bilans", "Wydruk : Faktury sprzedaży", "|   2|FV/2/",
                              "|Usługi Transportowe Marek Pawlak", "|    |RAZEM :", "4797.00|",
                              "Kelmar - Koniec wydruku: Faktury"})
        EXPECT_TRUE(tekst.contains(QString::fromUtf8(linia))) << linia << "\n"
                                                              << tekst.toStdString();
}

} // namespace
} // namespace rawen::test
