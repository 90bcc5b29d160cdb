#include "install/TKATALOGF.h"

#include "data/Table.h"
#include "install/KatalogDanych.h"
#include "platform/Ustawienia.h"
#include "support/FixedAppContext.h"
#include "support/PisarzParadox.h"
#include "support/PrintFakes.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

// The user's home with the program installed in /usr/bin, on 10 March 2024.
class TKATALOGFTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dom.isValid() && m_ustawienia.isValid());
        Ustawienia::redirectTo(m_ustawienia.path());
        AppContext kontekst;
        kontekst.today = QDate(2024, 3, 10);
        kontekst.executablePath = QStringLiteral(RAWEN_PROGRAM);
        kontekst.currentDirectory = m_dom.path();
        kontekst.homeDirectory = m_dom.path();
        m_kontekst = std::make_unique<FixedAppContext>(kontekst);
    }
    void TearDown() override { Ustawienia::redirectTo(QString()); }

    QString sciezka(const QString &nazwa) const { return m_dom.filePath(nazwa); }

    template <typename T> static T *kontrolka(TKATALOGF &okno, const char *nazwa)
    {
        T *k = okno.findChild<T *>(QString::fromLatin1(nazwa));
        EXPECT_TRUE(k) << nazwa;
        return k;
    }

    static void wpisz(TKATALOGF &okno, const char *pole, const QString &tekst)
    {
        auto *edycja = kontrolka<QLineEdit>(okno, pole);
        edycja->selectAll();
        QTest::keyClicks(edycja, tekst);
    }

    // Near the left edge: an option answers a click on its circle and its text only.
    static void kliknij(TKATALOGF &okno, const char *nazwa)
    {
        auto *przycisk = kontrolka<QAbstractButton>(okno, nazwa);
        QTest::mouseClick(przycisk, Qt::LeftButton, {}, QPoint(6, przycisk->height() / 2));
    }

    QTemporaryDir m_dom;
    QTemporaryDir m_ustawienia;
    std::unique_ptr<FixedAppContext> m_kontekst;
    ScriptedMessageBoxes m_okna;
};

TEST_F(TKATALOGFTest, AFirstRunOffersANewDataRootInTheHomeFolder)
{
    TKATALOGF okno(m_dom.path());
    okno.show();
    EXPECT_TRUE(kontrolka<QRadioButton>(okno, "RNOWY")->isChecked());
    EXPECT_EQ(kontrolka<QLineEdit>(okno, "ENOWY")->text(), sciezka(QStringLiteral("RAWEN")));
    EXPECT_EQ(kontrolka<QLineEdit>(okno, "EDEMO")->text(), sciezka(QStringLiteral("RAWEN-demo")));
    EXPECT_TRUE(kontrolka<QLabel>(okno, "LNOWY")->text().contains(QStringLiteral("rok 2024")));
    EXPECT_FALSE(kontrolka<QLabel>(okno, "LUWAGA")->isVisible());
    // Only the chosen row takes a folder.
    for (const char *nazwa : {"EISTNIEJACY", "BISTNIEJACY", "EDEMO", "BDEMO"})
        EXPECT_FALSE(kontrolka<QWidget>(okno, nazwa)->isEnabled()) << nazwa;
    for (const char *nazwa : {"ENOWY", "BNOWY", "ESKROT"})
        EXPECT_TRUE(kontrolka<QWidget>(okno, nazwa)->isEnabled()) << nazwa;
    kliknij(okno, "RDEMO");
    EXPECT_TRUE(kontrolka<QWidget>(okno, "EDEMO")->isEnabled());
    EXPECT_EQ(okno.focusWidget(), kontrolka<QWidget>(okno, "EDEMO"));
    EXPECT_FALSE(kontrolka<QWidget>(okno, "ENOWY")->isEnabled());
    EXPECT_FALSE(kontrolka<QWidget>(okno, "ESKROT")->isEnabled());
}

// Each choice, as a user makes it: its option, its folder typed, "Otwórz"; the window closes on
// a data root that opens, and the choice is remembered.
TEST_F(TKATALOGFTest, EachChoiceOpensItsDataRootAndIsRemembered)
{
    ASSERT_TRUE(QDir().mkpath(sciezka(QStringLiteral("istniejacy"))));
    QFile firma(sciezka(QStringLiteral("istniejacy/FIRMA.DB")));
    ASSERT_TRUE(firma.open(QIODevice::WriteOnly));
    firma.close();
    const struct
    {
        const char *opcja;
        const char *pole;
        QString katalog;
    } przypadki[] = {
        {"RISTNIEJACY", "EISTNIEJACY", sciezka(QStringLiteral("istniejacy"))},
        {"RNOWY", "ENOWY", sciezka(QStringLiteral("Dokumenty/Biuro"))},
        {"RDEMO", "EDEMO", sciezka(QStringLiteral("Pokaz"))},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.opcja);
        TKATALOGF okno(m_dom.path());
        okno.show();
        kliknij(okno, p.opcja);
        wpisz(okno, p.pole, p.katalog);
        if (qstrcmp(p.opcja, "RNOWY") == 0)
            wpisz(okno, "ESKROT", QStringLiteral("Biuro Rachmistrz"));
        kliknij(okno, "BOTWORZ");
        EXPECT_EQ(okno.result(), QDialog::Accepted);
        EXPECT_FALSE(okno.isVisible());
        EXPECT_EQ(okno.katalog(), p.katalog);
        EXPECT_TRUE(JestKatalogiemDanych(p.katalog));
        EXPECT_EQ(Ustawienia().katalogDanych(), p.katalog);
    }
    EXPECT_TRUE(m_okna.shown().isEmpty()) << qPrintable(m_okna.texts().join(u'\n'));
    Table nowa;
    nowa.setTableName(sciezka(QStringLiteral("Dokumenty/Biuro/FIRMA.DB")));
    nowa.open();
    EXPECT_EQ(nowa.fieldByName(QStringLiteral("SKROT")).asString(),
              QStringLiteral("Biuro Rachmistrz"));
    // The demo's module programs are the stand-in beside the program.
    EXPECT_TRUE(QFile::exists(sciezka(QStringLiteral("Pokaz/harnol.exe"))));
}

// A choice that cannot be carried out is explained and the window stays for another try; nothing
// is remembered.
TEST_F(TKATALOGFTest, AChoiceThatFailsIsExplainedAndTheWindowStays)
{
    ASSERT_TRUE(QDir().mkpath(sciezka(QStringLiteral("zdjecia/2023"))));
    const struct
    {
        const char *opcja;
        const char *pole;
        QString katalog;
        const char *wKomunikacie;
    } przypadki[] = {
        {"RISTNIEJACY", "EISTNIEJACY", sciezka(QStringLiteral("zdjecia")),
         "nie jest katalogiem danych"},
        {"RISTNIEJACY", "EISTNIEJACY", sciezka(QStringLiteral("brak")), "Brak katalogu"},
        {"RNOWY", "ENOWY", sciezka(QStringLiteral("zdjecia")), "nie jest pusty"},
        {"RDEMO", "EDEMO", QString(), "Podaj katalog danych"},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.wKomunikacie);
        TKATALOGF okno(m_dom.path());
        okno.show();
        kliknij(okno, p.opcja);
        wpisz(okno, p.pole, p.katalog);
        if (p.katalog.isEmpty())
            kontrolka<QLineEdit>(okno, p.pole)->clear();
        const qsizetype przed = m_okna.shown().size();
        kliknij(okno, "BOTWORZ");
        ASSERT_EQ(m_okna.shown().size(), przed + 1);
        EXPECT_EQ(m_okna.shown().last().icon, MessageBoxes::Icon::Error);
        EXPECT_TRUE(m_okna.shown().last().text.contains(QString::fromUtf8(p.wKomunikacie)))
            << qPrintable(m_okna.shown().last().text);
        EXPECT_TRUE(okno.isVisible());
        EXPECT_EQ(okno.katalog(), QString());
        EXPECT_EQ(okno.focusWidget(), kontrolka<QWidget>(okno, p.pole));
    }
    EXPECT_EQ(Ustawienia().katalogDanych(), QString());
    EXPECT_EQ(directoryEntries(sciezka(QStringLiteral("zdjecia"))), QStringList{"2023"});
}

// An old data root of the previous generation chosen as an existing one: declined, the window
// stays without a word; agreed, it is converted beside it with the progress window, and the new
// root is the one opened and remembered.
TEST_F(TKATALOGFTest, AnOldDataRootIsConvertedWhenTheUserAgrees)
{
    const QString stary = sciezka(QStringLiteral("STARY"));
    ASSERT_TRUE(QDir().mkpath(stary));
    ZapiszTabeleParadox(stary + QStringLiteral("/FIRMA.DB"), {{QStringLiteral("NAZWA"), 'A', 40}},
                        {{QStringLiteral("Biuro Żaneta")}});
    FakeOknoPostepu postep;
    TKATALOGF okno(m_dom.path());
    okno.ustawOknoPostepu(&postep);
    okno.show();
    kliknij(okno, "RISTNIEJACY");
    wpisz(okno, "EISTNIEJACY", stary);

    m_okna.answerNext(MessageBoxes::Answer::No);
    kliknij(okno, "BOTWORZ");
    ASSERT_EQ(m_okna.shown().size(), 1);
    EXPECT_TRUE(m_okna.shown()[0].text.contains(QStringLiteral("Czy przekształcić dane teraz?")));
    EXPECT_TRUE(okno.isVisible());
    EXPECT_EQ(okno.katalog(), QString());
    EXPECT_EQ(okno.focusWidget(), kontrolka<QWidget>(okno, "EISTNIEJACY"));
    EXPECT_FALSE(QFileInfo::exists(stary + QStringLiteral("-RAWEN2")));
    EXPECT_EQ(postep.kroki, 0);

    m_okna.answerNext(MessageBoxes::Answer::Yes);
    kliknij(okno, "BOTWORZ");
    ASSERT_EQ(m_okna.shown().size(), 3) << qPrintable(m_okna.texts().join(u'\n'));
    EXPECT_EQ(m_okna.shown()[2].icon, MessageBoxes::Icon::Information);
    EXPECT_EQ(okno.result(), QDialog::Accepted);
    EXPECT_EQ(okno.katalog(), stary + QStringLiteral("-RAWEN2"));
    EXPECT_EQ(Ustawienia().katalogDanych(), stary + QStringLiteral("-RAWEN2"));
    EXPECT_GT(postep.kroki, 0);
    Table firma;
    firma.setTableName(stary + QStringLiteral("-RAWEN2/FIRMA.DB"));
    firma.open();
    EXPECT_EQ(firma.fieldByName(QStringLiteral("NAZWA")).asString(),
              QStringLiteral("Biuro Żaneta"));
}

TEST_F(TKATALOGFTest, TheFolderButtonAsksWhereTheRowsFolderIsAndACancelChangesNothing)
{
    ScriptedFileDialogs dialogi;
    TKATALOGF okno(m_dom.path());
    okno.show();
    kliknij(okno, "RISTNIEJACY");
    kontrolka<QLineEdit>(okno, "EISTNIEJACY")->clear();
    dialogi.answerNext(sciezka(QStringLiteral("siec/biuro")));
    kliknij(okno, "BISTNIEJACY");
    EXPECT_EQ(kontrolka<QLineEdit>(okno, "EISTNIEJACY")->text(),
              QDir::toNativeSeparators(sciezka(QStringLiteral("siec/biuro"))));
    dialogi.cancelNext();
    kliknij(okno, "BNOWY"); // disabled: the row is not chosen
    kliknij(okno, "RNOWY");
    kliknij(okno, "BNOWY");
    EXPECT_EQ(kontrolka<QLineEdit>(okno, "ENOWY")->text(), sciezka(QStringLiteral("RAWEN")));
    ASSERT_EQ(dialogi.askedDirectories().size(), 2);
    // An empty folder starts in the home folder; a folder yet to be made, in its parent.
    EXPECT_EQ(dialogi.askedDirectories()[0].folder, m_dom.path());
    EXPECT_EQ(dialogi.askedDirectories()[1].folder, m_dom.path());
}

TEST_F(TKATALOGFTest, OpenedAgainItOffersTheDataRootInUseOrTheOneThatWentMissing)
{
    {
        TKATALOGF okno(m_dom.path());
        okno.ustawObecny(QStringLiteral("/srv/biuro/"));
        okno.show();
        EXPECT_TRUE(kontrolka<QRadioButton>(okno, "RISTNIEJACY")->isChecked());
        EXPECT_EQ(kontrolka<QLineEdit>(okno, "EISTNIEJACY")->text(),
                  QDir::toNativeSeparators(QStringLiteral("/srv/biuro")));
        EXPECT_EQ(kontrolka<QPushButton>(okno, "BZAKONCZ")->text(), QStringLiteral("&Anuluj"));
        kliknij(okno, "BZAKONCZ");
        EXPECT_EQ(okno.result(), QDialog::Rejected);
        EXPECT_EQ(okno.katalog(), QString());
    }
    {
        TKATALOGF okno(m_dom.path());
        okno.ustawUwage(QStringLiteral("Zapamiętany katalog danych /media/pendrive nie istnieje."),
                        QStringLiteral("/media/pendrive"));
        okno.show();
        EXPECT_TRUE(kontrolka<QLabel>(okno, "LUWAGA")->isVisible());
        EXPECT_TRUE(kontrolka<QLabel>(okno, "LUWAGA")->text().contains(QStringLiteral("pendrive")));
        EXPECT_TRUE(kontrolka<QRadioButton>(okno, "RISTNIEJACY")->isChecked());
        EXPECT_EQ(kontrolka<QLineEdit>(okno, "EISTNIEJACY")->text(),
                  QDir::toNativeSeparators(QStringLiteral("/media/pendrive")));
    }
    // Back home after the settings were lost: the data root made earlier is offered.
    ASSERT_TRUE(QDir().mkpath(sciezka(QStringLiteral("RAWEN"))));
    QFile konfiguracja(sciezka(QStringLiteral("RAWEN/RAWEN.DB")));
    ASSERT_TRUE(konfiguracja.open(QIODevice::WriteOnly));
    konfiguracja.close();
    TKATALOGF okno(m_dom.path());
    EXPECT_TRUE(kontrolka<QRadioButton>(okno, "RISTNIEJACY")->isChecked());
    EXPECT_EQ(kontrolka<QLineEdit>(okno, "EISTNIEJACY")->text(), sciezka(QStringLiteral("RAWEN")));
}

} // namespace
} // namespace rawen::test
