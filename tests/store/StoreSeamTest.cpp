#include "archive/Archiwum.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "data/WykazFirm.h"
#include "install/NowyKatalogDanych.h"
#include "shell/KasowanieFirmy.h"
#include "shell/NowaFirma.h"
#include "store/SqliteFolderStore.h"
#include "store/StoredTable.h"
#include "support/OtherProgram.h"
#include "support/TableFixtures.h"
#include "year/OtwarcieRoku.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace rawen::test {
namespace {

// A store that keeps the data root in a folder of SQLite files, as the first store does, and
// notes every step asked of it: what the program's logic does to the data root must reach it.
class NotingStore final : public Store
{
public:
    mutable QStringList steps;

    QList<Entry> list(const QString &directory) const override
    {
        note(QStringLiteral("list"), directory);
        return m_folder.list(directory);
    }
    Entry entry(const QString &path) const override { return m_folder.entry(path); }
    bool exists(const QString &path) const override { return m_folder.exists(path); }
    QString resolve(const QString &path) const override { return m_folder.resolve(path); }
    QString canonicalPath(const QString &path) const override
    {
        note(QStringLiteral("canonicalPath"), path);
        return m_folder.canonicalPath(path);
    }
    bool makeDirectory(const QString &path) override
    {
        note(QStringLiteral("makeDirectory"), path);
        return m_folder.makeDirectory(path);
    }
    MoveResult renameDirectory(const QString &from, const QString &to) override
    {
        note(QStringLiteral("renameDirectory"), from);
        return m_folder.renameDirectory(from, to);
    }
    bool removeDirectory(const QString &path) override
    {
        note(QStringLiteral("removeDirectory"), path);
        return m_folder.removeDirectory(path);
    }
    std::unique_ptr<DirectoryUnderConstruction> buildDirectory(const QString &target) override
    {
        note(QStringLiteral("buildDirectory"), target);
        return m_folder.buildDirectory(target);
    }
    bool clearReadOnly(const QString &path) override { return m_folder.clearReadOnly(path); }
    QString lastError() const override { return m_folder.lastError(); }
    QByteArray readFile(const QString &path) const override { return m_folder.readFile(path); }
    void writeFile(const QString &path, const QByteArray &bytes, bool replace) override
    {
        note(QStringLiteral("writeFile"), path);
        m_folder.writeFile(path, bytes, replace);
    }
    void openTable(const QString &path, int lockTimeoutMs, std::unique_ptr<StoredTable> &table,
                   const std::function<void(StoredTable &)> &readFirst) override
    {
        m_folder.openTable(path, lockTimeoutMs, table, readFirst);
    }
    TableDefinitions readDefinitions(const QString &path, int lockTimeoutMs) override
    {
        return m_folder.readDefinitions(path, lockTimeoutMs);
    }
    void createTable(const QString &path, const TableDefinitions &definitions,
                     bool replace) override
    {
        note(QStringLiteral("createTable"), path);
        m_folder.createTable(path, definitions, replace);
    }
    void deleteTable(const QString &path) override { m_folder.deleteTable(path); }
    void replaceTable(const QString &from, const QString &to) override
    {
        m_folder.replaceTable(from, to);
    }
    bool isOurTable(const QString &path) const override
    {
        note(QStringLiteral("isOurTable"), path);
        return m_folder.isOurTable(path);
    }
    std::unique_ptr<WholeFileReader> readWhole(const QString &path) override
    {
        note(QStringLiteral("readWhole"), path);
        return m_folder.readWhole(path);
    }
    bool writeIntoTable(const QString &source, const QString &path, int lockTimeoutMs) override
    {
        note(QStringLiteral("writeIntoTable"), path);
        return m_folder.writeIntoTable(source, path, lockTimeoutMs);
    }

private:
    void note(const QString &step, const QString &path) const
    {
        steps << step + u' ' + QDir::cleanPath(path);
    }

    mutable SqliteFolderStore m_folder;
};

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, false},
                            {QStringLiteral("SKROT"), ftString, 30, false}};
const QList<IndexDef> kKlucz{{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};

class StoreSeamTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        R = katalog.filePath(QStringLiteral("dane")) + u'/';
        A = katalog.filePath(QStringLiteral("archiwum")) + u'/';
        ASSERT_TRUE(QDir().mkpath(R + QStringLiteral("2025")));
        ASSERT_TRUE(QDir().mkpath(R + QStringLiteral("FIRMA001")));
        makeTable(R + QStringLiteral("FIRMA.DB"), kPola, kKlucz, {{"1", "Biuro"}});
        makeTable(R + QStringLiteral("2025/KONTRAHI.DB"), kPola, kKlucz, {{"1", "Kontrahent"}});
        makeTable(R + QStringLiteral("FIRMA001/FIRMA.DB"), kPola, kKlucz, {{"1", "Sklep"}});
        Store::install(&magazyn);
    }
    void TearDown() override { Store::install(nullptr); }

    // The steps of one kind, in the order asked.
    QStringList kroki(const QString &rodzaj) const
    {
        QStringList wynik;
        for (const QString &krok : magazyn.steps) {
            if (krok.startsWith(rodzaj + u' '))
                wynik << krok.mid(rodzaj.size() + 1);
        }
        return wynik;
    }
    QString w(const QString &sciezka) const { return QDir::cleanPath(R + sciezka); }

    QTemporaryDir katalog;
    QString R;
    QString A;
    NotingStore magazyn;
};

TEST_F(StoreSeamTest, TheFirmListAndTheYearOpeningReachTheDataRootThroughTheStore)
{
    Table tabela;
    const QList<FirmaWykazu> firmy = FirmyWykazu(R, tabela);
    ASSERT_EQ(firmy.size(), 2);
    EXPECT_TRUE(kroki(QStringLiteral("list")).contains(w(QString())));

    magazyn.steps.clear();
    Table TS;
    const WynikOtwarciaRoku wynik = OtworzRok(
        TS, R, QStringLiteral("2026"), QStringLiteral("2025"), {}, [] { return true; }, nullptr);
    EXPECT_TRUE(wynik.zakonczone);
    // The new year is built beside its place by the store and named when whole; the source year
    // is walked through the store twice, for the lengths of the paths before anything is made
    // and for the copy.
    EXPECT_EQ(kroki(QStringLiteral("buildDirectory")), QStringList{w(QStringLiteral("2026"))});
    EXPECT_EQ(kroki(QStringLiteral("makeDirectory")), QStringList{});
    EXPECT_EQ(kroki(QStringLiteral("list")),
              (QStringList{w(QStringLiteral("2025")), w(QStringLiteral("2025"))}));
}

// The live tables are the store's; the archive is a folder of this machine whatever the store.
TEST_F(StoreSeamTest, TheArchiveReadsTheLiveTablesAndTheRestoreWritesThemThroughTheStore)
{
    const QStringList lata{QStringLiteral("2025")};
    ASSERT_TRUE(Archiwizuj(R, A, lata, {}, false).udane());
    EXPECT_EQ(kroki(QStringLiteral("readWhole")),
              (QStringList{w(QStringLiteral("FIRMA.DB")), w(QStringLiteral("2025/KONTRAHI.DB"))}));
    for (const QString &krok : std::as_const(magazyn.steps))
        EXPECT_FALSE(krok.contains(QDir::cleanPath(A))) << krok.toStdString();

    magazyn.steps.clear();
    const WynikOdtworzenia wynik = Odtworz(A, R, lata, {}, QStringLiteral("2026.12.11-10.00.00"));
    ASSERT_TRUE(wynik.udane()) << wynik.bledy.join(u'\n').toStdString();
    EXPECT_EQ(kroki(QStringLiteral("writeIntoTable")),
              (QStringList{w(QStringLiteral("FIRMA.DB")), w(QStringLiteral("2025/KONTRAHI.DB"))}));
    // The live files kept before the restore are read from the store, into a folder it builds.
    EXPECT_EQ(kroki(QStringLiteral("buildDirectory")),
              QStringList{w(QStringLiteral("ODTWARZANIE-2026.12.11-10.00.00"))});
    EXPECT_EQ(kroki(QStringLiteral("readWhole")),
              (QStringList{w(QStringLiteral("FIRMA.DB")), w(QStringLiteral("2025/KONTRAHI.DB"))}));
}

// A new office's data root: its missing parents made, the root built beside its place and moved
// there, its tables made in the building, all through the store; a place that is taken is
// looked at through it too.
TEST_F(StoreSeamTest, ANewDataRootIsBuiltThroughTheStore)
{
    const QString biuro = katalog.filePath(QStringLiteral("biura/nowe"));
    UtworzNowyKatalogDanych(biuro, QDate(2026, 3, 10), QStringLiteral("Biuro"));
    EXPECT_TRUE(QFileInfo::exists(biuro + QStringLiteral("/FIRMA.DB")));
    EXPECT_EQ(kroki(QStringLiteral("makeDirectory")).value(0),
              QDir::cleanPath(katalog.filePath(QStringLiteral("biura"))));
    EXPECT_EQ(kroki(QStringLiteral("buildDirectory")), QStringList{QDir::cleanPath(biuro)});
    const QStringList tabele = kroki(QStringLiteral("createTable"));
    EXPECT_FALSE(tabele.isEmpty());
    for (const QString &tabela : tabele) {
        EXPECT_TRUE(tabela.startsWith(QDir::cleanPath(katalog.filePath(QStringLiteral("biura")))))
            << tabela.toStdString();
        EXPECT_FALSE(tabela.startsWith(QDir::cleanPath(biuro) + u'/')) << tabela.toStdString();
    }

    magazyn.steps.clear();
    EXPECT_THROW(UtworzNowyKatalogDanych(R, QDate(2026, 3, 10), QStringLiteral("Biuro")),
                 BladBudowyKatalogu);
    EXPECT_EQ(kroki(QStringLiteral("list")), QStringList{w(QString())});
    EXPECT_TRUE(kroki(QStringLiteral("buildDirectory")).isEmpty());
}

// A walk must tell a directory it may not read from an empty one, or it would copy or archive
// nothing from it and call that whole.
TEST(SqliteFolderStoreTest, ADirectoryThatCannotBeReadIsToldApartFromAnEmptyOne)
{
    QTemporaryDir katalog;
    ASSERT_TRUE(katalog.isValid());
    const QString pusty = katalog.filePath(QStringLiteral("pusty"));
    const QString zamkniety = katalog.filePath(QStringLiteral("zamkniety"));
    const QString plik = katalog.filePath(QStringLiteral("PLIK.DB"));
    ASSERT_TRUE(QDir().mkpath(pusty));
    ASSERT_TRUE(QDir().mkpath(zamkniety + QStringLiteral("/2025")));
    makeTable(plik, kPola, kKlucz, {});
    SqliteFolderStore magazyn;

    QList<Store::Entry> wpisy{Store::Entry{}};
    QString blad = QStringLiteral("?");
    EXPECT_TRUE(magazyn.readDirectory(pusty, wpisy, blad));
    EXPECT_TRUE(wpisy.isEmpty());
    EXPECT_TRUE(blad.isEmpty());

    struct Przypadek
    {
        QString sciezka;
        QString przyczyna;
    };
    for (const Przypadek &p : {Przypadek{katalog.filePath(QStringLiteral("brak")),
                                         QStringLiteral("brak pliku lub katalogu")},
                               Przypadek{plik, QStringLiteral("nie jest katalogiem")}}) {
        EXPECT_FALSE(magazyn.readDirectory(p.sciezka, wpisy, blad)) << qPrintable(p.sciezka);
        EXPECT_TRUE(blad.contains(p.przyczyna, Qt::CaseInsensitive))
            << qPrintable(p.sciezka) << ": " << qPrintable(blad);
    }

    // As an ordinary user, for whom a folder without the right to list it cannot be read.
    ASSERT_EQ(::chmod(QFile::encodeName(zamkniety).constData(), 0300), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(katalog.path()).constData(), 0777), 0);
    const int kod = runInChildProcess([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 10;
        QList<Store::Entry> lista;
        QString przyczyna;
        if (magazyn.readDirectory(zamkniety, lista, przyczyna))
            return 11;
        return przyczyna == QStringLiteral("brak uprawnień") ? 0 : 12;
    });
    ::chmod(QFile::encodeName(zamkniety).constData(), 0755);
    EXPECT_EQ(kod, 0);
}

// The year list asks the store whether the year was opened in its own data directory; a file
// among the tables that does not open is told from a damaged table of ours by the store.
TEST_F(StoreSeamTest, TheYearListAndTheCheckForATableOfOursAskTheStore)
{
    {
        QFile obcy(R + QStringLiteral("2025/PLIK.DB"));
        ASSERT_TRUE(obcy.open(QIODevice::WriteOnly));
        obcy.write("to nie jest tabela");
    }
    WartosciProgramu wartosci;
    wartosci.katalogDanych = R;
    wartosci.listaLat = {QStringLiteral("2025")};
    Table TS;
    const WynikOtwarciaRoku wynik = OtworzRok(
        TS, R, QStringLiteral("2026"), QStringLiteral("2025"), {}, [] { return true; }, &wartosci);
    EXPECT_TRUE(wynik.zakonczone);
    EXPECT_EQ(wartosci.listaLat, (QStringList{QStringLiteral("2025"), QStringLiteral("2026")}));
    EXPECT_TRUE(kroki(QStringLiteral("canonicalPath")).contains(w(QString())));
    EXPECT_EQ(kroki(QStringLiteral("isOurTable")), QStringList{w(QStringLiteral("2025/PLIK.DB"))});
    EXPECT_EQ(wynik.kopia.pominiete.size(), 1);
    EXPECT_TRUE(wynik.kopia.bledy.isEmpty()) << wynik.kopia.bledy.join(u'\n').toStdString();
}

// A firm deleted beside an earlier one of its number takes the free name the store finds; a new
// firm given up without a name has its directory removed by the store.
TEST_F(StoreSeamTest, FirmDeletionAndAFirmGivenUpReachTheDataRootThroughTheStore)
{
    ASSERT_TRUE(QDir().mkpath(R + QStringLiteral("#IRMA001")));
    const WynikKasowania skasowana = SkasujFirme(R + QStringLiteral("FIRMA001"));
    ASSERT_TRUE(skasowana.skasowana) << skasowana.blad.toStdString();
    EXPECT_EQ(QDir::cleanPath(skasowana.katalog), w(QStringLiteral("#IRMA001-2")));
    EXPECT_EQ(kroki(QStringLiteral("renameDirectory")), QStringList{w(QStringLiteral("FIRMA001"))});

    ASSERT_TRUE(QDir().mkpath(R + QStringLiteral("BAZA")));
    Table TFIRMA;
    TFIRMA.setTableName(R + QStringLiteral("FIRMA"));
    TFIRMA.open();
    Table Table1;
    const MiejsceFirmy miejsce =
        MiejsceNowejFirmy(R, {QStringLiteral("000 Biuro")}, QStringLiteral("2025"));
    ASSERT_TRUE(miejsce.blad.isEmpty()) << miejsce.blad.toStdString();
    magazyn.steps.clear();
    KrokiNowejFirmy pytania;
    pytania.bezNazwy = [] { return false; };
    const WynikNowejFirmy nowa =
        UtworzFirme(TFIRMA, Table1, miejsce, R, QStringLiteral("2025"), pytania);
    EXPECT_TRUE(nowa.zaniechana);
    EXPECT_EQ(kroki(QStringLiteral("makeDirectory")),
              QStringList{QDir::cleanPath(miejsce.katalog)});
    EXPECT_EQ(kroki(QStringLiteral("removeDirectory")),
              QStringList{QDir::cleanPath(miejsce.katalog)});
    EXPECT_FALSE(QFileInfo::exists(miejsce.katalog));
}

} // namespace
} // namespace rawen::test
