#include "data/WykazFirm.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "support/OtherProgram.h"
#include "support/QtPrinting.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace rawen::test {
namespace {

class WykazFirmTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(katalog.isValid()); }

    QString root() const { return katalog.path() + u'/'; }

    // A firm table of the current layout named `tabela` in the directory `gdzie` of the root.
    void firma(const QString &gdzie, const QString &tabela, const QString &skrot)
    {
        ASSERT_TRUE(QDir(katalog.path()).mkpath(gdzie));
        Table t;
        t.setTableName(root() + gdzie + u'/' + tabela);
        AktualizujTabeleFirmy(t);
        t.edit();
        t.fieldByName(QStringLiteral("SKROT")).setAsString(skrot);
        t.post();
    }

    QTemporaryDir katalog;
};

// Firm directories come from a case-blind file system under any spelling, and their number is
// whatever stands at characters 6 to 8 of the name.
TEST_F(WykazFirmTest, EveryFirmDirectoryIsListedWhateverTheCaseByCharacters6To8)
{
    const struct
    {
        const char *katalog;
        const char *tabela;
        const char *skrot;
        const char *pozycja;
    } przypadki[] = {
        {"FIRMA001", "FIRMA", "Wielkie", "001 Wielkie"},
        {"firma007", "FIRMA", "Małe", "007 Małe"},
        {"Firma008", "firma.db", "Mieszane", "008 Mieszane"},
        {"fIRMA009", "Firma.Db", "Odwrócone", "009 Odwrócone"},
        {"FIRMA0123", "FIRMA", "Za długa", "012 Za długa"},
        {"FIRMA12", "FIRMA", "Za krótka", "12 Za krótka"},
    };
    firma(QStringLiteral("."), QStringLiteral("FIRMA"), QStringLiteral("Biuro"));
    QStringList oczekiwane{QStringLiteral("000 Biuro")};
    for (const auto &p : przypadki) {
        firma(QString::fromLatin1(p.katalog), QString::fromLatin1(p.tabela),
              QString::fromUtf8(p.skrot));
        oczekiwane << QString::fromUtf8(p.pozycja);
    }

    Table tabela;
    QStringList pozycje = WykazFirm(root(), tabela);
    pozycje.sort();
    oczekiwane.sort();
    EXPECT_EQ(pozycje, oczekiwane);
    EXPECT_FALSE(tabela.isOpen());
}

// The module of a firm is sent to the directory the firm list found, as the disk names it: a
// name in another case, or with something after the number, is that firm's own directory.
TEST_F(WykazFirmTest, EachFirmKeepsItsDirectoryAsTheDiskNamesIt)
{
    firma(QStringLiteral("."), QStringLiteral("FIRMA"), QStringLiteral("Biuro"));
    firma(QStringLiteral("FIRMA001"), QStringLiteral("FIRMA"), QStringLiteral("Pierwsza"));
    firma(QStringLiteral("FIRMA001 "), QStringLiteral("FIRMA"), QStringLiteral("Ze spacją"));
    firma(QStringLiteral("firma002"), QStringLiteral("FIRMA"), QStringLiteral("Druga"));

    Table tabela;
    QMap<QString, QString> katalogi;
    for (const FirmaWykazu &f : FirmyWykazu(root(), tabela))
        katalogi.insert(f.pozycja, f.katalog);
    const QMap<QString, QString> oczekiwane{
        {QStringLiteral("000 Biuro"), root()},
        {QStringLiteral("001 Pierwsza"), root() + QStringLiteral("FIRMA001/")},
        {QStringLiteral("001 Ze spacją"), root() + QStringLiteral("FIRMA001 /")},
        {QStringLiteral("002 Druga"), root() + QStringLiteral("firma002/")},
    };
    EXPECT_EQ(katalogi, oczekiwane);
}

// A firm whose table another program holds is still a firm of the register: it is listed,
// marked, and the list does not wait for it the full lock timeout.
TEST_F(WykazFirmTest, AFirmLockedByAnotherProgramStaysInTheListMarked)
{
    firma(QStringLiteral("."), QStringLiteral("FIRMA"), QStringLiteral("Biuro"));
    firma(QStringLiteral("FIRMA001"), QStringLiteral("FIRMA"), QStringLiteral("Pierwsza"));
    firma(QStringLiteral("FIRMA002"), QStringLiteral("FIRMA"), QStringLiteral("Druga"));
    Session sesja(QStringLiteral("SESJA"));
    sesja.setLockTimeout(60000);
    Table tabela(&sesja);
    // What each open of the list is let wait for a lock.
    int najdluzej = 0;
    sesja.setFaultHook([&](EngineOp op, const QString &) {
        if (op == EngineOp::Open)
            najdluzej = qMax(najdluzej, sesja.lockTimeout());
    });

    for (const char *zablokowana : {"FIRMA001/FIRMA.DB", "FIRMA.DB"}) {
        SCOPED_TRACE(zablokowana);
        OtherProgram inny(root() + QLatin1String(zablokowana));
        ASSERT_EQ(inny.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
        QStringList pozycje = WykazFirm(root(), tabela);
        pozycje.sort();
        const bool zera = QLatin1String(zablokowana) == QLatin1String("FIRMA.DB");
        EXPECT_EQ(pozycje, (QStringList{zera ? QStringLiteral("000 ") + OpisFirmyZablokowanej()
                                             : QStringLiteral("000 Biuro"),
                                        zera ? QStringLiteral("001 Pierwsza")
                                             : QStringLiteral("001 ") + OpisFirmyZablokowanej(),
                                        QStringLiteral("002 Druga")}));
        EXPECT_EQ(sesja.lockTimeout(), 60000);
        EXPECT_GT(najdluzej, 0);
        EXPECT_LE(najdluzej, 1000);
        EXPECT_FALSE(tabela.isOpen());
    }
}

} // namespace
} // namespace rawen::test
