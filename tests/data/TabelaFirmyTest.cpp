#include "data/TabelaFirmy.h"

#include "data/EngineError.h"
#include "data/Table.h"
#include "support/FixedAppContext.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

TEST_F(TabelaFirmyTest, MigrationDeletesStructureFileAndOldCompanionsOnly)
{
    utworzStara(starePola(), {{{"NR", "1"}}});
    for (const char *nazwa : {"Firma.str", "FIRMA.PX", "RAWEN.STR", ".FIRMA-nowa.DB"}) {
        QFile plik(sciezka(QString::fromLatin1(nazwa)));
        ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
        plik.write("stare");
    }
    otworz();
    AktualizujTabeleFirmy(tabela);
    oczekujNowegoUkladu();
    EXPECT_EQ(tabela.recordCount(), 1);
    EXPECT_EQ(pliki(), (QStringList{QStringLiteral("FIRMA.DB"), QStringLiteral("RAWEN.STR")}));
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
        const char *filtr;
        QStringList okna;
    };
    const QList<Przypadek> przypadki = {
        {EngineOp::Create, 1, "nowa", {}},
        {EngineOp::Open, 1, "nowa", {}},
        {EngineOp::Append, 2, "nowa", {}},
        {EngineOp::Write, 70, "nowa", {}},
        {EngineOp::Post, 2, "nowa", {QStringLiteral("Błąd zapisu")}},
        {EngineOp::Flush, 3, "nowa", {}},
        {EngineOp::Replace, 1, "", {}},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(int(p.op));
        tabela.close();
        utworzStara(pola, rekordy);
        QFile(sciezka(QStringLiteral("FIRMA.STR"))).open(QIODevice::WriteOnly);
        const QByteArray przed = zawartosc(sciezka(QStringLiteral("FIRMA.DB")));
        const QStringList plikiPrzed = pliki();
        const qsizetype oknaPrzed = okna.shown().size();
        otworz();
        {
            FaultPlan plan(sesja, p.op, p.ktora, QString::fromLatin1(p.filtr));
            try {
                AktualizujTabeleFirmy(tabela);
                ADD_FAILURE() << "no error raised";
            } catch (const BladPrzebudowyTabeliFirmy &blad) {
                EXPECT_TRUE(blad.message().contains(QStringLiteral("FIRMA.DB")));
                EXPECT_TRUE(blad.message().contains(QStringLiteral("bez zmian")));
                EXPECT_TRUE(blad.message().contains(QStringLiteral("wstrzyknięty błąd")) ||
                            p.op == EngineOp::Post);
            }
            EXPECT_TRUE(plan.fired());
        }
        EXPECT_EQ(okna.texts().mid(oknaPrzed), p.okna);
        EXPECT_EQ(zawartosc(sciezka(QStringLiteral("FIRMA.DB"))), przed);
        EXPECT_EQ(pliki(), plikiPrzed);
        ASSERT_TRUE(tabela.isOpen());
        EXPECT_EQ(tabela.fieldDefs(), pola);
        EXPECT_EQ(tabela.field(0).asString(), QStringLiteral("1"));
        EXPECT_EQ(readAll(tabela), stareRekordy);
    }
}

} // namespace
} // namespace rawen::test
