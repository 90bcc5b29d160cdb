#pragma once

#include "legacy/BladParadox.h"
#include "legacy/KodowanieParadox.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QTime>

#include <functional>
#include <memory>

namespace rawen {

class MemoParadox;

// The field types of a table of the previous generation, by the byte its header gives them.
enum class TypParadox : quint8 {
    Alfa = 0x01,            // A
    Data = 0x02,            // D
    Krotka = 0x03,          // S
    Dluga = 0x04,           // I
    Waluta = 0x05,          // $
    Liczba = 0x06,          // N
    Logiczne = 0x09,        // L
    Memo = 0x0C,            // M
    Blob = 0x0D,            // B
    MemoFormatowane = 0x0E, // F
    Ole = 0x0F,             // O
    Grafika = 0x10,         // G
    Czas = 0x14,            // T
    DataCzas = 0x15,        // @
    Licznik = 0x16,         // +
    Bcd = 0x17,             // #
    Bajty = 0x18,           // Y
};

// The letter a user knows the type by ("A", "$", "#").
QString LiteraTypu(TypParadox typ);
bool JestBlobem(TypParadox typ);

struct PoleParadox
{
    QString nazwa;
    TypParadox typ = TypParadox::Alfa;
    int rozmiar = 0;      // as the header gives it: characters, a blob's leader, a BCD's decimals
    int szerokosc = 0;    // bytes in the record
    int przesuniecie = 0; // from the start of the record
};

// What the header of a .DB (or of an index file, which shares its first part) says.
struct NaglowekParadox
{
    int rozmiarRekordu = 0;
    int rozmiarNaglowka = 0;
    int typPliku = 0; // 0 keyed table, 2 table without a key, 1 primary index, 3..8 secondary
    int rozmiarBloku = 0;
    qint64 liczbaRekordow = 0;
    int blokiWPliku = 0;
    int pierwszyBlok = 0;
    int ostatniBlok = 0;
    int polaKlucza = 0;
    int wersja = 0; // 3 and 4 Paradox 3.x, 5..9 4.x, 10 and 11 5.x, 12 7.x
    int stronaKodowa = 0;
    quint32 szyfrowanie = 0;
    qint32 licznik = 0;         // the next autoincrement value
    QByteArray nazwaWNaglowku;  // the table (or, in an index file, the index) name slot
    QByteArray sterownikJezyka; // the language driver's symbolic name
    QList<QByteArray> nazwyPol;
    QList<PoleParadox> pola; // names not decoded yet
};

// Reads the header of any file of the format from its first bytes; `nazwa` names the file in
// messages. Raises BladParadox for a header that is none, or is damaged.
NaglowekParadox CzytajNaglowekParadox(const QByteArray &poczatek, qint64 rozmiarPliku,
                                      const QString &nazwa);

// Whether `sciezka` looks like a table of the previous generation (a header that reads whole),
// rather than a table of ours or another file.
bool JestTabelaParadox(const QString &sciezka);

// One value as read: empty, or of one of these kinds.
struct WartoscParadox
{
    enum Rodzaj { Pusta, Calkowita, Rzeczywista, Tekst, Bajty, Data, Czas, DataCzas, Dziesietna };
    Rodzaj rodzaj = Pusta;
    qint64 calkowita = 0; // whole numbers, logical 0/1
    double rzeczywista = 0;
    QString tekst;    // texts and memos decoded; a BCD as exact decimal text ("-12.3400")
    QByteArray bajty; // bytes and blobs
    QDate data;       // D, and the date of @
    QTime czas;       // T, and the time of @
    // A text (or memo) in UTF-8 instead of `tekst`, when asked for with wartoscUtf8: the form
    // the engine stores, with no string made on the way. It may point into the record.
    QByteArray utf8;
    bool zPlikuMemo = false; // the value came out of the .MB file
};

// A table of the previous generation, opened read-only: its header and fields, its records
// walked through the block chain, each value decoded. Damage of any kind raises BladParadox with
// the table's name and what is wrong; nothing it reads can make it crash or loop.
class TabelaParadox
{
public:
    // `nazwa` names the table in messages (a path relative to the root being converted);
    // `wymuszoneKodowanie` is the --kodowanie value or empty.
    TabelaParadox(const QString &sciezka, const QString &nazwa,
                  const QString &wymuszoneKodowanie = {});
    ~TabelaParadox();
    TabelaParadox(const TabelaParadox &) = delete;
    TabelaParadox &operator=(const TabelaParadox &) = delete;

    const NaglowekParadox &naglowek() const { return m_naglowek; }
    const QList<PoleParadox> &pola() const { return m_naglowek.pola; }
    const WyborKodowania &kodowanie() const { return m_kodowanie; }
    QString nazwa() const { return m_nazwa; }
    QString sciezka() const { return m_sciezka; }

    // Every record, in the order of the block chain: the chain is checked as it is walked (no
    // block outside the file, none twice, each pointing back at the one before, records within
    // their block) and against the header's record count.
    void przejdz(const std::function<void(const char *rekord)> &naRekord);

    // The value of field `pole` of a record przejdz gave.
    WartoscParadox wartosc(const char *rekord, int pole);
    // The same into `w`, reusing its storage.
    void wartosc(const char *rekord, int pole, WartoscParadox &w);
    // The same, texts in `utf8` (valid while the record is).
    void wartoscUtf8(const char *rekord, int pole, WartoscParadox &w);

    // Texts in the table's code page decoded.
    QString tekst(const char *dane, qsizetype dlugosc);
    // The same as UTF-8; ASCII is given as it is, without a copy.
    QByteArray tekstUtf8(const char *dane, qsizetype dlugosc);

private:
    [[noreturn]] void blad(const QString &przyczyna) const;
    void czytaj(const char *rekord, int pole, WartoscParadox &w, bool utf8);
    MemoParadox &memo();

    QString m_sciezka;
    QString m_nazwa;
    QFile m_plik;
    qint64 m_rozmiarPliku = 0;
    NaglowekParadox m_naglowek;
    WyborKodowania m_kodowanie;
    QStringDecoder m_dekoder;
    std::unique_ptr<MemoParadox> m_memo;
    qint64 m_rekord = 0; // the record being read, for messages
};

} // namespace rawen
