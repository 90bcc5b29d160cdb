#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace rawen {

// One file of the data read as one state of it. A SQLite database (a table) is read through
// SQLite's own file handle while a read transaction holds it, so no writer can change it meanwhile
// and no other connection of this process loses its locks; any other file is read as it is.
class CzytnikPliku
{
public:
    explicit CzytnikPliku(const QString &sciezka); // raises EngineError when it cannot be read
    ~CzytnikPliku();
    CzytnikPliku(const CzytnikPliku &) = delete;
    CzytnikPliku &operator=(const CzytnikPliku &) = delete;

    qint64 rozmiar() const { return m_rozmiar; }
    bool baza() const { return m_baza; }         // read through SQLite
    bool naszaTabela() const { return m_nasza; } // a table file of this program
    bool czytaj(char *dane, qint64 dlugosc, qint64 od);

private:
    struct Stan;
    Stan *m_stan;
    qint64 m_rozmiar = 0;
    bool m_baza = false;
    bool m_nasza = false;
};

// A fast hash of bytes, chained over the pieces of a file in order.
quint64 SkrotBajtow(const char *dane, qint64 dlugosc, quint64 poprzedni);
// The hash of a whole file as it lies on the disk; nothing when it cannot be read.
std::optional<quint64> SkrotPliku(const QString &sciezka);

// What copying one file gave: the hash of the bytes written, and what the source was.
struct SkopiowanyPlik
{
    quint64 skrot = 0;
    qint64 rozmiar = 0;
    bool naszaTabela = false;
};

// Copies `zrodlo` (read with CzytnikPliku) to `cel` through a temporary beside it, synced and
// renamed over whatever `cel` was: `cel` is its old self or the whole copy. Raises EngineError.
SkopiowanyPlik KopiujPlikZastepujac(const QString &zrodlo, const QString &cel);

// The same, as a new file `cel` that must not exist.
SkopiowanyPlik KopiujPlikNowy(const QString &zrodlo, const QString &cel);

} // namespace rawen
