#include "print/WydrukDemonstracyjny.h"

#include "data/WartosciProgramu.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "support/PrintFakes.h"
#include "support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

// The demonstration is looked at by people: its table must hold together.
TEST(WydrukDemonstracyjny, ATableWhoseLinesMeetAndWhoseHeadingRepeats)
{
    ScriptedMessageBoxes boxes;
    UstawieniaDruku settings;
    settings.DRLINIDOS = 70;
    WartosciProgramu values;
    FakeOknoWydruku window;
    FakeOknoPostepu progress;
    RecordingDrukarka printer;
    Wydruk wydruk(settings, values, window, progress, printer);
    WydrukDemonstracyjny(wydruk);

    ASSERT_GT(window.bufor.size(), 200);
    EXPECT_EQ(wydruk.IleNaglowkow(), 3);
    EXPECT_TRUE(wydruk.Naglowek());
    EXPECT_EQ(window.pokazania, 1);
    const qsizetype width = wydruk.WierszeNaglowka[1].size();
    int tableLines = 0;
    for (const QString &line : window.bufor) {
        if (line.startsWith(u'|') || line.startsWith(u'=')) {
            ++tableLines;
            EXPECT_EQ(line.size(), width) << line.toStdString();
        }
    }
    EXPECT_EQ(tableLines, 3 + 200 + 3);
    EXPECT_TRUE(window.bufor.contains(QStringLiteral("| 200| FS/0200/2024| Zakład Stolarski Łęcki"
                                                     "       |       2407.00 |       2960.61 |")));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

} // namespace
} // namespace rawen::test
