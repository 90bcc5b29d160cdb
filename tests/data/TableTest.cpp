#include "data/Table.h"

#include "data/EngineError.h"
#include "support/TableFixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

QList<FieldDef> smallFields()
{
    return {{QStringLiteral("NR"), ftInteger, 0, false},
            {QStringLiteral("NAZWA"), ftString, 10, false},
            {QStringLiteral("KWOTA"), ftFloat, 0, false}};
}

TEST(TableTest, CreatesOpensWalksAndReopensCold)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("T.DB"));
    makeTable(path, smallFields(),
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
               {QStringLiteral("Nazwa"), QStringLiteral("NAZWA"), ixCaseInsensitive}},
              {{QStringLiteral("2"), QStringLiteral("beta"), QStringLiteral("2.5")},
               {QStringLiteral("1"), QStringLiteral("Alfa"), QStringLiteral("")},
               {QStringLiteral("3"), QStringLiteral("ALFA"), QStringLiteral("1,25")}});
    Table table;
    table.setTableName(path);
    table.open();
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(readAll(table),
              (QList<QStringList>{{"1", "Alfa", ""}, {"2", "beta", "2.5"}, {"3", "ALFA", "1.25"}}));
    table.setIndexName(QStringLiteral("NAZWA"));
    EXPECT_EQ(readAll(table),
              (QList<QStringList>{{"1", "Alfa", ""}, {"3", "ALFA", "1.25"}, {"2", "beta", "2.5"}}));
    EXPECT_EQ(table.fieldDefs(), smallFields());
}

} // namespace
} // namespace rawen::test
