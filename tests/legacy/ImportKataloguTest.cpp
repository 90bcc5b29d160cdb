#include "legacy/ImportKatalogu.h"

#include "data/OtworzTabele.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "legacy/PolecenieImportuj.h"
#include "platform/FaultPoint.h"
#include "support/CrashHarness.h"
#include "support/KonsolaTestowa.h"
#include "support/PisarzParadox.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace rawen::test {
namespace {

const QString kPolskie = QStringLiteral("Biuro Rachunkowe Żółć i Wspólnicy");

void zapisz(const QString &sciezka, const QByteArray &bajty)
{
    QDir().mkpath(QFileInfo(sciezka).absolutePath());
    QFile plik(sciezka);
    ASSERT_TRUE(plik.open(QIODevice::WriteOnly | QIODevice::Truncate));
    plik.write(bajty);
}

const QList<PoleWzoru> kStaraFirma{
    {QStringLiteral("NR"), 'I'},       {QStringLiteral("SKROT"), 'A', 50},
    {QStringLiteral("NUM1"), 'A', 2},  {QStringLiteral("NUM2"), 'A', 8},
    {QStringLiteral("NUM3"), 'A', 20}, {QStringLiteral("ZAPAS2"), 'A', 50}};

const QList<PoleWzoru> kFaktury{
    {QStringLiteral("NRFAK"), 'A', 20}, {QStringLiteral("DATA"), 'D'},
    {QStringLiteral("NAZWA"), 'A', 60}, {QStringLiteral("BRUTTO"), '$'},
    {QStringLiteral("ZAPLACONA"), 'L'}, {QStringLiteral("UWAGI"), 'M', 20},
    {QStringLiteral("POZYCJE"), 'S'},   {QStringLiteral("KWOTA"), '#', 2}};

// An old data root as an office brings it: firm 000 in the root with its firm and configuration
// tables, a year, BAZA, a firm directory, the module programs and other files, the old engine's
// companions and its (idle) lock files.
void staryKatalog(const QString &k, int faktur = 120)
{
    QDir().mkpath(k);
    OpcjeParadoxu cp852;
    cp852.polaKlucza = 1;
    ZapiszTabeleParadox(k + QStringLiteral("/FIRMA.DB"), kStaraFirma,
                        {{0, kPolskie, QStringLiteral("12"), QStringLiteral("34567890"),
                          QStringLiteral("1234"), QStringLiteral("2004.05.01")}},
                        cp852);
    ZapiszIndeksGlowny(k + QStringLiteral("/FIRMA.DB"), kStaraFirma, cp852);
    OpcjeParadoxu cp1250;
    cp1250.kodowanie = "windows-1250";
    cp1250.sterownik = "ANPOLISH";
    cp1250.stronaKodowa = 1250;
    ZapiszTabeleParadox(k + QStringLiteral("/RAWEN.DB"),
                        {{QStringLiteral("WERSJA"), 'A', 10}, {QStringLiteral("SPRAWDZ"), 'D'}},
                        {{QStringLiteral("1.0 ółż"), QDate(2024, 1, 31)}}, cp1250);
    QList<RekordWzoru> faktury;
    for (int i = 1; i <= faktur; ++i)
        faktury << RekordWzoru{
            QStringLiteral("FV/%1/2024").arg(i),
            QDate(2024, 1, 1).addDays(i % 300),
            QStringLiteral("Kontrahent %1 spółka z o.o.").arg(i),
            i * 10.25,
            i % 3 == 0,
            i % 4 == 0
                ? QVariant()
                : QVariant(QStringLiteral("Uwagi do faktury %1: ").arg(i).repeated(1 + i % 5)),
            i % 7,
            QStringLiteral("%1.%2").arg(i).arg(i % 100, 2, 10, QLatin1Char('0'))};
    OpcjeParadoxu klucz = cp852;
    klucz.kilobajtyBloku = 1;
    const QString nagfaks = k + QStringLiteral("/2024/FIN/NAGFAKS.DB");
    QDir().mkpath(QFileInfo(nagfaks).absolutePath());
    ZapiszTabeleParadox(nagfaks, kFaktury, faktury, klucz);
    ZapiszIndeksGlowny(nagfaks, kFaktury, klucz);
    ZapiszIndeksWtorny(nagfaks, QStringLiteral("X03"), {kFaktury[2]}, QString(), klucz);
    zapisz(k + QStringLiteral("/2024/FIN/NAGFAKS.VAL"), QByteArray("\x09\x00walidacja", 11));
    zapisz(k + QStringLiteral("/2024/FIN/NAGFAKS.TV"), QByteArray("widok"));
    zapisz(k + QStringLiteral("/2024/FIN/NAGFAKS.FAM"), QByteArray("rodzina"));
    QDir().mkpath(k + QStringLiteral("/BAZA"));
    ZapiszTabeleParadox(k + QStringLiteral("/BAZA/KONTRAHI.DB"),
                        {{QStringLiteral("NR"), 'I'}, {QStringLiteral("NAZWA"), 'A', 40}},
                        {{1, QStringLiteral("Łódź")}, {2, QStringLiteral("Gdańsk")}}, cp852);
    ZapiszIndeksGlowny(k + QStringLiteral("/BAZA/KONTRAHI.DB"), {{QStringLiteral("NR"), 'I'}},
                       cp852);
    QDir().mkpath(k + QStringLiteral("/FIRMA001/2024"));
    ZapiszTabeleParadox(
        k + QStringLiteral("/FIRMA001/FIRMA.DB"), kStaraFirma,
        {{1, QStringLiteral("Piekarnia Złoty Kłos"), QString(), QString(), QString(), QString()}},
        cp1250);
    ZapiszTabeleParadox(k + QStringLiteral("/FIRMA001/2024/KASA.DB"),
                        {{QStringLiteral("LP"), '+'}, {QStringLiteral("KWOTA"), 'N'}}, {});
    zapisz(k + QStringLiteral("/harnol.exe"), QByteArray("MZ\x90\x00program", 11));
    zapisz(k + QStringLiteral("/logo.bmp"), QByteArray("BM obraz"));
    zapisz(k + QStringLiteral("/FIRMA.STR"), QByteArray("STRUKTURA ZBIORU\r\nKONIEC\r\n"));
    zapisz(k + QStringLiteral("/FIRMA001/notatki.txt"), QByteArray("notatki biura"));
    zapisz(k + QStringLiteral("/.ustawienia"), QByteArray("ukryty"));
    zapisz(k + QStringLiteral("/PDOXUSRS.NET"), QByteArray(128, '\0'));
    zapisz(k + QStringLiteral("/PARADOX.LCK"), QByteArray());
    zapisz(k + QStringLiteral("/2024/FIN/PARADOX.LCK"), QByteArray());
}

// Every entry of a tree with its kind, mode, size, time and bytes: any write shows.
QByteArray skrotDrzewa(const QString &katalog)
{
    QStringList linie;
    QDirIterator it(katalog, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString sciezka = it.next();
        struct stat s
        {};
        ::lstat(QFile::encodeName(sciezka).constData(), &s);
        QString linia = QStringLiteral("%1 %2 %3 %4.%5")
                            .arg(QDir(katalog).relativeFilePath(sciezka))
                            .arg(s.st_mode, 0, 8)
                            .arg(s.st_size)
                            .arg(s.st_mtim.tv_sec)
                            .arg(s.st_mtim.tv_nsec);
        if (S_ISREG(s.st_mode))
            linia += u' ' + QString::fromLatin1(QCryptographicHash::hash(fileBytes(sciezka),
                                                                         QCryptographicHash::Sha256)
                                                    .toHex());
        linie << linia;
    }
    linie.sort();
    return linie.join(u'\n').toUtf8();
}

QStringList plikiDrzewa(const QString &katalog)
{
    QStringList pliki;
    QDirIterator it(katalog, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        pliki << QDir(katalog).relativeFilePath(it.next());
    pliki.sort();
    return pliki;
}

class ImportKataloguTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_stary = m_katalog.filePath(QStringLiteral("STARY"));
        m_nowy = m_katalog.filePath(QStringLiteral("NOWY"));
        staryKatalog(m_stary);
    }
    WynikImportu importuj(const OpcjeImportu &opcje = {})
    {
        m_log.clear();
        return ImportujKatalogDanych(m_stary, m_nowy, opcje,
                                     {[this](const QString &l) { m_log << l; }, nullptr});
    }
    QTemporaryDir m_katalog;
    QString m_stary, m_nowy;
    QStringList m_log;
};

// The whole tree: each old table a table of ours under the same path with the same records,
// every other file as it was, no companion or lock file of the old engine; the old root not
// touched by a single write.
TEST_F(ImportKataloguTest, ConvertsTheWholeTreeAndNeverWritesTheOldRoot)
{
    const QByteArray przed = skrotDrzewa(m_stary);
    FaultPoint::resetCount();
    FaultPoint::setRecording(true);
    const WynikImportu wynik = importuj();
    const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
    FaultPoint::setRecording(false);
    ASSERT_TRUE(wynik.udany) << qPrintable(wynik.bledy.join(u'\n'));
    EXPECT_EQ(skrotDrzewa(m_stary), przed);
    for (const FaultPoint::Step &krok : kroki)
        EXPECT_FALSE(QFileInfo(krok.path).absoluteFilePath().startsWith(m_stary + u'/'))
            << qPrintable(FaultPoint::stepName(krok.step) + u' ' + krok.path);

    EXPECT_EQ(plikiDrzewa(m_nowy),
              (QStringList{".ustawienia", "2024", "2024/FIN", "2024/FIN/NAGFAKS.DB", "BAZA",
                           "BAZA/KONTRAHI.DB", "FIRMA.DB", "FIRMA.STR", "FIRMA001", "FIRMA001/2024",
                           "FIRMA001/2024/KASA.DB", "FIRMA001/FIRMA.DB", "FIRMA001/notatki.txt",
                           "RAWEN.DB", "harnol.exe", "logo.bmp"}));
    for (const char *plik :
         {"harnol.exe", "logo.bmp", "FIRMA.STR", "FIRMA001/notatki.txt", ".ustawienia"})
        EXPECT_EQ(fileBytes(m_nowy + u'/' + QLatin1String(plik)),
                  fileBytes(m_stary + u'/' + QLatin1String(plik)))
            << plik;
    EXPECT_EQ(wynik.tabele, 6);
    EXPECT_EQ(wynik.pliki, 5);
    EXPECT_EQ(wynik.rekordy, 1 + 1 + 120 + 2 + 1 + 0);

    Table tabela;
    tabela.setTableName(m_nowy + QStringLiteral("/2024/FIN/NAGFAKS.DB"));
    tabela.open();
    EXPECT_EQ(tabela.recordCount(), 120);
    EXPECT_EQ(tabela.indexDefs().size(), 2);
    tabela.setIndexName(QStringLiteral("NAZWA"));
    tabela.first();
    EXPECT_EQ(tabela.fieldByName(QStringLiteral("NAZWA")).asString(),
              QStringLiteral("Kontrahent 1 spółka z o.o."));
    EXPECT_EQ(tabela.fieldByName(QStringLiteral("KWOTA")).asString(), QStringLiteral("1.01"));
    tabela.close();
    Table konfiguracja;
    konfiguracja.setTableName(m_nowy + QStringLiteral("/RAWEN.DB"));
    konfiguracja.open();
    konfiguracja.first();
    EXPECT_EQ(konfiguracja.fieldByName(QStringLiteral("WERSJA")).asString(),
              QStringLiteral("1.0 ółż"));

    // A line per table, its warnings under it, and the summary.
    EXPECT_TRUE(m_log.contains(
        QStringLiteral("2024/FIN/NAGFAKS.DB: 120 rekordów, 90 notatek, 1 ostrzeżenie")))
        << qPrintable(m_log.join(u'\n'));
    EXPECT_TRUE(m_log.contains(QStringLiteral("FIRMA001/2024/KASA.DB: 0 rekordów, 0 notatek")));
    EXPECT_TRUE(wynik.podsumowanie.contains(
        QStringLiteral("6 tabel (125 rekordów, 90 notatek), bez zmian skopiowano 5 plików")))
        << qPrintable(wynik.podsumowanie);
}

// The firm table of the old root goes through the firm-table upgrade at the first start, as any
// old firm table does, with its values.
TEST_F(ImportKataloguTest, TheConvertedFirmTableIsUpgradedAtTheFirstStart)
{
    ASSERT_TRUE(importuj().udany);
    ScriptedMessageBoxes boxes;
    Session sesja(QStringLiteral("SESJA"));
    Table tabela(&sesja);
    ASSERT_TRUE(OtworzTabele(tabela, m_nowy + QStringLiteral("/FIRMA"),
                             QStringLiteral("Brak danych o firmie")));
    EXPECT_EQ(tabela.fieldCount(), PolaTabeliFirmy().size());
    tabela.first();
    EXPECT_EQ(tabela.fieldByName(QStringLiteral("SKROT")).asString(), kPolskie);
    EXPECT_EQ(tabela.fieldByName(QStringLiteral("NR")).asInteger(), 0);
}

// What the conversion refuses before it reads a table, and says why; nothing is made.
TEST_F(ImportKataloguTest, RefusesBusyRootsAndWrongFoldersClearly)
{
    struct Przypadek
    {
        const char *opis;
        std::function<void()> przygotuj;
        QString stary, nowy;
        QString oczekiwany;
    };
    const QString stary = m_stary, nowy = m_nowy;
    const QList<Przypadek> przypadki{
        {"a lock file with entries",
         [&] {
             zapisz(stary + QStringLiteral("/2024/FIN/PDOXUSRS.LCK"), QByteArray("\x01\x00JAN", 5));
         },
         stary, nowy,
         QStringLiteral("są w użyciu: pliki blokad poprzedniej wersji programu mają wpisy "
                        "(2024/FIN/PDOXUSRS.LCK)")},
        {"the new root inside the old", [] {}, stary, stary + QStringLiteral("/NOWY"),
         QStringLiteral("nie może leżeć w starym")},
        {"the new root holding something", [&] { zapisz(nowy + QStringLiteral("/cos.txt"), "x"); },
         stary, nowy, QStringLiteral("już istnieje")},
        {"no old root", [] {}, stary + QStringLiteral("/BRAK"), nowy,
         QStringLiteral("nie istnieje")},
        {"no folder for the new root", [] {}, stary, nowy + QStringLiteral("/A/B"),
         QStringLiteral("Brak katalogu")},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.opis);
        p.przygotuj();
        const QByteArray przed = skrotDrzewa(m_stary);
        const WynikImportu wynik = ImportujKatalogDanych(p.stary, p.nowy, {}, {});
        EXPECT_FALSE(wynik.udany);
        EXPECT_TRUE(wynik.odmowa);
        EXPECT_TRUE(wynik.podsumowanie.contains(p.oczekiwany)) << qPrintable(wynik.podsumowanie);
        EXPECT_EQ(skrotDrzewa(m_stary), przed);
        EXPECT_FALSE(QFileInfo::exists(p.nowy + QStringLiteral("/FIRMA.DB")));
        QFile::remove(nowy + QStringLiteral("/cos.txt"));
        QDir(nowy).rmdir(QStringLiteral("."));
    }
    // The busy root converts when told to go on, and says so.
    const WynikImportu wynik = importuj({QString(), true});
    EXPECT_TRUE(wynik.udany) << qPrintable(wynik.bledy.join(u'\n'));
    EXPECT_TRUE(m_log.first().contains(QStringLiteral("mimo blokad")));
    EXPECT_FALSE(QFileInfo::exists(m_nowy + QStringLiteral("/2024/FIN/PDOXUSRS.LCK")));
}

// A damaged table fails the run naming it; no new root is left, and once the table is mended a
// second run converts the whole tree. A FIFO in the tree is named and passed over, never opened.
TEST_F(ImportKataloguTest, ADamagedTableFailsTheRunAndASecondRunStartsClean)
{
    const QString mb = m_stary + QStringLiteral("/2024/FIN/NAGFAKS.MB");
    const QByteArray dobry = fileBytes(mb);
    zapisz(mb, dobry.left(4096));
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(m_stary + QStringLiteral("/BAZA/kolejka")).constData(), 0600),
        0);
    const QByteArray przed = skrotDrzewa(m_stary);
    WynikImportu wynik = importuj();
    EXPECT_FALSE(wynik.udany);
    ASSERT_EQ(wynik.bledy.size(), 1);
    EXPECT_TRUE(wynik.bledy[0].startsWith(QStringLiteral("2024/FIN/NAGFAKS.DB: rekord ")))
        << qPrintable(wynik.bledy[0]);
    EXPECT_TRUE(wynik.bledy[0].contains(QStringLiteral("poza plikiem")));
    EXPECT_TRUE(wynik.podsumowanie.contains(QStringLiteral("NIE powiodło się")))
        << qPrintable(wynik.podsumowanie);
    EXPECT_TRUE(m_log.contains(
        QStringLiteral("BAZA/kolejka: pominięty, to nie jest zwykły plik ani katalog")));
    EXPECT_FALSE(QFileInfo::exists(m_nowy));
    EXPECT_EQ(directoryEntries(m_katalog.path()), (QStringList{QStringLiteral("STARY")}));
    EXPECT_EQ(skrotDrzewa(m_stary), przed);

    zapisz(mb, dobry);
    wynik = importuj();
    EXPECT_TRUE(wynik.udany) << qPrintable(wynik.bledy.join(u'\n'));
    EXPECT_EQ(wynik.ostrzezenia, 2)
        << qPrintable(m_log.join(u'\n')); // the validity checks, the FIFO
}

// rawen --importuj: the log on standard output, the refusal on standard error, and the exit
// status of the other commands.
TEST_F(ImportKataloguTest, TheCommandSpeaksAsTheOtherCommands)
{
    struct Przypadek
    {
        QStringList argumenty;
        int kod;
        QString naWyjsciu, naBledach;
    };
    const QList<Przypadek> przypadki{
        {{}, 2, {}, QStringLiteral("Podaj stary i nowy katalog danych.")},
        {{m_stary}, 2, {}, QStringLiteral("Użycie: rawen --importuj KATALOG_STARY KATALOG_NOWY")},
        {{m_stary, m_nowy, QStringLiteral("--kodowanie"), QStringLiteral("utf8")},
         2,
         {},
         QStringLiteral("Nieznane kodowanie utf8")},
        {{m_stary, m_nowy, QStringLiteral("--cos")}, 2, {}, QStringLiteral("--cos")},
        {{m_stary, m_stary + QStringLiteral("/X")},
         1,
         {},
         QStringLiteral("nie może leżeć w starym")},
        {{m_stary, m_nowy, QStringLiteral("--kodowanie"), QStringLiteral("cp852")},
         0,
         QStringLiteral("Dane przekształcone do"),
         {}},
        {{m_stary, m_nowy}, 1, {}, QStringLiteral("już istnieje")},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.argumenty.join(u' ').toStdString());
        const WynikPolecenia w =
            uruchomPolecenie([&](Konsola &k) { return PolecenieImportuj(p.argumenty, k); });
        EXPECT_EQ(w.kod, p.kod) << qPrintable(w.bledy);
        EXPECT_TRUE(w.wyjscie.contains(p.naWyjsciu)) << qPrintable(w.wyjscie);
        EXPECT_TRUE(w.bledy.contains(p.naBledach)) << qPrintable(w.bledy);
    }
}

// Killed, failed with an I/O error or a full disk at any step: the old root as it was, the new
// root absent or whole, and a second run completes it.
TEST(ImportKataloguAwarie, AKilledOrFailedConversionLeavesTheOldRootAndNoHalfMadeNewOne)
{
    HarnessOperation import{
        QStringLiteral("rawen --importuj"),
        [](const QString &katalog) { staryKatalog(katalog + QStringLiteral("/STARY"), 40); },
        [](const QString &katalog) {
            return ImportujKatalogDanych(katalog + QStringLiteral("/STARY"),
                                         katalog + QStringLiteral("/NOWY"), {}, {})
                .udany;
        },
    };
    import.legacyFolder = QStringLiteral("STARY");
    import.stepsPerFault = 15;
    const HarnessFigures wynik = exerciseOperation(import);
    std::printf("%s: %s\n", qPrintable(import.name), qPrintable(wynik.summary()));
    EXPECT_GT(wynik.stepsTried, 15);
    EXPECT_TRUE(wynik.failures.isEmpty()) << wynik.failures.join(u'\n').toStdString();
}

} // namespace
} // namespace rawen::test
