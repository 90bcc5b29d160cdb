#include "legacy/TabelaParadox.h"

#include "legacy/MemoParadox.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <vector>

namespace rawen {

namespace {

// The header is little-endian; the values in records are big-endian with the sign bit turned
// over, so that their bytes sort as the numbers do.
quint32 le16(const char *p)
{
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8;
}

quint32 le32(const char *p)
{
    return le16(p) | le16(p + 2) << 16;
}

quint64 be(const char *p, int bajty)
{
    quint64 v = 0;
    for (int i = 0; i < bajty; ++i)
        v = v << 8 | quint8(p[i]);
    return v;
}

bool zera(const char *p, int bajty)
{
    for (int i = 0; i < bajty; ++i) {
        if (p[i] != 0)
            return false;
    }
    return true;
}

// Bytes in the record, for the types whose width the type fixes; 0 for those the size gives.
int szerokoscTypu(TypParadox typ)
{
    switch (typ) {
    case TypParadox::Data:
    case TypParadox::Dluga:
    case TypParadox::Czas:
    case TypParadox::Licznik:
        return 4;
    case TypParadox::Krotka:
        return 2;
    case TypParadox::Waluta:
    case TypParadox::Liczba:
    case TypParadox::DataCzas:
        return 8;
    case TypParadox::Logiczne:
        return 1;
    case TypParadox::Bcd:
        return 17;
    default:
        return 0;
    }
}

bool znanyTyp(int bajt)
{
    switch (bajt) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x09:
    case 0x0C:
    case 0x0D:
    case 0x0E:
    case 0x0F:
    case 0x10:
    case 0x14:
    case 0x15:
    case 0x16:
    case 0x17:
    case 0x18:
        return true;
    default:
        return false;
    }
}

constexpr qint64 kMsNaDobe = 86400000;

// Day 1 is 1 January of the year 1.
QDate dataZDnia(qint64 dzien)
{
    return QDate::fromJulianDay(QDate(1, 1, 1).toJulianDay() + dzien - 1);
}

} // namespace

QString LiteraTypu(TypParadox typ)
{
    switch (typ) {
    case TypParadox::Alfa:
        return QStringLiteral("A");
    case TypParadox::Data:
        return QStringLiteral("D");
    case TypParadox::Krotka:
        return QStringLiteral("S");
    case TypParadox::Dluga:
        return QStringLiteral("I");
    case TypParadox::Waluta:
        return QStringLiteral("$");
    case TypParadox::Liczba:
        return QStringLiteral("N");
    case TypParadox::Logiczne:
        return QStringLiteral("L");
    case TypParadox::Memo:
        return QStringLiteral("M");
    case TypParadox::Blob:
        return QStringLiteral("B");
    case TypParadox::MemoFormatowane:
        return QStringLiteral("F");
    case TypParadox::Ole:
        return QStringLiteral("O");
    case TypParadox::Grafika:
        return QStringLiteral("G");
    case TypParadox::Czas:
        return QStringLiteral("T");
    case TypParadox::DataCzas:
        return QStringLiteral("@");
    case TypParadox::Licznik:
        return QStringLiteral("+");
    case TypParadox::Bcd:
        return QStringLiteral("#");
    case TypParadox::Bajty:
        return QStringLiteral("Y");
    }
    return QStringLiteral("?");
}

bool JestBlobem(TypParadox typ)
{
    return typ == TypParadox::Memo || typ == TypParadox::Blob ||
           typ == TypParadox::MemoFormatowane || typ == TypParadox::Ole ||
           typ == TypParadox::Grafika;
}

NaglowekParadox CzytajNaglowekParadox(const QByteArray &poczatek, qint64 rozmiarPliku,
                                      const QString &nazwa)
{
    auto zly = [&](const QString &przyczyna) -> void {
        throw BladParadox(nazwa, QStringLiteral("błędny nagłówek tabeli (%1)").arg(przyczyna));
    };
    if (poczatek.size() < 0x58)
        zly(QStringLiteral("plik ma tylko %1 B").arg(rozmiarPliku));
    const char *h = poczatek.constData();
    NaglowekParadox n;
    n.rozmiarRekordu = int(le16(h + 0x00));
    n.rozmiarNaglowka = int(le16(h + 0x02));
    n.typPliku = quint8(h[0x04]);
    const int kilobajty = quint8(h[0x05]);
    n.liczbaRekordow = le32(h + 0x06);
    n.blokiWPliku = int(le16(h + 0x0C));
    n.pierwszyBlok = int(le16(h + 0x0E));
    n.ostatniBlok = int(le16(h + 0x10));
    const int liczbaPol = int(le16(h + 0x21));
    n.polaKlucza = int(le16(h + 0x23));
    n.szyfrowanie = le32(h + 0x25);
    n.wersja = quint8(h[0x39]);
    n.licznik = qint32(le32(h + 0x49));

    if (n.wersja < 3 || n.wersja > 12)
        zly(QStringLiteral("nieznana wersja pliku %1").arg(n.wersja));
    if (n.typPliku > 8)
        zly(QStringLiteral("nieznany rodzaj pliku %1").arg(n.typPliku));
    if (kilobajty != 1 && kilobajty != 2 && kilobajty != 3 && kilobajty != 4 &&
        !(n.wersja >= 12 && (kilobajty == 8 || kilobajty == 16 || kilobajty == 32)))
        zly(QStringLiteral("rozmiar bloku %1 KiB").arg(kilobajty));
    n.rozmiarBloku = kilobajty * 1024;
    if (n.rozmiarNaglowka < 0x58 || n.rozmiarNaglowka > rozmiarPliku)
        zly(QStringLiteral("rozmiar nagłówka %1 B przy pliku %2 B")
                .arg(n.rozmiarNaglowka)
                .arg(rozmiarPliku));
    if (n.rozmiarRekordu == 0 || n.rozmiarRekordu > n.rozmiarBloku - 6)
        zly(QStringLiteral("rozmiar rekordu %1 B").arg(n.rozmiarRekordu));
    if (liczbaPol == 0 || liczbaPol > 255)
        zly(QStringLiteral("liczba pól %1").arg(liczbaPol));
    if (n.polaKlucza > liczbaPol)
        zly(QStringLiteral("klucz z %1 pól przy %2 polach").arg(n.polaKlucza).arg(liczbaPol));
    // The primary index (and the index of an index) has no field list of its own to read.
    if (n.typPliku == 1 || n.typPliku == 4 || n.typPliku == 7)
        return n;

    // Paradox 4 and later data files carry a second part of the header before the fields.
    const bool rozszerzony = n.wersja >= 5;
    if (rozszerzony)
        n.stronaKodowa = int(le16(h + 0x6A));
    qsizetype p = rozszerzony ? 0x78 : 0x58;
    const qsizetype koniec = qMin<qsizetype>(poczatek.size(), n.rozmiarNaglowka);
    auto potrzeba = [&](qsizetype ile) {
        if (p + ile > koniec)
            zly(QStringLiteral("opis pól wychodzi poza nagłówek"));
    };
    potrzeba(2 * liczbaPol);
    int przesuniecie = 0;
    for (int i = 0; i < liczbaPol; ++i) {
        const int bajt = quint8(h[p + 2 * i]);
        const int rozmiar = quint8(h[p + 2 * i + 1]);
        if (!znanyTyp(bajt))
            zly(QStringLiteral("pole %1 nieznanego typu 0x%2")
                    .arg(i + 1)
                    .arg(bajt, 2, 16, QLatin1Char('0')));
        PoleParadox pole;
        pole.typ = TypParadox(bajt);
        const int stala = szerokoscTypu(pole.typ);
        if (JestBlobem(pole.typ)) {
            if (rozmiar < 10)
                zly(QStringLiteral("pole %1 typu %2 ma %3 B")
                        .arg(i + 1)
                        .arg(LiteraTypu(pole.typ))
                        .arg(rozmiar));
            pole.szerokosc = rozmiar;
            pole.rozmiar = rozmiar - 10;
        } else if (pole.typ == TypParadox::Bcd) {
            if (rozmiar > 32)
                zly(QStringLiteral("pole %1 typu # ma %2 miejsc po przecinku")
                        .arg(i + 1)
                        .arg(rozmiar));
            pole.szerokosc = stala;
            pole.rozmiar = rozmiar;
        } else if (stala) {
            if (rozmiar != stala)
                zly(QStringLiteral("pole %1 typu %2 ma %3 B zamiast %4")
                        .arg(i + 1)
                        .arg(LiteraTypu(pole.typ))
                        .arg(rozmiar)
                        .arg(stala));
            pole.szerokosc = stala;
        } else {
            if (rozmiar == 0)
                zly(QStringLiteral("pole %1 ma rozmiar 0").arg(i + 1));
            pole.szerokosc = rozmiar;
            pole.rozmiar = rozmiar;
        }
        pole.przesuniecie = przesuniecie;
        przesuniecie += pole.szerokosc;
        n.pola << pole;
    }
    if (przesuniecie != n.rozmiarRekordu)
        zly(QStringLiteral("pola zajmują %1 B, a rekord %2 B")
                .arg(przesuniecie)
                .arg(n.rozmiarRekordu));
    p += 2 * liczbaPol;
    // Pointers the old engine used in memory: the table name's and one per field name.
    potrzeba(4 + 4 * qsizetype(liczbaPol));
    p += 4 + 4 * qsizetype(liczbaPol);
    const int dlugoscNazwy = n.wersja >= 12 ? 261 : 79;
    potrzeba(dlugoscNazwy);
    n.nazwaWNaglowku = QByteArray(h + p, qstrnlen(h + p, dlugoscNazwy));
    p += dlugoscNazwy;
    for (int i = 0; i < liczbaPol; ++i) {
        const char *z = h + p;
        const qsizetype d = qstrnlen(z, koniec - p);
        if (p + d >= koniec)
            zly(QStringLiteral("nazwy pól wychodzą poza nagłówek"));
        for (qsizetype k = 0; k < d; ++k) {
            if (quint8(z[k]) < 0x20)
                zly(QStringLiteral("nazwa pola %1 zawiera znak sterujący").arg(i + 1));
        }
        if (d == 0)
            zly(QStringLiteral("pole %1 bez nazwy").arg(i + 1));
        n.nazwyPol << QByteArray(z, d);
        p += d + 1;
    }
    if (rozszerzony && p + 2 * liczbaPol < koniec) {
        // The field numbers, then the language driver's name.
        p += 2 * liczbaPol;
        const qsizetype d = qstrnlen(h + p, koniec - p);
        if (p + d < koniec && d < 32)
            n.sterownikJezyka = QByteArray(h + p, d);
    }
    return n;
}

bool JestTabelaParadox(const QString &sciezka)
{
    const QFileInfo info(sciezka);
    if (!info.isFile())
        return false;
    QFile plik(sciezka);
    if (!plik.open(QIODevice::ReadOnly))
        return false;
    const QByteArray poczatek = plik.read(0x10000);
    // A table of ours is an SQLite database.
    if (poczatek.startsWith("SQLite format 3"))
        return false;
    try {
        const NaglowekParadox n = CzytajNaglowekParadox(poczatek, info.size(), info.fileName());
        return n.typPliku == 0 || n.typPliku == 2;
    } catch (const BladParadox &) {
        return false;
    }
}

TabelaParadox::TabelaParadox(const QString &sciezka, const QString &nazwa,
                             const QString &wymuszoneKodowanie)
    : m_sciezka(sciezka), m_nazwa(nazwa), m_plik(sciezka)
{
    const QFileInfo info(sciezka);
    if (!info.exists())
        blad(QStringLiteral("brak pliku tabeli"));
    if (!info.isFile())
        blad(QStringLiteral("to nie jest zwykły plik"));
    if (!m_plik.open(QIODevice::ReadOnly))
        blad(QStringLiteral("nie można otworzyć pliku do odczytu: %1").arg(m_plik.errorString()));
    m_rozmiarPliku = m_plik.size();
    const QByteArray poczatek = m_plik.read(qMin<qint64>(m_rozmiarPliku, 0x10000));
    m_naglowek = CzytajNaglowekParadox(poczatek, m_rozmiarPliku, nazwa);
    if (m_naglowek.typPliku != 0 && m_naglowek.typPliku != 2)
        blad(QStringLiteral("to nie jest plik tabeli, lecz plik indeksu (rodzaj %1)")
                 .arg(m_naglowek.typPliku));
    if (m_naglowek.szyfrowanie != 0)
        blad(QStringLiteral("tabela jest zaszyfrowana hasłem; zdejmij hasło w poprzedniej wersji "
                            "programu i powtórz przekształcenie"));
    const qint64 potrzebne = qint64(m_naglowek.rozmiarNaglowka) +
                             qint64(m_naglowek.blokiWPliku) * m_naglowek.rozmiarBloku;
    if (potrzebne > m_rozmiarPliku)
        blad(QStringLiteral(
                 "plik jest obcięty: nagłówek podaje %1 bloków, czyli %2 B, a plik ma %3 B")
                 .arg(m_naglowek.blokiWPliku)
                 .arg(potrzebne)
                 .arg(m_rozmiarPliku));
    const qint64 naBlok = (m_naglowek.rozmiarBloku - 6) / m_naglowek.rozmiarRekordu;
    if (m_naglowek.liczbaRekordow > naBlok * m_naglowek.blokiWPliku)
        blad(QStringLiteral("nagłówek podaje %1 rekordów, więcej niż mieszczą bloki pliku")
                 .arg(m_naglowek.liczbaRekordow));

    m_kodowanie =
        WybierzKodowanie(m_naglowek.sterownikJezyka, m_naglowek.stronaKodowa, wymuszoneKodowanie);
    m_dekoder = QStringDecoder(m_kodowanie.nazwa.constData());
    if (!m_dekoder.isValid())
        blad(QStringLiteral("brak konwertera znaków %1")
                 .arg(QString::fromLatin1(m_kodowanie.nazwa)));
    for (int i = 0; i < m_naglowek.pola.size(); ++i) {
        const QByteArray &surowa = m_naglowek.nazwyPol.at(i);
        m_naglowek.pola[i].nazwa = tekst(surowa.constData(), surowa.size());
    }
}

TabelaParadox::~TabelaParadox() = default;

void TabelaParadox::blad(const QString &przyczyna) const
{
    throw BladParadox(m_nazwa, przyczyna);
}

QByteArray TabelaParadox::tekstUtf8(const char *dane, qsizetype dlugosc)
{
    for (qsizetype i = 0; i < dlugosc; ++i) {
        if (quint8(dane[i]) >= 0x80)
            return QString(m_dekoder.decode(QByteArrayView(dane, dlugosc))).toUtf8();
    }
    return QByteArray::fromRawData(dane, dlugosc);
}

QString TabelaParadox::tekst(const char *dane, qsizetype dlugosc)
{
    // Both code pages agree with ASCII, and most texts are ASCII: Latin-1 decodes them faster.
    for (qsizetype i = 0; i < dlugosc; ++i) {
        if (quint8(dane[i]) >= 0x80)
            return m_dekoder.decode(QByteArrayView(dane, dlugosc));
    }
    return QString::fromLatin1(dane, dlugosc);
}

MemoParadox &TabelaParadox::memo()
{
    if (!m_memo) {
        const QFileInfo info(m_sciezka);
        const QString mb = resolveCaseInsensitive(
            info.dir().filePath(info.completeBaseName() + QStringLiteral(".MB")));
        m_memo = std::make_unique<MemoParadox>(mb, m_nazwa);
    }
    return *m_memo;
}

void TabelaParadox::przejdz(const std::function<void(const char *rekord)> &naRekord)
{
    const NaglowekParadox &n = m_naglowek;
    std::vector<char> blok(size_t(n.rozmiarBloku));
    std::vector<bool> odwiedzone(size_t(n.blokiWPliku) + 1, false);
    qint64 przeczytane = 0;
    int poprzedni = 0;
    m_rekord = 0;
    for (int numer = n.liczbaRekordow == 0 && n.pierwszyBlok == 0 ? 0 : n.pierwszyBlok;
         numer != 0;) {
        if (numer < 1 || numer > n.blokiWPliku)
            blad(QStringLiteral(
                     "łańcuch bloków jest przerwany: wskazuje blok %1 spoza pliku (bloków "
                     "jest %2)")
                     .arg(numer)
                     .arg(n.blokiWPliku));
        if (odwiedzone[size_t(numer)])
            blad(
                QStringLiteral("łańcuch bloków jest przerwany: blok %1 pojawia się w nim drugi raz")
                    .arg(numer));
        odwiedzone[size_t(numer)] = true;
        const qint64 od = n.rozmiarNaglowka + qint64(numer - 1) * n.rozmiarBloku;
        if (!m_plik.seek(od) || m_plik.read(blok.data(), n.rozmiarBloku) != n.rozmiarBloku)
            blad(QStringLiteral("błąd odczytu bloku %1: %2").arg(numer).arg(m_plik.errorString()));
        const int nastepny = int(le16(blok.data()));
        const int wstecz = int(le16(blok.data() + 2));
        const int ostatni = qint16(le16(blok.data() + 4));
        if (wstecz != poprzedni)
            blad(QStringLiteral("łańcuch bloków jest przerwany: blok %1 wskazuje wstecz blok %2 "
                                "zamiast %3")
                     .arg(numer)
                     .arg(wstecz)
                     .arg(poprzedni));
        // The offset of the block's last record; one record's length less than none when empty.
        int wBloku = 0;
        if (ostatni >= 0) {
            if (ostatni % n.rozmiarRekordu != 0 || 6 + ostatni + n.rozmiarRekordu > n.rozmiarBloku)
                blad(QStringLiteral("blok %1 podaje błędne położenie ostatniego rekordu (%2)")
                         .arg(numer)
                         .arg(ostatni));
            wBloku = ostatni / n.rozmiarRekordu + 1;
        } else if (ostatni != -n.rozmiarRekordu) {
            blad(QStringLiteral("blok %1 podaje błędne położenie ostatniego rekordu (%2)")
                     .arg(numer)
                     .arg(ostatni));
        }
        if (przeczytane + wBloku > n.liczbaRekordow)
            blad(QStringLiteral("bloki zawierają więcej rekordów, niż podaje nagłówek (%1)")
                     .arg(n.liczbaRekordow));
        for (int r = 0; r < wBloku; ++r) {
            ++m_rekord;
            naRekord(blok.data() + 6 + r * n.rozmiarRekordu);
        }
        przeczytane += wBloku;
        poprzedni = numer;
        numer = nastepny;
    }
    if (przeczytane != n.liczbaRekordow)
        blad(QStringLiteral("nagłówek podaje %1 rekordów, a łańcuch bloków zawiera %2")
                 .arg(n.liczbaRekordow)
                 .arg(przeczytane));
    if (poprzedni != n.ostatniBlok && n.liczbaRekordow > 0)
        blad(QStringLiteral(
                 "łańcuch bloków kończy się na bloku %1, a nagłówek podaje ostatni blok %2")
                 .arg(poprzedni)
                 .arg(n.ostatniBlok));
}

WartoscParadox TabelaParadox::wartosc(const char *rekord, int pole)
{
    WartoscParadox w;
    wartosc(rekord, pole, w);
    return w;
}

void TabelaParadox::wartosc(const char *rekord, int pole, WartoscParadox &w)
{
    czytaj(rekord, pole, w, false);
}

void TabelaParadox::wartoscUtf8(const char *rekord, int pole, WartoscParadox &w)
{
    czytaj(rekord, pole, w, true);
}

void TabelaParadox::czytaj(const char *rekord, int numer, WartoscParadox &w, bool utf8)
{
    const PoleParadox &pole = m_naglowek.pola.at(numer);
    const char *p = rekord + pole.przesuniecie;
    w.rodzaj = WartoscParadox::Pusta;
    w.zPlikuMemo = false;
    auto zla = [&](const QString &co) -> void {
        blad(QStringLiteral("rekord %1, pole %2: %3").arg(m_rekord).arg(pole.nazwa, co));
    };
    if (!JestBlobem(pole.typ) && zera(p, pole.szerokosc))
        return; // an empty value is no zero: it stays empty
    switch (pole.typ) {
    case TypParadox::Alfa:
        w.rodzaj = WartoscParadox::Tekst;
        if (utf8)
            w.utf8 = tekstUtf8(p, qstrnlen(p, size_t(pole.szerokosc)));
        else
            w.tekst = tekst(p, qstrnlen(p, size_t(pole.szerokosc)));
        return;
    case TypParadox::Krotka:
        w.rodzaj = WartoscParadox::Calkowita;
        w.calkowita = qint16(quint16(be(p, 2) ^ 0x8000));
        return;
    case TypParadox::Dluga:
    case TypParadox::Licznik:
        w.rodzaj = WartoscParadox::Calkowita;
        w.calkowita = qint32(quint32(be(p, 4) ^ 0x80000000u));
        return;
    case TypParadox::Logiczne: {
        const int b = quint8(p[0]);
        if (b != 0x80 && b != 0x81)
            zla(QStringLiteral("wartość logiczna 0x%1").arg(b, 2, 16, QLatin1Char('0')));
        w.rodzaj = WartoscParadox::Calkowita;
        w.calkowita = b & 1;
        return;
    }
    case TypParadox::Data: {
        const qint32 dzien = qint32(quint32(be(p, 4) ^ 0x80000000u));
        const QDate d = dzien > 0 ? dataZDnia(dzien) : QDate();
        if (!d.isValid() || d.year() > 9999)
            zla(QStringLiteral("data spoza zakresu (dzień %1)").arg(dzien));
        w.rodzaj = WartoscParadox::Data;
        w.data = d;
        return;
    }
    case TypParadox::Czas: {
        const qint32 ms = qint32(quint32(be(p, 4) ^ 0x80000000u));
        if (ms < 0 || ms >= kMsNaDobe)
            zla(QStringLiteral("godzina spoza doby (%1 ms)").arg(ms));
        w.rodzaj = WartoscParadox::Czas;
        w.czas = QTime::fromMSecsSinceStartOfDay(ms);
        return;
    }
    case TypParadox::Waluta:
    case TypParadox::Liczba:
    case TypParadox::DataCzas: {
        quint64 bity = be(p, 8);
        // Positive numbers have the sign bit set; negative ones are stored complemented.
        bity = (bity & 0x8000000000000000ull) ? bity & 0x7FFFFFFFFFFFFFFFull : ~bity;
        double v;
        std::memcpy(&v, &bity, sizeof v);
        if (pole.typ != TypParadox::DataCzas) {
            w.rodzaj = WartoscParadox::Rzeczywista;
            w.rzeczywista = v;
            return;
        }
        // Milliseconds since the start of day 1.
        if (!(v >= kMsNaDobe && v < 3652059.0 * kMsNaDobe + kMsNaDobe))
            zla(QStringLiteral("data i godzina spoza zakresu"));
        const qint64 ms = qint64(v + 0.5);
        w.rodzaj = WartoscParadox::DataCzas;
        w.data = dataZDnia(ms / kMsNaDobe);
        w.czas = QTime::fromMSecsSinceStartOfDay(int(ms % kMsNaDobe));
        return;
    }
    case TypParadox::Bcd: {
        // The first byte: the sign (set for positive) and the decimals; then 32 digits, one a
        // nibble, the last `decimals` after the point. A negative value has its digits
        // complemented.
        const int pierwszy = quint8(p[0]);
        const bool dodatnia = pierwszy & 0x80;
        const int miejsca = pierwszy & 0x3F;
        if (miejsca > 32)
            zla(QStringLiteral("liczba BCD o %1 miejscach po przecinku").arg(miejsca));
        QString cyfry;
        cyfry.reserve(34);
        for (int i = 0; i < 32; ++i) {
            const int bajt = quint8(p[1 + i / 2]);
            int c = i % 2 == 0 ? bajt >> 4 : bajt & 0x0F;
            if (!dodatnia)
                c = 0x0F - c;
            if (c > 9)
                zla(QStringLiteral("liczba BCD z cyfrą 0x%1").arg(c, 0, 16));
            cyfry += QChar(u'0' + c);
        }
        QString calosc = cyfry.left(32 - miejsca);
        qsizetype zero = 0;
        while (zero < calosc.size() - 1 && calosc.at(zero) == u'0')
            ++zero;
        calosc = calosc.mid(zero);
        if (calosc.isEmpty())
            calosc = QStringLiteral("0");
        QString tekstBcd = calosc;
        if (miejsca > 0)
            tekstBcd += u'.' + cyfry.right(miejsca);
        bool samZero = true;
        for (const QChar c : std::as_const(cyfry))
            samZero = samZero && c == u'0';
        w.rodzaj = WartoscParadox::Dziesietna;
        w.tekst = !dodatnia && !samZero ? u'-' + tekstBcd : tekstBcd;
        return;
    }
    case TypParadox::Bajty:
        w.rodzaj = WartoscParadox::Bajty;
        w.bajty = QByteArray(p, pole.szerokosc);
        return;
    case TypParadox::Memo:
    case TypParadox::Blob:
    case TypParadox::MemoFormatowane:
    case TypParadox::Ole:
    case TypParadox::Grafika: {
        // The leader, then where the rest lies in the .MB file and how long the whole is.
        const int naglowek = pole.szerokosc - 10;
        const char *opis = p + naglowek;
        const quint32 wskaznik = le32(opis);
        const quint32 dlugosc = le32(opis + 4);
        if (dlugosc == 0) {
            if (!zera(p, pole.szerokosc) && wskaznik != 0)
                zla(QStringLiteral("pusta notatka ze wskazaniem do pliku notatek"));
            return;
        }
        QByteArray bajty;
        if (dlugosc <= quint32(naglowek)) {
            bajty = QByteArray(p, dlugosc);
        } else {
            bajty =
                memo().czytaj(wskaznik, dlugosc,
                              QStringLiteral("rekord %1, pole %2").arg(m_rekord).arg(pole.nazwa));
            w.zPlikuMemo = true;
        }
        if (pole.typ == TypParadox::Memo || pole.typ == TypParadox::MemoFormatowane) {
            w.rodzaj = WartoscParadox::Tekst;
            if (!utf8)
                w.tekst = tekst(bajty.constData(), bajty.size());
            else {
                // ASCII comes back pointing into `bajty`, which goes with this call: keep it.
                const QByteArray u = tekstUtf8(bajty.constData(), bajty.size());
                w.utf8 = u.constData() == bajty.constData() ? bajty : u;
            }
        } else {
            w.rodzaj = WartoscParadox::Bajty;
            w.bajty = bajty;
        }
        return;
    }
    }
}

} // namespace rawen
