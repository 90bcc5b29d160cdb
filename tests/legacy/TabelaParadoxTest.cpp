#include "legacy/TabelaParadox.h"

#include "support/PisarzParadox.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace rawen::test {
namespace {

// Every record of a table, each value as a short text that tells its kind: "-" empty, "i:5",
// "r:2.5", "t:...", "b:hex", "d:yyyy-MM-dd", "c:HH:mm:ss.zzz", "dc:...", "n:decimal".
QList<QStringList> odczytaj(const QString &sciezka, const QString &kodowanie = {})
{
    TabelaParadox tabela(sciezka, QStringLiteral("T.DB"), kodowanie);
    QList<QStringList> rekordy;
    tabela.przejdz([&](const char *rekord) {
        QStringList r;
        for (int i = 0; i < tabela.pola().size(); ++i) {
            const WartoscParadox w = tabela.wartosc(rekord, i);
            switch (w.rodzaj) {
            case WartoscParadox::Pusta:
                r << QStringLiteral("-");
                break;
            case WartoscParadox::Calkowita:
                r << QStringLiteral("i:%1").arg(w.calkowita);
                break;
            case WartoscParadox::Rzeczywista:
                r << QStringLiteral("r:%1").arg(QString::number(w.rzeczywista, 'g', 17));
                break;
            case WartoscParadox::Tekst:
                r << QStringLiteral("t:") + w.tekst;
                break;
            case WartoscParadox::Bajty:
                r << QStringLiteral("b:") + QString::fromLatin1(w.bajty.toHex());
                break;
            case WartoscParadox::Data:
                r << QStringLiteral("d:") + w.data.toString(Qt::ISODate);
                break;
            case WartoscParadox::Czas:
                r << QStringLiteral("c:") + w.czas.toString(QStringLiteral("HH:mm:ss.zzz"));
                break;
            case WartoscParadox::DataCzas:
                r << QStringLiteral("dc:") + w.data.toString(Qt::ISODate) + u' ' +
                         w.czas.toString(QStringLiteral("HH:mm:ss.zzz"));
                break;
            case WartoscParadox::Dziesietna:
                r << QStringLiteral("n:") + w.tekst;
                break;
            }
        }
        rekordy << r;
    });
    return rekordy;
}

QString bladOdczytu(const QString &sciezka)
{
    try {
        odczytaj(sciezka);
    } catch (const BladParadox &blad) {
        return blad.komunikat();
    }
    return {};
}

class TabelaParadoxTest : public ::testing::Test
{
protected:
    QString sciezka(const QString &nazwa = QStringLiteral("T.DB")) const
    {
        return m_katalog.filePath(nazwa);
    }
    QTemporaryDir m_katalog;
};

const QString kPolskie = QStringLiteral("Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ");

// Every type of field, with a value and with an empty one, in each file version the reader
// knows: the value comes back as it was written and an empty value stays empty (a zero is no
// empty value).
TEST_F(TabelaParadoxTest, EveryTypeReadsBackInEveryVersion)
{
    struct Przypadek
    {
        PoleWzoru pole;
        QVariant wartosc;
        QString oczekiwana;
    };
    const QList<Przypadek> przypadki{
        {{QStringLiteral("NAZWA"), 'A', 30}, kPolskie, QStringLiteral("t:") + kPolskie},
        {{QStringLiteral("PELNA"), 'A', 3}, QStringLiteral("abc"), QStringLiteral("t:abc")},
        {{QStringLiteral("DATA"), 'D'}, QDate(2024, 2, 29), QStringLiteral("d:2024-02-29")},
        {{QStringLiteral("DAWNO"), 'D'}, QDate(1, 1, 1), QStringLiteral("d:0001-01-01")},
        {{QStringLiteral("KROTKA"), 'S'}, -32767, QStringLiteral("i:-32767")},
        {{QStringLiteral("ZERO"), 'S'}, 0, QStringLiteral("i:0")},
        {{QStringLiteral("DLUGA"), 'I'}, 2147483647, QStringLiteral("i:2147483647")},
        {{QStringLiteral("UJEMNA"), 'I'}, -5, QStringLiteral("i:-5")},
        {{QStringLiteral("KWOTA"), '$'}, -1234.56, QStringLiteral("r:-1234.5599999999999")},
        {{QStringLiteral("LICZBA"), 'N'}, 0.1, QStringLiteral("r:0.10000000000000001")},
        {{QStringLiteral("ZEROWA"), 'N'}, 0.0, QStringLiteral("r:0")},
        {{QStringLiteral("TAK"), 'L'}, true, QStringLiteral("i:1")},
        {{QStringLiteral("NIE"), 'L'}, false, QStringLiteral("i:0")},
        {{QStringLiteral("UWAGI"), 'M', 10}, QStringLiteral("krótka"), QStringLiteral("t:krótka")},
        {{QStringLiteral("DANE"), 'B', 10},
         QByteArray("\x00\x01\xff", 3),
         QStringLiteral("b:0001ff")},
        {{QStringLiteral("OPIS"), 'F', 10}, QStringLiteral("{\\b x}"), QStringLiteral("t:{\\b x}")},
        {{QStringLiteral("OLE"), 'O', 10}, QByteArray("OLE"), QStringLiteral("b:4f4c45")},
        {{QStringLiteral("LOGO"), 'G', 10}, QByteArray("BM"), QStringLiteral("b:424d")},
        {{QStringLiteral("GODZINA"), 'T'},
         QTime(23, 59, 59, 999),
         QStringLiteral("c:23:59:59.999")},
        {{QStringLiteral("PÓŁNOC"), 'T'}, QTime(0, 0), QStringLiteral("c:00:00:00.000")},
        {{QStringLiteral("CHWILA"), '@'},
         QDateTime(QDate(2025, 12, 31), QTime(8, 30, 15, 250)),
         QStringLiteral("dc:2025-12-31 08:30:15.250")},
        {{QStringLiteral("LICZNIK"), '+'}, 17, QStringLiteral("i:17")},
        {{QStringLiteral("BCD"), '#', 4},
         QStringLiteral("-12345678901234567890123456.7890"),
         QStringLiteral("n:-12345678901234567890123456.7890")},
        {{QStringLiteral("BCDZERO"), '#', 2}, QStringLiteral("0"), QStringLiteral("n:0.00")},
        {{QStringLiteral("BAJTY"), 'Y', 4},
         QByteArray("\x01\x00\x02", 3),
         QStringLiteral("b:01000200")},
    };
    QList<PoleWzoru> pola;
    RekordWzoru pelny, pusty;
    QStringList oczekiwany, oczekiwanyPusty;
    for (const Przypadek &p : przypadki) {
        pola << p.pole;
        pelny << p.wartosc;
        pusty << QVariant();
        oczekiwany << p.oczekiwana;
        oczekiwanyPusty << QStringLiteral("-");
    }
    for (const int wersja : {3, 4, 5, 9, 10, 12}) {
        SCOPED_TRACE(wersja);
        OpcjeParadoxu opcje;
        opcje.wersja = wersja;
        ZapiszTabeleParadox(sciezka(), pola, {pelny, pusty}, opcje);
        TabelaParadox tabela(sciezka(), QStringLiteral("T.DB"));
        ASSERT_EQ(tabela.pola().size(), pola.size());
        for (int i = 0; i < pola.size(); ++i)
            EXPECT_EQ(tabela.pola()[i].nazwa, pola[i].nazwa);
        const QList<QStringList> rekordy = odczytaj(sciezka());
        ASSERT_EQ(rekordy.size(), 2);
        for (int i = 0; i < pola.size(); ++i) {
            EXPECT_EQ(rekordy[0][i], oczekiwany[i]) << qPrintable(pola[i].nazwa);
            EXPECT_EQ(rekordy[1][i], oczekiwanyPusty[i]) << qPrintable(pola[i].nazwa);
        }
    }
}

// Texts and field names come out right in both of the office's code pages, chosen by the
// language driver, by the header's code page when there is no driver, by the option over both,
// and by the office's usual one when the table says nothing.
TEST_F(TabelaParadoxTest, PolishLettersInBothCodePages)
{
    struct Przypadek
    {
        const char *opis;
        QByteArray kodowanie; // what the table was written in
        QByteArray sterownik;
        int strona;
        int wersja;
        QString wymuszone;
        QByteArray oczekiwane;
    };
    const QList<Przypadek> przypadki{
        {"DOS driver", "IBM 852", "plp852", 852, 12, {}, "IBM 852"},
        {"Windows driver", "windows-1250", "ANPOLISH", 1250, 12, {}, "windows-1250"},
        {"driver over a wrong code page", "windows-1250", "ANSIPOL", 852, 7, {}, "windows-1250"},
        {"code page without a driver", "windows-1250", "", 1250, 10, {}, "windows-1250"},
        {"option over a wrong driver", "windows-1250", "plp852", 852, 12, QStringLiteral("cp1250"),
         "windows-1250"},
        {"Paradox 3 without either", "IBM 852", "", 0, 3, {}, "IBM 852"},
    };
    const QList<PoleWzoru> pola{{QStringLiteral("ŁĄKA"), 'A', 40},
                                {QStringLiteral("ŻÓŁW"), 'M', 5}};
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.opis);
        OpcjeParadoxu opcje;
        opcje.kodowanie = p.kodowanie;
        opcje.sterownik = p.sterownik;
        opcje.stronaKodowa = p.strona;
        opcje.wersja = p.wersja;
        ZapiszTabeleParadox(sciezka(), pola, {{kPolskie, kPolskie + kPolskie}}, opcje);
        TabelaParadox tabela(sciezka(), QStringLiteral("T.DB"), p.wymuszone);
        EXPECT_EQ(tabela.kodowanie().nazwa, p.oczekiwane);
        EXPECT_EQ(tabela.pola()[0].nazwa, QStringLiteral("ŁĄKA"));
        EXPECT_EQ(tabela.pola()[1].nazwa, QStringLiteral("ŻÓŁW"));
        EXPECT_EQ(odczytaj(sciezka(), p.wymuszone),
                  (QList<QStringList>{{QStringLiteral("t:") + kPolskie,
                                       QStringLiteral("t:") + kPolskie + kPolskie}}));
    }
}

// A table over many blocks reads in the chain's order whatever the blocks' places in the file;
// what is left of deleted records after a block's last one, and a block out of the chain, never
// come back.
TEST_F(TabelaParadoxTest, RecordsOverSeveralBlocksInChainOrderWithoutDeletedOnes)
{
    const QList<PoleWzoru> pola{{QStringLiteral("NR"), 'I'}, {QStringLiteral("NAZWA"), 'A', 20}};
    QList<RekordWzoru> rekordy;
    QList<QStringList> oczekiwane;
    for (int i = 1; i <= 250; ++i) {
        rekordy << RekordWzoru{i, QStringLiteral("Rekord %1").arg(i)};
        oczekiwane << QStringList{QStringLiteral("i:%1").arg(i),
                                  QStringLiteral("t:Rekord %1").arg(i)};
    }
    struct Przypadek
    {
        const char *opis;
        int naBlok;
        bool wstecz;
        bool smieci;
        bool wolny;
    };
    for (const Przypadek &p : {Przypadek{"full blocks", 0, false, false, false},
                               Przypadek{"blocks back to front", 7, true, false, false},
                               Przypadek{"deleted records after the last", 9, false, true, false},
                               Przypadek{"a block out of the chain", 11, true, true, true}}) {
        SCOPED_TRACE(p.opis);
        OpcjeParadoxu opcje;
        opcje.kilobajtyBloku = 1;
        opcje.rekordowNaBlok = p.naBlok;
        opcje.odwrocKolejnoscBlokow = p.wstecz;
        opcje.smieciZaRekordami = p.smieci;
        opcje.wolnyBlokZeStarymiRekordami = p.wolny;
        ZapiszTabeleParadox(sciezka(), pola, rekordy, opcje);
        EXPECT_GT(TabelaParadox(sciezka(), QStringLiteral("T.DB")).naglowek().blokiWPliku, 5);
        EXPECT_EQ(odczytaj(sciezka()), oczekiwane);
    }
}

// Memos and blobs in every place they can be: empty, in the record's leader, small ones sharing a
// block of the memo file, and one of its own over several blocks.
TEST_F(TabelaParadoxTest, MemosInEveryStorageForm)
{
    const QList<PoleWzoru> pola{{QStringLiteral("NR"), 'I'},
                                {QStringLiteral("UWAGI"), 'M', 12},
                                {QStringLiteral("ZDJECIE"), 'G', 10}};
    QByteArray obraz(9000, '\0');
    for (int i = 0; i < obraz.size(); ++i)
        obraz[i] = char(i * 7 + 3);
    const QString dluga = kPolskie.repeated(40);
    struct Przypadek
    {
        const char *opis;
        PostacNotatki postac;
    };
    for (const Przypadek &p :
         {Przypadek{"as the engine stores them", PostacNotatki::Samodzielna},
          Przypadek{"each in a block of its own", PostacNotatki::WBlokuWlasnym},
          Przypadek{"small ones sharing blocks", PostacNotatki::WBlokuWspolnym}}) {
        SCOPED_TRACE(p.opis);
        OpcjeParadoxu opcje;
        opcje.notatki = p.postac;
        QList<RekordWzoru> rekordy{{1, QVariant(), QVariant()},
                                   {2, QStringLiteral("w nagłówku"), QByteArray("GIF89a")},
                                   {3, dluga, obraz}};
        QList<QStringList> oczekiwane{
            {QStringLiteral("i:1"), QStringLiteral("-"), QStringLiteral("-")},
            {QStringLiteral("i:2"), QStringLiteral("t:w nagłówku"),
             QStringLiteral("b:") + QString::fromLatin1(QByteArray("GIF89a").toHex())},
            {QStringLiteral("i:3"), QStringLiteral("t:") + dluga,
             QStringLiteral("b:") + QString::fromLatin1(obraz.toHex())}};
        // Enough small ones to fill more than one shared block.
        for (int i = 4; i < 140; ++i) {
            const QString tekst = QStringLiteral("Notatka numer %1: %2").arg(i).arg(kPolskie);
            rekordy << RekordWzoru{i, tekst, QByteArray(i, char(i))};
            oczekiwane << QStringList{QStringLiteral("i:%1").arg(i), QStringLiteral("t:") + tekst,
                                      QStringLiteral("b:") +
                                          QString::fromLatin1(QByteArray(i, char(i)).toHex())};
        }
        ZapiszTabeleParadox(sciezka(), pola, rekordy, opcje);
        EXPECT_EQ(odczytaj(sciezka()), oczekiwane);
    }
}

// A damaged file is refused with a message naming the table and what is wrong: never a crash,
// a hang or a record made up.
TEST_F(TabelaParadoxTest, DamagedFilesAreRefusedSayingWhatIsWrong)
{
    const QList<PoleWzoru> pola{{QStringLiteral("NR"), 'I'}, {QStringLiteral("UWAGI"), 'M', 10}};
    QList<RekordWzoru> rekordy;
    for (int i = 1; i <= 60; ++i)
        rekordy << RekordWzoru{i, QStringLiteral("Notatka dłuższa niż nagłówek, numer %1").arg(i)};
    OpcjeParadoxu opcje;
    opcje.kilobajtyBloku = 1;
    opcje.rekordowNaBlok = 10;
    const int naglowek = 0x800;
    const int blok = 1024;
    auto le16 = [](QByteArray &b, int at, int v) {
        b[at] = char(v & 0xFF);
        b[at + 1] = char((v >> 8) & 0xFF);
    };
    struct Przypadek
    {
        const char *opis;
        std::function<void(QByteArray &db, QByteArray &mb)> usterka;
        QString oczekiwany;
    };
    const QList<Przypadek> przypadki{
        {"cut short", [&](QByteArray &db, QByteArray &) { db.truncate(db.size() - 100); },
         QStringLiteral("plik jest obcięty")},
        {"cut inside the header", [&](QByteArray &db, QByteArray &) { db.truncate(0x40); },
         QStringLiteral("błędny nagłówek")},
        {"a block outside the file",
         [&](QByteArray &db, QByteArray &) { le16(db, naglowek + 2 * blok, 77); },
         QStringLiteral("spoza pliku")},
        {"a chain that loops",
         [&](QByteArray &db, QByteArray &) { le16(db, naglowek + 2 * blok, 2); },
         QStringLiteral("drugi raz")},
        {"a block pointing back wrong",
         [&](QByteArray &db, QByteArray &) { le16(db, naglowek + 3 * blok + 2, 1); },
         QStringLiteral("wstecz")},
        {"a record count the chain does not hold",
         [&](QByteArray &db, QByteArray &) { le16(db, 0x06, 61); },
         QStringLiteral("łańcuch bloków zawiera 60")},
        {"a block claiming too many records",
         [&](QByteArray &db, QByteArray &) { le16(db, naglowek + 4, 1000); },
         QStringLiteral("ostatniego rekordu")},
        {"an unknown version", [&](QByteArray &db, QByteArray &) { db[0x39] = 42; },
         QStringLiteral("nieznana wersja")},
        {"a record size the fields do not fill",
         [&](QByteArray &db, QByteArray &) { le16(db, 0, 30); }, QStringLiteral("pola zajmują")},
        {"an unknown field type", [&](QByteArray &db, QByteArray &) { db[0x78] = 0x33; },
         QStringLiteral("nieznanego typu")},
        {"an encrypted table", [&](QByteArray &db, QByteArray &) { db[0x25] = 1; },
         QStringLiteral("zaszyfrowana")},
        {"an index file in the table's place", [&](QByteArray &db, QByteArray &) { db[0x04] = 1; },
         QStringLiteral("lecz plik indeksu")},
        {"a memo pointing outside its file",
         [&](QByteArray &, QByteArray &mb) { mb.truncate(4096); }, QStringLiteral("poza plikiem")},
        {"a memo pointing at the wrong kind of block",
         [&](QByteArray &, QByteArray &mb) { mb[4096] = 4; }, QStringLiteral("nie jest blokiem")},
        {"a memo file without its header", [&](QByteArray &, QByteArray &mb) { mb[0] = 7; },
         QStringLiteral("błędny nagłówek")},
        {"a memo file missing", [&](QByteArray &, QByteArray &mb) { mb.clear(); },
         QStringLiteral("brak pliku notatek")},
    };
    ZapiszTabeleParadox(sciezka(), pola, rekordy, opcje);
    QFile db(sciezka()), mb(sciezka(QStringLiteral("T.MB")));
    ASSERT_TRUE(db.open(QIODevice::ReadOnly) && mb.open(QIODevice::ReadOnly));
    const QByteArray dobraDb = db.readAll(), dobraMb = mb.readAll();
    db.close();
    mb.close();
    ASSERT_EQ(odczytaj(sciezka()).size(), 60);
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.opis);
        QByteArray zlaDb = dobraDb, zlaMb = dobraMb;
        p.usterka(zlaDb, zlaMb);
        QFile d(sciezka()), m(sciezka(QStringLiteral("T.MB")));
        ASSERT_TRUE(d.open(QIODevice::WriteOnly | QIODevice::Truncate));
        d.write(zlaDb);
        d.close();
        if (zlaMb.isEmpty()) {
            QFile::remove(sciezka(QStringLiteral("T.MB")));
        } else {
            ASSERT_TRUE(m.open(QIODevice::WriteOnly | QIODevice::Truncate));
            m.write(zlaMb);
            m.close();
        }
        const QString komunikat = bladOdczytu(sciezka());
        EXPECT_TRUE(komunikat.startsWith(QStringLiteral("T.DB"))) << qPrintable(komunikat);
        EXPECT_TRUE(komunikat.contains(p.oczekiwany)) << qPrintable(komunikat);
    }
}

// A table of ours and other files are told apart from a table of the old format.
TEST_F(TabelaParadoxTest, RecognisesOnlyTablesOfTheOldFormat)
{
    ZapiszTabeleParadox(sciezka(), {{QStringLiteral("NR"), 'I'}}, {{1}});
    EXPECT_TRUE(JestTabelaParadox(sciezka()));
    // A header longer than a block: many fields with long names.
    QList<PoleWzoru> wiele;
    for (int i = 0; i < 200; ++i)
        wiele << PoleWzoru{QStringLiteral("POLE_O_DLUGIEJ_NAZWIE_%1").arg(i), 'A', 1};
    ZapiszTabeleParadox(sciezka(QStringLiteral("W.DB")), wiele, {});
    ASSERT_GT(TabelaParadox(sciezka(QStringLiteral("W.DB")), QStringLiteral("W.DB"))
                  .naglowek()
                  .rozmiarNaglowka,
              0x1000);
    EXPECT_TRUE(JestTabelaParadox(sciezka(QStringLiteral("W.DB"))));
    QFile inny(sciezka(QStringLiteral("X.DB")));
    ASSERT_TRUE(inny.open(QIODevice::WriteOnly));
    inny.write(QByteArray("SQLite format 3\0", 16) + QByteArray(200, '\0'));
    inny.close();
    EXPECT_FALSE(JestTabelaParadox(sciezka(QStringLiteral("X.DB"))));
    EXPECT_FALSE(JestTabelaParadox(sciezka(QStringLiteral("BRAK.DB"))));
    EXPECT_FALSE(JestTabelaParadox(m_katalog.path()));
}

} // namespace
} // namespace rawen::test
