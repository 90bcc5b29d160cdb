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
        BadText{ftCurrency, QStringLiteral("12 zł")},
        // Spaces only where they part the thousands: "12 30" may as well mean 12,30.
        BadText{ftCurrency, QStringLiteral("12 30")},
        BadText{ftCurrency, QStringLiteral("1 2345,00")},
        BadText{ftCurrency, QStringLiteral("1234 567,00")},
        BadText{ftCurrency, QStringLiteral("1  230,00")},
        BadText{ftCurrency, QStringLiteral("1 230 ,00")},
        BadText{ftCurrency, QStringLiteral("1 230, 00")},
        BadText{ftCurrency, QStringLiteral("0,123 4")}, BadText{ftCurrency, QStringLiteral("- 5")},
        BadText{ftFloat, QStringLiteral("1 2")}, BadText{ftDate, QStringLiteral("2023-02-29")},
        BadText{ftDate, QStringLiteral("29.02.2024")},
        BadText{ftDate, QStringLiteral("2024-01-05 10:00")},
        BadText{ftTime, QStringLiteral("24:00:00")}, BadText{ftTime, QStringLiteral("12:60")},
        BadText{ftDateTime, QStringLiteral("2024-01-05x10:00:00")},
        BadText{ftDateTime, QStringLiteral("2024-01-05 25:00")},
        BadText{ftTimeStamp, QStringLiteral("jutro")}, BadText{ftBytes, QStringLiteral("ł")},
        BadText{ftBlob, QStringLiteral("€")}));

struct DisplayCase
{
    TFieldType type;
    int size;
    QVariant stored;
    QString display;
};

void PrintTo(const DisplayCase &c, std::ostream *os)
{
    *os << fieldTypeName(c.type).toStdString() << "(" << c.size << ") "
        << c.stored.toString().toStdString();
}

class DisplayText : public testing::TestWithParam<DisplayCase>
{};

// What the grids, printing and the controls show, and what writing it back keeps: the value
// itself, or an amount rounded to the decimals it shows.
TEST_P(DisplayText, ShowsTheValueAndReadsBack)
{
    const DisplayCase &c = GetParam();
    const FieldDef field = def(c.type, c.size);
    const QString display = FieldValues::toDisplayText(field, c.stored);
    EXPECT_EQ(display, c.display);
    const QVariant back = FieldValues::fromText(field, display, kContext);
    EXPECT_EQ(FieldValues::toDisplayText(field, back), display);
    if (c.stored.typeId() == QMetaType::Double) {
        const double rounded = QString(display).remove(u' ').replace(u',', u'.').toDouble();
        EXPECT_EQ(back, QVariant(rounded));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Types, DisplayText,
    testing::Values(
        DisplayCase{ftCurrency, 0, 1230.0, QStringLiteral("1 230,00")},
        DisplayCase{ftCurrency, 0, 492.0, QStringLiteral("492,00")},
        DisplayCase{ftCurrency, 0, 1230.5, QStringLiteral("1 230,50")},
        DisplayCase{ftCurrency, 0, 0.0, QStringLiteral("0,00")},
        DisplayCase{ftCurrency, 0, -0.5, QStringLiteral("-0,50")},
        DisplayCase{ftCurrency, 0, -1234.05, QStringLiteral("-1 234,05")},
        DisplayCase{ftCurrency, 0, 12345678.9, QStringLiteral("12 345 678,90")},
        DisplayCase{ftCurrency, 0, 10.0 / 3, QStringLiteral("3,33")},
        // The double nearest to 2.675 lies below it, and rounding follows the stored value.
        DisplayCase{ftCurrency, 0, 2.675, QStringLiteral("2,67")},
        DisplayCase{ftCurrency, 0, 2.665, QStringLiteral("2,67")},
        DisplayCase{ftCurrency, 0, 0.125, QStringLiteral("0,13")},
        DisplayCase{ftCurrency, 0, -0.001, QStringLiteral("0,00")},
        // A whole number kept in an amount's column by another program shows as an amount.
        DisplayCase{ftCurrency, 0, qint64(1500), QStringLiteral("1 500,00")},
        DisplayCase{ftCurrency, 0, 1e300, QStringLiteral("1") + QString(300, u'0')},
        DisplayCase{ftBCD, 4, 1234.5, QStringLiteral("1 234,5000")},
        DisplayCase{ftBCD, 0, 1234.5, QStringLiteral("1 235")},
        DisplayCase{ftBCD, 1, -0.25, QStringLiteral("-0,3")},
        DisplayCase{ftFMTBcd, 3, 7.0, QStringLiteral("7,000")},
        // Other numbers keep their shortest text.
        DisplayCase{ftFloat, 0, 1234.5, QStringLiteral("1234,5")},
        DisplayCase{ftFloat, 0, 2.5, QStringLiteral("2,5")},
        DisplayCase{ftInteger, 0, qint64(-12345), QStringLiteral("-12345")},
        DisplayCase{ftBoolean, 0, qint64(1), QStringLiteral("Tak")},
        DisplayCase{ftBoolean, 0, qint64(0), QStringLiteral("Nie")},
        DisplayCase{ftString, 10, QStringLiteral("a.b,c"), QStringLiteral("a.b,c")},
        DisplayCase{ftDate, 0, QStringLiteral("2024-01-02"), QStringLiteral("2024-01-02")},
        DisplayCase{ftDateTime, 0, QStringLiteral("2024-01-02 03:04:05"),
                    QStringLiteral("2024-01-02 03:04:05")}));

// An amount typed as it shows or as it is written: with or without the spaces, with a comma or a
// point, with a space a program pasted from elsewhere puts between thousands.
TEST(FieldValuesTest, AnAmountIsReadWithOrWithoutItsSpaces)
{
    const FieldDef kwota = def(ftCurrency);
    const struct
    {
        const char16_t *text;
        double value;
    } cases[] = {
        {u"1 230,00", 1230},
        {u"1230,00", 1230},
        {u"1230.00", 1230},
        {u"1 230.00", 1230},
        {u"1\u00a0230,50", 1230.5},
        {u"1\u202f230,50", 1230.5},
        {u" -12 345 678,9 ", -12345678.9},
        {u"+999 999", 999999},
        {u"-0,50", -0.5},
        {u"230", 230},
        {u",5", 0.5},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(FieldValues::fromText(kwota, text, kContext), QVariant(c.value))
            << text.toStdString();
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
