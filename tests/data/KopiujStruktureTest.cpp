#include "data/KopiujStrukture.h"

#include "data/Table.h"
#include "platform/EngineError.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace rawen::test {
namespace {

const QList<FieldDef> &wzorPola()
{
    static const QList<FieldDef> pola{{QStringLiteral("NR"), ftInteger, 0, true},
                                      {QStringLiteral("NR1"), ftInteger, 0, false},
                                      {QStringLiteral("NR2"), ftString, 6, false},
                                      {QStringLiteral("NAZWA"), ftString, 20, true},
                                      {QStringLiteral("KWOTA"), ftCurrency, 0, false},
                                      {QStringLiteral("DATA"), ftDate, 0, false}};
    return pola;
}

const QList<IndexDef> &wzorIndeksy()
{
    static const QList<IndexDef> indeksy{
        {QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
        {QStringLiteral("NAZWA"), QStringLiteral("NAZWA;NR1"), ixCaseInsensitive},
        {QStringLiteral("NR2"), QStringLiteral("NR2"), ixUnique}};
    return indeksy;
}

const QList<QStringList> &wzorRekordy()
{
    static const QList<QStringList> rekordy{
        {"1", "10", "A1", "Zeta", "12.5", "2005-01-31"},
        {"2", "20", "A2", "alfa", "", "2005-02-28"},
        {"3", "", "A3", "Beta", "-0.01", ""},
        {"4", "40", "A4", "ALFA", "1000000", "2005-12-31"},
    };
    return rekordy;
}

QByteArray bajty(const QString &sciezka)
{
    QFile plik(sciezka);
    return plik.open(QIODevice::ReadOnly) ? plik.readAll() : QByteArray("<brak>");
}

class KopiujStruktureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        makeTable(sciezkaWzoru(), wzorPola(), wzorIndeksy(), wzorRekordy());
        wzor.setTableName(sciezkaWzoru());
        wzor.open();
    }

    QString sciezkaWzoru() const { return katalog.filePath(QStringLiteral("WZOR.DB")); }
    QString cel() const { return katalog.filePath(QStringLiteral("ROK/NOWA.DB")); }

    QTemporaryDir katalog;
    ScriptedMessageBoxes okna;
    Table wzor;
};

// Reads the new table cold, as another program would.
struct Kopia
{
    QList<FieldDef> pola;
    QList<IndexDef> indeksy;
    QList<QStringList> rekordy;
};

Kopia czytaj(const QString &sciezka)
{
    Table t;
    t.setTableName(sciezka);
    t.open();
    return {t.fieldDefs(), t.indexDefs(), readAll(t)};
}

QList<FieldDef> bezWymaganych(QList<FieldDef> pola)
{
    for (FieldDef &p : pola)
        p.required = false;
    return pola;
}

TEST_F(KopiujStruktureTest, AnythingAtTheTargetIsLeftAsItWas)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("ROK")));
    struct Przypadek
    {
        const char *nazwa;
        std::function<void(const QString &)> przygotuj;
        QString sciezka;
    };
    const QString pusty = katalog.filePath(QStringLiteral("ROK/PUSTY.DB"));
    const QString tekst = katalog.filePath(QStringLiteral("ROK/TEKST.DB"));
    const QString tabela = katalog.filePath(QStringLiteral("ROK/TABELA.DB"));
    const QList<Przypadek> przypadki{
        {"empty file",
         [](const QString &p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         pusty},
        {"text file",
         [](const QString &p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("nie tabela\r\n");
         },
         tekst},
        {"table",
         [](const QString &p) {
             makeTable(p, {{QStringLiteral("X"), ftString, 5, false}}, {}, {{"stare"}});
         },
         tabela},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        p.przygotuj(p.sciezka);
        const QByteArray przed = bajty(p.sciezka);
        for (bool rekordy : {false, true})
            EXPECT_FALSE(KopiujStrukture(wzor, p.sciezka, rekordy, QStringLiteral("NR")));
        EXPECT_EQ(bajty(p.sciezka), przed);
    }
    // The same name in other letter case is the same file for the program.
    EXPECT_FALSE(
        KopiujStrukture(wzor, katalog.filePath(QStringLiteral("ROK/tabela.db")), true, {}));
    EXPECT_TRUE(okna.shown().isEmpty());
    EXPECT_EQ(
        QDir(katalog.filePath(QStringLiteral("ROK"))).entryList(QDir::Files | QDir::Hidden).size(),
        3);
}

TEST_F(KopiujStruktureTest, WithoutRecordsTheTableIsEmptyAndTheListIgnored)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("ROK")));
    ASSERT_TRUE(KopiujStrukture(wzor, cel(), false, QStringLiteral("NR;NIEMA")));
    const Kopia kopia = czytaj(cel());
    EXPECT_EQ(kopia.pola, bezWymaganych(wzorPola()));
    EXPECT_EQ(kopia.indeksy, wzorIndeksy());
    EXPECT_TRUE(kopia.rekordy.isEmpty());
}

TEST_F(KopiujStruktureTest, RecordsAreCopiedWithTheListedFieldsEmptied)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("ROK")));
    struct Przypadek
    {
        QString lista;
        QList<int> puste; // positions emptied
    };
    const QList<Przypadek> przypadki{
        {QString(), {}},
        {QStringLiteral("NR;NR1;NR2"), {0, 1, 2}},
        {QStringLiteral("kwota;"),
         {4}}, // names are matched whatever their case; ";" at the end names nothing
        {QStringLiteral("DATA;DATA"), {5}},
    };
    int n = 0;
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.lista.toStdString());
        const QString sciezka = katalog.filePath(QStringLiteral("ROK/K%1.DB").arg(n++));
        ASSERT_TRUE(KopiujStrukture(wzor, sciezka, true, p.lista));
        const Kopia kopia = czytaj(sciezka);
        EXPECT_EQ(kopia.pola, bezWymaganych(wzorPola()));
        EXPECT_EQ(kopia.indeksy, wzorIndeksy());
        QList<QStringList> oczekiwane = wzorRekordy();
        for (QStringList &r : oczekiwane)
            for (int i : p.puste)
                r[i].clear();
        // Read in primary order; with NR emptied every key is empty and the records keep the
        // order they were stored in, which is the model's.
        EXPECT_EQ(kopia.rekordy, oczekiwane);
        EXPECT_FALSE(QFile::exists(sciezka + QStringLiteral("-journal")));
    }
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(KopiujStruktureTest, EmptiedUniqueKeysStillLetTheCopyBeWrittenAndRead)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("ROK")));
    ASSERT_TRUE(KopiujStrukture(wzor, cel(), true, QStringLiteral("NR2")));
    Table kopia;
    kopia.setTableName(cel());
    kopia.open();
    kopia.setIndexName(QStringLiteral("NR2"));
    EXPECT_EQ(kopia.recordCount(), 4);
    kopia.append();
    kopia.fieldByName(QStringLiteral("NR")).setAsString(QStringLiteral("5"));
    kopia.fieldByName(QStringLiteral("NR2")).setAsString(QStringLiteral("B1"));
    kopia.post();
    kopia.append();
    kopia.fieldByName(QStringLiteral("NR")).setAsString(QStringLiteral("6"));
    kopia.fieldByName(QStringLiteral("NR2")).setAsString(QStringLiteral("B1"));
    EXPECT_THROW(kopia.post(), EngineError); // the unique index was built again
}

TEST_F(KopiujStruktureTest, AModelSeenThroughAViewGivesAllRecordsAndKeepsItsView)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("ROK")));
    makeTable(katalog.filePath(QStringLiteral("MASTER.DB")),
              {{QStringLiteral("ID"), ftInteger, 0, false}},
              {{QString(), QStringLiteral("ID"), ixPrimary | ixUnique}}, {{"10"}, {"20"}});
    Table master;
    master.setTableName(katalog.filePath(QStringLiteral("MASTER.DB")));
    master.open();

    struct Przypadek
    {
        const char *nazwa;
        std::function<void()> ustaw;
    };
    const QList<Przypadek> przypadki{
        {"secondary index", [&] { wzor.setIndexName(QStringLiteral("NAZWA")); }},
        {"filter",
         [&] {
             wzor.setFilter(QStringLiteral("NR > 3"));
             wzor.setFiltered(true);
         }},
        {"range", [&] { wzor.setRange({2}, {2}); }},
        {"master link",
         [&] {
             wzor.setIndexName(QStringLiteral("NAZWA"));
             wzor.setMasterSource(&master, QStringLiteral("ID"));
         }},
    };
    int n = 0;
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        wzor.setMasterSource(nullptr);
        wzor.setFiltered(false);
        wzor.setIndexName(QString());
        p.ustaw();
        wzor.first();
        wzor.next();
        const qint64 miejsce = wzor.bookmark();
        const qint64 widoczne = wzor.recordCount();
        const bool filtr = wzor.filtered();
        const QString indeks = wzor.indexName();
        const bool zakres = wzor.hasRange();
        Table *const nadrzedna = wzor.masterSource();

        const QString sciezka = katalog.filePath(QStringLiteral("ROK/W%1.DB").arg(n++));
        ASSERT_TRUE(KopiujStrukture(wzor, sciezka, true, QString()));
        EXPECT_EQ(czytaj(sciezka).rekordy.size(), wzorRekordy().size());

        EXPECT_EQ(wzor.filtered(), filtr);
        EXPECT_EQ(wzor.indexName(), indeks);
        EXPECT_EQ(wzor.hasRange(), zakres);
        EXPECT_EQ(wzor.masterSource(), nadrzedna);
        EXPECT_EQ(wzor.recordCount(), widoczne);
        EXPECT_EQ(wzor.bookmark(), miejsce);
    }
}

TEST_F(KopiujStruktureTest, ANameThatIsNoFieldRaisesBeforeAnythingIsMade)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("ROK")));
    try {
        (void)KopiujStrukture(wzor, cel(), true, QStringLiteral("NR;NIEMA"));
        ADD_FAILURE() << "no error";
    } catch (const EngineError &e) {
        EXPECT_EQ(e.kind(), EngineError::NoSuchField);
    }
    EXPECT_FALSE(QFile::exists(cel()));
}

TEST_F(KopiujStruktureTest, FailuresLeaveNoTableBehind)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("ROK")));
    struct Przypadek
    {
        const char *nazwa;
        EngineOp operacja;
        bool rekordy;
        QString lista;
        bool komunikat; // "Nie mozna utworzyć tabeli" shown
    };
    const QList<Przypadek> przypadki{
        {"create", EngineOp::Create, false, {}, true},
        {"copy", EngineOp::Copy, true, {}, true}, // reported for the model's file
        {"open of the copy", EngineOp::Open, true, QStringLiteral("NR"), false},
        {"emptying", EngineOp::EmptyFields, true, QStringLiteral("NR"), false},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const qsizetype przed = okna.shown().size();
        {
            FaultPlan awaria(Session::defaultSession(), p.operacja, 1,
                             p.operacja == EngineOp::Copy ? QStringLiteral("WZOR")
                                                          : QStringLiteral("NOWA"));
            EXPECT_FALSE(KopiujStrukture(wzor, cel(), p.rekordy, p.lista));
            EXPECT_TRUE(awaria.fired());
        }
        EXPECT_FALSE(QFile::exists(cel()));
        EXPECT_EQ(
            QDir(katalog.filePath(QStringLiteral("ROK"))).entryList(QDir::Files | QDir::Hidden),
            QStringList());
        if (p.komunikat) {
            ASSERT_EQ(okna.shown().size(), przed + 1);
            EXPECT_EQ(okna.shown().last().caption, QStringLiteral("Błąd"));
            EXPECT_EQ(okna.shown().last().text, QStringLiteral("Nie mozna utworzyć tabeli"));
            EXPECT_EQ(okna.shown().last().buttons, MessageBoxes::Buttons::Ok);
        } else {
            EXPECT_EQ(okna.shown().size(), przed);
        }
        // The model is untouched and still usable.
        EXPECT_EQ(readAll(wzor), wzorRekordy());
    }
}

TEST_F(KopiujStruktureTest, AMissingTargetDirectoryIsReported)
{
    EXPECT_FALSE(KopiujStrukture(wzor, katalog.filePath(QStringLiteral("BRAK/NOWA.DB")), true, {}));
    EXPECT_FALSE(
        KopiujStrukture(wzor, katalog.filePath(QStringLiteral("BRAK/NOWA.DB")), false, {}));
    EXPECT_EQ(okna.texts(), QStringList(2, QStringLiteral("Nie mozna utworzyć tabeli")));
}

} // namespace
} // namespace rawen::test
