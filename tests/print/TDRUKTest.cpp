#include "print/TDRUK.h"

#include "data/WartosciProgramu.h"
#include "platform/Printers.h"
#include "platform/Registry.h"
#include "print/Wydruk.h"
#include "support/FixedAppContext.h"
#include "support/PrintFakes.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace rawen::test {
namespace {

using Icon = MessageBoxes::Icon;

class FakePrinters final : public Printers
{
public:
    QStringList list;
    QString current;
    QStringList selected;
    int setupRuns = 0;

    QStringList names() const override { return list; }
    QString currentName() const override { return current; }
    void select(const QString &name) override
    {
        selected.append(name);
        current = name;
    }
    void setup() override { ++setupRuns; }
};

AppContext inDirectory(const QString &directory)
{
    AppContext context;
    context.today = QDate(2024, 3, 15);
    context.executablePath = QStringLiteral("/opt/rawen/rawen");
    context.currentDirectory = directory;
    return context;
}

class TDRUKTest : public testing::Test
{
protected:
    TDRUKTest()
    {
        Registry::redirectTo(m_dir.path());
        m_printers.list = {QStringLiteral("HP LaserJet"), QStringLiteral("Canon")};
        m_printers.current = QStringLiteral("Canon");
    }
    ~TDRUKTest() override { Registry::redirectTo(QString()); }

    QString registryFile() const { return m_dir.filePath(QStringLiteral("DRUK.ini")); }

    void storeInRegistry(const QByteArray &lines)
    {
        QFile file(registryFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\n" + lines);
    }

    std::unique_ptr<TDRUK> window()
    {
        return std::make_unique<TDRUK>(m_printers, m_progress, m_values);
    }

    // A window as the user meets it: created and shown.
    std::unique_ptr<TDRUK> shownWindow()
    {
        auto w = window();
        w->show();
        return w;
    }

    template <typename T> static T *control(const TDRUK &w, const char *name)
    {
        T *found = w.findChild<T *>(QString::fromLatin1(name));
        if (!found)
            ADD_FAILURE() << "no control " << name;
        return found;
    }

    QTemporaryDir m_dir;
    FixedAppContext m_context{inDirectory(m_dir.path())};
    ScriptedMessageBoxes m_boxes;
    FakePrinters m_printers;
    FakeOknoPostepu m_progress;
    WartosciProgramu m_values;
};

TEST_F(TDRUKTest, ControlsCarryTheirCaptions)
{
    const auto w = window();
    EXPECT_EQ(w->windowTitle(), u"Moduł wydruku");
    const struct
    {
        const char *name;
        QString caption;
    } captions[] = {
        {"GBWINDOWS", QStringLiteral("Wydruk WINDOWS")},
        {"GBDOS", QStringLiteral("Wydruk DOS")},
        {"GBEXPORT", QStringLiteral("EXPORT")},
        {"GBPARAMETRY", QStringLiteral("PARAMETRY")},
        {"ERD", QStringLiteral("Rodzaj wydruku :")},
        {"EPL", QStringLiteral("Kodowanie polskich liter :")},
        {"BW", QStringLiteral("Bez wycinania")},
        {"ETXT", QStringLiteral("Plik tekstowy  - TXT")},
        {"KDRUK", QStringLiteral("DRUKUJ")},
        {"KZAPISZ", QStringLiteral("ZAPISZ USTAWIENIA")},
        {"EPodzial", QStringLiteral("podział strony")},
        {"EBUFOR", QStringLiteral("bez bufora")},
        {"LDRUKARKA", QStringLiteral("Drukarka :")},
        {"LPORT", QStringLiteral("Port wydruku :")},
        {"LMARGINESG", QStringLiteral("margines górny :")},
        {"LMARGINESL", QStringLiteral("margines lewy :")},
        {"LWIERSZY", QStringLiteral("wierszy :")},
    };
    for (const auto &c : captions) {
        const QWidget *widget = control<QWidget>(*w, c.name);
        ASSERT_NE(widget, nullptr);
        const QVariant text =
            widget->property(qobject_cast<const QGroupBox *>(widget) ? "title" : "text");
        EXPECT_EQ(text.toString(), c.caption) << c.name;
    }

    const struct
    {
        const char *prefix;
        QStringList items;
    } groups[] = {
        {"ERD", {"automatyczny", "zagęszczony", "normalny", "rozstrzelony"}},
        {"EPL", {"brak", "MAZOVIA", "LATIN", "WINDOWS"}},
    };
    for (const auto &g : groups) {
        for (int i = 0; i < 4; ++i) {
            const auto *item = control<QRadioButton>(*w, (g.prefix + std::to_string(i)).c_str());
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->text(), g.items[i]);
            EXPECT_EQ(item->parentWidget()->objectName(), g.prefix);
        }
    }

    auto *port = control<QComboBox>(*w, "EPORT");
    EXPECT_TRUE(port->isEditable());
    EXPECT_EQ(port->count(), 3);
    EXPECT_EQ(port->itemText(2), u"LPT3");

    const auto *txt = control<QCheckBox>(*w, "ETXT");
    EXPECT_TRUE(txt->isChecked());
    EXPECT_FALSE(txt->isEnabled());

    // Two digits, and the number alone on the screen, with no mask blank beside it.
    for (const char *edit : {"MARGINESG", "MARGINESL", "WIERSZY"}) {
        SCOPED_TRACE(edit);
        auto *pole = control<QLineEdit>(*w, edit);
        pole->setText(QStringLiteral("7"));
        EXPECT_EQ(pole->displayText(), u"7");
        pole->selectAll();
        QTest::keyClicks(pole, QStringLiteral("1x2-34"));
        EXPECT_EQ(pole->text(), u"12");
        EXPECT_EQ(pole->displayText(), u"12");
    }
}

TEST_F(TDRUKTest, FirstRunWithoutTheKeyShowsTheDefaults)
{
    const auto w = shownWindow();
    EXPECT_TRUE(m_boxes.shown().isEmpty());
    EXPECT_FALSE(w->wydruk().DrukujOdRazu);
    EXPECT_FALSE(w->wydruk().DrukujLogo);
    EXPECT_EQ(w->ustawienia().DRLINIDOS, 70);

    EXPECT_TRUE(control<QRadioButton>(*w, "EWINDOWS")->isChecked());
    EXPECT_EQ(control<QComboBox>(*w, "EPORT")->currentText(), u"LPT1");
    EXPECT_TRUE(control<QRadioButton>(*w, "ERD0")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(*w, "EPL0")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(*w, "EPodzial")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(*w, "EBUFOR")->isChecked());
    EXPECT_EQ(control<QLineEdit>(*w, "MARGINESG")->displayText(), u"0");
    EXPECT_EQ(control<QLineEdit>(*w, "MARGINESL")->displayText(), u"0");
    EXPECT_EQ(control<QLineEdit>(*w, "WIERSZY")->displayText(), u"70");
}

TEST_F(TDRUKTest, ShowingPutsEverySettingIntoItsControl)
{
    storeInRegistry("DRTYP=2\nDRPORT=1\nDRRODZAJ=3\nDRPL=2\nDRPODZIAL=1\nDRBUFOR=1\n"
                    "DRLEWY=7\nDRGORA=12\nDRLINIDOS=55\n");
    const auto w = shownWindow();
    const UstawieniaDruku before = w->ustawienia();

    EXPECT_FALSE(control<QRadioButton>(*w, "EWINDOWS")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(*w, "EDOS")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(*w, "EEXPORT")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(*w, "BW")->isChecked());
    EXPECT_EQ(control<QComboBox>(*w, "EPORT")->currentText(), u"LPT2");
    EXPECT_TRUE(control<QRadioButton>(*w, "ERD3")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(*w, "EPL2")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(*w, "EPodzial")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(*w, "EBUFOR")->isChecked());
    EXPECT_EQ(control<QLineEdit>(*w, "MARGINESG")->text(), u"12");
    EXPECT_EQ(control<QLineEdit>(*w, "MARGINESL")->text(), u"7");
    EXPECT_EQ(control<QLineEdit>(*w, "WIERSZY")->text(), u"55");

    // A change a print job makes shows the next time the window is shown.
    w->hide();
    w->ustawienia().DRPODZIAL = false;
    w->ustawienia().DRTYP = 1;
    w->show();
    EXPECT_FALSE(control<QCheckBox>(*w, "EPodzial")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(*w, "EDOS")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(*w, "EEXPORT")->isChecked());
    UstawieniaDruku expected = before;
    expected.DRPODZIAL = false;
    expected.DRTYP = 1;
    EXPECT_EQ(w->ustawienia(), expected);
}

TEST_F(TDRUKTest, ValuesTheControlsCannotShowStayAsRead)
{
    storeInRegistry("DRTYP=7\nDRPORT=5\nDRRODZAJ=4\nDRLINIDOS=120\n");
    const auto w = shownWindow();

    for (const char *channel : {"EWINDOWS", "EDOS", "EEXPORT", "BW"})
        EXPECT_FALSE(control<QRadioButton>(*w, channel)->isChecked()) << channel;
    EXPECT_EQ(control<QComboBox>(*w, "EPORT")->currentText(), u"");
    for (const char *density : {"ERD0", "ERD1", "ERD2", "ERD3"})
        EXPECT_FALSE(control<QRadioButton>(*w, density)->isChecked()) << density;
    EXPECT_EQ(int(w->ustawienia().DRTYP), 7);
    EXPECT_EQ(int(w->ustawienia().DRPORT), 5);
    EXPECT_EQ(int(w->ustawienia().DRRODZAJ), 4);
    EXPECT_EQ(w->ustawienia().DRLINIDOS, 120);

    control<QPushButton>(*w, "KZAPISZ")->click();
    const QSettings stored(registryFile(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("DRTYP").toInt(), 0);
    EXPECT_EQ(stored.value("DRPORT").toInt(), 0);
    EXPECT_EQ(stored.value("DRRODZAJ").toInt(), 0);
    EXPECT_EQ(stored.value("DRLINIDOS").toInt(), 120);
}

TEST_F(TDRUKTest, AChannelButtonUnchecksTheOthersAcrossGroupBoxes)
{
    const char *const channels[] = {"EWINDOWS", "EDOS", "EEXPORT", "BW"};
    const auto w = shownWindow();
    // From each channel to each other one, and a click on the checked one.
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 4; ++to) {
            control<QRadioButton>(*w, channels[from])->click();
            control<QRadioButton>(*w, channels[to])->click();
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(control<QRadioButton>(*w, channels[i])->isChecked(), i == to)
                    << channels[from] << " then " << channels[to] << ": " << channels[i];
            }
            EXPECT_EQ(int(w->ustawienia().DRTYP), to) << channels[from] << " then " << channels[to];
        }
    }
}

TEST_F(TDRUKTest, PortFollowsTheItemsOnly)
{
    const auto w = shownWindow();
    auto *port = control<QComboBox>(*w, "EPORT");
    port->setCurrentIndex(2);
    EXPECT_EQ(int(w->ustawienia().DRPORT), 2);

    // With the focus, as the user types, a completing combo box would offer "LPT1" on the way.
    QApplication::setActiveWindow(w.get());
    port->setFocus();
    ASSERT_TRUE(port->lineEdit()->hasFocus());
    port->lineEdit()->selectAll();
    QTest::keyClicks(port->lineEdit(), QStringLiteral("LPT4"));
    EXPECT_EQ(port->currentText(), u"LPT4");
    EXPECT_EQ(int(w->ustawienia().DRPORT), 2);

    port->lineEdit()->selectAll();
    QTest::keyClicks(port->lineEdit(), QStringLiteral("LPT2"));
    EXPECT_EQ(int(w->ustawienia().DRPORT), 1);
    QTest::keyClick(port->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(port->count(), 3);

    port->setCurrentIndex(0);
    EXPECT_EQ(int(w->ustawienia().DRPORT), 0);
}

TEST_F(TDRUKTest, RadioGroupsAndCheckBoxesSetTheirSettings)
{
    const auto w = shownWindow();
    for (int i : {2, 3, 1, 0}) {
        control<QRadioButton>(*w, ("ERD" + std::to_string(i)).c_str())->click();
        EXPECT_EQ(int(w->ustawienia().DRRODZAJ), i);
        control<QRadioButton>(*w, ("EPL" + std::to_string(i)).c_str())->click();
        EXPECT_EQ(int(w->ustawienia().DRPL), i);
    }
    for (bool on : {true, false}) {
        control<QCheckBox>(*w, "EPodzial")->click();
        EXPECT_EQ(w->ustawienia().DRPODZIAL, on);
        control<QCheckBox>(*w, "EBUFOR")->click();
        EXPECT_EQ(w->ustawienia().DRBUFOR, on);
    }
}

TEST_F(TDRUKTest, EditsSetTheirNumbers)
{
    const auto w = shownWindow();
    const struct
    {
        const char *edit;
        qint32 UstawieniaDruku::*setting;
    } edits[] = {{"MARGINESG", &UstawieniaDruku::DRGORA},
                 {"MARGINESL", &UstawieniaDruku::DRLEWY},
                 {"WIERSZY", &UstawieniaDruku::DRLINIDOS}};
    for (const auto &e : edits) {
        auto *edit = control<QLineEdit>(*w, e.edit);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("5"));
        EXPECT_EQ(w->ustawienia().*e.setting, 5) << e.edit;
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("42"));
        EXPECT_EQ(w->ustawienia().*e.setting, 42) << e.edit;
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        EXPECT_EQ(w->ustawienia().*e.setting, 0) << e.edit;
    }
}

TEST_F(TDRUKTest, FiveLinesStoredReadAsSeventyButEnteredStayFive)
{
    storeInRegistry("DRLINIDOS=5\n");
    const auto w = shownWindow();
    EXPECT_EQ(w->ustawienia().DRLINIDOS, 70);

    auto *lines = control<QLineEdit>(*w, "WIERSZY");
    lines->selectAll();
    QTest::keyClicks(lines, QStringLiteral("5"));
    EXPECT_EQ(w->ustawienia().DRLINIDOS, 5);
    w->hide();
    w->show();
    EXPECT_EQ(w->ustawienia().DRLINIDOS, 5);
    EXPECT_EQ(lines->text(), u"5");
}

TEST_F(TDRUKTest, SavingStoresAllTenValuesForTheNextRun)
{
    storeInRegistry("DREKSPORT=3\n");
    {
        const auto w = shownWindow();
        control<QRadioButton>(*w, "BW")->click();
        control<QComboBox>(*w, "EPORT")->setCurrentIndex(2);
        control<QRadioButton>(*w, "ERD1")->click();
        control<QRadioButton>(*w, "EPL3")->click();
        control<QCheckBox>(*w, "EPodzial")->click();
        for (const auto &[edit, text] : {std::pair{"MARGINESG", "3"}, std::pair{"MARGINESL", "14"},
                                         std::pair{"WIERSZY", "60"}}) {
            auto *e = control<QLineEdit>(*w, edit);
            e->selectAll();
            QTest::keyClicks(e, QString::fromLatin1(text));
        }
        control<QPushButton>(*w, "KZAPISZ")->click();
    }
    EXPECT_TRUE(m_boxes.shown().isEmpty());

    const QSettings stored(registryFile(), QSettings::IniFormat);
    const struct
    {
        const char *name;
        int value;
    } expected[] = {{"DRTYP", 3},  {"DRPORT", 2},    {"DREKSPORT", 0}, {"DRRODZAJ", 1},
                    {"DRPL", 3},   {"DRPODZIAL", 1}, {"DRBUFOR", 0},   {"DRLEWY", 14},
                    {"DRGORA", 3}, {"DRLINIDOS", 60}};
    EXPECT_EQ(stored.childKeys().size(), 10);
    for (const auto &e : expected)
        EXPECT_EQ(stored.value(e.name).toString(), QString::number(e.value)) << e.name;

    const auto next = window();
    UstawieniaDruku read;
    read.DRTYP = 3;
    read.DRPORT = 2;
    read.DRRODZAJ = 1;
    read.DRPL = 3;
    read.DRPODZIAL = true;
    read.DRLEWY = 14;
    read.DRGORA = 3;
    read.DRLINIDOS = 60;
    EXPECT_EQ(next->ustawienia(), read);
}

TEST_F(TDRUKTest, PrinterListStartsOnTheCurrentPrinterAndAChoiceSelectsIt)
{
    const auto w = shownWindow();
    auto *list = control<QComboBox>(*w, "EDRUKARKA");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentText(), u"Canon");
    EXPECT_TRUE(m_printers.selected.isEmpty());

    list->setCurrentIndex(0);
    EXPECT_EQ(m_printers.selected, QStringList{QStringLiteral("HP LaserJet")});

    control<QToolButton>(*w, "SpeedButton1")->click();
    EXPECT_EQ(m_printers.setupRuns, 1);
}

void writeLogo(const QString &path)
{
    QImage logo(4, 3, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(path, "BMP"));
}

TEST_F(TDRUKTest, NoPrinterAnsweredOkEndsCreation)
{
    storeInRegistry("DRTYP=1\nDRLINIDOS=50\n");
    writeLogo(m_dir.filePath(QStringLiteral("logo.bmp")));
    m_printers.list.clear();
    m_printers.current.clear();

    const auto w = window();
    ASSERT_EQ(m_boxes.shown().size(), 1);
    const ShownBox &box = m_boxes.shown().front();
    EXPECT_EQ(box.icon, Icon::Warning);
    EXPECT_EQ(box.caption, MessageBoxes::defaultCaption(Icon::Warning));
    EXPECT_EQ(box.text, u"Uwaga nie posiadasz zainstalowanej drukarki !!");
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);

    EXPECT_EQ(w->ustawienia(), UstawieniaDruku());
    EXPECT_TRUE(w->logo().isNull());
}

TEST_F(TDRUKTest, NoPrinterBoxClosedOtherwiseGoesOn)
{
    storeInRegistry("DRTYP=1\nDRLINIDOS=50\n");
    writeLogo(m_dir.filePath(QStringLiteral("logo.bmp")));
    m_printers.list.clear();
    m_printers.current.clear();
    m_boxes.closeNextOkBox();

    const auto w = window();
    EXPECT_EQ(m_boxes.texts(),
              QStringList{QStringLiteral("Uwaga nie posiadasz zainstalowanej drukarki !!")});
    EXPECT_EQ(int(w->ustawienia().DRTYP), 1);
    EXPECT_EQ(w->ustawienia().DRLINIDOS, 50);
    EXPECT_FALSE(w->logo().isNull());
}

TEST_F(TDRUKTest, LogoLoadsFromTheCurrentDirectory)
{
    const QString otherCase = m_dir.filePath(QStringLiteral("Logo.BMP"));
    writeLogo(otherCase);
    {
        const auto w = window();
        EXPECT_EQ(w->logo().size(), QSize(4, 3));
        EXPECT_EQ(w->logo().pixelColor(0, 0), QColor(Qt::red));
    }

    QFile garbage(otherCase);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
    garbage.write("BM not a picture at all");
    garbage.close();
    EXPECT_TRUE(window()->logo().isNull());

    ASSERT_TRUE(QFile::remove(otherCase));
    EXPECT_TRUE(window()->logo().isNull());
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// A job as report code prints one: page header, heading lines, data and the closing line.
void printJob(Wydruk &wydruk, const QStringList &data, bool askTitle = false)
{
    wydruk.WierszeNaglowka[1] = QStringLiteral("| Nazwa        |");
    wydruk.NowyWydruk(QStringLiteral("Zestawienie"), askTitle, int(data.size()), 1, true);
    wydruk.DrukujWiersz(wydruk.WierszeNaglowka[1]);
    for (const QString &line : data) {
        wydruk.PostepWydruku();
        wydruk.DrukujWiersz(line);
    }
    wydruk.ZakonczWydruk(true);
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST_F(TDRUKTest, ABufferedJobShowsItsBufferInTheWindowWithoutModality)
{
    m_values.uzytkownik = QStringLiteral("Biuro");
    m_values.tytul = QStringLiteral("RAWEN 2.0");
    m_values.dataStartu = QStringLiteral("2024.03.15");
    const auto w = window();
    ASSERT_FALSE(w->isVisible());
    printJob(w->wydruk(), {QStringLiteral("| Łódź         |"), QStringLiteral("| Kraków       |")});

    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    auto *buffer = control<QPlainTextEdit>(*w, "EDRUK");
    const QString text = buffer->toPlainText();
    const QStringList shown = text.split(u'\n');
    ASSERT_EQ(shown.size(), 7) << text.toStdString();
    EXPECT_TRUE(shown[0].startsWith(u"&GBiuro "));
    EXPECT_TRUE(shown[0].endsWith(u" Strona : 1"));
    EXPECT_EQ(shown[1], u"&GWydruk : Zestawienie");
    EXPECT_EQ(shown[2], u"| Nazwa        |");
    EXPECT_EQ(shown[3], u"| Łódź         |");
    EXPECT_EQ(shown[5], u"&GKelmar - Koniec wydruku: Zestawienie");
    // Every line ends with its break, the last one too.
    EXPECT_EQ(shown[6], u"");
    // The job switched the page split on, and the window shows it.
    EXPECT_TRUE(control<QCheckBox>(*w, "EPodzial")->isChecked());
    EXPECT_FALSE(m_progress.widoczne);

    EXPECT_EQ(buffer->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(buffer->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(buffer->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(buffer->isReadOnly());

    // A second job replaces the buffer.
    printJob(w->wydruk(), {QStringLiteral("| Gdańsk       |")});
    EXPECT_EQ(buffer->toPlainText().split(u'\n').size(), 6);
}

TEST_F(TDRUKTest, TheBufferIsInAFixedPitchFaceBeforeAndAfterAJob)
{
    const auto w = window();
    auto *buffer = control<QPlainTextEdit>(*w, "EDRUK");
    for (const char *when : {"before", "after"}) {
        const QFontInfo font(buffer->font());
        EXPECT_TRUE(font.fixedPitch()) << when << " " << font.family().toStdString();
        EXPECT_EQ(font.pointSize(), 8) << when;
        const QFontMetrics metrics(buffer->font());
        EXPECT_EQ(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W')) << when;
        EXPECT_EQ(metrics.horizontalAdvance(u'ł'), metrics.horizontalAdvance(u'|')) << when;
        printJob(w->wydruk(), {QStringLiteral("x")});
    }
}

TEST_F(TDRUKTest, DrukujPrintsTheSelectionOrTheWholeBuffer)
{
    ScriptedFileDialogs dialogs;
    const QString exported = m_dir.filePath(QStringLiteral("eksport.txt"));
    const auto w = window();
    w->ustawienia().DRTYP = 3;
    w->ustawienia().DRPL = 3;
    Wydruk &wydruk = w->wydruk();
    wydruk.NowyWydruk(QStringLiteral("Lista"), false, 0, 0, false);
    for (const char *line : {"pierwszy", "drugi", "trzeci"})
        wydruk.DrukujWiersz(QString::fromLatin1(line));
    wydruk.ZakonczWydruk(true);
    auto *buffer = control<QPlainTextEdit>(*w, "EDRUK");

    // From the middle of "pierwszy" to the middle of "trzeci": the lines whose end lies inside.
    QTextCursor cursor(buffer->document());
    cursor.setPosition(3);
    cursor.setPosition(buffer->document()->findBlockByNumber(2).position() + 2,
                       QTextCursor::KeepAnchor);
    buffer->setTextCursor(cursor);
    dialogs.answerNext(exported);
    control<QPushButton>(*w, "KDRUK")->click();
    EXPECT_EQ(fileContents(exported), "rwszy\r\ndrugi\r\n");
    EXPECT_FALSE(buffer->textCursor().hasSelection());

    // Without a selection, everything.
    dialogs.answerNext(exported);
    control<QPushButton>(*w, "KDRUK")->click();
    EXPECT_EQ(fileContents(exported),
              "pierwszy\r\ndrugi\r\ntrzeci\r\nKelmar - Koniec wydruku: Lista\r\n");
    EXPECT_FALSE(buffer->textCursor().hasSelection());
    EXPECT_EQ(dialogs.asked().size(), 2);
    EXPECT_TRUE(m_boxes.shown().isEmpty()) << m_boxes.texts().join(u'|').toStdString();
}

TEST_F(TDRUKTest, TheTitlePromptGivesTheJobItsTitle)
{
    const auto w = window();
    QString shownTitle;
    // The prompt is modal: the answer comes from inside its loop.
    QMetaObject::invokeMethod(
        qApp,
        [&shownTitle] {
            QWidget *prompt = QApplication::activeModalWidget();
            ASSERT_NE(prompt, nullptr);
            EXPECT_EQ(prompt->objectName(), u"TDRUKTYT");
            auto *edit = prompt->findChild<QLineEdit *>(QStringLiteral("Etytul"));
            shownTitle = edit->text();
            edit->setText(QStringLiteral("Zestawienie za marzec"));
            prompt->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        },
        Qt::QueuedConnection);
    printJob(w->wydruk(), {QStringLiteral("x")}, true);
    EXPECT_EQ(shownTitle, u"Zestawienie");
    EXPECT_EQ(w->wydruk().TytulWydruku(), u"Zestawienie za marzec");
    EXPECT_TRUE(control<QPlainTextEdit>(*w, "EDRUK")
                    ->toPlainText()
                    .contains(u"&GWydruk : Zestawienie za marzec\n"));

    // Closed without OK, the prompt still gives its text; it is the same prompt as before.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            QWidget *prompt = QApplication::activeModalWidget();
            ASSERT_NE(prompt, nullptr);
            prompt->findChild<QLineEdit *>(QStringLiteral("Etytul"))
                ->setText(QStringLiteral("Inny tytuł"));
            prompt->close();
        },
        Qt::QueuedConnection);
    printJob(w->wydruk(), {QStringLiteral("x")}, true);
    EXPECT_EQ(w->wydruk().TytulWydruku(), u"Inny tytuł");
}

} // namespace
} // namespace rawen::test
