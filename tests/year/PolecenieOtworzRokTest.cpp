#include "year/PolecenieOtworzRok.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/FaultPoint.h"
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
#include <sys/stat.h>
#include <unistd.h>

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

// A table with a damaged page in the source year is named, the year is not opened (no year
// directory is left for the year list to count) and the run ends with 1.
TEST_F(PolecenieOtworzRokTest, ADamagedTableInTheYearIsNamedAndTheYearIsNotOpened)
{
    firma(QStringLiteral("."), QStringLiteral("Biuro"));
    const QString zepsuta = root() + QStringLiteral("2025/FIN/KONTRAHI.DB");
    QList<QStringList> duzo;
    for (int i = 1; i <= 3000; ++i)
        duzo << QStringList{QString::number(i), QStringLiteral("opis %1").arg(i)};
    makeTable(zepsuta, kPola, {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}}, duzo);
    damagePage(zepsuta);

    const WynikPolecenia w = uruchom({QStringLiteral("2026"), root()});
    EXPECT_EQ(w.kod, 1);
    EXPECT_TRUE(w.bledy.contains(QStringLiteral("Firma 000 (Biuro): Bląd bazy :") + root() +
                                 QStringLiteral("2026/FIN/KONTRAHI.DB. Przyczyna: ") + zepsuta +
                                 QStringLiteral(": plik tabeli jest uszkodzony")))
        << qPrintable(w.bledy);
    EXPECT_TRUE(w.wyjscie.contains(QStringLiteral("rok 2026 na podstawie 2025 NIE otwarty")))
        << qPrintable(w.wyjscie);
    EXPECT_FALSE(w.wyjscie.contains(QStringLiteral("KONIEC.")));
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("2026")));
}

// A source year that is there but may not be read is said to be so, not to be missing.
TEST_F(PolecenieOtworzRokTest, AYearThatCannotBeReadIsNotReportedAsMissing)
{
    firma(QStringLiteral("."), QStringLiteral("Biuro"));
    ASSERT_EQ(::chmod(QFile::encodeName(root() + QStringLiteral("2025")).constData(), 0300), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(katalog.path()).constData(), 0777), 0);
    // As an ordinary user: root may read any folder.
    const int kod = runInChildProcess([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 10;
        const WynikPolecenia w = uruchom({QStringLiteral("2026"), root()});
        if (w.kod != 1)
            return 11;
        if (w.bledy.contains(QStringLiteral("brak katalogu roku")))
            return 12;
        return w.bledy.startsWith(QStringLiteral("Firma 000 (Biuro): nie można odczytać katalogu "
                                                 "roku "
                                                 "2025 (") +
                                  root() +
                                  QStringLiteral("2025). Przyczyna: brak uprawnień; rok 2026 nie "
                                                 "został otwarty."))
                   ? 0
                   : 13;
    });
    ::chmod(QFile::encodeName(root() + QStringLiteral("2025")).constData(), 0755);
    EXPECT_EQ(kod, 0);
}

// The year is whole, but a directory could not be synced after its new names were made: the
// run says so and ends with 1. A summary that could not be written ends it with 1 too.
TEST_F(PolecenieOtworzRokTest, ANameThatMayNotSurviveAPowerCutOrALostSummaryIsAFailure)
{
    firma(QStringLiteral("."), QStringLiteral("Biuro"));
    // The last sync of a directory in a clean run: the data root, after the year took its name.
    qint64 krok = 0;
    FaultPoint::setRecording(true);
    {
        QTemporaryDir proba;
        for (const char *tabela : {"2025/FIN/KONTRAHI.DB", "2025/HARNOL/HARNOL.DB"}) {
            QDir().mkpath(QFileInfo(proba.filePath(QLatin1String(tabela))).path());
            QFile::copy(root() + QLatin1String(tabela), proba.filePath(QLatin1String(tabela)));
        }
        FaultPoint::resetCount();
        uruchom({QStringLiteral("2026"), proba.path()});
        const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
        for (qsizetype i = 0; i < kroki.size(); ++i) {
            if (kroki[i].step == FileStep::Sync && QFileInfo(kroki[i].path).isDir())
                krok = i + 1;
        }
    }
    FaultPoint::setRecording(false);
    ASSERT_GT(krok, 0);
    FaultPoint::arm(krok, FaultPoint::Fault::IoError);
    const WynikPolecenia w = uruchom({QStringLiteral("2026"), root()});
    FaultPoint::disarm();
    EXPECT_EQ(w.kod, 1);
    EXPECT_TRUE(QFileInfo::exists(root() + QStringLiteral("2026/FIN/KONTRAHI.DB")));
    EXPECT_TRUE(w.bledy.contains(QStringLiteral("Uwaga: Nie udało się utrwalić zmian w katalogu ")))
        << qPrintable(w.bledy);
    EXPECT_TRUE(w.bledy.contains(QStringLiteral("(Przyczyna: błąd wejścia-wyjścia dysku): dane są "
                                                "całe, ale nowe nazwy plików mogą nie przetrwać "
                                                "awarii zasilania.")));

    // Standard output on a full disk: the year is opened, its summary is lost, the run says so.
    std::FILE *pelny = std::fopen("/dev/full", "w");
    ASSERT_NE(pelny, nullptr);
    std::FILE *bledy = std::tmpfile();
    int kod = -1;
    {
        Konsola konsola(pelny, bledy);
        konsola.ustawTerminal(false);
        kod = PolecenieOtworzRok({QStringLiteral("2027"), root()}, konsola);
    }
    const QString komunikaty = zawartoscStrumienia(bledy);
    std::fclose(pelny);
    std::fclose(bledy);
    EXPECT_EQ(kod, 1);
    EXPECT_TRUE(QFileInfo::exists(root() + QStringLiteral("2027/FIN/KONTRAHI.DB")));
    EXPECT_TRUE(komunikaty.contains(QStringLiteral("Nie można zapisać wyników na standardowe "
                                                   "wyjście. Przyczyna: brak miejsca na dysku.")))
        << qPrintable(komunikaty);
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
