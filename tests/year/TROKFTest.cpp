#include "year/TROKF.h"

#include "data/Session.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/FaultPoint.h"
#include "support/PrintFakes.h"
#include "support/QtPrinting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"
#include "year/OtwarcieRoku.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, false},
                            {QStringLiteral("OPIS"), ftString, 20, false}};

class TROKFTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        wartosci.rokRoboczy = QStringLiteral("2005");
        wartosci.katalogDanych = katalog.path() + u'/';
        wartosci.listaLat = {QStringLiteral("2004"), QStringLiteral("2005")};
    }

    void tabela(const QString &sciezka, int rekordy)
    {
        const QString pelna = katalog.filePath(sciezka);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(pelna).path()));
        QList<QStringList> r;
        for (int i = 1; i <= rekordy; ++i)
            r << QStringList{QString::number(i), QStringLiteral("opis %1").arg(i)};
        makeTable(pelna, kPola, {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}}, r);
    }

    template <typename T> T *kontrolka(const char *nazwa)
    {
        T *k = okno.findChild<T *>(QString::fromLatin1(nazwa));
        EXPECT_TRUE(k) << nazwa;
        return k;
    }

    QStringList dziennik()
    {
        return kontrolka<QPlainTextEdit>("EMEMO")->toPlainText().split(u'\n');
    }

    QTemporaryDir katalog;
    ScriptedMessageBoxes okna;
    WartosciProgramu wartosci;
    Session sesja{QStringLiteral("SESJA")};
    FakeOknoPostepu postep;
    TROKF okno{wartosci, sesja, &postep};
};

TEST_F(TROKFTest, TheWindowIsLaidOutAsDesignedAndProposesTheNextYear)
{
    okno.show();
    EXPECT_EQ(okno.windowTitle(), QStringLiteral("Otwarcie baz na nowy rok"));
    EXPECT_EQ(kontrolka<QLineEdit>("EROK")->text(), QStringLiteral("2006"));
    EXPECT_EQ(kontrolka<QLineEdit>("SROK")->text(), QStringLiteral("2005"));
    EXPECT_EQ(kontrolka<QLineEdit>("EDR")->text(), katalog.path() + u'/');
    EXPECT_EQ(kontrolka<QPushButton>("BitBtn1")->text(), QStringLiteral("START"));
    EXPECT_TRUE(kontrolka<QPushButton>("BitBtn1")->isDefault());
    EXPECT_EQ(kontrolka<QPushButton>("BitBtn2")->text(), QStringLiteral("PRZERWIJ"));
    EXPECT_EQ(okno.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Otwarcie baz na rok :"));
    EXPECT_EQ(okno.findChild<QLabel *>(QStringLiteral("Label2"))->text(),
              QStringLiteral("na podstawie roku :"));
    EXPECT_EQ(okno.findChild<QLabel *>(QStringLiteral("Label3"))->text(),
              QStringLiteral("Katalog :"));
    // SROK, EDR and the log are no tab stops.
    for (const char *nazwa : {"SROK", "EDR", "EMEMO"}) {
        SCOPED_TRACE(nazwa);
        EXPECT_FALSE(okno.findChild<QWidget *>(QString::fromLatin1(nazwa))->focusPolicy() &
                     Qt::TabFocus);
    }
    EXPECT_TRUE(kontrolka<QLineEdit>("EROK")->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(okno.findChild<QWidget *>(QStringLiteral("DANE"))->isVisible());
    EXPECT_EQ(okno.TS.session(), &sesja);
}

TEST_F(TROKFTest, StartLogsEveryStepShowsTheProgressAndAddsTheYear)
{
    tabela(QStringLiteral("2005/HARNOL/HARNOL.DB"), 3);
    tabela(QStringLiteral("2005/HARNOL/NOWA.DB"), 2);
    okno.show();
    // A data directory typed without its closing separator gets one.
    kontrolka<QLineEdit>("EDR")->setText(katalog.path());
    okno.BitBtn1Click();

    const QString dr = katalog.path() + u'/';
    EXPECT_EQ(kontrolka<QLineEdit>("EDR")->text(), dr);
    QStringList oczekiwany{
        QStringLiteral("Generowanie nowego roku."),
        QStringLiteral("Baza danych w katalogu : ") + dr + QStringLiteral("2005"),
        QStringLiteral("Tworzenie katalogu :") + dr + QStringLiteral("2006"),
        QStringLiteral("Tworzenie katalogu :") + dr + QStringLiteral("2006/HARNOL")};
    QStringList tabele{
        QStringLiteral("Tworzenie bazy :") + dr + QStringLiteral("2006/HARNOL/HARNOL.DB"),
        QStringLiteral("Tworzenie bazy :") + dr + QStringLiteral("2006/HARNOL/NOWA.DB")};
    const QStringList log = dziennik();
    ASSERT_EQ(log.size(), 7);
    EXPECT_EQ(log.mid(0, 4), oczekiwany);
    // The tables in the order the system lists them.
    QStringList srodek = log.mid(4, 2);
    srodek.sort();
    EXPECT_EQ(srodek, tabele);
    EXPECT_EQ(log.last(), QStringLiteral("KONIEC."));
    EXPECT_EQ(wartosci.listaLat, (QStringList{"2004", "2005", "2006"}));
    EXPECT_TRUE(okna.shown().isEmpty());
    EXPECT_EQ(postep.napis, QStringLiteral("Otwarcie baz na nowy rok"));
    EXPECT_EQ(postep.razem, 2);
    EXPECT_EQ(postep.kroki, 2);
    EXPECT_FALSE(postep.widoczne);
}

TEST_F(TROKFTest, AYearThatExistsIsQuestionedAndAnIncompleteYearIsReported)
{
    tabela(QStringLiteral("2005/HARNOL/HARNOL.DB"), 3);
    tabela(QStringLiteral("2005/FIN/RD.DB"), 2); // its rule names fields it lacks
    ASSERT_TRUE(QDir().mkpath(katalog.filePath(QStringLiteral("2006"))));
    okno.show();

    okna.answerNext(MessageBoxes::Answer::No);
    okno.BitBtn1Click();
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown()[0].text,
              QStringLiteral("Błąd otwarcia roku. Kontynuacja może doprowadzić do utarty danych.\r"
                             "Czy kontynuować ?"));
    EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Warning);
    EXPECT_EQ(dziennik().size(), 2);

    okna.answerNext(MessageBoxes::Answer::Yes);
    okno.BitBtn1Click();
    ASSERT_EQ(okna.shown().size(), 3);
    EXPECT_EQ(okna.shown()[2].icon, MessageBoxes::Icon::Error);
    EXPECT_TRUE(
        okna.shown()[2].text.startsWith(QStringLiteral("Otwarcie roku 2006 zostało przerwane:\r"
                                                       "Błąd tworzenia bazy :")))
        << qPrintable(okna.shown()[2].text);
    EXPECT_TRUE(okna.shown()[2].text.endsWith(QStringLiteral("Rok nie jest kompletny.")));
    EXPECT_FALSE(dziennik().contains(QStringLiteral("KONIEC.")));
    EXPECT_EQ(wartosci.listaLat, (QStringList{"2004", "2005"}));
    EXPECT_FALSE(postep.widoczne);
}

// A new year with a damaged table is not opened: the box names the table and says that no year
// directory was made, and the year list stays as it was.
TEST_F(TROKFTest, ANewYearThatIsNotWholeIsNotOpenedAndTheBoxSaysSo)
{
    tabela(QStringLiteral("2005/HARNOL/NOWA.DB"), 2);
    tabela(QStringLiteral("2005/HARNOL/ZEPSUTA.DB"), 3000);
    damagePage(katalog.filePath(QStringLiteral("2005/HARNOL/ZEPSUTA.DB")));
    okno.show();
    okno.BitBtn1Click();
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Error);
    const QString tekst = okna.shown()[0].text;
    EXPECT_TRUE(
        tekst.startsWith(QStringLiteral("Rok 2006 nie został otwarty (1 błąd):\rBląd bazy :") +
                         katalog.filePath(QStringLiteral("2006/HARNOL/ZEPSUTA.DB"))))
        << qPrintable(tekst);
    EXPECT_TRUE(tekst.contains(QStringLiteral("plik tabeli jest uszkodzony")));
    EXPECT_TRUE(tekst.endsWith(QStringLiteral("Katalog roku nie został utworzony: po usunięciu "
                                              "przyczyny otwórz rok ponownie.")));
    EXPECT_EQ(dziennik().last(), QStringLiteral("Rok 2006 nie został otwarty."));
    EXPECT_FALSE(QFileInfo::exists(katalog.filePath(QStringLiteral("2006"))));
    EXPECT_EQ(wartosci.listaLat, (QStringList{"2004", "2005"}));
}

// The year is whole, but its directory could not be synced once it took its name: the year is
// opened, and a warning box says that the new names may not survive a power cut.
TEST_F(TROKFTest, AYearWhoseNameMayNotSurviveAPowerCutIsOpenedWithAWarning)
{
    tabela(QStringLiteral("2005/HARNOL/NOWA.DB"), 2);
    okno.show();
    // The last sync of a directory in a run like this one: the data directory's, after the rename.
    qint64 krok = 0;
    {
        QTemporaryDir proba;
        QDir().mkpath(proba.filePath(QStringLiteral("2005/HARNOL")));
        QFile::copy(katalog.filePath(QStringLiteral("2005/HARNOL/NOWA.DB")),
                    proba.filePath(QStringLiteral("2005/HARNOL/NOWA.DB")));
        Session s(QStringLiteral("PROBA"));
        Table ts(&s);
        FaultPoint::setRecording(true);
        FaultPoint::resetCount();
        OtworzRok(
            ts, proba.path() + u'/', QStringLiteral("2006"), QStringLiteral("2005"), {},
            [] { return true; }, nullptr);
        for (qsizetype i = 0; const FaultPoint::Step &k : FaultPoint::recorded()) {
            ++i;
            if (k.step == FileStep::Sync && k.path == proba.path())
                krok = i;
        }
        FaultPoint::setRecording(false);
    }
    ASSERT_GT(krok, 0);
    FaultPoint::arm(krok, FaultPoint::Fault::IoError);
    okno.BitBtn1Click();
    FaultPoint::disarm();
    EXPECT_EQ(dziennik().last(), QStringLiteral("KONIEC."));
    EXPECT_EQ(wartosci.listaLat, (QStringList{"2004", "2005", "2006"}));
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown()[0].icon, MessageBoxes::Icon::Warning);
    EXPECT_TRUE(okna.shown()[0].text.startsWith(
        QStringLiteral("Uwaga:\rNie udało się utrwalić zmian w katalogu ") + katalog.path()))
        << qPrintable(okna.shown()[0].text);
}

// A year that is no year (typed into either field) is refused with a message before anything is
// made or logged.
TEST_F(TROKFTest, AYearThatIsNoYearIsRefusedAndNothingIsMade)
{
    tabela(QStringLiteral("2005/HARNOL/HARNOL.DB"), 3);
    struct Przypadek
    {
        const char *rok;
        const char *zRoku;
        const char *wKomunikacie;
    };
    const QList<Przypadek> przypadki{
        {"20x8", "2005", "Nieprawidłowy rok \"20x8\""},
        {"206", "2005", "Nieprawidłowy rok \"206\""},
        {"3006", "2005", "Nieprawidłowy rok \"3006\""},
        {"2006", "2oo5", "Nieprawidłowy rok \"2oo5\""},
    };
    okno.show();
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.rok);
        kontrolka<QLineEdit>("EROK")->setText(QLatin1String(p.rok));
        kontrolka<QLineEdit>("SROK")->setText(QLatin1String(p.zRoku));
        const qsizetype przed = okna.shown().size();
        okno.BitBtn1Click();
        ASSERT_EQ(okna.shown().size(), przed + 1);
        const ShownBox &box = okna.shown().last();
        EXPECT_EQ(box.icon, MessageBoxes::Icon::Error);
        EXPECT_TRUE(box.text.startsWith(QString::fromUtf8(p.wKomunikacie))) << qPrintable(box.text);
        EXPECT_TRUE(box.text.endsWith(QStringLiteral("od 1990 do 2100.\rNic nie zostało "
                                                     "utworzone.")))
            << qPrintable(box.text);
        EXPECT_FALSE(QFileInfo::exists(katalog.filePath(QLatin1String(p.rok))));
        EXPECT_EQ(kontrolka<QPlainTextEdit>("EMEMO")->toPlainText(), QString());
        EXPECT_EQ(wartosci.listaLat, (QStringList{"2004", "2005"}));
        EXPECT_FALSE(postep.widoczne);
    }
    EXPECT_EQ(QDir(katalog.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"2005"});
}

// Clicks on a button, as the window system delivers them when it gets round to them; with
// `poZdarzeniu` only after one more pass of the event loop (input that waited comes in batches).
class Klikniecia : public QObject
{
public:
    QPushButton *przycisk = nullptr;
    void kliknij(bool poZdarzeniu)
    {
        QCoreApplication::postEvent(this, new QEvent(poZdarzeniu ? QEvent::User : QEvent::None));
    }

protected:
    bool event(QEvent *zdarzenie) override
    {
        if (zdarzenie->type() != QEvent::User && zdarzenie->type() != QEvent::None)
            return QObject::event(zdarzenie);
        if (zdarzenie->type() == QEvent::User) {
            kliknij(false);
            return true;
        }
        const QPointF srodek = przycisk->rect().center();
        for (QEvent::Type typ : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                przycisk, new QMouseEvent(typ, srodek, przycisk->mapToGlobal(srodek),
                                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        return true;
    }
};

// START is off while the year is made, and clicks on it meanwhile, which the window system
// delivers once the run ends, start no second run (that one would at once ask the data-loss
// question about the year just made).
TEST_F(TROKFTest, StartIsOffWhileItRunsAndAClickMeanwhileIsDropped)
{
    tabela(QStringLiteral("2005/HARNOL/HARNOL.DB"), 3);
    tabela(QStringLiteral("2005/HARNOL/NOWA.DB"), 2);
    okno.show();
    auto *start = kontrolka<QPushButton>("BitBtn1");
    QList<bool> wlaczony;
    Klikniecia klikniecia;
    klikniecia.przycisk = start;
    QObject::connect(kontrolka<QPlainTextEdit>("EMEMO")->document(),
                     &QTextDocument::contentsChanged, &okno, [&] {
                         if (kontrolka<QPlainTextEdit>("EMEMO")->toPlainText().isEmpty())
                             return;
                         wlaczony << start->isEnabled();
                         if (wlaczony.size() != 1)
                             return;
                         klikniecia.kliknij(false);
                         klikniecia.kliknij(true);
                     });
    start->click();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    EXPECT_FALSE(wlaczony.isEmpty());
    EXPECT_FALSE(wlaczony.contains(true));
    EXPECT_TRUE(start->isEnabled());
    EXPECT_TRUE(okna.shown().isEmpty()) << qPrintable(okna.texts().join(u'\n'));
    EXPECT_EQ(dziennik().count(QStringLiteral("Generowanie nowego roku.")), 1);
    EXPECT_EQ(dziennik().last(), QStringLiteral("KONIEC."));
}

// Each run's log starts empty, whatever the window logged before (an earlier run, a firm
// creation), and keeps its last line in view as it grows.
TEST_F(TROKFTest, TheLogStartsEmptyForEachRunAndFollowsItsLastLine)
{
    for (int i = 1; i <= 40; ++i)
        tabela(QStringLiteral("2005/FIN/T%1.DB").arg(i), 1);
    okno.resize(460, 300);
    okno.show();
    // The year form as firm creation uses it, and then a run of its own.
    ASSERT_TRUE(QDir().mkpath(katalog.filePath(QStringLiteral("FIRMA001/2005"))));
    ASSERT_TRUE(okno.KopiujKatalog(katalog.filePath(QStringLiteral("2005")),
                                   katalog.filePath(QStringLiteral("FIRMA001/2005")))
                    .bledy.isEmpty());
    ASSERT_TRUE(dziennik().first().startsWith(QStringLiteral("Tworzenie katalogu :")));

    auto sprawdz = [&] {
        const QStringList log = dziennik();
        EXPECT_EQ(log.first(), QStringLiteral("Generowanie nowego roku."));
        EXPECT_EQ(log.count(QStringLiteral("Generowanie nowego roku.")), 1);
        EXPECT_TRUE(log.filter(QStringLiteral("FIRMA001")).isEmpty());
        EXPECT_EQ(log.last(), QStringLiteral("KONIEC."));
        const QScrollBar *przewijanie = kontrolka<QPlainTextEdit>("EMEMO")->verticalScrollBar();
        EXPECT_GT(przewijanie->maximum(), 0);
        EXPECT_EQ(przewijanie->value(), przewijanie->maximum());
    };
    okno.BitBtn1Click();
    sprawdz();
    okna.answerNext(MessageBoxes::Answer::Yes);
    okno.BitBtn1Click();
    sprawdz();

    // Shown again, the window opens with an empty log: the last run's lines are not this one's.
    okno.hide();
    okno.show();
    EXPECT_TRUE(kontrolka<QPlainTextEdit>("EMEMO")->toPlainText().isEmpty());
}

// However the memo came to stand elsewhere in the middle of a run (it does not count itself at its
// end while its window is not laid out yet), the next line brings its end back into view.
TEST_F(TROKFTest, TheLogComesBackToItsLastLine)
{
    for (int i = 1; i <= 40; ++i)
        tabela(QStringLiteral("2005/FIN/T%1.DB").arg(i), 1);
    struct Przewijajacy final : OknoPostepu
    {
        QPlainTextEdit *memo = nullptr;
        int kroki = 0;
        void Start(const QString &, int) override {}
        void Postep() override
        {
            if (++kroki == 20)
                memo->verticalScrollBar()->setValue(0);
        }
        void Stop() override {}
    } przewijajacy;
    TROKF inne(wartosci, sesja, &przewijajacy);
    inne.resize(460, 300);
    inne.show();
    przewijajacy.memo = inne.findChild<QPlainTextEdit *>(QStringLiteral("EMEMO"));
    inne.BitBtn1Click();
    ASSERT_EQ(przewijajacy.kroki, 40);
    const QScrollBar *przewijanie = przewijajacy.memo->verticalScrollBar();
    EXPECT_GT(przewijanie->maximum(), 0);
    EXPECT_EQ(przewijanie->value(), przewijanie->maximum());
}

TEST_F(TROKFTest, PrzerwijClosesTheWindow)
{
    okno.show();
    ASSERT_TRUE(okno.isVisible());
    kontrolka<QPushButton>("BitBtn2")->click();
    EXPECT_FALSE(okno.isVisible());
}

} // namespace
} // namespace rawen::test
