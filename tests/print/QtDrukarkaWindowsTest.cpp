#include "print/QtDrukarkaWindows.h"

#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/Printers.h"
#include "platform/QtPrinters.h"
#include "print/SiatkaTabeli.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "support/PrintFakes.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

class PdfPrinter final : public Printers
{
public:
    QStringList names() const override { return {QtPrinters::pdfPrinterName()}; }
    QString currentName() const override { return QtPrinters::pdfPrinterName(); }
    void select(const QString &) override {}
    void setup() override {}
};

struct Word
{
    double x = 0;
    double y = 0;
    QString text;
    double xMax = 0;
};

// What Poppler reads back from a PDF. The tools come with poppler-utils, which the set-up installs.
QString poppler(const QString &tool, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        ADD_FAILURE() << tool.toStdString()
                      << " is missing: scripts/install-deps installs poppler-utils";
        return {};
    }
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The words of each page with the top left of their boxes, in points.
QList<QList<Word>> words(const QString &pdf)
{
    const QString html = poppler(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"});
    QList<QList<Word>> pages;
    static const QRegularExpression tag(QString::fromLatin1(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)"[^>]*>([^<]*)</word>)re"));
    for (auto match = tag.globalMatch(html); match.hasNext();) {
        const auto found = match.next();
        if (found.captured(0) == u"<page ") {
            pages.append(QList<Word>());
        } else if (!pages.isEmpty()) {
            pages.back().append({found.captured(1).toDouble(), found.captured(2).toDouble(),
                                 found.captured(4), found.captured(3).toDouble()});
        }
    }
    return pages;
}

QString pdfInfo(const QString &pdf, const QString &field)
{
    for (const QString &line : poppler(QStringLiteral("pdfinfo"), {pdf}).split(u'\n')) {
        if (line.startsWith(field + u':'))
            return line.mid(field.size() + 1).trimmed();
    }
    return {};
}

const Word *find(const QList<Word> &page, const QString &text)
{
    for (const Word &word : page) {
        if (word.text == text)
            return &word;
    }
    ADD_FAILURE() << "no word " << text.toStdString();
    return nullptr;
}

constexpr double kMargin = 10 / 25.4 * 72; // the PDF printer's margin, in points

class QtDrukarkaWindowsTest : public testing::Test
{
protected:
    QtDrukarkaWindowsTest()
    {
        m_values.uzytkownik = QStringLiteral("Biuro");
        m_values.tytul = QStringLiteral("RAWEN 2.0");
        m_values.dataStartu = QStringLiteral("2024.03.15");
        m_settings.DRTYP = 0;
        m_settings.DRLINIDOS = 70;
        m_logo.fill(Qt::red);
    }

    QString pdf() const { return m_dir.filePath(QStringLiteral("wydruk.pdf")); }

    QTemporaryDir m_dir;
    ScriptedMessageBoxes m_boxes;
    ScriptedFileDialogs m_dialogs;
    PdfPrinter m_printers;
    QImage m_logo{40, 20, QImage::Format_RGB32};
    QtDrukarkaWindows m_printer{m_printers, m_logo};
    UstawieniaDruku m_settings;
    WartosciProgramu m_values;
    FakeOknoWydruku m_window;
    FakeOknoPostepu m_progress;
    Wydruk m_wydruk{m_settings, m_values, m_window, m_progress, m_printer};
};

TEST_F(QtDrukarkaWindowsTest, AJobOnThePdfPrinterKeepsThePageModel)
{
    m_settings.DRLEWY = 3;
    m_settings.DRBUFOR = true;
    m_dialogs.answerNext(pdf());
    m_wydruk.WierszeNaglowka[1] = QStringLiteral("|nagłówek|");
    m_wydruk.NowyWydruk(QStringLiteral("Zestawienie kont"), false, 0, 1, true);
    m_wydruk.DrukujLogo = true;
    m_wydruk.DrukujWiersz(m_wydruk.WierszeNaglowka[1]);
    for (int i = 1; i <= 100; ++i)
        m_wydruk.DrukujWiersz(QStringLiteral("wiersz%1").arg(i, 3, 10, QLatin1Char('0')));
    for (const char *line : {"&Nnormalny1", "normalny2", "&Rszeroki1", "szeroki2", "&Gżółć"})
        m_wydruk.DrukujWiersz(QString::fromUtf8(line));
    m_wydruk.ZakonczWydruk(false);
    ASSERT_TRUE(m_boxes.shown().isEmpty()) << m_boxes.texts().join(u'|').toStdString();
    ASSERT_EQ(m_dialogs.asked().size(), 1);
    EXPECT_EQ(m_dialogs.asked().front().fileName, u"Zestawienie kont.pdf");
    EXPECT_EQ(m_dialogs.asked().front().defaultSuffix, u"pdf");

    // 1200 dots per inch: four per unit; an A4 page less its margins, 277 mm, is 3274 units high.
    EXPECT_DOUBLE_EQ(m_wydruk.Skala(), 4.0);
    EXPECT_EQ(m_wydruk.WysokoscStrony(), 3274);
    EXPECT_EQ(pdfInfo(pdf(), QStringLiteral("Title")), u"Zestawienie kont");
    EXPECT_EQ(pdfInfo(pdf(), QStringLiteral("Pages")), u"2");
    EXPECT_EQ(m_wydruk.NrStrony(), 2);

    const QList<QList<Word>> pages = words(pdf());
    ASSERT_EQ(pages.size(), 2);
    const Word *first = find(pages[0], QStringLiteral("wiersz001"));
    const Word *second = find(pages[0], QStringLiteral("wiersz002"));
    ASSERT_TRUE(first && second);
    // The left margin: three fifteenths of an inch inside the page's own margin.
    EXPECT_NEAR(first->x, kMargin + 3 * 72 / 15.0, 0.5);
    // A condensed line is 40 units high: 9.6 points.
    EXPECT_NEAR(second->y - first->y, 9.6, 0.05);
    // The page header starts at the top of the printable area, the page number in its place.
    const Word *user = find(pages[0], QStringLiteral("Biuro"));
    ASSERT_TRUE(user);
    EXPECT_NEAR(user->y, kMargin, 1.5);
    EXPECT_NEAR(first->y - user->y, 3 * 9.6, 0.05);

    // The second page starts with its top: the header with page 2 and the heading line.
    const QList<Word> &page2 = pages[1];
    ASSERT_GE(page2.size(), 10);
    EXPECT_EQ(page2[0].text, u"Biuro");
    EXPECT_NEAR(page2[0].y, user->y, 0.05);
    const Word *number = find(page2, QStringLiteral("2"));
    const Word *heading = find(page2, QStringLiteral("|nagłówek|"));
    const Word *program = find(page2, QStringLiteral("Program"));
    ASSERT_TRUE(number && heading && program);
    // Fixed pitch: "Program" starts 31 cells after the user name, the page number 89.
    const double cell = (program->x - page2[0].x) / 31;
    EXPECT_NEAR(cell, 0.6 * 8, 0.05);
    EXPECT_NEAR(number->x - page2[0].x, 89 * cell, 0.1);
    EXPECT_NEAR(heading->y - page2[0].y, 2 * 9.6, 0.05);
    // Normal lines are 50 units apart, expanded ones 65.
    const Word *normal1 = find(page2, QStringLiteral("normalny1"));
    const Word *normal2 = find(page2, QStringLiteral("normalny2"));
    const Word *wide1 = find(page2, QStringLiteral("szeroki1"));
    const Word *wide2 = find(page2, QStringLiteral("szeroki2"));
    ASSERT_TRUE(normal1 && normal2 && wide1 && wide2);
    EXPECT_NEAR(normal2->y - normal1->y, 12.0, 0.05);
    EXPECT_NEAR(wide2->y - wide1->y, 15.6, 0.05);
    EXPECT_NE(find(page2, QStringLiteral("żółć")), nullptr);

    // The logo, at the end of the document only, on the last page.
    const QStringList images =
        poppler(QStringLiteral("pdfimages"), {"-list", pdf()}).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(images.size(), 3) << images.join(u'\n').toStdString();
    EXPECT_TRUE(images[2].trimmed().startsWith(u"2 ")) << images[2].toStdString();
}

// A table wider than the page loses no column: the page is fitted to its widest line, in
// smaller letters of the same face down to 6 points, then on its side; a line that fits neither
// is said before anything is printed. Buffered, or unbuffered as the print command prints.
TEST_F(QtDrukarkaWindowsTest, AWideTableIsFittedToThePageOrSaidNotToFit)
{
    struct Przypadek
    {
        int kolumny; // of 6 characters each: 1 + 6n characters a line
        bool bezBufora;
        bool poziomo;
        double pismo; // the point size the table's lines are printed at
        bool pytanie;
    };
    // An A4 page less 10 mm margins is 538.6 points wide, 785.2 on its side; a character of the
    // face is 0.6 of its size.
    const QList<Przypadek> przypadki{
        {10, false, false, 8.0, false}, // 61 characters: as they are
        {20, true, false, 7.42, false}, // 121: smaller letters
        {35, false, true, 6.2, false},  // 211: on its side, smaller letters
        {35, true, true, 6.2, false},   {70, true, true, 6.0, true}, // 421: fits nowhere
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.kolumny);
        SCOPED_TRACE(p.bezBufora);
        QFile::remove(pdf());
        const QString sciezka = m_dir.filePath(QStringLiteral("T%1.DB").arg(p.kolumny));
        QList<FieldDef> pola;
        QStringList rekord;
        for (int i = 1; i <= p.kolumny; ++i) {
            pola << FieldDef{QStringLiteral("K%1").arg(i, 2, 10, QLatin1Char('0')), ftString, 5,
                             false};
            rekord << QStringLiteral("w%1").arg(i);
        }
        makeTable(sciezka, pola, {}, {rekord, rekord});
        Table tabela;
        tabela.setTableName(sciezka);
        tabela.open();
        SiatkaTabeli siatka(tabela);

        m_settings.DRBUFOR = p.bezBufora;
        const qsizetype pudla = m_boxes.shown().size();
        if (p.pytanie)
            m_boxes.answerNext(MessageBoxes::Answer::Yes);
        m_dialogs.answerNext(pdf());
        ASSERT_TRUE(m_wydruk.DrukujTabeleX(siatka, QStringLiteral("Tabela"), QString(), 0));
        if (!p.bezBufora)
            m_wydruk.KDRUKClick();
        ASSERT_FALSE(m_wydruk.przerwany());
        ASSERT_EQ(m_boxes.shown().size(), pudla + (p.pytanie ? 1 : 0))
            << m_boxes.texts().join(u'|').toStdString();
        if (p.pytanie) {
            EXPECT_EQ(m_boxes.shown().last().buttons, MessageBoxes::Buttons::YesNo);
            EXPECT_TRUE(m_boxes.shown().last().text.startsWith(
                QStringLiteral("Najszerszy wiersz wydruku ma 421 znaków i nie zmieści się")))
                << qPrintable(m_boxes.shown().last().text);
        }

        const QString rozmiar = pdfInfo(pdf(), QStringLiteral("Page size"));
        EXPECT_TRUE(rozmiar.startsWith(p.poziomo ? QStringLiteral("842 x 595")
                                                 : QStringLiteral("595 x 842")))
            << qPrintable(rozmiar);
        const double szerokosc = (p.poziomo ? 841.89 : 595.276) - kMargin;
        const QList<QList<Word>> pages = words(pdf());
        ASSERT_EQ(pages.size(), 1);
        const Word *pierwsza = find(pages[0], QStringLiteral("K01"));
        const Word *druga = find(pages[0], QStringLiteral("K02"));
        ASSERT_TRUE(pierwsza && druga);
        EXPECT_NEAR((druga->x - pierwsza->x) / 6, 0.6 * p.pismo, 0.6 * 0.1);
        if (!p.pytanie) {
            // Every column, and the last character of every line inside the page.
            EXPECT_TRUE(find(pages[0], QStringLiteral("K%1").arg(p.kolumny)));
            EXPECT_TRUE(find(pages[0], QStringLiteral("|w%1").arg(p.kolumny)));
            double prawa = 0;
            for (const Word &slowo : pages[0])
                prawa = std::max(prawa, slowo.xMax);
            EXPECT_LE(prawa, szerokosc + 0.5);
        }
    }

    // No, and nothing is printed: no file is asked for, none is made.
    QFile::remove(pdf());
    Table tabela;
    tabela.setTableName(m_dir.filePath(QStringLiteral("T70.DB")));
    tabela.open();
    SiatkaTabeli siatka(tabela);
    const qsizetype pytania = m_dialogs.asked().size();
    m_boxes.answerNext(MessageBoxes::Answer::No);
    EXPECT_FALSE(m_wydruk.DrukujTabeleX(siatka, QStringLiteral("Tabela"), QString(), 0));
    EXPECT_TRUE(m_wydruk.przerwany());
    EXPECT_EQ(m_dialogs.asked().size(), pytania);
    EXPECT_FALSE(QFile::exists(pdf()));
}

TEST_F(QtDrukarkaWindowsTest, ThePdfTakesThePlaceOfAnEarlierOneOnlyWhenWhole)
{
    QFile earlier(pdf());
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();

    m_dialogs.answerNext(pdf());
    ASSERT_EQ(m_printer.rozpocznij(QStringLiteral("Dokument")), DrukarkaWindows::Wynik::Gotowe);
    m_printer.ustawCzcionke(QStringLiteral("Lucida console"), 8);
    m_printer.rysujTekst(0, 0, QStringLiteral("tekst"));
    ASSERT_TRUE(m_printer.nowaStrona());
    EXPECT_EQ(QFile(pdf()).size(), 7);
    m_printer.przerwij();
    EXPECT_EQ(QFile(pdf()).size(), 7);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("wydruk.pdf")});

    m_dialogs.answerNext(pdf());
    ASSERT_EQ(m_printer.rozpocznij(QStringLiteral("Dokument")), DrukarkaWindows::Wynik::Gotowe);
    m_printer.rysujTekst(0, 0, QStringLiteral("tekst"));
    ASSERT_TRUE(m_printer.zakoncz());
    EXPECT_EQ(pdfInfo(pdf(), QStringLiteral("Pages")), u"1");
}

TEST_F(QtDrukarkaWindowsTest, AFileGivenUpOrRefusedStartsNoDocument)
{
    m_dialogs.cancelNext();
    EXPECT_EQ(m_printer.rozpocznij(QStringLiteral("Dokument")), DrukarkaWindows::Wynik::Anulowane);

    const QString nowhere = m_dir.filePath(QStringLiteral("brak/wydruk.pdf"));
    m_dialogs.answerNext(nowhere);
    EXPECT_EQ(m_printer.rozpocznij(QStringLiteral("Dokument")), DrukarkaWindows::Wynik::Blad);
    EXPECT_EQ(m_printer.blad(), QStringLiteral("Błąd otwarcia pliku : ") + nowhere);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("brak"))));

    // A table chosen in the dialog stays a table.
    const QString tabela = m_dir.filePath(QStringLiteral("FIRMA.DB"));
    makeTable(tabela, {{QStringLiteral("NR"), ftInteger, 0, false}}, {}, {{"1"}});
    const QByteArray przed = fileBytes(tabela);
    m_dialogs.answerNext(tabela);
    EXPECT_EQ(m_printer.rozpocznij(QStringLiteral("Dokument")), DrukarkaWindows::Wynik::Blad);
    EXPECT_EQ(m_printer.blad(), QStringLiteral("Błąd otwarcia pliku : ") + tabela +
                                    QStringLiteral("\rPrzyczyna: plik jest bazą danych (tabelą); "
                                                   "wydruk zastąpiłby jej zawartość"));
    EXPECT_EQ(fileBytes(tabela), przed);

    // A title that is no file name still gives one.
    m_dialogs.cancelNext();
    m_printer.rozpocznij(QStringLiteral("Raport 1/2: \"A\""));
    EXPECT_EQ(m_dialogs.asked().back().fileName, u"Raport 1_2_ _A_.pdf");
}

} // namespace
} // namespace rawen::test
