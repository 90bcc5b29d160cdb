#include "data/OtworzTabele.h"

#include "data/EngineError.h"
#include "data/PlikStruktury.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/FileNames.h"
#include "support/FixedAppContext.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace rawen::test {
namespace {

const QString kOpisFirmy = QStringLiteral("Brak danych o firmie");

AppContext kontekstW(const QString &katalog)
{
    AppContext kontekst;
    kontekst.today = QDate(2024, 3, 15);
    kontekst.executablePath = katalog + QStringLiteral("/rawen");
    kontekst.currentDirectory = katalog;
    return kontekst;
}

QString bladOtwarcia(const QString &opis, const QString &baza)
{
    return QStringLiteral("Błąd otwarcia bazy : ") + opis + QStringLiteral("\rBaza : ") + baza +
           QStringLiteral("\rUżyj polecenia Narzędzia/Naprawa indeksów.\r"
                          "Jeżeli bład się powtórzy odtwórz dane z ARCHIWUM");
}

const QString kPytanieOAtrybut =
    QStringLiteral("Uwaga baza: FIRMA.DB\rjest w trybie Tylko Do Odczytu\r"
                   "Czy zmienić automatycznie atrybut Bazy?");
const QString kAtrybutNieZmieniony =
    QStringLiteral("Próba automatycznej zmiany atrybutu niepowiodła się.\r"
                   "Proszę atrybuty bazy zmienic ręcznie.");

QByteArray bajty(const QString &sciezka)
{
    QFile plik(sciezka);
    return plik.open(QIODevice::ReadOnly) ? plik.readAll() : QByteArray("<brak>");
}

void zapisz(const QString &sciezka, const QByteArray &tresc)
{
    QFile plik(sciezka);
    ASSERT_TRUE(plik.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(plik.write(tresc), tresc.size());
}

void odbierzZapis(const QString &sciezka)
{
    const QFileDevice::Permissions zapis = QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                           QFileDevice::WriteGroup | QFileDevice::WriteOther;
    ASSERT_TRUE(QFile::setPermissions(sciezka, QFile::permissions(sciezka) & ~zapis));
    ASSERT_TRUE(isReadOnly(sciezka));
}

// A table of an old, shorter firm layout, and one of some other kind.
const QList<FieldDef> &starePolaFirmy()
{
    static const QList<FieldDef> pola{{QStringLiteral("NR"), ftInteger, 0, false},
                                      {QStringLiteral("SKROT"), ftString, 50, false},
                                      {QStringLiteral("ZAPAS2"), ftString, 50, false}};
    return pola;
}

const QList<FieldDef> &polaKontrahentow()
{
    static const QList<FieldDef> pola{
        {QStringLiteral("NR"), ftInteger, 0, true},
        {QStringLiteral("NAZWA_KONTRAHENTA_DLUZSZA_NIZ_CZTERDZIESCI_ZNAKOW"), ftString, 60, false},
        {QStringLiteral("MIEJSCOWOŚĆ"), ftString, 30, false},
        {QStringLiteral("SALDO"), ftFloat, 0, false},
        {QStringLiteral("AKTYWNY"), ftBoolean, 0, false}};
    return pola;
}

const QList<IndexDef> &indeksyKontrahentow()
{
    static const QList<IndexDef> indeksy{
        {QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
        {QStringLiteral("Miejsce"), QStringLiteral("MIEJSCOWOŚĆ;NR"), ixCaseInsensitive}};
    return indeksy;
}

class OtworzTabeleTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(katalog.isValid()); }

    QString plik(const QString &nazwa) const { return katalog.filePath(nazwa); }
    void utworzFirme()
    {
        makeTable(plik(QStringLiteral("FIRMA.DB")), PolaTabeliFirmy(), IndeksyTabeliFirmy());
    }
    QStringList plikiStruktury() const
    {
        return QDir(katalog.path()).entryList({QStringLiteral("*.STR")}, QDir::Files);
    }

    QTemporaryDir katalog;
    FixedAppContext kontekst{kontekstW(katalog.path())};
    ScriptedMessageBoxes okna;
    Session sesja{QStringLiteral("SESJA")};
    Table tabela{&sesja};
};

TEST_F(OtworzTabeleTest, AMissingTableIsExplainedOnlyWhenItHasADescription)
{
    struct Przypadek
    {
        QString nazwa;
        QString opis;
        QStringList komunikaty;
    };
    const QList<Przypadek> przypadki{
        {QStringLiteral("FIRMA"),
         kOpisFirmy,
         {bladOtwarcia(kOpisFirmy, QStringLiteral("FIRMA.DB"))}},
        {QStringLiteral("RAWEN"), QString(), {}},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa.toStdString());
        const qsizetype przed = okna.shown().size();
        EXPECT_FALSE(OtworzTabele(tabela, p.nazwa, p.opis));
        EXPECT_FALSE(tabela.isOpen());
        EXPECT_EQ(okna.texts().mid(przed), p.komunikaty);
        for (const ShownBox &okno : okna.shown().mid(przed)) {
            EXPECT_EQ(okno.icon, MessageBoxes::Icon::None);
            EXPECT_EQ(okno.buttons, MessageBoxes::Buttons::Ok);
        }
    }
    EXPECT_TRUE(
        QDir(katalog.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(OtworzTabeleTest, ADamagedFileGivesTheMessageAndNeverACrash)
{
    // A real table spread over many pages, cut in the middle.
    QList<QStringList> rekordy;
    for (int i = 1; i <= 400; ++i) {
        QStringList rekord(8);
        rekord[0] = QString::number(i);
        rekord[7] = QString(50, QLatin1Char('x'));
        rekordy << rekord;
    }
    const QString zrodlo = plik(QStringLiteral("ZRODLO.DB"));
    makeTable(zrodlo, PolaTabeliFirmy(), IndeksyTabeliFirmy(), rekordy);
    const QByteArray calaTabela = bajty(zrodlo);
    ASSERT_GT(calaTabela.size(), 8 * 4096);

    struct Przypadek
    {
        const char *nazwa;
        QByteArray tresc;
    };
    const QList<Przypadek> przypadki{
        {"text file", QByteArray("STRUKTURA ZBIORU\r\nto nie jest tabela\r\n")},
        {"zero bytes", QByteArray()},
        {"truncated table", calaTabela.left(calaTabela.size() / 2)},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        zapisz(plik(QStringLiteral("FIRMA.DB")), p.tresc);
        const qsizetype przed = okna.shown().size();
        EXPECT_FALSE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
        EXPECT_FALSE(tabela.isOpen());
        EXPECT_EQ(okna.texts().mid(przed),
                  QStringList{bladOtwarcia(kOpisFirmy, QStringLiteral("FIRMA.DB"))});
        EXPECT_FALSE(OtworzTabele(tabela, QStringLiteral("FIRMA"), QString()));
        EXPECT_EQ(okna.shown().size(), przed + 1);
        EXPECT_EQ(bajty(plik(QStringLiteral("FIRMA.DB"))), p.tresc);
        EXPECT_TRUE(plikiStruktury().isEmpty());
    }
}

TEST_F(OtworzTabeleTest, AReadOnlyTableAnsweredNoStaysOpenAndReadOnly)
{
    utworzFirme();
    zapisz(plik(QStringLiteral("FIRMA.PX")), "px");
    odbierzZapis(plik(QStringLiteral("FIRMA.DB")));
    odbierzZapis(plik(QStringLiteral("FIRMA.PX")));
    okna.answerNext(MessageBoxes::Answer::No);

    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), QString()));
    EXPECT_TRUE(tabela.isOpen());
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown()[0].text, kPytanieOAtrybut);
    EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Warning);
    EXPECT_EQ(okna.shown()[0].buttons, MessageBoxes::Buttons::YesNo);
    EXPECT_TRUE(isReadOnly(plik(QStringLiteral("FIRMA.DB"))));
    EXPECT_TRUE(isReadOnly(plik(QStringLiteral("FIRMA.PX"))));
}

TEST_F(OtworzTabeleTest, AReadOnlyTableAnsweredYesGetsEveryFileOfItsNameWritable)
{
    utworzFirme();
    const QStringList firmy{QStringLiteral("FIRMA.DB"), QStringLiteral("FIRMA.PX"),
                            QStringLiteral("firma.x01"), QStringLiteral("Firma.Mb"),
                            QStringLiteral("FIRMA.STR")};
    const QStringList inne{QStringLiteral("FIRMAX.DB"), QStringLiteral("FIRMA"),
                           QStringLiteral("STARAFIRMA.PX"), QStringLiteral(".FIRMA.PX")};
    for (const QString &nazwa : firmy + inne) {
        if (!QFile::exists(plik(nazwa)))
            zapisz(plik(nazwa), "x");
        odbierzZapis(plik(nazwa));
    }
    okna.answerNext(MessageBoxes::Answer::Yes);

    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
    EXPECT_EQ(okna.texts(), QStringList{kPytanieOAtrybut});
    for (const QString &nazwa : firmy)
        EXPECT_FALSE(isReadOnly(plik(nazwa))) << nazwa.toStdString();
    for (const QString &nazwa : inne)
        EXPECT_TRUE(isReadOnly(plik(nazwa))) << nazwa.toStdString();
    // Open again, now for writing.
    ASSERT_TRUE(tabela.isOpen());
    tabela.append();
    tabela.fieldByName(QStringLiteral("NR")).setAsInteger(1);
    EXPECT_NO_THROW(tabela.post());
}

TEST_F(OtworzTabeleTest, AnAttributeThatCannotBeClearedIsReportedPerFile)
{
    utworzFirme();
    odbierzZapis(plik(QStringLiteral("FIRMA.DB")));
    // A link to nothing has no permissions of its own to change, whoever runs the test.
    for (const QString &nazwa : {QStringLiteral("FIRMA.LNK"), QStringLiteral("FIRMA.X02")})
        ASSERT_TRUE(QFile::link(plik(QStringLiteral("brak/") + nazwa), plik(nazwa)));
    okna.answerNext(MessageBoxes::Answer::Yes);

    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), QString()));
    EXPECT_TRUE(tabela.isOpen());
    EXPECT_EQ(okna.texts(),
              (QStringList{kPytanieOAtrybut, kAtrybutNieZmieniony, kAtrybutNieZmieniony}));
    EXPECT_EQ(okna.shown()[1].icon, MessageBoxes::Icon::None);
    EXPECT_FALSE(isReadOnly(plik(QStringLiteral("FIRMA.DB"))));
}

TEST_F(OtworzTabeleTest, AFailedReopenAfterTheRepairReachesTheCaller)
{
    utworzFirme();
    odbierzZapis(plik(QStringLiteral("FIRMA.DB")));
    okna.answerNext(MessageBoxes::Answer::Yes);
    FaultPlan awaria(sesja, EngineOp::Open, 2);
    EXPECT_THROW(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy), EngineError);
    EXPECT_TRUE(awaria.fired());
    EXPECT_FALSE(tabela.isOpen());
}

// The engine opens "FIRMA" as firma.db; the attribute is judged on that file, not on a FIRMA.DB
// that is not there, so a writable table never brings the question.
TEST_F(OtworzTabeleTest, ALowerCaseFirmTableIsAskedAboutOnlyWhenItIsReadOnly)
{
    makeTable(plik(QStringLiteral("firma.db")), PolaTabeliFirmy(), IndeksyTabeliFirmy());
    const struct
    {
        bool tylkoDoOdczytu;
        QStringList komunikaty;
    } przypadki[] = {
        {false, {}},
        {true, {kPytanieOAtrybut}},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.tylkoDoOdczytu);
        if (p.tylkoDoOdczytu) {
            odbierzZapis(plik(QStringLiteral("firma.db")));
            okna.answerNext(MessageBoxes::Answer::No);
        }
        const qsizetype przed = okna.shown().size();
        EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
        EXPECT_TRUE(tabela.isOpen());
        EXPECT_EQ(okna.texts().mid(przed), p.komunikaty);
        EXPECT_EQ(plikiStruktury().size(), 1);
    }
}

TEST_F(OtworzTabeleTest, AnExistingStructureFileIsNeverTouched)
{
    utworzFirme();
    struct Przypadek
    {
        QString nazwa;
        QByteArray tresc;
    };
    const QList<Przypadek> przypadki{
        {QStringLiteral("FIRMA.STR"), QByteArray()},
        {QStringLiteral("FIRMA.STR"), QByteArray("STRUKTURA ZBIORU\r\nstara\r\n")},
        {QStringLiteral("firma.str"), QByteArray()},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa.toStdString() + " " + p.tresc.toStdString());
        zapisz(plik(p.nazwa), p.tresc);
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
        EXPECT_EQ(bajty(plik(p.nazwa)), p.tresc);
        EXPECT_EQ(plikiStruktury(), QStringList{p.nazwa});
        ASSERT_TRUE(QFile::remove(plik(p.nazwa)));
    }
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(OtworzTabeleTest, ATableWithADescriptionGetsItsStructureFileOnce)
{
    // Neither name ends in "FIRMA" as written, so neither table is taken for the firm table.
    for (const QString &nazwa : {QStringLiteral("KONTRAHI"), QStringLiteral("firma")}) {
        SCOPED_TRACE(nazwa.toStdString());
        makeTable(plik(nazwa + QStringLiteral(".DB")), polaKontrahentow(), indeksyKontrahentow(),
                  {{"1", "Pierwszy", "Łódź", "10.5", "True"}});
        EXPECT_TRUE(OtworzTabele(tabela, nazwa, QStringLiteral("Kontrahenci")));
        EXPECT_EQ(tabela.fieldDefs(), polaKontrahentow());
        EXPECT_EQ(tabela.state(), Table::dsBrowse);
        EXPECT_EQ(tabela.fieldByName(QStringLiteral("NR")).asString(), QStringLiteral("1"));
        const QString struktura = plik(nazwa + QStringLiteral(".STR"));
        EXPECT_EQ(bajty(struktura), TrescPlikuStruktury(polaKontrahentow(), indeksyKontrahentow()));
        ASSERT_TRUE(QFile::remove(struktura));
    }
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(OtworzTabeleTest, WithoutADescriptionNoStructureFileIsWritten)
{
    makeTable(plik(QStringLiteral("RAWEN.DB")), polaKontrahentow(), indeksyKontrahentow());
    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("RAWEN"), QString()));
    EXPECT_TRUE(tabela.isOpen());
    EXPECT_TRUE(plikiStruktury().isEmpty());
}

TEST_F(OtworzTabeleTest, ANameWithAPathIsOpenedThereAndItsStructureFileWrittenBesideIt)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("FIN")));
    makeTable(plik(QStringLiteral("FIN/KONTRAHI.DB")), polaKontrahentow(), indeksyKontrahentow());
    // The directory as it is spelled, and under another spelling a case-blind file system finds.
    for (const QString &nazwa : {QStringLiteral("FIN/KONTRAHI"), QStringLiteral("fin/KONTRAHI")}) {
        SCOPED_TRACE(nazwa.toStdString());
        EXPECT_TRUE(OtworzTabele(tabela, plik(nazwa), QStringLiteral("Kontrahenci")));
        EXPECT_TRUE(QFile::exists(plik(QStringLiteral("FIN/KONTRAHI.STR"))));
        EXPECT_TRUE(plikiStruktury().isEmpty());
        ASSERT_TRUE(QFile::remove(plik(QStringLiteral("FIN/KONTRAHI.STR"))));
    }
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(OtworzTabeleTest, WhenTheSecondHandleDoesNotOpenTheStructureFileStaysEmpty)
{
    makeTable(plik(QStringLiteral("KONTRAHI.DB")), polaKontrahentow(), indeksyKontrahentow());
    {
        // The second handle is of the default session; the caller's table is not.
        FaultPlan awaria(Session::defaultSession(), EngineOp::Open);
        EXPECT_TRUE(
            OtworzTabele(tabela, QStringLiteral("KONTRAHI"), QStringLiteral("Kontrahenci")));
        EXPECT_TRUE(awaria.fired());
    }
    EXPECT_TRUE(tabela.isOpen());
    EXPECT_EQ(bajty(plik(QStringLiteral("KONTRAHI.STR"))), QByteArray());
    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("KONTRAHI"), QStringLiteral("Kontrahenci")));
    EXPECT_EQ(bajty(plik(QStringLiteral("KONTRAHI.STR"))), QByteArray());
}

TEST_F(OtworzTabeleTest, AnOldFirmTableIsUpgradedAndItsStructureFileWrittenAnew)
{
    makeTable(plik(QStringLiteral("FIRMA.DB")), starePolaFirmy(), {},
              {{"1", "Firma", "2023-12-31"}});
    zapisz(plik(QStringLiteral("FIRMA.STR")), "STRUKTURA ZBIORU\r\nstary uklad\r\n");

    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
    ASSERT_TRUE(tabela.isOpen());
    EXPECT_EQ(tabela.fieldCount(), PolaTabeliFirmy().size());
    EXPECT_EQ(tabela.fieldByName(QStringLiteral("SKROT")).asString(), QStringLiteral("Firma"));
    EXPECT_EQ(bajty(plik(QStringLiteral("FIRMA.STR"))),
              TrescPlikuStruktury(PolaTabeliFirmy(), IndeksyTabeliFirmy()));
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(OtworzTabeleTest, AFailedUpgradeIsToldAndTheOldTableStaysOpen)
{
    makeTable(plik(QStringLiteral("FIRMA.DB")), starePolaFirmy(), {},
              {{"1", "Firma", "2023-12-31"}});
    {
        FaultPlan awaria(sesja, EngineOp::Create);
        EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), QString()));
        EXPECT_TRUE(awaria.fired());
    }
    ASSERT_TRUE(tabela.isOpen());
    EXPECT_EQ(tabela.fieldDefs(), starePolaFirmy());
    EXPECT_EQ(readAll(tabela), (QList<QStringList>{{"1", "Firma", "2023-12-31"}}));
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Error);
    EXPECT_FALSE(okna.shown()[0].text.isEmpty());
}

TEST_F(OtworzTabeleTest, AnUpgradeThatLeavesTheTableClosedIsNoSuccess)
{
    makeTable(plik(QStringLiteral("FIRMA.DB")), starePolaFirmy(), {}, {{"1", "Firma", ""}});
    // The upgrade can put no new table in place of the old one, nor open the old one again once
    // it has closed it for that.
    bool zamiana = false;
    sesja.setFaultHook([&](EngineOp operacja, const QString &) {
        zamiana = zamiana || operacja == EngineOp::Replace;
        if (operacja == EngineOp::Replace || (operacja == EngineOp::Open && zamiana))
            throw EngineError(EngineError::Injected, QStringLiteral("wstrzyknięty błąd"));
    });
    EXPECT_FALSE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
    sesja.setFaultHook({});
    EXPECT_TRUE(zamiana);
    EXPECT_FALSE(tabela.isOpen());
    ASSERT_FALSE(okna.texts().isEmpty());
    EXPECT_EQ(okna.texts().last(), bladOtwarcia(kOpisFirmy, QStringLiteral("FIRMA.DB")));
    EXPECT_TRUE(plikiStruktury().isEmpty());
}

class ZapiszTabeleTest : public OtworzTabeleTest
{
protected:
    void SetUp() override
    {
        OtworzTabeleTest::SetUp();
        makeTable(plik(QStringLiteral("T.DB")),
                  {{QStringLiteral("NR"), ftInteger, 0, false},
                   {QStringLiteral("NAZWA"), ftString, 10, false}},
                  {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}},
                  {{"1", "a"}, {"2", "b"}});
        tabela.setTableName(QStringLiteral("T"));
    }

    // The records as another program would find them on disk.
    QList<QStringList> naDysku() const
    {
        Table t;
        t.setTableName(plik(QStringLiteral("T.DB")));
        t.open();
        return readAll(t);
    }
};

TEST_F(ZapiszTabeleTest, AClosedTableIsLeftAloneNotEvenFlushed)
{
    FaultPlan awaria(sesja, EngineOp::Flush);
    EXPECT_NO_THROW(ZapiszTabele(tabela));
    EXPECT_EQ(awaria.seen(), 0);
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(ZapiszTabeleTest, PostsAPendingChangeOrOnlyFlushes)
{
    struct Przypadek
    {
        const char *nazwa;
        std::function<void(Table &)> przygotuj;
        QList<QStringList> potem;
    };
    const QList<Przypadek> przypadki{
        {"browse", [](Table &) {}, {{"1", "a"}, {"2", "b"}}},
        {"edit",
         [](Table &t) {
             t.edit();
             t.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("zmienione"));
         },
         {{"1", "zmienione"}, {"2", "b"}}},
        {"insert",
         [](Table &t) {
             t.append();
             t.fieldByName(QStringLiteral("NR")).setAsInteger(3);
         },
         {{"1", "zmienione"}, {"2", "b"}, {"3", ""}}},
    };
    tabela.open();
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        p.przygotuj(tabela);
        FaultPlan licznik(sesja, EngineOp::Flush, 2);
        ZapiszTabele(tabela);
        EXPECT_EQ(licznik.seen(), 1);
        EXPECT_EQ(tabela.state(), Table::dsBrowse);
        EXPECT_EQ(naDysku(), p.potem);
    }
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(ZapiszTabeleTest, AFailedPostIsDroppedReportedAndStillFlushed)
{
    struct Przypadek
    {
        const char *nazwa;
        std::function<void(Table &)> przygotuj;
        EngineOp awaria; // fails on its first occurrence; the flush is counted otherwise
    };
    const QList<Przypadek> przypadki{
        {"duplicate key",
         [](Table &t) {
             t.first();
             t.next();
             t.edit();
             t.fieldByName(QStringLiteral("NR")).setAsInteger(1);
         },
         EngineOp::Flush},
        {"injected post failure",
         [](Table &t) {
             t.append();
             t.fieldByName(QStringLiteral("NR")).setAsInteger(5);
         },
         EngineOp::Post},
    };
    tabela.open();
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const qsizetype przed = okna.shown().size();
        p.przygotuj(tabela);
        FaultPlan plan(sesja, p.awaria, p.awaria == EngineOp::Flush ? 2 : 1);
        EXPECT_NO_THROW(ZapiszTabele(tabela));
        if (p.awaria == EngineOp::Flush)
            EXPECT_EQ(plan.seen(), 1);
        else
            EXPECT_TRUE(plan.fired());
        EXPECT_EQ(tabela.state(), Table::dsBrowse);
        ASSERT_EQ(okna.shown().size(), przed + 1);
        EXPECT_EQ(okna.shown().last().text, QStringLiteral("Błąd zapisu"));
        EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Error);
        EXPECT_EQ(okna.shown().last().buttons, MessageBoxes::Buttons::Ok);
        EXPECT_EQ(naDysku(), (QList<QStringList>{{"1", "a"}, {"2", "b"}}));
    }
}

TEST_F(ZapiszTabeleTest, AFlushErrorReachesTheCaller)
{
    tabela.open();
    FaultPlan awaria(sesja, EngineOp::Flush);
    EXPECT_THROW(ZapiszTabele(tabela), EngineError);
    EXPECT_TRUE(awaria.fired());
}

} // namespace
} // namespace rawen::test
