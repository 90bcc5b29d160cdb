#include "shell/TRAWENF.h"

#include "archive/TARCHF.h"
#include "company/TFIRMAF.h"
#include "data/TDANE.h"
#include "data/TabelaFirmy.h"
#include "data/WartosciProgramu.h"
#include "install/TKATALOGF.h"
#include "platform/FaultPoint.h"
#include "platform/FileNames.h"
#include "platform/Processes.h"
#include "platform/QtProcesses.h"
#include "platform/Ustawienia.h"
#include "support/FixedAppContext.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"
#include "year/TROKF.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace rawen::test {
namespace {

struct Start
{
    QString program;
    QStringList argumenty;
};

class ZapisaneProcesy final : public Processes
{
public:
    Result startDetached(const QString &program, const QStringList &arguments) override
    {
        starty.append({program, arguments});
        return QFile::exists(resolveCaseInsensitive(program)) ? Result::Started
                                                              : Result::FileNotFound;
    }
    QList<Start> starty;
};

// A data root as the main window finds it: firm 000's tables, firm directories, module programs.
class TRAWENFTest : public testing::Test
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
    }

    QString root() const { return katalog.path() + u'/'; }

    void firma(const QString &gdzie, const QString &skrot)
    {
        QDir().mkpath(gdzie);
        Table t;
        t.setTableName(gdzie + QStringLiteral("/FIRMA"));
        AktualizujTabeleFirmy(t);
        t.edit();
        t.fieldByName(QStringLiteral("SKROT")).setAsString(skrot);
        t.post();
    }

    void plik(const QString &nazwa)
    {
        QFile f(katalog.filePath(nazwa));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    // The templates of a new firm in the data root: the working year 2005 and BAZA, a table in
    // each.
    void szablony()
    {
        const QList<FieldDef> pola{{QStringLiteral("NR"), ftInteger, 0, false},
                                   {QStringLiteral("NAZWA"), ftString, 20, false}};
        for (const char *tabela : {"2005/FIN/KONTRAHI.DB", "BAZA/SLOWNIK.DB"}) {
            const QString sciezka = katalog.filePath(QLatin1String(tabela));
            QDir().mkpath(QFileInfo(sciezka).path());
            makeTable(sciezka, pola, {}, {{"1", "Hurtownia"}});
        }
    }

    // Makes the window as start-up does and shows it, which runs FormShow.
    std::unique_ptr<TRAWENF> pokaz()
    {
        w.tytul = QStringLiteral("RAWEN 2.0");
        w.ustawDateStartu(AppContext::current());
        dane = std::make_unique<TDANE>(w);
        auto okno = std::make_unique<TRAWENF>(w, *dane, procesy);
        okno->show();
        return okno;
    }

    static QStringList pozycje(TRAWENF &okno)
    {
        QStringList wynik;
        auto *lista = okno.findChild<QListWidget *>(QStringLiteral("FIRMA"));
        for (int i = 0; i < lista->count(); ++i)
            wynik << lista->item(i)->text();
        return wynik;
    }

    static void wybierz(TRAWENF &okno, const QString &poczatek)
    {
        auto *lista = okno.findChild<QListWidget *>(QStringLiteral("FIRMA"));
        for (int i = 0; i < lista->count(); ++i) {
            if (lista->item(i)->text().startsWith(poczatek))
                lista->item(i)->setSelected(true);
        }
    }

    static void kliknij(TRAWENF &okno, const QString &nazwa)
    {
        auto *kontrolka = okno.findChild<QWidget *>(nazwa);
        ASSERT_TRUE(kontrolka) << nazwa.toStdString();
        QTest::mouseClick(kontrolka, Qt::LeftButton, {}, QPoint(2, 2));
    }

    // "Nowa firma" clicked: the company data form it shows modally gets `skrot` typed as the
    // short name (nothing when empty) and is closed with its close box; `wFormie` runs first,
    // while the form is open.
    static void nowaFirma(TRAWENF &okno, const QString &skrot,
                          const std::function<void(TFIRMAF &)> &wFormie = {})
    {
        // What the window's first showing left queued (the archive reminder on firm 000's
        // table) runs first, as it does before a user can click.
        QCoreApplication::processEvents();
        bool pokazana = false;
        QTimer::singleShot(0, [&] {
            auto *forma = qobject_cast<TFIRMAF *>(QApplication::activeModalWidget());
            ASSERT_TRUE(forma);
            pokazana = true;
            if (wFormie)
                wFormie(*forma);
            if (!skrot.isEmpty()) {
                QApplication::setActiveWindow(forma);
                auto *pole = forma->findChild<QLineEdit *>(QStringLiteral("DBEdit3"));
                pole->setFocus(Qt::MouseFocusReason);
                for (const QChar znak : skrot)
                    QTest::sendKeyEvent(QTest::Click, pole, Qt::Key_unknown, QString(znak),
                                        Qt::NoModifier);
            }
            forma->close();
        });
        kliknij(okno, QStringLiteral("Panel4"));
        EXPECT_TRUE(pokazana);
    }

    // Selects the item that begins with `poczatek` as a user does, with a click.
    static void kliknijPozycje(TRAWENF &okno, const QString &poczatek)
    {
        auto *lista = okno.findChild<QListWidget *>(QStringLiteral("FIRMA"));
        for (int i = 0; i < lista->count(); ++i) {
            if (lista->item(i)->text().startsWith(poczatek))
                QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                                  lista->visualItemRect(lista->item(i)).center());
        }
    }

    static QString katalogPozycji(TRAWENF &okno, const QString &poczatek)
    {
        auto *lista = okno.findChild<QListWidget *>(QStringLiteral("FIRMA"));
        for (int i = 0; i < lista->count(); ++i) {
            if (lista->item(i)->text().startsWith(poczatek))
                return lista->item(i)->data(Qt::UserRole).toString();
        }
        return {};
    }

    QTemporaryDir katalog;
    std::unique_ptr<FixedAppContext> staly;
    ScriptedMessageBoxes okna;
    WartosciProgramu w;
    std::unique_ptr<TDANE> dane;
    ZapisaneProcesy procesy;
};

TEST_F(TRAWENFTest, TheFirmListIsInNumberOrderWhateverTheDirectoryOrder)
{
    firma(katalog.path(), QStringLiteral("Biuro Rachunkowe"));
    for (const char *nazwa : {"FIRMA010", "FIRMA001", "FIRMA002"})
        firma(katalog.filePath(QString::fromLatin1(nazwa)),
              QStringLiteral("Firma ") + QString::fromLatin1(nazwa).right(3));
    firma(katalog.filePath(QStringLiteral("#IRMA003")), QStringLiteral("Skasowana"));
    firma(katalog.filePath(QStringLiteral("FIRMA12")), QStringLiteral("Krótka nazwa"));
    firma(katalog.filePath(QStringLiteral("FIRMA005")), QString());
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("FIRMA004"))); // no firm table
    plik(QStringLiteral("FIRMA006"));                                    // a file, not a directory

    auto okno = pokaz();
    EXPECT_EQ(okno->windowTitle(), QStringLiteral("RAWEN 2.0"));
    EXPECT_EQ(okno->katalogGlowny(), root());
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro Rachunkowe", "001 Firma 001", "002 Firma 002",
                                           "005 ", "010 Firma 010", "12 Krótka nazwa"}));
    EXPECT_TRUE(okno->findChild<QListWidget *>(QStringLiteral("FIRMA"))->selectedItems().isEmpty());
    EXPECT_FALSE(okno->Table1.isOpen());
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(TRAWENFTest, WithoutAFirmTableInTheDataRootTheListIsEmpty)
{
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Firma"));
    plik(QStringLiteral("RAWEN.DB")); // not a table: the data module opens nothing silently
    ScriptedMessageBoxes ciche;
    auto okno = pokaz();
    EXPECT_TRUE(pozycje(*okno).isEmpty());
}

TEST_F(TRAWENFTest, MissingModulesAreCoveredAndGreyed)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    plik(QStringLiteral("harnol.exe"));
    plik(QStringLiteral("SELVIK.EXE")); // found whatever the case
    ASSERT_TRUE(
        QDir(katalog.path()).mkdir(QStringLiteral("borvik.exe"))); // a directory is no program

    auto okno = pokaz();
    for (const char *kod :
         {"DREMOT", "LOMIRA", "HARNOL", "GARVEL", "SELVIK", "TESSUN", "PUNTOR", "BORVIK"}) {
        const QString k = QString::fromLatin1(kod);
        const bool jest = k == QLatin1String("HARNOL") || k == QLatin1String("SELVIK");
        auto *zaslona = okno->findChild<QLabel *>(QStringLiteral("S") + k);
        auto *etykieta = okno->findChild<QLabel *>(QStringLiteral("L") + k);
        ASSERT_TRUE(zaslona && etykieta);
        EXPECT_EQ(zaslona->isVisible(), !jest) << kod;
        const QColor kolor = etykieta->palette().color(QPalette::WindowText);
        EXPECT_EQ(kolor == etykieta->palette().color(QPalette::Dark), !jest) << kod;
    }
}

// Installed, the program finds the modules of a package of the suite in its modules folder, for
// a data root chosen at start.
TEST_F(TRAWENFTest, ModulesOfTheInstallationAreAvailableBesideThoseOfTheDataRoot)
{
    QTemporaryDir instalacja;
    const QString moduly = instalacja.filePath(QStringLiteral("usr/lib/rawen/moduly/"));
    ASSERT_TRUE(QDir().mkpath(moduly) && QDir().mkpath(instalacja.filePath("usr/bin")));
    QFile modul(moduly + QStringLiteral("garvel.exe"));
    ASSERT_TRUE(modul.open(QIODevice::WriteOnly));
    modul.close();
    AppContext kontekst = AppContext::current();
    kontekst.executablePath = instalacja.filePath(QStringLiteral("usr/bin/rawen"));
    kontekst.chosenDataRoot = katalog.path();
    FixedAppContext zainstalowany(kontekst);
    firma(katalog.path(), QStringLiteral("Biuro"));
    plik(QStringLiteral("harnol.exe"));

    auto okno = pokaz();
    for (const char *kod : {"HARNOL", "GARVEL", "SELVIK"}) {
        const bool jest = qstrcmp(kod, "SELVIK") != 0;
        EXPECT_EQ(okno->findChild<QLabel *>(QStringLiteral("S") + QLatin1String(kod))->isVisible(),
                  !jest)
            << kod;
    }
    wybierz(*okno, QStringLiteral("000"));
    kliknij(*okno, QStringLiteral("PGARVEL"));
    kliknij(*okno, QStringLiteral("PHARNOL"));
    ASSERT_EQ(procesy.starty.size(), 2);
    EXPECT_EQ(procesy.starty[0].program, moduly + QStringLiteral("GARVEL.EXE"));
    EXPECT_EQ(procesy.starty[1].program, root() + QStringLiteral("HARNOL.EXE"));
    EXPECT_TRUE(okna.texts().isEmpty()) << qPrintable(okna.texts().join(u'\n'));
}

// "Katalog danych" chooses another data root through the first-run window and closes the main
// window so that the program starts again there; the same data root, or a cancel, change
// nothing. A program that lives in its data root has nothing to choose.
TEST_F(TRAWENFTest, AnotherDataRootClosesTheWindowForTheProgramToStartThere)
{
    QTemporaryDir inny, ustawienia;
    Ustawienia::redirectTo(ustawienia.path());
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(inny.path(), QStringLiteral("Drugie biuro"));
    {
        auto okno = pokaz();
        EXPECT_FALSE(okno->findChild<QWidget *>(QStringLiteral("Panel8"))->isVisible());
    }
    AppContext kontekst = AppContext::current();
    kontekst.executablePath = QStringLiteral("/usr/bin/rawen");
    kontekst.chosenDataRoot = katalog.path();
    kontekst.homeDirectory = ustawienia.path();
    FixedAppContext zainstalowany(kontekst);

    const struct
    {
        QString wybrany; // empty: the window is cancelled
        QString nowy;
    } przypadki[] = {
        {QString(), QString()}, {katalog.path() + u'/', QString()}, {inny.path(), inny.path()}};
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.wybrany.toStdString());
        auto okno = pokaz();
        QCoreApplication::processEvents();
        auto *panel = okno->findChild<QWidget *>(QStringLiteral("Panel8"));
        ASSERT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->toolTip(), QStringLiteral("Katalog danych: ") + root());
        bool pokazane = false;
        QTimer::singleShot(0, [&] {
            auto *wybor = qobject_cast<TKATALOGF *>(QApplication::activeModalWidget());
            ASSERT_TRUE(wybor);
            pokazane = true;
            // It opens on the data root in use.
            EXPECT_EQ(wybor->findChild<QLineEdit *>(QStringLiteral("EISTNIEJACY"))->text(),
                      katalog.path());
            if (p.wybrany.isEmpty()) {
                wybor->reject();
                return;
            }
            wybor->findChild<QLineEdit *>(QStringLiteral("EISTNIEJACY"))->setText(p.wybrany);
            wybor->findChild<QPushButton *>(QStringLiteral("BOTWORZ"))->click();
        });
        kliknij(*okno, QStringLiteral("Label7"));
        EXPECT_TRUE(pokazane);
        EXPECT_EQ(okno->nowyKatalog(), p.nowy);
        EXPECT_EQ(okno->isVisible(), p.nowy.isEmpty());
    }
    EXPECT_TRUE(okna.texts().isEmpty()) << qPrintable(okna.texts().join(u'\n'));
    EXPECT_EQ(Ustawienia().katalogDanych(), inny.path());
    Ustawienia::redirectTo(QString());
}

TEST_F(TRAWENFTest, AModuleStartsForTheSelectedFirm)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Sklep"));
    plik(QStringLiteral("harnol.exe"));
    auto okno = pokaz();

    kliknij(*okno, QStringLiteral("PHARNOL"));
    EXPECT_EQ(okna.texts(), QStringList{QStringLiteral("Brak wybranej firmy")});
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Warning);
    EXPECT_TRUE(procesy.starty.isEmpty());

    wybierz(*okno, QStringLiteral("001"));
    for (const char *kontrolka : {"PHARNOL", "IHARNOL", "LHARNOL", "SHARNOL"})
        kliknij(*okno, QString::fromLatin1(kontrolka));
    ASSERT_EQ(procesy.starty.size(), 4);
    for (const Start &s : procesy.starty) {
        EXPECT_EQ(s.program, root() + QStringLiteral("HARNOL.EXE"));
        EXPECT_EQ(s.argumenty,
                  QStringList{QStringLiteral("DR=") + root() + QStringLiteral("FIRMA001/")});
    }
    EXPECT_EQ(okna.shown().size(), 1);

    // A missing program is still tried, and then reported with its path.
    wybierz(*okno, QStringLiteral("000"));
    okno->findChild<QListWidget *>(QStringLiteral("FIRMA"))->item(1)->setSelected(false);
    kliknij(*okno, QStringLiteral("LDREMOT"));
    ASSERT_EQ(procesy.starty.size(), 5);
    EXPECT_TRUE(procesy.starty.last().argumenty.isEmpty());
    EXPECT_EQ(okna.shown().last().text,
              QStringLiteral("Błąd otwarcia programu : ") + root() + QStringLiteral("DREMOT.EXE"));
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Error);
}

// A module is sent to its firm's directory as the firm list found it on the disk, never to
// another firm's directory that a rebuilt name would point at.
TEST_F(TRAWENFTest, AModuleGoesToTheFirmDirectoryAsTheDiskNamesIt)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Pierwsza"));
    firma(katalog.filePath(QStringLiteral("FIRMA001 ")), QStringLiteral("Ze spacją"));
    firma(katalog.filePath(QStringLiteral("firma002")), QStringLiteral("Druga"));
    plik(QStringLiteral("harnol.exe"));
    auto okno = pokaz();
    auto *lista = okno->findChild<QListWidget *>(QStringLiteral("FIRMA"));
    const QList<QPair<QString, QString>> przypadki{
        {QStringLiteral("001 Pierwsza"), QStringLiteral("FIRMA001/")},
        {QStringLiteral("001 Ze spacją"), QStringLiteral("FIRMA001_/")},
        {QStringLiteral("002 Druga"), QStringLiteral("firma002/")},
    };
    for (const auto &[pozycja, katalogFirmy] : przypadki) {
        SCOPED_TRACE(pozycja.toStdString());
        lista->clearSelection();
        const QList<QListWidgetItem *> znalezione = lista->findItems(pozycja, Qt::MatchExactly);
        ASSERT_EQ(znalezione.size(), 1);
        znalezione.first()->setSelected(true);
        kliknij(*okno, QStringLiteral("PHARNOL"));
        ASSERT_FALSE(procesy.starty.isEmpty());
        QString oczekiwany = QStringLiteral("DR=") + root() + katalogFirmy;
        oczekiwany.replace(u' ', u'_');
        EXPECT_EQ(procesy.starty.last().argumenty, QStringList{oczekiwany});
    }
    EXPECT_EQ(procesy.starty.size(), 3);
    EXPECT_TRUE(okna.shown().isEmpty());
}

// "Otwarcie roku" opens the year form modally, made once and kept.
TEST_F(TRAWENFTest, OpeningAYearShowsTheYearFormModally)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    auto okno = pokaz();
    QList<QWidget *> widziane;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, [&] {
            QWidget *modalne = QApplication::activeModalWidget();
            widziane << modalne;
            if (modalne)
                modalne->close();
        });
        kliknij(*okno, i == 0 ? QStringLiteral("Panel7") : QStringLiteral("Label6"));
    }
    ASSERT_EQ(widziane.size(), 2);
    ASSERT_TRUE(qobject_cast<TROKF *>(widziane[0]));
    EXPECT_EQ(widziane[0], widziane[1]);
    EXPECT_EQ(widziane[0], okno->ROKF());
    EXPECT_EQ(widziane[0]->windowTitle(), QStringLiteral("Otwarcie baz na nowy rok"));
}

TEST_F(TRAWENFTest, ArchivingShowsTheArchiveWindowModally)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    auto okno = pokaz();
    QList<QWidget *> widziane;
    for (const char *kontrolka : {"Panel6", "Label5"}) {
        QTimer::singleShot(0, [&] {
            QWidget *modalne = QApplication::activeModalWidget();
            widziane << modalne;
            if (modalne)
                modalne->close();
        });
        kliknij(*okno, QString::fromLatin1(kontrolka));
    }
    ASSERT_EQ(widziane.size(), 2);
    ASSERT_TRUE(qobject_cast<TARCHF *>(widziane[0]));
    EXPECT_EQ(widziane[0], widziane[1]);
    EXPECT_EQ(widziane[0], okno->ARCHF());
    EXPECT_EQ(widziane[0]->windowTitle(), QStringLiteral("Moduł ARCHIWUM"));
}

// The archive reminder asks once a run, after the window is first shown.
TEST_F(TRAWENFTest, TheArchiveReminderRunsOnceWhenTheWindowIsFirstShown)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    {
        Table t;
        t.setTableName(katalog.filePath(QStringLiteral("FIRMA")));
        t.open();
        t.edit();
        t.fieldByName(QStringLiteral("ARCHDNI")).setAsString(QStringLiteral("3"));
        t.fieldByName(QStringLiteral("ARCHDATA")).setAsString(QStringLiteral("2005.03.01"));
        t.post();
    }
    okna.answerNext(MessageBoxes::Answer::No);
    auto okno = pokaz();
    EXPECT_TRUE(okna.shown().isEmpty());
    QCoreApplication::processEvents();
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_TRUE(okna.shown()[0].text.startsWith(QStringLiteral("Minęły 9 od ostatniej")));
    okno->hide();
    okno->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(okna.shown().size(), 1);
}

TEST_F(TRAWENFTest, TheCommandPanelsAreNotModules)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    szablony();
    auto okno = pokaz();
    wybierz(*okno, QStringLiteral("000"));
    // A command that opens a window of its own has it closed again at once.
    QTimer zamykanie;
    QObject::connect(&zamykanie, &QTimer::timeout, [] {
        if (QWidget *modalne = QApplication::activeModalWidget())
            modalne->close();
    });
    zamykanie.start(10);
    // Each new firm's form is closed with nothing typed: made all the same; each deletion of the
    // firm just made (it is selected) answered No.
    for (int i = 0; i < 3; ++i)
        okna.answerNext(MessageBoxes::Answer::Yes);
    for (int i = 0; i < 3; ++i)
        okna.answerNext(MessageBoxes::Answer::No);
    for (const char *kontrolka : {"Panel1", "Panel4", "Image3", "Label3", "Panel5", "Image4",
                                  "Label4", "Panel6", "Label5", "Panel7", "Label6", "GroupBox1"})
        kliknij(*okno, QString::fromLatin1(kontrolka));
    zamykanie.stop();
    EXPECT_TRUE(procesy.starty.isEmpty());
    QStringList pytania;
    for (const char *numer : {"001", "002", "003"})
        pytania << QStringLiteral("Nie wpisano ani nazwy firmy, ani nazwy skróconej.\rCzy utworzyć "
                                  "firmę %1 bez nazwy ?")
                       .arg(QLatin1String(numer));
    for (int i = 0; i < 3; ++i)
        pytania << QStringLiteral("Czy skasować firmę : ");
    EXPECT_EQ(okna.texts(), pytania);
    // Each control of "Nowa firma" made a firm; each of "Kasuj firmę" asked about the last one.
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 ", "002 ", "003 "}));
}

// Records how the year form looked each time it was shown.
class PokazaniaRoku : public QObject
{
public:
    QStringList widziane;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *rokf = static_cast<TROKF *>(watched);
            widziane << rokf->windowTitle() + (rokf->DANE()->isVisibleTo(rokf)
                                                   ? QStringLiteral(", z panelem")
                                                   : QStringLiteral(", bez panelu"));
        }
        return false;
    }
};

// "Nowa firma" takes the number after the highest of the list, shows the company data form on
// the new firm's empty table, copies the working year and BAZA while the year form shows only
// its log, and adds the item, which knows its directory. The data module has firm 000's table
// open again afterwards.
TEST_F(TRAWENFTest, ANewFirmGetsTheNextNumberItsTablesAndItsItem)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Sklep"));
    firma(katalog.filePath(QStringLiteral("FIRMA002")), QStringLiteral("Warsztat"));
    szablony();
    plik(QStringLiteral("harnol.exe"));
    auto okno = pokaz();
    ASSERT_EQ(w.rokRoboczy, QStringLiteral("2005"));
    wybierz(*okno, QStringLiteral("001"));

    PokazaniaRoku pokazania;
    QString tabelaFormy;
    bool pustaTabela = false;
    nowaFirma(*okno, QStringLiteral("Kwiaciarnia"), [&](TFIRMAF &) {
        tabelaFormy = dane->TFIRMA.tableName();
        pustaTabela = dane->TFIRMA.isOpen() && dane->TFIRMA.isEmpty();
        ASSERT_TRUE(okno->ROKF());
        okno->ROKF()->installEventFilter(&pokazania);
    });
    EXPECT_EQ(QDir::cleanPath(tabelaFormy), katalog.filePath(QStringLiteral("FIRMA003/FIRMA")));
    EXPECT_TRUE(pustaTabela);
    EXPECT_EQ(pokazania.widziane,
              QStringList{QStringLiteral("Przygotowanie środowiska, bez panelu")});
    EXPECT_FALSE(okno->ROKF()->isVisible());
    EXPECT_EQ(okno->ROKF()->windowTitle(), QStringLiteral("Otwarcie baz na nowy rok"));
    EXPECT_TRUE(okno->ROKF()->DANE()->isVisibleTo(okno->ROKF()));
    EXPECT_TRUE(okna.shown().isEmpty()) << okna.texts().join(u'\n').toStdString();

    EXPECT_EQ(pozycje(*okno),
              (QStringList{"000 Biuro", "001 Sklep", "002 Warsztat", "003 Kwiaciarnia"}));
    EXPECT_EQ(katalogPozycji(*okno, QStringLiteral("003")), root() + QStringLiteral("FIRMA003/"));
    for (const char *plikFirmy :
         {"FIRMA003/FIRMA.DB", "FIRMA003/2005/FIN/KONTRAHI.DB", "FIRMA003/BAZA/SLOWNIK.DB"})
        EXPECT_TRUE(QFileInfo::exists(katalog.filePath(QLatin1String(plikFirmy)))) << plikFirmy;
    Table nowa;
    nowa.setTableName(katalog.filePath(QStringLiteral("FIRMA003/FIRMA")));
    nowa.open();
    EXPECT_EQ(nowa.fieldByName(QStringLiteral("SKROT")).asString(), QStringLiteral("Kwiaciarnia"));

    // The company data form, the archive date and the reminder go on working on firm 000.
    EXPECT_TRUE(dane->TFIRMA.isOpen());
    EXPECT_EQ(dane->TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(),
              QStringLiteral("Biuro"));
    EXPECT_FALSE(okno->Table1.isOpen());

    // The new firm is selected in place of the one before, and is a firm like any other: a
    // module starts for it in its directory.
    const QList<QListWidgetItem *> wybrane =
        okno->findChild<QListWidget *>(QStringLiteral("FIRMA"))->selectedItems();
    ASSERT_EQ(wybrane.size(), 1);
    EXPECT_EQ(wybrane.first()->text(), QStringLiteral("003 Kwiaciarnia"));
    kliknij(*okno, QStringLiteral("PHARNOL"));
    ASSERT_EQ(procesy.starty.size(), 1);
    EXPECT_EQ(procesy.starty.last().argumenty,
              QStringList{QStringLiteral("DR=") + root() + QStringLiteral("FIRMA003/")});
}

// Closed without a name (with Escape, or with its close box), the company data form asks whether
// to make a nameless firm: Yes gives the item of the number and one space, the firm selected; No
// leaves nothing of the creation, no item, and the next "Nowa firma" takes the same number.
TEST_F(TRAWENFTest, AFormClosedWithoutANameAsksAndNoLeavesNoTrace)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Sklep"));
    szablony();
    auto okno = pokaz();
    auto *lista = okno->findChild<QListWidget *>(QStringLiteral("FIRMA"));
    const QStringList przed = directoryEntries(katalog.path());
    const auto escape = [](TFIRMAF &forma) {
        QApplication::setActiveWindow(&forma);
        QTest::keyClick(&forma, Qt::Key_Escape);
        EXPECT_FALSE(forma.isVisible());
    };

    okna.answerNext(MessageBoxes::Answer::No);
    nowaFirma(*okno, QString(), escape);
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown().last().text,
              QStringLiteral("Nie wpisano ani nazwy firmy, ani nazwy skróconej.\rCzy utworzyć "
                             "firmę 002 bez nazwy ?"));
    EXPECT_EQ(okna.shown().last().buttons, MessageBoxes::Buttons::YesNo);
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Sklep"}));
    EXPECT_EQ(directoryEntries(katalog.path()), przed);
    EXPECT_FALSE(okno->ROKF() && okno->ROKF()->isVisible());
    EXPECT_TRUE(dane->TFIRMA.isOpen());
    EXPECT_EQ(dane->TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(),
              QStringLiteral("Biuro"));

    // A name typed into either field makes the firm without a question.
    nowaFirma(*okno, QStringLiteral("Apteka"));
    EXPECT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Sklep", "002 Apteka"}));

    okna.answerNext(MessageBoxes::Answer::Yes);
    nowaFirma(*okno, QString());
    ASSERT_EQ(okna.shown().size(), 2);
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Sklep", "002 Apteka", "003 "}));
    ASSERT_EQ(lista->selectedItems().size(), 1);
    EXPECT_EQ(lista->selectedItems().first()->text(), QStringLiteral("003 "));
    EXPECT_EQ(lista->currentItem(), lista->selectedItems().first());
    Table nowa;
    nowa.setTableName(katalog.filePath(QStringLiteral("FIRMA003/FIRMA")));
    nowa.open();
    EXPECT_TRUE(nowa.isEmpty());
}

// A deleted firm's number is free again; deleting the second firm of that number keeps the first
// one's data where they are and puts the second beside them, and the answer says where.
TEST_F(TRAWENFTest, ADeletedNumberIsUsedAgainAndEachDeletionKeepsItsData)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Sklep"));
    firma(katalog.filePath(QStringLiteral("FIRMA002")), QStringLiteral("Warsztat"));
    szablony();
    auto okno = pokaz();
    auto *lista = okno->findChild<QListWidget *>(QStringLiteral("FIRMA"));

    kliknijPozycje(*okno, QStringLiteral("002"));
    okna.answerNext(MessageBoxes::Answer::Yes);
    kliknij(*okno, QStringLiteral("Panel5"));
    EXPECT_EQ(okna.texts(),
              (QStringList{QStringLiteral("Czy skasować firmę : Warsztat"),
                           QStringLiteral("Firma 002 została usunięta z wykazu.\rJej dane "
                                          "pozostają w katalogu %1.")
                               .arg(katalog.filePath(QStringLiteral("#IRMA002")))}));
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Information);
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Sklep"}));
    // No other firm is selected in its place.
    EXPECT_TRUE(lista->selectedItems().isEmpty());
    EXPECT_TRUE(QFileInfo(katalog.filePath(QStringLiteral("#IRMA002/FIRMA.DB"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(katalog.filePath(QStringLiteral("FIRMA002"))));

    for (const char *nazwa : {"Piekarnia", "Kwiaciarnia"}) {
        SCOPED_TRACE(nazwa);
        nowaFirma(*okno, QLatin1String(nazwa));
        EXPECT_EQ(pozycje(*okno),
                  (QStringList{"000 Biuro", "001 Sklep", QStringLiteral("002 ") + nazwa}));
        // The new firm is the one selected, and "Kasuj firmę" asks about it.
        okna.answerNext(MessageBoxes::Answer::Yes);
        kliknij(*okno, QStringLiteral("Image4"));
        EXPECT_EQ(okna.shown().at(okna.shown().size() - 2).text,
                  QStringLiteral("Czy skasować firmę : ") + QLatin1String(nazwa));
        EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Information);
        EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Sklep"}));
    }
    EXPECT_TRUE(okna.shown().last().text.endsWith(
        QStringLiteral("katalogu %1.").arg(katalog.filePath(QStringLiteral("#IRMA002-3")))))
        << qPrintable(okna.shown().last().text);
    const QList<QPair<const char *, const char *>> skasowane{
        {"#IRMA002", "Warsztat"}, {"#IRMA002-2", "Piekarnia"}, {"#IRMA002-3", "Kwiaciarnia"}};
    for (const auto &[katalogFirmy, skrot] : skasowane) {
        Table t;
        t.setTableName(katalog.filePath(QLatin1String(katalogFirmy) + QStringLiteral("/FIRMA")));
        t.open();
        EXPECT_EQ(t.fieldByName(QStringLiteral("SKROT")).asString(), QLatin1String(skrot));
    }
    EXPECT_FALSE(QFileInfo::exists(katalog.filePath(QStringLiteral("FIRMA002"))));
}

// The deletion's rename is done, but its directory could not be synced: the firm is gone from
// the list, and the user is told that the new name may not survive a power cut.
TEST_F(TRAWENFTest, ADeletionWhoseNameMayNotSurviveAPowerCutSaysSo)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Sklep"));
    auto okno = pokaz();
    kliknijPozycje(*okno, QStringLiteral("001"));
    okna.answerNext(MessageBoxes::Answer::Yes);
    // The rename, then the sync of the data root.
    FaultPoint::arm(2, FaultPoint::Fault::IoError);
    kliknij(*okno, QStringLiteral("Panel5"));
    FaultPoint::disarm();
    EXPECT_EQ(pozycje(*okno), QStringList{"000 Biuro"});
    EXPECT_TRUE(QFileInfo(katalog.filePath(QStringLiteral("#IRMA001/FIRMA.DB"))).isFile());
    // The question, the warning, the answer that names where the data went.
    ASSERT_EQ(okna.shown().size(), 3);
    EXPECT_EQ(okna.shown()[1].icon, MessageBoxes::Icon::Warning);
    EXPECT_TRUE(okna.shown()[1].text.startsWith(
        QStringLiteral("Uwaga: Nie udało się utrwalić zmian w katalogu ")))
        << okna.shown()[1].text.toStdString();
    EXPECT_TRUE(okna.shown().last().text.contains(katalog.filePath(QStringLiteral("#IRMA001"))))
        << okna.shown().last().text.toStdString();
}

// The question names the firm by at most 40 characters of its short name; No changes nothing,
// firm 000 is never asked about, and without a selected firm the user is told so.
TEST_F(TRAWENFTest, TheDeletionQuestionAndTheFirmsThatAreNotDeleted)
{
    const QString nazwa =
        QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe \"Złota Rączka\" s.c. Kraków");
    ASSERT_GE(nazwa.size(), 50);
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), nazwa.left(50));
    auto okno = pokaz();

    kliknij(*okno, QStringLiteral("Label4"));
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown().last().text, QStringLiteral("Brak wybranej firmy"));
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Warning);

    // Firm 000 is not asked about; the user learns why nothing happens.
    wybierz(*okno, QStringLiteral("000"));
    kliknij(*okno, QStringLiteral("Panel5"));
    ASSERT_EQ(okna.shown().size(), 2);
    EXPECT_EQ(okna.shown().last().text,
              QStringLiteral("Firmy 000 nie można skasować: jej dane leżą w katalogu programu "
                             "razem z wykazem firm i wzorcami tabel nowych firm."));
    EXPECT_EQ(okna.shown().last().buttons, MessageBoxes::Buttons::Ok);
    EXPECT_TRUE(QFileInfo(katalog.filePath(QStringLiteral("FIRMA.DB"))).isFile());

    okno->findChild<QListWidget *>(QStringLiteral("FIRMA"))->clearSelection();
    wybierz(*okno, QStringLiteral("001"));
    okna.answerNext(MessageBoxes::Answer::No);
    kliknij(*okno, QStringLiteral("Panel5"));
    ASSERT_EQ(okna.shown().size(), 3);
    EXPECT_EQ(okna.shown().last().text, QStringLiteral("Czy skasować firmę : ") + nazwa.left(40));
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Warning);
    EXPECT_EQ(okna.shown().last().buttons, MessageBoxes::Buttons::YesNo);
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", QStringLiteral("001 ") + nazwa.left(50)}));
    EXPECT_TRUE(QFileInfo(katalog.filePath(QStringLiteral("FIRMA001/FIRMA.DB"))).isFile());
}

// An error inside the creation: one box, no item, what was made stays on the disk, the year form
// back as designed and firm 000's table open again. "Nowa firma" once more takes the same
// number and offers what was typed.
TEST_F(TRAWENFTest, AnErrorWhileCreatingAddsNoItemAndKeepsWhatWasMade)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    szablony();
    // A template table of ours, damaged: cut short.
    const QString zla = katalog.filePath(QStringLiteral("2005/FIN/ZLA.DB"));
    {
        QList<QStringList> rekordy;
        for (int i = 1; i <= 3000; ++i)
            rekordy << QStringList{QString::number(i), QStringLiteral("opis %1").arg(i)};
        makeTable(zla,
                  {{QStringLiteral("NR"), ftInteger, 0, false},
                   {QStringLiteral("NAZWA"), ftString, 20, false}},
                  {}, rekordy);
        QFile plikTabeli(zla);
        ASSERT_TRUE(plikTabeli.resize(plikTabeli.size() / 2));
    }
    auto okno = pokaz();

    nowaFirma(*okno, QStringLiteral("Apteka"));
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Error);
    EXPECT_EQ(okna.shown().last().text.section(u'\r', 0, 0),
              QStringLiteral("Błąd generowania firmy."));
    EXPECT_TRUE(okna.shown().last().text.contains(QStringLiteral("ZLA.DB")))
        << okna.shown().last().text.toStdString();
    EXPECT_EQ(pozycje(*okno), QStringList{QStringLiteral("000 Biuro")});
    EXPECT_TRUE(QFileInfo(katalog.filePath(QStringLiteral("FIRMA001/FIRMA.DB"))).isFile());
    EXPECT_TRUE(QFileInfo(katalog.filePath(QStringLiteral("FIRMA001/2005"))).isDir());
    EXPECT_FALSE(okno->ROKF()->isVisible());
    EXPECT_EQ(okno->ROKF()->windowTitle(), QStringLiteral("Otwarcie baz na nowy rok"));
    EXPECT_TRUE(okno->ROKF()->DANE()->isVisibleTo(okno->ROKF()));
    EXPECT_TRUE(dane->TFIRMA.isOpen());
    EXPECT_EQ(dane->TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(),
              QStringLiteral("Biuro"));

    ASSERT_TRUE(QFile::remove(zla));
    QString pokazane;
    nowaFirma(*okno, QString(), [&](TFIRMAF &forma) {
        pokazane = forma.findChild<QLineEdit *>(QStringLiteral("DBEdit3"))->text();
    });
    EXPECT_EQ(pokazane, QStringLiteral("Apteka"));
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Apteka"}));
    EXPECT_EQ(okna.shown().size(), 1);
}

// A copy another program changes after it is made, before it is checked: the check's line
// reaches the user in the box, and the firm is not added. (A template changed after its copy
// was made is no fault of the copy: the check compares the copy with the state it was made
// from.)
TEST_F(TRAWENFTest, ACopyChangedBehindTheCheckIsReportedAndAddsNoFirm)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    szablony();
    // A second table in the year, so that one is copied before the other's line is logged.
    const QString opiszg = katalog.filePath(QStringLiteral("2005/HARNOL/OPISZG.DB"));
    QDir().mkpath(QFileInfo(opiszg).path());
    makeTable(opiszg,
              {{QStringLiteral("NR"), ftInteger, 0, false},
               {QStringLiteral("NAZWA"), ftString, 20, false}},
              {}, {{"1", "Opis"}});
    auto okno = pokaz();
    QString zmieniona;
    nowaFirma(*okno, QStringLiteral("Apteka"), [&](TFIRMAF &) {
        auto *dziennik = okno->ROKF()->findChild<QPlainTextEdit *>(QStringLiteral("EMEMO"));
        ASSERT_TRUE(dziennik);
        QObject::connect(dziennik, &QPlainTextEdit::textChanged, dziennik, [&] {
            for (const char *wzor : {"2005/FIN/KONTRAHI.DB", "2005/HARNOL/OPISZG.DB"}) {
                const QString kopia = katalog.filePath(QStringLiteral("FIRMA001/") + wzor);
                if (!zmieniona.isEmpty() || !QFileInfo::exists(kopia))
                    continue;
                Table t;
                t.setTableName(kopia);
                t.open();
                t.append();
                t.fieldByName(QStringLiteral("NR")).setAsString(QStringLiteral("2"));
                t.post();
                zmieniona = kopia;
            }
        });
    });
    ASSERT_FALSE(zmieniona.isEmpty());
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Error);
    EXPECT_EQ(okna.shown().last().text,
              QStringLiteral("Błąd generowania firmy.\rBłąd kopii bazy :") +
                  QDir::toNativeSeparators(zmieniona) +
                  QStringLiteral(" (ma 2 rekordy, a baza źródłowa 1)"));
    EXPECT_EQ(pozycje(*okno), QStringList{QStringLiteral("000 Biuro")});
}

// "Nowa firma" with nothing to number from (no firm table in the data root) or after firm 999
// says why and makes nothing.
TEST_F(TRAWENFTest, ANewFirmWithoutAFreeNumberIsRefused)
{
    szablony();
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Sklep"));
    std::unique_ptr<TRAWENF> bezRejestru;
    {
        ScriptedMessageBoxes startu; // the data module reports the tables it did not open
        bezRejestru = pokaz();
    }
    ASSERT_TRUE(pozycje(*bezRejestru).isEmpty());
    bool forma = false;
    const auto kliknijNowa = [&forma](TRAWENF &okno, const QString &kontrolka) {
        // A company data form that should not have come is closed, not waited for.
        QTimer::singleShot(0, [&forma] {
            if (QWidget *modalne = QApplication::activeModalWidget()) {
                forma = true;
                modalne->close();
            }
        });
        kliknij(okno, kontrolka);
        QCoreApplication::processEvents();
    };
    kliknijNowa(*bezRejestru, QStringLiteral("Label3"));
    EXPECT_FALSE(forma);
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Error);
    EXPECT_TRUE(okna.shown().last().text.startsWith(
        QStringLiteral("Nie można utworzyć nowej firmy.\rWykaz firm jest pusty")))
        << okna.shown().last().text.toStdString();
    EXPECT_FALSE(bezRejestru->FIRMAF());
    bezRejestru.reset();
    dane.reset();

    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA999")), QStringLiteral("Ostatnia"));
    auto okno = pokaz();
    const QStringList przed = directoryEntries(katalog.path());
    kliknijNowa(*okno, QStringLiteral("Image3"));
    EXPECT_FALSE(forma);
    ASSERT_EQ(okna.shown().size(), 2);
    EXPECT_EQ(okna.shown().last().text,
              QStringLiteral("Nie można utworzyć nowej firmy.\rBrak wolnego numeru firmy: numery "
                             "firm kończą się na 999."));
    EXPECT_EQ(directoryEntries(katalog.path()), przed);
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Sklep", "999 Ostatnia"}));
    EXPECT_TRUE(dane->TFIRMA.isOpen());
}

// The main window without the mouse: Tab goes from the firm list through the panels in reading
// order and back; the panel with the focus shows it; Enter or Space starts it as a click does.
TEST_F(TRAWENFTest, TheKeyboardReachesEveryPanelInReadingOrder)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Sklep"));
    plik(QStringLiteral("harnol.exe"));
    auto okno = pokaz();
    QApplication::setActiveWindow(okno.get());
    auto *lista = okno->findChild<QListWidget *>(QStringLiteral("FIRMA"));
    lista->setFocus(Qt::OtherFocusReason);
    kliknijPozycje(*okno, QStringLiteral("001"));
    ASSERT_EQ(QApplication::focusWidget(), lista);

    QStringList kolejnosc;
    for (int i = 0; i < 13; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        kolejnosc << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(kolejnosc,
              (QStringList{"PDREMOT", "PHARNOL", "PSELVIK", "PPUNTOR", "PLOMIRA", "PGARVEL",
                           "PTESSUN", "PBORVIK", "Panel7", "Panel4", "Panel5", "Panel6", "FIRMA"}));

    // The panel with the focus looks otherwise than without it.
    auto *harnol = okno->findChild<QWidget *>(QStringLiteral("PHARNOL"));
    const QImage bez = harnol->grab().toImage();
    harnol->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(harnol->hasFocus());
    EXPECT_NE(harnol->grab().toImage(), bez);

    for (const Qt::Key klawisz : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        SCOPED_TRACE(int(klawisz));
        QTest::keyClick(harnol, klawisz);
    }
    ASSERT_EQ(procesy.starty.size(), 3);
    for (const Start &s : procesy.starty)
        EXPECT_EQ(s.argumenty,
                  QStringList{QStringLiteral("DR=") + root() + QStringLiteral("FIRMA001/")});

    // A command panel the same way: "Otwarcie roku" shows its form.
    bool rok = false;
    QTimer::singleShot(0, [&rok] {
        if (QWidget *modalne = QApplication::activeModalWidget()) {
            rok = qobject_cast<TROKF *>(modalne) != nullptr;
            modalne->close();
        }
    });
    QTest::keyClick(okno->findChild<QWidget *>(QStringLiteral("Panel7")), Qt::Key_Space);
    EXPECT_TRUE(rok);
    EXPECT_TRUE(okna.shown().isEmpty()) << qPrintable(okna.texts().join(u'\n'));
}

// "Dane o Firmie" for a firm of the list, on a double click of its item or Enter: the form edits
// that firm's FIRMA.DB, the item follows the new short name, and the data module's firm table is
// as it was before (open on firm 000, or closed).
TEST_F(TRAWENFTest, ADoubleClickOrEnterOnAFirmShowsItsCompanyData)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    firma(katalog.filePath(QStringLiteral("FIRMA001")), QStringLiteral("Sklep"));
    firma(katalog.filePath(QStringLiteral("FIRMA002")), QStringLiteral("Warsztat"));
    auto okno = pokaz();
    QApplication::setActiveWindow(okno.get());
    QCoreApplication::processEvents();
    auto *lista = okno->findChild<QListWidget *>(QStringLiteral("FIRMA"));
    const QString tabelaModulu = dane->TFIRMA.fileName();

    // Shows the form with `jak`, appends `dopisz` to the short name, closes it; what the form
    // showed and which table it edited.
    struct Pokazana
    {
        QString skrot;
        QString tabela;
    };
    const auto pokazDane = [&](const std::function<void()> &jak, const QString &dopisz) {
        Pokazana pokazana;
        // A form that does not come leaves nothing queued for the next step.
        QObject tenKrok;
        QTimer::singleShot(0, &tenKrok, [&] {
            auto *forma = qobject_cast<TFIRMAF *>(QApplication::activeModalWidget());
            ASSERT_TRUE(forma);
            auto *pole = forma->findChild<QLineEdit *>(QStringLiteral("DBEdit3"));
            pokazana.skrot = pole->text();
            pokazana.tabela = dane->TFIRMA.fileName();
            QApplication::setActiveWindow(forma);
            pole->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(pole, Qt::Key_End);
            for (const QChar znak : dopisz)
                QTest::sendKeyEvent(QTest::Click, pole, Qt::Key_unknown, QString(znak),
                                    Qt::NoModifier);
            forma->close();
        });
        jak();
        return pokazana;
    };
    const auto dwuklik = [&](const QString &poczatek) {
        for (int i = 0; i < lista->count(); ++i) {
            if (!lista->item(i)->text().startsWith(poczatek))
                continue;
            // As the window system gives a double click: press, release, double click, release.
            const QPoint gdzie = lista->visualItemRect(lista->item(i)).center();
            QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, gdzie);
            QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, gdzie);
            QTest::mouseRelease(lista->viewport(), Qt::LeftButton, {}, gdzie);
        }
    };
    const auto skrotFirmy = [&](const QString &gdzie) {
        Table t;
        t.setTableName(gdzie + QStringLiteral("FIRMA"));
        t.open();
        return t.fieldByName(QStringLiteral("SKROT")).asString();
    };

    const Pokazana pierwsza =
        pokazDane([&] { dwuklik(QStringLiteral("001")); }, QStringLiteral(" Nowak"));
    EXPECT_EQ(pierwsza.skrot, QStringLiteral("Sklep"));
    EXPECT_EQ(QFileInfo(pierwsza.tabela),
              QFileInfo(katalog.filePath(QStringLiteral("FIRMA001/FIRMA.DB"))));
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Sklep Nowak", "002 Warsztat"}));
    EXPECT_EQ(lista->currentItem()->text(), QStringLiteral("001 Sklep Nowak"));
    EXPECT_EQ(skrotFirmy(root() + QStringLiteral("FIRMA001/")), QStringLiteral("Sklep Nowak"));
    EXPECT_EQ(skrotFirmy(root()), QStringLiteral("Biuro"));
    EXPECT_TRUE(dane->TFIRMA.isOpen());
    EXPECT_EQ(dane->TFIRMA.fileName(), tabelaModulu);
    EXPECT_EQ(dane->TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(),
              QStringLiteral("Biuro"));

    // From the keyboard: the selected item and Enter.
    kliknijPozycje(*okno, QStringLiteral("002"));
    const Pokazana druga =
        pokazDane([&] { QTest::keyClick(lista, Qt::Key_Return); }, QStringLiteral(" i Syn"));
    EXPECT_EQ(druga.skrot, QStringLiteral("Warsztat"));
    EXPECT_EQ(pozycje(*okno), (QStringList{"000 Biuro", "001 Sklep Nowak", "002 Warsztat i Syn"}));

    // Firm 000's table is the data module's own: edited where it stands, and still open.
    const Pokazana zerowa =
        pokazDane([&] { dwuklik(QStringLiteral("000")); }, QStringLiteral(" Rachunkowe"));
    EXPECT_EQ(zerowa.skrot, QStringLiteral("Biuro"));
    EXPECT_EQ(zerowa.tabela, tabelaModulu);
    EXPECT_EQ(pozycje(*okno).first(), QStringLiteral("000 Biuro Rachunkowe"));
    EXPECT_TRUE(dane->TFIRMA.isOpen());
    EXPECT_EQ(dane->TFIRMA.fieldByName(QStringLiteral("SKROT")).asString(),
              QStringLiteral("Biuro Rachunkowe"));

    // A firm table closed before stays closed, under its own name.
    dane->TFIRMA.close();
    pokazDane([&] { dwuklik(QStringLiteral("001")); }, QStringLiteral("!"));
    EXPECT_EQ(pozycje(*okno).at(1), QStringLiteral("001 Sklep Nowak!"));
    EXPECT_FALSE(dane->TFIRMA.isOpen());
    EXPECT_EQ(dane->TFIRMA.fileName(), tabelaModulu);
    EXPECT_TRUE(okna.shown().isEmpty()) << qPrintable(okna.texts().join(u'\n'));
}

TEST_F(TRAWENFTest, TheWindowIsLaidOutAsDesigned)
{
    firma(katalog.path(), QStringLiteral("Biuro"));
    auto okno = pokaz();
    EXPECT_EQ(okno->size(), QSize(565, 300));
    const QList<std::pair<const char *, QRect>> miejsca{
        {"GroupBox1", QRect(0, 0, 161, 300)}, {"Panel1", QRect(161, 0, 404, 300)},
        {"PDREMOT", QRect(16, 16, 80, 60)},   {"PHARNOL", QRect(112, 16, 80, 60)},
        {"PSELVIK", QRect(208, 16, 80, 60)},  {"PPUNTOR", QRect(304, 16, 80, 60)},
        {"PLOMIRA", QRect(16, 88, 80, 60)},   {"PGARVEL", QRect(112, 88, 80, 60)},
        {"PTESSUN", QRect(208, 88, 80, 60)},  {"PBORVIK", QRect(304, 88, 80, 60)},
        {"Panel7", QRect(288, 192, 100, 28)}, {"Panel4", QRect(16, 224, 60, 60)},
        {"Panel5", QRect(88, 224, 60, 60)},   {"Panel6", QRect(288, 224, 100, 28)},
        {"IHARNOL", QRect(24, 4, 32, 32)},    {"SHARNOL", QRect(24, 4, 32, 32)},
    };
    for (const auto &[nazwa, miejsce] : miejsca) {
        auto *kontrolka = okno->findChild<QWidget *>(QString::fromLatin1(nazwa));
        ASSERT_TRUE(kontrolka) << nazwa;
        EXPECT_EQ(kontrolka->geometry(), miejsce) << nazwa;
    }
    const QList<std::pair<const char *, const char *>> napisy{
        {"LDREMOT", "Faktura"},       {"LHARNOL", "Księga"},     {"LSELVIK", "Ewidencja VAT"},
        {"LPUNTOR", "Raport Kasowy"}, {"LLOMIRA", "Przelewy"},   {"LGARVEL", "Środki Trwałe"},
        {"LTESSUN", "Ewid. pojazdu"}, {"LBORVIK", "Analizator"}, {"Label6", "Otwarcie roku"},
        {"Label3", "Nowa firma"},     {"Label4", "Kasuj firmę"}, {"Label5", "Archiwowanie"},
    };
    for (const auto &[nazwa, napis] : napisy)
        EXPECT_EQ(okno->findChild<QLabel *>(QString::fromLatin1(nazwa))->text(),
                  QString::fromUtf8(napis));
    // The overlay lies over the icon.
    auto *ikona = okno->findChild<QWidget *>(QStringLiteral("IHARNOL"));
    auto *zaslona = okno->findChild<QWidget *>(QStringLiteral("SHARNOL"));
    EXPECT_GT(ikona->parentWidget()->children().indexOf(zaslona),
              ikona->parentWidget()->children().indexOf(ikona));
    for (const char *kod :
         {"DREMOT", "HARNOL", "SELVIK", "PUNTOR", "LOMIRA", "GARVEL", "TESSUN", "BORVIK"})
        EXPECT_FALSE(okno->findChild<QLabel *>(QStringLiteral("I") + QString::fromLatin1(kod))
                         ->pixmap()
                         .isNull());
}

#ifdef RAWEN_MODUL_DEMO
TEST_F(TRAWENFTest, TheDemoModuleReceivesItsCommandLine)
{
    // A data root with a space in its path, as under "Program Files".
    const QString gdzie = katalog.filePath(QStringLiteral("Moje Dane"));
    AppContext kontekst = AppContext::current();
    kontekst.executablePath = gdzie + QStringLiteral("/rawen");
    kontekst.currentDirectory = gdzie;
    FixedAppContext tutaj(kontekst);
    firma(gdzie, QStringLiteral("Biuro"));
    firma(gdzie + QStringLiteral("/FIRMA001"), QStringLiteral("Sklep"));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(RAWEN_MODUL_DEMO), gdzie + QStringLiteral("/harnol.exe")));
    QFile::setPermissions(gdzie + QStringLiteral("/harnol.exe"),
                          QFile::permissions(gdzie + QStringLiteral("/harnol.exe")) |
                              QFileDevice::ExeOwner);
    const QString zapis = katalog.filePath(QStringLiteral("zapis.txt"));
    qputenv("RAWEN_MODUL_ZAPIS", QFile::encodeName(zapis));

    w.tytul = QStringLiteral("RAWEN 2.0");
    w.ustawDateStartu(AppContext::current());
    dane = std::make_unique<TDANE>(w);
    QtProcesses prawdziwe;
    TRAWENF okno(w, *dane, prawdziwe);
    okno.show();
    wybierz(okno, QStringLiteral("001"));
    kliknij(okno, QStringLiteral("PHARNOL"));
    qunsetenv("RAWEN_MODUL_ZAPIS");

    QElapsedTimer czas;
    czas.start();
    QByteArray tresc;
    while (czas.elapsed() < 20000) {
        QFile f(zapis);
        if (f.open(QIODevice::ReadOnly) && (tresc = f.readAll()).endsWith('\n'))
            break;
        QThread::msleep(20);
    }
    EXPECT_EQ(QString::fromUtf8(tresc).trimmed(), gdzie + QStringLiteral("/harnol.exe\tDR=") +
                                                      katalog.path().replace(u' ', u'_') +
                                                      QStringLiteral("/Moje_Dane/FIRMA001/"));
    EXPECT_TRUE(okna.shown().isEmpty());
}
#endif

} // namespace
} // namespace rawen::test
