#include "install/NowyKatalogDanych.h"

#include "archive/PolecenieArchiwizuj.h"
#include "data/Session.h"
#include "data/TDANE.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "data/WykazFirm.h"
#include "demo/BudowaKatalogu.h"
#include "demo/TabeleDemo.h"
#include "install/KatalogDanych.h"
#include "platform/Konsola.h"
#include "shell/NowaFirma.h"
#include "support/CrashHarness.h"
#include "support/FixedAppContext.h"
#include "support/KonsolaTestowa.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"
#include "year/PolecenieOtworzRok.h"
#include "year/RegulyKopiiRoku.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>

namespace rawen::test {
namespace {

const QDate kDzis(2024, 3, 10);

std::optional<QString> blad(const std::function<void()> &akcja)
{
    try {
        akcja();
    } catch (const BladBudowyKatalogu &b) {
        return b.message();
    }
    return std::nullopt;
}

// Every table under `katalog` with its number of records, by relative path.
QMap<QString, int> tabele(const QString &katalog)
{
    QMap<QString, int> wynik;
    QDirIterator it(katalog, {QStringLiteral("*.DB")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString sciezka = it.next();
        Table t;
        t.setTableName(sciezka);
        t.open();
        wynik.insert(QDir(katalog).relativeFilePath(sciezka), int(t.recordCount()));
    }
    return wynik;
}

// The context of a program installed in /usr/bin, started on `katalog`.
AppContext naKatalogu(const QString &katalog, QDate dzis = kDzis)
{
    AppContext kontekst;
    kontekst.today = dzis;
    kontekst.executablePath = QStringLiteral("/usr/bin/rawen");
    kontekst.chosenDataRoot = katalog;
    kontekst.currentDirectory = katalog;
    return kontekst;
}

class NowyKatalogDanychTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_katalog.isValid());
        m_root = m_katalog.filePath(QStringLiteral("Biuro"));
        ASSERT_EQ(blad([&] {
                      UtworzNowyKatalogDanych(m_root, kDzis,
                                              QStringLiteral("  Rachmistrz Tarnów "));
                  }),
                  std::nullopt);
    }

    QTemporaryDir m_katalog;
    QString m_root;
};

// Firm 000 and the configuration table hold their one record each; the year of today and BAZA
// hold every template, empty; nothing else is there (no module programs, no other firms).
TEST_F(NowyKatalogDanychTest, HoldsFirm000TheConfigurationTableTheYearAndBazaWithoutRecords)
{
    QMap<QString, int> oczekiwane{{QStringLiteral("FIRMA.DB"), 1}, {QStringLiteral("RAWEN.DB"), 1}};
    for (const RegulaKopiiRoku &regula : RegulyKopiiRoku())
        oczekiwane.insert(QStringLiteral("2024/") + QString(regula.koncowka).replace(u'\\', u'/'),
                          0);
    for (const WzorTabeli &wzor : WzoryTabelBazy())
        oczekiwane.insert(QStringLiteral("BAZA/") + QString::fromLatin1(wzor.sciezka), 0);
    EXPECT_EQ(tabele(m_root), oczekiwane);
    for (const QString &wpis : QDir(m_root).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot))
        EXPECT_TRUE(QStringList({"FIRMA.DB", "RAWEN.DB", "2024", "BAZA"}).contains(wpis))
            << qPrintable(wpis);
    // Nothing of the build is left beside it.
    EXPECT_EQ(directoryEntries(m_katalog.path()), QStringList{QStringLiteral("Biuro")});

    Table firma;
    firma.setTableName(m_root + QStringLiteral("/FIRMA.DB"));
    firma.open();
    EXPECT_EQ(firma.fieldByName(QStringLiteral("NR")).asInteger(), 0);
    EXPECT_EQ(firma.fieldByName(QStringLiteral("SKROT")).asString(),
              QStringLiteral("Rachmistrz Tarnów"));
    EXPECT_EQ(firma.fieldByName(QStringLiteral("DR")).asString(), QString());
    Table konfiguracja;
    konfiguracja.setTableName(m_root + QStringLiteral("/RAWEN.DB"));
    konfiguracja.open();
    EXPECT_EQ(konfiguracja.fieldByName(QStringLiteral("ADATA")).asString(),
              QStringLiteral("2024.04.09"));
    EXPECT_EQ(konfiguracja.fieldByName(QStringLiteral("ACYKL")).asInteger(), 30);
}

// The program started on it opens both tables, lists firm 000 and settles the working year on
// the year it has, without a word.
TEST_F(NowyKatalogDanychTest, StartsWithFirm000AndPassesTheWorkingYearCheck)
{
    FixedAppContext kontekst(naKatalogu(m_root));
    ScriptedMessageBoxes okna;
    WartosciProgramu wartosci;
    wartosci.ustawDateStartu(AppContext::current());
    TDANE dane(wartosci);

    EXPECT_TRUE(okna.texts().isEmpty()) << qPrintable(okna.texts().join(u'\n'));
    EXPECT_TRUE(dane.TFIRMA.isOpen());
    EXPECT_TRUE(dane.TPARA.isOpen());
    EXPECT_FALSE(wartosci.bladStartu);
    EXPECT_EQ(wartosci.rokRoboczy, QStringLiteral("2024"));
    EXPECT_EQ(wartosci.listaLat, QStringList{QStringLiteral("2024")});
    EXPECT_EQ(wartosci.katalogDanych, m_root + u'/');
    EXPECT_EQ(wartosci.uzytkownik, QStringLiteral("Rachmistrz Tarnów"));

    Table wykaz;
    EXPECT_EQ(WykazFirm(m_root + u'/', wykaz),
              QStringList{QStringLiteral("000 Rachmistrz Tarnów")});
}

// A new office works on it: a firm made from its templates, the next year opened for every
// firm, and every firm archived.
TEST_F(NowyKatalogDanychTest, ANewFirmTheNextYearAndAnArchiveWorkOnIt)
{
    FixedAppContext kontekst(naKatalogu(m_root));
    ScriptedMessageBoxes okna;
    const QString root = m_root + u'/';
    {
        Session sesja(QStringLiteral("SESJA"));
        Table TFIRMA(&sesja);
        Table Table1(&sesja);
        TFIRMA.setTableName(QStringLiteral("FIRMA"));
        TFIRMA.open();
        const MiejsceFirmy miejsce =
            MiejsceNowejFirmy(root, WykazFirm(root, Table1), QStringLiteral("2024"));
        ASSERT_EQ(miejsce.blad, QString());
        KrokiNowejFirmy kroki;
        kroki.daneFirmy = [&] {
            TFIRMA.edit();
            TFIRMA.fieldByName(QStringLiteral("SKROT")).setAsString(QStringLiteral("Piekarnia"));
            TFIRMA.post();
        };
        const WynikNowejFirmy wynik =
            UtworzFirme(TFIRMA, Table1, miejsce, root, QStringLiteral("2024"), kroki);
        ASSERT_TRUE(wynik.utworzona) << qPrintable(wynik.bledy.join(u'\n'));
        EXPECT_EQ(wynik.pozycja, QStringLiteral("001 Piekarnia"));
    }
    EXPECT_EQ(tabele(m_root + QStringLiteral("/FIRMA001")).size(),
              RegulyKopiiRoku().size() + WzoryTabelBazy().size() + 1);

    const WynikPolecenia rok = uruchomPolecenie([&](Konsola &konsola) {
        return PolecenieOtworzRok(
            {QStringLiteral("2025"), QStringLiteral("--wszystkie-firmy"), m_root}, konsola);
    });
    EXPECT_EQ(rok.kod, 0) << qPrintable(rok.wyjscie + rok.bledy);
    EXPECT_TRUE(QFileInfo(m_root + QStringLiteral("/2025")).isDir());
    EXPECT_TRUE(QFileInfo(m_root + QStringLiteral("/FIRMA001/2025")).isDir());

    const QString kopie = m_katalog.filePath(QStringLiteral("kopie"));
    const WynikPolecenia archiwum = uruchomPolecenie([&](Konsola &konsola) {
        return PolecenieArchiwizuj(
            {QStringLiteral("--wszystkie-firmy"), QStringLiteral("--do"), kopie, m_root}, konsola,
            QStringLiteral("2024.03.10"));
    });
    EXPECT_EQ(archiwum.kod, 0) << qPrintable(archiwum.wyjscie + archiwum.bledy);
    EXPECT_TRUE(QFileInfo(kopie + QStringLiteral("/FIRMA001")).isDir());
    EXPECT_TRUE(okna.texts().isEmpty()) << qPrintable(okna.texts().join(u'\n'));
}

TEST_F(NowyKatalogDanychTest, AFolderThatHoldsAnythingIsRefusedAndLeftAsItWas)
{
    const auto komunikat =
        blad([&] { UtworzNowyKatalogDanych(m_root, kDzis, QStringLiteral("Drugie")); });
    ASSERT_TRUE(komunikat.has_value());
    EXPECT_TRUE(komunikat->contains(QStringLiteral("nie jest pusty"))) << qPrintable(*komunikat);
    EXPECT_TRUE(komunikat->contains(QStringLiteral("Nowy katalog danych")))
        << qPrintable(*komunikat);
    Table firma;
    firma.setTableName(m_root + QStringLiteral("/FIRMA.DB"));
    firma.open();
    EXPECT_EQ(firma.fieldByName(QStringLiteral("SKROT")).asString(),
              QStringLiteral("Rachmistrz Tarnów"));
}

TEST_F(NowyKatalogDanychTest, AFailedRunLeavesNothing)
{
    const QString cel = m_katalog.filePath(QStringLiteral("nowe/Biuro"));
    std::optional<QString> komunikat;
    {
        // After the firm and configuration tables and some of the year's.
        FaultPlan awaria(Session::defaultSession(), EngineOp::Create, 20);
        komunikat = blad([&] { UtworzNowyKatalogDanych(cel, kDzis, QString()); });
        EXPECT_TRUE(awaria.fired());
    }
    ASSERT_TRUE(komunikat.has_value());
    EXPECT_TRUE(
        komunikat->startsWith(QStringLiteral("Nie udało się utworzyć nowego katalogu danych ") +
                              QDir::toNativeSeparators(cel)))
        << qPrintable(*komunikat);
    EXPECT_EQ(directoryEntries(m_katalog.path()), QStringList{QStringLiteral("Biuro")});
}

// The last rename fails when someone fills the chosen folder while the root is built beside it:
// what was put there is theirs and stays, whether the folder was there and empty or made by the
// run; only the empty parents the run made go.
TEST_F(NowyKatalogDanychTest, AFolderFilledMeanwhileKeepsWhatWasPutThere)
{
    for (const bool byl : {true, false}) {
        SCOPED_TRACE(byl ? "the folder was there" : "the run made it");
        const QString cel =
            m_katalog.filePath(byl ? QStringLiteral("byl/Biuro") : QStringLiteral("nowy/Biuro"));
        if (byl) {
            ASSERT_TRUE(QDir().mkpath(cel));
        }
        const QString cudzy = cel + QStringLiteral("/PISMO.TXT");
        const std::optional<QString> komunikat = blad([&] {
            ZbudujKatalogDanych(
                cel,
                {QStringLiteral("Katalog danych"), QStringLiteral("Nie udało się utworzyć %1: %2")},
                [&](const QString &) {
                    ASSERT_TRUE(QDir().mkpath(cel));
                    QFile plik(cudzy);
                    ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
                    plik.write("cudze");
                });
        });
        ASSERT_TRUE(komunikat.has_value());
        ASSERT_TRUE(QFileInfo(cudzy).isFile());
        QFile plik(cudzy);
        ASSERT_TRUE(plik.open(QIODevice::ReadOnly));
        EXPECT_EQ(plik.readAll(), QByteArray("cudze"));
    }
}

// Killed or failed at any step, making a new data root leaves none or a whole one, and a second
// run makes it.
TEST(NowyKatalogDanychAwarie, AKilledOrFailedRunLeavesNoHalfMadeDataRoot)
{
    const HarnessOperation nowy{QStringLiteral("new data root (first-run window)"),
                                [](const QString &) {},
                                [](const QString &katalog) {
                                    UtworzNowyKatalogDanych(katalog + QStringLiteral("/Biuro"),
                                                            kDzis, QStringLiteral("Biuro"));
                                    return true;
                                },
                                {},
                                {},
                                20};
    const HarnessFigures wynik = exerciseOperation(nowy);
    std::printf("%s: %s\n", qPrintable(nowy.name), qPrintable(wynik.summary()));
    EXPECT_GT(wynik.stepsTried, 20);
    EXPECT_TRUE(wynik.failures.isEmpty()) << wynik.failures.join(u'\n').toStdString();
}

} // namespace
} // namespace rawen::test
