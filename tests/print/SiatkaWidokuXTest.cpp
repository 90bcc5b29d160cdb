#include "print/SiatkaWidokuX.h"

#include "data/ModelTabeli.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "support/PrintFakes.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QItemSelectionModel>
#include <QStringListModel>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

class SiatkaWidokuXTest : public testing::Test
{
protected:
    SiatkaWidokuXTest()
    {
        const QString sciezka = m_dir.filePath(QStringLiteral("KONTRAHI.DB"));
        QList<QStringList> rekordy;
        for (int i = 1; i <= 5; ++i)
            rekordy << QStringList{QString::number(i), QStringLiteral("Firma %1").arg(i),
                                   QStringLiteral("Tarnów"), QString::number(i * 10)};
        makeTable(sciezka,
                  {{QStringLiteral("NR"), ftInteger, 0, true},
                   {QStringLiteral("NAZWA"), ftString, 30, false},
                   {QStringLiteral("MIASTO"), ftString, 30, false},
                   {QStringLiteral("KWOTA"), ftCurrency, 0, false}},
                  {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}}, rekordy);
        m_tabela.setTableName(sciezka);
        m_tabela.open();
        // NAZWA and MIASTO under "Kontrahent"; NR under a parent that is hidden.
        m_model.ustawKolumny({{QStringLiteral("NR"), {}, {}, {}, 1},
                              {QStringLiteral("NAZWA"), QStringLiteral("Nazwa"), {}, {}, 0},
                              {QStringLiteral("MIASTO"), QStringLiteral("Miasto"), {}, {}, 0},
                              {QStringLiteral("KWOTA"), QStringLiteral("Kwota"), {}, {}, -1}},
                             {{QStringLiteral("Kontrahent"), {}, true, -1},
                              {QStringLiteral("Numer"), {}, false, -1}});
        m_widok.setModel(&m_model);
        m_widok.setSelectionBehavior(QAbstractItemView::SelectRows);
        m_widok.setSelectionMode(QAbstractItemView::MultiSelection);
        const int szerokosci[] = {30, 60, 36, 48};
        for (int i = 0; i < 4; ++i)
            m_widok.setColumnWidth(i, szerokosci[i]);
        while (m_model.canFetchMore(QModelIndex()))
            m_model.fetchMore(QModelIndex());
    }

    void zaznacz(int wiersz)
    {
        m_widok.selectionModel()->select(m_model.index(wiersz, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
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

TEST_F(SiatkaWidokuXTest, VisibilityGroupsAndAlignmentComeFromTheTitleLevels)
{
    m_widok.setColumnHidden(2, true);
    SiatkaWidokuX siatka(m_widok, m_model);
    const QList<KolumnaSiatki> kolumny = siatka.kolumny();
    ASSERT_EQ(kolumny.size(), 4);
    const struct
    {
        const char *pole;
        bool widoczna;
        const char *grupa;
        int wyrownanie;
    } oczekiwane[] = {
        {"NR", false, "Numer", KolumnaSiatki::DoPrawej},
        {"NAZWA", true, "Kontrahent", KolumnaSiatki::DoLewej},
        {"MIASTO", false, "Kontrahent", KolumnaSiatki::DoLewej},
        {"KWOTA", true, "", KolumnaSiatki::DoPrawej},
    };
    for (qsizetype i = 0; i < kolumny.size(); ++i) {
        SCOPED_TRACE(oczekiwane[i].pole);
        EXPECT_EQ(kolumny[i].pole, QLatin1String(oczekiwane[i].pole));
        EXPECT_EQ(kolumny[i].widoczna, oczekiwane[i].widoczna);
        EXPECT_EQ(kolumny[i].grupa, QString::fromUtf8(oczekiwane[i].grupa));
        EXPECT_EQ(kolumny[i].wyrownanie, oczekiwane[i].wyrownanie);
    }
    EXPECT_EQ(kolumny[1].szerokosc, 60);
    EXPECT_EQ(kolumny[1].tytul, u"Nazwa");
}

TEST_F(SiatkaWidokuXTest, TheSelectedRowsPrintInTheOrderTheyWereSelected)
{
    zaznacz(3);
    zaznacz(1);
    SiatkaWidokuX siatka(m_widok, m_model);
    EXPECT_EQ(siatka.zaznaczoneWiersze(),
              (QList<qint64>{m_model.zakladka(3), m_model.zakladka(1)}));

    ASSERT_TRUE(
        DrukujWidokX(m_wydruk, m_widok, QStringLiteral("Wybrani"), QStringLiteral("LP;KWOTA")));
    EXPECT_EQ(
        m_okno.bufor.mid(2),
        (QStringList{"=================================", "|    |   Kontrahent    |        |",
                     "| LP |  Nazwa   |Miasto| Kwota  |", "|----|----------|------|--------|",
                     "|   1|Firma 4   |Tarnów|   40,00|", "|   2|Firma 2   |Tarnów|   20,00|",
                     "=================================", "|    |RAZEM :   |      |   60.00|",
                     "=================================", "&GKelmar - Koniec wydruku: Wybrani"}));
    EXPECT_EQ(m_postep.razem, 2);

    // Without a selection the whole list prints.
    m_widok.clearSelection();
    ASSERT_TRUE(DrukujWidokX(m_wydruk, m_widok, QStringLiteral("Wszyscy"), QString()));
    EXPECT_EQ(m_postep.razem, 5);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

TEST_F(SiatkaWidokuXTest, AViewOfSomethingElsePrintsNothing)
{
    QStringListModel inny(QStringList{QStringLiteral("a")});
    QTableView widok;
    widok.setModel(&inny);
    EXPECT_FALSE(DrukujWidokX(m_wydruk, widok, QStringLiteral("T"), QString()));
    EXPECT_TRUE(m_okno.bufor.isEmpty());
}

} // namespace
} // namespace rawen::test
