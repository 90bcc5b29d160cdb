#include "year/PolecenieOtworzRok.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/FileSystemType.h"
#include "platform/Konsola.h"
#include "support/FixedAppContext.h"
#include "support/KonsolaTestowa.h"
#include "support/OtherProgram.h"
#include "support/QtPrinting.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <sqlite3.h>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, false},
                            {QStringLiteral("OPIS"), ftString, 20, false}};

WynikPolecenia uruchom(const QStringList &argumenty)
{
    return uruchomPolecenie(
        [&](Konsola &konsola) { return PolecenieOtworzRok(argumenty, konsola); });
}

class PolecenieOtworzRokTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(katalog.isValid()); }
    QString root() const { return katalog.path() + u'/'; }

    // A firm with its firm table and the year 2025 of two tables.
    void firma(const QString &gdzie, const QString &skrot, const QString &dr = {})
    {
        const QString k = root() + gdzie;
        ASSERT_TRUE(QDir().mkpath(k));
        Table t;
        t.setTableName(k + QStringLiteral("/FIRMA"));
        AktualizujTabeleFirmy(t);
        t.edit();
        t.fieldByName(QStringLiteral("SKROT")).setAsString(skrot);
        t.fieldByName(QStringLiteral("DR")).setAsString(dr);
        t.post();
        const QString lata = dr.isEmpty() ? k : dr;
        for (const char *tabela : {"2025/FIN/KONTRAHI.DB", "2025/HARNOL/HARNOL.DB"}) {
            const QString sciezka = lata + u'/' + QLatin1String(tabela);
            ASSERT_TRUE(QDir().mkpath(QFileInfo(sciezka).path()));
            makeTable(sciezka, kPola, {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}},
                      {{"1", "a"}, {"2", "b"}});
        }
    }

    QTemporaryDir katalog;
    FixedAppContext kontekst{QDate(2026, 12, 10)};
};

// Firm 000 keeps its years on a share (its DR) while the data root is on a local disk: the
// years are judged on their own, and the command stops before it makes anything.
TEST_F(PolecenieOtworzRokTest, YearsOfAFirmOnANetworkDriveAreRefusedWhereverTheDataRootIs)
{
    QTemporaryDir udzial;
    ASSERT_TRUE(udzial.isValid());
    firma(QStringLiteral("."), QStringLiteral("Biuro"), udzial.path());
    const QString siec = udzial.path();
    setFileSystemProbe([siec](const QString &sciezka) -> std::optional<FileSystemType> {
        return FileSystemType{sciezka.startsWith(siec) ? 0xFF534D42u : 0xEF53u, {}, false};
    });
    const WynikPolecenia w = uruchom({QStringLiteral("2026"), root()});
    setFileSystemProbe({});
    EXPECT_EQ(w.kod, 1);
    EXPECT_TRUE(w.bledy.startsWith(QStringLiteral("Firma 000 (Biuro): Katalog danych")))
        << w.bledy.toStdString();
    EXPECT_TRUE(w.bledy.contains(QStringLiteral("dysku sieciowym (SMB/CIFS)")));
    EXPECT_FALSE(QFileInfo::exists(udzial.filePath(QStringLiteral("2026"))));
}

// A register of four firms, two of them being worked on (a table being written, and one held
// exclusively, so that it does not even open): the other two get their year, those two are left
// alone whole, and the exit status tells that not everything was done.
TEST_F(PolecenieOtworzRokTest, EveryFirmOfTheRegisterButTheLockedOnes)
{
    firma(QStringLiteral("."), QStringLiteral("Biuro"));
    firma(QStringLiteral("FIRMA001"), QStringLiteral("Sklep"));
    firma(QStringLiteral("FIRMA002"), QStringLiteral("Jodła"));
    firma(QStringLiteral("FIRMA003"), QStringLiteral("Kasa"));
    OtherProgram modul(root() + QStringLiteral("FIRMA001/2025/FIN/KONTRAHI.DB"));
    ASSERT_EQ(modul.exec(QStringLiteral("BEGIN IMMEDIATE; UPDATE records SET OPIS = 'x'")),
              SQLITE_OK);
    OtherProgram wylacznie(root() + QStringLiteral("FIRMA003/2025/HARNOL/HARNOL.DB"));
    ASSERT_EQ(wylacznie.exec(QStringLiteral("BEGIN EXCLUSIVE; UPDATE records SET OPIS = 'y'")),
              SQLITE_OK);

    const WynikPolecenia w =
        uruchom({QStringLiteral("2026"), QStringLiteral("--wszystkie-firmy"), root()});
    EXPECT_EQ(w.kod, 1);
    EXPECT_TRUE(w.wyjscie.contains(QStringLiteral(
        "Firma 000 (Biuro): rok 2026 na podstawie 2025 otwarty – utworzono tabel: 2, bez zmian: 0, "
        "błędów: 0.")))
        << qPrintable(w.wyjscie);
    EXPECT_TRUE(w.wyjscie.contains(QStringLiteral("Firma 002 (Jodła): rok 2026 na podstawie 2025 "
                                                  "otwarty")));
    EXPECT_TRUE(w.wyjscie.contains(QStringLiteral("Tworzenie bazy :") + root() +
                                   QStringLiteral("FIRMA002/2026/FIN/KONTRAHI.DB")));
    EXPECT_FALSE(w.wyjscie.contains(QStringLiteral("Firma 001")));
    EXPECT_TRUE(w.bledy.contains(QStringLiteral("Firma 001 (Sklep): tabelę ")))
        << qPrintable(w.bledy);
    EXPECT_TRUE(w.bledy.contains(QStringLiteral("zapisuje teraz inny program; rok 2026 nie "
                                                "został otwarty, firma pominięta.")));
    EXPECT_TRUE(w.bledy.contains(QStringLiteral("Firma 003 (Kasa): tabelę ") + root() +
                                 QStringLiteral("FIRMA003/2025/HARNOL/HARNOL.DB zapisuje teraz "
                                                "inny program; rok 2026 nie został otwarty, firma "
                                                "pominięta.")))
        << qPrintable(w.bledy);
    EXPECT_FALSE(w.wyjscie.contains(QStringLiteral("Firma 003")));
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("FIRMA001/2026")));
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("FIRMA003/2026")));
    EXPECT_TRUE(QFileInfo::exists(root() + QStringLiteral("2026/HARNOL/HARNOL.DB")));
    EXPECT_TRUE(QFileInfo::exists(root() + QStringLiteral("FIRMA002/2026/HARNOL/HARNOL.DB")));

    // Once the other programs are done, a second run adds firms 001 and 003 and leaves the
    // others be.
    modul.exec(QStringLiteral("COMMIT"));
    wylacznie.exec(QStringLiteral("COMMIT"));
    const WynikPolecenia drugi =
        uruchom({QStringLiteral("2026"), QStringLiteral("--wszystkie-firmy"), root()});
    EXPECT_EQ(drugi.kod, 0) << qPrintable(drugi.bledy);
    EXPECT_TRUE(
        drugi.wyjscie.contains(QStringLiteral("Firma 000 (Biuro): rok 2026 na podstawie 2025 "
                                              "otwarty – utworzono tabel: 0, bez zmian: 2")));
    EXPECT_TRUE(
        drugi.wyjscie.contains(QStringLiteral("Firma 001 (Sklep): rok 2026 na podstawie 2025 "
                                              "otwarty – utworzono tabel: 2, bez zmian: 0")));
    EXPECT_TRUE(
        drugi.wyjscie.contains(QStringLiteral("Firma 003 (Kasa): rok 2026 na podstawie 2025 "
                                              "otwarty – utworzono tabel: 2, bez zmian: 0")));
}

TEST_F(PolecenieOtworzRokTest, OneFirmFirm000ThroughItsDataPathAndAnotherSourceYear)
{
    QTemporaryDir gdzieIndziej;
    firma(QStringLiteral("."), QStringLiteral("Biuro"), gdzieIndziej.path());
    firma(QStringLiteral("FIRMA003"), QStringLiteral("Trzecia"));

    const WynikPolecenia zero = uruchom(
        {QStringLiteral("2027"), QStringLiteral("--z-roku"), QStringLiteral("2025"), root()});
    EXPECT_EQ(zero.kod, 0) << qPrintable(zero.bledy);
    EXPECT_TRUE(QFileInfo::exists(gdzieIndziej.filePath(QStringLiteral("2027/FIN/KONTRAHI.DB"))));
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("2027")));

    const WynikPolecenia trzecia =
        uruchom({QStringLiteral("2026"), QStringLiteral("--firma"), QStringLiteral("003"), root()});
    EXPECT_EQ(trzecia.kod, 0) << qPrintable(trzecia.bledy);
    EXPECT_TRUE(QFileInfo::exists(root() + QStringLiteral("FIRMA003/2026/FIN/KONTRAHI.DB")));
    EXPECT_FALSE(QFileInfo::exists(gdzieIndziej.filePath(QStringLiteral("2026"))));

    const WynikPolecenia brak =
        uruchom({QStringLiteral("2026"), QStringLiteral("--firma"), QStringLiteral("009"), root()});
    EXPECT_EQ(brak.kod, 1);
    EXPECT_TRUE(brak.bledy.startsWith(QStringLiteral("Brak katalogu firmy ")))
        << qPrintable(brak.bledy);
    const WynikPolecenia bezZrodla =
        uruchom({QStringLiteral("2030"), QStringLiteral("--firma"), QStringLiteral("003"), root()});
    EXPECT_EQ(bezZrodla.kod, 1);
    EXPECT_TRUE(
        bezZrodla.bledy.contains(QStringLiteral("Firma 003 (Trzecia): brak katalogu roku 2029")))
        << qPrintable(bezZrodla.bledy);
}

TEST_F(PolecenieOtworzRokTest, WrongUsageEndsWith2AndAPolishLine)
{
    const QList<QPair<QStringList, QString>> przypadki{
        {{}, QStringLiteral("Użycie: rawen --otworz-rok RRRR")},
        {{"26"},
         QStringLiteral("Nieprawidłowy rok \"26\": rok zapisuje się czterema cyframi, od "
                        "1990 do 2100.")},
        {{"20x8"}, QStringLiteral("Nieprawidłowy rok \"20x8\"")},
        {{"2101"}, QStringLiteral("Nieprawidłowy rok \"2101\"")},
        {{"2026", "--z-roku", "zeszły"}, QStringLiteral("Nieprawidłowy rok \"zeszły\"")},
        {{"2026", "--z-roku", "1989"}, QStringLiteral("Nieprawidłowy rok \"1989\"")},
        // The year before 1990 is no year to be made from.
        {{"1990"}, QStringLiteral("Nieprawidłowy rok \"1989\"")},
        {{"2026", "--firma", "1"}, QStringLiteral("Numer firmy musi mieć trzy cyfry: 1.")},
        {{"2026", "--firma", "001", "--wszystkie-firmy"},
         QStringLiteral("Opcje --firma i --wszystkie-firmy wykluczają się.")},
        {{"2026", "--rok", "2025"}, QStringLiteral("Nieznana opcja: --rok.")},
        {{"2026", "a", "b"}, QStringLiteral("Za dużo argumentów: 2026 a b.")},
    };
    for (const auto &[argumenty, komunikat] : przypadki) {
        SCOPED_TRACE(argumenty.join(u' ').toStdString());
        const WynikPolecenia w = uruchom(argumenty);
        EXPECT_EQ(w.kod, 2);
        EXPECT_TRUE(w.bledy.startsWith(komunikat)) << qPrintable(w.bledy);
        EXPECT_TRUE(w.wyjscie.isEmpty());
    }
}

} // namespace
} // namespace rawen::test
