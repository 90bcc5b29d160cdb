#include "legacy/KonwersjaTabeli.h"

#include "data/Table.h"
#include "support/OtherProgram.h"
#include "support/PisarzParadox.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

class KonwersjaTabeliTest : public ::testing::Test
{
protected:
    QString sciezka(const QString &nazwa) const { return m_katalog.filePath(nazwa); }
    QTemporaryDir m_katalog;
};

const QString kPolskie = QStringLiteral("Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ");

// Each type becomes the engine's type with its size, and each value is stored as the engine
// stores that type: what a program reads from the new table is what the old one held.
TEST_F(KonwersjaTabeliTest, EveryTypeBecomesTheEnginesTypeWithItsValue)
{
    struct Przypadek
    {
        PoleWzoru pole;
        TFieldType typ;
        int rozmiar;
        QVariant wartosc;
        QString tekst; // Field::asString of the converted value
    };
    const QList<Przypadek> przypadki{
        {{QStringLiteral("NAZWA"), 'A', 40}, ftString, 40, kPolskie, kPolskie},
        {{QStringLiteral("DATA"), 'D'},
         ftDate,
         0,
         QDate(2024, 2, 29),
         QStringLiteral("2024-02-29")},
        {{QStringLiteral("DAWNO"), 'D'}, ftDate, 0, QDate(1, 1, 1), QStringLiteral("0001-01-01")},
        {{QStringLiteral("PRZED"), 'T'},
         ftTime,
         0,
         QTime(23, 59, 59, 7),
         QStringLiteral("23:59:59.007")},
        {{QStringLiteral("ILE"), 'S'}, ftSmallint, 0, -7, QStringLiteral("-7")},
        {{QStringLiteral("NR"), 'I'}, ftInteger, 0, 123456, QStringLiteral("123456")},
        {{QStringLiteral("KWOTA"), '$'}, ftCurrency, 0, -1234.56, QStringLiteral("-1234.56")},
        {{QStringLiteral("KURS"), 'N'}, ftFloat, 0, 4.3012, QStringLiteral("4.3012")},
        {{QStringLiteral("VAT"), 'L'}, ftBoolean, 0, true, QStringLiteral("True")},
        {{QStringLiteral("UWAGI"), 'M', 10},
         ftMemo,
         10,
         kPolskie.repeated(9),
         kPolskie.repeated(9)},
        {{QStringLiteral("PLIK"), 'B', 10},
         ftBlob,
         10,
         QByteArray("\x00\x01\x02zz", 5),
         QString::fromLatin1(QByteArray("\x00\x01\x02zz", 5))},
        {{QStringLiteral("OPIS"), 'F', 20},
         ftFmtMemo,
         20,
         QStringLiteral("krótki"),
         QStringLiteral("krótki")},
        {{QStringLiteral("OBIEKT"), 'O', 10},
         ftParadoxOle,
         10,
         QByteArray("OLE2"),
         QStringLiteral("OLE2")},
        {{QStringLiteral("LOGO"), 'G', 10},
         ftGraphic,
         10,
         QByteArray(5000, 'g'),
         QString(5000, u'g')},
        {{QStringLiteral("GODZ"), 'T'}, ftTime, 0, QTime(7, 5, 3), QStringLiteral("07:05:03")},
        {{QStringLiteral("CHWILA"), '@'},
         ftDateTime,
         0,
         QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5, 600)),
         QStringLiteral("2025-01-02 03:04:05.600")},
        {{QStringLiteral("LP"), '+'}, ftAutoInc, 0, 99, QStringLiteral("99")},
        {{QStringLiteral("BCD"), '#', 2},
         ftBCD,
         2,
         QStringLiteral("-123456789012.34"),
         QStringLiteral("-123456789012.34")},
        {{QStringLiteral("KOD"), 'Y', 3},
         ftBytes,
         3,
         QByteArray("ab"),
         QString::fromLatin1(QByteArray("ab\0", 3))},
    };
    QList<PoleWzoru> pola;
    RekordWzoru pelny, pusty;
    for (const Przypadek &p : przypadki) {
        pola << p.pole;
        pelny << p.wartosc;
        pusty << QVariant();
    }
    ZapiszTabeleParadox(sciezka(QStringLiteral("STARA.DB")), pola, {pelny, pusty});
    const WynikTabeli wynik =
        PrzeksztalcTabele(sciezka(QStringLiteral("STARA.DB")), sciezka(QStringLiteral("NOWA.DB")),
                          QStringLiteral("STARA.DB"));
    EXPECT_EQ(wynik.rekordy, 2);
    EXPECT_EQ(wynik.notatki, 5); // the memo, the blobs and the graphic; the short memo too
    Table tabela;
    tabela.setTableName(sciezka(QStringLiteral("NOWA.DB")));
    tabela.open();
    ASSERT_EQ(tabela.fieldCount(), przypadki.size());
    tabela.first();
    for (int i = 0; i < przypadki.size(); ++i) {
        const Przypadek &p = przypadki[i];
        EXPECT_EQ(tabela.fieldDefs()[i], (FieldDef{p.pole.nazwa, p.typ, p.rozmiar, false}));
        EXPECT_EQ(tabela.field(i).asString(), p.tekst) << qPrintable(p.pole.nazwa);
    }
    tabela.next();
    for (int i = 0; i < przypadki.size(); ++i)
        EXPECT_TRUE(tabela.field(i).isNull()) << qPrintable(przypadki[i].pole.nazwa);
}

// The primary key from the header's key fields, the secondary indexes from their files; a file
// missing or unreadable is said in a warning and the conversion goes on without it.
TEST_F(KonwersjaTabeliTest, KeysAndSecondaryIndexesFromTheirFiles)
{
    const QList<PoleWzoru> pola{{QStringLiteral("ROK"), 'S'},
                                {QStringLiteral("NR"), 'I'},
                                {QStringLiteral("NAZWA"), 'A', 30},
                                {QStringLiteral("DATA"), 'D'}};
    QList<RekordWzoru> rekordy;
    for (int i = 1; i <= 300; ++i)
        rekordy << RekordWzoru{2024, i, QStringLiteral("Kontrahent %1").arg(i % 17),
                               QDate(2024, 1, 1).addDays(i)};
    OpcjeParadoxu opcje;
    opcje.polaKlucza = 2;
    const QString stara = sciezka(QStringLiteral("KONTRAHI.DB"));
    ZapiszTabeleParadox(stara, pola, rekordy, opcje);
    ZapiszIndeksGlowny(stara, pola, opcje);
    ZapiszIndeksWtorny(stara, QStringLiteral("X03"), {pola[2]}, QString(), opcje);
    ZapiszIndeksWtorny(stara, QStringLiteral("XG0"), {pola[3], pola[2]},
                       QStringLiteral("DataNazwa"), opcje);

    WynikTabeli wynik =
        PrzeksztalcTabele(stara, sciezka(QStringLiteral("N1.DB")), QStringLiteral("KONTRAHI.DB"));
    EXPECT_TRUE(wynik.ostrzezenia.isEmpty()) << qPrintable(wynik.ostrzezenia.join(u'\n'));
    Table tabela;
    tabela.setTableName(sciezka(QStringLiteral("N1.DB")));
    tabela.open();
    EXPECT_EQ(tabela.indexDefs(),
              (QList<IndexDef>{{QString(), QStringLiteral("ROK;NR"), ixPrimary | ixUnique},
                               {QStringLiteral("NAZWA"), QStringLiteral("NAZWA"), {}},
                               {QStringLiteral("DataNazwa"), QStringLiteral("DATA;NAZWA"), {}}}));
    tabela.setIndexName(QStringLiteral("DataNazwa"));
    tabela.first();
    EXPECT_EQ(tabela.fieldByName(QStringLiteral("NR")).asInteger(), 1);
    EXPECT_EQ(tabela.recordCount(), 300);
    tabela.close();

    // The primary index gone, a secondary one garbled: warnings, and the table all the same.
    QFile::remove(sciezka(QStringLiteral("KONTRAHI.PX")));
    QFile x(sciezka(QStringLiteral("KONTRAHI.X03")));
    ASSERT_TRUE(x.open(QIODevice::WriteOnly | QIODevice::Truncate));
    x.write("to nie jest indeks");
    x.close();
    wynik =
        PrzeksztalcTabele(stara, sciezka(QStringLiteral("N2.DB")), QStringLiteral("KONTRAHI.DB"));
    ASSERT_EQ(wynik.ostrzezenia.size(), 2) << qPrintable(wynik.ostrzezenia.join(u'\n'));
    EXPECT_TRUE(
        wynik.ostrzezenia[0].contains(QStringLiteral("brak pliku indeksu głównego KONTRAHI.PX")));
    EXPECT_TRUE(wynik.ostrzezenia[1].contains(QStringLiteral("KONTRAHI.X03")));
    tabela.setTableName(sciezka(QStringLiteral("N2.DB")));
    tabela.open();
    EXPECT_EQ(tabela.indexDefs().size(), 2);
    EXPECT_EQ(tabela.recordCount(), 300);
}

// What cannot be converted whole is refused with the table and the reason, and nothing is left
// at the new table's place: a BCD with more digits than the engine's number keeps, a key the
// records repeat.
TEST_F(KonwersjaTabeliTest, WhatCannotBeKeptWholeIsRefusedLeavingNothing)
{
    struct Przypadek
    {
        const char *opis;
        QList<PoleWzoru> pola;
        QList<RekordWzoru> rekordy;
        int klucz;
        QString oczekiwany;
    };
    const QList<Przypadek> przypadki{
        {"a BCD of 20 digits",
         {{QStringLiteral("KWOTA"), '#', 2}},
         {{QStringLiteral("12.50")}, {QStringLiteral("123456789012345678.91")}},
         0,
         QStringLiteral("rekord 2, pole KWOTA: liczba 123456789012345678.91")},
        {"a repeated key",
         {{QStringLiteral("NR"), 'I'}, {QStringLiteral("X"), 'A', 2}},
         {{1, QStringLiteral("a")}, {1, QStringLiteral("b")}},
         1,
         QStringLiteral("klucz główny NR")},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.opis);
        OpcjeParadoxu opcje;
        opcje.polaKlucza = p.klucz;
        ZapiszTabeleParadox(sciezka(QStringLiteral("S.DB")), p.pola, p.rekordy, opcje);
        QString komunikat;
        try {
            PrzeksztalcTabele(sciezka(QStringLiteral("S.DB")), sciezka(QStringLiteral("N.DB")),
                              QStringLiteral("S.DB"));
        } catch (const BladParadox &blad) {
            komunikat = blad.komunikat();
        }
        EXPECT_TRUE(komunikat.startsWith(QStringLiteral("S.DB: "))) << qPrintable(komunikat);
        EXPECT_TRUE(komunikat.contains(p.oczekiwany)) << qPrintable(komunikat);
        EXPECT_FALSE(QFile::exists(sciezka(QStringLiteral("N.DB"))));
        EXPECT_EQ(QDir(m_katalog.path())
                      .entryList(QDir::Hidden | QDir::Files)
                      .filter(QStringLiteral("~"))
                      .size(),
                  0);
    }
}

// The read-back sees what the file holds: a value changed, made empty or a record more after the
// conversion changes the figures it compares.
TEST_F(KonwersjaTabeliTest, TheReadBackTellsAChangedTableFromTheConvertedOne)
{
    const QList<PoleWzoru> pola{{QStringLiteral("NR"), 'I'},
                                {QStringLiteral("NAZWA"), 'A', 20},
                                {QStringLiteral("KWOTA"), '$'}};
    QList<RekordWzoru> rekordy;
    for (int i = 1; i <= 50; ++i)
        rekordy << RekordWzoru{i, QStringLiteral("Ą %1").arg(i), i * 1.25};
    ZapiszTabeleParadox(sciezka(QStringLiteral("S.DB")), pola, rekordy);
    const WynikTabeli wynik = PrzeksztalcTabele(
        sciezka(QStringLiteral("S.DB")), sciezka(QStringLiteral("N.DB")), QStringLiteral("S.DB"));
    qint64 ile = 0;
    EXPECT_EQ(SumyTabeli(sciezka(QStringLiteral("N.DB")), &ile), wynik.sumy);
    EXPECT_EQ(ile, 50);
    for (const QString &zmiana : {QStringLiteral("UPDATE records SET NAZWA = 'Ä 7' WHERE NR = 7"),
                                  QStringLiteral("UPDATE records SET KWOTA = NULL WHERE NR = 3"),
                                  QStringLiteral("DELETE FROM records WHERE NR = 8; "
                                                 "INSERT INTO records VALUES(8, 'Ą 8', 10.5)")}) {
        SCOPED_TRACE(zmiana.toStdString());
        QFile::remove(sciezka(QStringLiteral("K.DB")));
        ASSERT_TRUE(QFile::copy(sciezka(QStringLiteral("N.DB")), sciezka(QStringLiteral("K.DB"))));
        {
            OtherProgram inny(sciezka(QStringLiteral("K.DB")));
            inny.exec(zmiana);
        }
        EXPECT_NE(SumyTabeli(sciezka(QStringLiteral("K.DB")), &ile), wynik.sumy);
    }
}

} // namespace
} // namespace rawen::test
