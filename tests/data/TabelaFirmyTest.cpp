#include "data/TabelaFirmy.h"

#include "data/Table.h"
#include "platform/EngineError.h"
#include "support/FixedAppContext.h"
#include "support/OtherProgram.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

namespace rawen::test {
namespace {

using Wartosci = QMap<QString, QString>;

FieldDef tekst(const char *name, int size)
{
    return {QString::fromLatin1(name), ftString, size, false};
}

FieldDef pole(const char *name, TFieldType type)
{
    return {QString::fromLatin1(name), type, 0, false};
}

// An older firm table: the account number split in three, the archive settings in the spare
// fields, and one name in another case than the current layout's.
QList<FieldDef> starePola(const QStringList &bez = {}, const QList<FieldDef> &dodatkowe = {})
{
    const QList<FieldDef> wszystkie = {
        pole("NR", ftInteger),   tekst("DR", 40),          tekst("NIP", 13),
        tekst("SKROT", 50),      tekst("NAZWA1", 50),      tekst("BANK", 40),
        tekst("BANK2", 40),      tekst("ZAPAS1", 50),      tekst("NUM1", 2),
        tekst("NUM2", 8),        tekst("NUM3", 20),        tekst("Urzad", 50),
        tekst("KAPITAL", 30),    tekst("ZAPAS2", 50),      pole("ZAPAS3", ftInteger),
        pole("ZAPAS4", ftFloat), pole("DRTYP", ftInteger), pole("DRPODZIAL", ftBoolean),
        pole("LOGO", ftBoolean),
    };
    QList<FieldDef> pola;
    for (const FieldDef &f : wszystkie) {
        if (!bez.contains(f.name))
            pola << f;
    }
    return pola + dodatkowe;
}

const QList<IndexDef> kStareIndeksy = {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};

QStringList rekord(const QList<FieldDef> &pola, const Wartosci &wartosci)
{
    QStringList r;
    for (const FieldDef &f : pola)
        r << wartosci.value(f.name);
    return r;
}

// A record of the current layout: the given values, every other field empty.
QStringList nowyRekord(const Wartosci &wartosci)
{
    return rekord(PolaTabeliFirmy(), wartosci);
}

QByteArray zawartosc(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

AppContext wKatalogu(const QString &katalog)
{
    AppContext context;
    context.currentDirectory = katalog;
    return context;
}

class TabelaFirmyTest : public ::testing::Test
{
protected:
    QString sciezka(const QString &nazwa) const { return QDir(dir.path()).filePath(nazwa); }
    QStringList pliki() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    void utworzStara(const QList<FieldDef> &pola, const QList<Wartosci> &rekordy)
    {
        QList<QStringList> wiersze;
        for (const Wartosci &w : rekordy)
            wiersze << rekord(pola, w);
        makeTable(sciezka(QStringLiteral("FIRMA.DB")), pola, kStareIndeksy, wiersze, &sesja);
    }
    void otworz()
    {
        tabela.setTableName(QStringLiteral("FIRMA"));
        tabela.open();
    }
    void oczekujNowegoUkladu()
    {
        ASSERT_TRUE(tabela.isOpen());
        EXPECT_EQ(tabela.fieldDefs(), PolaTabeliFirmy());
        EXPECT_EQ(tabela.indexDefs(), IndeksyTabeliFirmy());
    }

    QTemporaryDir dir;
    FixedAppContext kontekst{wKatalogu(dir.path())};
    ScriptedMessageBoxes okna;
    Session sesja{QStringLiteral("SESJA")};
    Table tabela{&sesja};
};

TEST_F(TabelaFirmyTest, OldRecordBecomesARowOfTheCurrentLayout)
{
    const FieldDef archdata = tekst("ARCHDATA", 10);
    const FieldDef archdni = pole("ARCHDNI", ftInteger);
    struct Przypadek
    {
        const char *opis;
        QList<FieldDef> pola;
        Wartosci stare;
        Wartosci nowe;
    };
    const QList<Przypadek> przypadki = {
        {"fields carried by name, whatever their type or case",
         starePola(),
         {{"NR", "7"},
          {"DR", "C:\\FIRMY\\"},
          {"NIP", "123-456-78-90"},
          {"SKROT", "Alfa"},
          {"NAZWA1", "Alfa Sp. z o.o."},
          {"BANK", "PKO BP"},
          {"Urzad", "US Kraków-Śródmieście"},
          {"KAPITAL", "50 000 zł"},
          {"DRTYP", "3"},
          {"DRPODZIAL", "True"},
          {"LOGO", "False"},
          {"ZAPAS4", "1234.56"}},
         {{"NR", "7"},
          {"DR", "C:\\FIRMY\\"},
          {"NIP", "123-456-78-90"},
          {"SKROT", "Alfa"},
          {"NAZWA1", "Alfa Sp. z o.o."},
          {"BANK", "PKO BP"},
          {"URZAD", "US Kraków-Śródmieście"},
          {"KAPITAL", "50 000 zł"},
          {"DRTYP", "3"},
          {"DRPODZIAL", "True"},
          {"LOGO", "False"},
          {"ZAPAS4", "1234.56"}}},
        {"account number joined from three fields; the second account is not carried",
         starePola(),
         {{"NR", "1"},
          {"NUM1", "12"},
          {"NUM2", "34567890"},
          {"NUM3", "1234"},
          {"BANK2", "Drugi bank"}},
         {{"NR", "1"}, {"NUM1", "12 3456 7890 1234"}}},
        {"account number empty when NUM3 is missing",
         starePola({QStringLiteral("NUM3")}),
         {{"NR", "1"}, {"NUM1", "12"}, {"NUM2", "34567890"}},
         {{"NR", "1"}}},
        {"account number without its last part",
         starePola(),
         {{"NR", "1"}, {"NUM1", "12"}, {"NUM2", "34567890"}},
         {{"NR", "1"}, {"NUM1", "12 3456 7890"}}},
        {"bank address from ZAPAS1",
         starePola(),
         {{"NR", "1"}, {"ZAPAS1", "ul. Bankowa 1"}},
         {{"NR", "1"}, {"ADRES1", "ul. Bankowa 1"}, {"ZAPAS1", "ul. Bankowa 1"}}},
        {"archive date from ZAPAS2 when there is no ARCHDATA",
         starePola(),
         {{"NR", "1"}, {"ZAPAS2", "2003.05.01"}},
         {{"NR", "1"}, {"ARCHDATA", "2003.05.01"}, {"ZAPAS2", "2003.05.01"}}},
        {"a filled ARCHDATA wins over ZAPAS2",
         starePola({}, {archdata}),
         {{"NR", "1"}, {"ZAPAS2", "2001.01.01"}, {"ARCHDATA", "2004.02.02"}},
         {{"NR", "1"}, {"ARCHDATA", "2004.02.02"}, {"ZAPAS2", "2001.01.01"}}},
        {"an empty ARCHDATA leaves ZAPAS2's date",
         starePola({}, {archdata}),
         {{"NR", "1"}, {"ZAPAS2", "2001.01.01"}},
         {{"NR", "1"}, {"ARCHDATA", "2001.01.01"}, {"ZAPAS2", "2001.01.01"}}},
        {"ARCHDATA kept when there is no ZAPAS2",
         starePola({QStringLiteral("ZAPAS2")}, {archdata}),
         {{"NR", "1"}, {"ARCHDATA", "2004.02.02"}},
         {{"NR", "1"}, {"ARCHDATA", "2004.02.02"}}},
        {"archive period from ZAPAS3",
         starePola(),
         {{"NR", "1"}, {"ZAPAS3", "30"}},
         {{"NR", "1"}, {"ARCHDNI", "30"}, {"ZAPAS3", "30"}}},
        {"a filled ARCHDNI wins over ZAPAS3",
         starePola({}, {archdni}),
         {{"NR", "1"}, {"ZAPAS3", "30"}, {"ARCHDNI", "14"}},
         {{"NR", "1"}, {"ARCHDNI", "14"}, {"ZAPAS3", "30"}}},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.opis);
        tabela.close();
        utworzStara(p.pola, {p.stare});
        otworz();
        AktualizujTabeleFirmy(tabela);
        oczekujNowegoUkladu();
        EXPECT_EQ(readAll(tabela), QList<QStringList>{nowyRekord(p.nowe)});
    }
}

TEST_F(TabelaFirmyTest, CarriesEveryRecordAndLeavesTheHandleOnTheFirst)
{
    utworzStara(starePola(), {{{"NR", "3"}, {"SKROT", "Gamma"}, {"ZAPAS3", "7"}},
                              {{"NR", "1"}},
                              {{"NR", "2"}, {"SKROT", "Beta"}, {"LOGO", "True"}}});
    otworz();
    tabela.next();
    AktualizujTabeleFirmy(tabela);
    oczekujNowegoUkladu();
    EXPECT_EQ(tabela.field(0).asString(), QStringLiteral("1"));
    EXPECT_EQ(
        readAll(tabela),
        (QList<QStringList>{
            nowyRekord({{"NR", "1"}}),
            nowyRekord({{"NR", "2"}, {"SKROT", "Beta"}, {"LOGO", "True"}}),
            nowyRekord({{"NR", "3"}, {"SKROT", "Gamma"}, {"ZAPAS3", "7"}, {"ARCHDNI", "7"}})}));
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(TabelaFirmyTest, OldTableWithoutRecordsBecomesEmptyCurrentTable)
{
    utworzStara(starePola(), {});
    otworz();
    AktualizujTabeleFirmy(tabela);
    oczekujNowegoUkladu();
    EXPECT_EQ(tabela.recordCount(), 0);
    EXPECT_TRUE(tabela.isEmpty());
}

TEST_F(TabelaFirmyTest, TableWithAtLeastAsManyFieldsIsNotTouched)
{
    for (int liczba : {68, 70}) {
        SCOPED_TRACE(liczba);
        tabela.close();
        QList<FieldDef> pola;
        for (int i = 1; i <= liczba; ++i)
            pola << FieldDef{QStringLiteral("P%1").arg(i), ftString, 5, false};
        makeTable(sciezka(QStringLiteral("FIRMA.DB")), pola, {}, {{"a"}, {"b"}}, &sesja);
        QFile(sciezka(QStringLiteral("FIRMA.STR"))).open(QIODevice::WriteOnly);
        const QByteArray przed = zawartosc(sciezka(QStringLiteral("FIRMA.DB")));
        const QStringList plikiPrzed = pliki();
        otworz();
        tabela.next();
        AktualizujTabeleFirmy(tabela);
        EXPECT_TRUE(tabela.isOpen());
        EXPECT_EQ(tabela.fieldDefs(), pola);
        EXPECT_EQ(tabela.field(0).asString(), QStringLiteral("b"));
        EXPECT_EQ(zawartosc(sciezka(QStringLiteral("FIRMA.DB"))), przed);
        EXPECT_EQ(pliki(), plikiPrzed);
    }
}

TEST_F(TabelaFirmyTest, ClosedHandleInNewDirectoryGetsEmptyOpenTable)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("FIRMA004")));
    const QString katalog = sciezka(QStringLiteral("FIRMA004"));
    tabela.setTableName(katalog + QStringLiteral("/FIRMA"));
    AktualizujTabeleFirmy(tabela);
    oczekujNowegoUkladu();
    EXPECT_EQ(tabela.fieldCount(), 68);
    EXPECT_EQ(tabela.recordCount(), 0);
    EXPECT_EQ(QDir(katalog).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("FIRMA.DB")});

    Table zimna;
    zimna.setTableName(katalog + QStringLiteral("/FIRMA.DB"));
    zimna.updateFieldDefs();
    zimna.updateIndexDefs();
    EXPECT_EQ(zimna.fieldDefs(), PolaTabeliFirmy());
    EXPECT_EQ(zimna.indexDefs(), IndeksyTabeliFirmy());
}

TEST_F(TabelaFirmyTest, ClosedHandleStaysClosedWhenTheTableCannotBeMade)
{
    for (EngineOp op : {EngineOp::Create, EngineOp::Open}) {
        SCOPED_TRACE(int(op));
        QFile::remove(sciezka(QStringLiteral("FIRMA.DB")));
        tabela.setTableName(QStringLiteral("FIRMA"));
        FaultPlan plan(sesja, op);
        AktualizujTabeleFirmy(tabela);
        EXPECT_TRUE(plan.fired());
        EXPECT_FALSE(tabela.isOpen());
        EXPECT_TRUE(tabela.fieldDefs().isEmpty());
    }
}

// The older engine's files describe a table that is gone; the structure file stays until the
// open that upgraded the table writes the new one over it.
TEST_F(TabelaFirmyTest, MigrationRemovesTheOldEnginesCompanionsAndLeftoversOnly)
{
    utworzStara(starePola(), {{{"NR", "1"}}});
    // What an interrupted upgrade of an earlier version left, long ago.
    for (const char *nazwa : {"Firma.str", "FIRMA.PX", "RAWEN.STR", ".FIRMA-nowa.DB",
                              ".FIRMA-nowa.DB.a1B2c3", ".FIRMA-nowa.DB.a1B2c3-journal"}) {
        QFile plik(sciezka(QString::fromLatin1(nazwa)));
        ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
        plik.write("stare");
        plik.flush();
        ASSERT_TRUE(plik.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                     QFileDevice::FileModificationTime));
    }
    otworz();
    AktualizujTabeleFirmy(tabela);
    oczekujNowegoUkladu();
    EXPECT_EQ(tabela.recordCount(), 1);
    EXPECT_EQ(pliki(), (QStringList{QStringLiteral("FIRMA.DB"), QStringLiteral("Firma.str"),
                                    QStringLiteral("RAWEN.STR")}));
}

TEST_F(TabelaFirmyTest, FailedRebuildKeepsTheOldTableWhole)
{
    const QList<FieldDef> pola = starePola();
    const QList<Wartosci> rekordy = {{{"NR", "1"}, {"SKROT", "Alfa"}, {"NUM1", "12"}},
                                     {{"NR", "2"}, {"SKROT", "Beta"}, {"ZAPAS3", "30"}},
                                     {{"NR", "3"}, {"SKROT", "Gamma"}}};
    QList<QStringList> stareRekordy;
    for (const Wartosci &w : rekordy)
        stareRekordy << rekord(pola, w);
    struct Przypadek
    {
        EngineOp op;
        int ktora;
    };
    // Before the rebuild begins, at the first and the last record, and at the commit.
    const QList<Przypadek> przypadki = {
        {EngineOp::Create, 1},
        {EngineOp::Append, 1},
        {EngineOp::Append, 3},
        {EngineOp::Flush, 1},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(testing::Message() << int(p.op) << " #" << p.ktora);
        tabela.close();
        utworzStara(pola, rekordy);
        QFile(sciezka(QStringLiteral("FIRMA.STR"))).open(QIODevice::WriteOnly);
        const QByteArray przed = zawartosc(sciezka(QStringLiteral("FIRMA.DB")));
        const QStringList plikiPrzed = pliki();
        otworz();
        {
            FaultPlan plan(sesja, p.op, p.ktora);
            try {
                AktualizujTabeleFirmy(tabela);
                ADD_FAILURE() << "no error raised";
            } catch (const BladPrzebudowyTabeliFirmy &blad) {
                EXPECT_TRUE(blad.message().contains(QStringLiteral("FIRMA.DB")));
                EXPECT_TRUE(blad.message().contains(QStringLiteral("bez zmian")));
                EXPECT_TRUE(blad.message().contains(QStringLiteral("Wstrzyknięty błąd")));
            }
            EXPECT_TRUE(plan.fired());
        }
        EXPECT_TRUE(okna.shown().isEmpty());
        EXPECT_EQ(zawartosc(sciezka(QStringLiteral("FIRMA.DB"))), przed);
        EXPECT_EQ(pliki(), plikiPrzed);
        ASSERT_TRUE(tabela.isOpen());
        EXPECT_EQ(tabela.fieldDefs(), pola);
        EXPECT_EQ(tabela.field(0).asString(), QStringLiteral("1"));
        EXPECT_EQ(readAll(tabela), stareRekordy);
    }
}

// The other program's record, committed while the upgrade runs, must be in the upgraded table:
// the upgrade holds the table's write lock from its first read to its commit, so the other
// program waits (here: is refused, as it asks not to wait) and writes afterwards, into the same
// file, which every connection then sees in the new layout.
TEST_F(TabelaFirmyTest, AnotherProgramsRecordIsNeitherLostDuringNorAfterTheUpgrade)
{
    utworzStara(starePola(), {{{"NR", "1"}, {"SKROT", "Alfa"}}, {{"NR", "2"}, {"SKROT", "Beta"}}});
    OtherProgram inny(sciezka(QStringLiteral("FIRMA.DB")));
    ASSERT_EQ(inny.scalar(QStringLiteral("SELECT count(*) FROM records")).toInt(), 2);
    otworz();

    int wTrakcie = -1;
    sesja.setFaultHook([&](EngineOp op, const QString &) {
        if (op == EngineOp::Append && wTrakcie < 0)
            wTrakcie =
                inny.exec(QStringLiteral("INSERT INTO records(NR, SKROT) VALUES(3, 'W trakcie')"));
    });
    AktualizujTabeleFirmy(tabela);
    sesja.setFaultHook({});
    EXPECT_EQ(wTrakcie, SQLITE_BUSY);
    oczekujNowegoUkladu();

    // The program that had the table open all along goes on writing, into the upgraded file.
    EXPECT_EQ(inny.exec(QStringLiteral("INSERT INTO records(NR, SKROT) VALUES(3, 'Po')")),
              SQLITE_OK)
        << inny.lastError().toStdString();
    Table swieza;
    swieza.setTableName(sciezka(QStringLiteral("FIRMA.DB")));
    swieza.open();
    EXPECT_EQ(swieza.fieldDefs(), PolaTabeliFirmy());
    EXPECT_EQ(readAll(swieza), (QList<QStringList>{nowyRekord({{"NR", "1"}, {"SKROT", "Alfa"}}),
                                                   nowyRekord({{"NR", "2"}, {"SKROT", "Beta"}}),
                                                   nowyRekord({{"NR", "3"}, {"SKROT", "Po"}})}));
    EXPECT_EQ(integrityCheck(sciezka(QStringLiteral("FIRMA.DB"))), QStringLiteral("ok"));
    EXPECT_EQ(pliki(), QStringList{QStringLiteral("FIRMA.DB")});
}

TEST_F(TabelaFirmyTest, AnUpgradeIsPutOffWhileAnotherProgramHoldsTheTable)
{
    utworzStara(starePola(), {{{"NR", "1"}, {"SKROT", "Alfa"}}});
    sesja.setLockTimeout(100);
    OtherProgram inny(sciezka(QStringLiteral("FIRMA.DB")));
    otworz();
    ASSERT_EQ(inny.exec(QStringLiteral("BEGIN IMMEDIATE; INSERT INTO records(NR, SKROT) "
                                       "VALUES(2, 'Obca')")),
              SQLITE_OK);
    try {
        AktualizujTabeleFirmy(tabela);
        ADD_FAILURE() << "no error raised";
    } catch (const BladPrzebudowyTabeliFirmy &blad) {
        EXPECT_TRUE(blad.message().contains(QStringLiteral("używana przez inny program")));
        EXPECT_TRUE(blad.message().contains(QStringLiteral("przy następnym uruchomieniu")));
    }
    ASSERT_TRUE(tabela.isOpen());
    EXPECT_EQ(tabela.fieldDefs(), starePola());

    // Once the other program is done, the next open upgrades the table with its record.
    ASSERT_EQ(inny.exec(QStringLiteral("COMMIT")), SQLITE_OK);
    tabela.close();
    otworz();
    AktualizujTabeleFirmy(tabela);
    oczekujNowegoUkladu();
    EXPECT_EQ(readAll(tabela), (QList<QStringList>{nowyRekord({{"NR", "1"}, {"SKROT", "Alfa"}}),
                                                   nowyRekord({{"NR", "2"}, {"SKROT", "Obca"}})}));
}

// Nothing a column of the file holds is dropped: a column the new layout does not know is carried
// as it is, and a description that leaves out columns the new layout has stops the upgrade.
TEST_F(TabelaFirmyTest, EveryColumnTheFileHoldsIsCarriedOrTheUpgradeIsRefused)
{
    {
        SCOPED_TRACE("a column of another tool");
        utworzStara(starePola(), {{{"NR", "1"}, {"SKROT", "Alfa"}}});
        OtherProgram narzedzie(sciezka(QStringLiteral("FIRMA.DB")));
        ASSERT_EQ(narzedzie.exec(QStringLiteral("ALTER TABLE records ADD COLUMN UWAGI TEXT; "
                                                "UPDATE records SET UWAGI = 'ważne'")),
                  SQLITE_OK);
        otworz();
        AktualizujTabeleFirmy(tabela);
        oczekujNowegoUkladu();
        EXPECT_EQ(readAll(tabela),
                  QList<QStringList>{nowyRekord({{"NR", "1"}, {"SKROT", "Alfa"}})});
        EXPECT_EQ(narzedzie.scalar(QStringLiteral("SELECT UWAGI FROM records WHERE NR = 1")),
                  QVariant(QStringLiteral("ważne")));
    }
    {
        SCOPED_TRACE("a description cut short");
        tabela.close();
        makeTable(sciezka(QStringLiteral("FIRMA.DB")), PolaTabeliFirmy(), IndeksyTabeliFirmy(),
                  {nowyRekord({{"NR", "1"},
                               {"SKROT", "Alfa"},
                               {"NAZWA1", "Alfa Sp. z o.o."},
                               {"NUM1", "PL61 1090 1014"},
                               {"NUM2", "PL27 1140 2004"}})});
        QStringList krotkiOpis;
        for (int i = 0; i < 7; ++i) // NR to SKROT
            krotkiOpis << QStringLiteral("%1\t%2\t%3\t0")
                              .arg(PolaTabeliFirmy()[i].name)
                              .arg(int(PolaTabeliFirmy()[i].dataType))
                              .arg(PolaTabeliFirmy()[i].size);
        {
            OtherProgram narzedzie(sciezka(QStringLiteral("FIRMA.DB")));
            ASSERT_EQ(narzedzie.exec(QStringLiteral("UPDATE rawen_description SET fields = '%1'")
                                         .arg(krotkiOpis.join(u'\n'))),
                      SQLITE_OK);
        }
        const QByteArray przed = zawartosc(sciezka(QStringLiteral("FIRMA.DB")));
        otworz();
        ASSERT_EQ(tabela.fieldCount(), 7);
        try {
            AktualizujTabeleFirmy(tabela);
            ADD_FAILURE() << "no error raised";
        } catch (const BladPrzebudowyTabeliFirmy &blad) {
            EXPECT_TRUE(blad.message().contains(QStringLiteral("NAZWA1, NAZWA2")));
            EXPECT_TRUE(blad.message().contains(QStringLiteral("bez zmian")));
        }
        EXPECT_TRUE(tabela.isOpen());
        EXPECT_EQ(zawartosc(sciezka(QStringLiteral("FIRMA.DB"))), przed);
    }
}

// A record the new layout cannot take blocks the upgrade, and the message says which one.
TEST_F(TabelaFirmyTest, ARecordTheNewLayoutRefusesIsNamed)
{
    struct Przypadek
    {
        const char *opis;
        QList<FieldDef> pola;
        QList<IndexDef> indeksy;
        QList<Wartosci> rekordy;
        QString wKomunikacie;
    };
    const QList<Przypadek> przypadki = {
        {"the same number twice",
         starePola(),
         {},
         {{{"NR", "5"}, {"SKROT", "Alfa"}}, {{"NR", "5"}, {"SKROT", "Beta"}}},
         QStringLiteral("NR 5 (Beta)")},
        {"a value longer than its new field",
         starePola({QStringLiteral("SKROT")}, {tekst("SKROT", 60)}),
         kStareIndeksy,
         {{{"NR", "7"}, {"SKROT", QString(55, u'x')}}},
         QStringLiteral("NR 7 (%1): wartość pola SKROT ma 55 znaków").arg(QString(55, u'x'))},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.opis);
        tabela.close();
        QList<QStringList> wiersze;
        for (const Wartosci &w : p.rekordy)
            wiersze << rekord(p.pola, w);
        makeTable(sciezka(QStringLiteral("FIRMA.DB")), p.pola, p.indeksy, wiersze, &sesja);
        const QByteArray przed = zawartosc(sciezka(QStringLiteral("FIRMA.DB")));
        otworz();
        try {
            AktualizujTabeleFirmy(tabela);
            ADD_FAILURE() << "no error raised";
        } catch (const BladPrzebudowyTabeliFirmy &blad) {
            EXPECT_TRUE(blad.message().contains(p.wKomunikacie)) << blad.message().toStdString();
        }
        EXPECT_EQ(zawartosc(sciezka(QStringLiteral("FIRMA.DB"))), przed);
        EXPECT_EQ(readAll(tabela), wiersze);
    }
}

// A table shared by an office's users stays theirs: the upgrade changes the file in place, so it
// keeps its permissions whatever the umask of whoever ran it.
TEST_F(TabelaFirmyTest, TheUpgradedFileKeepsItsPermissions)
{
    utworzStara(starePola(), {{{"NR", "1"}}});
    const QString plik = sciezka(QStringLiteral("FIRMA.DB"));
    ASSERT_EQ(::chmod(QFile::encodeName(plik).constData(), 0664), 0);
    const mode_t umaska = ::umask(077);
    otworz();
    AktualizujTabeleFirmy(tabela);
    ::umask(umaska);
    oczekujNowegoUkladu();
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(plik).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
}

} // namespace
} // namespace rawen::test
