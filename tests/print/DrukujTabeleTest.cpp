#include "data/WartosciProgramu.h"
#include "platform/EngineError.h"
#include "platform/Registry.h"
#include "print/Siatka.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "support/PrintFakes.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace rawen::test {
namespace {

// A data set of display texts; bookmarks are record numbers from 1.
class FakeZbior final : public ZbiorDanych
{
public:
    QStringList pola;
    QList<QStringList> rekordy;
    qsizetype pozycja = -1;
    int wylaczone = 0;   // screen updates disabled and not enabled again
    int wylaczenia = 0;  // times they were disabled
    int psujPrzy = 0;    // the record (from 1) whose reading raises; 0 for none
    QList<qint64> drogi; // bookmarks the walk moved to

    qint64 liczbaRekordow() override { return rekordy.size(); }
    void wylaczKontrolki() override
    {
        ++wylaczone;
        ++wylaczenia;
    }
    void wlaczKontrolki() override { --wylaczone; }
    void pierwszy() override { pozycja = 0; }
    void nastepny() override { ++pozycja; }
    bool koniec() override { return pozycja >= rekordy.size(); }
    void przejdzDo(qint64 zakladka) override
    {
        if (zakladka < 1 || zakladka > rekordy.size())
            throw EngineError(EngineError::BadState,
                              QStringLiteral("TEST.DB: rekord nie istnieje"));
        drogi << zakladka;
        pozycja = zakladka - 1;
    }
    int indeksPola(const QString &nazwa) override { return int(pola.indexOf(nazwa)); }
    QString tekstPola(int indeks) override
    {
        if (psujPrzy && pozycja + 1 == psujPrzy)
            throw EngineError(EngineError::Damaged, QStringLiteral("TEST.DB: plik uszkodzony"));
        return rekordy.at(pozycja).at(indeks);
    }
    bool liczbaPola(int indeks, double &liczba) override
    {
        bool ok = false;
        liczba = QString(rekordy.at(pozycja).at(indeks)).replace(u',', u'.').toDouble(&ok);
        return ok;
    }
};

class FakeSiatka final : public Siatka
{
public:
    FakeZbior zbior;
    QList<KolumnaSiatki> opisy;
    QList<qint64> zaznaczone;

    ZbiorDanych &zbiorDanych() override { return zbior; }
    QList<KolumnaSiatki> kolumny() override { return opisy; }
    QList<qint64> zaznaczoneWiersze() override { return zaznaczone; }
};

KolumnaSiatki kolumna(const QString &pole, int znaki, int wyrownanie = KolumnaSiatki::DoLewej,
                      const QString &grupa = {})
{
    KolumnaSiatki k;
    k.pole = pole;
    k.tytul = pole.left(1) + pole.mid(1).toLower();
    k.szerokosc = znaki * 6;
    k.wyrownanie = wyrownanie;
    k.grupa = grupa;
    return k;
}

const QString kRegula(QStringLiteral("="));

class DrukujTabeleTest : public testing::Test
{
protected:
    DrukujTabeleTest()
    {
        Registry::redirectTo(m_dir.path());
        m_wartosci.uzytkownik = QStringLiteral("Biuro");
        m_wartosci.tytul = QStringLiteral("RAWEN 2.0");
        m_wartosci.dataStartu = QStringLiteral("2024.03.15");
        m_ustawienia.DRLINIDOS = 70;
        m_siatka.zbior.pola = {QStringLiteral("NAZWA"), QStringLiteral("KWOTA"),
                               QStringLiteral("MIASTO")};
        m_siatka.zbior.rekordy = {
            {QStringLiteral("Kowalski"), QStringLiteral("1,5"), QStringLiteral("Tarnów")},
            {QStringLiteral("Nowak"), QStringLiteral("2,25"), QStringLiteral("Kraków")}};
    }
    ~DrukujTabeleTest() override { Registry::redirectTo(QString()); }

    // The lines of the table: the buffer without the two header lines and the closing line.
    QStringList tabela() const
    {
        QStringList linie = m_okno.bufor.mid(2);
        if (!linie.isEmpty() &&
            linie.back().startsWith(QStringLiteral("&GKelmar - Koniec wydruku: ")))
            linie.removeLast();
        return linie;
    }

    QByteArray plik(const QString &nazwa) const
    {
        QFile f(m_dir.filePath(nazwa));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<brak>");
    }

    QTemporaryDir m_dir;
    ScriptedMessageBoxes m_boxes;
    ScriptedFileDialogs m_dialogs;
    UstawieniaDruku m_ustawienia;
    WartosciProgramu m_wartosci;
    FakeOknoWydruku m_okno;
    FakeOknoPostepu m_postep;
    RecordingDrukarka m_drukarka;
    Wydruk m_wydruk{m_ustawienia, m_wartosci, m_okno, m_postep, m_drukarka};
    FakeSiatka m_siatka;
};

// ---- The standard grid ------------------------------------------------------------------------

TEST_F(DrukujTabeleTest, TheStandardGridPrintsEveryColumnAsItsWidthSays)
{
    auto px = [](const QString &pole, int piksele) {
        KolumnaSiatki k;
        k.pole = pole;
        k.tytul = pole.left(1) + pole.mid(1).toLower();
        k.szerokosc = piksele;
        return k;
    };
    const struct
    {
        const char *name;
        QList<KolumnaSiatki> kolumny;
        QStringList oczekiwane; // rule, titles, separator, the two rows
    } cases[] = {
        {"64 and 120 pixels: 10 and 20 characters",
         {px("NAZWA", 64), px("KWOTA", 120)},
         {QString(33, u'='), "|Nazwa     |Kwota               |",
          "|----------|--------------------|", "|Kowalski  |1,5                 |",
          "|Nowak     |2,25                |"}},
        {"a hidden column is a lone |, its field never read",
         {px("NAZWA", 64), px("NIEMA", -1), px("MIASTO", 30)},
         {QString(19, u'='), "|Nazwa     ||Miast|", "|----------||-----|", "|Kowalski  ||Tarnó|",
          "|Nowak     ||Krakó|"}},
        {"a column under 6 pixels prints empty, one over 255 characters is cut to 255",
         {px("NAZWA", 5), px("KWOTA", 6 * 300)},
         {QString(1 + 1 + 256, u'='), "||Kwota" + QString(250, u' ') + "|",
          "||" + QString(255, u'-') + "|", "||1,5" + QString(252, u' ') + "|",
          "||2,25" + QString(251, u' ') + "|"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        m_siatka.opisy = c.kolumny;
        m_okno.bufor.clear();
        const int pokazania = m_okno.pokazania;
        ASSERT_TRUE(
            m_wydruk.DrukujTabele(m_siatka, QStringLiteral("Lista"), QStringLiteral("X"), 5));
        QStringList oczekiwane = c.oczekiwane;
        oczekiwane << c.oczekiwane.first();
        EXPECT_EQ(tabela(), oczekiwane);
        EXPECT_EQ(m_okno.bufor.back(), u"&GKelmar - Koniec wydruku: Lista");
        EXPECT_EQ(m_okno.bufor.value(1), u"&GWydruk : Lista");
        // The heading lines start every page; the sum list and heading count are not used.
        EXPECT_EQ(m_wydruk.IleNaglowkow(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(m_wydruk.WierszeNaglowka[i + 1], c.oczekiwane[i]);
        EXPECT_EQ(m_postep.razem, 2);
        EXPECT_EQ(m_postep.kroki, 2);
        EXPECT_EQ(m_okno.pokazania, pokazania + 1);
        for (const QString &linia : tabela())
            EXPECT_EQ(linia.size(), c.oczekiwane.first().size()) << linia.toStdString();
    }
    EXPECT_EQ(m_siatka.zbior.wylaczone, 0);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

TEST_F(DrukujTabeleTest, TheStandardGridPrintsTheFirstFiftyOfSixtyColumns)
{
    m_siatka.zbior.pola.clear();
    m_siatka.zbior.rekordy = {{}};
    for (int i = 1; i <= 60; ++i) {
        m_siatka.zbior.pola << QStringLiteral("P%1").arg(i);
        m_siatka.zbior.rekordy[0] << QString::number(i);
        m_siatka.opisy << kolumna(QStringLiteral("P%1").arg(i), 2);
    }
    ASSERT_TRUE(m_wydruk.DrukujTabele(m_siatka, QStringLiteral("Szeroka")));
    const QStringList linie = tabela();
    ASSERT_EQ(linie.size(), 5);
    EXPECT_EQ(linie[0].size(), 1 + 50 * 3);
    EXPECT_EQ(linie[1].count(u'|'), 51);
    EXPECT_TRUE(linie[3].endsWith(QStringLiteral("|49|50|"))) << linie[3].toStdString();
}

// ---- The extended grid ------------------------------------------------------------------------

TEST_F(DrukujTabeleTest, NumberingAndTotalsFollowTheSumList)
{
    const QString rule(21, u'='); // 1 + 11 + 9
    const QString rulePL = QStringLiteral("=====") + rule;
    const QString naglowek = QStringLiteral("|  Nazwa   | Kwota  |");
    const QString oddzielenie = QStringLiteral("|----------|--------|");
    const struct
    {
        const char *name;
        QList<KolumnaSiatki> kolumny;
        QString sumy;
        QStringList oczekiwane;
    } cases[] = {
        {"LP: numbered rows, no totals",
         {kolumna("NAZWA", 10), kolumna("KWOTA", 8, KolumnaSiatki::DoPrawej)},
         "LP",
         {rulePL, "| LP |  Nazwa   | Kwota  |", "|----|----------|--------|",
          "|   1|Kowalski  |     1,5|", "|   2|Nowak     |    2,25|", rulePL}},
        {"empty: neither",
         {kolumna("NAZWA", 10), kolumna("KWOTA", 8, KolumnaSiatki::DoPrawej)},
         "",
         {rule, naglowek, oddzielenie, "|Kowalski  |     1,5|", "|Nowak     |    2,25|", rule}},
        {"a total: 1.5 + 2.25 with the label in the first unsummed column of 7 or more",
         {kolumna("NAZWA", 10), kolumna("KWOTA", 8, KolumnaSiatki::DoPrawej)},
         "KWOTA",
         {rule, naglowek, oddzielenie, "|Kowalski  |     1,5|", "|Nowak     |    2,25|", rule,
          "|RAZEM :   |    3.75|", rule}},
        {"the label in a column exactly as wide as it",
         {kolumna("NAZWA", 7), kolumna("KWOTA", 8, KolumnaSiatki::DoPrawej)},
         "KWOTA",
         {"==================", "| Nazwa | Kwota  |", "|-------|--------|", "|Kowalsk|     1,5|",
          "|Nowak  |    2,25|", "==================", "|RAZEM :|    3.75|", "=================="}},
        {"numbered and totalled, the list already closed",
         {kolumna("NAZWA", 10), kolumna("KWOTA", 8, KolumnaSiatki::DoPrawej)},
         "LP;KWOTA;",
         {rulePL, "| LP |  Nazwa   | Kwota  |", "|----|----------|--------|",
          "|   1|Kowalski  |     1,5|", "|   2|Nowak     |    2,25|", rulePL,
          "|    |RAZEM :   |    3.75|", rulePL}},
        {"the label right of the total, past a column too narrow for it",
         {kolumna("KWOTA", 8), kolumna("MIASTO", 6), kolumna("NAZWA", 10)},
         "KWOTA",
         {"============================", "| Kwota  |Miasto|  Nazwa   |",
          "|--------|------|----------|", "|1,5     |Tarnów|Kowalski  |",
          "|2,25    |Kraków|Nowak     |", "============================",
          "|3.75    |      |RAZEM :   |", "============================"}},
        {"no column for the label",
         {kolumna("KWOTA", 8, KolumnaSiatki::DoPrawej), kolumna("MIASTO", 6)},
         "KWOTA",
         {"=================", "| Kwota  |Miasto|", "|--------|------|", "|     1,5|Tarnów|",
          "|    2,25|Kraków|", "=================", "|    3.75|      |", "================="}},
        {"a field not printed is not totalled; LP inside the list numbers nothing",
         {kolumna("NAZWA", 10), kolumna("KWOTA", 8, KolumnaSiatki::DoPrawej)},
         "MIASTO;LP",
         {rule, naglowek, oddzielenie, "|Kowalski  |     1,5|", "|Nowak     |    2,25|", rule}},
        {"centred values, hidden and empty-field columns left out",
         [] {
             KolumnaSiatki ukryta = kolumna("MIASTO", 6);
             ukryta.widoczna = false;
             KolumnaSiatki bezPola = kolumna("", 6);
             return QList<KolumnaSiatki>{kolumna("NAZWA", 10, KolumnaSiatki::DoSrodka), ukryta,
                                         bezPola, kolumna("KWOTA", 0)};
         }(),
         "",
         {"============", "|  Nazwa   |", "|----------|", "| Kowalski |", "|  Nowak   |",
          "============"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        m_siatka.opisy = c.kolumny;
        m_okno.bufor.clear();
        ASSERT_TRUE(m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("Zestawienie"), c.sumy, 0));
        EXPECT_EQ(tabela(), c.oczekiwane);
        EXPECT_EQ(m_wydruk.IleNaglowkow(), 3);
        EXPECT_EQ(m_wydruk.WierszeNaglowka[1], c.oczekiwane[0]);
        EXPECT_EQ(m_wydruk.WierszeNaglowka[3], c.oczekiwane[2]);
    }
    EXPECT_EQ(m_siatka.zbior.wylaczone, 0);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

TEST_F(DrukujTabeleTest, AGroupCellSpansItsColumnsAndTheBarsBetween)
{
    const struct
    {
        const char *name;
        QStringList grupy;
        QString wierszGrup; // empty: no group line
    } cases[] = {
        {"A, A and empty", {"A", "A", ""}, "|         A         |      |"},
        {"empty, A, A", {"", "A", "A"}, "|          |       A       |"},
        {"A, B and A again", {"A", "B", "A"}, "|    A     |   B    |  A   |"},
        {"a caption longer than its span is cut",
         {"Kwoty sprzedaży", "", ""},
         "|Kwoty sprz|        |      |"},
        {"no group at all", {"", "", ""}, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        m_siatka.opisy = {kolumna("NAZWA", 10, KolumnaSiatki::DoLewej, c.grupy[0]),
                          kolumna("KWOTA", 8, KolumnaSiatki::DoLewej, c.grupy[1]),
                          kolumna("MIASTO", 6, KolumnaSiatki::DoLewej, c.grupy[2])};
        m_okno.bufor.clear();
        m_wydruk.WierszeNaglowka[1] = QStringLiteral("Kontrahenci firmy");
        m_wydruk.WierszeNaglowka[2] = QStringLiteral("stan na dzień 2024.03.15");
        ASSERT_TRUE(m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("T"), QString(), 0x102));
        const QString rule(28, u'=');
        QStringList oczekiwane{QStringLiteral("Kontrahenci firmy"),
                               QStringLiteral("stan na dzień 2024.03.15"), rule};
        if (!c.wierszGrup.isEmpty())
            oczekiwane << c.wierszGrup;
        oczekiwane << QStringLiteral("|  Nazwa   | Kwota  |Miasto|")
                   << QStringLiteral("|----------|--------|------|");
        EXPECT_EQ(tabela().mid(0, oczekiwane.size()), oczekiwane);
        // The low byte of the count is taken: two caller lines and the table's own.
        EXPECT_EQ(m_wydruk.IleNaglowkow(), oczekiwane.size());
        for (qsizetype i = 0; i < oczekiwane.size(); ++i)
            EXPECT_EQ(m_wydruk.WierszeNaglowka[i + 1], oczekiwane[i]);
        for (const QString &linia : tabela().mid(2))
            EXPECT_EQ(linia.size(), rule.size()) << linia.toStdString();
    }
}

TEST_F(DrukujTabeleTest, TheSelectedRowsAlonePrintInTheirOrder)
{
    m_siatka.zbior.pola = {QStringLiteral("NR")};
    m_siatka.zbior.rekordy.clear();
    for (int i = 1; i <= 10; ++i)
        m_siatka.zbior.rekordy << QStringList{QString::number(i)};
    m_siatka.opisy = {kolumna("NR", 4, KolumnaSiatki::DoPrawej)};
    const struct
    {
        QList<qint64> zaznaczone;
        int razem;
        QStringList wiersze;
    } cases[] = {
        {{7, 3}, 2, {"|   7|", "|   3|"}},
        {{},
         10,
         {"|   1|", "|   2|", "|   3|", "|   4|", "|   5|", "|   6|", "|   7|", "|   8|", "|   9|",
          "|  10|"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.razem);
        m_siatka.zaznaczone = c.zaznaczone;
        m_siatka.zbior.drogi.clear();
        m_okno.bufor.clear();
        ASSERT_TRUE(m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("T"), QString(), 0));
        EXPECT_EQ(tabela().mid(3, c.wiersze.size()), c.wiersze);
        EXPECT_EQ(tabela().size(), 3 + c.wiersze.size() + 1);
        EXPECT_EQ(m_postep.razem, c.razem);
        EXPECT_EQ(m_postep.kroki, c.razem);
        // As vectors: Qt compares two empty lists of numbers through a null pointer.
        EXPECT_EQ(std::vector<qint64>(m_siatka.zbior.drogi.begin(), m_siatka.zbior.drogi.end()),
                  std::vector<qint64>(c.zaznaczone.begin(), c.zaznaczone.end()));
    }
}

// ---- The job around the table -----------------------------------------------------------------

TEST_F(DrukujTabeleTest, EveryPageStartsWithTheCallersAndTheTablesHeadingLines)
{
    QFile::remove(m_dir.filePath(QStringLiteral("lpt1")));
    QFile ini(m_dir.filePath(QStringLiteral("DRUK.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[General]\nLPT1=" + QFile::encodeName(m_dir.filePath(QStringLiteral("lpt1"))) +
              "\n");
    ini.close();
    m_ustawienia.DRTYP = 1;
    m_ustawienia.DRPL = 3;
    m_ustawienia.DRBUFOR = true;
    m_ustawienia.DRLINIDOS = 12;
    m_siatka.zbior.rekordy.clear();
    for (int i = 1; i <= 10; ++i)
        m_siatka.zbior.rekordy << QStringList{QStringLiteral("Firma %1").arg(i), QString::number(i),
                                              QStringLiteral("Tarnów")};
    m_siatka.opisy = {kolumna("NAZWA", 10, KolumnaSiatki::DoLewej, "Kontrahent"),
                      kolumna("MIASTO", 6, KolumnaSiatki::DoLewej, "Kontrahent"),
                      kolumna("KWOTA", 8, KolumnaSiatki::DoPrawej)};
    m_wydruk.WierszeNaglowka[1] = QStringLiteral("Zestawienie roczne");
    ASSERT_TRUE(
        m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("Roczne"), QStringLiteral("LP"), 1));

    QList<QStringList> strony;
    for (const QByteArray &strona : plik(QStringLiteral("lpt1")).split('\x0C')) {
        QStringList linie;
        for (QByteArray linia : strona.split('\n')) {
            if (linia.endsWith('\r'))
                linia.chop(1);
            // Each line: normal width for the margin, then the density.
            if (linia.startsWith("\x14\x12"))
                linie << QString::fromLatin1(linia.mid(3));
        }
        strony << linie;
    }
    const QStringList naglowki{QStringLiteral("Zestawienie roczne"),
                               QStringLiteral("================================="),
                               QStringLiteral("|    |   Kontrahent    |        |"),
                               QStringLiteral("| LP |  Nazwa   |Miasto| Kwota  |"),
                               QStringLiteral("|----|----------|------|--------|")};
    ASSERT_EQ(strony.size(), 3); // the last form feed ends the job
    // A full page holds 13 lines: the header, the heading lines and six rows.
    ASSERT_EQ(strony[0].size(), 13);
    EXPECT_EQ(strony[0].mid(2, 5), naglowki);
    EXPECT_EQ(strony[0].back(), QStringLiteral("|   6|Firma 6   |Tarn\xF3w|       6|"));
    EXPECT_TRUE(strony[1][0].endsWith(QStringLiteral(" Strona : 2"))) << strony[1][0].toStdString();
    EXPECT_EQ(strony[1][1], QStringLiteral("Wydruk : Roczne"));
    EXPECT_EQ(strony[1].mid(2, 5), naglowki);
    EXPECT_EQ(strony[1][7], QStringLiteral("|   7|Firma 7   |Tarn\xF3w|       7|"));
    EXPECT_EQ(strony[1].back(), QStringLiteral("Kelmar - Koniec wydruku: Roczne"));
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// The export with cutting leaves out the rules and separators but keeps every row, one whose
// first cell holds a negative amount too.
TEST_F(DrukujTabeleTest, TheExportWithCuttingKeepsEveryRowOfTheTable)
{
    m_siatka.zbior.rekordy = {{QStringLiteral("-12,50"), QStringLiteral("Zwrot")},
                              {QStringLiteral("100"), QStringLiteral("Sprzedaż")},
                              {QStringLiteral("-"), QStringLiteral("brak")},
                              {QStringLiteral("-0,01"), QStringLiteral("")}};
    m_siatka.zbior.pola = {QStringLiteral("KWOTA"), QStringLiteral("OPIS")};
    m_siatka.opisy = {kolumna("KWOTA", 7), kolumna("OPIS", 10)};
    m_ustawienia.DRPL = 3;
    m_ustawienia.DRBUFOR = true;
    const struct
    {
        quint8 DRTYP;
        QByteArray oczekiwane;
    } cases[] = {
        {2, "| Kwota |   Opis   |\r\n"
            "|-12,50 |Zwrot     |\r\n"
            "|100    |Sprzeda\xBF  |\r\n"
            "|-      |brak      |\r\n"
            "|-0,01  |          |\r\n"
            "|87.49  |RAZEM :   |\r\n"
            "Kelmar - Koniec wydruku: Kwoty\r\n"},
        {3, "\r\n\r\n"
            "====================\r\n"
            "| Kwota |   Opis   |\r\n"
            "|-------|----------|\r\n"
            "|-12,50 |Zwrot     |\r\n"
            "|100    |Sprzeda\xBF  |\r\n"
            "|-      |brak      |\r\n"
            "|-0,01  |          |\r\n"
            "====================\r\n"
            "|87.49  |RAZEM :   |\r\n"
            "====================\r\n"
            "Kelmar - Koniec wydruku: Kwoty\r\n"},
    };
    for (const auto &c : cases) {
        m_ustawienia.DRTYP = c.DRTYP;
        m_dialogs.answerNext(m_dir.filePath(QStringLiteral("eksport.txt")));
        ASSERT_TRUE(
            m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("Kwoty"), QStringLiteral("KWOTA"), 0));
        EXPECT_EQ(plik(QStringLiteral("eksport.txt")), c.oczekiwane) << int(c.DRTYP);
    }
}

TEST_F(DrukujTabeleTest, ATableThatCannotPrintIsRefusedBeforeItsJob)
{
    const struct
    {
        const char *name;
        bool rozszerzona;
        QList<KolumnaSiatki> kolumny;
        int naglowki;
        QString komunikat;
    } cases[] = {
        {"a column naming a field the data lacks",
         true,
         {kolumna("NAZWA", 10), kolumna("RABAT", 6)},
         0,
         "Kolumna „Rabat” wskazuje pole RABAT, którego dane nie mają.\rTabela nie została "
         "wydrukowana."},
        {"the same in a standard grid",
         false,
         {kolumna("RABAT", 6)},
         0,
         "Kolumna „Rabat” wskazuje pole RABAT, którego dane nie mają.\rTabela nie została "
         "wydrukowana."},
        {"a standard grid's column without a field",
         false,
         {kolumna("", 6)},
         0,
         "Kolumna „” nie wskazuje pola danych.\rTabela nie została wydrukowana."},
        {"more caller heading lines than the pages can repeat",
         true,
         {kolumna("NAZWA", 10, KolumnaSiatki::DoLewej, "A")},
         8,
         "Tabela z wierszem grup przyjmuje najwyżej 7 wierszy nagłówka, bez niego 8, a podano "
         "8.\rTabela nie została wydrukowana."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessageBoxes boxes;
        m_siatka.opisy = c.kolumny;
        m_okno.bufor = QStringList{QStringLiteral("poprzedni wydruk")};
        const bool wydrukowana =
            c.rozszerzona
                ? m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("T"), QString(), c.naglowki)
                : m_wydruk.DrukujTabele(m_siatka, QStringLiteral("T"));
        EXPECT_FALSE(wydrukowana);
        EXPECT_TRUE(m_wydruk.przerwany());
        EXPECT_EQ(boxes.texts(), QStringList{c.komunikat});
        EXPECT_EQ(m_okno.bufor, QStringList{QStringLiteral("poprzedni wydruk")});
        EXPECT_FALSE(m_postep.widoczne);
        EXPECT_EQ(m_siatka.zbior.wylaczenia, 0);
    }
    // Seven caller lines and a group line still fit.
    m_siatka.opisy = {kolumna("NAZWA", 10, KolumnaSiatki::DoLewej, "A")};
    EXPECT_TRUE(m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("T"), QString(), 7));
    EXPECT_EQ(m_wydruk.IleNaglowkow(), 11);
}

TEST_F(DrukujTabeleTest, AnEmptyDataSetPrintsNothing)
{
    m_siatka.zbior.rekordy.clear();
    m_siatka.opisy = {kolumna("BRAK", 10)};
    EXPECT_TRUE(m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("T"), QString(), 0));
    EXPECT_TRUE(m_wydruk.DrukujTabele(m_siatka, QStringLiteral("T")));
    EXPECT_TRUE(m_okno.bufor.isEmpty());
    EXPECT_EQ(m_okno.pokazania, 0);
    EXPECT_EQ(m_siatka.zbior.wylaczenia, 0);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// A record gone from under a selection, or a table that fails during the walk, ends the job: no
// half of a table is shown or written, and the grid's controls work again.
TEST_F(DrukujTabeleTest, ADataSetThatFailsDuringTheWalkEndsTheJob)
{
    m_siatka.opisy = {kolumna("NAZWA", 10), kolumna("KWOTA", 8)};
    const struct
    {
        const char *name;
        std::function<void()> przygotuj;
        QString komunikat;
    } cases[] = {
        {"a selected record that is gone",
         [this] {
             m_siatka.zaznaczone = {1, 5};
         },
         "TEST.DB: rekord nie istnieje\rWydruk tabeli przerwany."},
        {"a damaged table",
         [this] {
             m_siatka.zaznaczone.clear();
             m_siatka.zbior.psujPrzy = 2;
         },
         "TEST.DB: plik uszkodzony\rWydruk tabeli przerwany."},
    };
    for (bool bezBufora : {false, true}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(c.name);
            ScriptedMessageBoxes boxes;
            c.przygotuj();
            m_ustawienia.DRBUFOR = bezBufora;
            m_ustawienia.DRTYP = 3;
            QFile wczesniejszy(m_dir.filePath(QStringLiteral("eksport.txt")));
            ASSERT_TRUE(wczesniejszy.open(QIODevice::WriteOnly | QIODevice::Truncate));
            wczesniejszy.write("wcześniej\r\n");
            wczesniejszy.close();
            if (bezBufora)
                m_dialogs.answerNext(wczesniejszy.fileName());
            m_wydruk.DrukujOdRazu = true;
            const int pokazania = m_okno.pokazania;
            EXPECT_FALSE(m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("T"), QString(), 0));
            EXPECT_EQ(boxes.texts(), QStringList{c.komunikat});
            EXPECT_TRUE(m_wydruk.przerwany());
            EXPECT_FALSE(m_wydruk.DrukujOdRazu);
            EXPECT_EQ(m_okno.pokazania, pokazania);
            EXPECT_FALSE(m_postep.widoczne);
            EXPECT_EQ(m_siatka.zbior.wylaczone, 0);
            EXPECT_EQ(plik(QStringLiteral("eksport.txt")), "wcześniej\r\n");
        }
        m_siatka.zbior.psujPrzy = 0;
    }
}

TEST_F(DrukujTabeleTest, ALineBreakInsideAValueKeepsTheRowOnOneLine)
{
    m_siatka.zbior.rekordy = {
        {QStringLiteral("ul. Długa\r\n5\tlok. 2"), QStringLiteral("1"), QString()}};
    m_siatka.opisy = {kolumna("NAZWA", 20)};
    ASSERT_TRUE(m_wydruk.DrukujTabeleX(m_siatka, QStringLiteral("T"), QString(), 0));
    EXPECT_EQ(tabela().value(3), QStringLiteral("|ul. Długa  5 lok. 2 |"));
}

} // namespace
} // namespace rawen::test
