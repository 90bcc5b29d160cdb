#include "app/TPRACA.h"

#include "app/BladWartosci.h"
#include "app/Gauge.h"

#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

using namespace rawen;
using namespace Qt::StringLiterals;

namespace {

constexpr int kLargest = std::numeric_limits<int>::max();
constexpr int kSmallest = std::numeric_limits<int>::min();

// The message a refused value carries, or an empty text when nothing was thrown.
template <typename F> QString refusal(F &&action)
{
    try {
        action();
    } catch (const BladWartosci &error) {
        return error.message();
    }
    return {};
}

TEST(Gauge, PercentageIsTheWholePartAndSurvivesWideRanges)
{
    const struct
    {
        int minimum, maximum, progress, percentage;
    } cases[] = {
        {0, 0, 0, 0},
        {5, 5, 5, 0},
        {0, 200, 37, 18},
        {0, 3, 1, 33},
        {0, 3, 2, 66},
        {0, 3, 3, 100},
        {10, 20, 15, 50},
        {-100, 100, 0, 50},
        {0, 1000000000, 999999999, 99},
        {0, kLargest, kLargest / 2, 49},
        {0, kLargest, kLargest, 100},
        {kSmallest, kLargest, 0, 50},
        {kSmallest, kLargest, kLargest, 100},
        {kSmallest, kLargest, kSmallest, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Gauge::percentage(c.minimum, c.maximum, c.progress), c.percentage)
            << c.minimum << ".." << c.maximum << " at " << c.progress;

        Gauge gauge;
        gauge.setMaximum(c.maximum);
        gauge.setMinimum(c.minimum);
        gauge.setProgress(c.progress);
        EXPECT_EQ(gauge.percentage(), c.percentage) << c.minimum << ".." << c.maximum;
    }
}

TEST(Gauge, BoundsPullTheProgressIntoTheirRange)
{
    Gauge gauge;
    gauge.setMaximum(50);
    gauge.setProgress(40);
    gauge.setMaximum(30);
    EXPECT_EQ(gauge.progress(), 30);
    gauge.setMinimum(10);
    gauge.setProgress(12);
    gauge.setMinimum(20);
    EXPECT_EQ(gauge.progress(), 20);

    gauge.setProgress(1000);
    EXPECT_EQ(gauge.progress(), 30);
    gauge.setProgress(-1000);
    EXPECT_EQ(gauge.progress(), 20);
}

TEST(Gauge, BoundCrossingTheOtherIsRefusedAndChangesNothing)
{
    Gauge gauge;
    gauge.setProgress(7);
    EXPECT_EQ(refusal([&] { gauge.setMaximum(-1); }), u"Wartość musi być pomiędzy 1 a 2147483647");
    EXPECT_EQ(refusal([&] { gauge.setMaximum(kSmallest); }),
              u"Wartość musi być pomiędzy 1 a 2147483647");
    EXPECT_EQ(refusal([&] { gauge.setMinimum(101); }),
              u"Wartość musi być pomiędzy -2147483647 a 99");
    EXPECT_EQ(gauge.minimum(), 0);
    EXPECT_EQ(gauge.maximum(), 100);
    EXPECT_EQ(gauge.progress(), 7);

    // The bounds may meet.
    EXPECT_EQ(refusal([&] { gauge.setMaximum(0); }), QString());
    EXPECT_EQ(gauge.progress(), 0);
    gauge.setMaximum(kLargest);
    gauge.setMinimum(kLargest);
    EXPECT_EQ(refusal([&] { gauge.setMaximum(0); }),
              u"Wartość musi być pomiędzy 2147483647 a 2147483647");
}

// How many pixels of the bar's inside are painted dark, read on a row above the percentage text;
// -1 when that row is not one dark run from the left followed by light.
int drawnWidth(Gauge &gauge)
{
    const QImage image = gauge.grab().toImage();
    const int y = 2;
    const int end = image.width() - 1; // the frame's right edge
    int x = 1;
    while (x < end && qGray(image.pixel(x, y)) < 128)
        ++x;
    const int drawn = x - 1;
    for (; x < end; ++x) {
        if (qGray(image.pixel(x, y)) < 128)
            return -1;
    }
    return drawn;
}

TEST(Gauge, TheBarCoversThePercentageDoneOfItsInside)
{
    Gauge gauge;
    gauge.resize(374, 38); // 372 pixels inside the frame
    const struct
    {
        int progress, drawn;
    } cases[] = {
        {0, 0}, {1, 3}, {50, 186}, {99, 368}, {100, 372},
    };
    for (const auto &c : cases) {
        gauge.setProgress(c.progress);
        EXPECT_EQ(drawnWidth(gauge), c.drawn) << c.progress << "%";
    }
}

// A gauge on the screen, ready to count the paints that happen without any message pumped.
class ShownGauge : public testing::Test
{
protected:
    void SetUp() override
    {
        gauge.resize(374, 38);
        gauge.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&gauge));
    }

    Gauge gauge;
};

TEST_F(ShownGauge, PaintsAtOnceAndOnlyWhenThePercentageChanges)
{
    gauge.setMaximum(100000);
    int painted = gauge.paintCount();
    for (int step = 1; step <= 100000; ++step)
        gauge.setProgress(step);
    EXPECT_EQ(gauge.paintCount() - painted, 100);

    painted = gauge.paintCount();
    gauge.setProgress(100000);
    gauge.setMaximum(100000);
    gauge.setMinimum(0);
    EXPECT_EQ(gauge.paintCount(), painted) << "an unchanged value repaints nothing";

    gauge.setMinimum(5);
    EXPECT_EQ(gauge.paintCount(), painted + 1);
    gauge.setMaximum(50000);
    EXPECT_EQ(gauge.paintCount(), painted + 2);
}

// The window as the program holds it: created hidden, shown by the operations. No test pumps
// messages after Start: the window must paint without them, as it does under a busy caller.
class Praca : public testing::Test
{
protected:
    QLabel *etytul() const { return praca.findChild<QLabel *>(u"Etytul"_s); }
    Gauge *pasek() const { return praca.findChild<Gauge *>(u"pasek"_s); }

    TPRACA praca;
};

TEST_F(Praca, WindowLayout)
{
    EXPECT_EQ(praca.windowTitle(), u"Postęp ...");
    EXPECT_FALSE(praca.isVisible());
    EXPECT_EQ(praca.minimumSize(), QSize(374, 67));
    EXPECT_EQ(praca.maximumSize(), QSize(374, 67));
    const Qt::WindowFlags flags = praca.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "without it the default buttons come back";
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowStaysOnTopHint));
    EXPECT_EQ(praca.windowModality(), Qt::NonModal);

    ASSERT_NE(etytul(), nullptr);
    ASSERT_NE(pasek(), nullptr);
    EXPECT_EQ(pasek(), praca.pasek());
    EXPECT_EQ(etytul()->pos(), QPoint(8, 8));
    EXPECT_EQ(pasek()->geometry(), QRect(0, 67 - 38, 374, 38));
    EXPECT_TRUE(pasek()->font().bold());
    EXPECT_EQ(pasek()->font().pixelSize(), 16);

    praca.Start(u"Kopiowanie"_s, 10);
    const QRect screen = praca.screen()->availableGeometry();
    EXPECT_LE((praca.frameGeometry().center() - screen.center()).manhattanLength(), 1);
}

TEST_F(Praca, StartShowsTheCaptionAndAnEmptyBar)
{
    praca.Start(u"Archiwowanie danych"_s, 200);
    EXPECT_TRUE(praca.isVisible());
    EXPECT_EQ(etytul()->text(), u"Archiwowanie danych");
    EXPECT_EQ(pasek()->minimum(), 0);
    EXPECT_EQ(pasek()->maximum(), 200);
    EXPECT_EQ(pasek()->percentage(), 0);
    EXPECT_GT(pasek()->paintCount(), 0);
    EXPECT_EQ(drawnWidth(*pasek()), 0);

    for (int step = 0; step < 37; ++step)
        praca.Postep();
    EXPECT_EQ(pasek()->progress(), 37);
    EXPECT_EQ(pasek()->percentage(), 18);
    EXPECT_EQ(drawnWidth(*pasek()), 372 * 18 / 100);
}

TEST_F(Praca, PostepPaintsOncePerPercent)
{
    const struct
    {
        int total, steps, paints;
    } cases[] = {
        {0, 5, 0}, {3, 3, 3}, {3, 10, 3}, {200, 200, 100}, {100000, 100000, 100}, {7, 1, 1},
    };
    for (const auto &c : cases) {
        praca.Start(u"Drukowanie"_s, c.total);
        const int painted = pasek()->paintCount();
        for (int step = 0; step < c.steps; ++step)
            praca.Postep();
        EXPECT_EQ(pasek()->paintCount() - painted, c.paints) << c.total << " / " << c.steps;
        EXPECT_EQ(pasek()->progress(), std::min(c.total, c.steps));
        EXPECT_EQ(pasek()->percentage(),
                  c.total == 0 ? 0 : std::min(c.steps, c.total) * 100 / c.total);
        praca.Stop();
    }
}

TEST_F(Praca, StartWhileShownRestartsAndPaintsAtOnce)
{
    praca.Start(u"Archiwowanie danych"_s, 4);
    for (int step = 0; step < 9; ++step)
        praca.Postep();
    EXPECT_EQ(pasek()->percentage(), 100);

    const int painted = pasek()->paintCount();
    praca.Start(u"Odtwarzanie danych"_s, 4);
    EXPECT_TRUE(praca.isVisible());
    EXPECT_EQ(etytul()->text(), u"Odtwarzanie danych");
    EXPECT_EQ(pasek()->progress(), 0);
    EXPECT_EQ(pasek()->percentage(), 0);
    EXPECT_GT(pasek()->paintCount(), painted);
}

TEST_F(Praca, NegativeTotalIsRefusedBeforeTheWindowShows)
{
    EXPECT_EQ(refusal([&] { praca.Start(u"Archiwowanie danych"_s, -1); }),
              u"Wartość musi być pomiędzy 1 a 2147483647");
    EXPECT_FALSE(praca.isVisible());

    // The window stays usable for the next operation.
    praca.Start(u"Archiwowanie danych"_s, 2);
    praca.Postep();
    EXPECT_TRUE(praca.isVisible());
    EXPECT_EQ(pasek()->percentage(), 50);
}

TEST_F(Praca, StopHidesAndResets)
{
    praca.Start(u"Archiwowanie danych"_s, 10);
    for (int step = 0; step < 6; ++step)
        praca.Postep();
    praca.Stop();
    EXPECT_FALSE(praca.isVisible());
    EXPECT_EQ(pasek()->progress(), 0);
    EXPECT_EQ(pasek()->percentage(), 0);

    praca.Start(u"Drukowanie"_s, 10);
    EXPECT_TRUE(praca.isVisible());
    EXPECT_EQ(pasek()->percentage(), 0);
}

} // namespace
