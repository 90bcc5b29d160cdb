#include "platform/Windows1250.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

TEST(Windows1250Test, EncodesWhatTheCodePageHoldsAndQuestionMarksTheRest)
{
    struct Przypadek
    {
        const char *nazwa;
        QString tekst;
        QByteArray bajty;
    };
    const QList<Przypadek> przypadki{
        {"empty", QString(), QByteArray()},
        {"ascii with CR LF", QStringLiteral("Pole:NR 1\r\n"), QByteArray("Pole:NR 1\r\n")},
        {"Polish letters", QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ"),
         QByteArray("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF")},
        {"euro sign", QStringLiteral("€"), QByteArray("\x80")},
        // ICU marks a missing mapping with 0x1A, so the real control character must survive.
        {"SUB control character", QStringLiteral("a\x1A"), QByteArray("a\x1A")},
        {"letter outside the code page", QStringLiteral("zā中b"), QByteArray("z??b")},
        {"mixed", QStringLiteral("Łódź 中"), QByteArray("\xA3\xF3\x64\x9F ?")},
        {"surrogate pair is one character", QString::fromUtf8("x\xF0\x9F\x98\x80y"),
         QByteArray("x?y")},
        {"lone surrogate", QString(QChar(0xD800)) + QLatin1Char('k'), QByteArray("?k")},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(toWindows1250(p.tekst).toHex(' '), p.bajty.toHex(' '));
    }
}

// What ICU itself gives for one character: its byte when the character comes back from it
// unchanged, else "?".
QByteArray przezIcu(const QString &znak)
{
    QStringEncoder encoder("windows-1250");
    const QByteArray bajty = encoder.encode(znak);
    if (encoder.hasError() || bajty.isEmpty())
        return QByteArrayLiteral("?");
    QStringDecoder decoder("windows-1250");
    const QString z = decoder.decode(bajty);
    return decoder.hasError() || z != znak ? QByteArrayLiteral("?") : bajty;
}

// The table the encoder is built from holds exactly what ICU's converter round-trips.
TEST(Windows1250Test, EveryCharacterEncodesAsTheConverterRoundTripsIt)
{
    int rozne = 0;
    for (char32_t kod = 0; kod <= 0xFFFF; ++kod) {
        if (kod >= 0xD800 && kod <= 0xDFFF)
            continue;
        const QString znak{QChar(char16_t(kod))};
        if (toWindows1250(znak) != przezIcu(znak) && ++rozne <= 5)
            ADD_FAILURE() << "U+" << std::hex << unsigned(kod);
    }
    EXPECT_EQ(rozne, 0);
}

} // namespace
} // namespace rawen::test
