#include "demo/DaneDemo.h"

#include "data/Session.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FaultPoint.h"
#include "support/CrashHarness.h"
#include "support/TableFixtures.h"
#include "year/RegulyKopiiRoku.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

namespace rawen::test {
namespace {

const QDate kDzis(2024, 3, 10);

QString programModulu()
{
    return QStringLiteral(RAWEN_MODUL_DEMO);
}

// The message of the BladDanychDemo `akcja` raises; nullopt when it raises none.
std::optional<QString> bladDemo(const std::function<void()> &akcja)
{
    try {
        akcja();
    } catch (const BladDanychDemo &blad) {
        return blad.message();
    }
    return std::nullopt;
}

// Every entry under `katalog`, directories included, with the bytes of each file: what "left as
// it was" compares.
QMap<QString, QByteArray> migawka(const QString &katalog)
{
    QMap<QString, QByteArray> wynik;
    QDirIterator it(katalog, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString sciezka = it.next();
        const QString nazwa = QDir(katalog).relativeFilePath(sciezka);
        wynik.insert(nazwa, it.fileInfo().isDir() ? QByteArray("<katalog>") : fileBytes(sciezka));
    }
    return wynik;
}

// The files under `katalog`, as paths relative to it.
QSet<QString> pliki(const QString &katalog)
{
    QSet<QString> wynik;
    QDirIterator it(katalog, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        wynik.insert(QDir(katalog).relativeFilePath(it.next()));
    return wynik;
}

QString cyfry(const QString &tekst)
{
    QString wynik;
    for (const QChar c : tekst) {
        if (c.isDigit())
            wynik += c;
    }
    return wynik;
}

bool sumaKontrolna(const QString &numer, const QList<int> &wagi, bool dziesiecToZero)
{
    if (numer.size() != wagi.size() + 1)
        return false;
    int suma = 0;
    for (int i = 0; i < wagi.size(); ++i)
        suma += numer[i].digitValue() * wagi[i];
    int kontrolna = suma % 11;
    if (kontrolna == 10) {
        if (!dziesiecToZero)
            return false;
        kontrolna = 0;
    }
    return kontrolna == numer.back().digitValue();
}

bool nipPoprawny(const QString &nip)
{
    return sumaKontrolna(cyfry(nip), {6, 5, 7, 2, 3, 4, 5, 6, 7}, false);
}

bool regonPoprawny(const QString &regon)
{
    return sumaKontrolna(cyfry(regon), {8, 9, 2, 3, 4, 5, 6, 7}, true);
}

// A Polish account number is an IBAN without "PL": the 24 digits, then PL as 2521, then the two
// check digits, taken modulo 97, give 1.
bool rachunekPoprawny(const QString &rachunek)
{
    const QString numer = cyfry(rachunek);
    if (numer.size() != 26)
        return false;
    const QString przestawiony = numer.mid(2) + QStringLiteral("2521") + numer.left(2);
    int reszta = 0;
    for (const QChar c : przestawiony)
        reszta = (reszta * 10 + c.digitValue()) % 97;
    return reszta == 1;
}

QString sciezkaRegulu(const QString &katalogRoku, const RegulaKopiiRoku &regula)
{
    return QDir(katalogRoku).filePath(QString(regula.koncowka).replace(u'\\', u'/'));
}

// One demo data root for the tests that only look at it; making one takes a few seconds, so
// they are few and each looks at much.
class DaneDemoUklad : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_katalog = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(s_katalog->isValid());
        // Two levels that do not exist yet: the parents are made too.
        s_dane = s_katalog->filePath(QStringLiteral("nowy/demo"));
        UtworzDaneDemo(s_dane, kDzis, programModulu());
    }
    static void TearDownTestSuite() { s_katalog.reset(); }

    static QString dane(const QString &sciezka = QString())
    {
        return sciezka.isEmpty() ? s_dane : QDir(s_dane).filePath(sciezka);
    }

    static std::unique_ptr<QTemporaryDir> s_katalog;
    static QString s_dane;
};

std::unique_ptr<QTemporaryDir> DaneDemoUklad::s_katalog;
QString DaneDemoUklad::s_dane;

TEST_F(DaneDemoUklad, KatalogiMajaSwojeWpisyAModulySaWykonywalnymiKopiami)
{
    const auto wpisy = [](const QString &katalog) {
        const QStringList lista = directoryEntries(katalog);
        return QSet<QString>(lista.begin(), lista.end());
    };
    const QSet<QString> glowny{"FIRMA.DB",   "RAWEN.DB",   "2023",       "2024",
                               "BAZA",       "FIRMA001",   "FIRMA002",   "dremot.exe",
                               "lomira.exe", "harnol.exe", "garvel.exe", "selvik.exe",
                               "tessun.exe", "puntor.exe", "borvik.exe"};
    const QSet<QString> firmy{"FIRMA.DB", "2024", "BAZA"};

    EXPECT_EQ(wpisy(dane()), glowny);
    for (const char *firma : {"FIRMA001", "FIRMA002"})
        EXPECT_EQ(wpisy(dane(QString::fromLatin1(firma))), firmy) << firma;

    const QByteArray wzor = fileBytes(programModulu());
    ASSERT_FALSE(wzor.isEmpty());
    const QFileDevice::Permissions wykonanie =
        QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    for (const char *nazwa : {"dremot.exe", "lomira.exe", "harnol.exe", "garvel.exe", "selvik.exe",
                              "tessun.exe", "puntor.exe", "borvik.exe"}) {
        const QString sciezka = dane(QString::fromLatin1(nazwa));
        EXPECT_EQ(QFileInfo(sciezka).permissions() & wykonanie, wykonanie) << nazwa;
        EXPECT_EQ(fileBytes(sciezka), wzor) << nazwa;
    }
}

TEST_F(DaneDemoUklad, TabeleFirmIKonfiguracjiMajaPoJednymRekordzie)
{
    struct Przypadek
    {
        const char *katalog;
        int numer;
        const char *skrot;
    };
    const Przypadek przypadki[] = {
        {"", 0, "Biuro Bilans"},
        {"FIRMA001", 1, "Sklep Pod Lipą"},
        {"FIRMA002", 2, "JODŁA Sp. z o.o."},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.skrot);
        Table tabela;
        tabela.setTableName(QDir(dane(QString::fromLatin1(p.katalog))).filePath("FIRMA.DB"));
        tabela.open();
        EXPECT_EQ(tabela.fieldCount(), PolaTabeliFirmy().size());
        EXPECT_EQ(tabela.indexDefs(), IndeksyTabeliFirmy());
        ASSERT_EQ(tabela.recordCount(), 1);
        tabela.first();
        const auto pole = [&](const char *nazwa) {
            return tabela.fieldByName(QString::fromLatin1(nazwa)).asString();
        };
        EXPECT_EQ(pole("NR"), QString::number(p.numer));
        EXPECT_EQ(pole("SKROT"), QString::fromUtf8(p.skrot));
        EXPECT_LE(pole("SKROT").size(), 20);
        EXPECT_TRUE(nipPoprawny(pole("NIP"))) << qPrintable(pole("NIP"));
        EXPECT_TRUE(regonPoprawny(pole("REGON"))) << qPrintable(pole("REGON"));
        EXPECT_TRUE(rachunekPoprawny(pole("NUM1"))) << qPrintable(pole("NUM1"));
        EXPECT_FALSE(pole("BANK").isEmpty());
        EXPECT_TRUE(pole("URZAD").startsWith(QStringLiteral("Urząd Skarbowy")));
        EXPECT_FALSE(pole("NAZWA1").isEmpty());
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^\\d\\d-\\d\\d\\d$")).match(pole("KOD")).hasMatch());
        EXPECT_FALSE(pole("MIEJSCOWOSC").isEmpty());
        // Empty: the fiscal year is the calendar year, so the working year is today's.
        EXPECT_EQ(pole("OBRDATA"), QString());
        EXPECT_EQ(pole("DR"), QString());
        // A recent archive: no reminder at the first start.
        EXPECT_EQ(pole("ARCHDATA"), QStringLiteral("2024.03.08"));
        EXPECT_GT(pole("ARCHDNI").toInt(), 2);
    }

    Table tabela;
    tabela.setTableName(dane("RAWEN.DB"));
    tabela.open();
    ASSERT_EQ(tabela.recordCount(), 1);
    tabela.first();
    const Field adata = tabela.fieldByName(QStringLiteral("ADATA"));
    EXPECT_EQ(adata.dataType(), ftString);
    EXPECT_EQ(adata.size(), 10);
    const QDate sprawdzenie = QDate::fromString(adata.asString(), QStringLiteral("yyyy.MM.dd"));
    EXPECT_TRUE(sprawdzenie.isValid()) << qPrintable(adata.asString());
    EXPECT_GT(sprawdzenie, kDzis);
    EXPECT_EQ(tabela.fieldByName(QStringLiteral("ACYKL")).dataType(), ftInteger);
    EXPECT_GT(tabela.fieldByName(QStringLiteral("ACYKL")).asInteger(), 0);
    EXPECT_GE(tabela.fieldCount(), 4);
}

// A year opening on the demo meets every rule: each table is there, opens, has records, and has
// the fields its rule empties, some of them filled.
TEST_F(DaneDemoUklad, LataIBazaMajaTabeleZRekordami)
{
    QSet<QString> oczekiwane;
    for (const RegulaKopiiRoku &regula : RegulyKopiiRoku())
        oczekiwane.insert(QString(regula.koncowka).replace(u'\\', u'/'));

    for (const char *rok : {"2023", "2024", "FIRMA001/2024", "FIRMA002/2024"}) {
        const QString katalogRoku = dane(QString::fromLatin1(rok));
        SCOPED_TRACE(rok);
        // Nothing but the tables: no journal or temporary file left behind.
        EXPECT_EQ(pliki(katalogRoku), oczekiwane);
        for (const RegulaKopiiRoku &regula : RegulyKopiiRoku()) {
            SCOPED_TRACE(qPrintable(regula.koncowka));
            Table tabela;
            tabela.setTableName(sciezkaRegulu(katalogRoku, regula));
            ASSERT_NO_THROW(tabela.open());
            EXPECT_GE(tabela.recordCount(), 2);
            EXPECT_LE(tabela.recordCount(), 5);
            if (regula.polaDoCzyszczenia.isEmpty())
                continue;
            bool cosWypelnione = false;
            const QStringList czyszczone = regula.polaDoCzyszczenia.split(u';');
            for (const QString &nazwa : czyszczone) {
                const Field pole = tabela.findField(nazwa);
                ASSERT_TRUE(pole.isValid()) << qPrintable(nazwa);
                EXPECT_EQ(pole.fieldName(), nazwa);
                for (tabela.first(); !tabela.eof(); tabela.next())
                    cosWypelnione = cosWypelnione || !tabela.findField(nazwa).isNull();
            }
            EXPECT_TRUE(cosWypelnione);
        }
    }

    // Each year directory carries the dates of its own year.
    for (const int rok : {2023, 2024}) {
        Table tabela;
        tabela.setTableName(dane(QStringLiteral("%1/FIN/NAGFAKS.DB").arg(rok)));
        tabela.open();
        for (tabela.first(); !tabela.eof(); tabela.next())
            EXPECT_TRUE(tabela.fieldByName(QStringLiteral("DATA"))
                            .asString()
                            .startsWith(QString::number(rok)));
    }

    for (const char *firma : {"", "FIRMA001", "FIRMA002"}) {
        SCOPED_TRACE(firma);
        const QString baza = QDir(dane(QString::fromLatin1(firma))).filePath("BAZA");
        const QStringList tabele = QDir(baza).entryList(QDir::Files);
        EXPECT_GE(tabele.size(), 3);
        for (const QString &nazwa : tabele) {
            SCOPED_TRACE(qPrintable(nazwa));
            EXPECT_TRUE(nazwa.endsWith(QLatin1String(".DB")));
            Table tabela;
            tabela.setTableName(QDir(baza).filePath(nazwa));
            ASSERT_NO_THROW(tabela.open());
            EXPECT_GE(tabela.recordCount(), 2);
        }
    }
}

class DaneDemoTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_katalog.isValid()); }
    QString sciezka(const QString &nazwa) const { return m_katalog.filePath(nazwa); }

    QTemporaryDir m_katalog;
};

TEST_F(DaneDemoTest, NiepustyKatalogJestOdrzucanyINietkniety)
{
    struct Przypadek
    {
        const char *nazwa;
        std::function<void(const QString &)> przygotuj;
        const char *wKomunikacie;
    };
    const auto plik = [](const QString &sciezka, const QByteArray &bajty) {
        QFile f(sciezka);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bajty);
    };
    const Przypadek przypadki[] = {
        {"z plikiem",
         [&](const QString &k) {
             QDir().mkpath(k);
             plik(k + "/FIRMA.DB", "nie tabela");
         },
         "nie jest pusty"},
        {"z ukrytym plikiem",
         [&](const QString &k) {
             QDir().mkpath(k);
             plik(k + "/.ukryty", "x");
         },
         "nie jest pusty"},
        {"z pustym podkatalogiem", [](const QString &k) { QDir().mkpath(k + "/2024"); },
         "nie jest pusty"},
        {"z danymi w podkatalogu",
         [&](const QString &k) {
             QDir().mkpath(k + "/BAZA");
             plik(k + "/BAZA/STAWKIVAT.DB", "stare dane");
         },
         "nie jest pusty"},
        {"plik zamiast katalogu", [&](const QString &k) { plik(k, "plik"); },
         "nie jest katalogiem"},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const QString cel = sciezka(QString::fromUtf8(p.nazwa));
        p.przygotuj(cel);
        const auto przed = migawka(m_katalog.path());

        const auto komunikat = bladDemo([&] { UtworzDaneDemo(cel, kDzis, programModulu()); });

        ASSERT_TRUE(komunikat.has_value());
        EXPECT_TRUE(komunikat->contains(QDir::toNativeSeparators(cel))) << qPrintable(*komunikat);
        EXPECT_TRUE(komunikat->contains(QString::fromUtf8(p.wKomunikacie)))
            << qPrintable(*komunikat);
        EXPECT_EQ(migawka(m_katalog.path()), przed);
    }
}

TEST_F(DaneDemoTest, IstniejacyPustyKatalogJestWypelniany)
{
    const QString cel = sciezka(QStringLiteral("pusty"));
    ASSERT_TRUE(QDir().mkpath(cel));

    ASSERT_EQ(bladDemo([&] { UtworzDaneDemo(cel, kDzis, programModulu()); }), std::nullopt);

    Table firma;
    firma.setTableName(cel + QStringLiteral("/FIRMA.DB"));
    ASSERT_NO_THROW(firma.open());
    EXPECT_EQ(firma.recordCount(), 1);
    EXPECT_TRUE(QFileInfo(cel + QStringLiteral("/2024/HARNOL/HARNOL.DB")).isFile());
    EXPECT_TRUE(QFileInfo(cel + QStringLiteral("/FIRMA002/BAZA")).isDir());
    EXPECT_TRUE(QFileInfo(cel + QStringLiteral("/borvik.exe")).isFile());
}

TEST_F(DaneDemoTest, NieudaneTworzenieNieZostawiaNiczego)
{
    struct Przypadek
    {
        const char *nazwa;
        bool utworzWczesniej;
        const char *pozostaje; // what the failed run leaves: the empty directory or nothing
    };
    const Przypadek przypadki[] = {{"pusty", true, "pusty"}, {"nowy/demo", false, ""}};
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const QString cel = sciezka(QString::fromLatin1(p.nazwa));
        if (p.utworzWczesniej) {
            ASSERT_TRUE(QDir().mkpath(cel));
        }

        std::optional<QString> komunikat;
        {
            // Well into the run: firm tables, some year tables and directories exist by then.
            FaultPlan awaria(Session::defaultSession(), EngineOp::Post, 120);
            komunikat = bladDemo([&] { UtworzDaneDemo(cel, kDzis, programModulu()); });
            EXPECT_TRUE(awaria.fired());
        }

        ASSERT_TRUE(komunikat.has_value());
        EXPECT_TRUE(komunikat->contains(QDir::toNativeSeparators(cel))) << qPrintable(*komunikat);
        const QStringList zostalo = directoryEntries(m_katalog.path());
        EXPECT_EQ(zostalo,
                  *p.pozostaje ? QStringList{QString::fromLatin1(p.pozostaje)} : QStringList{});
        if (p.utworzWczesniej) {
            EXPECT_TRUE(directoryEntries(cel).isEmpty());
        }
        QDir(cel).removeRecursively();
    }
}

// The launcher's tests rely on this: started with RAWEN_MODUL_ZAPIS, a module writes how it was
// started and shows no window.
TEST_F(DaneDemoTest, ModulZapisujeSwojWierszPolecen)
{
    const QString zapis = sciezka(QStringLiteral("zapis.txt"));
    const QString program = sciezka(QStringLiteral("harnol.exe"));
    ASSERT_TRUE(QFile::copy(programModulu(), program));
    const QStringList starty[] = {{QStringLiteral("DR=/home/x/demo/FIRMA001/")}, {}};
    for (const QStringList &argumenty : starty) {
        QProcess proces;
        QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
        srodowisko.insert(QStringLiteral("RAWEN_MODUL_ZAPIS"), zapis);
        srodowisko.remove(QStringLiteral("DISPLAY"));
        srodowisko.remove(QStringLiteral("WAYLAND_DISPLAY"));
        srodowisko.remove(QStringLiteral("QT_QPA_PLATFORM"));
        proces.setProcessEnvironment(srodowisko);
        proces.start(program, argumenty);
        ASSERT_TRUE(proces.waitForFinished(-1));
        EXPECT_EQ(proces.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(proces.exitCode(), 0);
    }
    EXPECT_EQ(QString::fromUtf8(fileBytes(zapis)),
              program + QStringLiteral("\tDR=/home/x/demo/FIRMA001/\n") + program +
                  QStringLiteral("\n"));
}

TEST_F(DaneDemoTest, BrakProgramuModuluNicNieTworzy)
{
    const QString cel = sciezka(QStringLiteral("demo"));
    const auto komunikat = bladDemo(
        [&] { UtworzDaneDemo(cel, kDzis, sciezka(QStringLiteral("brak/rawen-modul-demo"))); });
    ASSERT_TRUE(komunikat.has_value());
    EXPECT_TRUE(komunikat->contains(QStringLiteral("rawen-modul-demo"))) << qPrintable(*komunikat);
    EXPECT_TRUE(directoryEntries(m_katalog.path()).isEmpty());
}

// Killed or failed at any step, making demo data leaves either no data root or a whole one, and
// a second run makes it.
TEST(DaneDemoAwarie, AKilledOrFailedRunLeavesNoHalfMadeDataRoot)
{
    const HarnessOperation demo{QStringLiteral("rawen --demo"),
                                [](const QString &) {},
                                [](const QString &katalog) {
                                    UtworzDaneDemo(katalog + QStringLiteral("/demo"), kDzis,
                                                   programModulu());
                                    return true;
                                },
                                {},
                                {},
                                20};
    const HarnessFigures wynik = exerciseOperation(demo);
    std::printf("%s: %s\n", qPrintable(demo.name), qPrintable(wynik.summary()));
    EXPECT_GT(wynik.stepsTried, 20);
    EXPECT_TRUE(wynik.failures.isEmpty()) << wynik.failures.join(u'\n').toStdString();
}

// The program itself arms the fault from its environment, so the harness can end it at any step.
TEST(DaneDemoAwarie, TheProgramEndsWhereRawenFaultSaysAndTheNextRunCompletes)
{
    QTemporaryDir katalog;
    const QString cel = katalog.filePath(QStringLiteral("demo"));
    auto uruchom = [&](const QString &usterka) {
        QProcess program;
        QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
        srodowisko.insert(QStringLiteral("RAWEN_FAULT"), usterka);
        if (usterka.isEmpty())
            srodowisko.remove(QStringLiteral("RAWEN_FAULT"));
        program.setProcessEnvironment(srodowisko);
        program.start(QStringLiteral(RAWEN_PROGRAM), {QStringLiteral("--demo"), cel});
        program.waitForFinished(120000);
        return program.exitCode();
    };
    EXPECT_EQ(uruchom(QStringLiteral("kill:100")), FaultPoint::kKillExitStatus);
    // Nothing but the temporary of the run that was cut short.
    const QStringList zostalo = directoryEntries(katalog.path());
    ASSERT_EQ(zostalo.size(), 1);
    EXPECT_TRUE(isTemporaryName(zostalo.first())) << qPrintable(zostalo.first());
    // An error on a write half way through: found by making the same data here with every step
    // recorded (a directory sync that fails after its rename is not a failure of the run).
    qint64 zapis = 0;
    {
        QTemporaryDir proba;
        FaultPoint::setRecording(true);
        UtworzDaneDemo(proba.filePath(QStringLiteral("demo")), QDate::currentDate(),
                       programModulu());
        const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
        FaultPoint::setRecording(false);
        for (qsizetype i = kroki.size() / 2; i < kroki.size() && zapis == 0; ++i) {
            if (kroki.at(i).step == FileStep::Write)
                zapis = i + 1;
        }
    }
    ASSERT_GT(zapis, 0);
    EXPECT_EQ(uruchom(QStringLiteral("eio:%1").arg(zapis)), 1);
    EXPECT_FALSE(QFileInfo::exists(cel));
    EXPECT_EQ(uruchom(QStringLiteral("cokolwiek")), 2);
    EXPECT_EQ(uruchom(QString()), 0);
    EXPECT_EQ(directoryEntries(katalog.path()), QStringList{QStringLiteral("demo")});
    EXPECT_TRUE(QFileInfo(cel + QStringLiteral("/FIRMA.DB")).isFile());
}

// The program's commands share one way of speaking: --help, and exit status 2 for wrong usage.
TEST(PoleceniaProgramu, HelpListsTheCommandsAndWrongUsageEndsWith2)
{
    struct Przypadek
    {
        QStringList argumenty;
        int kod;
        const char *naWyjsciu;
        const char *naBledach;
    };
    const QList<Przypadek> przypadki{
        {{"--help"}, 0, "rawen --demo KATALOG", ""},
        {{"--demo", "--help"}, 0, "Użycie: rawen --demo KATALOG", ""},
        {{"--nieznane"}, 2, "", "Nieznane polecenie: --nieznane"},
        {{"--demo"}, 2, "", "Użycie: rawen --demo KATALOG"},
        {{"--demo", "a", "b"}, 2, "", "Użycie: rawen --demo KATALOG"},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.argumenty.join(u' ').toStdString());
        QProcess program;
        program.start(QStringLiteral(RAWEN_PROGRAM), p.argumenty);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), p.kod);
        EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardOutput())
                        .contains(QString::fromUtf8(p.naWyjsciu)));
        EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardError())
                        .contains(QString::fromUtf8(p.naBledach)));
    }
}

} // namespace
} // namespace rawen::test
