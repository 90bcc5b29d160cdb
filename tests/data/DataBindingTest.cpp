#include "data/DataBinding.h"

#include "data/DataSource.h"
#include "data/Table.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{
    {QStringLiteral("NR"), ftInteger, 0, false},     {QStringLiteral("TEKST"), ftString, 5, false},
    {QStringLiteral("LICZBA"), ftInteger, 0, false}, {QStringLiteral("RP"), ftString, 1, false},
    {QStringLiteral("FLAGA"), ftBoolean, 0, false},  {QStringLiteral("DATA"), ftString, 10, false},
    {QStringLiteral("KWOTA"), ftCurrency, 0, false}, {QStringLiteral("ILOSC"), ftBCD, 3, false}};

// A window of bound controls over a table, as a form lays them out: focus moves between them
// with the Tab key.
class DataBindingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        for (const char *nazwa : {"ETEKST", "ELICZBA", "EDATA", "INNA", "EKWOTA", "EILOSC"}) {
            auto *e = new QLineEdit(&okno);
            e->setObjectName(QLatin1String(nazwa));
            uklad->addWidget(e);
        }
        rp->addItems({QStringLiteral("P - Osoba Prawna"), QStringLiteral("F - Osoba Fizyczna")});
        rp->setEditable(true);
        uklad->addWidget(rp);
        uklad->addWidget(flaga);
        edit("EDATA")->setReadOnly(true);
        QWidget::setTabOrder(edit("ETEKST"), edit("ELICZBA"));
        QWidget::setTabOrder(edit("ELICZBA"), edit("EDATA"));
        QWidget::setTabOrder(edit("EDATA"), rp);
        QWidget::setTabOrder(rp, flaga);
        QWidget::setTabOrder(flaga, edit("INNA"));
        QWidget::setTabOrder(edit("INNA"), edit("EKWOTA"));
        QWidget::setTabOrder(edit("EKWOTA"), edit("EILOSC"));
        QObject::connect(&powiazania, &DataBinding::exited, [this](QWidget *kontrolka) {
            wyjscia << kontrolka->objectName() + u'=' +
                           tabela.fieldByName(powiazania.fieldName(kontrolka)).asString();
        });
    }

    // The table with `rekordy` records, bound and shown.
    void pokaz(const QList<QStringList> &rekordy)
    {
        makeTable(katalog.filePath(QStringLiteral("T.DB")), kPola, {}, rekordy);
        tabela.setTableName(katalog.filePath(QStringLiteral("T.DB")));
        tabela.open();
        for (const char *nazwa : {"TEKST", "LICZBA", "DATA", "KWOTA", "ILOSC"})
            powiazania.bind(edit((QStringLiteral("E") + QLatin1String(nazwa)).toLatin1()), &zrodlo,
                            QLatin1String(nazwa));
        powiazania.bind(rp, &zrodlo, QStringLiteral("RP"));
        powiazania.bind(flaga, &zrodlo, QStringLiteral("FLAGA"));
        okno.show();
        QApplication::setActiveWindow(&okno);
    }

    QLineEdit *edit(const char *nazwa) { return okno.findChild<QLineEdit *>(QLatin1String(nazwa)); }
    QString pole(const char *nazwa) { return tabela.fieldByName(QLatin1String(nazwa)).asString(); }

    void wpisz(QWidget *kontrolka, const QString &tekst)
    {
        kontrolka->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(kontrolka, tekst);
    }

    QTemporaryDir katalog;
    ScriptedMessageBoxes okna;
    Table tabela;
    DataSource zrodlo{&tabela};
    QWidget okno;
    QVBoxLayout *uklad = new QVBoxLayout(&okno);
    QComboBox *rp = new QComboBox(&okno);
    QCheckBox *flaga = new QCheckBox(QStringLiteral("flaga"), &okno);
    DataBinding powiazania;
    QStringList wyjscia;
};

TEST_F(DataBindingTest, ControlsShowTheCurrentRecordWhereverTheTableGoes)
{
    pokaz({{"1", "ala", "7", "F", "True", "2024.01.31"}, {"2", "ola", "", "P", "False", ""}});
    EXPECT_EQ(edit("ETEKST")->text(), QStringLiteral("ala"));
    EXPECT_EQ(edit("ELICZBA")->text(), QStringLiteral("7"));
    EXPECT_EQ(edit("EDATA")->text(), QStringLiteral("2024.01.31"));
    EXPECT_EQ(rp->currentText(), QStringLiteral("F"));
    EXPECT_TRUE(flaga->isChecked());
    tabela.next();
    EXPECT_EQ(edit("ETEKST")->text(), QStringLiteral("ola"));
    EXPECT_EQ(edit("ELICZBA")->text(), QString());
    EXPECT_EQ(rp->currentText(), QStringLiteral("P"));
    EXPECT_FALSE(flaga->isChecked());
    // A value changed by code shows at once.
    tabela.edit();
    tabela.fieldByName(QStringLiteral("TEKST")).setAsString(QStringLiteral("ewa"));
    EXPECT_EQ(edit("ETEKST")->text(), QStringLiteral("ewa"));
    tabela.cancel();
    EXPECT_EQ(edit("ETEKST")->text(), QStringLiteral("ola"));
    tabela.close();
    powiazania.refresh();
    EXPECT_EQ(edit("ETEKST")->text(), QString());
}

// The first change to a control puts the table into editing, and a table without a record gets
// its first one; what is typed stays in the control until it is left.
TEST_F(DataBindingTest, TheFirstChangeEditsAndAnEmptyTableGetsItsFirstRecord)
{
    pokaz({});
    ASSERT_TRUE(tabela.isEmpty());
    wpisz(edit("ETEKST"), QStringLiteral("a"));
    EXPECT_EQ(tabela.state(), Table::dsInsert);
    EXPECT_EQ(edit("ETEKST")->text(), QStringLiteral("a"));
    EXPECT_EQ(pole("TEKST"), QString());
    QTest::keyClicks(edit("ETEKST"), QStringLiteral("bc"));
    EXPECT_EQ(edit("ETEKST")->text(), QStringLiteral("abc"));
    QTest::keyClick(edit("ETEKST"), Qt::Key_Tab);
    EXPECT_EQ(pole("TEKST"), QStringLiteral("abc"));
    tabela.post();
    EXPECT_EQ(tabela.recordCount(), 1);

    // A record that is there is edited, not added to.
    edit("ETEKST")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit("ETEKST"), Qt::Key_End);
    QTest::keyClicks(edit("ETEKST"), QStringLiteral("d"));
    EXPECT_EQ(tabela.state(), Table::dsEdit);
    QTest::keyClick(edit("ETEKST"), Qt::Key_Tab);
    tabela.post();
    EXPECT_EQ(tabela.recordCount(), 1);
    EXPECT_EQ(pole("TEKST"), QStringLiteral("abcd"));
}

// The form's own exit handler finds the field written already.
TEST_F(DataBindingTest, TheFieldIsWrittenBeforeTheExitIsTold)
{
    pokaz({{"1", "", "", "", "", ""}});
    wpisz(edit("ETEKST"), QStringLiteral("xyz"));
    QTest::keyClick(edit("ETEKST"), Qt::Key_Tab);
    // Leaving without a change is an exit too.
    QTest::keyClick(edit("ELICZBA"), Qt::Key_Tab);
    EXPECT_EQ(wyjscia, (QStringList{"ETEKST=xyz", "ELICZBA="}));
}

TEST_F(DataBindingTest, AnEditTakesNoMoreThanItsFieldHolds)
{
    pokaz({{"1", "", "", "", "", ""}});
    wpisz(edit("ETEKST"), QStringLiteral("abcdefgh"));
    EXPECT_EQ(edit("ETEKST")->text(), QStringLiteral("abcde"));
    wpisz(edit("ELICZBA"), QStringLiteral("12a-3.5"));
    EXPECT_EQ(edit("ELICZBA")->text(), QStringLiteral("1235"));
    QTest::keyClick(edit("ELICZBA"), Qt::Key_Tab);
    EXPECT_EQ(pole("TEKST"), QStringLiteral("abcde"));
    EXPECT_EQ(pole("LICZBA"), QStringLiteral("1235"));
    // A sign leads; the lowest whole number takes all of the 11 characters.
    for (const char *liczba : {"-40", "-2147483648"}) {
        edit("ELICZBA")->clear();
        wpisz(edit("ELICZBA"), QLatin1String(liczba));
        QTest::keyClick(edit("ELICZBA"), Qt::Key_Tab);
        EXPECT_EQ(pole("LICZBA"), QString::fromLatin1(liczba));
    }
}

TEST_F(DataBindingTest, AReadOnlyControlIsNeverWritten)
{
    pokaz({{"1", "", "", "", "", "2024.01.31"}});
    wpisz(edit("EDATA"), QStringLiteral("x"));
    EXPECT_EQ(edit("EDATA")->text(), QStringLiteral("2024.01.31"));
    EXPECT_EQ(tabela.state(), Table::dsBrowse);
    QTest::keyClick(edit("EDATA"), Qt::Key_Tab);
    EXPECT_EQ(tabela.state(), Table::dsBrowse);
    EXPECT_EQ(pole("DATA"), QStringLiteral("2024.01.31"));
}

// A one-character field behind a drop-down keeps the first character of the chosen item and
// shows it so when the record comes back.
TEST_F(DataBindingTest, AChosenItemIsCutToTheFieldAndShownAsStored)
{
    pokaz({{"1", "", "", "", "", ""}, {"2", "", "", "", "", ""}});
    rp->setFocus(Qt::TabFocusReason);
    QTest::keyClick(rp, Qt::Key_Down); // the next item: "F - Osoba Fizyczna"
    EXPECT_EQ(tabela.state(), Table::dsEdit);
    QTest::keyClick(rp, Qt::Key_Tab);
    EXPECT_EQ(pole("RP"), QStringLiteral("F"));
    EXPECT_EQ(rp->currentText(), QStringLiteral("F"));
    tabela.post();
    tabela.next();
    EXPECT_EQ(rp->currentText(), QString());
    tabela.first();
    EXPECT_EQ(rp->currentText(), QStringLiteral("F"));
    // A typed text is stored as typed, not added to the items.
    rp->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(rp, QStringLiteral("X"));
    QTest::keyClick(rp, Qt::Key_Return);
    QTest::keyClick(rp, Qt::Key_Tab);
    EXPECT_EQ(pole("RP"), QStringLiteral("X"));
    EXPECT_EQ(rp->count(), 2);
}

TEST_F(DataBindingTest, ACheckBoxWritesItsTick)
{
    pokaz({{"1", "", "", "", "", ""}});
    flaga->setFocus(Qt::TabFocusReason);
    QTest::keyClick(flaga, Qt::Key_Space);
    EXPECT_EQ(tabela.state(), Table::dsEdit);
    QTest::keyClick(flaga, Qt::Key_Tab);
    EXPECT_EQ(pole("FLAGA"), QStringLiteral("True"));
}

// Another window taking the keyboard leaves no control: nothing is written and nothing told, so a
// form that has saved and closed is not put into editing again.
TEST_F(DataBindingTest, AnotherWindowTakingTheKeyboardIsNoExit)
{
    pokaz({{"1", "", "", "", "", ""}});
    wpisz(edit("ETEKST"), QStringLiteral("ab"));
    QWidget inne;
    inne.show();
    QApplication::setActiveWindow(&inne);
    EXPECT_EQ(pole("TEKST"), QString());
    EXPECT_TRUE(wyjscia.isEmpty());
    // What the control holds is written when the record is posted.
    powiazania.updateRecord();
    EXPECT_EQ(pole("TEKST"), QStringLiteral("ab"));
    EXPECT_TRUE(wyjscia.isEmpty());
}

// An amount shows as every view shows it and is taken back as typed: with or without the spaces,
// with a comma or a point, the shown text edited in place; no more decimals than it shows.
TEST_F(DataBindingTest, AnAmountShowsAsItPrintsAndIsTakenBackAsTyped)
{
    pokaz({{"1", "", "", "", "", "", "1230.5", "2.5"}});
    EXPECT_EQ(edit("EKWOTA")->text(), u"1 230,50");
    EXPECT_EQ(edit("EILOSC")->text(), u"2,500");
    // The shown text edited where it stands.
    edit("EKWOTA")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit("EKWOTA"), Qt::Key_End);
    QTest::keyClick(edit("EKWOTA"), Qt::Key_Backspace);
    QTest::keyClick(edit("EKWOTA"), Qt::Key_Backspace);
    QTest::keyClicks(edit("EKWOTA"), QStringLiteral("75"));
    QTest::keyClick(edit("EKWOTA"), Qt::Key_Tab);
    EXPECT_EQ(pole("KWOTA"), u"1230.75");
    EXPECT_EQ(edit("EKWOTA")->text(), u"1 230,75");

    const struct
    {
        const char *kontrolka;
        const char16_t *wpisane;
        const char *pole;
        const char16_t *pokazane;
    } cases[] = {
        {"EKWOTA", u"1 230,00", "1230", u"1 230,00"},
        {"EKWOTA", u"1230.5", "1230.5", u"1 230,50"},
        {"EKWOTA", u"1230,05", "1230.05", u"1 230,05"},
        {"EKWOTA", u"1 230.5", "1230.5", u"1 230,50"},
        {"EKWOTA", u"12\u00a0345,5", "12345.5", u"12 345,50"},
        {"EKWOTA", u"-0,5", "-0.5", u"-0,50"},
        {"EKWOTA", u"12345678", "12345678", u"12 345 678,00"},
        {"EKWOTA", u"1,2345", "1.23", u"1,23"},
        {"EILOSC", u"7,12345", "7.123", u"7,123"},
        {"EILOSC", u"1 000", "1000", u"1 000,000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.wpisane).toStdString());
        QLineEdit *kontrolka = edit(c.kontrolka);
        kontrolka->setFocus(Qt::TabFocusReason);
        kontrolka->selectAll();
        QTest::keyClicks(kontrolka, QString::fromUtf16(c.wpisane));
        QTest::keyClick(kontrolka, Qt::Key_Tab);
        EXPECT_EQ(pole(c.kontrolka + 1), QLatin1String(c.pole));
        EXPECT_EQ(kontrolka->text(), QString::fromUtf16(c.pokazane));
    }
    EXPECT_TRUE(okna.shown().isEmpty());

    // Spaces that part no thousands make no amount: reported, and the field shown again.
    edit("EKWOTA")->setFocus(Qt::TabFocusReason);
    edit("EKWOTA")->selectAll();
    QTest::keyClicks(edit("EKWOTA"), QStringLiteral("12 30"));
    QTest::keyClick(edit("EKWOTA"), Qt::Key_Tab);
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown().first().icon, MessageBoxes::Icon::Error);
    EXPECT_EQ(pole("KWOTA"), u"1.23");
    EXPECT_EQ(edit("EKWOTA")->text(), u"1,23");
}

// A value the field refuses is reported, and the control shows the field again.
TEST_F(DataBindingTest, AValueTheFieldRefusesIsReported)
{
    pokaz({{"1", "", "5", "", "", ""}});
    wpisz(edit("ELICZBA"), QStringLiteral("99999999999"));
    QTest::keyClick(edit("ELICZBA"), Qt::Key_Tab);
    ASSERT_EQ(okna.shown().size(), 1);
    EXPECT_EQ(okna.shown().first().icon, MessageBoxes::Icon::Error);
    EXPECT_EQ(edit("ELICZBA")->text(), QStringLiteral("5"));
    EXPECT_EQ(pole("LICZBA"), QStringLiteral("5"));
}

} // namespace
} // namespace rawen::test
