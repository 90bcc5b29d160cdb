#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace rawen::test {

// A writer of tables of the previous generation's format, for fixtures made in the tests: the
// .DB with its blocks, the .MB memo file with blobs in every storage form, and index files,
// written from the public descriptions of the format independently of the program's reader.

struct PoleWzoru
{
    QString nazwa;
    char typ; // 'A', 'D', 'S', 'I', '$', 'N', 'L', 'M', 'B', 'F', 'O', 'G', 'T', '@', '+', '#', 'Y'
    int rozmiar = 0; // A and Y: bytes; blobs: the leader; #: decimals; others: none
};

// How a blob is stored when it does not fit its leader.
enum class PostacNotatki {
    Samodzielna, // small ones sharing a block, large ones a block of their own (as the engine does)
    WBlokuWlasnym,
    WBlokuWspolnym,
};

struct OpcjeParadoxu
{
    int wersja = 12; // the header's file version: 3, 4 (3.x), 5..9 (4.x), 10, 11 (5.x), 12 (7.x)
    int kilobajtyBloku = 2;
    QByteArray kodowanie = "IBM 852"; // for texts and field names
    QByteArray sterownik = "plp852";  // the language driver's name in the header; may be empty
    int stronaKodowa = 852;           // the header's code page; 0 for none
    int polaKlucza = 0;
    int rekordowNaBlok = 0;         // 0: as many as fit
    bool smieciZaRekordami = false; // leave bytes of "deleted" records after each block's last
    bool wolnyBlokZeStarymiRekordami = false; // a block out of the chain, full of old records
    PostacNotatki notatki = PostacNotatki::Samodzielna;
    QString nazwaTabeli;           // the name slot; the file name when empty
    int odwrocKolejnoscBlokow = 0; // write the chain's blocks in the file back to front
};

// Values: invalid for empty; QString for A, M, F and # (exact decimal text "-12.50"); QDate, QTime,
// QDateTime; int/qint64 for S, I, +; double for N and $; bool for L; QByteArray for B, O, G, Y.
using RekordWzoru = QList<QVariant>;

// Writes NAME.DB (and NAME.MB when a blob does not fit its leader) at `sciezka`.
void ZapiszTabeleParadox(const QString &sciezka, const QList<PoleWzoru> &pola,
                         const QList<RekordWzoru> &rekordy, const OpcjeParadoxu &opcje = {});

// The primary index NAME.PX beside the table (a header; the tree's blocks are not needed).
void ZapiszIndeksGlowny(const QString &sciezkaTabeli, const QList<PoleWzoru> &pola,
                        const OpcjeParadoxu &opcje = {});

// A secondary index file beside the table: ".X02" for the one-field index of field 2, ".XG0" for
// a composite one named `nazwa`, on `pola` (names of the table's fields, in the table's order of
// types).
void ZapiszIndeksWtorny(const QString &sciezkaTabeli, const QString &rozszerzenie,
                        const QList<PoleWzoru> &pola, const QString &nazwa,
                        const OpcjeParadoxu &opcje = {});

// The bytes of a table's header, for tests that break one on purpose.
QByteArray NaglowekParadoxu(const QList<PoleWzoru> &pola, const OpcjeParadoxu &opcje, int typPliku,
                            qint64 rekordy, int bloki, int pierwszy, int ostatni);

} // namespace rawen::test
