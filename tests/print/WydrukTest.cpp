#include "print/Wydruk.h"

#include "data/WartosciProgramu.h"
#include "platform/FaultPoint.h"
#include "platform/Registry.h"
#include "platform/Windows1250.h"
#include "print/UstawieniaDruku.h"
#include "support/PrintFakes.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace rawen::test {
namespace {

using Icon = MessageBoxes::Icon;

QByteArray hex(const QByteArray &bytes)
{
    return bytes.toHex(' ');
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A stream of the DOS or text channels cut into its lines (without CR LF).
QList<QByteArray> lines(const QByteArray &stream)
{
    QList<QByteArray> result = stream.split('\n');
    if (!result.isEmpty() && result.back().isEmpty())
        result.removeLast();
    for (QByteArray &line : result) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return result;
}

const QByteArray kNormal("\x14\x12");

// A DOS line as the port gets it: normal width for the margin, then the density and the text.
QByteArray dosLine(const QByteArray &density, const QString &text, int margin = 0)
{
    return kNormal + QByteArray(margin, ' ') + density + toWindows1250(text);
}

class WydrukTest : public testing::Test
{
protected:
    WydrukTest()
    {
        Registry::redirectTo(m_dir.path());
        storeRegistry("LPT1=" + QFile::encodeName(portPath()) + "\nLPT2=" +
                      QFile::encodeName(m_dir.filePath(QStringLiteral("brak/lpt2"))) + "\n");
        m_wartosci.uzytkownik = QStringLiteral("Biuro Rachunkowe");
        m_wartosci.tytul = QStringLiteral("RAWEN 2.0");
        m_wartosci.dataStartu = QStringLiteral("2024.03.15");
        m_ustawienia.DRLINIDOS = 70;
    }
    ~WydrukTest() override { Registry::redirectTo(QString()); }

    void storeRegistry(const QByteArray &values)
    {
        QFile file(m_dir.filePath(QStringLiteral("DRUK.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[General]\n" + values);
    }

    QString portPath() const { return m_dir.filePath(QStringLiteral("lpt1")); }
    QByteArray port() const { return contents(portPath()); }
    QString exportPath() const { return m_dir.filePath(QStringLiteral("eksport.txt")); }
    QString tablePath() const { return m_dir.filePath(QStringLiteral("TABELA.DB")); }

    // An unbuffered job without page header: every line goes straight to the channel.
    void straightJob(const QStringList &jobLines, bool closingLine = false)
    {
        m_ustawienia.DRBUFOR = true;
        m_wydruk.NowyWydruk(QStringLiteral("Test"), false, 0, 0, false);
        for (const QString &line : jobLines)
            m_wydruk.DrukujWiersz(line);
        m_wydruk.ZakonczWydruk(closingLine);
    }

    // A report with a page header and two heading lines, as a table would print it.
    void report(int dataLines, const QString &title = QStringLiteral("Zestawienie"))
    {
        m_wydruk.WierszeNaglowka[1] = QStringLiteral("=====================");
        m_wydruk.WierszeNaglowka[2] = QStringLiteral("| Nazwa    | Kwota  |");
        m_wydruk.NowyWydruk(title, false, dataLines, 2, true);
        m_wydruk.DrukujWiersz(m_wydruk.WierszeNaglowka[1]);
        m_wydruk.DrukujWiersz(m_wydruk.WierszeNaglowka[2]);
        for (int i = 1; i <= dataLines; ++i) {
            m_wydruk.PostepWydruku();
            m_wydruk.DrukujWiersz(QStringLiteral("| wiersz %1 |").arg(i, 3));
        }
        m_wydruk.ZakonczWydruk(true);
    }

    QString header1(int page, const QString &operatorName = QString()) const
    {
        QString line = QStringLiteral("Biuro Rachunkowe") + QString(14, u' ') +
                       QStringLiteral(" Program : RAWEN 2.0") + QString(11, u' ') +
                       QStringLiteral(" Data : 2024.03.15 Strona : %1").arg(page);
        if (!operatorName.isEmpty())
            line += QStringLiteral(" Operator : ") + operatorName;
        return line;
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
};

// ---- The width of the page on the Windows channel ----------------------------------------------

// The page is laid out for the widest line before anything is printed: upright as it is, in
// smaller letters down to 6 points, on its side the same way; what fits nowhere is asked about
// first. Lines of unbuffered report code, whose width nobody said, are counted when they do not
// fit, and the user is told at the end.
TEST_F(WydrukTest, TheWindowsChannelFitsThePageToItsWidestLineAndSaysWhatDidNotFit)
{
    // 300 dots per inch, 8 inches wide upright, 11 on its side; a character 0.6 of its size.
    m_ustawienia.DRTYP = 0;
    m_drukarka.szerokosc = 2400;
    m_drukarka.szerokoscPoziomo = 3300;
    m_drukarka.znakNaPunkt = 300 / 72.0 * 0.6;
    struct Przypadek
    {
        int znaki;
        int lewy; // DRLEWY, fifteenths of an inch
        bool poziomo;
        double skala;
        bool pytanie;
    };
    const QList<Przypadek> przypadki{
        {100, 0, false, 1.0, false},            // 2000 of 2400 pixels at 8 points
        {120, 0, false, 1.0, false},            // exactly the page
        {150, 0, false, 0.8, false},            // 6.4 points
        {110, 15, false, 2100 / 2200.0, false}, // an inch of margin
        {200, 0, true, 0.825, false},           // 6.6 points on its side
        {300, 0, true, 0.75, true},             // 6 points on its side would still cut it
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.znaki);
        m_ustawienia.DRLEWY = p.lewy;
        m_okno.bufor = {QStringLiteral("&Gkrótki"), QStringLiteral("&G") + QString(p.znaki, u'x'),
                        QStringLiteral("krótki")};
        const qsizetype pudla = m_boxes.shown().size();
        if (p.pytanie)
            m_boxes.answerNext(MessageBoxes::Answer::Yes);
        m_wydruk.KDRUKClick();
        EXPECT_FALSE(m_wydruk.przerwany());
        ASSERT_EQ(m_boxes.shown().size(), pudla + (p.pytanie ? 1 : 0))
            << m_boxes.texts().join(u'|').toStdString();
        EXPECT_EQ(m_drukarka.poziomo, p.poziomo);
        EXPECT_NEAR(m_drukarka.skala, p.skala, 1e-9);
        EXPECT_EQ(m_drukarka.teksty(0).value(1), QString(p.znaki, u'x'));
        if (p.pytanie) {
            EXPECT_EQ(m_boxes.shown().last().text,
                      QStringLiteral("Najszerszy wiersz wydruku ma 300 znaków i nie zmieści się na "
                                     "szerokości strony, nawet ułożonej poziomo i drukowanej "
                                     "pismem 6 pkt: jego prawa część nie zostanie wydrukowana.\r"
                                     "Czy drukować mimo to ?"));
        }
    }

    // No: nothing is begun.
    m_ustawienia.DRLEWY = 0;
    const int rozpoczecia = m_drukarka.rozpoczecia;
    m_boxes.answerNext(MessageBoxes::Answer::No);
    m_wydruk.KDRUKClick();
    EXPECT_TRUE(m_wydruk.przerwany());
    EXPECT_EQ(m_drukarka.rozpoczecia, rozpoczecia);

    // Unbuffered lines nobody measured: printed as they come, and counted.
    const qsizetype pudla = m_boxes.shown().size();
    straightJob({QStringLiteral("&Gkrótki"), QStringLiteral("&G") + QString(200, u'x'),
                 QString(121, u'y'), QString(120, u'z')});
    EXPECT_FALSE(m_drukarka.poziomo);
    EXPECT_EQ(m_drukarka.skala, 1.0);
    ASSERT_EQ(m_boxes.shown().size(), pudla + 1);
    EXPECT_EQ(m_boxes.shown().last().icon, MessageBoxes::Icon::Warning);
    EXPECT_EQ(m_boxes.shown().last().text,
              QStringLiteral("Wydruk jest szerszy niż strona: obcięto 2 wiersze (ich prawa część "
                             "nie została wydrukowana)."));
}

// ---- Jobs and the page header ---------------------------------------------------------------

TEST_F(WydrukTest, ABufferedJobWithHeaderFillsTheBufferAndShowsTheWindow)
{
    m_wydruk.NowyWydruk(QStringLiteral("Zestawienie"), false, 3, 0, true);
    EXPECT_TRUE(m_ustawienia.DRPODZIAL);
    EXPECT_TRUE(m_postep.widoczne);
    EXPECT_EQ(m_postep.napis, u"Zestawienie");
    EXPECT_EQ(m_postep.razem, 3);
    m_wydruk.DrukujWiersz(QStringLiteral("pierwszy"));
    m_wydruk.PostepWydruku();
    m_wydruk.ZakonczWydruk(true);

    EXPECT_EQ(m_okno.bufor,
              (QStringList{QStringLiteral("&G") + header1(1),
                           QStringLiteral("&GWydruk : Zestawienie"), QStringLiteral("pierwszy"),
                           QStringLiteral("&GKelmar - Koniec wydruku: Zestawienie")}));
    EXPECT_EQ(m_postep.kroki, 1);
    EXPECT_FALSE(m_postep.widoczne);
    EXPECT_EQ(m_okno.pokazania, 1);
    EXPECT_EQ(m_okno.czcionkiPoWydruku, 1);
    EXPECT_EQ(m_wydruk.NrStrony(), 1);
    EXPECT_EQ(m_wydruk.NrWiersza(), 4);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

TEST_F(WydrukTest, TheHeaderLineKeepsItsColumns)
{
    const QString rest = QStringLiteral(" Program : RAWEN 2.0") + QString(11, u' ') +
                         QStringLiteral(" Data : 2024.03.15 Strona : 1");
    const struct
    {
        QString user;
        QString operatorName;
        QString expected;
    } cases[] = {
        {QStringLiteral("ABC"), QString(), QStringLiteral("ABC") + QString(27, u' ') + rest},
        {QStringLiteral("Przedsiębiorstwo Handlowe Łódź Sp. z o.o."), QString(),
         QStringLiteral("Przedsiębiorstwo Handlowe Łódź") + rest},
        {QStringLiteral("ABC"), QStringLiteral("Kowalska"),
         QStringLiteral("ABC") + QString(27, u' ') + rest + QStringLiteral(" Operator : Kowalska")},
    };
    for (const auto &c : cases) {
        m_wartosci.uzytkownik = c.user;
        m_wydruk.Operator = c.operatorName;
        m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, true);
        const QString line = m_okno.bufor.value(0);
        EXPECT_EQ(line, QStringLiteral("&G") + c.expected);
        // Without its code the page number starts in column 90.
        EXPECT_EQ(line.mid(2).indexOf(QStringLiteral(" Strona : ")) + 10 + 1, 90)
            << c.user.toStdString();
        m_wydruk.ZakonczWydruk(false);
    }

    // A title longer than 20 characters is cut.
    m_wartosci.uzytkownik.clear();
    m_wartosci.tytul = QStringLiteral("Program o nazwie dłuższej niż dwadzieścia");
    m_wydruk.Operator.clear();
    m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, true);
    EXPECT_EQ(m_okno.bufor.value(0), QStringLiteral("&G") + QString(30, u' ') +
                                         QStringLiteral(" Program : Program o nazwie dłu Data : "
                                                        "2024.03.15 Strona : 1"));
    m_wydruk.ZakonczWydruk(false);
}

TEST_F(WydrukTest, TheTopMarginComesBeforeTheHeaderAndAJobWithoutHeaderLeavesTheSplit)
{
    m_ustawienia.DRGORA = 2;
    m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, true);
    EXPECT_EQ(m_okno.bufor.mid(0, 3), (QStringList{QStringLiteral("&G"), QStringLiteral("&G"),
                                                   QStringLiteral("&G") + header1(1)}));
    EXPECT_EQ(m_wydruk.NrWiersza(), 4);
    m_wydruk.ZakonczWydruk(false);

    m_ustawienia.DRPODZIAL = false;
    m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, false);
    m_wydruk.DrukujWiersz(QStringLiteral("pierwszy"));
    m_wydruk.ZakonczWydruk(false);
    EXPECT_EQ(m_okno.bufor, QStringList{QStringLiteral("pierwszy")});
    EXPECT_FALSE(m_ustawienia.DRPODZIAL);
}

TEST_F(WydrukTest, TheTitlePromptSetsTheTitleWhateverItAnswers)
{
    m_okno.odpowiedziTytulu = {QStringLiteral("Moja nazwa")};
    m_wydruk.NowyWydruk(QStringLiteral("Zestawienie"), true, 0, 0, true);
    EXPECT_EQ(m_okno.pytaniaOTytul, QStringList{QStringLiteral("Zestawienie")});
    EXPECT_EQ(m_wydruk.TytulWydruku(), u"Moja nazwa");
    EXPECT_EQ(m_okno.bufor.value(1), u"&GWydruk : Moja nazwa");
    EXPECT_EQ(m_postep.napis, u"Moja nazwa");
    m_wydruk.ZakonczWydruk(false);

    m_wydruk.NowyWydruk(QStringLiteral("Drugi"), false, 0, 0, true);
    EXPECT_EQ(m_okno.pytaniaOTytul.size(), 1);
    EXPECT_EQ(m_wydruk.TytulWydruku(), u"Drugi");
    m_wydruk.ZakonczWydruk(false);
}

TEST_F(WydrukTest, PrintingAtOnceUsesTheChannelInsteadOfTheWindowAndClearsTheFlags)
{
    m_ustawienia.DRTYP = 3;
    m_dialogs.answerNext(exportPath());
    m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, false);
    m_wydruk.DrukujWiersz(QStringLiteral("jeden"));
    m_wydruk.DrukujOdRazu = true;
    m_wydruk.DrukujLogo = true;
    m_wydruk.ZakonczWydruk(false);

    EXPECT_EQ(m_okno.pokazania, 0);
    EXPECT_EQ(contents(exportPath()), "jeden\r\n");
    EXPECT_FALSE(m_wydruk.DrukujOdRazu);
    EXPECT_FALSE(m_wydruk.DrukujLogo);
    EXPECT_EQ(m_okno.bufor, QStringList{QStringLiteral("jeden")});
    EXPECT_EQ(m_okno.zaznaczenieDlugosc, 0);
}

// ---- The DOS port ---------------------------------------------------------------------------

TEST_F(WydrukTest, TheDosPortGetsTheBytesOfEachLine)
{
    const QByteArray lodz = QByteArray::fromHex("A3F3649F");
    const struct
    {
        const char *name;
        std::function<void(UstawieniaDruku &)> settings;
        QStringList jobLines;
        QByteArray expected;
    } cases[] = {
        {"margin 3 and expanded, which stays for the next line",
         [](UstawieniaDruku &u) {
             u.DRLEWY = 3;
             u.DRPL = 3;
         },
         {"&Rabc", "abc"},
         QByteArray::fromHex("1412202020120E6162630D0A"
                             "1412202020120E6162630D0A")},
        {"a job begins condensed",
         [](UstawieniaDruku &) {},
         {"x"},
         QByteArray::fromHex("14120F780D0A")},
        {"normal",
         [](UstawieniaDruku &) {},
         {"&Nx", "y"},
         QByteArray::fromHex("14121412780D0A"
                             "14121412790D0A")},
        {"density 2 whatever the code",
         [](UstawieniaDruku &u) { u.DRRODZAJ = 2; },
         {"&Gx", "&Ry", "z"},
         QByteArray::fromHex("14121412780D0A"
                             "14121412790D0A"
                             "141214127A0D0A")},
        {"density 1 and 3",
         [](UstawieniaDruku &u) { u.DRRODZAJ = 1; },
         {"&Rx", "&Nx"},
         QByteArray::fromHex("14120F780D0A"
                             "14120F780D0A")},
        {"density 3",
         [](UstawieniaDruku &u) { u.DRRODZAJ = 3; },
         {"&Gx"},
         QByteArray::fromHex("1412120E780D0A")},
        {"&G then &N: both go, the line is normal",
         [](UstawieniaDruku &) {},
         {"&G&Nx"},
         QByteArray::fromHex("14121412780D0A")},
        {"&N then &G: only &N goes",
         [](UstawieniaDruku &) {},
         {"&N&Gx"},
         QByteArray::fromHex("14121412264778"
                             "0D0A")},
        {"&W writes a form feed and drops its text",
         [](UstawieniaDruku &) {},
         {"&Wtext", "x"},
         QByteArray::fromHex("0C0D0A"
                             "14120F780D0A")},
        {"the margin is the low byte",
         [](UstawieniaDruku &u) { u.DRLEWY = 258; },
         {"x"},
         QByteArray::fromHex("14122020"
                             "0F780D0A")},
        {"Łódź plain",
         [](UstawieniaDruku &u) { u.DRPL = 0; },
         {"Łódź"},
         QByteArray::fromHex("14120F") + "Lodz\r\n"},
        {"Łódź Mazovia",
         [](UstawieniaDruku &u) { u.DRPL = 1; },
         {"Łódź"},
         QByteArray::fromHex("14120F9CA264A60D0A")},
        {"Łódź Latin-2",
         [](UstawieniaDruku &u) { u.DRPL = 2; },
         {"Łódź"},
         QByteArray::fromHex("14120F9DA264AB0D0A")},
        {"Łódź Windows-1250",
         [](UstawieniaDruku &u) { u.DRPL = 3; },
         {"Łódź"},
         QByteArray::fromHex("14120F") + lodz + "\r\n"},
        {"a character Windows-1250 lacks",
         [](UstawieniaDruku &u) { u.DRPL = 3; },
         {"a€b→c"},
         QByteArray::fromHex("14120F") + "a\x80"
                                         "b?c\r\n"},
    };
    for (const auto &c : cases) {
        UstawieniaDruku settings;
        settings.DRTYP = 1;
        settings.DRLINIDOS = 70;
        c.settings(settings);
        m_ustawienia = settings;
        straightJob(c.jobLines);
        EXPECT_EQ(hex(port()), hex(c.expected)) << c.name;
        EXPECT_FALSE(m_wydruk.przerwany()) << c.name;
    }
    EXPECT_TRUE(m_boxes.shown().isEmpty()) << m_boxes.texts().join(u'|').toStdString();
}

TEST_F(WydrukTest, DosPagesBreakAfterTheirLinesAndStartWithTheirTop)
{
    m_ustawienia.DRTYP = 1;
    m_ustawienia.DRBUFOR = true;
    m_ustawienia.DRGORA = 2;
    report(150);

    const QList<QByteArray> printed = lines(port());
    const QByteArray condensed("\x0F");
    // Page 1: margin, header, heading lines and data, 71 lines in all.
    ASSERT_GE(printed.size(), 80);
    EXPECT_EQ(printed[0], dosLine(condensed, QString()));
    EXPECT_EQ(printed[2], dosLine(condensed, header1(1)));
    EXPECT_EQ(printed[3], dosLine(condensed, QStringLiteral("Wydruk : Zestawienie")));
    EXPECT_EQ(printed[70], dosLine(condensed, QStringLiteral("| wiersz  65 |")));
    EXPECT_EQ(printed[71], "\x0C");
    // Page 2: the top margin in the density in force, the header with page 2, the heading lines.
    const QList<QByteArray> page2Top{
        dosLine(condensed, QString()),
        dosLine(condensed, QString()),
        dosLine(condensed, header1(2)),
        dosLine(condensed, QStringLiteral("Wydruk : Zestawienie")),
        dosLine(condensed, QStringLiteral("=====================")),
        dosLine(condensed, QStringLiteral("| Nazwa    | Kwota  |")),
        dosLine(condensed, QStringLiteral("| wiersz  66 |")),
    };
    EXPECT_EQ(printed.mid(72, 7), page2Top);
    EXPECT_EQ(printed[72 + 71], "\x0C");
    EXPECT_EQ(printed[72 + 72 + 2], dosLine(condensed, header1(3)));
    // The last page: the rest of the data, the closing line and the form feed of a split job.
    EXPECT_EQ(
        printed.mid(printed.size() - 3),
        (QList<QByteArray>{
            dosLine(condensed, QStringLiteral("| wiersz 150 |")),
            dosLine(condensed, QStringLiteral("Kelmar - Koniec wydruku: Zestawienie")), "\x0C"}));
    EXPECT_EQ(printed.count("\x0C"), 3);
    EXPECT_EQ(m_wydruk.NrStrony(), 3);
}

TEST_F(WydrukTest, ABufferedJobBreaksWhereTheSameJobUnbufferedDoes)
{
    m_ustawienia.DRTYP = 1;
    m_ustawienia.DRGORA = 1;
    m_ustawienia.DRLINIDOS = 20;
    m_ustawienia.DRBUFOR = true;
    report(60);
    const QByteArray unbuffered = port();
    ASSERT_EQ(lines(unbuffered).count("\x0C"), 4);

    // Printed from the buffer, from the window's button and at once.
    for (bool atOnce : {false, true}) {
        ASSERT_TRUE(QFile::remove(portPath()));
        m_ustawienia.DRBUFOR = false;
        m_wydruk.WierszeNaglowka[1] = QStringLiteral("=====================");
        m_wydruk.WierszeNaglowka[2] = QStringLiteral("| Nazwa    | Kwota  |");
        m_wydruk.NowyWydruk(QStringLiteral("Zestawienie"), false, 60, 2, true);
        m_wydruk.DrukujWiersz(m_wydruk.WierszeNaglowka[1]);
        m_wydruk.DrukujWiersz(m_wydruk.WierszeNaglowka[2]);
        for (int i = 1; i <= 60; ++i)
            m_wydruk.DrukujWiersz(QStringLiteral("| wiersz %1 |").arg(i, 3));
        m_wydruk.DrukujOdRazu = atOnce;
        m_wydruk.ZakonczWydruk(true);
        if (!atOnce) {
            EXPECT_FALSE(QFile::exists(portPath()));
            m_wydruk.KDRUKClick();
        }
        EXPECT_EQ(hex(port()), hex(unbuffered)) << (atOnce ? "at once" : "from the window");
    }

    // A second print of the same buffer numbers its pages from 1 again.
    m_wydruk.KDRUKClick();
    EXPECT_EQ(hex(port()), hex(unbuffered));
}

TEST_F(WydrukTest, AnInLinePageEndStartsAPageWithoutTopAndTheNextBreakCountsOn)
{
    m_ustawienia.DRTYP = 1;
    m_ustawienia.DRBUFOR = true;
    m_ustawienia.DRLINIDOS = 10;
    m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, true);
    QStringList data;
    for (const char *line : {"a1", "a2", "a3", "&Wreszta", "b1", "b2", "b3", "b4", "b5", "b6", "b7",
                             "b8", "b9", "b10", "b11", "b12"}) {
        m_wydruk.DrukujWiersz(QString::fromLatin1(line));
    }
    m_wydruk.ZakonczWydruk(false);

    const QList<QByteArray> printed = lines(port());
    const QByteArray condensed("\x0F");
    ASSERT_EQ(printed.size(), 2 + 3 + 1 + 11 + 1 + 2 + 1 + 1);
    EXPECT_EQ(printed[5], "\x0C");
    EXPECT_EQ(printed[6], dosLine(condensed, QStringLiteral("b1")));
    EXPECT_EQ(printed[16], dosLine(condensed, QStringLiteral("b11")));
    EXPECT_EQ(printed[17], "\x0C");
    EXPECT_EQ(printed[18], dosLine(condensed, header1(3)));
    EXPECT_EQ(printed[20], dosLine(condensed, QStringLiteral("b12")));
    EXPECT_EQ(printed[21], "\x0C");
}

TEST_F(WydrukTest, WithoutThePageSplitTheDosOutputIsOneEndlessPage)
{
    m_ustawienia.DRTYP = 1;
    m_ustawienia.DRLINIDOS = 10;
    QStringList many;
    for (int i = 0; i < 30; ++i)
        many << QStringLiteral("w%1").arg(i);
    straightJob(many);
    EXPECT_EQ(lines(port()).size(), 30);
    EXPECT_FALSE(port().contains('\x0C'));
}

// ---- The text files -------------------------------------------------------------------------

TEST_F(WydrukTest, TheTextFilesKeepTheirLines)
{
    const QStringList table{
        QStringLiteral("&N====================="),
        QStringLiteral("| Nazwa    | Kwota  |"),
        QStringLiteral("|----------|--------|"),
        QStringLiteral("| Łódź     |  -5.00 |"),
        QStringLiteral("|-12.50   |  -5.00 |"),
        QStringLiteral("----  ----"),
        QStringLiteral(" - uwaga"),
        QStringLiteral(">QV<znacznik"),
        QString(),
        QStringLiteral("x"),
        QStringLiteral("&W&Gpo stronie"),
        QStringLiteral("&Rrozstrzelony"),
        QStringLiteral("&G&Ndwa kody"),
    };
    const struct
    {
        const char *name;
        quint8 DRTYP;
        quint8 DRPL;
        QByteArray expected;
    } cases[] = {
        // A table's row whose first cell holds a negative amount is no rule: it stays.
        {"with cutting", 2, 3,
         "| Nazwa    | Kwota  |\r\n| \xA3\xF3"
         "d\x9F     |  -5.00 |\r\n|-12.50   |  -5.00 |\r\n - uwaga\r\n"
         "&Gpo stronie\r\nrozstrzelony\r\n&Ndwa kody\r\nKelmar - Koniec wydruku: Tabela\r\n"},
        {"with cutting, plain letters", 2, 0,
         "| Nazwa    | Kwota  |\r\n| Lodz     |  -5.00 |\r\n|-12.50   |  -5.00 |\r\n"
         " - uwaga\r\n"
         "&Gpo stronie\r\nrozstrzelony\r\n&Ndwa kody\r\nKelmar - Koniec wydruku: Tabela\r\n"},
        {"without cutting", 3, 3,
         "=====================\r\n| Nazwa    | Kwota  |\r\n|----------|--------|\r\n"
         "| \xA3\xF3"
         "d\x9F     |  -5.00 |\r\n|-12.50   |  -5.00 |\r\n----  ----\r\n - uwaga\r\n"
         ">QV<znacznik\r\n\r\nx\r\n"
         "\x0C&Gpo stronie\r\nrozstrzelony\r\n&Ndwa kody\r\nKelmar - Koniec wydruku: Tabela\r\n"},
    };
    for (bool unbuffered : {true, false}) {
        for (const auto &c : cases) {
            m_ustawienia.DRTYP = c.DRTYP;
            m_ustawienia.DRPL = c.DRPL;
            m_ustawienia.DRBUFOR = unbuffered;
            m_dialogs.answerNext(exportPath());
            m_wydruk.NowyWydruk(QStringLiteral("Tabela"), false, 0, 0, false);
            for (const QString &line : table)
                m_wydruk.DrukujWiersz(line);
            m_wydruk.ZakonczWydruk(true);
            if (!unbuffered)
                m_wydruk.KDRUKClick();
            EXPECT_EQ(hex(contents(exportPath())), hex(c.expected))
                << c.name << (unbuffered ? ", unbuffered" : ", from the buffer");
        }
    }
    const AskedSaveFile &asked = m_dialogs.asked().front();
    EXPECT_EQ(asked.fileName, u"eksport.txt");
    EXPECT_EQ(asked.defaultSuffix, u"txt");
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

TEST_F(WydrukTest, TheTextFilesLeaveOutTheFirstTwoLinesOfAJobWithHeader)
{
    // The first two lines of a job with header are dropped, whatever they are: with a top margin
    // the margin line and the first header line go, and the second header line stays.
    const struct
    {
        quint8 DRTYP;
        int margin;
        QByteArray expected;
    } cases[] = {
        {2, 0, "dane\r\n"},
        {2, 1, "Wydruk : Raport\r\ndane\r\n"},
        {3, 0, "\r\n\r\ndane\r\n"},
        {3, 1, "\r\n\r\nWydruk : Raport\r\ndane\r\n"},
    };
    for (bool unbuffered : {true, false}) {
        for (const auto &c : cases) {
            m_ustawienia.DRTYP = c.DRTYP;
            m_ustawienia.DRPL = 3;
            m_ustawienia.DRGORA = c.margin;
            m_ustawienia.DRBUFOR = unbuffered;
            m_dialogs.answerNext(exportPath());
            m_wydruk.NowyWydruk(QStringLiteral("Raport"), false, 0, 0, true);
            m_wydruk.DrukujWiersz(QStringLiteral("dane"));
            m_wydruk.ZakonczWydruk(false);
            if (!unbuffered)
                m_wydruk.KDRUKClick();
            EXPECT_EQ(contents(exportPath()), c.expected)
                << "channel " << int(c.DRTYP) << ", margin " << c.margin
                << (unbuffered ? ", unbuffered" : ", from the buffer");
        }
    }
}

TEST_F(WydrukTest, AnExportPutsTheNewFileInPlaceOnlyWhenTheJobEnds)
{
    QFile earlier(exportPath());
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("wcześniejszy raport\r\n");
    earlier.close();

    m_ustawienia.DRTYP = 3;
    m_ustawienia.DRBUFOR = true;
    m_dialogs.answerNext(exportPath());
    m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, false);
    m_wydruk.DrukujWiersz(QStringLiteral("nowy"));
    EXPECT_EQ(contents(exportPath()), "wcześniejszy raport\r\n");
    m_wydruk.ZakonczWydruk(false);
    EXPECT_EQ(contents(exportPath()), "nowy\r\n");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"eksport"),
              QStringList{QStringLiteral("eksport.txt")});
}

// ---- Printing the document buffer -----------------------------------------------------------

TEST_F(WydrukTest, ASelectionPrintsOnlyTheLinesWhoseEndItHolds)
{
    m_ustawienia.DRTYP = 3;
    m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, false);
    for (const char *line : {"pierwszy", "drugi", "trzeci", "czwarty"})
        m_wydruk.DrukujWiersz(QString::fromLatin1(line));
    m_wydruk.ZakonczWydruk(false);
    const QString text = m_okno.tekst();

    const struct
    {
        const char *name;
        qsizetype from;
        qsizetype to; // one past the last selected character
        QByteArray expected;
    } cases[] = {
        {"from inside the second line to inside the fourth", text.indexOf(u"rugi"),
         text.indexOf(u"warty"), "rugi\r\ntrzeci\r\n"},
        {"the second line up to its CR", text.indexOf(u"drugi"), text.indexOf(u"drugi") + 6,
         "drugi\r\n"},
        {"the second line without its CR", text.indexOf(u"drugi"), text.indexOf(u"drugi") + 5, ""},
        {"nothing selected: all of it", 0, 0, "pierwszy\r\ndrugi\r\ntrzeci\r\nczwarty\r\n"},
    };
    for (const auto &c : cases) {
        m_okno.zaznaczenieOd = c.from;
        m_okno.zaznaczenieDlugosc = c.to - c.from;
        m_dialogs.answerNext(exportPath());
        m_wydruk.KDRUKClick();
        EXPECT_EQ(contents(exportPath()), c.expected) << c.name;
        EXPECT_EQ(m_okno.zaznaczenieDlugosc, 0) << c.name;
        EXPECT_EQ(m_postep.razem, c.to > c.from ? c.to - c.from : text.size()) << c.name;
        EXPECT_EQ(m_postep.kroki, m_postep.razem) << c.name;
        EXPECT_FALSE(m_postep.widoczne) << c.name;
    }
}

// ---- The Windows printer --------------------------------------------------------------------

TEST_F(WydrukTest, TheWindowsPrinterDrawsInUnitsOf300PerInch)
{
    m_drukarka.dpi = 600;
    m_drukarka.wysokosc = 6000;
    m_ustawienia.DRTYP = 0;
    m_ustawienia.DRLEWY = 3;
    straightJob({"&Gmały", "&Nśredni", "&Rduży", "dalej duży", "&Wkoniec strony", "druga"});

    EXPECT_EQ(m_drukarka.dokument, u"Test");
    EXPECT_EQ(m_drukarka.czcionka, u"Lucida console");
    EXPECT_DOUBLE_EQ(m_wydruk.Skala(), 2.0);
    EXPECT_EQ(m_wydruk.WysokoscStrony(), 3000);
    ASSERT_EQ(m_drukarka.strony.size(), 2);
    const auto &page1 = m_drukarka.strony[0].napisy;
    ASSERT_EQ(page1.size(), 4);
    const struct
    {
        int y;
        int points;
        QString text;
    } expected[] = {{0, 8, QStringLiteral("mały")},
                    {80, 12, QStringLiteral("średni")},
                    {180, 16, QStringLiteral("duży")},
                    {310, 16, QStringLiteral("dalej duży")}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(page1[i].x, 120) << i;
        EXPECT_EQ(page1[i].y, expected[i].y) << i;
        EXPECT_EQ(page1[i].punkty, expected[i].points) << i;
        EXPECT_EQ(page1[i].tekst, expected[i].text) << i;
    }
    // The in-line page end starts the next page at the top, in the size in force.
    ASSERT_EQ(m_drukarka.strony[1].napisy.size(), 1);
    EXPECT_EQ(m_drukarka.strony[1].napisy[0].y, 0);
    EXPECT_EQ(m_drukarka.strony[1].napisy[0].punkty, 16);
    EXPECT_EQ(m_drukarka.zakonczenia, 1);
    EXPECT_FALSE(m_drukarka.otwarty);
}

TEST_F(WydrukTest, TheWindowsDensitySettingOverridesTheCodes)
{
    for (quint8 density : {1, 2, 3}) {
        m_ustawienia.DRTYP = 0;
        m_ustawienia.DRRODZAJ = density;
        straightJob({"&Ga", "&Nb", "&Rc"});
        const int points = density == 1 ? 8 : density == 2 ? 12 : 16;
        for (const auto &text : m_drukarka.strony[0].napisy)
            EXPECT_EQ(text.punkty, points) << int(density) << " " << text.tekst.toStdString();
    }
}

TEST_F(WydrukTest, AFullWindowsPageGoesOnDirectlyWithoutTheSplitAndWithItsTopWithIt)
{
    m_drukarka.dpi = 300;
    m_drukarka.wysokosc = 500;
    m_ustawienia.DRTYP = 0;
    QStringList many;
    for (int i = 1; i <= 15; ++i)
        many << QStringLiteral("w%1").arg(i);

    // 8-point lines at 0, 40, ... 440; the next one, at 480, finds the page full.
    straightJob(many);
    ASSERT_EQ(m_drukarka.strony.size(), 2);
    EXPECT_EQ(m_drukarka.strony[0].napisy.size(), 12);
    EXPECT_EQ(m_drukarka.teksty(1), (QStringList{"w13", "w14", "w15"}));
    EXPECT_EQ(m_drukarka.strony[1].napisy[0].y, 0);
    EXPECT_EQ(m_wydruk.NrStrony(), 1);

    m_ustawienia.DRBUFOR = true;
    m_wydruk.WierszeNaglowka[1] = QStringLiteral("nagłówek tabeli");
    m_wydruk.NowyWydruk(QStringLiteral("Lista"), false, 0, 1, true);
    for (const QString &line : many)
        m_wydruk.DrukujWiersz(line);
    m_wydruk.ZakonczWydruk(false);
    ASSERT_EQ(m_drukarka.strony.size(), 2);
    EXPECT_EQ(m_drukarka.teksty(0).mid(0, 3),
              (QStringList{header1(1), QStringLiteral("Wydruk : Lista"), QStringLiteral("w1")}));
    EXPECT_EQ(m_drukarka.teksty(1).mid(0, 4),
              (QStringList{header1(2), QStringLiteral("Wydruk : Lista"),
                           QStringLiteral("nagłówek tabeli"), QStringLiteral("w11")}));
}

TEST_F(WydrukTest, TheWindowsPageFullTestAllowsFiftyUnitsWhateverTheLine)
{
    m_drukarka.wysokosc = 500;
    m_ustawienia.DRTYP = 0;
    m_ustawienia.DRRODZAJ = 3;
    // 16-point lines at 0, 65, ... 390; one at 455 would end at 520.
    QStringList many;
    for (int i = 1; i <= 9; ++i)
        many << QStringLiteral("w%1").arg(i);
    straightJob(many);
    ASSERT_EQ(m_drukarka.strony.size(), 2);
    EXPECT_EQ(m_drukarka.strony[0].napisy.back().y, 390);
    // The test allows 50 units whatever the line: on a page of 505 the line at 455 ends 15 units
    // below it.
    m_drukarka.wysokosc = 505;
    straightJob(many);
    EXPECT_EQ(m_drukarka.strony[0].napisy.back().y, 455);
}

TEST_F(WydrukTest, TheLogoIsDrawnAtEachInLinePageEndAndAtTheEnd)
{
    m_ustawienia.DRTYP = 0;
    m_ustawienia.DRBUFOR = true;
    m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 0, false);
    m_wydruk.DrukujLogo = true;
    m_wydruk.DrukujWiersz(QStringLiteral("a"));
    m_wydruk.DrukujWiersz(QStringLiteral("&W"));
    m_wydruk.DrukujWiersz(QStringLiteral("b"));
    m_wydruk.ZakonczWydruk(false);
    ASSERT_EQ(m_drukarka.strony.size(), 2);
    EXPECT_EQ(m_drukarka.strony[0].loga, QList<QPoint>{QPoint(120, 60)});
    EXPECT_EQ(m_drukarka.strony[1].loga, QList<QPoint>{QPoint(120, 60)});

    straightJob({"a", "&W", "b"});
    EXPECT_TRUE(m_drukarka.strony[0].loga.isEmpty());
    EXPECT_TRUE(m_drukarka.strony[1].loga.isEmpty());
}

// ---- Failures -------------------------------------------------------------------------------

TEST_F(WydrukTest, AChannelThatDoesNotOpenEndsTheJobAfterItsMessage)
{
    const struct
    {
        const char *name;
        std::function<void()> arrange;
        QStringList messages;
    } cases[] = {
        {"a port that does not open",
         [this] {
             m_ustawienia.DRTYP = 1;
             m_ustawienia.DRPORT = 1;
         },
         {QStringLiteral("Błąd otwarcia portu : ") + m_dir.filePath(QStringLiteral("brak/lpt2"))}},
        {"a port that names none",
         [this] {
             m_ustawienia.DRTYP = 1;
             m_ustawienia.DRPORT = 5;
         },
         {QStringLiteral("Błąd otwarcia portu : LPT6")}},
        {"a file that cannot be made",
         [this] {
             m_ustawienia.DRTYP = 2;
             m_dialogs.answerNext(m_dir.filePath(QStringLiteral("brak/eksport.txt")));
         },
         {QStringLiteral("Błąd otwarcia pliku : ") +
          m_dir.filePath(QStringLiteral("brak/eksport.txt"))}},
        {"a cancelled save dialog",
         [this] {
             m_ustawienia.DRTYP = 3;
             m_dialogs.cancelNext();
         },
         {}},
        {"a file that is a table",
         [this] {
             m_ustawienia.DRTYP = 3;
             m_dialogs.answerNext(tablePath());
         },
         {QStringLiteral("Błąd otwarcia pliku : ") + tablePath() +
          QStringLiteral("\rPrzyczyna: plik jest bazą danych (tabelą); wydruk zastąpiłby jej "
                         "zawartość")}},
        {"a port file that is a table",
         [this] {
             m_ustawienia.DRTYP = 1;
             m_wydruk.ustawUrzadzeniePortu(tablePath());
         },
         {QStringLiteral("Błąd otwarcia portu : ") + tablePath() +
          QStringLiteral("\rPrzyczyna: plik jest bazą danych (tabelą); wydruk zastąpiłby jej "
                         "zawartość")}},
        {"a printer that refuses",
         [this] {
             m_ustawienia.DRTYP = 0;
             m_drukarka.wynikRozpoczecia = DrukarkaWindows::Wynik::Blad;
         },
         {QStringLiteral("Błąd drukarki testowej")}},
        {"a PDF file given up",
         [this] {
             m_ustawienia.DRTYP = 0;
             m_drukarka.wynikRozpoczecia = DrukarkaWindows::Wynik::Anulowane;
         },
         {}},
        {"a channel that names none",
         [this] { m_ustawienia.DRTYP = 7; },
         {QStringLiteral("Nie wybrano rodzaju wydruku.\rWybierz w oknie wydruku drukarkę "
                         "Windows, port DOS albo eksport do pliku.")}},
    };
    makeTable(tablePath(), {{QStringLiteral("NR"), ftInteger, 0, false}}, {}, {{"1"}, {"2"}});
    const QByteArray table = contents(tablePath());
    for (bool unbuffered : {true, false}) {
        for (const auto &c : cases) {
            ScriptedMessageBoxes boxes;
            m_wydruk.ustawUrzadzeniePortu(QString());
            const UstawieniaDruku clean = [&] {
                UstawieniaDruku u;
                u.DRLINIDOS = 70;
                return u;
            }();
            m_ustawienia = clean;
            m_drukarka.wynikRozpoczecia = DrukarkaWindows::Wynik::Gotowe;
            c.arrange();
            m_ustawienia.DRBUFOR = unbuffered;
            const QString where = unbuffered ? "unbuffered" : "from the buffer";

            m_wydruk.NowyWydruk(QStringLiteral("Zestawienie"), false, 2, 0, true);
            m_wydruk.DrukujWiersz(QStringLiteral("dane"));
            m_wydruk.PostepWydruku();
            m_wydruk.ZakonczWydruk(true);
            if (!unbuffered) {
                m_okno.zaznaczenieOd = 3;
                m_okno.zaznaczenieDlugosc = 20;
                m_wydruk.KDRUKClick();
                // The buffer stays as it was, selection included, for another try.
                EXPECT_EQ(m_okno.bufor.size(), 4) << c.name << ", " << where.toStdString();
                EXPECT_EQ(m_okno.zaznaczenieDlugosc, 20) << c.name;
            }
            EXPECT_EQ(boxes.texts(), c.messages) << c.name << ", " << where.toStdString();
            for (const ShownBox &box : boxes.shown())
                EXPECT_EQ(box.icon, Icon::Error) << c.name;
            EXPECT_TRUE(m_wydruk.przerwany()) << c.name << ", " << where.toStdString();
            EXPECT_FALSE(m_postep.widoczne) << c.name << ", " << where.toStdString();
            EXPECT_FALSE(m_drukarka.otwarty) << c.name;
            EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("brak")))) << c.name;
            EXPECT_EQ(contents(tablePath()), table) << c.name;
        }
    }
}

// The export is whole and in place, but its directory could not be synced after the rename: the
// job is not broken off, and the user is told that the new name may not survive a power cut.
TEST_F(WydrukTest, AnExportWhoseNameMayNotSurviveAPowerCutSaysSo)
{
    m_ustawienia.DRTYP = 3;
    qint64 krok = 0;
    FaultPoint::setRecording(true);
    m_dialogs.answerNext(exportPath());
    straightJob({QStringLiteral("wiersz")});
    for (qsizetype i = 0; const FaultPoint::Step &s : FaultPoint::recorded()) {
        ++i;
        if (s.step == FileStep::Sync && s.path == m_dir.path())
            krok = i;
    }
    FaultPoint::setRecording(false);
    ASSERT_GT(krok, 0);
    ASSERT_TRUE(m_boxes.texts().isEmpty());

    m_dialogs.answerNext(exportPath());
    FaultPoint::arm(krok, FaultPoint::Fault::IoError);
    straightJob({QStringLiteral("drugi")});
    FaultPoint::disarm();
    EXPECT_FALSE(m_wydruk.przerwany());
    EXPECT_TRUE(contents(exportPath()).contains("drugi"));
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown()[0].icon, Icon::Warning);
    EXPECT_TRUE(m_boxes.shown()[0].text.startsWith(
        QStringLiteral("Uwaga: Nie udało się utrwalić zmian w katalogu ") + m_dir.path()))
        << qPrintable(m_boxes.shown()[0].text);
}

TEST_F(WydrukTest, AWriteThatFailsEndsTheJobAndLeavesTheEarlierFileWhole)
{
    PsutePliki pliki;
    m_wydruk.ustawPliki(pliki);
    QFile earlier(exportPath());
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("wcześniejszy raport\r\n");
    earlier.close();

    const struct
    {
        const char *name;
        quint8 DRTYP;
        int failingWrite;
        bool failingClose;
        QString message;
    } cases[] = {
        {"export, third line", 2, 3, false,
         QStringLiteral("Błąd zapisu do pliku : ") + exportPath()},
        {"without cutting, first line", 3, 1, false,
         QStringLiteral("Błąd zapisu do pliku : ") + exportPath()},
        {"without cutting, when it is put in place", 3, 0, true,
         QStringLiteral("Błąd zapisu do pliku : ") + exportPath()},
        {"port, second line", 1, 2, false, QStringLiteral("Błąd zapisu do portu : ") + portPath()},
        // A file standing in for the port lands only when it is closed.
        {"port, when it is closed", 1, 0, true,
         QStringLiteral("Błąd zapisu do portu : ") + portPath()},
    };
    makeTable(tablePath(), {{QStringLiteral("NR"), ftInteger, 0, false}}, {}, {{"1"}, {"2"}});
    const QByteArray table = contents(tablePath());
    for (bool unbuffered : {true, false}) {
        for (const auto &c : cases) {
            ScriptedMessageBoxes boxes;
            m_wydruk.ustawUrzadzeniePortu(QString());
            QFile::remove(portPath());
            pliki.zapisy = 0;
            pliki.zapisyPoBledzie = 0;
            pliki.zepsuty = false;
            pliki.psujZapis = c.failingWrite;
            pliki.psujZamkniecie = c.failingClose;
            m_ustawienia.DRTYP = c.DRTYP;
            m_ustawienia.DRBUFOR = unbuffered;
            m_ustawienia.DRPODZIAL = false;
            if (c.DRTYP != 1)
                m_dialogs.answerNext(exportPath());
            const std::string where = std::string(c.name) + (unbuffered ? ", unbuffered" : "");

            m_wydruk.NowyWydruk(QStringLiteral("T"), false, 5, 0, false);
            for (int i = 1; i <= 5; ++i) {
                m_wydruk.PostepWydruku();
                m_wydruk.DrukujWiersz(QStringLiteral("wiersz %1").arg(i));
            }
            m_wydruk.ZakonczWydruk(true);
            if (!unbuffered)
                m_wydruk.KDRUKClick();

            EXPECT_EQ(boxes.texts(), QStringList{c.message}) << where;
            EXPECT_EQ(pliki.zapisyPoBledzie, 0) << where;
            EXPECT_TRUE(m_wydruk.przerwany()) << where;
            EXPECT_FALSE(m_postep.widoczne) << where;
            EXPECT_EQ(contents(exportPath()), "wcześniejszy raport\r\n") << where;
            EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"eksport"),
                      QStringList{QStringLiteral("eksport.txt")})
                << where;
            if (c.DRTYP == 1 && c.failingWrite > 0) {
                EXPECT_EQ(lines(port()).size(), c.failingWrite - 1) << where;
            }
        }
    }
}

TEST_F(WydrukTest, APageThatCannotHoldItsTopIsRefusedBeforeAnythingIsPrinted)
{
    const struct
    {
        const char *name;
        quint8 DRTYP;
        int linesPerPage;
        int topMargin;
        int pageHeight;
        bool refused;
    } cases[] = {
        // The top: the margin, two header lines and three heading lines.
        {"DOS, one line short", 1, 8, 4, 0, true},
        {"DOS, just enough", 1, 9, 4, 0, false},
        {"DOS, the margin's low byte counts", 1, 9, 256 + 4, 0, false},
        // The last top line may start 50 units above the foot. The margin lines are taken at the
        // largest size, 65 units; the header lines are condensed, 40, and so are the heading
        // lines after them.
        {"Windows, a unit short", 0, 70, 2, 65 * 2 + 40 * 2 + 40 * 2 + 50 - 1, true},
        {"Windows, just enough", 0, 70, 2, 65 * 2 + 40 * 2 + 40 * 2 + 50, false},
    };
    makeTable(tablePath(), {{QStringLiteral("NR"), ftInteger, 0, false}}, {}, {{"1"}, {"2"}});
    const QByteArray table = contents(tablePath());
    for (bool unbuffered : {true, false}) {
        for (const auto &c : cases) {
            ScriptedMessageBoxes boxes;
            m_wydruk.ustawUrzadzeniePortu(QString());
            QFile::remove(portPath());
            UstawieniaDruku settings;
            settings.DRTYP = c.DRTYP;
            settings.DRLINIDOS = c.linesPerPage;
            settings.DRGORA = c.topMargin;
            settings.DRBUFOR = unbuffered;
            m_ustawienia = settings;
            m_drukarka.dpi = 300;
            m_drukarka.wysokosc = c.pageHeight;
            m_drukarka.rozpoczecia = 0;
            const std::string where = std::string(c.name) + (unbuffered ? ", unbuffered" : "");

            for (int i = 1; i <= 3; ++i)
                m_wydruk.WierszeNaglowka[i] = QStringLiteral("nagłówek %1").arg(i);
            m_wydruk.NowyWydruk(QStringLiteral("T"), false, 0, 3, true);
            for (int i = 0; i < 30; ++i)
                m_wydruk.DrukujWiersz(QStringLiteral("wiersz"));
            m_wydruk.ZakonczWydruk(false);
            if (!unbuffered)
                m_wydruk.KDRUKClick();

            EXPECT_EQ(m_wydruk.przerwany(), c.refused) << where;
            ASSERT_EQ(boxes.shown().size(), c.refused ? 1 : 0) << where;
            if (c.refused) {
                EXPECT_TRUE(boxes.texts().front().startsWith(
                    QStringLiteral("Strona nie pomieści swojego nagłówka.\r")))
                    << where;
                EXPECT_FALSE(QFile::exists(portPath())) << where;
                EXPECT_EQ(m_drukarka.rozpoczecia, 0) << where;
                EXPECT_FALSE(m_postep.widoczne) << where;
            } else if (c.DRTYP == 1) {
                EXPECT_GE(lines(port()).count("\x0C"), 3) << where;
            } else {
                EXPECT_GE(m_drukarka.strony.size(), 3) << where;
            }
        }
    }
}

TEST_F(WydrukTest, AWindowsPageThatFailsEndsTheDocument)
{
    m_drukarka.wysokosc = 200;
    m_drukarka.psujNowaStrone = 1;
    m_ustawienia.DRTYP = 0;
    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << QStringLiteral("w%1").arg(i);
    straightJob(many, true);
    EXPECT_EQ(m_boxes.texts(), QStringList{QStringLiteral("Błąd drukarki testowej")});
    EXPECT_TRUE(m_wydruk.przerwany());
    EXPECT_EQ(m_drukarka.przerwania, 1);
    EXPECT_EQ(m_drukarka.zakonczenia, 0);
    EXPECT_EQ(m_drukarka.strony.size(), 1);
}

} // namespace
} // namespace rawen::test
