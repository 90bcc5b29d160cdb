#include "store/FieldValues.h"

#include "platform/EngineError.h"
#include "support/TableFixtures.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace rawen::test {
namespace {

const QString kContext = QStringLiteral("T.DB");

FieldDef def(TFieldType type, int size = 0)
{
    return {QStringLiteral("POLE"), type, size, false};
}

QString through(const FieldDef &field, const QString &text)
{
    return FieldValues::toText(field, FieldValues::fromText(field, text, kContext));
}

struct TextCase
{
    TFieldType type;
    int size;
    QString written;
    QString read; // asString after writing `written`
};

void PrintTo(const TextCase &c, std::ostream *os)
{
    *os << fieldTypeName(c.type).toStdString() << "(" << c.size << ") \"" << c.written.toStdString()
        << "\"";
}

class TextForm : public testing::TestWithParam<TextCase>
{};

// What asString gives must be accepted back as the same value: callers copy fields as text.
TEST_P(TextForm, ReadsBackAndTheReadTextRoundTrips)
{
    const TextCase &c = GetParam();
    const FieldDef field = def(c.type, c.size);
    EXPECT_EQ(through(field, c.written), c.read);
    EXPECT_EQ(through(field, c.read), c.read);
}

INSTANTIATE_TEST_SUITE_P(
    Types, TextForm,
    testing::Values(
        TextCase{ftString, 10, QStringLiteral("Kowalski"), QStringLiteral("Kowalski")},
        TextCase{ftString, 10, QStringLiteral("Zażółć gęś"), QStringLiteral("Zażółć gęś")},
        TextCase{ftString, 10, QStringLiteral("12345678901"), QStringLiteral("1234567890")},
        TextCase{ftString, 5, QStringLiteral(" 007 "), QStringLiteral(" 007 ")},
        TextCase{ftFixedChar, 3, QStringLiteral("ABCD"), QStringLiteral("ABC")},
        TextCase{ftWideString, 5, QStringLiteral("Łódź Kaliska"), QStringLiteral("Łódź ")},
        TextCase{ftMemo, 2, QStringLiteral("długa notatka"), QStringLiteral("długa notatka")},
        TextCase{ftFmtMemo, 2, QStringLiteral("{\\rtf1 x}"), QStringLiteral("{\\rtf1 x}")},
        TextCase{ftOraClob, 1, QStringLiteral("abc"), QStringLiteral("abc")},
        TextCase{ftGuid, 38, QStringLiteral("{00000000-0000-0000-0000-000000000001}"),
                 QStringLiteral("{00000000-0000-0000-0000-000000000001}")},
        TextCase{ftSmallint, 0, QStringLiteral("-32768"), QStringLiteral("-32768")},
        TextCase{ftSmallint, 0, QStringLiteral(" 32767 "), QStringLiteral("32767")},
        TextCase{ftWord, 0, QStringLiteral("0"), QStringLiteral("0")},
        TextCase{ftWord, 0, QStringLiteral("65535"), QStringLiteral("65535")},
        TextCase{ftInteger, 0, QStringLiteral("-2147483648"), QStringLiteral("-2147483648")},
        TextCase{ftInteger, 0, QStringLiteral("+2147483647"), QStringLiteral("2147483647")},
        TextCase{ftAutoInc, 0, QStringLiteral("17"), QStringLiteral("17")},
        TextCase{ftLargeint, 0, QStringLiteral("-9223372036854775808"),
                 QStringLiteral("-9223372036854775808")},
        TextCase{ftLargeint, 0, QStringLiteral("9223372036854775807"),
                 QStringLiteral("9223372036854775807")},
        TextCase{ftBoolean, 0, QStringLiteral("True"), QStringLiteral("True")},
        TextCase{ftBoolean, 0, QStringLiteral("False"), QStringLiteral("False")},
        TextCase{ftBoolean, 0, QStringLiteral("Tak"), QStringLiteral("True")},
        TextCase{ftBoolean, 0, QStringLiteral("nie"), QStringLiteral("False")},
        TextCase{ftBoolean, 0, QStringLiteral("T"), QStringLiteral("True")},
        TextCase{ftBoolean, 0, QStringLiteral("0"), QStringLiteral("False")},
        TextCase{ftFloat, 0, QStringLiteral("2.5"), QStringLiteral("2.5")},
        TextCase{ftFloat, 0, QStringLiteral("1,25"), QStringLiteral("1.25")},
        TextCase{ftFloat, 0, QStringLiteral("0.1"), QStringLiteral("0.1")},
        TextCase{ftFloat, 0, QStringLiteral("-0.001"), QStringLiteral("-0.001")},
        TextCase{ftFloat, 0, QStringLiteral("-0"), QStringLiteral("0")},
        TextCase{ftFloat, 0, QStringLiteral("1e5"), QStringLiteral("100000")},
        TextCase{ftFloat, 0, QStringLiteral("123456789012.75"), QStringLiteral("123456789012.75")},
        TextCase{ftFloat, 0, QStringLiteral("0.1234567890123"), QStringLiteral("0.1234567890123")},
        TextCase{ftCurrency, 0, QStringLiteral("1234,56"), QStringLiteral("1234.56")},
        TextCase{ftBCD, 2, QStringLiteral("-12.34"), QStringLiteral("-12.34")},
        TextCase{ftFMTBcd, 4, QStringLiteral("5"), QStringLiteral("5")},
        TextCase{ftDate, 0, QStringLiteral("2024-02-29"), QStringLiteral("2024-02-29")},
        TextCase{ftTime, 0, QStringLiteral("13:45:07"), QStringLiteral("13:45:07")},
        TextCase{ftTime, 0, QStringLiteral("08:05"), QStringLiteral("08:05:00")},
        TextCase{ftTime, 0, QStringLiteral("23:59:59.250"), QStringLiteral("23:59:59.250")},
        TextCase{ftDateTime, 0, QStringLiteral("2024-02-29 13:45:07"),
                 QStringLiteral("2024-02-29 13:45:07")},
        TextCase{ftDateTime, 0, QStringLiteral("2024-02-29"),
                 QStringLiteral("2024-02-29 00:00:00")},
        TextCase{ftTimeStamp, 0, QStringLiteral("1999-12-31T23:59:58.001"),
                 QStringLiteral("1999-12-31 23:59:58.001")},
        TextCase{ftBytes, 4, QStringLiteral("ABCDEF"), QStringLiteral("ABCD")},
        TextCase{ftBytes, 4, QString::fromLatin1("\xff\x01\x80", 3),
                 QString::fromLatin1("\xff\x01\x80", 3)},
        TextCase{ftVarBytes, 3, QStringLiteral("abcd"), QStringLiteral("abc")},
        TextCase{ftBlob, 1, QStringLiteral("no limit"), QStringLiteral("no limit")},
        TextCase{ftGraphic, 0, QString::fromLatin1("\x89PNG", 4),
                 QString::fromLatin1("\x89PNG", 4)},
        TextCase{ftTypedBinary, 0, QStringLiteral("x"), QStringLiteral("x")},
        TextCase{ftParadoxOle, 0, QStringLiteral("ole"), QStringLiteral("ole")},
        TextCase{ftDBaseOle, 0, QStringLiteral("ole"), QStringLiteral("ole")},
        TextCase{ftOraBlob, 0, QStringLiteral("ora"), QStringLiteral("ora")}));

TEST(FieldValuesTest, EmptyTextIsTheEmptyValueOfEverySupportedType)
{
    for (int t = 0; t < kFieldTypeCount; ++t) {
        const FieldDef field = def(TFieldType(t), 4);
        if (storageOf(field.dataType) == Storage::Unsupported)
            continue;
        SCOPED_TRACE(fieldTypeName(field.dataType).toStdString());
        const QVariant stored = FieldValues::fromText(field, QString(), kContext);
        EXPECT_FALSE(stored.isValid());
        EXPECT_EQ(FieldValues::toText(field, stored), QString());
        EXPECT_EQ(FieldValues::toDisplayText(field, stored), QString());
        EXPECT_EQ(FieldValues::toInteger(field, stored, kContext), 0);
        EXPECT_EQ(FieldValues::toFloat(field, stored, kContext), 0.0);
        EXPECT_FALSE(FieldValues::toBoolean(field, stored, kContext));
    }
}

struct BadText
{
    TFieldType type;
    QString text;
};

void PrintTo(const BadText &c, std::ostream *os)
{
    *os << fieldTypeName(c.type).toStdString() << " \"" << c.text.toStdString() << "\"";
}

class InvalidText : public testing::TestWithParam<BadText>
{};

TEST_P(InvalidText, RaisesBadValue)
{
    const BadText &c = GetParam();
    EXPECT_EQ(errorKind([&] { FieldValues::fromText(def(c.type, 10), c.text, kContext); }),
              EngineError::BadValue);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, InvalidText,
    testing::Values(
        BadText{ftSmallint, QStringLiteral("32768")}, BadText{ftSmallint, QStringLiteral("-32769")},
        BadText{ftWord, QStringLiteral("-1")}, BadText{ftWord, QStringLiteral("65536")},
        BadText{ftInteger, QStringLiteral("2147483648")},
        BadText{ftInteger, QStringLiteral("-2147483649")},
        BadText{ftAutoInc, QStringLiteral("2147483648")},
        BadText{ftLargeint, QStringLiteral("9223372036854775808")},
        BadText{ftInteger, QStringLiteral("12abc")}, BadText{ftInteger, QStringLiteral("1.5")},
        BadText{ftInteger, QStringLiteral(" ")}, BadText{ftBoolean, QStringLiteral("może")},
        BadText{ftFloat, QStringLiteral("1,2,3")}, BadText{ftFloat, QStringLiteral("abc")},
        BadText{ftFloat, QStringLiteral("inf")}, BadText{ftFloat, QStringLiteral("nan")},
        BadText{ftCurrency, QStringLiteral("12 zł")}, BadText{ftDate, QStringLiteral("2023-02-29")},
        BadText{ftDate, QStringLiteral("29.02.2024")},
        BadText{ftDate, QStringLiteral("2024-01-05 10:00")},
        BadText{ftTime, QStringLiteral("24:00:00")}, BadText{ftTime, QStringLiteral("12:60")},
        BadText{ftDateTime, QStringLiteral("2024-01-05x10:00:00")},
        BadText{ftDateTime, QStringLiteral("2024-01-05 25:00")},
        BadText{ftTimeStamp, QStringLiteral("jutro")}, BadText{ftBytes, QStringLiteral("ł")},
        BadText{ftBlob, QStringLiteral("€")}));

TEST(FieldValuesTest, DisplayTextUsesDecimalCommaAndPolishBooleans)
{
    const struct
    {
        TFieldType type;
        QString text;
        QString display;
    } cases[] = {
        {ftFloat, QStringLiteral("2.5"), QStringLiteral("2,5")},
        {ftCurrency, QStringLiteral("-1234.05"), QStringLiteral("-1234,05")},
        {ftBCD, QStringLiteral("7"), QStringLiteral("7")},
        {ftBoolean, QStringLiteral("True"), QStringLiteral("Tak")},
        {ftBoolean, QStringLiteral("False"), QStringLiteral("Nie")},
        {ftInteger, QStringLiteral("-12"), QStringLiteral("-12")},
        {ftString, QStringLiteral("a.b,c"), QStringLiteral("a.b,c")},
        {ftDate, QStringLiteral("2024-01-02"), QStringLiteral("2024-01-02")},
        {ftDateTime, QStringLiteral("2024-01-02 03:04:05"), QStringLiteral("2024-01-02 03:04:05")},
    };
    for (const auto &c : cases) {
        const FieldDef field = def(c.type, 10);
        EXPECT_EQ(FieldValues::toDisplayText(field, FieldValues::fromText(field, c.text, kContext)),
                  c.display)
            << fieldTypeName(c.type).toStdString();
    }
}

// The text of a number is the shortest that reads back as it, never in exponent form, whatever
// the magnitude.
TEST(FieldValuesTest, NumbersReadAsTheShortestTextThatReadsBack)
{
    std::vector<double> wartosci{0.1,
                                 -0.1,
                                 1.0 / 3,
                                 2.5e-7,
                                 123456789012345680000.0,
                                 1e22,
                                 1e300,
                                 5e-324,
                                 -1e-310,
                                 std::numeric_limits<double>::max(),
                                 4.35,
                                 0.000123,
                                 1234.05,
                                 -12.5,
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity()};
    // And a spread of magnitudes and digits from a fixed sequence.
    quint64 ziarno = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 2000; ++i) {
        ziarno ^= ziarno << 13;
        ziarno ^= ziarno >> 7;
        ziarno ^= ziarno << 17;
        double wartosc;
        std::memcpy(&wartosc, &ziarno, sizeof wartosc);
        if (std::isfinite(wartosc))
            wartosci.push_back(wartosc);
    }
    const FieldDef field = def(ftFloat);
    for (const double wartosc : wartosci) {
        const QString tekst = FieldValues::toText(field, QVariant(wartosc));
        EXPECT_EQ(tekst, QString::number(wartosc, 'f', QLocale::FloatingPointShortest)) << wartosc;
        EXPECT_FALSE(tekst.contains(u'e'));
        if (std::isfinite(wartosc)) {
            EXPECT_EQ(tekst.toDouble(), wartosc) << tekst.toStdString();
        }
    }
}

TEST(FieldValuesTest, IntegerAndFloatReadingsOfStoredValues)
{
    const auto stored = [](TFieldType type, const QString &text) {
        return FieldValues::fromText(def(type, 20), text, kContext);
    };
    const auto asInteger = [&](TFieldType type, const QString &text) {
        return FieldValues::toInteger(def(type, 20), stored(type, text), kContext);
    };
    const auto asFloat = [&](TFieldType type, const QString &text) {
        return FieldValues::toFloat(def(type, 20), stored(type, text), kContext);
    };
    EXPECT_EQ(asInteger(ftInteger, QStringLiteral("-42")), -42);
    EXPECT_EQ(asInteger(ftFloat, QStringLiteral("2.5")), 3); // half away from zero
    EXPECT_EQ(asInteger(ftFloat, QStringLiteral("-2.5")), -3);
    EXPECT_EQ(asInteger(ftBoolean, QStringLiteral("Tak")), 1);
    EXPECT_EQ(asInteger(ftString, QStringLiteral(" 7 ")), 7);
    EXPECT_EQ(asInteger(ftString, QStringLiteral("1,5")), 2);
    EXPECT_EQ(asFloat(ftString, QStringLiteral("1,5")), 1.5);
    EXPECT_EQ(asFloat(ftCurrency, QStringLiteral("0,1")), 0.1);
    EXPECT_TRUE(FieldValues::toBoolean(def(ftString, 5), stored(ftString, QStringLiteral("Tak")),
                                       kContext));

    const std::function<void()> failing[] = {
        [&] { asInteger(ftString, QStringLiteral("abc")); },
        [&] { asFloat(ftString, QStringLiteral("abc")); },
        [&] { asInteger(ftBlob, QStringLiteral("12")); },
        [&] { asFloat(ftBytes, QStringLiteral("12")); },
        // No whole number can hold it; an arbitrary number would be a silent wrong answer.
        [&] { asInteger(ftFloat, QStringLiteral("1e20")); },
        [&] { asInteger(ftFloat, QStringLiteral("-1e300")); },
        [&] {
            FieldValues::toBoolean(def(ftString, 5), stored(ftString, QStringLiteral("x")),
                                   kContext);
        },
    };
    for (const auto &action : failing)
        EXPECT_EQ(errorKind(action), EngineError::BadValue);
}

TEST(FieldValuesTest, NumbersWrittenIntoFieldsOfEachKind)
{
    EXPECT_EQ(FieldValues::fromFloat(def(ftInteger), 2.6, kContext), QVariant(qint64(3)));
    EXPECT_EQ(FieldValues::fromFloat(def(ftBoolean), 0.5, kContext), QVariant(qint64(1)));
    EXPECT_EQ(FieldValues::fromInteger(def(ftBoolean), 5, kContext), QVariant(qint64(1)));
    EXPECT_EQ(FieldValues::fromInteger(def(ftFloat), 5, kContext), QVariant(5.0));
    EXPECT_EQ(FieldValues::fromInteger(def(ftString, 3), 12345, kContext),
              QVariant(QStringLiteral("123")));
    EXPECT_EQ(FieldValues::fromFloat(def(ftString, 10), 0.5, kContext),
              QVariant(QStringLiteral("0.5")));
    EXPECT_EQ(FieldValues::fromBytes(def(ftBytes, 2), QByteArray("abc"), kContext),
              QVariant(QByteArray("ab")));

    const std::function<void()> failing[] = {
        [] { FieldValues::fromInteger(def(ftSmallint), 40000, kContext); },
        [] { FieldValues::fromInteger(def(ftWord), -1, kContext); },
        [] { FieldValues::fromFloat(def(ftSmallint), 32767.6, kContext); },
        [] { FieldValues::fromFloat(def(ftLargeint), 1e19, kContext); },
        [] {
            FieldValues::fromFloat(def(ftFloat), std::numeric_limits<double>::infinity(), kContext);
        },
        [] {
            FieldValues::fromFloat(def(ftFloat), std::numeric_limits<double>::quiet_NaN(),
                                   kContext);
        },
        [] { FieldValues::fromInteger(def(ftDate), 20240101, kContext); },
        [] { FieldValues::fromInteger(def(ftBlob), 1, kContext); },
    };
    for (const auto &action : failing)
        EXPECT_EQ(errorKind(action), EngineError::BadValue);
}

TEST(FieldValuesTest, TextOfDatesAndTimes)
{
    EXPECT_EQ(FieldValues::textOf(QDate(2024, 3, 1)), QStringLiteral("2024-03-01"));
    EXPECT_EQ(FieldValues::textOf(QTime(7, 8, 9)), QStringLiteral("07:08:09"));
    EXPECT_EQ(FieldValues::textOf(QDateTime(QDate(2024, 3, 1), QTime(7, 8, 9, 10))),
              QStringLiteral("2024-03-01 07:08:09.010"));
}

} // namespace
} // namespace rawen::test
