#include "platform/MultiRowTabWidget.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

const QStringList kTytuly{"Dane identyfikacyjne i ewidencyjne",
                          "Adres siedziby",
                          "Adres zamieszkana",
                          "Rachunki bankowe",
                          "Inne parametry",
                          "Logo Firmy"};

class MultiRowTabWidgetTest : public testing::Test
{
protected:
    // A page control `szerokosc` pixels wide with the six pages of the company data form.
    void pokaz(int szerokosc)
    {
        for (const QString &tytul : kTytuly)
            strony.addTab(new QLabel(tytul), tytul);
        strony.resize(szerokosc, 300);
        strony.show();
    }

    MultiRowTabBar *pasek() { return strony.multiRowTabBar(); }

    // The row of every tab as the bar shows it, from the top.
    QList<int> wiersze()
    {
        QList<int> wynik;
        for (int i = 0; i < strony.count(); ++i)
            wynik << pasek()->placeOfTab(i).top() / pasek()->placeOfTab(i).height();
        return wynik;
    }

    MultiRowTabWidget strony;
};

// Tabs that do not fit side by side go on in further rows; each shows whole, none covers
// another, each row reaches across the bar, and the pages begin below the last row.
TEST_F(MultiRowTabWidgetTest, TabsThatDoNotFitWrapOntoRowsAndShowWhole)
{
    pokaz(420);
    ASSERT_GT(pasek()->rowCount(), 1);
    const QRect obszar = pasek()->rect();
    QList<QRect> miejsca;
    for (int i = 0; i < strony.count(); ++i) {
        SCOPED_TRACE(kTytuly[i].toStdString());
        const QRect miejsce = pasek()->placeOfTab(i);
        EXPECT_TRUE(obszar.contains(miejsce)) << miejsce.x() << "," << miejsce.y() << " "
                                              << miejsce.width() << "x" << miejsce.height();
        EXPECT_GE(miejsce.width(), pasek()->tabSizeHint(i).width());
        for (const QRect &inne : miejsca)
            EXPECT_FALSE(miejsce.intersects(inne));
        miejsca << miejsce;
    }
    for (int wiersz = 0; wiersz < pasek()->rowCount(); ++wiersz) {
        int prawa = 0;
        for (int i = 0; i < strony.count(); ++i) {
            if (wiersze()[i] == wiersz)
                prawa = std::max(prawa, pasek()->placeOfTab(i).right());
        }
        EXPECT_EQ(prawa, pasek()->width() - 1) << "row " << wiersz;
    }
    const QPoint stronaNaGorze = strony.currentWidget()->mapTo(&strony, QPoint(0, 0));
    EXPECT_GE(stronaNaGorze.y(), pasek()->geometry().bottom());
}

// A tab is chosen by a click where it is drawn, and its row moves next to the pages.
TEST_F(MultiRowTabWidgetTest, AClickedTabIsChosenAndItsRowLiesNextToThePages)
{
    pokaz(420);
    const int ostatni = pasek()->rowCount() - 1;
    for (int i = strony.count() - 1; i >= 0; --i) {
        SCOPED_TRACE(kTytuly[i].toStdString());
        QTest::mouseClick(pasek(), Qt::LeftButton, {}, pasek()->placeOfTab(i).center());
        EXPECT_EQ(strony.currentIndex(), i);
        EXPECT_EQ(wiersze()[i], ostatni);
    }
    // The keyboard goes on to the next tab whatever its row.
    strony.setCurrentIndex(0);
    pasek()->setFocus();
    QTest::keyClick(pasek(), Qt::Key_Right);
    EXPECT_EQ(strony.currentIndex(), 1);
}

// Tabs that fit stay in one row at their own widths.
TEST_F(MultiRowTabWidgetTest, TabsThatFitStayInOneRow)
{
    pokaz(1400);
    EXPECT_EQ(pasek()->rowCount(), 1);
    int x = 0;
    for (int i = 0; i < strony.count(); ++i) {
        EXPECT_EQ(pasek()->placeOfTab(i), QRect(QPoint(x, 0), pasek()->tabSizeHint(i)));
        x += pasek()->tabSizeHint(i).width();
    }
    EXPECT_EQ(pasek()->height(), pasek()->tabSizeHint(0).height());
}

} // namespace
} // namespace rawen::test
