#include "app/Program.h"

#include "app/TPRACA.h"
#include "app/Tzero.h"
#include "data/TDANE.h"
#include "data/TabelaFirmy.h"
#include "platform/FaultPoint.h"
#include "platform/FileSystemType.h"
#include "platform/Printers.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "print/TDRUK.h"
#include "print/Wydruk.h"
#include "shell/TRAWENF.h"
#include "support/FixedAppContext.h"
#include "support/PisarzParadox.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

class BezProcesow final : public Processes
{
public:
    Result startDetached(const QString &, const QStringList &) override { return Result::Failed; }
};

class JednaDrukarka final : public Printers
{
public:
    QStringList names() const override { return {QStringLiteral("Biuro")}; }
    QString currentName() const override { return QStringLiteral("Biuro"); }
    void select(const QString &) override {}
    void setup() override {}
};

const QString kBladFirmy =
    QStringLiteral("Błąd otwarcia bazy : Brak danych o firmie\rBaza : FIRMA.DB\r"
                   "Użyj polecenia Narzędzia/Naprawa indeksów.\r"
                   "Jeżeli bład się powtórzy odtwórz dane z ARCHIWUM");

bool splashLeft()
{
    for (QWidget *okno : QApplication::topLevelWidgets()) {
        if (qobject_cast<Tzero *>(okno))
            return true;
    }
    return false;
}

// A data root with the program, its firm table and its configuration table, as the program
// finds them when started from there.
class ProgramTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid() && rejestr.isValid());
        Registry::redirectTo(rejestr.path());
        AppContext kontekst;
        kontekst.today = QDate(2005, 3, 10);
        kontekst.executablePath = katalog.filePath(QStringLiteral("rawen"));
        kontekst.currentDirectory = katalog.path();
        staly = std::make_unique<FixedAppContext>(kontekst);
    }
    void TearDown() override { Registry::redirectTo(QString()); }

    QString root() const { return katalog.path() + u'/'; }

    void tabelaFirmy(const QString &dr, const QString &skrot, const QString &gdzie = {})
    {
        Table firma;
        firma.setTableName((gdzie.isEmpty() ? katalog.path() : gdzie) + QStringLiteral("/FIRMA"));
        AktualizujTabeleFirmy(firma);
        firma.edit();
        firma.fieldByName(QStringLiteral("DR")).setAsString(dr);
        firma.fieldByName(QStringLiteral("SKROT")).setAsString(skrot);
        firma.post();
    }

    void tabelaKonfiguracji()
    {
        makeTable(katalog.filePath(QStringLiteral("RAWEN.DB")),
                  {{QStringLiteral("ADATA"), ftString, 10, false},
                   {QStringLiteral("ACYKL"), ftInteger, 0, false}},
                  {}, {{"2005.04.01", "30"}});
    }

    void lata(const QString &gdzie, const QStringList &nazwy)
    {
        for (const QString &nazwa : nazwy)
            ASSERT_TRUE(QDir(gdzie).mkpath(nazwa));
    }

    QTemporaryDir katalog;
    QTemporaryDir rejestr;
    std::unique_ptr<FixedAppContext> staly;
    ScriptedMessageBoxes okna;
    JednaDrukarka drukarki;
    BezProcesow procesy;
};

TEST_F(ProgramTest, WithBothTablesEveryWindowIsMadeInOrder)
{
    tabelaFirmy(QString(), QStringLiteral("Biuro Rachunkowe"));
    tabelaKonfiguracji();
    lata(katalog.path(), {"2004", "2005"});

    Program program(drukarki, procesy);
    ASSERT_TRUE(program.start());

    EXPECT_TRUE(okna.shown().isEmpty()) << okna.texts().join(u'|').toStdString();
    EXPECT_FALSE(program.wartosci.bladStartu);
    // The label was made before the title changed: the executable's name, first letter as it is.
    EXPECT_EQ(program.napisPowitania, QStringLiteral("Program rawen"));
    EXPECT_EQ(program.budowaPowitania, (QList<int>{0, 33, 66, 99}));
    EXPECT_FALSE(splashLeft());
    EXPECT_EQ(program.wartosci.tytul, QStringLiteral("RAWEN 2.0"));
    EXPECT_EQ(program.wartosci.dataStartu, QStringLiteral("2005.03.10"));
    EXPECT_EQ(program.wartosci.rokRoboczy, QStringLiteral("2005"));
    EXPECT_EQ(program.wartosci.katalogDanych, root());
    EXPECT_EQ(program.wartosci.listaLat, (QStringList{"2004", "2005"}));
    EXPECT_EQ(program.wartosci.uzytkownik, QStringLiteral("Biuro Rachunkowe"));

    ASSERT_TRUE(program.DANE && program.RAWENF && program.PRACA && program.DRUK);
    EXPECT_EQ(program.DANE->SESJA.name(), QStringLiteral("SESJA"));
    EXPECT_EQ(program.DANE->SESJA.passwords(), QStringList{QStringLiteral("jz")});
    EXPECT_TRUE(program.DANE->TFIRMA.isOpen());
    EXPECT_TRUE(program.DANE->TPARA.isOpen());
    EXPECT_EQ(program.DANE->ZFIRMA.dataSet(), &program.DANE->TFIRMA);
    EXPECT_EQ(program.DANE->ZPARA.dataSet(), &program.DANE->TPARA);
    EXPECT_FALSE(program.PRACA->isVisible());
    EXPECT_FALSE(program.DRUK->isVisible());

    // The message loop shows the main window; its caption is the title then.
    program.RAWENF->show();
    EXPECT_EQ(program.RAWENF->windowTitle(), QStringLiteral("RAWEN 2.0"));
    EXPECT_EQ(program.RAWENF->size(), QSize(565, 300));
}

// A data root that statfs reports as NFS: without the option nothing starts and nothing is
// opened; with it the program starts after a warning. A current directory on a share is judged
// as the data root is.
TEST_F(ProgramTest, ADataRootOnANetworkDriveIsRefusedUnlessTheUserSaidToGoOn)
{
    tabelaFirmy(QString(), QStringLiteral("Biuro"));
    tabelaKonfiguracji();
    lata(katalog.path(), {"2005"});
    QTemporaryDir udzial;
    ASSERT_TRUE(udzial.isValid());
    struct Przypadek
    {
        const char *co;
        QString siec; // the folder the probe takes as NFS
        bool mimo;
        bool startuje;
        MessageBoxes::Icon ikona;
    };
    const Przypadek przypadki[] = {
        {"the data root on a share", katalog.path(), false, false, MessageBoxes::Icon::Error},
        {"the data root on a share, the option given", katalog.path(), true, true,
         MessageBoxes::Icon::Warning},
        {"the current directory on a share", udzial.path(), false, false,
         MessageBoxes::Icon::Error},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.co);
        const QString siec = p.siec;
        setFileSystemProbe([siec](const QString &sciezka) -> std::optional<FileSystemType> {
            return FileSystemType{
                QDir(sciezka).absolutePath().startsWith(siec) ? 0x6969u : 0xEF53u, {}, false};
        });
        AppContext kontekst = AppContext::current();
        kontekst.networkDriveAllowed = p.mimo;
        if (p.siec == udzial.path())
            kontekst.currentDirectory = udzial.path();
        FixedAppContext zmieniony(kontekst);
        ScriptedMessageBoxes pudla;
        {
            Program program(drukarki, procesy);
            EXPECT_EQ(program.start(), p.startuje);
            ASSERT_FALSE(pudla.shown().isEmpty());
            EXPECT_EQ(pudla.shown().first().icon, p.ikona);
            EXPECT_TRUE(pudla.shown().first().text.contains(QStringLiteral("(NFS)")))
                << pudla.texts().join(u'|').toStdString();
            EXPECT_EQ(bool(program.DANE), p.startuje);
            EXPECT_EQ(bool(program.RAWENF), p.startuje);
            EXPECT_FALSE(splashLeft());
        }
        setFileSystemProbe({});
    }
}

TEST_F(ProgramTest, WithoutTheFirmTableStartUpGoesOnInTheProgramsDirectory)
{
    tabelaKonfiguracji();
    lata(katalog.path(), {"2005"});

    Program program(drukarki, procesy);
    ASSERT_TRUE(program.start());
    EXPECT_EQ(okna.texts(), QStringList{kBladFirmy});
    EXPECT_EQ(okna.shown().first().icon, MessageBoxes::Icon::None);
    EXPECT_TRUE(program.RAWENF && program.PRACA && program.DRUK);
    EXPECT_EQ(program.wartosci.katalogDanych, root());
    EXPECT_TRUE(program.wartosci.uzytkownik.isEmpty());
    EXPECT_EQ(program.wartosci.listaLat, QStringList{QStringLiteral("2005")});
}

TEST_F(ProgramTest, WithoutEitherTableNoWindowIsMade)
{
    Program program(drukarki, procesy);
    EXPECT_FALSE(program.start());
    ASSERT_EQ(okna.shown().size(), 2);
    EXPECT_EQ(okna.shown()[0].text, kBladFirmy);
    EXPECT_EQ(okna.shown()[1].text, TDANE::bladSterownika());
    EXPECT_EQ(okna.shown()[1].icon, MessageBoxes::Icon::Error);
    EXPECT_EQ(okna.shown()[1].buttons, MessageBoxes::Buttons::Ok);
    EXPECT_TRUE(TDANE::bladSterownika().startsWith(
        QStringLiteral("Błąd sterownika BDE.\rProszę ściągnąć sterownik ze strony ")));
    EXPECT_TRUE(TDANE::bladSterownika().contains(QStringLiteral(",\rlub kontakt : ")));
    EXPECT_TRUE(TDANE::bladSterownika().endsWith(u' '));
    EXPECT_TRUE(program.wartosci.bladStartu);
    EXPECT_EQ(program.budowaPowitania, (QList<int>{0, 33}));
    EXPECT_FALSE(program.RAWENF || program.PRACA || program.DRUK);
    EXPECT_FALSE(splashLeft());
    // No print settings were read: nothing was written either.
    EXPECT_TRUE(QDir(rejestr.path()).isEmpty());
}

TEST_F(ProgramTest, WithoutTheConfigurationTableTheFirmTableIsEnough)
{
    tabelaFirmy(QString(), QStringLiteral("Biuro"));
    lata(katalog.path(), {"2004"});

    Program program(drukarki, procesy);
    ASSERT_TRUE(program.start());
    // Nothing tells of the configuration table; the working-year check ran.
    EXPECT_EQ(okna.texts(), QStringList{QStringLiteral(
                                "Brak otwartego roku : 2005\rRok zostanie zmieniony na : 2004")});
    EXPECT_FALSE(program.DANE->TPARA.isOpen());
    EXPECT_EQ(program.wartosci.uzytkownik, QStringLiteral("Biuro"));
    EXPECT_EQ(program.wartosci.rokRoboczy, QStringLiteral("2004"));
    EXPECT_TRUE(program.RAWENF && program.PRACA && program.DRUK);
}

TEST_F(ProgramTest, TheFirmTablesDataPathIsTheDataDirectory)
{
    QTemporaryDir gdzieIndziej;
    lata(gdzieIndziej.path(), {"2003", "2005"});
    lata(katalog.path(), {"2004"});
    tabelaFirmy(gdzieIndziej.path() + u'/', QStringLiteral("Biuro"));
    tabelaKonfiguracji();

    Program program(drukarki, procesy);
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(okna.shown().isEmpty());
    EXPECT_EQ(program.wartosci.katalogDanych, gdzieIndziej.path() + u'/');
    EXPECT_EQ(program.wartosci.listaLat, (QStringList{"2003", "2005"}));
}

TEST_F(ProgramTest, TheDataModuleStartsAgainAfterARestore)
{
    tabelaFirmy(QString(), QStringLiteral("Biuro"));
    tabelaKonfiguracji();
    lata(katalog.path(), {"2005"});
    Program program(drukarki, procesy);
    ASSERT_TRUE(program.start());

    // What a restore brings back: other data, another data path, another year.
    QTemporaryDir odtworzone;
    lata(odtworzone.path(), {"2004", "2005"});
    program.DANE->SESJA.setActive(false);
    EXPECT_FALSE(program.DANE->TFIRMA.isOpen());
    ASSERT_TRUE(QFile::remove(katalog.filePath(QStringLiteral("FIRMA.DB"))));
    tabelaFirmy(odtworzone.path() + u'/', QStringLiteral("Nowa nazwa"));
    program.DANE->SESJA.setActive(true);
    program.DANE->DataModuleCreate();

    EXPECT_TRUE(okna.shown().isEmpty());
    EXPECT_TRUE(program.DANE->TFIRMA.isOpen() && program.DANE->TPARA.isOpen());
    EXPECT_EQ(program.DANE->SESJA.passwords(), QStringList{QStringLiteral("jz")});
    EXPECT_EQ(program.wartosci.katalogDanych, odtworzone.path() + u'/');
    EXPECT_EQ(program.wartosci.uzytkownik, QStringLiteral("Nowa nazwa"));
    EXPECT_EQ(program.wartosci.listaLat, (QStringList{"2004", "2005"}));

    // With neither table the box is shown and the flag set, and the windows stay.
    program.DANE->SESJA.setActive(false);
    ASSERT_TRUE(QFile::remove(katalog.filePath(QStringLiteral("FIRMA.DB"))));
    ASSERT_TRUE(QFile::remove(katalog.filePath(QStringLiteral("RAWEN.DB"))));
    program.DANE->DataModuleCreate();
    EXPECT_EQ(okna.texts(), (QStringList{kBladFirmy, TDANE::bladSterownika()}));
    EXPECT_TRUE(program.wartosci.bladStartu);
    EXPECT_TRUE(program.wartosci.katalogDanych.isEmpty());
    EXPECT_TRUE(program.RAWENF && program.PRACA && program.DRUK);
}

// The structure file is written for support: a disk too full for it is told, and start-up
// settles everything as usual.
TEST_F(ProgramTest, AStructureFileThatCannotBeWrittenDoesNotStopStartUp)
{
    tabelaFirmy(QString(), QStringLiteral("Biuro"));
    tabelaKonfiguracji();
    lata(katalog.path(), {"2004", "2005"});

    Program program(drukarki, procesy);
    FaultPoint::arm(1, FaultPoint::Fault::NoSpace);
    const bool wystartowal = program.start();
    FaultPoint::disarm();
    ASSERT_TRUE(wystartowal);
    EXPECT_EQ(okna.texts(),
              QStringList{QStringLiteral("Nie można zapisać pliku opisu struktury FIRMA.STR.\r"
                                         "Przyczyna: brak miejsca na dysku")});
    EXPECT_TRUE(program.DANE->TFIRMA.isOpen());
    EXPECT_TRUE(program.DANE->TPARA.isOpen());
    EXPECT_EQ(program.wartosci.katalogDanych, root());
    EXPECT_EQ(program.wartosci.uzytkownik, QStringLiteral("Biuro"));
    EXPECT_EQ(program.wartosci.listaLat, (QStringList{"2004", "2005"}));
    EXPECT_FALSE(QFile::exists(katalog.filePath(QStringLiteral("FIRMA.STR"))));
    EXPECT_TRUE(program.RAWENF && program.PRACA && program.DRUK);
}

// Answers the read-only question Yes after spoiling the table, so that its reopening fails.
class PsujacePytanie final : public MessageBoxes
{
public:
    explicit PsujacePytanie(QString tabela)
        : m_tabela(std::move(tabela)), m_poprzednie(install(this))
    {}
    ~PsujacePytanie() override { install(m_poprzednie); }
    Answer show(Icon icon, const QString &, const QString &text, Buttons buttons) override
    {
        pokazane.append({icon, text});
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        QFile plik(m_tabela);
        plik.setPermissions(plik.permissions() | QFileDevice::WriteOwner);
        if (plik.open(QIODevice::WriteOnly | QIODevice::Truncate))
            plik.write("to nie jest tabela");
        return Answer::Yes;
    }
    QList<std::pair<Icon, QString>> pokazane;

private:
    QString m_tabela;
    MessageBoxes *m_poprzednie;
};

TEST_F(ProgramTest, AnErrorOfTheDataModuleIsShownAndStartUpGoesOn)
{
    tabelaFirmy(QString(), QStringLiteral("Biuro"));
    tabelaKonfiguracji();
    const QString firma = katalog.filePath(QStringLiteral("FIRMA.DB"));
    QFile::setPermissions(firma, QFile::permissions(firma) &
                                     ~(QFileDevice::WriteOwner | QFileDevice::WriteUser));
    PsujacePytanie okna(firma);

    Program program(drukarki, procesy);
    ASSERT_TRUE(program.start());
    ASSERT_EQ(okna.pokazane.size(), 2);
    EXPECT_EQ(okna.pokazane[0].first, MessageBoxes::Icon::Warning); // the read-only question
    EXPECT_EQ(okna.pokazane[1].first, MessageBoxes::Icon::Error);
    EXPECT_TRUE(okna.pokazane[1].second.contains(QStringLiteral("FIRMA.DB")));
    EXPECT_FALSE(program.DANE->TFIRMA.isOpen());
    EXPECT_TRUE(program.RAWENF && program.PRACA && program.DRUK);
}

TEST_F(ProgramTest, ClosingTheMainWindowEndsTheProgramWhileThePrintWindowIsOpen)
{
    tabelaFirmy(QString(), QStringLiteral("Biuro"));
    tabelaKonfiguracji();
    lata(katalog.path(), {"2005"});
    Program program(drukarki, procesy);
    ASSERT_TRUE(program.start());
    program.RAWENF->show();
    // A buffered job leaves the print window open beside the main window.
    Wydruk &wydruk = program.DRUK->wydruk();
    wydruk.NowyWydruk(QStringLiteral("Zestawienie"), false, 1, 0, true);
    wydruk.DrukujWiersz(QStringLiteral("dane"));
    wydruk.ZakonczWydruk(true);
    ASSERT_TRUE(program.DRUK->isVisible());

    // The loop runs the close. A loop that outlived it would come round to the call posted after
    // it, which ends it with another code.
    QMetaObject::invokeMethod(
        qApp,
        [&program] {
            program.RAWENF->close();
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(program.RAWENF->isVisible());
}

TEST(WartosciProgramu, TheDefaultTitleComesFromTheExecutablesName)
{
    const QList<std::pair<QString, QString>> przypadki{
        {QStringLiteral("/opt/rawen/rawen"), QStringLiteral("rawen")},
        {QStringLiteral("/opt/rawen/Rawen"), QStringLiteral("Rawen")},
        {QStringLiteral("C:/RAWEN/RAWEN.EXE"), QStringLiteral("Rawen")},
        {QStringLiteral("/x/rAWEN2.bin.exe"), QStringLiteral("rawen2")},
        {QStringLiteral("/x/Księga"), QStringLiteral("Księga")},
    };
    for (const auto &[sciezka, tytul] : przypadki)
        EXPECT_EQ(WartosciProgramu::tytulDomyslny(sciezka), tytul) << sciezka.toStdString();
}

// A data root of the previous generation, as the program finds it when started from there: its
// firm table and configuration table in the old format, the program beside them.
class ProgramStaregoKatalogu : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid() && rejestr.isValid());
        Registry::redirectTo(rejestr.path());
        stary = katalog.filePath(QStringLiteral("DANE"));
        ASSERT_TRUE(QDir().mkpath(stary + QStringLiteral("/2005")));
        OpcjeParadoxu opcje;
        opcje.polaKlucza = 1;
        ZapiszTabeleParadox(stary + QStringLiteral("/FIRMA.DB"),
                            {{QStringLiteral("NR"), 'I'}, {QStringLiteral("SKROT"), 'A', 50}},
                            {{0, QStringLiteral("Biuro Żółć")}}, opcje);
        ZapiszIndeksGlowny(stary + QStringLiteral("/FIRMA.DB"), {{QStringLiteral("NR"), 'I'}},
                           opcje);
        QFile program(stary + QStringLiteral("/rawen"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("program");
        program.close();
        AppContext kontekst;
        kontekst.today = QDate(2005, 3, 10);
        kontekst.executablePath = stary + QStringLiteral("/rawen");
        kontekst.currentDirectory = stary;
        staly = std::make_unique<FixedAppContext>(kontekst);
        poprzedni = QDir::currentPath();
    }
    void TearDown() override
    {
        QDir::setCurrent(poprzedni);
        Registry::redirectTo(QString());
    }

    QByteArray skrot() const
    {
        QStringList linie;
        QDirIterator it(stary, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString sciezka = it.next();
            const QFileInfo info(sciezka);
            linie << sciezka + u' ' + info.lastModified().toString(Qt::ISODateWithMs) + u' ' +
                         QString::fromLatin1(
                             QCryptographicHash::hash(fileBytes(sciezka), QCryptographicHash::Sha1)
                                 .toHex());
        }
        linie.sort();
        return linie.join(u'\n').toUtf8();
    }

    QTemporaryDir katalog;
    QTemporaryDir rejestr;
    QString stary;
    QString poprzedni;
    std::unique_ptr<FixedAppContext> staly;
    ScriptedMessageBoxes okna;
    JednaDrukarka drukarki;
    BezProcesow procesy;
};

// Asked, the user converts the old root into a new folder beside it and the program starts
// there, on the converted firm table; the next start offers the converted root.
TEST_F(ProgramStaregoKatalogu, ConvertsTheOldRootWhenAskedAndStartsOnTheNewOne)
{
    const QByteArray przed = skrot();
    const QString nowy = stary + QStringLiteral("-RAWEN2");
    {
        okna.answerNext(MessageBoxes::Answer::Yes);
        Program program(drukarki, procesy);
        ASSERT_TRUE(program.start());
        ASSERT_EQ(okna.shown().size(), 2) << okna.texts().join(u'|').toStdString();
        EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Question);
        EXPECT_TRUE(okna.shown()[0].text.startsWith(
            QStringLiteral("W katalogu danych %1 są dane poprzedniej wersji programu").arg(stary)));
        EXPECT_TRUE(okna.shown()[1].text.startsWith(
            QStringLiteral("Dane przekształcone do %1: 1 tabela (1 rekord, 0 notatek)").arg(nowy)))
            << okna.shown()[1].text.toStdString();
        EXPECT_EQ(AppContext::current().currentDirectory, nowy);
        EXPECT_EQ(AppContext::current().dataRoot(), nowy + u'/');
        ASSERT_TRUE(program.DANE->TFIRMA.isOpen());
        EXPECT_EQ(program.DANE->TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(),
                  QStringLiteral("Biuro Żółć"));
        EXPECT_EQ(program.DANE->TFIRMA.fieldCount(), PolaTabeliFirmy().size());
        EXPECT_EQ(fileBytes(nowy + QStringLiteral("/rawen")), QByteArray("program"));
    }
    EXPECT_EQ(skrot(), przed);

    // Started again from the old root: the converted one is offered.
    AppContext kontekst = AppContext::current();
    kontekst.currentDirectory = stary;
    kontekst.executablePath = stary + QStringLiteral("/rawen");
    AppContext::setCurrent(kontekst);
    okna.answerNext(MessageBoxes::Answer::Yes);
    Program program(drukarki, procesy);
    ASSERT_TRUE(program.start());
    ASSERT_EQ(okna.shown().size(), 3);
    EXPECT_TRUE(okna.shown()[2].text.contains(
        QStringLiteral("zostały już przekształcone do katalogu %1").arg(nowy)));
    EXPECT_EQ(AppContext::current().currentDirectory, nowy);
    EXPECT_EQ(skrot(), przed);
}

// Answered No, nothing is made and the start goes on as before; a conversion that fails says
// why and leaves no new root.
TEST_F(ProgramStaregoKatalogu, NoOrAFailedConversionLeavesEverythingAsItWas)
{
    const QByteArray przed = skrot();
    const QString nowy = stary + QStringLiteral("-RAWEN2");
    {
        okna.answerNext(MessageBoxes::Answer::No);
        Program program(drukarki, procesy);
        (void)program.start();
        ASSERT_EQ(okna.shown().size(), 3) << okna.texts().join(u'|').toStdString();
        EXPECT_EQ(okna.shown()[1].text, kBladFirmy);
        EXPECT_TRUE(okna.shown()[2].text.startsWith(QStringLiteral("Błąd sterownika BDE.")));
        EXPECT_FALSE(QFileInfo::exists(nowy));
        EXPECT_EQ(AppContext::current().currentDirectory, stary);
    }
    QFile lck(stary + QStringLiteral("/PDOXUSRS.LCK"));
    ASSERT_TRUE(lck.open(QIODevice::WriteOnly));
    lck.write("JAN");
    lck.close();
    const QByteArray zBlokada = skrot();
    okna.answerNext(MessageBoxes::Answer::Yes);
    Program program(drukarki, procesy);
    (void)program.start();
    ASSERT_GE(okna.shown().size(), 5) << okna.texts().join(u'|').toStdString();
    EXPECT_EQ(okna.shown()[4].icon, MessageBoxes::Icon::Error);
    EXPECT_TRUE(okna.shown()[4].text.startsWith(
        QStringLiteral("Przekształcenie danych nie powiodło się.")));
    EXPECT_TRUE(okna.shown()[4].text.contains(QStringLiteral("są w użyciu")))
        << okna.shown()[4].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(nowy));
    EXPECT_EQ(skrot(), zBlokada);
    EXPECT_NE(przed, zBlokada);
}

TEST(Tzero, TheSplashWindowLooksAsItShould)
{
    Tzero zero(QStringLiteral("Rawen"));
    EXPECT_EQ(zero.windowTitle(), QStringLiteral("Dzień dobry"));
    EXPECT_EQ(zero.size(), QSize(382, 341));
    EXPECT_FALSE(zero.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(zero.napis(), QStringLiteral("Program Rawen"));
    EXPECT_EQ(Tzero::obraz().size(), QSize(400, 300));
    auto *label = zero.findChild<QLabel *>(QStringLiteral("Label1"));
    ASSERT_TRUE(label);
    EXPECT_TRUE(label->font().bold() && label->font().italic());
    auto *budowa = zero.findChild<QProgressBar *>(QStringLiteral("budowa"));
    ASSERT_TRUE(budowa);
    EXPECT_EQ(budowa->maximum(), 100);
    EXPECT_EQ(budowa->geometry(), QRect(0, 325, 382, 16));
    ASSERT_TRUE(zero.findChild<QLabel *>(QStringLiteral("Image1")));
}

} // namespace
} // namespace rawen::test
