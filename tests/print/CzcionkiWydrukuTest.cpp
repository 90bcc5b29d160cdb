#include "print/CzcionkiWydruku.h"

#include "support/QtPrinting.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <string_view>

namespace rawen::test {
namespace {

// fontconfig gives a proportional face for "Lucida Console" on Linux, which would break the
// columns of every ruled table.
TEST(CzcionkiWydruku, TheProgramsFontsBecomeAFixedPitchFaceWithPolishLetters)
{
    const bool liberation = QFontDatabase::families().contains(QStringLiteral("Liberation Mono"));
    for (const char *name : {"Lucida Console", "Lucida console", "Courier New"}) {
        for (int points : {8, 12, 16}) {
            const QFont font = CzcionkaWydruku(QString::fromLatin1(name), points);
            const QFontInfo info(font);
            EXPECT_TRUE(info.fixedPitch()) << name << " " << info.family().toStdString();
            if (liberation) {
                EXPECT_EQ(info.family(), u"Liberation Mono") << name;
            }
            EXPECT_EQ(info.pointSize(), points) << name;
            const QFontMetrics metrics(font);
            for (QChar letter : QStringLiteral("iWł|ĄŚż "))
                EXPECT_EQ(metrics.horizontalAdvance(letter), metrics.horizontalAdvance(u'0'))
                    << name << " " << points;
            for (char32_t letter : std::u32string_view(U"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ"))
                EXPECT_TRUE(metrics.inFontUcs4(letter)) << name << " " << int(letter);
        }
    }
    EXPECT_EQ(CzcionkaWydruku(QStringLiteral("Arial"), 9).family(), u"Arial");
}

} // namespace
} // namespace rawen::test
