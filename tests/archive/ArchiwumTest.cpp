#include "archive/Archiwum.h"

#include "archive/KopiaPliku.h"
#include "archive/MiejsceArchiwum.h"
#include "archive/PlikiBazy.h"
#include "data/Table.h"
#include "platform/DurableFiles.h"
#include "platform/FaultPoint.h"
#include "support/CrashHarness.h"
#include "support/OtherProgram.h"
#include "support/PrintFakes.h"
#include "support/QtPrinting.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, false},
                            {QStringLiteral("OPIS"), ftString, 30, false}};
const QList<IndexDef> kKlucz{{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};

TEST(PlikiBazy, TheTypeKeyDecidesWhatADatabaseFileIs)
{
    const QList<QPair<const char *, bool>> przypadki{
        {"FIRMA.DB", true},
        {"FIRMA.PX", true},
        {"FIRMA.MB", true},
        {"FIRMA.XG0", true},
        {"FIRMA.YG0", true},
        {"SPIS.DBF", true},
        {"DB", true},
        {"FIRMA.VAL", false},
        {"PDOXUSRS.NET", false},
        {"firma.db", false},
        {"FIRMA.DB-journal", false},
        {".FIRMA.DB~rawen-0a1b2c3d-12-xyz", false},
        {"NOTATKI.TXT", false},
    };
    for (const auto &[nazwa, bazy] : przypadki) {
        SCOPED_TRACE(nazwa);
        EXPECT_EQ(JestPlikiemBazy(QString::fromLatin1(nazwa)), bazy);
    }
    EXPECT_EQ(KluczTypu(QStringLiteral("FIRMA.XG0")), QStringLiteral("XG"));
    EXPECT_EQ(KluczTypu(QStringLiteral("PDOXUSRS.NET")), QStringLiteral("NE"));
}

// The final boxes count in Polish: the noun after each number takes its form.
TEST(ArchiwumPodsumowanie, TheFinalBoxesCountInPolish)
{
    struct Przypadek
    {
        int tabele;
        int pliki;
        int bledy;
        const char *archiwum;
        const char *odtworzenie;
    };
    const QList<Przypadek> przypadki{
        {1, 1, 0, "Archiwum sprawdzone: 1 tabela (1 plik).", "Odtworzono 1 plik."},
        {2, 3, 0, "Archiwum sprawdzone: 2 tabele (3 pliki).", "Odtworzono 3 pliki."},
        {291, 462, 0, "Archiwum sprawdzone: 291 tabel (462 pliki).", "Odtworzono 462 pliki."},
        {12, 22, 0, "Archiwum sprawdzone: 12 tabel (22 pliki).", "Odtworzono 22 pliki."},
        {0, 0, 1, "Archiwum nie jest kompletne (1 błąd):",
         "Odtworzenie nie jest kompletne. Nie odtworzono: 1 plik."},
        {0, 0, 4, "Archiwum nie jest kompletne (4 błędy):",
         "Odtworzenie nie jest kompletne. Nie odtworzono: 4 pliki."},
        {0, 0, 17, "Archiwum nie jest kompletne (17 błędów):",
         "Odtworzenie nie jest kompletne. Nie odtworzono: 17 plików."},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.archiwum);
        WynikArchiwum archiwum;
        archiwum.tabele = p.tabele;
        archiwum.pliki = p.pliki;
        archiwum.katalog = QStringLiteral("/dane/ARCHIWUM/");
        WynikOdtworzenia odtworzenie;
        odtworzenie.pliki = p.pliki;
        for (int i = 0; i < p.bledy; ++i) {
            archiwum.bledy << QStringLiteral("PLIK%1.DB: błąd").arg(i);
            odtworzenie.bledy << QStringLiteral("PLIK%1.DB: błąd").arg(i);
        }
        EXPECT_EQ(archiwum.podsumowanie().section(u'\r', 0, 0), QString::fromUtf8(p.archiwum));
        EXPECT_TRUE(archiwum.podsumowanie().contains(
            QStringLiteral("\rKatalog archiwum: ") +
            QDir::toNativeSeparators(QStringLiteral("/dane/ARCHIWUM"))));
        EXPECT_EQ(odtworzenie.podsumowanie().section(u'\r', 0, 0),
                  QString::fromUtf8(p.odtworzenie));
        if (p.bledy == 17) {
            EXPECT_TRUE(
                archiwum.podsumowanie().contains(QStringLiteral("\r... i jeszcze 2 pliki.")));
            EXPECT_TRUE(
                odtworzenie.podsumowanie().contains(QStringLiteral("\r... i jeszcze 2 pliki.")));
        }
    }
}

class ArchiwumTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        R = katalog.filePath(QStringLiteral("dane")) + u'/';
        A = katalog.filePath(QStringLiteral("archiwum")) + u'/';
    }

    void tabela(const QString &sciezka, const QString &opis = QStringLiteral("stary"))
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(sciezka).path()));
        // Made anew over the table of that name (a lower-case firma.db lies beside FIRMA.DB, and a
        // name that is missing would be found in it).
        makeTable(sciezka, kPola, kKlucz, {{"1", opis}, {"2", opis}});
    }

    void plik(const QString &sciezka, const QByteArray &tresc = "x")
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(sciezka).path()));
        QFile f(sciezka);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tresc);
    }

    // A data directory as the archive meets it.
    void dane()
    {
        tabela(R + QStringLiteral("FIRMA.DB"));
        plik(R + QStringLiteral("FIRMA.PX"), "indeks");
        plik(R + QStringLiteral("FIRMA.VAL"));
        plik(R + QStringLiteral("firma.db"));
        tabela(R + QStringLiteral("BAZA/SLOWNIKI/KONTAK.DB"));
        tabela(R + QStringLiteral("BAZA/WPROST.DB"));
        tabela(R + QStringLiteral("2024/FIN/KONTRAHI.DB"));
        tabela(R + QStringLiteral("2025/FIN/KONTRAHI.DB"));
        tabela(R + QStringLiteral("2025/WPROST.DB"));
        tabela(R + QStringLiteral("2025/FIN/GLEBIEJ/ZA.DB"));
        plik(R + QStringLiteral("2025/FIN/NOTATKI.TXT"));
        tabela(R + QStringLiteral("FIRMA001/FIRMA.DB"));
        ASSERT_TRUE(QDir().mkpath(R + QStringLiteral("2026")));
    }

    static QStringList wszystko(const QString &korzen)
    {
        QStringList wynik;
        QDirIterator it(korzen, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            wynik << QDir(korzen).relativeFilePath(it.next());
        wynik.sort();
        return wynik;
    }

    QString opis(const QString &sciezka)
    {
        Table t;
        t.setTableName(sciezka);
        t.open();
        return t.fieldByName(QStringLiteral("OPIS")).asString();
    }

    QTemporaryDir katalog;
    QString R;
    QString A;
    FakeOknoPostepu postep;
    const QStringList lata{QStringLiteral("2024"), QStringLiteral("2025"), QStringLiteral("2026")};
};

// The archive mirrors the database files of the top, of BAZA and of each year, and one level of
// their subdirectories; files lying directly in BAZA or a year come too (they were left out).
TEST_F(ArchiwumTest, TheArchiveMirrorsTheDatabaseFilesOfTheDataAndChecksThem)
{
    dane();
    postep.Start(QStringLiteral("Archiwowanie"), int(lata.size()) + 2);
    const WynikArchiwum wynik = Archiwizuj(R, A, lata, {&postep, {}}, true);
    EXPECT_TRUE(wynik.udane()) << wynik.bledy.join(u'\n').toStdString();
    EXPECT_EQ(wszystko(A), (QStringList{"2024", "2024/FIN", "2024/FIN/KONTRAHI.DB", "2025",
                                        "2025/FIN", "2025/FIN/KONTRAHI.DB", "2025/WPROST.DB",
                                        "2026", "BAZA", "BAZA/SLOWNIKI", "BAZA/SLOWNIKI/KONTAK.DB",
                                        "BAZA/WPROST.DB", "FIRMA.DB", "FIRMA.PX"}));
    EXPECT_EQ(wynik.pliki, 7);
    EXPECT_EQ(wynik.tabele, 6);
    EXPECT_EQ(wynik.podsumowanie(), QStringLiteral("Archiwum sprawdzone: 6 tabel (7 plików).\r"
                                                   "Katalog archiwum: ") +
                                        QDir::toNativeSeparators(QDir::cleanPath(A)));
    EXPECT_EQ(fileBytes(A + QStringLiteral("FIRMA.PX")), QByteArray("indeks"));
    EXPECT_EQ(postep.kroki, 5); // N + 2
}

// Each archive directory is synced after the last rename into it and before its files are
// checked and counted: no file is reported archived while its name may still be lost.
TEST_F(ArchiwumTest, EachArchiveDirectoryIsSyncedAfterItsRenamesBeforeItsFilesAreChecked)
{
    dane();
    // The file each line names was checked when this many steps had been taken.
    QList<std::pair<qsizetype, QString>> sprawdzone;
    const PrzebiegArchiwum przebieg{nullptr, [&](const QString &linia) {
                                        sprawdzone.append({FaultPoint::recorded().size(), linia});
                                    }};
    FaultPoint::setRecording(true);
    const WynikArchiwum wynik = Archiwizuj(R, A, lata, przebieg, false);
    const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
    FaultPoint::setRecording(false);
    ASSERT_TRUE(wynik.udane()) << wynik.bledy.join(u'\n').toStdString();
    ASSERT_EQ(sprawdzone.size(), wynik.pliki);
    for (const auto &[krok, linia] : sprawdzone) {
        SCOPED_TRACE(qPrintable(linia));
        const QString katalog = QFileInfo(QDir::fromNativeSeparators(linia)).absolutePath();
        qsizetype ostatniaNazwa = -1;
        for (qsizetype i = 0; i < krok; ++i) {
            if (kroki[i].step == FileStep::Rename &&
                QFileInfo(kroki[i].path).absolutePath() == katalog)
                ostatniaNazwa = i;
        }
        ASSERT_GE(ostatniaNazwa, 0);
        bool zsynchronizowany = false;
        for (qsizetype i = ostatniaNazwa + 1; i < krok; ++i)
            zsynchronizowany =
                zsynchronizowany || (kroki[i].step == FileStep::Sync && kroki[i].path == katalog);
        EXPECT_TRUE(zsynchronizowany);
    }
}

// A file of several blocks and a part of one, and a table of more than one block, are copied
// and checked block by block the same way, whatever size the system reads in.
TEST_F(ArchiwumTest, FilesOfManyBlocksAreCopiedAndCheckedWhole)
{
    QByteArray duzy;
    for (qint64 i = 0; i < kBlokKopii * 5 / 2 + 7; ++i)
        duzy.append(char((i * 7919) % 251));
    plik(R + QStringLiteral("FIRMA.PX"), duzy);
    QList<QStringList> rekordy;
    for (int i = 1; i <= 40000; ++i)
        rekordy << QStringList{QString::number(i), QStringLiteral("opis rekordu %1").arg(i)};
    ASSERT_TRUE(QDir().mkpath(R + QStringLiteral("2025/FIN")));
    makeTable(R + QStringLiteral("2025/FIN/KONTRAHI.DB"), kPola, kKlucz, rekordy);
    ASSERT_GT(QFileInfo(R + QStringLiteral("2025/FIN/KONTRAHI.DB")).size(), kBlokKopii);

    const WynikArchiwum wynik = Archiwizuj(R, A, lata, {}, false);
    EXPECT_TRUE(wynik.udane()) << wynik.bledy.join(u'\n').toStdString();
    EXPECT_EQ(wynik.pliki, 2);
    EXPECT_EQ(fileBytes(A + QStringLiteral("FIRMA.PX")), duzy);
    EXPECT_EQ(fileBytes(A + QStringLiteral("2025/FIN/KONTRAHI.DB")),
              fileBytes(R + QStringLiteral("2025/FIN/KONTRAHI.DB")));
}

TEST_F(ArchiwumTest, WithoutYearsTheProgressHasTwoStepsAndMissingParentsAreMade)
{
    dane();
    const QString gleboko = katalog.filePath(QStringLiteral("nowy/dalej/ARCHIWUM")) + u'/';
    postep.Start(QString(), 2);
    const WynikArchiwum wynik = Archiwizuj(R, gleboko, {}, {&postep, {}}, false);
    EXPECT_TRUE(wynik.udane());
    EXPECT_EQ(postep.kroki, 2);
    EXPECT_EQ(wszystko(gleboko), (QStringList{"BAZA", "BAZA/SLOWNIKI", "BAZA/SLOWNIKI/KONTAK.DB",
                                              "BAZA/WPROST.DB", "FIRMA.DB", "FIRMA.PX"}));
}

// A second archive replaces the first one's files; a copy that fails leaves the earlier archive's
// file whole and is named, and the walk goes on with the others.
TEST_F(ArchiwumTest, ArchivingAgainReplacesAndAFailedCopyKeepsTheEarlierFile)
{
    dane();
    ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
    tabela(R + QStringLiteral("2025/FIN/KONTRAHI.DB"), QStringLiteral("nowy"));
    tabela(R + QStringLiteral("FIRMA.DB"), QStringLiteral("nowy"));
    ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
    EXPECT_EQ(opis(A + QStringLiteral("2025/FIN/KONTRAHI.DB")), QStringLiteral("nowy"));
    EXPECT_EQ(opis(A + QStringLiteral("2024/FIN/KONTRAHI.DB")), QStringLiteral("stary"));

    // Each file in turn fails to reach the disk: it is named, the archive's earlier copy stays.
    const QStringList przed = wszystko(A);
    QMap<QString, QByteArray> bajty;
    for (const QString &p : przed)
        bajty.insert(p, fileBytes(A + p));
    tabela(R + QStringLiteral("FIRMA.DB"), QStringLiteral("najnowszy"));
    for (qint64 krok = 1;; ++krok) {
        SCOPED_TRACE(krok);
        ASSERT_LT(krok, 500);
        FaultPoint::arm(krok, FaultPoint::Fault::NoSpace);
        const WynikArchiwum wynik = Archiwizuj(R, A, lata, {}, false);
        const bool trafiony = FaultPoint::count() >= krok;
        FaultPoint::disarm();
        if (!trafiony)
            break;
        QStringList teraz;
        for (const QString &p : wszystko(A)) {
            if (!isTemporaryName(QFileInfo(p).fileName()))
                teraz << p;
        }
        EXPECT_EQ(teraz, przed);
        for (const QString &p : przed) {
            if (QFileInfo(A + p).isFile() && fileBytes(A + p) != bajty[p]) {
                // Only FIRMA.DB may be new, and then whole.
                EXPECT_EQ(p, QStringLiteral("FIRMA.DB"));
                EXPECT_EQ(opis(A + p), QStringLiteral("najnowszy"));
            }
        }
        if (!wynik.udane()) {
            EXPECT_TRUE(wynik.podsumowanie().contains(QStringLiteral("brak miejsca na dysku")))
                << qPrintable(wynik.podsumowanie());
        }
        // Put the earlier archive back for the next step.
        ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
        tabela(R + QStringLiteral("FIRMA.DB"), QStringLiteral("nowy"));
        ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
        tabela(R + QStringLiteral("FIRMA.DB"), QStringLiteral("najnowszy"));
        for (const QString &p : przed)
            bajty[p] = fileBytes(A + p);
    }
}

// The firm table the program holds open while it archives is copied as one state of it, and the
// program's other handles keep their locks.
TEST_F(ArchiwumTest, AnOpenTableIsCopiedAsOneStateOfIt)
{
    dane();
    Table otwarta;
    otwarta.setTableName(R + QStringLiteral("FIRMA.DB"));
    otwarta.open();
    otwarta.startTransaction();
    otwarta.edit();
    otwarta.fieldByName(QStringLiteral("OPIS")).setAsString(QStringLiteral("w trakcie"));
    otwarta.post();
    ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
    otwarta.commit();
    EXPECT_EQ(opis(A + QStringLiteral("FIRMA.DB")), QStringLiteral("stary"));
    EXPECT_EQ(integrityCheck(A + QStringLiteral("FIRMA.DB")), QStringLiteral("ok"));
    EXPECT_FALSE(QFile::exists(A + QStringLiteral("FIRMA.DB-journal")));
}

// The restore writes each archived table into the live file: a program that has it open goes on
// with the restored records, the file keeps its permissions; the live files it replaced are in the
// safety folder first, laid out as an archive; a year only in the archive is not restored.
TEST_F(ArchiwumTest, TheRestoreWritesIntoLiveTablesAfterASafetyCopy)
{
    dane();
    ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
    tabela(A + QStringLiteral("2023/FIN/KONTRAHI.DB"), QStringLiteral("tylko w archiwum"));
    for (const char *p : {"FIRMA.DB", "2025/FIN/KONTRAHI.DB", "BAZA/WPROST.DB"}) {
        tabela(R + QLatin1String(p), QStringLiteral("po archiwum"));
    }
    ASSERT_EQ(
        ::chmod(QFile::encodeName(R + QStringLiteral("2025/FIN/KONTRAHI.DB")).constData(), 0640),
        0);
    OtherProgram modul(R + QStringLiteral("2025/FIN/KONTRAHI.DB"));
    ASSERT_EQ(modul.scalar(QStringLiteral("SELECT OPIS FROM records WHERE NR = 1")),
              QVariant(QStringLiteral("po archiwum")));
    QFile::remove(R + QStringLiteral("2024/FIN/KONTRAHI.DB"));

    const WynikOdtworzenia wynik = Odtworz(A, R, lata, {}, QStringLiteral("2026.12.10-10.00.00"));
    EXPECT_TRUE(wynik.udane()) << wynik.bledy.join(u'\n').toStdString();
    EXPECT_EQ(wynik.kopiaBezpieczenstwa, R + QStringLiteral("ODTWARZANIE-2026.12.10-10.00.00"));
    EXPECT_TRUE(wynik.podsumowanie().contains(QStringLiteral("ODTWARZANIE-2026.12.10-10.00.00")));
    for (const char *p :
         {"FIRMA.DB", "2025/FIN/KONTRAHI.DB", "BAZA/WPROST.DB", "2024/FIN/KONTRAHI.DB"})
        EXPECT_EQ(opis(R + QLatin1String(p)), QStringLiteral("stary")) << p;
    EXPECT_EQ(modul.scalar(QStringLiteral("SELECT OPIS FROM records WHERE NR = 1")),
              QVariant(QStringLiteral("stary")));
    EXPECT_EQ(modul.exec(QStringLiteral("INSERT INTO records(NR, OPIS) VALUES(9, 'dalej')")),
              SQLITE_OK);
    struct stat st;
    ASSERT_EQ(
        ::stat(QFile::encodeName(R + QStringLiteral("2025/FIN/KONTRAHI.DB")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_FALSE(QFileInfo::exists(R + QStringLiteral("2023")));
    EXPECT_EQ(fileBytes(R + QStringLiteral("FIRMA.PX")), QByteArray("indeks"));
    // The safety folder holds exactly what was replaced, as it was.
    const QString bezpieczna = wynik.kopiaBezpieczenstwa + u'/';
    QStringList pliki = wszystko(bezpieczna).filter(QStringLiteral("."));
    EXPECT_EQ(pliki, (QStringList{"2025/FIN/KONTRAHI.DB", "2025/WPROST.DB",
                                  "BAZA/SLOWNIKI/KONTAK.DB", "BAZA/WPROST.DB", "FIRMA.DB"}));
    EXPECT_EQ(opis(bezpieczna + QStringLiteral("2025/FIN/KONTRAHI.DB")),
              QStringLiteral("po archiwum"));
    for (const QString &p : wszystko(R))
        EXPECT_FALSE(p.endsWith(QLatin1String("-journal"))) << qPrintable(p);

    // A second restore in the same second keeps the first one's folder and names its own.
    const WynikOdtworzenia drugi = Odtworz(A, R, lata, {}, QStringLiteral("2026.12.10-10.00.00"));
    EXPECT_TRUE(drugi.udane()) << drugi.bledy.join(u'\n').toStdString();
    EXPECT_EQ(drugi.kopiaBezpieczenstwa, R + QStringLiteral("ODTWARZANIE-2026.12.10-10.00.00-2"));
    EXPECT_TRUE(drugi.podsumowanie().contains(QStringLiteral("ODTWARZANIE-2026.12.10-10.00.00-2")))
        << qPrintable(drugi.podsumowanie());
    EXPECT_EQ(opis(drugi.kopiaBezpieczenstwa + QStringLiteral("/FIRMA.DB")),
              QStringLiteral("stary"));
    EXPECT_EQ(opis(bezpieczna + QStringLiteral("FIRMA.DB")), QStringLiteral("po archiwum"));
}

// Leaves the table at `sciezka` as a crash in the middle of a transaction does, and gives the
// journal left beside it: the cache too small for the change, SQLite has synced the journal and
// written into the table before the program died.
QByteArray dziennikAwarii(const QString &sciezka)
{
    EXPECT_EQ(runInChildProcess([&] {
                  OtherProgram program(sciezka);
                  // Ended with the transaction open: nothing rolled back, nothing closed.
                  ::_exit(program.exec(QStringLiteral("PRAGMA cache_size = 1; BEGIN; UPDATE "
                                                      "records SET OPIS = 'w trakcie'")));
                  return 0;
              }),
              SQLITE_OK);
    return fileBytes(sciezka + QStringLiteral("-journal"));
}

QList<QStringList> rekordyTabeli(int ile, const QString &opis)
{
    QList<QStringList> rekordy;
    for (int i = 1; i <= ile; ++i)
        rekordy << QStringList{QString::number(i), opis};
    return rekordy;
}

// A table that a crash left in the middle of a transaction is archived as it was before it:
// the copy plays the journal back first, as opening the table in the program does.
TEST_F(ArchiwumTest, ATableACrashLeftUnfinishedIsArchivedAsItsLastWholeState)
{
    const QString zywa = R + QStringLiteral("FIRMA.DB");
    ASSERT_TRUE(QDir().mkpath(R));
    makeTable(zywa, kPola, kKlucz, rekordyTabeli(3000, QStringLiteral("stary")));
    ASSERT_FALSE(dziennikAwarii(zywa).isEmpty());
    const WynikArchiwum wynik = Archiwizuj(R, A, lata, {}, true);
    EXPECT_TRUE(wynik.udane()) << wynik.bledy.join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(zywa + QStringLiteral("-journal")));
    Table t;
    t.setTableName(A + QStringLiteral("FIRMA.DB"));
    t.open();
    EXPECT_EQ(readAll(t), rekordyTabeli(3000, QStringLiteral("stary")));
}

// A live file that is no table, or a damaged one, with the journal a crash left beside it when
// it was a table: the restore puts the archive's table in its place, and no journal is left to
// be played into it.
TEST_F(ArchiwumTest, ALiveFileThatIsNoTableIsReplacedAndItsJournalGoes)
{
    const QString zywa = R + QStringLiteral("2025/WPROST.DB");
    tabela(zywa, QStringLiteral("archiwalny"));
    ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
    makeTable(zywa, kPola, kKlucz, rekordyTabeli(3000, QStringLiteral("bieżący")));
    const QByteArray dziennik = dziennikAwarii(zywa);
    ASSERT_FALSE(dziennik.isEmpty());
    // What a program that keeps its journal leaves after a commit: the header zeroed, which
    // SQLite passes over as no journal to play.
    const QByteArray zachowany = QByteArray(28, '\0') + dziennik.mid(28);
    const QByteArray bajty = fileBytes(zywa);
    const struct
    {
        const char *nazwa;
        QByteArray tresc;
        QByteArray dziennik;
    } przypadki[] = {
        {"no table", "to nie jest tabela", dziennik},
        {"a table cut short", bajty.left(bajty.size() / 2), dziennik},
        {"a table whose first page is gone", QByteArray(4096, '\0') + bajty.mid(4096), dziennik},
        {"an empty file", QByteArray(), dziennik},
        {"no table, with a journal kept after a commit", "to nie jest tabela", zachowany},
    };
    int numer = 0;
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        plik(zywa, p.tresc);
        plik(zywa + QStringLiteral("-journal"), p.dziennik);
        const WynikOdtworzenia wynik =
            Odtworz(A, R, lata, {}, QStringLiteral("2026.12.10-11.00.0%1").arg(++numer));
        EXPECT_TRUE(wynik.udane()) << wynik.bledy.join(u'\n').toStdString();
        EXPECT_FALSE(QFileInfo::exists(zywa + QStringLiteral("-journal")));
        EXPECT_EQ(integrityCheck(zywa), QStringLiteral("ok"));
        Table t;
        t.setTableName(zywa);
        t.open();
        EXPECT_EQ(readAll(t), (QList<QStringList>{{"1", "archiwalny"}, {"2", "archiwalny"}}));
    }
}

// A year the list names more than once is one directory: archived once, counted once, and
// restored in the same run as any other (its files were kept twice for the safety copy, and the
// second copy found the first in its way).
TEST_F(ArchiwumTest, AYearListedTwiceIsArchivedAndRestoredOnce)
{
    dane();
    const QStringList zPowtorzeniami{QStringLiteral("2024"), QStringLiteral("2025"),
                                     QStringLiteral("2025"), QStringLiteral("2026"),
                                     QStringLiteral("2024")};
    postep.Start(QStringLiteral("Archiwowanie"), 5);
    const WynikArchiwum archiwum = Archiwizuj(R, A, zPowtorzeniami, {&postep, {}}, false);
    EXPECT_TRUE(archiwum.udane()) << archiwum.bledy.join(u'\n').toStdString();
    EXPECT_EQ(archiwum.pliki, 7);
    EXPECT_EQ(archiwum.tabele, 6);
    EXPECT_EQ(postep.kroki, 5);

    tabela(R + QStringLiteral("2025/FIN/KONTRAHI.DB"), QStringLiteral("po archiwum"));
    const WynikOdtworzenia odtworzenie =
        Odtworz(A, R, zPowtorzeniami, {}, QStringLiteral("2026.12.10-10.00.00"));
    EXPECT_TRUE(odtworzenie.udane()) << odtworzenie.bledy.join(u'\n').toStdString();
    EXPECT_EQ(odtworzenie.pliki, 7);
    EXPECT_EQ(opis(R + QStringLiteral("2025/FIN/KONTRAHI.DB")), QStringLiteral("stary"));
}

TEST_F(ArchiwumTest, ATableAnotherProgramHoldsIsReportedAndLeftAsItIs)
{
    dane();
    ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
    tabela(R + QStringLiteral("2025/FIN/KONTRAHI.DB"), QStringLiteral("po archiwum"));
    OtherProgram modul(R + QStringLiteral("2025/FIN/KONTRAHI.DB"));
    ASSERT_EQ(modul.exec(QStringLiteral("BEGIN IMMEDIATE; UPDATE records SET OPIS = 'pisze'")),
              SQLITE_OK);
    const WynikOdtworzenia wynik = Odtworz(A, R, lata, {}, QStringLiteral("x"), 100);
    ASSERT_EQ(wynik.bledy.size(), 1);
    EXPECT_TRUE(wynik.bledy.first().contains(QStringLiteral("zablokowana przez inny program")))
        << qPrintable(wynik.bledy.first());
    ASSERT_EQ(modul.exec(QStringLiteral("COMMIT")), SQLITE_OK);
    EXPECT_EQ(opis(R + QStringLiteral("2025/FIN/KONTRAHI.DB")), QStringLiteral("pisze"));
    EXPECT_EQ(opis(R + QStringLiteral("FIRMA.DB")), QStringLiteral("stary"));
}

// Where an archive may go: never onto, over or into a firm's live data, nor where the next start
// would take it for a year or a firm; a firm's ARCHIWUM is allowed, and for a restore the safety
// folders a restore leaves. Links lead where they point.
TEST(MiejsceArchiwum, AFolderThatIsHoldsOrLiesInTheDataIsRefused)
{
    QTemporaryDir katalog;
    const QString K = katalog.filePath(QStringLiteral("dane"));
    for (const char *p :
         {"2025/FIN", "BAZA/SLOWNIKI", "FIRMA002/2026/FIN", "#IRMA003/2026", "ARCHIWUM/2025",
          "FIRMA002/ARCHIWUM", "ODTWARZANIE-2026.12.10-10.00.00", "gdzie indziej/DANE001/2026"})
        ASSERT_TRUE(QDir().mkpath(K + u'/' + QLatin1String(p)));
    ASSERT_TRUE(QFile::link(K, katalog.filePath(QStringLiteral("skrot"))));
    const QString obce = katalog.filePath(QStringLiteral("kopie"));
    const QString dr = K + QStringLiteral("/gdzie indziej/DANE001");
    struct Przypadek
    {
        QString katalog;
        bool odtworzenie;
        const char *przyczyna; // "" where the folder may be used
    };
    const QList<Przypadek> przypadki{
        {K, false, "to katalog z danymi firmy"},
        {katalog.filePath(QStringLiteral("skrot")), false, "to katalog z danymi firmy"},
        {katalog.path(), false, "zawiera katalog z danymi firmy"},
        {K + QStringLiteral("/FIRMA002"), false, "to katalog z danymi firmy"},
        {K + QStringLiteral("/firma002/"), false, "to katalog z danymi firmy"},
        {K + QStringLiteral("/#IRMA003/KOPIA"), false, "leży w katalogu z danymi firmy"},
        {K + QStringLiteral("/#IRMA003/2026"), false, "to katalog roku 2026"},
        {K + QStringLiteral("/2025/KOPIA"), false, "leży w katalogu roku 2025"},
        {katalog.filePath(QStringLiteral("skrot/2025/FIN")), false, "leży w katalogu roku 2025"},
        {K + QStringLiteral("/FIRMA002/2026/FIN/X"), false, "leży w katalogu roku 2026"},
        {K + QStringLiteral("/2030"), false, "zostałby wzięty za katalog roku 2030"},
        {K + QStringLiteral("/BAZA"), false, "to katalog BAZA"},
        {K + QStringLiteral("/BAZA/SLOWNIKI/STARE"), false, "leży w katalogu BAZA"},
        {K + QStringLiteral("/FIRMA005"), false, "zostałby wzięty za katalog firmy"},
        {K + QStringLiteral("/KOPIE"), false, "leży w katalogu z danymi firmy"},
        {dr, false, "to katalog z danymi firmy"},
        {dr + QStringLiteral("/2026/KOPIA"), false, "leży w katalogu roku 2026"},
        {K + QStringLiteral("/ODTWARZANIE-2026.12.10-10.00.00"), false,
         "leży w katalogu z danymi firmy"},
        {K + QStringLiteral("/ARCHIWUM"), false, ""},
        {K + QStringLiteral("/archiwum/nowy"), false, ""},
        {K + QStringLiteral("/FIRMA002/ARCHIWUM"), false, ""},
        {dr + QStringLiteral("/ARCHIWUM"), false, ""},
        {obce, false, ""},
        {obce + QStringLiteral("/FIRMA001"), false, ""},
        {K + QStringLiteral("/ODTWARZANIE-2026.12.10-10.00.00"), true, ""},
        {K + QStringLiteral("/ARCHIWUM"), true, ""},
        {K + QStringLiteral("/2025"), true, "to katalog roku 2025"},
        {K, true, "to katalog z danymi firmy"},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(qPrintable(p.katalog + (p.odtworzenie ? " (odtworzenie)" : "")));
        const QString blad = BladMiejscaArchiwum(p.katalog, K + u'/', {dr}, p.odtworzenie);
        const QString oczekiwana = QString::fromUtf8(p.przyczyna);
        if (oczekiwana.isEmpty())
            EXPECT_TRUE(blad.isEmpty()) << qPrintable(blad);
        else
            EXPECT_TRUE(blad.startsWith(oczekiwana)) << qPrintable(blad);
    }
    // Nothing was made to judge them.
    EXPECT_FALSE(QFileInfo::exists(K + QStringLiteral("/2030")));
    EXPECT_FALSE(QFileInfo::exists(obce));
}

// The archive refuses such a folder itself, before anything is written, and so does the restore.
TEST_F(ArchiwumTest, TheArchiveAndTheRestoreRefuseTheDataItselfBeforeWritingAnything)
{
    dane();
    const QStringList przed = wszystko(R);
    for (const QString &cel : {R, R + QStringLiteral("2025/KOPIA/"), R + QStringLiteral("BAZA/"),
                               katalog.path() + u'/'}) {
        SCOPED_TRACE(qPrintable(cel));
        const WynikArchiwum wynik = Archiwizuj(R, cel, lata, {}, false);
        ASSERT_EQ(wynik.bledy.size(), 1);
        EXPECT_TRUE(wynik.bledy.first().contains(QStringLiteral("nie można archiwizować do tego "
                                                                "katalogu")))
            << qPrintable(wynik.bledy.first());
        EXPECT_EQ(wynik.pliki, 0);
        EXPECT_EQ(wszystko(R), przed);
    }
    const WynikOdtworzenia odtworzenie =
        Odtworz(R + QStringLiteral("2025/"), R, lata, {}, QStringLiteral("x"));
    ASSERT_EQ(odtworzenie.bledy.size(), 1);
    EXPECT_TRUE(odtworzenie.bledy.first().contains(QStringLiteral("nie można odtwarzać z tego "
                                                                  "katalogu")));
    EXPECT_EQ(wszystko(R), przed);
}

// A table the archive cannot take as whole is named with what is wrong with it: a damaged page
// (the table opens, its copy would pass every other check), a file cut short, a file that is no
// database, an empty one. The copy made is kept, the archive is not whole.
TEST_F(ArchiwumTest, ADamagedTableOrOneThatIsNoTableIsCopiedButTheArchiveIsNotWhole)
{
    dane();
    QList<QStringList> rekordy;
    for (int i = 1; i <= 3000; ++i)
        rekordy << QStringList{QString::number(i), QStringLiteral("opis rekordu %1").arg(i)};
    const QString strona = R + QStringLiteral("2025/FIN/STRONA.DB");
    makeTable(strona, kPola, kKlucz, rekordy);
    damagePage(strona);
    const QString obcieta = R + QStringLiteral("2025/FIN/OBCIETA.DB");
    makeTable(obcieta, kPola, kKlucz, rekordy);
    ASSERT_TRUE(QFile::resize(obcieta, QFileInfo(obcieta).size() / 3));
    plik(R + QStringLiteral("BAZA/SLOWNIKI/TEKST.DB"),
         QByteArray("notatki, nie tabela\n").repeated(50));
    plik(R + QStringLiteral("2024/FIN/PUSTA.DB"), QByteArray());

    const WynikArchiwum wynik = Archiwizuj(R, A, lata, {}, false);
    EXPECT_FALSE(wynik.udane());
    const QList<QPair<const char *, const char *>> oczekiwane{
        {"2025/FIN/STRONA.DB", "plik tabeli jest uszkodzony"},
        {"2025/FIN/OBCIETA.DB", "uszkodzony"},
        {"BAZA/SLOWNIKI/TEKST.DB", "plik nie jest tabelą bazy danych"},
        {"2024/FIN/PUSTA.DB", "plik"},
    };
    ASSERT_EQ(wynik.bledy.size(), oczekiwane.size()) << qPrintable(wynik.bledy.join(u'\n'));
    for (const auto &[nazwa, przyczyna] : oczekiwane) {
        SCOPED_TRACE(nazwa);
        const QStringList linie = wynik.bledy.filter(QString::fromLatin1(nazwa) + u':');
        ASSERT_EQ(linie.size(), 1);
        EXPECT_TRUE(linie.first().contains(QString::fromUtf8(przyczyna)))
            << qPrintable(linie.first());
        EXPECT_TRUE(linie.first().contains(QStringLiteral("w archiwum")))
            << qPrintable(linie.first());
        EXPECT_EQ(fileBytes(A + QLatin1String(nazwa)), fileBytes(R + QLatin1String(nazwa)));
    }
    EXPECT_TRUE(wynik.podsumowanie().startsWith(QStringLiteral("Archiwum nie jest kompletne (4 "
                                                               "błędy):")))
        << qPrintable(wynik.podsumowanie());
    EXPECT_TRUE(wynik.podsumowanie().endsWith(QStringLiteral("Data ostatniej aktualizacji "
                                                             "archiwum nie została zmieniona.")));
}

// A FIFO named like a table is never opened (opened for reading it would wait for a writer for
// good), nor is a folder so named walked: both are named, in the archive and in the restore,
// live or archived. Run in a child with an alarm, so that a hang fails the test.
TEST_F(ArchiwumTest, AnEntryNamedLikeATableThatIsNoFileIsNamedAndNeverOpened)
{
    dane();
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(R + QStringLiteral("2025/FIN/POTOK.DB")).constData(), 0644), 0);
    ASSERT_TRUE(QDir().mkpath(R + QStringLiteral("2025/KATALOG.DB")));
    tabela(R + QStringLiteral("2025/KATALOG.DB/W_SRODKU.DB"));
    ASSERT_TRUE(QFile::link(R + QStringLiteral("BRAK.DB"), R + QStringLiteral("ZERWANY.DB")));
    const int kod = runInChildProcess([&] {
        ::alarm(30);
        const WynikArchiwum wynik = Archiwizuj(R, A, lata, {}, false);
        const QStringList oczekiwane{
            QStringLiteral("ZERWANY.DB: dowiązanie wskazuje plik, którego nie ma"),
            QStringLiteral("2025/KATALOG.DB: to nie jest zwykły plik, lecz katalog"),
            QStringLiteral("2025/FIN/POTOK.DB: to nie jest zwykły plik, lecz potok (FIFO)"),
        };
        if (wynik.bledy != oczekiwane)
            return 11;
        if (QFileInfo::exists(A + QStringLiteral("2025/KATALOG.DB")) ||
            QFileInfo::exists(A + QStringLiteral("2025/FIN/POTOK.DB")) || wynik.pliki != 7)
            return 12;
        // The archive holds a table where the data holds a FIFO: the restore names it too.
        QDir(R + QStringLiteral("2025/KATALOG.DB")).removeRecursively();
        QFile::remove(R + QStringLiteral("ZERWANY.DB"));
        QFile::remove(R + QStringLiteral("2025/FIN/POTOK.DB"));
        if (!Archiwizuj(R, A, lata, {}, false).udane())
            return 13;
        ::mkfifo(QFile::encodeName(R + QStringLiteral("2025/FIN/KONTRAHI.DB.tmp")).constData(),
                 0644);
        QFile::remove(R + QStringLiteral("2025/FIN/KONTRAHI.DB"));
        QFile::rename(R + QStringLiteral("2025/FIN/KONTRAHI.DB.tmp"),
                      R + QStringLiteral("2025/FIN/KONTRAHI.DB"));
        const WynikOdtworzenia odtworzenie = Odtworz(A, R, lata, {}, QStringLiteral("y"));
        if (odtworzenie.bledy !=
            QStringList{QStringLiteral("2025/FIN/KONTRAHI.DB: w danych to nie jest zwykły plik, "
                                       "lecz potok (FIFO); nie odtworzono")})
            return 14;
        return odtworzenie.pliki == 6 ? 0 : 15;
    });
    EXPECT_EQ(kod, 0);
}

// Archive and restore, killed and failed at every step: every live and archived table old or new,
// whole; the safety folder complete before any live file is replaced; done again, each completes.
TEST(ArchiwumAwarie, ArchiveAndRestoreKeepEveryTableWholeAtEveryStep)
{
    const auto dane = [](const QString &katalog, const QString &opis) {
        for (const char *p : {"dane/FIRMA.DB", "dane/BAZA/SLOWNIKI/KONTAK.DB",
                              "dane/2025/FIN/KONTRAHI.DB", "dane/2025/WPROST.DB"}) {
            const QString sciezka = katalog + u'/' + QLatin1String(p);
            QDir().mkpath(QFileInfo(sciezka).path());
            makeTable(sciezka, kPola, kKlucz, {{"1", opis}, {"2", opis}, {"3", opis}});
        }
    };
    const QStringList lata{QStringLiteral("2025")};
    const HarnessOperation archiwum{
        QStringLiteral("archive"),
        [&](const QString &katalog) { dane(katalog, QStringLiteral("d")); },
        [&](const QString &katalog) {
            return Archiwizuj(katalog + QStringLiteral("/dane/"),
                              katalog + QStringLiteral("/dane/ARCHIWUM/"), lata, {}, false)
                .udane();
        }};
    const HarnessOperation odtworzenie{
        QStringLiteral("restore"),
        [&](const QString &katalog) {
            dane(katalog, QStringLiteral("zarchiwizowane"));
            Archiwizuj(katalog + QStringLiteral("/dane/"), katalog + QStringLiteral("/archiwum/"),
                       lata, {}, false);
            dane(katalog, QStringLiteral("bieżące"));
        },
        [&](const QString &katalog) {
            // The same moment each run, so that a second run finds its safety folder.
            const WynikOdtworzenia wynik =
                Odtworz(katalog + QStringLiteral("/archiwum/"), katalog + QStringLiteral("/dane/"),
                        lata, {}, QStringLiteral("2026.12.10-12.00.00"));
            return wynik.udane();
        },
        {},
        QStringLiteral("dane/ODTWARZANIE-")};
    HarnessFigures razem;
    for (const HarnessOperation &operacja : {archiwum, odtworzenie}) {
        const HarnessFigures wynik = exerciseOperation(operacja);
        std::printf("%s: %s\n", qPrintable(operacja.name), qPrintable(wynik.summary()));
        EXPECT_GT(wynik.stepsTried, 10);
        razem += wynik;
    }
    EXPECT_TRUE(razem.failures.isEmpty()) << razem.failures.join(u'\n').toStdString();
}

} // namespace
} // namespace rawen::test
