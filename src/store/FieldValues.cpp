#include "store/FieldValues.h"

#include "format/Formatowanie.h"
#include "platform/EngineError.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <charconv>
#include <cmath>
#include <limits>

namespace rawen {
namespace FieldValues {

namespace {

[[noreturn]] void bad(const FieldDef &field, const QString &context, const QString &why)
{
    throw EngineError(EngineError::BadValue,
                      QStringLiteral("%1: pole %2: %3").arg(context, field.name, why));
}

bool isBoolean(const FieldDef &field)
{
    return field.dataType == ftBoolean;
}

// Ranges of the whole-number types.
void checkRange(const FieldDef &field, qint64 value, const QString &context)
{
    qint64 low = std::numeric_limits<qint64>::min();
    qint64 high = std::numeric_limits<qint64>::max();
    switch (field.dataType) {
    case ftSmallint:
        low = -32768;
        high = 32767;
        break;
    case ftWord:
        low = 0;
        high = 65535;
        break;
    case ftInteger:
    case ftAutoInc:
        low = std::numeric_limits<qint32>::min();
        high = std::numeric_limits<qint32>::max();
        break;
    default:
        break;
    }
    if (value < low || value > high)
        bad(field, context, QStringLiteral("wartość %1 poza zakresem").arg(value));
}

// Texts longer than the field are cut, as the old engine did; memos have no limit.
QString fitText(const FieldDef &field, const QString &text)
{
    switch (field.dataType) {
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
        return text;
    default:
        return field.size > 0 && text.size() > field.size ? text.left(field.size) : text;
    }
}

// The fewest digits that read back as the same double, never in exponent form: what
// QString::number(value, 'f', QLocale::FloatingPointShortest) gives, at a fraction of the cost,
// which counts where a printed table formats every number of every record. std::to_chars finds
// the digits; they are placed around the point here, as its fixed form would print every digit
// of a large value's binary expansion instead of zeros.
QString numberText(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // no "-0"
    if (!std::isfinite(value))
        return QString::number(value, 'f', QLocale::FloatingPointShortest);
    char naukowa[32];
    const auto wynik =
        std::to_chars(naukowa, naukowa + sizeof naukowa, value, std::chars_format::scientific);
    const char *znak = naukowa;
    const bool ujemna = *znak == '-';
    if (ujemna)
        ++znak;
    char cyfry[24];
    int ile = 0;
    for (; znak < wynik.ptr && *znak != 'e'; ++znak) {
        if (*znak != '.')
            cyfry[ile++] = *znak;
    }
    int wykladnik = 0;
    std::from_chars(znak + 1 + (znak[1] == '+'), wynik.ptr, wykladnik);

    QString tekst;
    tekst.reserve(ile + std::abs(wykladnik) + 3);
    if (ujemna)
        tekst += u'-';
    const int przecinek = wykladnik + 1; // digits before the point
    if (przecinek <= 0) {
        tekst += QLatin1StringView("0.");
        tekst += QString(-przecinek, u'0');
        tekst += QLatin1StringView(cyfry, ile);
    } else if (przecinek >= ile) {
        tekst += QLatin1StringView(cyfry, ile);
        tekst += QString(przecinek - ile, u'0');
    } else {
        tekst += QLatin1StringView(cyfry, przecinek);
        tekst += u'.';
        tekst += QLatin1StringView(cyfry + przecinek, ile - przecinek);
    }
    return tekst;
}

bool parseBoolean(const QString &text, bool *value)
{
    const QString t = text.trimmed().toLower();
    static const QStringList yes{QStringLiteral("true"), QStringLiteral("t"),
                                 QStringLiteral("tak"),  QStringLiteral("1"),
                                 QStringLiteral("yes"),  QStringLiteral("y")};
    static const QStringList no{QStringLiteral("false"), QStringLiteral("f"),
                                QStringLiteral("nie"),   QStringLiteral("0"),
                                QStringLiteral("no"),    QStringLiteral("n")};
    if (yes.contains(t)) {
        *value = true;
        return true;
    }
    if (no.contains(t)) {
        *value = false;
        return true;
    }
    return false;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The display text parts thousands by a space; one pasted from elsewhere may hold a no-break or
// a narrow no-break space instead.
bool isGroupSpace(QChar c)
{
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

// Takes the spaces out of the whole part of a number written as the display text writes it.
// They must part groups of three digits ("1 230,00", "-12 345"): a space anywhere else, or a
// group of another size, makes the text no number, since "12 30" may as well mean 12,30.
bool withoutGroupSpaces(QString &t)
{
    qsizetype i = t.startsWith(u'-') || t.startsWith(u'+') ? 1 : 0;
    QString wynik = t.left(i);
    wynik.reserve(t.size());
    qsizetype grupa = 0;
    bool pierwsza = true;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (isDigit(c)) {
            wynik += c;
            ++grupa;
        } else if (isGroupSpace(c)) {
            if (grupa < 1 || grupa > 3 || (!pierwsza && grupa != 3))
                return false;
            pierwsza = false;
            grupa = 0;
        } else {
            break;
        }
    }
    if (!pierwsza && grupa != 3)
        return false;
    for (qsizetype j = i; j < t.size(); ++j) {
        if (isGroupSpace(t.at(j)))
            return false;
    }
    wynik += QStringView(t).mid(i);
    t = wynik;
    return true;
}

bool parseNumber(const QString &text, double *value)
{
    QString t = text.trimmed();
    for (const QChar c : std::as_const(t)) {
        if (isGroupSpace(c)) {
            if (!withoutGroupSpaces(t))
                return false;
            break;
        }
    }
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

QString timeText(const QTime &time)
{
    return time.toString(time.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
}

QTime parseTime(const QString &text)
{
    for (const char *format : {"HH:mm:ss.zzz", "HH:mm:ss", "HH:mm"}) {
        const QTime time = QTime::fromString(text, QString::fromLatin1(format));
        if (time.isValid())
            return time;
    }
    return {};
}

QString dateTimeText(const QDate &date, const QTime &time)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + timeText(time);
}

} // namespace

int amountDecimals(const FieldDef &field)
{
    // The old engine's BCD fields held at most 32 decimals.
    switch (field.dataType) {
    case ftCurrency:
        return 2;
    case ftBCD:
    case ftFMTBcd:
        return qBound(0, field.size, 32);
    default:
        return -1;
    }
}

QString textOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return timeText(value.toTime());
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dateTimeText(dt.date(), dt.time());
    }
    default:
        return value.toString();
    }
}

QVariant fromText(const FieldDef &field, const QString &text, const QString &context)
{
    if (text.isEmpty())
        return {};
    switch (field.dataType) {
    case ftDate: {
        const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            bad(field, context, QStringLiteral("\"%1\" nie jest datą rrrr-mm-dd").arg(text));
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    }
    case ftTime: {
        const QTime time = parseTime(text.trimmed());
        if (!time.isValid())
            bad(field, context, QStringLiteral("\"%1\" nie jest godziną gg:mm:ss").arg(text));
        return timeText(time);
    }
    case ftDateTime:
    case ftTimeStamp: {
        QString t = text.trimmed();
        t.replace(u'T', u' ');
        const QDate date = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
        QTime time(0, 0);
        if (t.size() > 10) {
            time = t.at(10) == u' ' ? parseTime(t.mid(11)) : QTime();
        }
        if (!date.isValid() || !time.isValid())
            bad(field, context,
                QStringLiteral("\"%1\" nie jest datą i godziną rrrr-mm-dd gg:mm:ss").arg(text));
        return dateTimeText(date, time);
    }
    default:
        break;
    }
    switch (storageOf(field.dataType)) {
    case Storage::Text:
        return fitText(field, text);
    case Storage::Integer: {
        if (isBoolean(field)) {
            bool value = false;
            if (!parseBoolean(text, &value))
                bad(field, context, QStringLiteral("\"%1\" nie jest wartością logiczną").arg(text));
            return qint64(value ? 1 : 0);
        }
        bool ok = false;
        const qint64 value = text.trimmed().toLongLong(&ok);
        if (!ok)
            bad(field, context, QStringLiteral("\"%1\" nie jest liczbą całkowitą").arg(text));
        checkRange(field, value, context);
        return value;
    }
    case Storage::Real: {
        double value = 0;
        if (!parseNumber(text, &value))
            bad(field, context, QStringLiteral("\"%1\" nie jest liczbą").arg(text));
        return value;
    }
    case Storage::Blob: {
        QByteArray bytes;
        bytes.reserve(text.size());
        for (const QChar c : text) {
            if (c.unicode() > 0xff)
                bad(field, context, QStringLiteral("znak spoza zakresu bajtu"));
            bytes.append(char(c.unicode()));
        }
        return fromBytes(field, bytes, context);
    }
    case Storage::Unsupported:
        break;
    }
    bad(field, context,
        QStringLiteral("typ %1 nie jest obsługiwany").arg(fieldTypeName(field.dataType)));
}

QVariant fromInteger(const FieldDef &field, qint64 value, const QString &context)
{
    switch (storageOf(field.dataType)) {
    case Storage::Integer:
        if (isBoolean(field))
            return qint64(value != 0 ? 1 : 0);
        checkRange(field, value, context);
        return value;
    case Storage::Real:
        return double(value);
    case Storage::Text:
        if (field.dataType == ftDate || field.dataType == ftTime || field.dataType == ftDateTime ||
            field.dataType == ftTimeStamp)
            bad(field, context, QStringLiteral("liczba zamiast daty"));
        return fitText(field, QString::number(value));
    default:
        bad(field, context, QStringLiteral("liczba w polu binarnym"));
    }
}

QVariant fromFloat(const FieldDef &field, double value, const QString &context)
{
    if (!std::isfinite(value))
        bad(field, context, QStringLiteral("wartość nie jest liczbą skończoną"));
    switch (storageOf(field.dataType)) {
    case Storage::Real:
        return value;
    case Storage::Integer: {
        if (isBoolean(field))
            return qint64(value != 0 ? 1 : 0);
        if (std::fabs(value) >= 9.2e18)
            bad(field, context, QStringLiteral("wartość poza zakresem"));
        return fromInteger(field, std::llround(value), context);
    }
    case Storage::Text:
        return fromText(field, numberText(value), context);
    default:
        bad(field, context, QStringLiteral("liczba w polu binarnym"));
    }
}

QVariant fromBytes(const FieldDef &field, const QByteArray &bytes, const QString &context)
{
    if (bytes.isEmpty())
        return {};
    if (storageOf(field.dataType) != Storage::Blob)
        return fromText(field, QString::fromUtf8(bytes), context);
    if ((field.dataType == ftBytes || field.dataType == ftVarBytes) && field.size > 0 &&
        bytes.size() > field.size)
        return bytes.left(field.size);
    return bytes;
}

QString toText(const FieldDef &field, const QVariant &stored)
{
    if (!stored.isValid())
        return {};
    switch (stored.typeId()) {
    case QMetaType::LongLong:
        if (isBoolean(field))
            return stored.toLongLong() ? QStringLiteral("True") : QStringLiteral("False");
        return QString::number(stored.toLongLong());
    case QMetaType::Double:
        return numberText(stored.toDouble());
    case QMetaType::QByteArray:
        return QString::fromLatin1(stored.toByteArray());
    default:
        return stored.toString();
    }
}

qint64 toInteger(const FieldDef &field, const QVariant &stored, const QString &context)
{
    if (!stored.isValid())
        return 0;
    switch (stored.typeId()) {
    case QMetaType::LongLong:
        return stored.toLongLong();
    case QMetaType::Double: {
        // llround of a number no qint64 holds gives an arbitrary result, not an error.
        const double number = stored.toDouble();
        if (!(std::fabs(number) < 9.2e18))
            bad(field, context,
                QStringLiteral("wartość %1 poza zakresem liczby całkowitej")
                    .arg(numberText(number)));
        return std::llround(number);
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 whole = stored.toString().trimmed().toLongLong(&ok);
        if (ok)
            return whole;
        double number = 0;
        if (parseNumber(stored.toString(), &number) && std::fabs(number) < 9.2e18)
            return std::llround(number);
        bool flag = false;
        if (isBoolean(field) && parseBoolean(stored.toString(), &flag))
            return flag ? 1 : 0;
        bad(field, context, QStringLiteral("\"%1\" nie jest liczbą").arg(stored.toString()));
    }
    default:
        bad(field, context, QStringLiteral("pole binarne nie jest liczbą"));
    }
}

double toFloat(const FieldDef &field, const QVariant &stored, const QString &context)
{
    if (!stored.isValid())
        return 0;
    switch (stored.typeId()) {
    case QMetaType::LongLong:
        return double(stored.toLongLong());
    case QMetaType::Double:
        return stored.toDouble();
    case QMetaType::QString: {
        double number = 0;
        if (!parseNumber(stored.toString(), &number))
            bad(field, context, QStringLiteral("\"%1\" nie jest liczbą").arg(stored.toString()));
        return number;
    }
    default:
        bad(field, context, QStringLiteral("pole binarne nie jest liczbą"));
    }
}

bool toBoolean(const FieldDef &field, const QVariant &stored, const QString &context)
{
    if (!stored.isValid())
        return false;
    switch (stored.typeId()) {
    case QMetaType::LongLong:
        return stored.toLongLong() != 0;
    case QMetaType::Double:
        return stored.toDouble() != 0;
    case QMetaType::QString: {
        bool value = false;
        if (!parseBoolean(stored.toString(), &value))
            bad(field, context,
                QStringLiteral("\"%1\" nie jest wartością logiczną").arg(stored.toString()));
        return value;
    }
    default:
        bad(field, context, QStringLiteral("pole binarne nie jest wartością logiczną"));
    }
}

QString toDisplayText(const FieldDef &field, const QVariant &stored)
{
    if (!stored.isValid())
        return {};
    if (isBoolean(field))
        return stored.toLongLong() ? QStringLiteral("Tak") : QStringLiteral("Nie");
    const int decimals = amountDecimals(field);
    if (decimals >= 0 &&
        (stored.typeId() == QMetaType::Double || stored.typeId() == QMetaType::LongLong)) {
        // Beyond what an amount can be (not finite, 10^36 and more) the plain number shows.
        const QString amount = FormatujKwote(stored.toDouble(), decimals);
        if (!amount.isEmpty())
            return amount;
    }
    if (stored.typeId() == QMetaType::Double)
        return numberText(stored.toDouble()).replace(u'.', u',');
    return toText(field, stored);
}

int displayWidth(const FieldDef &field)
{
    const int decimals = amountDecimals(field);
    // As wide as the widest amount whose total the totals line still shows: its picture
    // "##########9.99" has eleven places before the point, which take three group spaces here.
    if (decimals >= 0)
        return 11 + 3 + (decimals > 0 ? 1 + decimals : 0);
    switch (field.dataType) {
    case ftSmallint:
        return 6; // -32768
    case ftWord:
        return 5;
    case ftInteger:
    case ftAutoInc:
        return 11; // -2147483648
    case ftLargeint:
        return 20;
    case ftFloat:
        return 14; // as wide as a total: "##########9.99"
    case ftBoolean:
        return 3; // "Tak", "Nie"
    case ftDate:
        return 10;
    case ftTime:
        return 8;
    case ftDateTime:
    case ftTimeStamp:
        return 19;
    case ftGuid:
        return 38;
    default:
        break;
    }
    if (field.size > 0)
        return qMin(field.size, 255);
    return 40;
}

} // namespace FieldValues
} // namespace rawen
