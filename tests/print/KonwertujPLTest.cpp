#include "print/KonwertujPL.h"

#include "platform/Windows1250.h"

#include <QString>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

// "Łódź" as the program's bytes.
const QByteArray lodz = QByteArray::fromHex("A3F3649F");

TEST(KonwertujPL, LodzInEveryCodingOfTheChannels)
{
    ASSERT_EQ(toWindows1250(QStringLiteral("Łódź")), lodz);
    const struct
    {
        quint8 kod;
        QByteArray expected;
    } cases[] = {
        {30, "Lodz"},
        {31, QByteArray::fromHex("9CA264A6")},
        {32, QByteArray::fromHex("9DA264AB")},
        {33, lodz},
    };
    for (const auto &c : cases)
        EXPECT_EQ(KonwertujPL(lodz, c.kod).toHex(' '), c.expected.toHex(' ')) << int(c.kod);
}

TEST(KonwertujPL, EveryLetterReachesEveryColumnAndNothingElseChanges)
{
    const QString letters = QStringLiteral("ąĄćĆęĘłŁóÓźŹżŻńŃśŚ");
    const QByteArray bytes = toWindows1250(letters);
    ASSERT_EQ(bytes.size(), 18);
    for (int row = 0; row < 18; ++row)
        ASSERT_EQ(quint8(bytes[row]), TablicaLiter[row][3]) << "row " << row + 1;

    const QByteArray around = "Ab1 |=-&G\r\n";
    for (quint8 target = 0; target < 4; ++target) {
        const QByteArray converted = KonwertujPL(around + bytes + around, quint8(30 + target));
        EXPECT_EQ(converted.left(around.size()), around);
        EXPECT_EQ(converted.right(around.size()), around);
        for (int row = 0; row < 18; ++row)
            EXPECT_EQ(quint8(converted[around.size() + row]), TablicaLiter[row][target])
                << "row " << row + 1 << ", column " << int(target);
    }
}

TEST(KonwertujPL, ASourceByteTwiceInItsColumnTakesTheLaterRow)
{
    // Plain "z" stands for ź (row 11) and ż (row 13); "Z" for Ź and Ż.
    EXPECT_EQ(KonwertujPL("zZ", 3).toHex(' '), QByteArray::fromHex("BFAF").toHex(' '));
    EXPECT_EQ(KonwertujPL("zZ", 1).toHex(' '), QByteArray::fromHex("A7A1").toHex(' '));
    // Each byte is looked up once: Mazovia's ą (86) becomes Latin-2's A5, not ą again.
    EXPECT_EQ(KonwertujPL(QByteArray::fromHex("86"), 12).toHex(), "a5");
}

TEST(KonwertujPL, ACodeNamingNoColumnLeavesTheBytes)
{
    for (quint8 kod : {34, 43, 99, 255})
        EXPECT_EQ(KonwertujPL(lodz, kod), lodz) << int(kod);
}

TEST(KonwertujPL, TheChannelCodeFollowsTheSetting)
{
    const struct
    {
        quint8 DRPL;
        quint8 kod;
    } cases[] = {{0, 30}, {1, 31}, {2, 32}, {3, 33}, {4, 33}, {255, 33}};
    for (const auto &c : cases)
        EXPECT_EQ(int(KodPLDla(c.DRPL)), int(c.kod)) << int(c.DRPL);
}

} // namespace
} // namespace rawen::test
