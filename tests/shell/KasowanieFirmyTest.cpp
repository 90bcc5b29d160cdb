#include "shell/KasowanieFirmy.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "data/WykazFirm.h"
#include "platform/FaultPoint.h"
#include "support/CrashHarness.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace rawen::test {
namespace {

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

void rejestr(const QString &katalog)
{
    firma(katalog, QStringLiteral("Biuro"));
    firma(katalog + QStringLiteral("/FIRMA001"), QStringLiteral("Sklep"));
    firma(katalog + QStringLiteral("/FIRMA002"), QStringLiteral("Warsztat"));
    QDir().mkpath(katalog + QStringLiteral("/FIRMA002/2005"));
    makeTable(katalog + QStringLiteral("/FIRMA002/2005/KONTRAHI.DB"),
              {{QStringLiteral("NR"), ftInteger, 0, false},
               {QStringLiteral("NAZWA"), ftString, 20, false}},
              {}, {{"1", "Hurtownia"}});
}

QStringList wykaz(const QString &katalog)
{
    Table t;
    return WykazFirm(katalog + u'/', t);
}

TEST(KasowanieFirmy, TheQuestionShowsFortyCharactersOfTheShortName)
{
    const QString nazwa =
        QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe \"Złota Rączka\" s.c.");
    ASSERT_GE(nazwa.size(), 50);
    EXPECT_EQ(PytanieOKasowanie(QStringLiteral("001 ") + nazwa.left(50)),
              QStringLiteral("Czy skasować firmę : ") + nazwa.left(40));
    EXPECT_EQ(PytanieOKasowanie(QStringLiteral("002 Sklep")),
              QStringLiteral("Czy skasować firmę : Sklep"));
    EXPECT_EQ(PytanieOKasowanie(QStringLiteral("003 ")), QStringLiteral("Czy skasować firmę : "));
    EXPECT_TRUE(FirmaWKataloguGlownym(QStringLiteral("000 Biuro")));
    EXPECT_TRUE(FirmaWKataloguGlownym(QStringLiteral("000 ")));
    EXPECT_FALSE(FirmaWKataloguGlownym(QStringLiteral("001 Sklep")));
}

// The firm leaves the register by one rename of its directory; its data stay, untouched.
TEST(KasowanieFirmy, TheFirmDirectoryGetsTheDeletedFirmsName)
{
    QTemporaryDir dane;
    rejestr(dane.path());
    const struct
    {
        const char *katalog;
        const char *skasowany;
    } przypadki[] = {
        {"FIRMA002/", "#IRMA002"},
        {"firma005", "#irma005"},
        {"FIRMA001 /", "#IRMA001 "},
    };
    firma(dane.filePath(QStringLiteral("firma005")), QStringLiteral("Mała"));
    firma(dane.filePath(QStringLiteral("FIRMA001 ")), QStringLiteral("Ze spacją"));
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.katalog);
        const WynikKasowania wynik = SkasujFirme(dane.filePath(QLatin1String(p.katalog)));
        EXPECT_TRUE(wynik.skasowana);
        EXPECT_TRUE(wynik.blad.isEmpty());
        EXPECT_EQ(wynik.katalog, dane.filePath(QLatin1String(p.skasowany)));
        EXPECT_TRUE(
            QFileInfo(dane.filePath(QLatin1String(p.skasowany) + QStringLiteral("/FIRMA.DB")))
                .isFile());
    }
    EXPECT_EQ(fileBytes(dane.filePath(QStringLiteral("#IRMA002/2005/KONTRAHI.DB"))).isEmpty(),
              false);
    EXPECT_EQ(wykaz(dane.path()), (QStringList{"000 Biuro", "001 Sklep"}));
}

// A firm deleted earlier under the same number keeps its name, whatever its case and whatever
// lies there (a file too): the firm deleted now goes to the next free name, which the register
// never lists and a new firm never takes.
TEST(KasowanieFirmy, ANameTakenByAnEarlierDeletionIsKeptAndTheNextFreeOneUsed)
{
    struct Przypadek
    {
        QStringList zajete; // what lies in the data root before the deletion
        const char *skasowany;
    };
    const QList<Przypadek> przypadki{
        {{}, "#IRMA002"},
        {{"#IRMA002"}, "#IRMA002-2"},
        {{"#irma002"}, "#IRMA002-2"},
        {{"#IRMA002", "#IRMA002-2"}, "#IRMA002-3"},
        {{"#IRMA002", "#irma002-2", "#IRMA002-4"}, "#IRMA002-3"},
        {{"#IRMA002", "plik:#IRMA002-2"}, "#IRMA002-3"},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.skasowany);
        QTemporaryDir dane;
        rejestr(dane.path());
        for (const QString &zajety : p.zajete) {
            if (zajety.startsWith(QLatin1String("plik:"))) {
                QFile plik(dane.filePath(zajety.mid(5)));
                ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
            } else {
                firma(dane.filePath(zajety), QStringLiteral("Skasowana wcześniej"));
            }
        }
        const WynikKasowania wynik = SkasujFirme(dane.filePath(QStringLiteral("FIRMA002")));
        EXPECT_TRUE(wynik.skasowana) << qPrintable(wynik.blad);
        EXPECT_EQ(wynik.katalog, dane.filePath(QLatin1String(p.skasowany)));
        EXPECT_TRUE(fileBytes(dane.filePath(QLatin1String(p.skasowany) +
                                            QStringLiteral("/2005/KONTRAHI.DB")))
                        .size() > 0);
        EXPECT_EQ(wykaz(dane.path()), (QStringList{"000 Biuro", "001 Sklep"}));
        // What was there before is as it was.
        for (const QString &zajety : p.zajete) {
            if (!zajety.startsWith(QLatin1String("plik:"))) {
                EXPECT_TRUE(QFileInfo(dane.filePath(zajety + QStringLiteral("/FIRMA.DB"))).isFile())
                    << qPrintable(zajety);
            }
        }
    }
}

// A rename that fails leaves the firm where it was and says so: the firm is still in the register.
TEST(KasowanieFirmy, AFailedRenameKeepsTheFirmAndSaysWhy)
{
    QTemporaryDir dane;
    rejestr(dane.path());
    const QString firma002 = dane.filePath(QStringLiteral("FIRMA002"));
    FaultPoint::arm(1, FaultPoint::Fault::IoError);
    const WynikKasowania wynik = SkasujFirme(firma002);
    FaultPoint::disarm();
    EXPECT_FALSE(wynik.skasowana);
    EXPECT_EQ(wynik.katalog, firma002);
    EXPECT_TRUE(wynik.blad.startsWith(
        QStringLiteral("Nie można skasować firmy z katalogu %1.\r").arg(firma002)))
        << wynik.blad.toStdString();
    EXPECT_TRUE(wynik.blad.contains(QStringLiteral("błąd wejścia-wyjścia dysku")))
        << wynik.blad.toStdString();
    EXPECT_TRUE(wynik.blad.endsWith(QStringLiteral("Firma pozostaje w wykazie.")));
    EXPECT_EQ(wykaz(dane.path()), (QStringList{"000 Biuro", "001 Sklep", "002 Warsztat"}));
}

// Deleting a firm, killed or failed at any step: the firm is either still there whole or wholly
// under its deleted name, and deleting it again finishes the deletion.
TEST(KasowanieFirmyAwarie, TheFirmIsWholeUnderOneNameOrTheOtherAtEveryStep)
{
    const HarnessOperation kasowanie{
        QStringLiteral("firm deletion (Panel5Click)"),
        [](const QString &katalog) { rejestr(katalog); },
        [](const QString &katalog) {
            return SkasujFirme(katalog + QStringLiteral("/FIRMA002/")).skasowana;
        }};
    const HarnessFigures wynik = exerciseOperation(kasowanie);
    std::printf("%s: %s\n", qPrintable(kasowanie.name), qPrintable(wynik.summary()));
    EXPECT_GT(wynik.stepsTried, 0);
    EXPECT_TRUE(wynik.failures.isEmpty()) << wynik.failures.join(u'\n').toStdString();
}

} // namespace
} // namespace rawen::test
