#include "data/OtworzTabele.h"

#include "data/PlikStruktury.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FaultPoint.h"
#include "platform/FileNames.h"
#include "support/FixedAppContext.h"
#include "support/OtherProgram.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_THROW((void)OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy), EngineError);
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

TEST_F(OtworzTabeleTest, AWholeStructureFileIsNeverTouchedAnEmptyOrCutOffOneIsWrittenAnew)
{
    utworzFirme();
    const QByteArray nowa = TrescPlikuStruktury(PolaTabeliFirmy(), IndeksyTabeliFirmy());
    struct Przypadek
    {
        QString nazwa;
        QByteArray tresc;
        bool zostaje;
    };
    const QList<Przypadek> przypadki{
        {QStringLiteral("FIRMA.STR"), QByteArray("STRUKTURA ZBIORU\r\nstara\r\nKONIEC\r\n"), true},
        {QStringLiteral("firma.str"), QByteArray("STRUKTURA ZBIORU\r\nstara\r\nKONIEC\r\n"), true},
        {QStringLiteral("FIRMA.STR"), QByteArray(), false},
        {QStringLiteral("firma.str"), QByteArray(), false},
        {QStringLiteral("FIRMA.STR"), nowa.left(nowa.size() / 2), false},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa.toStdString() + " " + p.tresc.left(40).toStdString());
        zapisz(plik(p.nazwa), p.tresc);
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
        EXPECT_EQ(bajty(plik(p.nazwa)), p.zostaje ? p.tresc : nowa);
        EXPECT_EQ(plikiStruktury(), QStringList{p.nazwa});
        EXPECT_EQ(directoryEntries(katalog.path()),
                  (QStringList{QStringLiteral("FIRMA.DB"), p.nazwa}));
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

TEST_F(OtworzTabeleTest, WhenTheSecondHandleDoesNotOpenNoStructureFileIsLeftAndTheNextOpenWritesIt)
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
    EXPECT_TRUE(plikiStruktury().isEmpty());
    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("KONTRAHI"), QStringLiteral("Kontrahenci")));
    EXPECT_EQ(bajty(plik(QStringLiteral("KONTRAHI.STR"))),
              TrescPlikuStruktury(polaKontrahentow(), indeksyKontrahentow()));
    EXPECT_TRUE(okna.shown().isEmpty());
}

// A side file written for support must not stop the start: the user is told, the table is open,
// nothing cut off is left, and the next open writes the file whole.
TEST_F(OtworzTabeleTest, AStructureFileThatCannotBeWrittenIsReportedAndTheOpenGoesOn)
{
    utworzFirme();
    for (FaultPoint::Fault usterka : {FaultPoint::Fault::NoSpace, FaultPoint::Fault::IoError}) {
        SCOPED_TRACE(int(usterka));
        const qsizetype przed = okna.shown().size();
        FaultPoint::arm(1, usterka);
        const bool otwarta = OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy);
        FaultPoint::disarm();
        EXPECT_TRUE(otwarta);
        EXPECT_TRUE(tabela.isOpen());
        ASSERT_EQ(okna.shown().size(), przed + 1);
        EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Warning);
        EXPECT_TRUE(okna.shown().last().text.startsWith(
            QStringLiteral("Nie można zapisać pliku opisu struktury FIRMA.STR.\rPrzyczyna: ")));
        if (usterka == FaultPoint::Fault::NoSpace) {
            EXPECT_TRUE(okna.shown().last().text.endsWith(QStringLiteral("brak miejsca na dysku")));
        }
        EXPECT_EQ(directoryEntries(katalog.path()), QStringList{QStringLiteral("FIRMA.DB")});

        EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
        EXPECT_EQ(okna.shown().size(), przed + 1);
        EXPECT_EQ(bajty(plik(QStringLiteral("FIRMA.STR"))),
                  TrescPlikuStruktury(PolaTabeliFirmy(), IndeksyTabeliFirmy()));
        ASSERT_TRUE(QFile::remove(plik(QStringLiteral("FIRMA.STR"))));
    }
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
    // The upgrade is done, but the table does not open again afterwards.
    bool przebudowa = false;
    sesja.setFaultHook([&](EngineOp operacja, const QString &) {
        przebudowa = przebudowa || operacja == EngineOp::Create;
        if (operacja == EngineOp::Open && przebudowa)
            throw EngineError(EngineError::Injected, QStringLiteral("wstrzyknięty błąd"));
    });
    EXPECT_FALSE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
    sesja.setFaultHook({});
    EXPECT_TRUE(przebudowa);
    EXPECT_FALSE(tabela.isOpen());
    ASSERT_FALSE(okna.texts().isEmpty());
    EXPECT_EQ(okna.texts().last(), bladOtwarcia(kOpisFirmy, QStringLiteral("FIRMA.DB")));
    EXPECT_TRUE(plikiStruktury().isEmpty());
}

// Kept read-only at the user's word, an old firm table is not upgraded: a rename would ignore
// the attribute and hand back a writable table.
TEST_F(OtworzTabeleTest, AReadOnlyOldFirmTableAnsweredNoIsKeptAsItIs)
{
    makeTable(plik(QStringLiteral("FIRMA.DB")), starePolaFirmy(), {}, {{"1", "Firma", ""}});
    odbierzZapis(plik(QStringLiteral("FIRMA.DB")));
    const QByteArray przed = bajty(plik(QStringLiteral("FIRMA.DB")));
    okna.answerNext(MessageBoxes::Answer::No);

    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), QString()));
    EXPECT_EQ(okna.texts(), QStringList{kPytanieOAtrybut});
    ASSERT_TRUE(tabela.isOpen());
    EXPECT_TRUE(tabela.isReadOnly());
    EXPECT_EQ(tabela.fieldDefs(), starePolaFirmy());
    EXPECT_EQ(bajty(plik(QStringLiteral("FIRMA.DB"))), przed);
    EXPECT_TRUE(isReadOnly(plik(QStringLiteral("FIRMA.DB"))));
}

// A full disk at any step of the upgrade: one box that names the cause, and the table either as
// it was or wholly upgraded, never between; once there is room, the next start finishes it.
TEST_F(OtworzTabeleTest, AFullDiskAtAnyStepOfTheUpgradeGivesOneBoxAndLosesNothing)
{
    QList<QStringList> stare;
    for (int i = 1; i <= 60; ++i)
        stare << QStringList{QString::number(i), QStringLiteral("Firma %1").arg(i),
                             QStringLiteral("2024.%1.01").arg(i % 12 + 1, 2, 10, QLatin1Char('0'))};
    QList<QStringList> nowe;
    for (const QStringList &r : stare) {
        QStringList n(PolaTabeliFirmy().size());
        n[0] = r[0];
        n[6] = r[1];
        n[49] = r[2]; // ARCHDATA from ZAPAS2
        n[53] = r[2];
        nowe << n;
    }
    const QStringList dopuszczalne{QStringLiteral("FIRMA.DB"), QStringLiteral("FIRMA.STR")};
    int proby = 0;
    for (const FaultPoint::Fault usterka : {FaultPoint::Fault::NoSpace, FaultPoint::Fault::IoError})
        for (qint64 krok = 1;; ++krok) {
            SCOPED_TRACE(testing::Message()
                         << (usterka == FaultPoint::Fault::NoSpace ? "ENOSPC" : "EIO")
                         << " at step " << krok);
            ASSERT_LT(krok, 2000) << "the upgrade never finished";
            tabela.close();
            for (const QString &nazwa : directoryEntries(katalog.path()))
                ASSERT_TRUE(QFile::remove(plik(nazwa)));
            makeTable(plik(QStringLiteral("FIRMA.DB")), starePolaFirmy(), {}, stare);
            const qsizetype przed = okna.shown().size();

            FaultPoint::arm(krok, usterka);
            const bool otwarta = OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy);
            const bool trafiony = FaultPoint::count() >= krok;
            FaultPoint::disarm();
            ++proby;

            EXPECT_TRUE(otwarta);
            ASSERT_TRUE(tabela.isOpen());
            EXPECT_EQ(integrityCheck(plik(QStringLiteral("FIRMA.DB"))), QStringLiteral("ok"));
            for (const QString &nazwa : directoryEntries(katalog.path()))
                EXPECT_TRUE(dopuszczalne.contains(nazwa) || isTemporaryName(nazwa))
                    << nazwa.toStdString();
            const QStringList pokazane = okna.texts().mid(przed);
            if (!trafiony) {
                EXPECT_TRUE(pokazane.isEmpty());
                EXPECT_EQ(tabela.fieldDefs(), PolaTabeliFirmy());
                EXPECT_EQ(readAll(tabela), nowe);
                break;
            }
            if (pokazane.isEmpty()) {
                // Only a step after the last file landed whole may fail unnoticed: a temporary's
                // name left to remove, a directory left to sync.
                EXPECT_EQ(readAll(tabela), nowe);
                EXPECT_EQ(bajty(plik(QStringLiteral("FIRMA.STR"))),
                          TrescPlikuStruktury(PolaTabeliFirmy(), IndeksyTabeliFirmy()));
                continue;
            }
            ASSERT_EQ(pokazane.size(), 1) << pokazane.join(u'|').toStdString();
            if (tabela.fieldDefs() == PolaTabeliFirmy()) {
                // The upgrade was done; it was the structure file that found no room.
                EXPECT_EQ(readAll(tabela), nowe);
                EXPECT_TRUE(
                    pokazane[0].startsWith(QStringLiteral("Nie można zapisać pliku opisu")));
            } else {
                EXPECT_EQ(tabela.fieldDefs(), starePolaFirmy());
                EXPECT_EQ(readAll(tabela), stare);
                EXPECT_TRUE(
                    pokazane[0].contains(usterka == FaultPoint::Fault::NoSpace
                                             ? QStringLiteral("Przyczyna: Brak miejsca na dysku")
                                             : QStringLiteral("Przyczyna: Błąd wejścia-wyjścia")))
                    << pokazane[0].toStdString();
                EXPECT_TRUE(pokazane[0].contains(QStringLiteral("bez zmian")));
            }
            // With room again, the next start completes what is missing.
            tabela.close();
            const qsizetype poNaprawie = okna.shown().size();
            EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
            EXPECT_EQ(okna.shown().size(), poNaprawie);
            EXPECT_EQ(readAll(tabela), nowe);
            EXPECT_EQ(bajty(plik(QStringLiteral("FIRMA.STR"))),
                      TrescPlikuStruktury(PolaTabeliFirmy(), IndeksyTabeliFirmy()));
            if (HasFailure())
                return;
        }
    EXPECT_GT(proby, 20);
}

// A table that does not open is explained by its cause: the repair hint where a repair or a
// restore can help, plain words where they cannot.
TEST_F(OtworzTabeleTest, EachCauseOfAFailedOpenIsToldAsWhatItIs)
{
    utworzFirme();
    const QString naglowek =
        QStringLiteral("Błąd otwarcia bazy : ") + kOpisFirmy + QStringLiteral("\rBaza : %1.DB\r");
    {
        SCOPED_TRACE("locked by another program");
        sesja.setLockTimeout(50);
        OtherProgram inny(plik(QStringLiteral("FIRMA.DB")));
        ASSERT_EQ(inny.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
        EXPECT_FALSE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
        EXPECT_FALSE(OtworzTabele(tabela, QStringLiteral("FIRMA"), QString()));
        EXPECT_EQ(okna.texts(),
                  QStringList{naglowek.arg(QStringLiteral("FIRMA")) +
                              QStringLiteral("Baza jest zablokowana przez inny program.\r"
                                             "Zakończ pracę z tą bazą w innych programach i "
                                             "uruchom program ponownie.")});
        inny.exec(QStringLiteral("ROLLBACK"));
    }
    {
        SCOPED_TRACE("a path longer than the engine takes");
        QString gleboki = katalog.path();
        while (QFile::encodeName(gleboki).size() < 600) {
            gleboki += u'/' + QString(100, u'k');
            ASSERT_TRUE(QDir().mkpath(gleboki));
        }
        ASSERT_TRUE(
            QFile::copy(plik(QStringLiteral("FIRMA.DB")), gleboki + QStringLiteral("/FIRMA.DB")));
        const qsizetype przed = okna.shown().size();
        const QString nazwa = gleboki + QStringLiteral("/FIRMA");
        EXPECT_FALSE(OtworzTabele(tabela, nazwa, kOpisFirmy));
        EXPECT_EQ(okna.texts().mid(przed),
                  QStringList{naglowek.arg(nazwa) +
                              QStringLiteral("Ścieżka dostępu do bazy jest za długa.\r"
                                             "Przenieś dane do katalogu o krótszej ścieżce.")});
    }
    {
        SCOPED_TRACE("a file this user may not read");
        // Another user, when the test runs as root, for whom no permission is ever missing.
        ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("cudzy")));
        ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("zamkniety")));
        ASSERT_TRUE(
            QFile::copy(plik(QStringLiteral("FIRMA.DB")), plik(QStringLiteral("cudzy/FIRMA.DB"))));
        ASSERT_TRUE(QFile::copy(plik(QStringLiteral("FIRMA.DB")),
                                plik(QStringLiteral("zamkniety/FIRMA.DB"))));
        for (const char *sciezka : {"", "/cudzy"})
            ASSERT_EQ(
                ::chmod(QFile::encodeName(katalog.path() + QLatin1String(sciezka)).constData(),
                        0755),
                0);
        ASSERT_EQ(
            ::chmod(QFile::encodeName(plik(QStringLiteral("cudzy/FIRMA.DB"))).constData(), 0600),
            0);
        ASSERT_EQ(::chmod(QFile::encodeName(plik(QStringLiteral("zamkniety"))).constData(), 0700),
                  0);
        const QString brakUprawnien = QStringLiteral("Brak uprawnień do odczytu pliku bazy.\r"
                                                     "Poproś administratora o nadanie uprawnień "
                                                     "do katalogu danych.");
        for (const char *gdzie : {"cudzy", "zamkniety"}) {
            SCOPED_TRACE(gdzie);
            const QString nazwa = plik(QString::fromLatin1(gdzie) + QStringLiteral("/FIRMA"));
            const int wynik = runInChildProcess([&] {
                if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                    return 10;
                ScriptedMessageBoxes wDziecku;
                Table t(&sesja);
                if (OtworzTabele(t, nazwa, kOpisFirmy))
                    return 11;
                if (wDziecku.texts() != QStringList{naglowek.arg(nazwa) + brakUprawnien})
                    return 12;
                return 0;
            });
            EXPECT_EQ(wynik, 0);
        }
    }
}

// A read-only table whose last write was cut short (a hot journal beside it) cannot be read
// until that write is rolled back, which needs the file writable: the attribute repair is
// offered, and on No the user is told why the table stays closed.
TEST_F(OtworzTabeleTest, AReadOnlyTableWithAnUnfinishedWriteIsOfferedTheRepair)
{
    QList<QStringList> rekordy;
    for (int i = 1; i <= 300; ++i) {
        QStringList r(PolaTabeliFirmy().size());
        r[0] = QString::number(i);
        r[6] = QStringLiteral("Firma %1").arg(i);
        r[7] = QString(50, u'n');
        rekordy << r;
    }
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("zrodlo")));
    makeTable(plik(QStringLiteral("zrodlo/FIRMA.DB")), PolaTabeliFirmy(), IndeksyTabeliFirmy(),
              rekordy);
    {
        // A write in progress whose changed pages no longer fit in memory: both files as a power
        // cut would leave them.
        OtherProgram piszacy(plik(QStringLiteral("zrodlo/FIRMA.DB")));
        ASSERT_EQ(piszacy.exec(QStringLiteral("PRAGMA cache_size = 10; BEGIN; "
                                              "UPDATE records SET NAZWA1 = 'zmieniona', SKROT = "
                                              "'Nowa'")),
                  SQLITE_OK);
        ASSERT_TRUE(QFile::exists(plik(QStringLiteral("zrodlo/FIRMA.DB-journal"))));
        for (const char *nazwa : {"FIRMA.DB", "FIRMA.DB-journal"})
            ASSERT_TRUE(QFile::copy(plik(QStringLiteral("zrodlo/") + QLatin1String(nazwa)),
                                    plik(QLatin1String(nazwa))));
        piszacy.exec(QStringLiteral("ROLLBACK"));
    }
    odbierzZapis(plik(QStringLiteral("FIRMA.DB")));
    ASSERT_NE(fileBytes(plik(QStringLiteral("FIRMA.DB"))),
              fileBytes(plik(QStringLiteral("zrodlo/FIRMA.DB"))));

    okna.answerNext(MessageBoxes::Answer::No);
    EXPECT_FALSE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
    EXPECT_EQ(okna.texts(),
              (QStringList{kPytanieOAtrybut,
                           QStringLiteral("Błąd otwarcia bazy : ") + kOpisFirmy +
                               QStringLiteral("\rBaza : FIRMA.DB\rBaza jest w trybie Tylko Do "
                                              "Odczytu, a jej ostatni zapis nie został "
                                              "dokończony.\rBez zmiany atrybutu bazy nie można "
                                              "jej otworzyć.")}));
    EXPECT_TRUE(QFile::exists(plik(QStringLiteral("FIRMA.DB-journal"))));

    okna.answerNext(MessageBoxes::Answer::Yes);
    EXPECT_TRUE(OtworzTabele(tabela, QStringLiteral("FIRMA"), kOpisFirmy));
    EXPECT_EQ(okna.texts().size(), 3);
    ASSERT_TRUE(tabela.isOpen());
    EXPECT_FALSE(tabela.isReadOnly());
    // The cut-short write is undone: the records are those before it.
    EXPECT_EQ(readAll(tabela), rekordy);
    EXPECT_FALSE(QFile::exists(plik(QStringLiteral("FIRMA.DB-journal"))));
    EXPECT_EQ(integrityCheck(plik(QStringLiteral("FIRMA.DB"))), QStringLiteral("ok"));
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
