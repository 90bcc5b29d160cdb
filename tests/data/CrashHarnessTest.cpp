#include "support/CrashHarness.h"

#include "data/KopiujStrukture.h"
#include "data/OtworzTabele.h"
#include "data/PlikStruktury.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "support/QtPrinting.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>

namespace rawen::test {
namespace {

const QList<FieldDef> kStaraFirma{
    {QStringLiteral("NR"), ftInteger, 0, false},   {QStringLiteral("SKROT"), ftString, 50, false},
    {QStringLiteral("NUM1"), ftString, 2, false},  {QStringLiteral("NUM2"), ftString, 8, false},
    {QStringLiteral("NUM3"), ftString, 20, false}, {QStringLiteral("ZAPAS2"), ftString, 50, false}};

const QList<FieldDef> kKontrahenci{{QStringLiteral("NR"), ftInteger, 0, true},
                                   {QStringLiteral("NAZWA"), ftString, 40, true},
                                   {QStringLiteral("SALDO"), ftCurrency, 0, false},
                                   {QStringLiteral("DATA"), ftDate, 0, false}};
const QList<IndexDef> kIndeksyKontrahentow{
    {QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
    {QStringLiteral("Nazwa"), QStringLiteral("NAZWA"), ixCaseInsensitive}};

QList<QStringList> kontrahenci(int ile)
{
    QList<QStringList> rekordy;
    for (int i = 1; i <= ile; ++i)
        rekordy << QStringList{
            QString::number(i), QStringLiteral("Kontrahent nr %1").arg(i),
            QString::number(i * 12.5),
            QStringLiteral("2024-03-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'))};
    return rekordy;
}

HarnessOperation kopiaStruktury(const char *nazwa, bool rekordy, const QString &doCzyszczenia)
{
    return {QString::fromLatin1(nazwa),
            [](const QString &katalog) {
                QDir().mkpath(katalog + QStringLiteral("/2024"));
                QDir().mkpath(katalog + QStringLiteral("/2025"));
                makeTable(katalog + QStringLiteral("/2024/KONTRAHI.DB"), kKontrahenci,
                          kIndeksyKontrahentow, kontrahenci(60));
            },
            [=](const QString &katalog) {
                Session sesja(QStringLiteral("SESJA"));
                Table wzor(&sesja);
                wzor.setTableName(katalog + QStringLiteral("/2024/KONTRAHI.DB"));
                wzor.open();
                return KopiujStrukture(wzor, katalog + QStringLiteral("/2025/KONTRAHI.DB"), rekordy,
                                       doCzyszczenia);
            }};
}

// Every operation that writes the user's data, killed and failed at every step: nothing is lost
// or torn, no failure passes for success, and doing it again completes it.
TEST(CrashHarness, EveryWritingOperationKeepsTheDataWholeAtEveryStep)
{
    const QList<HarnessOperation> operacje = {
        {QStringLiteral("firm table upgrade"),
         [](const QString &katalog) {
             QList<QStringList> rekordy;
             for (int i = 1; i <= 25; ++i)
                 rekordy << QStringList{QString::number(i),     QStringLiteral("Firma %1").arg(i),
                                        QStringLiteral("12"),   QStringLiteral("34567890"),
                                        QStringLiteral("1234"), QStringLiteral("2004.05.01")};
             const QList<IndexDef> indeksy{{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};
             makeTable(katalog + QStringLiteral("/FIRMA.DB"), kStaraFirma, indeksy, rekordy);
             // The structure file of the old layout, as the last start wrote it.
             QFile plik(katalog + QStringLiteral("/FIRMA.STR"));
             plik.open(QIODevice::WriteOnly);
             plik.write(TrescPlikuStruktury(kStaraFirma, indeksy));
         },
         [](const QString &katalog) {
             Session sesja(QStringLiteral("SESJA"));
             Table tabela(&sesja);
             return OtworzTabele(tabela, katalog + QStringLiteral("/FIRMA"),
                                 QStringLiteral("Brak danych o firmie")) &&
                    tabela.fieldCount() == PolaTabeliFirmy().size();
         },
         // Killed between the upgrade and the structure file, the old structure file stays: a
         // whole one is never written again.
         {QStringLiteral("FIRMA.STR")}},
        {QStringLiteral("ZapiszTabele of an edited record"),
         [](const QString &katalog) {
             makeTable(katalog + QStringLiteral("/KONTRAHI.DB"), kKontrahenci, kIndeksyKontrahentow,
                       kontrahenci(40));
         },
         [](const QString &katalog) {
             Table tabela;
             tabela.setTableName(katalog + QStringLiteral("/KONTRAHI.DB"));
             tabela.open();
             for (int i = 0; i < 9; ++i)
                 tabela.next();
             tabela.edit();
             tabela.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("Zmieniony"));
             tabela.fieldByName(QStringLiteral("SALDO")).setAsString(QStringLiteral("-1.5"));
             ZapiszTabele(tabela);
             return true;
         }},
        {QStringLiteral("table creation"), [](const QString &) {},
         [](const QString &katalog) {
             Table tabela;
             tabela.setTableName(katalog + QStringLiteral("/NOWA.DB"));
             tabela.fieldDefs() = kKontrahenci;
             tabela.indexDefs() = kIndeksyKontrahentow;
             tabela.createTableNew();
             return true;
         }},
        kopiaStruktury("KopiujStrukture without records", false, {}),
        kopiaStruktury("KopiujStrukture with records", true, {}),
        kopiaStruktury("KopiujStrukture with fields emptied", true, QStringLiteral("SALDO;DATA")),
    };
    HarnessFigures razem;
    for (const HarnessOperation &operacja : operacje) {
        const HarnessFigures wynik = exerciseOperation(operacja);
        std::printf("%s: %s\n", qPrintable(operacja.name), qPrintable(wynik.summary()));
        EXPECT_GT(wynik.stepsTried, 0) << operacja.name.toStdString();
        razem += wynik;
    }
    std::printf("crash harness: %s\n", qPrintable(razem.summary()));
    EXPECT_TRUE(razem.failures.isEmpty()) << razem.failures.join(u'\n').toStdString();
}

} // namespace
} // namespace rawen::test
