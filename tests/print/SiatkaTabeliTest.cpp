#include "print/SiatkaTabeli.h"

#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/EngineError.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "support/PrintFakes.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{
    {QStringLiteral("NR"), ftInteger, 0, true},
    {QStringLiteral("SKROT"), ftString, 5, false},
    {QStringLiteral("KWOTA"), ftCurrency, 0, false},
    {QStringLiteral("DATA"), ftDate, 0, false},
    {QStringLiteral("ZDJECIE"), ftBlob, 0, false},
    {QStringLiteral("AKTYWNY"), ftBoolean, 0, false},
    {QStringLiteral("UWAGI"), ftMemo, 0, false},
    {QStringLiteral("ILE"), ftSmallint, 0, false},
};

class SiatkaTabeliTest : public testing::Test
{
protected:
    SiatkaTabeliTest()
    {
        const QString sciezka = m_dir.filePath(QStringLiteral("KONTRAHI.DB"));
        makeTable(sciezka, kPola, {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}},
                  {{"1", "KASIA", "-12.5", "2024-03-01", "", "True", "", "3"},
                   {"2", "NOWAK", "", "", "", "", "", ""},
                   {"3", "X", "", "", "", "", "", ""}});
        m_tabela.setTableName(sciezka);
        m_tabela.open();
    }

    QTemporaryDir m_dir;
    Table m_tabela;
};

// As wide as the field's values, at least as its name; six pixels a character, as printing counts.
TEST_F(SiatkaTabeliTest, AColumnForEachFieldThatPrintsAsText)
{
    SiatkaTabeli siatka(m_tabela);
    const struct
    {
        const char *pole;
        int znaki;
        int wyrownanie;
    } oczekiwane[] = {
        {"NR", 11, KolumnaSiatki::DoPrawej},    {"SKROT", 5, KolumnaSiatki::DoLewej},
        {"KWOTA", 17, KolumnaSiatki::DoPrawej}, {"DATA", 10, KolumnaSiatki::DoLewej},
        {"AKTYWNY", 7, KolumnaSiatki::DoLewej}, {"UWAGI", 40, KolumnaSiatki::DoLewej},
        {"ILE", 6, KolumnaSiatki::DoPrawej},
    };
    const QList<KolumnaSiatki> kolumny = siatka.kolumny();
    ASSERT_EQ(kolumny.size(), std::size(oczekiwane));
    for (qsizetype i = 0; i < kolumny.size(); ++i) {
        SCOPED_TRACE(oczekiwane[i].pole);
        EXPECT_EQ(kolumny[i].pole, QLatin1String(oczekiwane[i].pole));
        EXPECT_EQ(kolumny[i].tytul, QLatin1String(oczekiwane[i].pole));
        EXPECT_EQ(kolumny[i].szerokosc, oczekiwane[i].znaki * 6);
        EXPECT_EQ(kolumny[i].wyrownanie, oczekiwane[i].wyrownanie);
        EXPECT_TRUE(kolumny[i].widoczna);
        EXPECT_TRUE(kolumny[i].grupa.isEmpty());
    }
    EXPECT_TRUE(siatka.zaznaczoneWiersze().isEmpty());
}

TEST_F(SiatkaTabeliTest, TheFieldsNamedInTheirOrder)
{
    SiatkaTabeli siatka(
        m_tabela, {QStringLiteral("KWOTA"), QStringLiteral("ZDJECIE"), QStringLiteral("RABAT")});
    const QList<KolumnaSiatki> kolumny = siatka.kolumny();
    ASSERT_EQ(kolumny.size(), 3);
    EXPECT_EQ(kolumny[0].pole, u"KWOTA");
    EXPECT_EQ(kolumny[1].pole, u"ZDJECIE");
    // A field the table lacks stays a column, for printing to refuse with its message.
    EXPECT_EQ(kolumny[2].pole, u"RABAT");
    EXPECT_EQ(siatka.zbiorDanych().indeksPola(QStringLiteral("RABAT")), -1);
}

TEST_F(SiatkaTabeliTest, TheDataSetReadsDisplayTextsNumbersAndBookmarks)
{
    SiatkaTabeli siatka(m_tabela);
    ZbiorDanych &zbior = siatka.zbiorDanych();
    EXPECT_EQ(zbior.liczbaRekordow(), 3);
    const int kwota = zbior.indeksPola(QStringLiteral("kwota"));
    const int skrot = zbior.indeksPola(QStringLiteral("SKROT"));
    const int aktywny = zbior.indeksPola(QStringLiteral("AKTYWNY"));
    EXPECT_EQ(zbior.indeksPola(QString()), -1);

    QStringList teksty;
    QList<double> liczby;
    for (zbior.pierwszy(); !zbior.koniec(); zbior.nastepny()) {
        teksty << zbior.tekstPola(skrot) + u'/' + zbior.tekstPola(kwota) + u'/' +
                      zbior.tekstPola(aktywny);
        double liczba = -1;
        EXPECT_TRUE(zbior.liczbaPola(kwota, liczba));
        liczby << liczba;
        EXPECT_FALSE(zbior.liczbaPola(skrot, liczba));
    }
    // An empty amount adds nothing to a total; a text is no number at all.
    EXPECT_EQ(teksty, (QStringList{"KASIA/-12,50/Tak", "NOWAK//", "X//"}));
    EXPECT_EQ(liczby, (QList<double>{-12.5, 0, 0}));

    m_tabela.first();
    const qint64 pierwsza = m_tabela.bookmark();
    zbior.przejdzDo(pierwsza);
    EXPECT_EQ(zbior.tekstPola(skrot), u"KASIA");
    EXPECT_EQ(errorKind([&] { zbior.przejdzDo(pierwsza + 100); }), EngineError::BadState);

    zbior.wylaczKontrolki();
    EXPECT_TRUE(m_tabela.controlsDisabled());
    zbior.wlaczKontrolki();
    EXPECT_FALSE(m_tabela.controlsDisabled());
}

// Amounts print as a bookkeeper reads them, right-aligned, their decimal comma in the column of
// the total's point and their last digit over its last; the column as wide as the widest amount
// a total shows.
TEST(SiatkaTabeliWydruk, TheAmountsAndTheirTotalLineUp)
{
    QTemporaryDir katalog;
    const QString sciezka = katalog.filePath(QStringLiteral("FAKTURY.DB"));
    makeTable(sciezka,
              {{QStringLiteral("NR"), ftInteger, 0, true},
               {QStringLiteral("BRUTTO"), ftCurrency, 0, false}},
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}},
              {{"1", "1230"},
               {"2", "492"},
               {"3", "1230.5"},
               {"4", "-0.5"},
               {"5", "12345678.9"},
               {"6", ""},
               {"7", "0.125"}});
    Table tabela;
    tabela.setTableName(sciezka);
    tabela.open();
    SiatkaTabeli siatka(tabela);
    ScriptedMessageBoxes okna;
    UstawieniaDruku ustawienia;
    WartosciProgramu wartosci;
    FakeOknoWydruku okno;
    FakeOknoPostepu postep;
    RecordingDrukarka drukarka;
    Wydruk wydruk(ustawienia, wartosci, okno, postep, drukarka);
    wydruk.DrukujOdRazu = false;
    ASSERT_TRUE(
        wydruk.DrukujTabeleX(siatka, QStringLiteral("Faktury"), QStringLiteral("BRUTTO"), 0));
    const QStringList oczekiwane{
        "===============================", "|    NR     |     BRUTTO      |",
        "|-----------|-----------------|", "|          1|         1 230,00|",
        "|          2|           492,00|", "|          3|         1 230,50|",
        "|          4|            -0,50|", "|          5|    12 345 678,90|",
        "|          6|                 |", "|          7|             0,13|",
        "===============================", "|RAZEM :    |      12348631.03|",
        "===============================",
    };
    EXPECT_EQ(okno.bufor.mid(2, oczekiwane.size()), oczekiwane);
    const QString razem = okno.bufor.value(13);
    for (int i = 5; i <= 11; ++i) {
        const QString wiersz = okno.bufor.value(i);
        if (wiersz.contains(u',')) {
            EXPECT_EQ(wiersz.indexOf(u','), razem.indexOf(u'.')) << wiersz.toStdString();
        }
        EXPECT_EQ(wiersz.size(), razem.size()) << wiersz.toStdString();
    }
    EXPECT_TRUE(okna.shown().isEmpty());
}

} // namespace
} // namespace rawen::test
