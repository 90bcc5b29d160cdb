#include "platform/Windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace rawen {

namespace {

struct Znak
{
    char16_t znak;
    char bajt;
};

// The characters above ASCII that the code page holds, each with its byte, sorted. A character
// counts only when it comes back unchanged: ICU puts its substitution byte 0x1A (not "?") where a
// character has no mapping, and a converter may fall back to a look-alike. Built once from ICU's
// own table; a print line then costs no converter.
std::vector<Znak> zbudujTablice()
{
    std::vector<Znak> tablica;
    for (int bajt = 0x80; bajt <= 0xFF; ++bajt) {
        const char jeden = char(bajt);
        QStringDecoder decoder("windows-1250");
        const QString znak = decoder.decode(QByteArrayView(&jeden, 1));
        if (decoder.hasError() || znak.size() != 1 || znak[0].unicode() < 0x80)
            continue;
        QStringEncoder encoder("windows-1250");
        const QByteArray z = encoder.encode(znak);
        if (encoder.hasError() || z != QByteArrayView(&jeden, 1))
            continue;
        tablica.push_back({znak[0].unicode(), jeden});
    }
    std::sort(tablica.begin(), tablica.end(),
              [](const Znak &a, const Znak &b) { return a.znak < b.znak; });
    return tablica;
}

const std::vector<Znak> &tablica()
{
    static const std::vector<Znak> znaki = zbudujTablice();
    return znaki;
}

} // namespace

QByteArray toWindows1250(const QString &text)
{
    QByteArray result;
    dopiszWindows1250(text, result);
    return result;
}

bool dopiszWindows1250(QStringView text, QByteArray &bytes)
{
    const qsizetype poczatek = bytes.size();
    bytes.resize(poczatek + text.size());
    char *cel = bytes.data() + poczatek;
    qsizetype n = 0;
    bool poza = false;
    const char16_t *zrodlo = text.utf16();
    const qsizetype dlugosc = text.size();
    for (qsizetype i = 0; i < dlugosc; ++i) {
        // Four characters at a time while they are ASCII, which most of a printed line is.
        while (i + 4 <= dlugosc) {
            quint64 cztery;
            std::memcpy(&cztery, zrodlo + i, sizeof cztery);
            if (cztery & 0xFF80FF80FF80FF80ULL)
                break;
            cel[n] = char(zrodlo[i]);
            cel[n + 1] = char(zrodlo[i + 1]);
            cel[n + 2] = char(zrodlo[i + 2]);
            cel[n + 3] = char(zrodlo[i + 3]);
            n += 4;
            i += 4;
        }
        if (i >= dlugosc)
            break;
        const char16_t znak = zrodlo[i];
        if (znak < 0x80) {
            cel[n++] = char(znak);
            continue;
        }
        poza = true;
        // A surrogate pair is one character, which the code page cannot hold.
        if (QChar::isHighSurrogate(znak) && i + 1 < dlugosc && QChar::isLowSurrogate(zrodlo[i + 1]))
            ++i;
        const std::vector<Znak> &znaki = tablica();
        const auto miejsce = std::lower_bound(znaki.begin(), znaki.end(), znak,
                                              [](const Znak &z, char16_t c) { return z.znak < c; });
        cel[n++] = miejsce != znaki.end() && miejsce->znak == znak ? miejsce->bajt : '?';
    }
    bytes.truncate(poczatek + n);
    return poza;
}

} // namespace rawen
