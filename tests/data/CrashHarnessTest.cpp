#include "support/CrashHarness.h"

#include "data/KopiujStrukture.h"
#include "data/OtworzTabele.h"
#include "data/PlikStruktury.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/FileDialogs.h"
#include "platform/Konsola.h"
#include "platform/Registry.h"
#include "print/PolecenieDrukuj.h"
#include "print/SiatkaTabeli.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "support/FixedAppContext.h"
#include "support/PrintFakes.h"
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

// A table and an earlier printout of it, which a new one replaces. The printout is larger than
// the pieces a text file is written in, so a write can fail in its middle.
void tabelaIWydruk(const QString &katalog, const QString &wydruk)
{
    QList<QStringList> rekordy = kontrahenci(1500);
    rekordy[4][2] = QStringLiteral("-125.5");
    makeTable(katalog + QStringLiteral("/KONTRAHI.DB"), kKontrahenci, kIndeksyKontrahentow,
              rekordy);
    QFile plik(katalog + u'/' + wydruk);
    plik.open(QIODevice::WriteOnly);
    plik.write("wcześniejszy wydruk\r\n");
}

// The save dialog answered with one file.
class JedenPlik final : public FileDialogs
{
public:
    explicit JedenPlik(const QString &plik) : m_plik(plik), m_poprzednie(install(this)) {}
    ~JedenPlik() override { install(m_poprzednie); }
    QString saveFileName(const QString &, const QString &, const QString &) override
    {
        return m_plik;
    }

private:
    QString m_plik;
    FileDialogs *m_poprzednie;
};

// A table printed to a text file by DrukujTabeleX, unbuffered or from the document buffer.
HarnessOperation eksport(const char *nazwa, quint8 kanal, bool bezBufora)
{
    return {QString::fromLatin1(nazwa),
            [](const QString &katalog) { tabelaIWydruk(katalog, QStringLiteral("eksport.txt")); },
            [=](const QString &katalog) {
                Table tabela;
                tabela.setTableName(katalog + QStringLiteral("/KONTRAHI.DB"));
                tabela.open();
                UstawieniaDruku ustawienia;
                ustawienia.DRTYP = kanal;
                ustawienia.DRBUFOR = bezBufora;
                ustawienia.DRLINIDOS = 70;
                WartosciProgramu wartosci;
                FakeOknoWydruku okno;
                FakeOknoPostepu postep;
                RecordingDrukarka drukarka;
                Wydruk wydruk(ustawienia, wartosci, okno, postep, drukarka);
                JedenPlik plik(katalog + QStringLiteral("/eksport.txt"));
                SiatkaTabeli siatka(tabela);
                wydruk.DrukujOdRazu = true;
                return wydruk.DrukujTabeleX(siatka, QStringLiteral("Kontrahenci"),
                                            QStringLiteral("LP;SALDO"), 0) &&
                       !wydruk.przerwany();
            }};
}

// rawen --drukuj into a file: the text channel, and a file standing in for the port.
HarnessOperation polecenieDrukuj(const char *nazwa, const QString &kanal)
{
    return {
        QString::fromLatin1(nazwa),
        [](const QString &katalog) { tabelaIWydruk(katalog, QStringLiteral("wydruk.prn")); },
        [=](const QString &katalog) {
            const FixedAppContext kontekst(QDate(2025, 3, 15), katalog + QStringLiteral("/rawen"));
            // No stored settings: the defaults of a first run.
            Registry::redirectTo(katalog + QStringLiteral("/.brak-ustawien"));
            std::FILE *wyjscie = std::tmpfile();
            std::FILE *bledy = std::tmpfile();
            int kod = -1;
            {
                Konsola konsola(wyjscie, bledy);
                kod =
                    PolecenieDrukuj({QStringLiteral("KONTRAHI.DB"), QStringLiteral("--kanal"),
                                     kanal, QStringLiteral("--plik"), QStringLiteral("wydruk.prn"),
                                     QStringLiteral("--sumy"), QStringLiteral("SALDO")},
                                    konsola);
            }
            std::fclose(wyjscie);
            std::fclose(bledy);
            Registry::redirectTo(QString());
            return kod == 0;
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
        eksport("text export of a table with cutting", 2, true),
        eksport("text export of a table without cutting", 3, true),
        eksport("text export of a table from the document buffer", 3, false),
        polecenieDrukuj("rawen --drukuj --plik, text file", QStringLiteral("3")),
        polecenieDrukuj("rawen --drukuj --plik, a file for the port", QStringLiteral("1")),
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
