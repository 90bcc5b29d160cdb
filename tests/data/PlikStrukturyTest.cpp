#include "data/PlikStruktury.h"

#include "platform/EngineError.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

QByteArray spacje(int ile)
{
    return QByteArray(ile, ' ');
}

TEST(PlikStrukturyTest, LinesFollowTheFixedColumns)
{
    const QString dlugaNazwa = QStringLiteral("NAZWA_POLA_DLUZSZA_NIZ_CZTERDZIESCI_ZNAKOW_X");
    ASSERT_EQ(dlugaNazwa.size(), 44);
    const QList<FieldDef> pola{
        {QStringLiteral("NR"), ftInteger, 0, false},
        {dlugaNazwa, ftString, 20, true},
        {QStringLiteral("ŁĄKA"), ftFloat, 0, false},
        {QStringLiteral("B"), ftFMTBcd, 4, false},
    };
    const QList<IndexDef> indeksy{
        {QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
        {QStringLiteral("Indeks_o_nazwie_dluzszej_niz_czterdziesci_znakow"),
         QStringLiteral("NAZWA_POLA_DLUZSZA_NIZ_CZTERDZIESCI_ZNAKOW_X;NR"), ixCaseInsensitive},
    };

    QByteArray oczekiwane;
    oczekiwane += "STRUKTURA ZBIORU\r\n";
    // The firm table's first field, as the support staff know the line.
    oczekiwane += "Pole:NR" + spacje(38) + "Typ:03Obecnosc:FALSEWielkosc:0\r\n";
    oczekiwane +=
        "Pole:NAZWA_POLA_DLUZSZA_NIZ_CZTERDZIESCI_ZNAKTyp:01Obecnosc: TRUEWielkosc:20\r\n";
    oczekiwane += "Pole:\xA3\xA5KA" + spacje(36) + "Typ:06Obecnosc:FALSEWielkosc:0\r\n";
    oczekiwane += "Pole:B" + spacje(39) + "Typ:37Obecnosc:FALSEWielkosc:4\r\n";
    oczekiwane += "INDEKSY\r\n";
    oczekiwane += "Nazwa:" + spacje(40) + "Pole:NR" + spacje(38) + "\r\n";
    oczekiwane += "Nazwa:Indeks_o_nazwie_dluzszej_niz_czterdziescPole:"
                  "NAZWA_POLA_DLUZSZA_NIZ_CZTERDZIESCI_ZNAK\r\n";
    oczekiwane += "KONIEC\r\n";

    const QByteArray tresc = TrescPlikuStruktury(pola, indeksy);
    EXPECT_EQ(tresc, oczekiwane);

    const QList<QByteArray> linie = tresc.split('\n');
    for (int i = 1; i <= pola.size(); ++i) {
        EXPECT_EQ(linie[i].mid(45, 4), "Typ:") << i;
        EXPECT_EQ(linie[i].mid(65, 9), "Wielkosc:") << i;
    }
    for (int i = pola.size() + 2; i < pola.size() + 2 + indeksy.size(); ++i) {
        EXPECT_EQ(linie[i].mid(46, 5), "Pole:") << i;
        EXPECT_EQ(linie[i].size(), 91 + 1) << i; // with the CR
    }
}

TEST(PlikStrukturyTest, ATableWithoutIndexesStillHasEveryHeading)
{
    EXPECT_EQ(TrescPlikuStruktury({}, {}), QByteArray("STRUKTURA ZBIORU\r\nINDEKSY\r\nKONIEC\r\n"));
}

TEST(PlikStrukturyTest, WritesTheBytesAndRaisesWhenTheyDoNotReachTheFile)
{
    const QList<FieldDef> pola{{QStringLiteral("NR"), ftInteger, 0, false}};
    QBuffer bufor;
    ASSERT_TRUE(bufor.open(QIODevice::WriteOnly));
    ZapiszPlikStruktury(bufor, pola, {});
    EXPECT_EQ(bufor.data(), TrescPlikuStruktury(pola, {}));

    QFile pelny(QStringLiteral("/dev/full"));
    if (!pelny.open(QIODevice::WriteOnly))
        GTEST_SKIP() << "no /dev/full here";
    try {
        ZapiszPlikStruktury(pelny, pola, {});
        ADD_FAILURE() << "no error";
    } catch (const EngineError &blad) {
        EXPECT_EQ(blad.kind(), EngineError::Io);
    }
}

} // namespace
} // namespace rawen::test
