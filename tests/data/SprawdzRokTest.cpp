#include "data/SprawdzRok.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "support/FixedAppContext.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace rawen::test {
namespace {

struct Przypadek
{
    const char *opis;
    QDate dzis;
    QStringList katalogi; // made in the data directory; "plik:" makes a file instead
    QString obrdata;      // "-" = no firm table
    QStringList argumenty;
    QString rok;            // working year afterwards
    QStringList komunikaty; // warnings, in order
};

void PrintTo(const Przypadek &p, std::ostream *os)
{
    *os << p.opis;
}

const QString kBrak = QStringLiteral("Brak otwartego roku : %1\rRok zostanie zmieniony na : %2");
const QString kNowyRok = QStringLiteral(
    "Proszę otworzyć nowy rok %1\rw celu poprawnego działania programu w nowym roku.");

class SprawdzRokTest : public testing::TestWithParam<Przypadek>
{};

TEST_P(SprawdzRokTest, SettlesTheWorkingYear)
{
    const Przypadek &p = GetParam();
    QTemporaryDir dane;
    QDir katalog(dane.path());
    for (const QString &nazwa : p.katalogi) {
        if (nazwa.startsWith(QLatin1String("plik:"))) {
            QFile plik(katalog.filePath(nazwa.mid(5)));
            ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
        } else {
            ASSERT_TRUE(katalog.mkpath(nazwa));
        }
    }
    AppContext kontekst;
    kontekst.today = p.dzis;
    kontekst.executablePath = QStringLiteral("/opt/rawen/rawen");
    kontekst.arguments = p.argumenty;
    FixedAppContext staly(kontekst);
    ScriptedMessageBoxes okna;

    Table firma;
    if (p.obrdata != QLatin1String("-")) {
        firma.setTableName(katalog.filePath(QStringLiteral("FIRMA")));
        AktualizujTabeleFirmy(firma);
        firma.edit();
        firma.fieldByName(QStringLiteral("OBRDATA")).setAsString(p.obrdata);
        firma.post();
    }

    WartosciProgramu w;
    w.ustawDateStartu(kontekst);
    w.katalogDanych = dane.path() + u'/';
    SprawdzRok(w, &firma);

    EXPECT_EQ(w.rokRoboczy, p.rok);
    EXPECT_EQ(okna.texts(), p.komunikaty);
    for (const ShownBox &okno : okna.shown()) {
        EXPECT_EQ(okno.icon, MessageBoxes::Icon::Warning);
        EXPECT_EQ(okno.buttons, MessageBoxes::Buttons::Ok);
    }

    // Running it again, as the restore does, settles the same year.
    ScriptedMessageBoxes znowu;
    SprawdzRok(w, &firma);
    EXPECT_EQ(w.rokRoboczy, p.rok);
    EXPECT_EQ(znowu.texts(), p.komunikaty);
}

INSTANTIATE_TEST_SUITE_P(
    Przypadki, SprawdzRokTest,
    testing::Values(
        Przypadek{"missing year falls back to the newest",
                  QDate(2005, 3, 10),
                  {"2003", "2004"},
                  "",
                  {},
                  "2004",
                  {kBrak.arg("2005", "2004")}},
        Przypadek{
            "fiscal year not begun", QDate(2005, 3, 10), {"2004", "2005"}, "07.01", {}, "2004", {}},
        Przypadek{"fiscal year begins that day: strict",
                  QDate(2005, 7, 1),
                  {"2004", "2005"},
                  "07.01",
                  {},
                  "2005",
                  {}},
        Przypadek{"01.01 is no fiscal-year start",
                  QDate(2005, 3, 10),
                  {"2004", "2005"},
                  "01.01",
                  {},
                  "2005",
                  {}},
        Przypadek{
            "7.1 is not numeric", QDate(2005, 3, 10), {"2004", "2005"}, "7.1", {}, "2005", {}},
        Przypadek{"a blank after the month is no number",
                  QDate(2005, 3, 10),
                  {"2004", "2005"},
                  "7 .01",
                  {},
                  "2005",
                  {}},
        Przypadek{"a blank before it is; written by 99",
                  QDate(2005, 3, 10),
                  {"2004", "2005"},
                  " 7.1",
                  {},
                  "2004",
                  {}},
        Przypadek{"no firm table", QDate(2005, 3, 10), {"2004", "2005"}, "-", {}, "2005", {}},
        Przypadek{"no year directory, no warning", QDate(2005, 3, 10), {}, "", {}, "2005", {}},
        Przypadek{"December reminder",
                  QDate(2005, 12, 20),
                  {"2005"},
                  "",
                  {},
                  "2005",
                  {kNowyRok.arg("2006")}},
        Przypadek{
            "next year already open", QDate(2005, 12, 31), {"2005", "2006"}, "", {}, "2005", {}},
        Przypadek{"15 December is too early", QDate(2005, 12, 15), {"2005"}, "", {}, "2005", {}},
        Przypadek{"reminder needs a year list", QDate(2005, 12, 20), {}, "", {}, "2005", {}},
        Przypadek{
            "rok 2003", QDate(2005, 3, 10), {"2003", "2005"}, "", {"rok", "2003"}, "2003", {}},
        Przypadek{"ROK 2003 overrides the fiscal year",
                  QDate(2005, 3, 10),
                  {"2003", "2005"},
                  "07.01",
                  {"ROK", "2003"},
                  "2003",
                  {}},
        Przypadek{"rok of a missing year",
                  QDate(2005, 3, 10),
                  {"2004", "2005"},
                  "",
                  {"Rok", "2003xyz"},
                  "2005",
                  {kBrak.arg("2003", "2005")}},
        Przypadek{
            "rok needs a second argument", QDate(2005, 3, 10), {"2005"}, "", {"rok"}, "2005", {}},
        Przypadek{"2004a counts, a file 2006 does not, 1999 does",
                  QDate(2006, 3, 10),
                  {"2004a", "plik:2006", "1999", "3000", "x2005", ".2006"},
                  "",
                  {},
                  "2004",
                  {kBrak.arg("2006", "2004")}},
        Przypadek{"both warnings",
                  QDate(2006, 12, 20),
                  {"2004", "2005"},
                  "",
                  {},
                  "2005",
                  {kBrak.arg("2006", "2005"), kNowyRok.arg("2007")}}));

TEST(SprawdzRok, BuildsTheYearListInOrderAndFillsAnEmptyDataDirectory)
{
    QTemporaryDir dane;
    QDir katalog(dane.path());
    for (const char *nazwa : {"2005", "2003", "2004b", "2004a", "1999", "2004"})
        ASSERT_TRUE(katalog.mkdir(QString::fromLatin1(nazwa)));
    FixedAppContext staly(QDate(2005, 3, 10), katalog.filePath(QStringLiteral("rawen")));
    ScriptedMessageBoxes okna;
    WartosciProgramu w;
    w.ustawDateStartu(AppContext::current());
    w.listaLat = QStringList{QStringLiteral("stale")};
    SprawdzRok(w, nullptr);
    EXPECT_EQ(w.katalogDanych, dane.path() + u'/');
    EXPECT_EQ(w.listaLat, (QStringList{"1999", "2003", "2004", "2004", "2004", "2005"}));
    EXPECT_EQ(w.rokRoboczy, QStringLiteral("2005"));
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST(SprawdzRok, AnUnreadableDataDirectoryGivesAnEmptyList)
{
    FixedAppContext staly(QDate(2005, 12, 20));
    ScriptedMessageBoxes okna;
    WartosciProgramu w;
    w.ustawDateStartu(AppContext::current());
    w.katalogDanych = QStringLiteral("/nonexistent/rawen/");
    SprawdzRok(w, nullptr);
    EXPECT_TRUE(w.listaLat.isEmpty());
    EXPECT_EQ(w.rokRoboczy, QStringLiteral("2005"));
    EXPECT_TRUE(okna.shown().isEmpty());
}

} // namespace
} // namespace rawen::test
