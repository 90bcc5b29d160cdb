#include "platform/Windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace rawen {

namespace {

// ICU puts its substitution byte 0x1A (not "?") where a character has no mapping, and a
// converter may fall back to a look-alike; only a character that comes back unchanged counts.
// Fresh converters for each character: the error flag outlives resetState().
QByteArray encodeOne(const QString &character)
{
    QStringEncoder encoder("windows-1250");
    const QByteArray bytes = encoder.encode(character);
    if (encoder.hasError() || bytes.isEmpty())
        return QByteArrayLiteral("?");
    QStringDecoder decoder("windows-1250");
    const QString back = decoder.decode(bytes);
    if (decoder.hasError() || back != character)
        return QByteArrayLiteral("?");
    return bytes;
}

} // namespace

QByteArray toWindows1250(const QString &text)
{
    QStringEncoder encoder("windows-1250");
    QStringDecoder decoder("windows-1250");
    Q_ASSERT(encoder.isValid() && decoder.isValid());
    const QByteArray whole = encoder.encode(text);
    const QString back = decoder.decode(whole);
    if (!encoder.hasError() && !decoder.hasError() && back == text)
        return whole;

    QByteArray result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        result += encodeOne(text.mid(i, length));
        i += length;
    }
    return result;
}

} // namespace rawen
