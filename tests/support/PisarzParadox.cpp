#include "support/PisarzParadox.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTime>

#include <cstring>
#include <stdexcept>

namespace rawen::test {

namespace {

constexpr int kBlokNotatek = 4096;

void le16(QByteArray &b, qsizetype at, quint32 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void le32(QByteArray &b, qsizetype at, quint32 v)
{
    le16(b, at, v & 0xFFFF);
    le16(b, at + 2, v >> 16);
}

void be(char *p, quint64 v, int bajty)
{
    for (int i = bajty - 1; i >= 0; --i) {
        p[i] = char(v & 0xFF);
        v >>= 8;
    }
}

[[noreturn]] void zle(const QString &co)
{
    throw std::runtime_error(co.toStdString());
}

int szerokosc(const PoleWzoru &p)
{
    switch (p.typ) {
    case 'A':
    case 'Y':
        return p.rozmiar;
    case 'D':
    case 'I':
    case '+':
    case 'T':
        return 4;
    case 'S':
        return 2;
    case 'N':
    case '$':
    case '@':
        return 8;
    case 'L':
        return 1;
    case '#':
        return 17;
    case 'M':
    case 'B':
    case 'F':
    case 'O':
    case 'G':
        return p.rozmiar + 10;
    }
    zle(QStringLiteral("nieznany typ %1").arg(QLatin1Char(p.typ)));
}

int bajtTypu(char typ)
{
    switch (typ) {
    case 'A':
        return 0x01;
    case 'D':
        return 0x02;
    case 'S':
        return 0x03;
    case 'I':
        return 0x04;
    case '$':
        return 0x05;
    case 'N':
        return 0x06;
    case 'L':
        return 0x09;
    case 'M':
        return 0x0C;
    case 'B':
        return 0x0D;
    case 'F':
        return 0x0E;
    case 'O':
        return 0x0F;
    case 'G':
        return 0x10;
    case 'T':
        return 0x14;
    case '@':
        return 0x15;
    case '+':
        return 0x16;
    case '#':
        return 0x17;
    case 'Y':
        return 0x18;
    }
    zle(QStringLiteral("nieznany typ %1").arg(QLatin1Char(typ)));
}

// The size byte of the field list: what a type's width or its own size says.
int bajtRozmiaru(const PoleWzoru &p)
{
    return p.typ == '#' ? p.rozmiar : szerokosc(p);
}

QByteArray koduj(const QByteArray &kodowanie, const QString &tekst)
{
    QStringEncoder koder(kodowanie.constData());
    if (!koder.isValid())
        zle(QStringLiteral("brak kodowania %1").arg(QString::fromLatin1(kodowanie)));
    return koder.encode(tekst);
}

qint64 dzien(QDate d)
{
    return d.toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1;
}

quint64 liczba(double v)
{
    quint64 bity;
    std::memcpy(&bity, &v, sizeof bity);
    return (bity & 0x8000000000000000ull) ? ~bity : bity | 0x8000000000000000ull;
}

void bcd(char *p, const QString &tekst, int miejsca)
{
    QString t = tekst.trimmed();
    const bool ujemna = t.startsWith(u'-');
    if (ujemna)
        t = t.mid(1);
    QString calosc = t.section(u'.', 0, 0);
    QString ulamek = t.section(u'.', 1);
    if (ulamek.size() > miejsca)
        zle(QStringLiteral("za dużo miejsc po przecinku: %1").arg(tekst));
    ulamek = ulamek.leftJustified(miejsca, u'0');
    const QString cyfry = (calosc + ulamek).rightJustified(32, u'0');
    if (cyfry.size() > 32)
        zle(QStringLiteral("za dużo cyfr: %1").arg(tekst));
    p[0] = char((ujemna ? 0 : 0x80) | miejsca);
    for (int i = 0; i < 32; ++i) {
        int c = cyfry.at(i).unicode() - u'0';
        if (ujemna)
            c = 0x0F - c;
        char &bajt = p[1 + i / 2];
        bajt = char(i % 2 == 0 ? (c << 4) : (quint8(bajt) | c));
    }
}

// The memo file being built: its first block, then blocks added as blobs need them.
struct PlikNotatek
{
    QByteArray bajty;
    qint64 wspolny = -1; // the shared block being filled
    int wpisy = 0;
    int akapit = 0;

    PlikNotatek() : bajty(kBlokNotatek, '\0')
    {
        bajty[0] = 0;
        le16(bajty, 1, 1);
    }

    quint32 wlasny(const QByteArray &dane)
    {
        const qint64 od = bajty.size();
        const int bloki = int((9 + dane.size() + kBlokNotatek - 1) / kBlokNotatek);
        bajty.append(QByteArray(qint64(bloki) * kBlokNotatek, '\0'));
        bajty[od] = 2;
        le16(bajty, od + 1, quint32(bloki));
        le32(bajty, od + 3, quint32(dane.size()));
        le16(bajty, od + 7, 1);
        std::memcpy(bajty.data() + od + 9, dane.constData(), size_t(dane.size()));
        return quint32(od) | 0xFF;
    }

    quint32 wspolny_(const QByteArray &dane)
    {
        const int akapity = int((dane.size() + 15) / 16);
        if (wspolny < 0 || wpisy == 64 || (akapit + akapity) * 16 > kBlokNotatek) {
            wspolny = bajty.size();
            bajty.append(QByteArray(kBlokNotatek, '\0'));
            bajty[wspolny] = 3;
            le16(bajty, wspolny + 1, 1);
            wpisy = 0;
            akapit = (12 + 64 * 5 + 15) / 16;
        }
        const qint64 wpis = wspolny + 12 + wpisy * 5;
        bajty[wpis] = char(akapit);
        bajty[wpis + 1] = char(akapity);
        le16(bajty, wpis + 2, 1);
        bajty[wpis + 4] = char(dane.size() % 16);
        std::memcpy(bajty.data() + wspolny + akapit * 16, dane.constData(), size_t(dane.size()));
        akapit += akapity;
        return quint32(wspolny) | quint32(wpisy++);
    }

    quint32 dodaj(const QByteArray &dane, PostacNotatki postac)
    {
        const bool maly = dane.size() <= kBlokNotatek - 336;
        if (postac == PostacNotatki::WBlokuWlasnym || !maly ||
            (postac == PostacNotatki::Samodzielna && dane.size() > 2048))
            return wlasny(dane);
        return wspolny_(dane);
    }
};

void zapiszPlik(const QString &sciezka, const QByteArray &bajty)
{
    QFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly | QIODevice::Truncate) || plik.write(bajty) != bajty.size())
        zle(QStringLiteral("nie można zapisać %1").arg(sciezka));
}

void wartosc(char *p, const PoleWzoru &pole, const QVariant &v, const OpcjeParadoxu &opcje,
             PlikNotatek &notatki, bool &saNotatki)
{
    const int w = szerokosc(pole);
    std::memset(p, 0, size_t(w));
    if (!v.isValid() || v.isNull())
        return;
    switch (pole.typ) {
    case 'A': {
        const QByteArray b = koduj(opcje.kodowanie, v.toString());
        std::memcpy(p, b.constData(), size_t(qMin<qsizetype>(b.size(), w)));
        return;
    }
    case 'Y': {
        const QByteArray b = v.toByteArray();
        std::memcpy(p, b.constData(), size_t(qMin<qsizetype>(b.size(), w)));
        return;
    }
    case 'S':
        be(p, quint16(qint16(v.toInt())) ^ 0x8000u, 2);
        return;
    case 'I':
    case '+':
        be(p, quint32(qint32(v.toLongLong())) ^ 0x80000000u, 4);
        return;
    case 'D':
        be(p, quint32(qint32(dzien(v.toDate()))) ^ 0x80000000u, 4);
        return;
    case 'T':
        be(p, quint32(qint32(v.toTime().msecsSinceStartOfDay())) ^ 0x80000000u, 4);
        return;
    case 'N':
    case '$':
        be(p, liczba(v.toDouble()), 8);
        return;
    case '@': {
        const QDateTime dt = v.toDateTime();
        be(p, liczba(double(dzien(dt.date()) * 86400000ll + dt.time().msecsSinceStartOfDay())), 8);
        return;
    }
    case 'L':
        p[0] = char(0x80 | (v.toBool() ? 1 : 0));
        return;
    case '#':
        bcd(p, v.toString(), pole.rozmiar);
        return;
    case 'M':
    case 'F':
    case 'B':
    case 'O':
    case 'G': {
        const QByteArray dane = pole.typ == 'M' || pole.typ == 'F'
                                    ? koduj(opcje.kodowanie, v.toString())
                                    : v.toByteArray();
        if (dane.isEmpty())
            return;
        const int naglowek = pole.rozmiar;
        std::memcpy(p, dane.constData(), size_t(qMin<qsizetype>(dane.size(), naglowek)));
        QByteArray opis(10, '\0');
        if (dane.size() > naglowek) {
            le32(opis, 0, notatki.dodaj(dane, opcje.notatki));
            saNotatki = true;
        }
        le32(opis, 4, quint32(dane.size()));
        le16(opis, 8, 1);
        std::memcpy(p + naglowek, opis.constData(), 10);
        return;
    }
    }
}

} // namespace

QByteArray NaglowekParadoxu(const QList<PoleWzoru> &pola, const OpcjeParadoxu &opcje, int typPliku,
                            qint64 rekordy, int bloki, int pierwszy, int ostatni)
{
    const bool rozszerzony = opcje.wersja >= 5;
    QByteArray h(rozszerzony ? 0x78 : 0x58, '\0');
    int rekord = 0;
    for (const PoleWzoru &p : pola)
        rekord += szerokosc(p);
    if (typPliku == 1)
        rekord += 6;
    le16(h, 0x00, quint32(rekord));
    h[0x04] = char(typPliku);
    h[0x05] = char(opcje.kilobajtyBloku);
    le32(h, 0x06, quint32(rekordy));
    le16(h, 0x0A, quint32(bloki));
    le16(h, 0x0C, quint32(bloki));
    le16(h, 0x0E, quint32(pierwszy));
    le16(h, 0x10, quint32(ostatni));
    le16(h, 0x21, quint32(pola.size() + (typPliku == 1 ? 3 : 0)));
    le16(h, 0x23, quint32(opcje.polaKlucza));
    h[0x29] = 0;
    h[0x39] = char(opcje.wersja);
    if (rozszerzony)
        le16(h, 0x6A, quint32(opcje.stronaKodowa));
    if (typPliku != 1) {
        for (const PoleWzoru &p : pola) {
            h.append(char(bajtTypu(p.typ)));
            h.append(char(bajtRozmiaru(p)));
        }
        h.append(QByteArray(4 + 4 * pola.size(), '\0'));
        QByteArray nazwa = koduj(opcje.kodowanie, opcje.nazwaTabeli);
        const int slot = opcje.wersja >= 12 ? 261 : 79;
        nazwa = nazwa.left(slot - 1);
        h.append(nazwa);
        h.append(QByteArray(slot - nazwa.size(), '\0'));
        for (const PoleWzoru &p : pola) {
            h.append(koduj(opcje.kodowanie, p.nazwa));
            h.append('\0');
        }
        if (rozszerzony) {
            for (int i = 0; i < pola.size(); ++i) {
                h.append(char((i + 1) & 0xFF));
                h.append('\0');
            }
            h.append(opcje.sterownik);
            h.append('\0');
        }
    }
    const int rozmiar = int((h.size() + 0x7FF) / 0x800 * 0x800);
    h.append(QByteArray(rozmiar - h.size(), '\0'));
    le16(h, 0x02, quint32(rozmiar));
    return h;
}

void ZapiszTabeleParadox(const QString &sciezka, const QList<PoleWzoru> &pola,
                         const QList<RekordWzoru> &rekordy, const OpcjeParadoxu &opcjePodane)
{
    OpcjeParadoxu opcje = opcjePodane;
    if (opcje.nazwaTabeli.isEmpty())
        opcje.nazwaTabeli = QFileInfo(sciezka).fileName();
    int rekord = 0;
    for (const PoleWzoru &p : pola)
        rekord += szerokosc(p);
    const int blok = opcje.kilobajtyBloku * 1024;
    const int naBlok = opcje.rekordowNaBlok > 0 ? opcje.rekordowNaBlok : (blok - 6) / rekord;
    const int wLancuchu = rekordy.isEmpty() ? 0 : int((rekordy.size() + naBlok - 1) / naBlok);
    const int bloki = wLancuchu + (opcje.wolnyBlokZeStarymiRekordami ? 1 : 0);
    // The chain's n-th block (from 1) and where it lies in the file.
    auto fizyczny = [&](int n) { return opcje.odwrocKolejnoscBlokow ? wLancuchu - n + 1 : n; };
    const QByteArray naglowek =
        NaglowekParadoxu(pola, opcje, opcje.polaKlucza > 0 ? 0 : 2, rekordy.size(), bloki,
                         wLancuchu ? fizyczny(1) : 0, wLancuchu ? fizyczny(wLancuchu) : 0);
    QByteArray plik = naglowek;
    plik.append(QByteArray(qint64(bloki) * blok, '\0'));
    PlikNotatek notatki;
    bool saNotatki = false;
    for (int n = 1; n <= wLancuchu; ++n) {
        char *b = plik.data() + naglowek.size() + qint64(fizyczny(n) - 1) * blok;
        const int od = (n - 1) * naBlok;
        const int ile = int(qMin<qsizetype>(naBlok, rekordy.size() - od));
        QByteArray h(6, '\0');
        le16(h, 0, quint32(n < wLancuchu ? fizyczny(n + 1) : 0));
        le16(h, 2, quint32(n > 1 ? fizyczny(n - 1) : 0));
        le16(h, 4, quint32(quint16(qint16((ile - 1) * rekord))));
        std::memcpy(b, h.constData(), 6);
        for (int r = 0; r < ile; ++r) {
            char *p = b + 6 + r * rekord;
            int przesuniecie = 0;
            for (int i = 0; i < pola.size(); ++i) {
                wartosc(p + przesuniecie, pola[i], rekordy[od + r].value(i), opcje, notatki,
                        saNotatki);
                przesuniecie += szerokosc(pola[i]);
            }
        }
        // What the engine leaves of deleted records after the block's last one.
        if (opcje.smieciZaRekordami && 6 + (ile + 1) * rekord <= blok)
            std::memset(b + 6 + ile * rekord, 0x5A, size_t(rekord));
    }
    if (opcje.wolnyBlokZeStarymiRekordami) {
        char *b = plik.data() + naglowek.size() + qint64(bloki - 1) * blok;
        std::memset(b + 6, 0x41, size_t(blok - 6));
        QByteArray h(6, '\0');
        le16(h, 4, quint32(quint16(qint16(((blok - 6) / rekord - 1) * rekord))));
        std::memcpy(b, h.constData(), 6);
    }
    zapiszPlik(sciezka, plik);
    if (saNotatki) {
        const QFileInfo info(sciezka);
        zapiszPlik(info.dir().filePath(info.completeBaseName() + QStringLiteral(".MB")),
                   notatki.bajty);
    }
}

void ZapiszIndeksGlowny(const QString &sciezkaTabeli, const QList<PoleWzoru> &pola,
                        const OpcjeParadoxu &opcje)
{
    const QFileInfo info(sciezkaTabeli);
    QList<PoleWzoru> klucz = pola.mid(0, opcje.polaKlucza);
    zapiszPlik(info.dir().filePath(info.completeBaseName() + QStringLiteral(".PX")),
               NaglowekParadoxu(klucz, opcje, 1, 0, 0, 0, 0));
}

void ZapiszIndeksWtorny(const QString &sciezkaTabeli, const QString &rozszerzenie,
                        const QList<PoleWzoru> &pola, const QString &nazwa,
                        const OpcjeParadoxu &opcjePodane)
{
    const QFileInfo info(sciezkaTabeli);
    OpcjeParadoxu opcje = opcjePodane;
    opcje.nazwaTabeli = nazwa;
    opcje.polaKlucza = int(pola.size());
    QList<PoleWzoru> polaIndeksu = pola;
    polaIndeksu << PoleWzoru{QStringLiteral("Hint"), 'S', 0};
    const bool zlozony = rozszerzenie.startsWith(QLatin1String("XG"), Qt::CaseInsensitive);
    zapiszPlik(info.dir().filePath(info.completeBaseName() + u'.' + rozszerzenie),
               NaglowekParadoxu(polaIndeksu, opcje, zlozony ? 8 : 5, 0, 0, 0, 0));
}

} // namespace rawen::test
