#include "legacy/KonwersjaTabeli.h"

#include "legacy/IndeksyParadox.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "store/TableLoader.h"
#include "store/TableReader.h"

#include <QDir>
#include <QFileInfo>

#include <charconv>
#include <cstring>

namespace rawen {

namespace {

// What a value is stored as, so that a hash tells an integer 1 from a text "1".
enum class Rodzaj : quint64 { Calkowita = 1, Rzeczywista = 2, Tekst = 3, Bajty = 4 };

quint64 wymieszaj(quint64 x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

quint64 skrot(Rodzaj rodzaj, const void *dane, size_t dlugosc)
{
    // Eight bytes a step: the check must cost little beside the conversion it checks.
    quint64 h = 0xCBF29CE484222325ull ^ quint64(rodzaj) ^ (quint64(dlugosc) << 8);
    const auto *b = static_cast<const unsigned char *>(dane);
    size_t i = 0;
    for (; i + 8 <= dlugosc; i += 8) {
        quint64 slowo;
        std::memcpy(&slowo, b + i, 8);
        h = (h ^ slowo) * 0x100000001B3ull;
        h ^= h >> 29;
    }
    quint64 reszta = 0;
    std::memcpy(&reszta, b + i, dlugosc - i);
    h = (h ^ reszta) * 0x100000001B3ull;
    return wymieszaj(h);
}

quint64 skrotCalkowitej(qint64 v)
{
    return skrot(Rodzaj::Calkowita, &v, sizeof v);
}

quint64 skrotRzeczywistej(double v)
{
    if (v == 0)
        v = 0; // no -0: the file keeps a whole-valued real as an integer
    return skrot(Rodzaj::Rzeczywista, &v, sizeof v);
}

// Texts by their UTF-8 bytes, as the file keeps them.
quint64 skrotTekstu(QByteArrayView v)
{
    return skrot(Rodzaj::Tekst, v.data(), size_t(v.size()));
}

quint64 skrotBajtow(QByteArrayView v)
{
    return skrot(Rodzaj::Bajty, v.data(), size_t(v.size()));
}

// A BCD value as the double the engine stores, only when that double gives back the same
// digits: a value with more significant digits than a double holds is refused rather than
// rounded.
bool bcdJakoLiczba(const QString &tekst, double *wynik)
{
    const QByteArray a = tekst.toLatin1();
    double v = 0;
    const auto [koniec, blad] = std::from_chars(a.constData(), a.constData() + a.size(), v);
    if (blad != std::errc() || koniec != a.constData() + a.size())
        return false;
    char bufor[400];
    const auto r = std::to_chars(bufor, bufor + sizeof bufor, v, std::chars_format::fixed);
    if (r.ec != std::errc())
        return false;
    // The exact text without trailing zeros of the fraction, against the double's shortest.
    QByteArray dokladny = a;
    if (dokladny.contains('.')) {
        while (dokladny.endsWith('0'))
            dokladny.chop(1);
        if (dokladny.endsWith('.'))
            dokladny.chop(1);
    }
    if (dokladny == "-0")
        dokladny = "0";
    QByteArray krotki(bufor, r.ptr - bufor);
    if (krotki == "-0")
        krotki = "0";
    *wynik = v;
    return krotki == dokladny;
}

// The engine's text forms of dates and times (yyyy-MM-dd, HH:mm:ss with .zzz when there are
// milliseconds), made without a format string: a year's documents have a date each.
void cyfry(char *&p, int wartosc, int ile)
{
    for (int i = ile - 1; i >= 0; --i) {
        p[i] = char('0' + wartosc % 10);
        wartosc /= 10;
    }
    p += ile;
}

void tekstDaty(QByteArray &t, QDate d)
{
    t.resize(10);
    char *p = t.data();
    cyfry(p, d.year(), 4);
    *p++ = '-';
    cyfry(p, d.month(), 2);
    *p++ = '-';
    cyfry(p, d.day(), 2);
}

void dopiszGodzine(QByteArray &t, QTime c)
{
    const qsizetype od = t.size();
    t.resize(od + (c.msec() ? 12 : 8));
    char *p = t.data() + od;
    cyfry(p, c.hour(), 2);
    *p++ = ':';
    cyfry(p, c.minute(), 2);
    *p++ = ':';
    cyfry(p, c.second(), 2);
    if (c.msec()) {
        *p++ = '.';
        cyfry(p, c.msec(), 3);
    }
}

} // namespace

TFieldType TypSilnika(TypParadox typ)
{
    switch (typ) {
    case TypParadox::Alfa:
        return ftString;
    case TypParadox::Data:
        return ftDate;
    case TypParadox::Krotka:
        return ftSmallint;
    case TypParadox::Dluga:
        return ftInteger;
    case TypParadox::Waluta:
        return ftCurrency;
    case TypParadox::Liczba:
        return ftFloat;
    case TypParadox::Logiczne:
        return ftBoolean;
    case TypParadox::Memo:
        return ftMemo;
    case TypParadox::Blob:
        return ftBlob;
    case TypParadox::MemoFormatowane:
        return ftFmtMemo;
    case TypParadox::Ole:
        return ftParadoxOle;
    case TypParadox::Grafika:
        return ftGraphic;
    case TypParadox::Czas:
        return ftTime;
    case TypParadox::DataCzas:
        return ftDateTime;
    case TypParadox::Licznik:
        return ftAutoInc;
    case TypParadox::Bcd:
        return ftBCD;
    case TypParadox::Bajty:
        return ftBytes;
    }
    return ftUnknown;
}

TableFile::Definitions DefinicjeZParadoxu(TabelaParadox &tabela, QStringList *ostrzezenia)
{
    TableFile::Definitions d;
    for (const PoleParadox &pole : tabela.pola()) {
        const TFieldType typ = TypSilnika(pole.typ);
        // Sizes as the old engine reported them: a text's characters, a byte field's bytes, a
        // BCD's decimals, a blob's leader; the fixed types none.
        int rozmiar = 0;
        if (typ == ftString || typ == ftBytes || typ == ftBCD || JestBlobem(pole.typ))
            rozmiar = pole.rozmiar;
        d.fields << FieldDef{pole.nazwa, typ, rozmiar, false};
    }
    IndeksyParadox indeksy = CzytajIndeksyParadox(tabela);
    d.indexes = indeksy.indeksy;
    if (ostrzezenia)
        *ostrzezenia << indeksy.ostrzezenia;
    return d;
}

QList<SumaPola> SumyTabeli(const QString &sciezka, qint64 *rekordy)
{
    TableReader tabela(sciezka);
    const int pol = int(tabela.definitions().fields.size());
    QList<SumaPola> sumy(pol);
    qint64 ile = 0;
    while (tabela.next()) {
        ++ile;
        for (int i = 0; i < pol; ++i) {
            SumaPola &s = sumy[i];
            switch (tabela.kind(i)) {
            case TableReader::Kind::Null:
                ++s.puste;
                break;
            case TableReader::Kind::Integer:
                s.suma += skrotCalkowitej(tabela.integer(i));
                break;
            case TableReader::Kind::Real:
                s.suma += skrotRzeczywistej(tabela.real(i));
                break;
            case TableReader::Kind::Text:
                s.suma += skrotTekstu(tabela.utf8(i));
                break;
            case TableReader::Kind::Bytes:
                s.suma += skrotBajtow(tabela.bytes(i));
                break;
            }
        }
    }
    if (rekordy)
        *rekordy = ile;
    return sumy;
}

WynikTabeli PrzeksztalcTabele(const QString &zrodlo, const QString &cel, const QString &nazwa,
                              const QString &wymuszoneKodowanie)
{
    TabelaParadox tabela(zrodlo, nazwa, wymuszoneKodowanie);
    WynikTabeli wynik;
    wynik.kodowanie = QStringLiteral("%1, %2").arg(QString::fromLatin1(tabela.kodowanie().nazwa),
                                                   tabela.kodowanie().skad);
    if (tabela.kodowanie().domyslne)
        wynik.ostrzezenia << QStringLiteral("tabela nie podaje kodowania znaków; przyjęto %1 "
                                            "(inne można wymusić opcją --kodowanie)")
                                 .arg(QString::fromLatin1(tabela.kodowanie().nazwa));
    const TableFile::Definitions definicje = DefinicjeZParadoxu(tabela, &wynik.ostrzezenia);
    const QFileInfo info(zrodlo);
    for (const QString &wpis : info.absoluteDir().entryList(QDir::Files | QDir::Hidden)) {
        if (wpis.compare(info.completeBaseName() + QStringLiteral(".VAL"), Qt::CaseInsensitive) ==
            0)
            wynik.ostrzezenia << QStringLiteral("kontrole poprawności z pliku %1 (wartości "
                                                "wymagane, zakresy, wzorce) nie zostały "
                                                "przeniesione")
                                     .arg(wpis);
    }

    const int pol = int(definicje.fields.size());
    wynik.sumy = QList<SumaPola>(pol);
    QList<WartoscParadox> wartosci(pol);
    QList<QByteArray> teksty(pol);
    qint64 numer = 0;
    try {
        TableLoader zapis(cel, definicje);
        tabela.przejdz([&](const char *rekord) {
            ++numer;
            for (int i = 0; i < pol; ++i) {
                WartoscParadox &w = wartosci[i];
                tabela.wartoscUtf8(rekord, i, w);
                SumaPola &s = wynik.sumy[i];
                switch (w.rodzaj) {
                case WartoscParadox::Pusta:
                    ++s.puste;
                    zapis.bindNull(i);
                    break;
                case WartoscParadox::Calkowita:
                    s.suma += skrotCalkowitej(w.calkowita);
                    zapis.bindInteger(i, w.calkowita);
                    break;
                case WartoscParadox::Rzeczywista:
                    s.suma += skrotRzeczywistej(w.rzeczywista);
                    zapis.bindReal(i, w.rzeczywista);
                    break;
                case WartoscParadox::Dziesietna: {
                    double v = 0;
                    if (!bcdJakoLiczba(w.tekst, &v))
                        throw BladParadox(
                            nazwa, QStringLiteral("rekord %1, pole %2: liczba %3 ma więcej cyfr, "
                                                  "niż pole liczbowe przechowuje dokładnie")
                                       .arg(numer)
                                       .arg(definicje.fields[i].name, w.tekst));
                    s.suma += skrotRzeczywistej(v);
                    zapis.bindReal(i, v);
                    break;
                }
                case WartoscParadox::Tekst:
                    s.suma += skrotTekstu(w.utf8);
                    zapis.bindTextUtf8(i, w.utf8);
                    break;
                case WartoscParadox::Bajty:
                    s.suma += skrotBajtow(w.bajty);
                    zapis.bindBytes(i, w.bajty);
                    break;
                case WartoscParadox::Data:
                case WartoscParadox::Czas:
                case WartoscParadox::DataCzas: {
                    QByteArray &t = teksty[i];
                    if (w.rodzaj == WartoscParadox::Czas) {
                        t.clear();
                        dopiszGodzine(t, w.czas);
                    } else {
                        tekstDaty(t, w.data);
                        if (w.rodzaj == WartoscParadox::DataCzas) {
                            t += ' ';
                            dopiszGodzine(t, w.czas);
                        }
                    }
                    s.suma += skrotTekstu(t);
                    zapis.bindTextUtf8(i, t);
                    break;
                }
                }
                if (w.rodzaj != WartoscParadox::Pusta && JestBlobem(tabela.pola()[i].typ))
                    ++wynik.notatki;
            }
            zapis.append();
        });
        zapis.finish();
    } catch (const EngineError &blad) {
        throw BladParadox(
            nazwa, QStringLiteral("zapis nowej tabeli nie powiódł się: %1").arg(blad.cause()));
    }
    wynik.rekordy = numer;

    // Read back through the engine, as the program will read it.
    try {
        qint64 odczytane = 0;
        const QList<SumaPola> sumy = SumyTabeli(cel, &odczytane);
        QString rozbieznosc;
        if (odczytane != numer)
            rozbieznosc =
                QStringLiteral("odczytano %1 rekordów zamiast %2").arg(odczytane).arg(numer);
        for (int i = 0; rozbieznosc.isEmpty() && i < pol; ++i) {
            if (sumy.value(i).puste != wynik.sumy[i].puste)
                rozbieznosc = QStringLiteral("pole %1 ma %2 pustych wartości zamiast %3")
                                  .arg(definicje.fields[i].name)
                                  .arg(sumy.value(i).puste)
                                  .arg(wynik.sumy[i].puste);
            else if (sumy.value(i).suma != wynik.sumy[i].suma)
                rozbieznosc = QStringLiteral("wartości pola %1 różnią się od odczytanych ze "
                                             "starej tabeli")
                                  .arg(definicje.fields[i].name);
        }
        if (!rozbieznosc.isEmpty()) {
            (void)removeFile(cel);
            throw BladParadox(
                nazwa, QStringLiteral("nowa tabela nie zgadza się ze starą: %1").arg(rozbieznosc));
        }
    } catch (const EngineError &blad) {
        (void)removeFile(cel);
        throw BladParadox(
            nazwa, QStringLiteral("nowej tabeli nie można odczytać: %1").arg(blad.message()));
    }
    return wynik;
}

} // namespace rawen
