#include "data/ModelTabeli.h"

#include "data/Table.h"
#include "support/TableFixtures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace rawen::test {
namespace {

class ModelTabeliTest : public testing::Test
{
protected:
    ModelTabeliTest()
    {
        QList<QStringList> rekordy;
        for (int i = 1; i <= 600; ++i)
            rekordy << QStringList{QString::number(i), QStringLiteral("Firma %1").arg(i),
                                   QString::number(i * 1.5)};
        makeTable(sciezka(),
                  {{QStringLiteral("NR"), ftInteger, 0, true},
                   {QStringLiteral("NAZWA"), ftString, 30, false},
                   {QStringLiteral("KWOTA"), ftFloat, 0, false}},
                  {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}}, rekordy);
        m_tabela.setTableName(sciezka());
        m_tabela.open();
    }

    QString sciezka() const { return m_dir.filePath(QStringLiteral("FIRMY.DB")); }

    // Reads every row the way a view does when it scrolls to the end.
    static void czytajWszystko(ModelTabeli &model)
    {
        while (model.canFetchMore(QModelIndex()))
            model.fetchMore(QModelIndex());
    }

    QTemporaryDir m_dir;
    Table m_tabela;
};

TEST_F(ModelTabeliTest, AColumnForEachFieldTitledAndAlignedByIt)
{
    ModelTabeli model(m_tabela);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), u"NAZWA");
    EXPECT_EQ(model.wyrownanie(0), Qt::AlignRight);
    EXPECT_EQ(model.wyrownanie(1), Qt::AlignLeft);
    EXPECT_EQ(model.wyrownanie(2), Qt::AlignRight);

    model.ustawKolumny({{QStringLiteral("KWOTA"), QStringLiteral("Kwota zł"), Qt::AlignHCenter,
                         QStringLiteral("netto"), 1},
                        {QStringLiteral("NAZWA"), {}, {}, {}, -1}},
                       {{QStringLiteral("Rok"), QStringLiteral("R"), true, -1},
                        {QStringLiteral("Kwartał"), {}, false, 0}});
    EXPECT_EQ(model.tytul(0), u"Kwota zł");
    EXPECT_EQ(model.tytul(1), u"NAZWA");
    EXPECT_EQ(model.wyrownanie(0), Qt::AlignHCenter);
    const QList<ModelTabeli::Nadrzedna> nadrzedne = model.nadrzedneKolumny(0);
    ASSERT_EQ(nadrzedne.size(), 2);
    EXPECT_EQ(nadrzedne[0].tytul, u"Rok");
    EXPECT_EQ(nadrzedne[1].tytul, u"Kwartał");
    EXPECT_FALSE(nadrzedne[1].widoczna);
    EXPECT_TRUE(model.nadrzedneKolumny(1).isEmpty());
}

TEST_F(ModelTabeliTest, RowsAreReadAWindowAtATimeWithTheirBookmarks)
{
    ModelTabeli model(m_tabela);
    EXPECT_EQ(model.rowCount(), 0);
    ASSERT_TRUE(model.canFetchMore(QModelIndex()));
    model.fetchMore(QModelIndex());
    EXPECT_EQ(model.rowCount(), 256);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), u"Firma 1");
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), u"3");
    EXPECT_EQ(model.data(model.index(2, 2)).toString(), u"4,5");
    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));

    // Other code walks the table to its end meanwhile, as printing does.
    for (m_tabela.first(); !m_tabela.eof(); m_tabela.next()) {
    }
    czytajWszystko(model);
    ASSERT_EQ(model.rowCount(), 600);
    for (int wiersz : {0, 255, 256, 599}) {
        EXPECT_EQ(model.data(model.index(wiersz, 0)).toString(), QString::number(wiersz + 1));
        m_tabela.gotoBookmark(model.zakladka(wiersz));
        EXPECT_EQ(m_tabela.field(0).asInteger(), wiersz + 1);
    }
    EXPECT_EQ(model.zakladka(600), 0);

    model.odswiez();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(model.canFetchMore(QModelIndex()));
}

// A grid shows amounts as every view does and makes room for the widest of them.
TEST_F(ModelTabeliTest, AmountsShowAsAnyViewShowsThem)
{
    const QString kwoty = m_dir.filePath(QStringLiteral("KWOTY.DB"));
    makeTable(kwoty,
              {{QStringLiteral("NR"), ftInteger, 0, true},
               {QStringLiteral("BRUTTO"), ftCurrency, 0, false},
               {QStringLiteral("ILOSC"), ftBCD, 3, false}},
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}},
              {{"1", "1230", "2.5"}, {"2", "-0.5", ""}});
    Table tabela;
    tabela.setTableName(kwoty);
    tabela.open();
    ModelTabeli model(tabela);
    czytajWszystko(model);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), u"1 230,00");
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), u"2,500");
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), u"-0,50");
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), u"");
    EXPECT_EQ(model.data(model.index(1, 1), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(model.szerokoscZnakow(0), 11);
    EXPECT_EQ(model.szerokoscZnakow(1), 17); // "99 999 999 999,99"
    EXPECT_EQ(model.szerokoscZnakow(2), 18); // "99 999 999 999,999"
    model.ustawKolumny({{QString(), QStringLiteral("Uwagi"), {}, {}, -1}});
    EXPECT_EQ(model.szerokoscZnakow(0), 0);
}

// A record deleted by another program under the last row read ends the reading where it is.
TEST_F(ModelTabeliTest, ARowGoneUnderTheViewEndsTheReading)
{
    ModelTabeli model(m_tabela);
    model.fetchMore(QModelIndex());
    sqlite3 *inny = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(sciezka()).constData(), &inny), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(inny, "DELETE FROM records WHERE NR = 256", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(inny);
    model.fetchMore(QModelIndex());
    EXPECT_EQ(model.rowCount(), 256);
    EXPECT_FALSE(model.canFetchMore(QModelIndex()));
}

} // namespace
} // namespace rawen::test
