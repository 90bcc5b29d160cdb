#include "archive/TARCHF.h"

#include "archive/TARCHF1.h"
#include "data/TDANE.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/AppContext.h"
#include "support/FixedAppContext.h"
#include "support/PrintFakes.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, false},
                            {QStringLiteral("OPIS"), ftString, 20, false}};

// "Wyszukiwanie katalogu" reads a folder again each time it is opened: a folder made while the
// program runs is there after its parent is closed and opened again.
TEST(TARCHF1Test, AFolderMadeWhileTheProgramRunsIsShownWhenItsParentIsOpened)
{
    QTemporaryDir katalog;
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("STARY")));
    TARCHF1 okno;
    okno.show();
    auto *drzewo = okno.findChild<QTreeView *>(QStringLiteral("EKATALOG"));
    ASSERT_TRUE(drzewo);
    // What the tree shows, in its order.
    QAbstractItemModel *widok = drzewo->model();
    auto *proxy = qobject_cast<QSortFilterProxyModel *>(widok);
    ASSERT_TRUE(proxy);
    auto *model = qobject_cast<QFileSystemModel *>(proxy->sourceModel());
    ASSERT_TRUE(model);
    okno.wybierz(katalog.path());
    const QModelIndex galaz = proxy->mapFromSource(model->index(katalog.path()));
    ASSERT_TRUE(galaz.isValid());
    const auto dzieci = [&] {
        QStringList nazwy;
        for (int i = 0; i < widok->rowCount(galaz); ++i)
            nazwy << widok->index(i, 0, galaz).data().toString();
        return nazwy;
    };
    // The first reading of a folder is the model's own, in the background.
    QSignalSpy wczytane(model, &QFileSystemModel::directoryLoaded);
    drzewo->expand(galaz);
    for (int i = 0; i < 100 && dzieci().isEmpty(); ++i)
        wczytane.wait(100);
    ASSERT_EQ(dzieci(), QStringList{QStringLiteral("STARY")});

    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("NOWY")));
    drzewo->collapse(galaz);
    drzewo->expand(galaz);
    // In its place in the order, not after the others.
    EXPECT_EQ(dzieci(), (QStringList{QStringLiteral("NOWY"), QStringLiteral("STARY")}));
    // The path field's text as an action leaves it, with its closing separator.
    okno.wybierz(katalog.filePath(QStringLiteral("NOWY")) + u'/');
    EXPECT_EQ(okno.wybranyKatalog(),
              QDir::toNativeSeparators(katalog.filePath(QStringLiteral("NOWY"))));
}

// A data root as start-up finds it: firm 000's firm table with its data directory in DR, BAZA
// and two years, each with a table in a subdirectory, and the module made from it.
class TARCHFTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        AppContext kontekst;
        kontekst.today = QDate(2005, 3, 10);
        kontekst.executablePath = katalog.filePath(QStringLiteral("rawen"));
        kontekst.currentDirectory = katalog.path();
        staly = std::make_unique<FixedAppContext>(kontekst);
        {
            Table firma;
            firma.setTableName(katalog.filePath(QStringLiteral("FIRMA")));
            AktualizujTabeleFirmy(firma);
            firma.edit();
            firma.fieldByName(QStringLiteral("DR")).setAsString(R());
            firma.fieldByName(QStringLiteral("ARCHDATA")).setAsString(QStringLiteral("2005.01.02"));
            firma.post();
        }
        tabela(QStringLiteral("BAZA/KONTA/KONTA.DB"), {QStringLiteral("1")});
        tabela(QStringLiteral("2004/HARNOL/HARNOL.DB"), {QStringLiteral("1")});
        tabela(QStringLiteral("2005/HARNOL/HARNOL.DB"), {QStringLiteral("1"), QStringLiteral("2")});
        w.ustawDateStartu(AppContext::current());
        dane = std::make_unique<TDANE>(w);
        okno = std::make_unique<TARCHF>(w, *dane, &postep);
    }

    QString R() const { return katalog.path() + u'/'; }

    void tabela(const QString &sciezka, const QStringList &numery)
    {
        const QString pelna = katalog.filePath(sciezka);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(pelna).path()));
        QList<QStringList> r;
        for (const QString &nr : numery)
            r << QStringList{nr, QStringLiteral("opis ") + nr};
        makeTable(pelna, kPola, {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}}, r);
    }

    QList<QStringList> rekordy(const QString &sciezka)
    {
        Table t;
        t.setTableName(sciezka);
        t.open();
        return readAll(t);
    }

    QString archdata(const QString &firma)
    {
        Table t;
        t.setTableName(firma);
        t.open();
        return t.fieldByName(QStringLiteral("ARCHDATA")).asString();
    }

    template <typename T> T *kontrolka(const char *nazwa)
    {
        T *k = okno->findChild<T *>(QString::fromLatin1(nazwa));
        EXPECT_TRUE(k) << nazwa;
        return k;
    }

    // Shows the window modally, runs `co` inside it and returns how the window ended.
    int pokazIWykonaj(const std::function<void()> &co)
    {
        bool wykonane = false;
        QTimer::singleShot(0, okno.get(), [&] {
            co();
            wykonane = true;
            if (okno->isVisible())
                okno->reject();
        });
        const int wynik = okno->exec();
        EXPECT_TRUE(wykonane);
        return wynik;
    }

    QTemporaryDir katalog;
    std::unique_ptr<FixedAppContext> staly;
    ScriptedMessageBoxes okna;
    WartosciProgramu w;
    std::unique_ptr<TDANE> dane;
    FakeOknoPostepu postep;
    std::unique_ptr<TARCHF> okno;
};

TEST_F(TARCHFTest, TheWindowIsLaidOutAsDesignedAndShowsTheDateOfTheLastArchive)
{
    okno->show();
    EXPECT_EQ(okno->windowTitle(), QStringLiteral("Moduł ARCHIWUM"));
    auto *tab = kontrolka<QTabWidget>("Tab");
    ASSERT_EQ(tab->count(), 2);
    EXPECT_EQ(tab->tabText(0), QStringLiteral("ARCHIWOWANIE"));
    EXPECT_EQ(tab->tabText(1), QStringLiteral("ODTWARZANIE"));
    EXPECT_EQ(tab->currentIndex(), 0);
    for (const char *grupa : {"GDR", "GDR1"}) {
        SCOPED_TRACE(grupa);
        EXPECT_EQ(kontrolka<QGroupBox>(grupa)->title(),
                  QStringLiteral("Ścieżka do plików archiwum"));
        EXPECT_FALSE(kontrolka<QGroupBox>(grupa)->isEnabled());
    }
    for (const char *przycisk : {"RAdomyslna", "RA1domyslna"})
        EXPECT_TRUE(kontrolka<QRadioButton>(przycisk)->isChecked()) << przycisk;
    EXPECT_EQ(kontrolka<QRadioButton>("RAdowolna")->text(), QStringLiteral("dowolna lokalizacja"));
    const QString domyslny = QDir::toNativeSeparators(R() + QStringLiteral("ARCHIWUM"));
    EXPECT_EQ(kontrolka<QLineEdit>("EDR")->text(), domyslny);
    EXPECT_EQ(kontrolka<QLineEdit>("EDR1")->text(), domyslny);
    EXPECT_EQ(kontrolka<QPushButton>("BitBtn1")->text(), QStringLiteral("&Przerwij"));
    EXPECT_EQ(kontrolka<QPushButton>("BitBtn2")->text(), QStringLiteral("Archiwizuj"));
    EXPECT_EQ(kontrolka<QPushButton>("BitBtn4")->text(), QStringLiteral("Odtwarzaj"));
    EXPECT_TRUE(kontrolka<QPushButton>("BitBtn2")->isDefault());
    tab->setCurrentIndex(1);
    EXPECT_TRUE(kontrolka<QPushButton>("BitBtn4")->isDefault());
    EXPECT_FALSE(kontrolka<QPushButton>("BitBtn2")->isDefault());
    EXPECT_EQ(okno->findChild<QLabel *>(QStringLiteral("Label2"))->text(),
              QStringLiteral("Ostatnia aktualizacja archiwum :"));
    EXPECT_EQ(okno->findChild<QLabel *>(QStringLiteral("Label4"))->text(),
              QStringLiteral("przywrócone wszystkie dane ze wszystkich zarchiwizowanych lat."));
    // Both labels show the stored date of the current record, and the firm table is not written
    // by showing it.
    EXPECT_EQ(kontrolka<QLineEdit>("DBText1")->text(), QStringLiteral("2005.01.02"));
    EXPECT_EQ(kontrolka<QLineEdit>("DBText2")->text(), QStringLiteral("2005.01.02"));
    EXPECT_TRUE(kontrolka<QLineEdit>("DBText1")->isReadOnly());

    // The radio groups enable their path groups; showing the window again keeps them.
    QTest::mouseClick(kontrolka<QRadioButton>("RAdowolna"), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(kontrolka<QGroupBox>("GDR")->isEnabled());
    EXPECT_FALSE(kontrolka<QGroupBox>("GDR1")->isEnabled());
    kontrolka<QLineEdit>("EDR")->setText(QStringLiteral("/gdzie/indziej"));
    okno->hide();
    okno->show();
    EXPECT_TRUE(kontrolka<QGroupBox>("GDR")->isEnabled());
    EXPECT_EQ(kontrolka<QLineEdit>("EDR")->text(), domyslny);
    EXPECT_EQ(tab->currentIndex(), 0);
}

TEST_F(TARCHFTest, ArchivingCopiesTheDataChecksItAndThenRecordsTheDate)
{
    const int wynik = pokazIWykonaj([&] { kontrolka<QPushButton>("BitBtn2")->click(); });
    EXPECT_EQ(wynik, QDialog::Accepted);
    const QString A = R() + QStringLiteral("ARCHIWUM/");
    EXPECT_EQ(kontrolka<QLineEdit>("EDR")->text(), QDir::toNativeSeparators(A));
    EXPECT_EQ(rekordy(A + QStringLiteral("2005/HARNOL/HARNOL.DB")).size(), 2);
    EXPECT_EQ(rekordy(A + QStringLiteral("2004/HARNOL/HARNOL.DB")).size(), 1);
    EXPECT_EQ(rekordy(A + QStringLiteral("BAZA/KONTA/KONTA.DB")).size(), 1);
    // The date is written after the copy: the archived firm table keeps the previous one.
    EXPECT_EQ(archdata(A + QStringLiteral("FIRMA.DB")), QStringLiteral("2005.01.02"));
    EXPECT_EQ(archdata(R() + QStringLiteral("FIRMA.DB")), QStringLiteral("2005.03.10"));
    EXPECT_EQ(kontrolka<QLineEdit>("DBText1")->text(), QStringLiteral("2005.03.10"));
    // Two years: N + 2 steps.
    EXPECT_EQ(postep.napis, QStringLiteral("Archiwowanie"));
    EXPECT_EQ(postep.razem, 4);
    EXPECT_EQ(postep.kroki, 4);
    EXPECT_FALSE(postep.widoczne);
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Information);
    EXPECT_TRUE(okna.shown()[0].text.startsWith(QStringLiteral("Archiwum sprawdzone: 4 tabele (")))
        << qPrintable(okna.shown()[0].text);
    // The box says where the archive went.
    EXPECT_TRUE(okna.shown()[0].text.contains(QStringLiteral("\rKatalog archiwum: ") +
                                              QDir::toNativeSeparators(QDir::cleanPath(A))))
        << qPrintable(okna.shown()[0].text);
}

TEST_F(TARCHFTest, AnArchiveThatFailsIsReportedAndRecordsNoDate)
{
    // The archive directory's place is taken by a file.
    {
        QFile zajete(katalog.filePath(QStringLiteral("ARCHIWUM")));
        ASSERT_TRUE(zajete.open(QIODevice::WriteOnly));
    }
    pokazIWykonaj([&] { kontrolka<QPushButton>("BitBtn2")->click(); });
    EXPECT_EQ(archdata(R() + QStringLiteral("FIRMA.DB")), QStringLiteral("2005.01.02"));
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Error);
    EXPECT_TRUE(okna.shown()[0].text.contains(QStringLiteral("ARCHIWUM")));
    EXPECT_FALSE(postep.widoczne);
}

TEST_F(TARCHFTest, AnEmptyPathIsNamedAndTheWindowStays)
{
    struct Przypadek
    {
        const char *radio;
        const char *pole;
        const char *przycisk;
    };
    for (const Przypadek &p :
         {Przypadek{"RAdowolna", "EDR", "BitBtn2"}, Przypadek{"RA1dowolna", "EDR1", "BitBtn4"}}) {
        SCOPED_TRACE(p.przycisk);
        const int przed = int(okna.shown().size());
        bool otwarte = false;
        pokazIWykonaj([&] {
            kontrolka<QRadioButton>(p.radio)->click();
            kontrolka<QLineEdit>(p.pole)->setText(QStringLiteral("  "));
            kontrolka<QPushButton>(p.przycisk)->click();
            otwarte = okno->isVisible();
        });
        EXPECT_TRUE(otwarte);
        ASSERT_EQ(okna.shown().size(), przed + 1);
        EXPECT_TRUE(okna.shown().last().text.startsWith(QStringLiteral("Nie podano katalogu")));
    }
    EXPECT_FALSE(QFileInfo::exists(R() + QStringLiteral("ARCHIWUM")));
    EXPECT_EQ(archdata(R() + QStringLiteral("FIRMA.DB")), QStringLiteral("2005.01.02"));
}

// "dowolna lokalizacja" aimed at the live data: the archive refuses it with one box naming why,
// writes nothing, records no date, and the window stays for another folder; the restore refuses
// a year as its source before asking anything.
TEST_F(TARCHFTest, AFolderInTheLiveDataIsRefusedAndTheWindowStays)
{
    const QList<QPair<QString, const char *>> cele{
        {R(), "to katalog z danymi firmy"},
        {R() + QStringLiteral("2005"), "to katalog roku 2005"},
        {R() + QStringLiteral("2005/KOPIA"), "leży w katalogu roku 2005"},
        {R() + QStringLiteral("BAZA"), "to katalog BAZA"},
    };
    for (const auto &[cel, przyczyna] : cele) {
        SCOPED_TRACE(qPrintable(cel));
        const qsizetype przed = okna.shown().size();
        bool otwarte = false;
        pokazIWykonaj([&] {
            kontrolka<QRadioButton>("RAdowolna")->click();
            kontrolka<QLineEdit>("EDR")->setText(QDir::toNativeSeparators(cel));
            kontrolka<QPushButton>("BitBtn2")->click();
            otwarte = okno->isVisible();
        });
        EXPECT_TRUE(otwarte);
        ASSERT_EQ(okna.shown().size(), przed + 1);
        EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Error);
        EXPECT_TRUE(okna.shown().last().text.startsWith(QStringLiteral("Nie można archiwizować "
                                                                       "do katalogu ")));
        EXPECT_TRUE(okna.shown().last().text.contains(QString::fromUtf8(przyczyna)))
            << qPrintable(okna.shown().last().text);
    }
    EXPECT_FALSE(QFileInfo::exists(R() + QStringLiteral("2005/KOPIA")));
    EXPECT_FALSE(QFileInfo::exists(R() + QStringLiteral("2005/FIRMA.DB")));
    EXPECT_EQ(archdata(R() + QStringLiteral("FIRMA.DB")), QStringLiteral("2005.01.02"));
    EXPECT_EQ(postep.kroki, 0);

    const qsizetype przed = okna.shown().size();
    pokazIWykonaj([&] {
        kontrolka<QTabWidget>("Tab")->setCurrentIndex(1);
        kontrolka<QRadioButton>("RA1dowolna")->click();
        kontrolka<QLineEdit>("EDR1")->setText(R() + QStringLiteral("2004"));
        kontrolka<QPushButton>("BitBtn4")->click();
    });
    ASSERT_EQ(okna.shown().size(), przed + 1);
    EXPECT_TRUE(okna.shown().last().text.startsWith(QStringLiteral("Nie można odtwarzać z "
                                                                   "katalogu ")))
        << qPrintable(okna.shown().last().text);
    EXPECT_EQ(rekordy(R() + QStringLiteral("2005/HARNOL/HARNOL.DB")).size(), 2);
}

// A damaged table is named in the archive's error box and no date is recorded.
TEST_F(TARCHFTest, ADamagedTableIsNamedAndRecordsNoDate)
{
    QStringList numery;
    for (int i = 1; i <= 3000; ++i)
        numery << QString::number(i);
    tabela(QStringLiteral("2005/HARNOL/HARNOL.DB"), numery);
    damagePage(R() + QStringLiteral("2005/HARNOL/HARNOL.DB"));
    pokazIWykonaj([&] { kontrolka<QPushButton>("BitBtn2")->click(); });
    EXPECT_EQ(archdata(R() + QStringLiteral("FIRMA.DB")), QStringLiteral("2005.01.02"));
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Error);
    EXPECT_TRUE(okna.shown()[0].text.contains(
        QDir::toNativeSeparators(QStringLiteral("2005/HARNOL/HARNOL.DB")) +
        QStringLiteral(": plik tabeli jest uszkodzony")))
        << qPrintable(okna.shown()[0].text);
}

TEST_F(TARCHFTest, AFolderChosenWithTheChooserIsKeptAfterSwitchingBack)
{
    QTemporaryDir inny;
    pokazIWykonaj([&] {
        kontrolka<QRadioButton>("RAdowolna")->click();
        QTimer::singleShot(0, okno.get(), [&] {
            okno->ARCHF1()->wybierz(inny.path());
            EXPECT_EQ(okno->ARCHF1()->windowTitle(), QStringLiteral("Wyszukiwanie katalogu"));
            okno->ARCHF1()->close();
        });
        okno->SpeedButton1Click();
        EXPECT_EQ(kontrolka<QLineEdit>("EDR")->text(), QDir::toNativeSeparators(inny.path()));
        kontrolka<QRadioButton>("RAdomyslna")->click();
        EXPECT_FALSE(kontrolka<QGroupBox>("GDR")->isEnabled());
        kontrolka<QPushButton>("BitBtn2")->click();
    });
    EXPECT_TRUE(QFileInfo(inny.filePath(QStringLiteral("2005/HARNOL/HARNOL.DB"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(R() + QStringLiteral("ARCHIWUM")));
}

TEST_F(TARCHFTest, RestoreAsksFirstAndDecliningChangesNothing)
{
    pokazIWykonaj([&] { kontrolka<QPushButton>("BitBtn2")->click(); });
    tabela(QStringLiteral("2005/HARNOL/HARNOL.DB"), {QStringLiteral("7")});
    const QStringList przed = directoryEntries(katalog.path());
    okna.answerNext(MessageBoxes::Answer::No);
    const int wynik = pokazIWykonaj([&] {
        kontrolka<QTabWidget>("Tab")->setCurrentIndex(1);
        kontrolka<QPushButton>("BitBtn4")->click();
    });
    EXPECT_EQ(wynik, QDialog::Accepted);
    EXPECT_EQ(okna.shown().last().text,
              QStringLiteral("Uwaga odtworzenie spowoduje utratę wszystkich zapisów od daty "
                             "ostatniego archiwowania.\rCzy odtwarzać zbiory ?"));
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Warning);
    EXPECT_EQ(directoryEntries(katalog.path()), przed);
    EXPECT_EQ(rekordy(R() + QStringLiteral("2005/HARNOL/HARNOL.DB")),
              (QList<QStringList>{{QStringLiteral("7"), QStringLiteral("opis 7")}}));
    EXPECT_TRUE(dane->TFIRMA.isOpen());
}

TEST_F(TARCHFTest, RestoreBringsTheArchiveBackKeepsASafetyCopyAndReopensTheData)
{
    pokazIWykonaj([&] { kontrolka<QPushButton>("BitBtn2")->click(); });
    // Work after the archive, which the restore takes back.
    {
        Table t;
        t.setTableName(R() + QStringLiteral("2005/HARNOL/HARNOL.DB"));
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("NR")).setAsString(QStringLiteral("3"));
        t.post();
    }
    okna.answerNext(MessageBoxes::Answer::Yes);
    pokazIWykonaj([&] {
        kontrolka<QTabWidget>("Tab")->setCurrentIndex(1);
        kontrolka<QPushButton>("BitBtn4")->click();
    });
    EXPECT_EQ(rekordy(R() + QStringLiteral("2005/HARNOL/HARNOL.DB")).size(), 2);
    // The restore brings back the date the archive held, and the module has the firm table
    // open again on it.
    EXPECT_TRUE(dane->TFIRMA.isOpen());
    EXPECT_EQ(dane->TFIRMA.fieldByName(QStringLiteral("ARCHDATA")).asString(),
              QStringLiteral("2005.01.02"));
    EXPECT_EQ(kontrolka<QLineEdit>("DBText2")->text(), QStringLiteral("2005.01.02"));
    EXPECT_EQ(w.listaLat, (QStringList{QStringLiteral("2004"), QStringLiteral("2005")}));
    EXPECT_EQ(postep.napis, QStringLiteral("Odtwarzanie zbiorów"));
    EXPECT_EQ(postep.kroki, 4);
    // The live data from before the restore is in the safety folder the final box names.
    const QStringList bezpieczne =
        QDir(katalog.path()).entryList({QStringLiteral("ODTWARZANIE-*")}, QDir::Dirs);
    ASSERT_EQ(bezpieczne.size(), 1);
    EXPECT_EQ(
        rekordy(katalog.filePath(bezpieczne.first() + QStringLiteral("/2005/HARNOL/HARNOL.DB")))
            .size(),
        3);
    const ShownBox &koniec = okna.shown().last();
    EXPECT_EQ(koniec.icon, MessageBoxes::Icon::Information);
    EXPECT_TRUE(koniec.text.contains(bezpieczne.first())) << qPrintable(koniec.text);
}

TEST_F(TARCHFTest, RestoreFromAMissingArchiveSaysSoAndTouchesNothing)
{
    const QStringList przed = directoryEntries(katalog.path());
    pokazIWykonaj([&] {
        kontrolka<QTabWidget>("Tab")->setCurrentIndex(1);
        kontrolka<QPushButton>("BitBtn4")->click();
    });
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_TRUE(okna.shown()[0].text.contains(QStringLiteral("nie istnieje")));
    EXPECT_EQ(directoryEntries(katalog.path()), przed);
    EXPECT_TRUE(dane->TFIRMA.isOpen());
}

// The reminder, on the firm table of the module: the stored period and date, today 2005.03.10.
TEST_F(TARCHFTest, TheReminderAsksOnceThePeriodHasPassed)
{
    struct Przypadek
    {
        const char *nazwa;
        QString dni;
        QString data;
        bool pyta;
        int minelo;
        QString zapisaneDni;
        QString zapisanaData;
    };
    const QString dzis = QStringLiteral("2005.03.10");
    const QList<Przypadek> przypadki{
        {"3 days of 3", QStringLiteral("3"), QStringLiteral("2005.03.07"), true, 3, {}, {}},
        {"2 days of 3", QStringLiteral("3"), QStringLiteral("2005.03.08"), false, 0, {}, {}},
        {"across a year", QStringLiteral("30"), QStringLiteral("2004.12.31"), true, 69, {}, {}},
        {"empty period stores 3",
         QString(),
         QStringLiteral("2005.03.01"),
         true,
         9,
         QStringLiteral("3"),
         {}},
        {"empty date stores today", QStringLiteral("1"), QString(), false, 0, {}, dzis},
        {"short date stores today",
         QStringLiteral("1"),
         QStringLiteral("2005.3.1"),
         false,
         0,
         {},
         dzis},
        {"a later date", QStringLiteral("1"), QStringLiteral("2005.04.01"), false, 0, {}, {}},
        {"month 13", QStringLiteral("1"), QStringLiteral("2004.13.01"), false, 0, {}, {}},
        {"31 April", QStringLiteral("1"), QStringLiteral("2004.04.31"), false, 0, {}, {}},
        {"letters", QStringLiteral("1"), QStringLiteral("abcd.ef.gh"), false, 0, {}, {}},
        {"period 0", QStringLiteral("0"), QStringLiteral("2000.01.01"), false, 0, {}, {}},
        {"negative period", QStringLiteral("-5"), QStringLiteral("2000.01.01"), false, 0, {}, {}},
        {"period 0, both defaults", QStringLiteral("0"), QString(), false, 0, {}, dzis},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        Table &f = dane->TFIRMA;
        f.edit();
        f.fieldByName(QStringLiteral("ARCHDNI")).setAsString(p.dni);
        f.fieldByName(QStringLiteral("ARCHDATA")).setAsString(p.data);
        f.post();
        const qsizetype przed = okna.shown().size();
        if (p.pyta)
            okna.answerNext(MessageBoxes::Answer::No);
        okno->SPRAWDZ();
        ASSERT_EQ(okna.shown().size(), przed + (p.pyta ? 1 : 0));
        if (p.pyta) {
            EXPECT_EQ(okna.shown().last().text,
                      QStringLiteral("Minęły %1 od ostatniej aktualizacji ARCHIWUM.\rCzy chcesz "
                                     "zarchiwować dane ?")
                          .arg(p.minelo));
            EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Warning);
        }
        EXPECT_EQ(f.fieldByName(QStringLiteral("ARCHDNI")).asString(),
                  p.zapisaneDni.isEmpty() ? p.dni : p.zapisaneDni);
        EXPECT_EQ(f.fieldByName(QStringLiteral("ARCHDATA")).asString(),
                  p.zapisanaData.isEmpty() ? p.data : p.zapisanaData);
        EXPECT_FALSE(okno->isVisible());
    }
    // Stored, not only shown.
    EXPECT_EQ(archdata(R() + QStringLiteral("FIRMA.DB")), dzis);
}

TEST_F(TARCHFTest, YesShowsTheWindowAndLeavingItWithPrzerwijAsksAgainNextTime)
{
    Table &f = dane->TFIRMA;
    f.edit();
    f.fieldByName(QStringLiteral("ARCHDNI")).setAsString(QStringLiteral("3"));
    f.fieldByName(QStringLiteral("ARCHDATA")).setAsString(QStringLiteral("2005.03.01"));
    f.post();
    okna.answerNext(MessageBoxes::Answer::Yes);
    bool pokazane = false;
    QTimer::singleShot(0, okno.get(), [&] {
        pokazane = okno->isVisible();
        EXPECT_EQ(kontrolka<QLineEdit>("EDR")->text(),
                  QDir::toNativeSeparators(R() + QStringLiteral("ARCHIWUM")));
        kontrolka<QPushButton>("BitBtn1")->click();
    });
    okno->SPRAWDZ();
    EXPECT_TRUE(pokazane);
    EXPECT_FALSE(QFileInfo::exists(R() + QStringLiteral("ARCHIWUM")));
    okna.answerNext(MessageBoxes::Answer::No);
    okno->SPRAWDZ();
    EXPECT_EQ(okna.shown().size(), 2);
}

TEST_F(TARCHFTest, TheReminderDoesNothingWithoutTheFirmTable)
{
    dane->TFIRMA.close();
    okno->SPRAWDZ();
    EXPECT_TRUE(okna.shown().isEmpty());
}

} // namespace
} // namespace rawen::test
