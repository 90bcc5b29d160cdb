#include "print/SiatkaWidoku.h"

#include "data/ModelTabeli.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "support/PrintFakes.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QHeaderView>
#include <QStringListModel>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

class SiatkaWidokuTest : public testing::Test
{
protected:
    SiatkaWidokuTest()
    {
        const QString sciezka = m_dir.filePath(QStringLiteral("KONTRAHI.DB"));
        makeTable(sciezka,
                  {{QStringLiteral("NR"), ftInteger, 0, true},
                   {QStringLiteral("NAZWA"), ftString, 30, false},
                   {QStringLiteral("KWOTA"), ftCurrency, 0, false}},
                  {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}},
                  {{"1", "Kowalski", "12.5"}, {"2", "Nowak", "-3"}});
        m_tabela.setTableName(sciezka);
        m_tabela.open();
        m_widok.setModel(&m_model);
        m_widok.setColumnWidth(0, 30);
        m_widok.setColumnWidth(1, 64);
        m_widok.setColumnWidth(2, 48);
    }

    QTemporaryDir m_dir;
    Table m_tabela;
    ModelTabeli m_model{m_tabela};
    QTableView m_widok;
    ScriptedMessageBoxes m_boxes;
    UstawieniaDruku m_ustawienia;
    WartosciProgramu m_wartosci;
    FakeOknoWydruku m_okno;
    FakeOknoPostepu m_postep;
    RecordingDrukarka m_drukarka;
    Wydruk m_wydruk{m_ustawienia, m_wartosci, m_okno, m_postep, m_drukarka};
};

TEST_F(SiatkaWidokuTest, TheColumnsStandInScreenOrderAsWideAsShownAndHiddenOnesMinusOne)
{
    m_model.ustawKolumny(
        {{QStringLiteral("NR"), {}, {}, {}, -1},
         {QStringLiteral("NAZWA"), QStringLiteral("Nazwa kontrahenta"), {}, {}, -1},
         {QStringLiteral("KWOTA"), {}, {}, {}, -1}});
    m_widok.setColumnWidth(1, 64);
    m_widok.setColumnWidth(2, 48);
    m_widok.horizontalHeader()->moveSection(2, 0);
    m_widok.setColumnHidden(0, true);
    SiatkaWidoku siatka(m_widok, m_model);
    const QList<KolumnaSiatki> kolumny = siatka.kolumny();
    ASSERT_EQ(kolumny.size(), 3);
    EXPECT_EQ(kolumny[0].pole, u"KWOTA");
    EXPECT_EQ(kolumny[0].szerokosc, 48);
    EXPECT_EQ(kolumny[1].pole, u"NR");
    EXPECT_EQ(kolumny[1].szerokosc, -1);
    EXPECT_EQ(kolumny[2].pole, u"NAZWA");
    EXPECT_EQ(kolumny[2].tytul, u"Nazwa kontrahenta");
    EXPECT_EQ(kolumny[2].szerokosc, 64);

    // One call prints the list as the window shows it.
    ASSERT_TRUE(DrukujWidok(m_wydruk, m_widok, QStringLiteral("Kontrahenci")));
    EXPECT_EQ(m_okno.bufor.mid(2, 6),
              (QStringList{"======================", "|KWOTA   ||Nazwa kont|",
                           "|--------||----------|", "|12,50   ||Kowalski  |",
                           "|-3,00   ||Nowak     |", "======================"}));
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// A grid's column is as wide as its field's widest display text, or as its title when that is
// wider: an amount takes the room of "99 999 999 999,99".
TEST_F(SiatkaWidokuTest, ColumnsAsWideAsTheWidestTextOfTheirFieldOrTheirTitle)
{
    const QString dlugi = QStringLiteral("Kwota do zapłaty brutto w złotych i groszach");
    m_model.ustawKolumny({{QStringLiteral("NR"), {}, {}, {}, -1},
                          {QStringLiteral("NAZWA"), {}, {}, {}, -1},
                          {QStringLiteral("KWOTA"), {}, {}, {}, -1},
                          {QStringLiteral("KWOTA"), dlugi, {}, {}, -1}});
    UstawSzerokosciKolumn(m_widok, m_model);
    const int zero = m_widok.fontMetrics().horizontalAdvance(u'0');
    ASSERT_GT(zero, 0);
    EXPECT_EQ(m_widok.columnWidth(0), zero * 11 + 4);
    EXPECT_EQ(m_widok.columnWidth(1), zero * 30 + 4);
    EXPECT_EQ(m_widok.columnWidth(2), zero * 17 + 4);
    const int tytul = QFontMetrics(m_widok.horizontalHeader()->font()).horizontalAdvance(dlugi) + 4;
    ASSERT_GT(tytul, zero * 17 + 4);
    EXPECT_EQ(m_widok.columnWidth(3), tytul);
}

TEST_F(SiatkaWidokuTest, AViewOfSomethingElsePrintsNothing)
{
    QStringListModel inny(QStringList{QStringLiteral("a")});
    QTableView widok;
    widok.setModel(&inny);
    EXPECT_FALSE(DrukujWidok(m_wydruk, widok, QStringLiteral("T")));
    EXPECT_TRUE(m_okno.bufor.isEmpty());
    EXPECT_EQ(m_okno.pokazania, 0);
}

} // namespace
} // namespace rawen::test
