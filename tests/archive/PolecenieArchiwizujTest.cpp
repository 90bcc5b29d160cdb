#include "archive/PolecenieArchiwizuj.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/FaultPoint.h"
#include "platform/Konsola.h"
#include "support/FixedAppContext.h"
#include "support/KonsolaTestowa.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, false},
                            {QStringLiteral("OPIS"), ftString, 20, false}};
const QString kDzis = QStringLiteral("2026.12.10");

WynikPolecenia uruchom(const QStringList &argumenty)
{
    return uruchomPolecenie(
        [&](Konsola &konsola) { return PolecenieArchiwizuj(argumenty, konsola, kDzis); });
}

// A register of three firms, firm 000 in the root and two in FIRMA001 and FIRMA002, each with
// its firm table, a table in BAZA and one in a year.
class PolecenieArchiwizujTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        firma(QStringLiteral("."), QStringLiteral("Biuro"), 1);
        firma(QStringLiteral("FIRMA001"), QStringLiteral("Sklep"), 2);
        firma(QStringLiteral("FIRMA002"), QStringLiteral("Jodła"), 3);
    }
    QString root() const { return katalog.path() + u'/'; }

    void firma(const QString &gdzie, const QString &skrot, int rekordy)
    {
        const QString k = root() + gdzie;
        ASSERT_TRUE(QDir().mkpath(k));
        Table t;
        t.setTableName(k + QStringLiteral("/FIRMA"));
        AktualizujTabeleFirmy(t);
        t.edit();
        t.fieldByName(QStringLiteral("SKROT")).setAsString(skrot);
        t.fieldByName(QStringLiteral("ARCHDATA")).setAsString(QStringLiteral("2026.01.01"));
        t.post();
        QList<QStringList> r;
        for (int i = 1; i <= rekordy; ++i)
            r << QStringList{QString::number(i), QStringLiteral("x")};
        for (const char *tabela : {"BAZA/KONTA/KONTA.DB", "2026/HARNOL/HARNOL.DB"}) {
            const QString sciezka = k + u'/' + QLatin1String(tabela);
            ASSERT_TRUE(QDir().mkpath(QFileInfo(sciezka).path()));
            makeTable(sciezka, kPola, {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}}, r);
        }
    }

    static int liczba(const QString &sciezka)
    {
        Table t;
        t.setTableName(sciezka);
        t.open();
        return t.recordCount();
    }

    static QString data(const QString &firma)
    {
        Table t;
        t.setTableName(firma);
        t.open();
        return t.fieldByName(QStringLiteral("ARCHDATA")).asString();
    }

    static void ustawDate(const QString &firma, const QString &data)
    {
        Table t;
        t.setTableName(firma);
        t.open();
        t.edit();
        t.fieldByName(QStringLiteral("ARCHDATA")).setAsString(data);
        t.post();
    }

    QTemporaryDir katalog;
    QTemporaryDir cel;
    FixedAppContext kontekst{QDate(2026, 12, 10)};
};

TEST_F(PolecenieArchiwizujTest, EveryFirmIntoItsOwnFolderWithItsDate)
{
    const WynikPolecenia w = uruchom({QStringLiteral("--wszystkie-firmy"), QStringLiteral("--do"),
                                      cel.path(), QStringLiteral("--sprawdz-dokladnie"), root()});
    EXPECT_EQ(w.kod, 0) << qPrintable(w.bledy);
    const QList<std::pair<QString, int>> firmy{{QStringLiteral("FIRMA000"), 1},
                                               {QStringLiteral("FIRMA001"), 2},
                                               {QStringLiteral("FIRMA002"), 3}};
    for (const auto &[folder, rekordy] : firmy) {
        SCOPED_TRACE(qPrintable(folder));
        const QString A = cel.filePath(folder) + u'/';
        EXPECT_EQ(liczba(A + QStringLiteral("2026/HARNOL/HARNOL.DB")), rekordy);
        EXPECT_EQ(liczba(A + QStringLiteral("BAZA/KONTA/KONTA.DB")), rekordy);
        // The archived firm table was taken before its date was recorded.
        EXPECT_EQ(data(A + QStringLiteral("FIRMA.DB")), QStringLiteral("2026.01.01"));
    }
    // Firm 000's own archive holds its tables only, not the other firms' directories.
    EXPECT_FALSE(QFileInfo::exists(cel.filePath(QStringLiteral("FIRMA000/FIRMA001"))));
    for (const char *firma : {"FIRMA.DB", "FIRMA001/FIRMA.DB", "FIRMA002/FIRMA.DB"})
        EXPECT_EQ(data(root() + QLatin1String(firma)), kDzis) << firma;
    // The firms in the register's order, whatever order the disk lists their folders in.
    const QStringList linie = w.wyjscie.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(linie.size(), 3) << qPrintable(w.wyjscie);
    EXPECT_TRUE(linie[0].startsWith(QStringLiteral("Firma 000 (Biuro): archiwum w ")));
    EXPECT_TRUE(linie[1].startsWith(QStringLiteral("Firma 001 (Sklep): archiwum w ")));
    EXPECT_TRUE(linie[2].startsWith(QStringLiteral("Firma 002 (Jodła): archiwum w ")));
    EXPECT_TRUE(linie[1].contains(QStringLiteral(" gotowe – plików: 3, tabel sprawdzonych: 3, "
                                                 "błędów: 0.")))
        << qPrintable(linie[1]);
    EXPECT_TRUE(w.bledy.isEmpty()) << qPrintable(w.bledy);
}

TEST_F(PolecenieArchiwizujTest, AFirmThatFailsIsNamedKeepsItsDateAndTheOthersGoOn)
{
    // Firm 001's archive folder is taken by a file.
    {
        QFile zajete(cel.filePath(QStringLiteral("FIRMA001")));
        ASSERT_TRUE(zajete.open(QIODevice::WriteOnly));
    }
    const WynikPolecenia w = uruchom(
        {QStringLiteral("--wszystkie-firmy"), QStringLiteral("--do=") + cel.path(), root()});
    EXPECT_EQ(w.kod, 1);
    EXPECT_EQ(data(root() + QStringLiteral("FIRMA001/FIRMA.DB")), QStringLiteral("2026.01.01"));
    EXPECT_EQ(data(root() + QStringLiteral("FIRMA002/FIRMA.DB")), kDzis);
    EXPECT_EQ(liczba(cel.filePath(QStringLiteral("FIRMA002/2026/HARNOL/HARNOL.DB"))), 3);
    EXPECT_TRUE(w.bledy.startsWith(QStringLiteral("Firma 001 (Sklep): "))) << qPrintable(w.bledy);
    EXPECT_TRUE(w.wyjscie.contains(QStringLiteral("NIEKOMPLETNE"))) << qPrintable(w.wyjscie);
}

// A copy that lands changed on the disk while every write of it reports success (a failing
// stick or cable) is caught when it is read back, also where no table check could see it (a
// file that is no table): the file is named and the firm's date stays.
TEST_F(PolecenieArchiwizujTest, ACopyThatDiffersFromItsSourceIsNamedAndRecordsNoDate)
{
    {
        QFile indeks(root() + QStringLiteral("FIRMA002/2026/HARNOL/HARNOL.PX"));
        ASSERT_TRUE(indeks.open(QIODevice::WriteOnly));
        indeks.write("indeks tabeli HARNOL");
    }
    const QStringList firma{QStringLiteral("--firma"), QStringLiteral("002"),
                            QStringLiteral("--do")};
    // A first archive finds the step that writes the copy of that file.
    FaultPoint::setRecording(true);
    ASSERT_EQ(uruchom(firma + QStringList{cel.filePath(QStringLiteral("proba")), root()}).kod, 0);
    const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
    FaultPoint::setRecording(false);
    const QString kopia = cel.filePath(QStringLiteral("proba/2026/HARNOL/.HARNOL.PX~rawen-"));
    qint64 zapis = 0;
    for (qsizetype i = 0; i < kroki.size() && zapis == 0; ++i) {
        if (kroki[i].step == FileStep::Write && kroki[i].path.startsWith(kopia))
            zapis = i + 1;
    }
    ASSERT_GT(zapis, 0);
    ustawDate(root() + QStringLiteral("FIRMA002/FIRMA.DB"), QStringLiteral("2026.01.01"));

    FaultPoint::arm(zapis, FaultPoint::Fault::Corrupt);
    const WynikPolecenia w =
        uruchom(firma + QStringList{cel.filePath(QStringLiteral("zmieniona")), root()});
    FaultPoint::disarm();
    EXPECT_EQ(w.kod, 1);
    EXPECT_TRUE(w.bledy.contains(QStringLiteral("Firma 002 (Jodła): 2026/HARNOL/HARNOL.PX: kopia w "
                                                "archiwum różni się od pliku źródłowego")))
        << qPrintable(w.bledy);
    EXPECT_TRUE(w.wyjscie.contains(QStringLiteral("NIEKOMPLETNE"))) << qPrintable(w.wyjscie);
    EXPECT_EQ(data(root() + QStringLiteral("FIRMA002/FIRMA.DB")), QStringLiteral("2026.01.01"));
}

TEST_F(PolecenieArchiwizujTest, OneFirmGoesToItsDefaultArchive)
{
    const WynikPolecenia w = uruchom({QStringLiteral("--firma"), QStringLiteral("002"), root()});
    EXPECT_EQ(w.kod, 0) << qPrintable(w.bledy);
    EXPECT_EQ(liczba(root() + QStringLiteral("FIRMA002/ARCHIWUM/2026/HARNOL/HARNOL.DB")), 3);
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("ARCHIWUM")));
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("FIRMA001/ARCHIWUM")));
    EXPECT_EQ(data(root() + QStringLiteral("FIRMA001/FIRMA.DB")), QStringLiteral("2026.01.01"));
}

TEST_F(PolecenieArchiwizujTest, WrongUsageEndsWith2AndDoesNothing)
{
    const QList<QStringList> przypadki{
        {QStringLiteral("--firma"), QStringLiteral("1"), QStringLiteral("--wszystkie-firmy")},
        {QStringLiteral("--do"), QStringLiteral(""), root()},
        {root(), root()},
        {QStringLiteral("--nieznana")},
        {QStringLiteral("--firma")},
        {QStringLiteral("--firma"), QStringLiteral("2"), root()},
    };
    for (const QStringList &argumenty : przypadki) {
        SCOPED_TRACE(qPrintable(argumenty.join(u' ')));
        const WynikPolecenia w = uruchom(argumenty);
        EXPECT_EQ(w.kod, 2);
        EXPECT_TRUE(w.bledy.contains(QStringLiteral("Użycie: rawen --archiwizuj")))
            << qPrintable(w.bledy);
    }
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("ARCHIWUM")));
    EXPECT_EQ(data(root() + QStringLiteral("FIRMA.DB")), QStringLiteral("2026.01.01"));
}

} // namespace
} // namespace rawen::test
