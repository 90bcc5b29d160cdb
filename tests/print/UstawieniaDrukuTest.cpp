#include "print/UstawieniaDruku.h"

#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace rawen {

void PrintTo(const UstawieniaDruku &u, std::ostream *os)
{
    *os << "DRTYP " << int(u.DRTYP) << " DRPORT " << int(u.DRPORT) << " DREKSPORT "
        << int(u.DREKSPORT) << " DRRODZAJ " << int(u.DRRODZAJ) << " DRPL " << int(u.DRPL)
        << " DRPODZIAL " << u.DRPODZIAL << " DRBUFOR " << u.DRBUFOR << " DRLEWY " << u.DRLEWY
        << " DRGORA " << u.DRGORA << " DRLINIDOS " << u.DRLINIDOS;
}

namespace test {
namespace {

using Wartosci = QMap<QString, QByteArray>;

// A set of stored values where each reads as something else than its default.
Wartosci pelnyZestaw()
{
    return {{"DRTYP", "2"},  {"DRPORT", "1"},    {"DRRODZAJ", "3"},
            {"DRPL", "2"},   {"DRPODZIAL", "1"}, {"DRBUFOR", "1"},
            {"DRLEWY", "7"}, {"DRGORA", "12"},   {"DRLINIDOS", "55"}};
}

UstawieniaDruku zPelnegoZestawu()
{
    UstawieniaDruku u;
    u.DRTYP = 2;
    u.DRPORT = 1;
    u.DRRODZAJ = 3;
    u.DRPL = 2;
    u.DRPODZIAL = true;
    u.DRBUFOR = true;
    u.DRLEWY = 7;
    u.DRGORA = 12;
    u.DRLINIDOS = 55;
    return u;
}

UstawieniaDruku domyslne()
{
    UstawieniaDruku u;
    u.DRLINIDOS = 70;
    return u;
}

class UstawieniaDrukuTest : public testing::Test
{
protected:
    UstawieniaDrukuTest() { Registry::redirectTo(m_dir.path()); }
    ~UstawieniaDrukuTest() override { Registry::redirectTo(QString()); }

    QString plik() const { return m_folder + QStringLiteral("/DRUK.ini"); }

    // Each file goes to a folder of its own: Qt keeps what it read of a settings file and would
    // miss a rewrite of the same size within the same millisecond.
    void zapiszPlik(const Wartosci &wartosci)
    {
        m_folder = m_dir.filePath(QString::number(++m_pliki));
        ASSERT_TRUE(QDir().mkpath(m_folder));
        Registry::redirectTo(m_folder);
        QFile file(plik());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\n");
        for (auto it = wartosci.begin(); it != wartosci.end(); ++it)
            file.write(it.key().toLatin1() + '=' + it.value() + '\n');
    }

    static UstawieniaDruku wczytane()
    {
        UstawieniaDruku u;
        u.Wczytaj();
        return u;
    }

    QTemporaryDir m_dir;
    QString m_folder = m_dir.path();
    int m_pliki = 0;
};

TEST_F(UstawieniaDrukuTest, FirstRunWithoutTheKeyGivesTheDefaults)
{
    EXPECT_EQ(wczytane(), domyslne());
}

TEST_F(UstawieniaDrukuTest, ReadsEveryStoredValueButTheExportVariant)
{
    Wartosci wartosci = pelnyZestaw();
    wartosci.insert(QStringLiteral("DREKSPORT"), "5");
    zapiszPlik(wartosci);
    EXPECT_EQ(wczytane(), zPelnegoZestawu());
}

TEST_F(UstawieniaDrukuTest, BytesKeepTheLowByteAndBooleansAnyNonZero)
{
    zapiszPlik({{"DRTYP", "258"},
                {"DRPORT", "4294967041"}, // 0xFFFFFF01
                {"DRRODZAJ", "-1"},
                {"DRPL", "256"},
                {"DRPODZIAL", "7"},
                {"DRBUFOR", "-1"},
                {"DRLEWY", "-3"},
                {"DRGORA", "100000"},
                {"DRLINIDOS", "70"}});
    UstawieniaDruku oczekiwane = domyslne();
    oczekiwane.DRTYP = 2;
    oczekiwane.DRPORT = 1;
    oczekiwane.DRRODZAJ = 255;
    oczekiwane.DRPL = 0;
    oczekiwane.DRPODZIAL = true;
    oczekiwane.DRBUFOR = true;
    oczekiwane.DRLEWY = -3;
    oczekiwane.DRGORA = 100000;
    EXPECT_EQ(wczytane(), oczekiwane);
}

TEST_F(UstawieniaDrukuTest, FewerThanTenLinesPerPageBecomeSeventy)
{
    const struct
    {
        const char *zapisane;
        qint32 wczytane;
    } przypadki[] = {{"5", 70}, {"9", 70}, {"0", 70}, {"-4", 70}, {"10", 10}, {"150", 150}};
    for (const auto &p : przypadki) {
        zapiszPlik({{"DRLINIDOS", p.zapisane}});
        EXPECT_EQ(wczytane().DRLINIDOS, p.wczytane) << p.zapisane;
    }
}

struct Uszkodzenie
{
    const char *nazwa;
    const char *zapisane; // nullptr: the value is missing
    std::function<void(UstawieniaDruku &)> zostaje;
};

void PrintTo(const Uszkodzenie &u, std::ostream *os)
{
    *os << u.nazwa << (u.zapisane ? " mistyped" : " missing");
}

class UszkodzonaWartosc : public UstawieniaDrukuTest,
                          public testing::WithParamInterface<Uszkodzenie>
{};

// A damaged value keeps what the field held before reading; the values after it are still read,
// and the rule for DRLINIDOS still runs.
TEST_P(UszkodzonaWartosc, KeepsItsInitialValueAndTheOthersAreRead)
{
    const Uszkodzenie &u = GetParam();
    Wartosci wartosci = pelnyZestaw();
    if (u.zapisane)
        wartosci[QString::fromLatin1(u.nazwa)] = u.zapisane;
    else
        wartosci.remove(QString::fromLatin1(u.nazwa));
    zapiszPlik(wartosci);

    UstawieniaDruku oczekiwane = zPelnegoZestawu();
    u.zostaje(oczekiwane);
    EXPECT_EQ(wczytane(), oczekiwane);
}

std::vector<Uszkodzenie> uszkodzenia()
{
    const std::vector<Uszkodzenie> pola = {
        {"DRTYP", nullptr, [](UstawieniaDruku &u) { u.DRTYP = 0; }},
        {"DRPORT", nullptr, [](UstawieniaDruku &u) { u.DRPORT = 0; }},
        {"DRRODZAJ", nullptr, [](UstawieniaDruku &u) { u.DRRODZAJ = 0; }},
        {"DRPL", nullptr, [](UstawieniaDruku &u) { u.DRPL = 0; }},
        {"DRPODZIAL", nullptr, [](UstawieniaDruku &u) { u.DRPODZIAL = false; }},
        {"DRBUFOR", nullptr, [](UstawieniaDruku &u) { u.DRBUFOR = false; }},
        {"DRLEWY", nullptr, [](UstawieniaDruku &u) { u.DRLEWY = 0; }},
        {"DRGORA", nullptr, [](UstawieniaDruku &u) { u.DRGORA = 0; }},
        {"DRLINIDOS", nullptr, [](UstawieniaDruku &u) { u.DRLINIDOS = 70; }},
    };
    std::vector<Uszkodzenie> wynik;
    for (const Uszkodzenie &pole : pola) {
        wynik.push_back(pole);
        wynik.push_back({pole.nazwa, "LPT2", pole.zostaje});
    }
    return wynik;
}

INSTANTIATE_TEST_SUITE_P(Wartosci, UszkodzonaWartosc, testing::ValuesIn(uszkodzenia()));

TEST_F(UstawieniaDrukuTest, StoresAllTenValuesAndReadsThemBack)
{
    const UstawieniaDruku u = zPelnegoZestawu();
    ASSERT_TRUE(u.Zapisz());

    QSettings zapisane(plik(), QSettings::IniFormat);
    QStringList nazwy = zapisane.childKeys();
    nazwy.sort();
    EXPECT_EQ(nazwy, QStringList({"DRBUFOR", "DREKSPORT", "DRGORA", "DRLEWY", "DRLINIDOS", "DRPL",
                                  "DRPODZIAL", "DRPORT", "DRRODZAJ", "DRTYP"}));
    EXPECT_EQ(zapisane.value("DREKSPORT").toString(), "0");
    EXPECT_EQ(zapisane.value("DRPODZIAL").toString(), "1");
    EXPECT_EQ(zapisane.value("DRBUFOR").toString(), "1");

    EXPECT_EQ(wczytane(), u);
}

TEST_F(UstawieniaDrukuTest, StoringWritesZeroForChoicesThatNameNone)
{
    const struct
    {
        quint8 wartosc;
        int typ;  // DRTYP, DRRODZAJ and DRPL: 1 to 3 as they are
        int port; // DRPORT: 1 to 2 as it is
    } przypadki[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 0}, {4, 0, 0}, {255, 0, 0}};
    for (const auto &p : przypadki) {
        UstawieniaDruku u = domyslne();
        u.DRTYP = p.wartosc;
        u.DRPORT = p.wartosc;
        u.DRRODZAJ = p.wartosc;
        u.DRPL = p.wartosc;
        u.DREKSPORT = 9;
        ASSERT_TRUE(u.Zapisz());
        QSettings zapisane(plik(), QSettings::IniFormat);
        const std::string kto = "value " + std::to_string(p.wartosc);
        EXPECT_EQ(zapisane.value("DRTYP").toInt(), p.typ) << kto;
        EXPECT_EQ(zapisane.value("DRRODZAJ").toInt(), p.typ) << kto;
        EXPECT_EQ(zapisane.value("DRPL").toInt(), p.typ) << kto;
        EXPECT_EQ(zapisane.value("DRPORT").toInt(), p.port) << kto;
        EXPECT_EQ(zapisane.value("DREKSPORT").toInt(), 0) << kto;
        EXPECT_EQ(zapisane.value("DRPODZIAL").toString(), "0") << kto;
    }
}

TEST_F(UstawieniaDrukuTest, AKeyThatCannotBeWrittenStoresNothing)
{
    QFile blokada(m_dir.filePath(QStringLiteral("plik")));
    ASSERT_TRUE(blokada.open(QIODevice::WriteOnly));
    blokada.close();
    Registry::redirectTo(blokada.fileName());

    EXPECT_FALSE(zPelnegoZestawu().Zapisz());
    EXPECT_EQ(wczytane(), domyslne());
}

TEST_F(UstawieniaDrukuTest, PortDevicesComeFromTheKeyElseFromTheSystem)
{
    zapiszPlik({{"LPT2", "/tmp/drukarka"}, {"DRTYP", "1"}});
    const struct
    {
        quint8 DRPORT;
        QString urzadzenie;
    } przypadki[] = {
#ifdef Q_OS_WIN
        {0, QStringLiteral("LPT1:")},
        {2, QStringLiteral("LPT3:")},
#else
        {0, QStringLiteral("/dev/lp0")},
        {2, QStringLiteral("/dev/lp2")},
#endif
        {1, QStringLiteral("/tmp/drukarka")},
        {3, QString()},
        {255, QString()},
    };
    for (const auto &p : przypadki)
        EXPECT_EQ(UrzadzeniePortu(p.DRPORT), p.urzadzenie) << int(p.DRPORT);
    // The device paths are no print settings: storing leaves them and adds nothing of the kind.
    ASSERT_TRUE(zPelnegoZestawu().Zapisz());
    EXPECT_EQ(UrzadzeniePortu(1), u"/tmp/drukarka");
    EXPECT_EQ(QSettings(plik(), QSettings::IniFormat).childKeys().size(), 11);
}

TEST(LiczbaZMaski, ReadsTheDigitsOrGivesZero)
{
    const struct
    {
        const char *tekst;
        qint32 liczba;
    } przypadki[] = {{"5", 5},  {"05", 5}, {"99", 99}, {" 5", 5}, {"5 ", 5}, {"1 2", 12}, {"", 0},
                     {"  ", 0}, {"-3", 0}, {"ab", 0},  {"5_", 0}, {"+7", 7}, {"123", 123}};
    for (const auto &p : przypadki)
        EXPECT_EQ(LiczbaZMaski(QString::fromLatin1(p.tekst)), p.liczba) << '"' << p.tekst << '"';
}

} // namespace
} // namespace test
} // namespace rawen
