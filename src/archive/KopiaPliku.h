#pragma once

#include "platform/DurableFiles.h"
#include "store/Store.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace rawen {

// One file of the data read as one state of it, as its store gives it (Store::readWhole): a
// table while the store holds it, so no writer can change it meanwhile; any other file as it is.
class CzytnikPliku
{
public:
    // Raises EngineError when it cannot be read.
    explicit CzytnikPliku(const QString &sciezka, Store &magazyn = Store::current());

    qint64 rozmiar() const { return m_czytnik->size(); }
    bool baza() const { return m_czytnik->isDatabase(); }        // read through the store's engine
    bool naszaTabela() const { return m_czytnik->isOurTable(); } // a table file of this program
    bool czytaj(char *dane, qint64 dlugosc, qint64 od)
    {
        return m_czytnik->read(dane, dlugosc, od);
    }

private:
    std::unique_ptr<WholeFileReader> m_czytnik;
};

// A copy reads, hashes and writes a file in blocks of this size.
constexpr qint64 kBlokKopii = qint64(1) << 20;

// A fast hash of bytes, chained over the blocks of a file in order: the same bytes in other
// blocks hash otherwise.
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

// A copy of `zrodlo` (read with CzytnikPliku from `magazynZrodla`) made and not yet in place:
// written to a temporary beside `cel`, its writing to the disk started. zatwierdz() syncs it and
// renames it over whatever `cel` was, so `cel` is its old self or the whole copy; a copy dropped
// before that leaves nothing. Copies made one after another and put in place together reach the
// disk together. Both raise EngineError.
class PrzygotowanaKopia
{
public:
    PrzygotowanaKopia(const QString &zrodlo, const QString &cel,
                      Store &magazynZrodla = Store::current());
    ~PrzygotowanaKopia();
    PrzygotowanaKopia(PrzygotowanaKopia &&) noexcept;
    PrzygotowanaKopia &operator=(PrzygotowanaKopia &&) noexcept;

    const SkopiowanyPlik &plik() const { return m_wynik; }
    QString cel() const { return m_cel; }
    // With DirectorySync::ByCaller the caller syncs the directory of `cel` afterwards.
    void zatwierdz(DirectorySync katalog = DirectorySync::Now);

private:
    QString m_cel;
    std::unique_ptr<ReplacingFile> m_plik;
    SkopiowanyPlik m_wynik;
};

// Copies `zrodlo` to `cel` through a temporary beside it, synced and renamed over whatever `cel`
// was: `cel` is its old self or the whole copy. Raises EngineError.
SkopiowanyPlik KopiujPlikZastepujac(const QString &zrodlo, const QString &cel,
                                    Store &magazynZrodla = Store::current());

// `zrodlo` copied as one state of it to a new file `cel` that must not exist, through a synced
// temporary. Raises EngineError.
void KopiujPlikNowy(const QString &zrodlo, const QString &cel,
                    Store &magazynZrodla = Store::current());

} // namespace rawen
