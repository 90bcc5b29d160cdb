#include "shell/WykazFirm.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "support/QtPrinting.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

} // namespace
} // namespace rawen::test
