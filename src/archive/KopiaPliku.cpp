#include "archive/KopiaPliku.h"

#include "platform/DurableFiles.h"
#include "platform/EngineError.h"

#include <QFile>
#include <QHashFunctions>

#include <vector>

namespace rawen {

CzytnikPliku::CzytnikPliku(const QString &sciezka, Store &magazyn)
    : m_czytnik(magazyn.readWhole(sciezka))
{}

quint64 SkrotBajtow(const char *dane, qint64 dlugosc, quint64 poprzedni)
{
    return qHashBits(dane, size_t(dlugosc), size_t(poprzedni) ^ 0x9E3779B97F4A7C15ull);
}

std::optional<quint64> SkrotPliku(const QString &sciezka)
{
    QFile plik(sciezka);
    if (!plik.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Whole blocks as the copy hashed them, however the system hands out the bytes.
    std::vector<char> bufor(kBlokKopii);
    quint64 skrot = 0;
    for (;;) {
        qint64 wBloku = 0;
        while (wBloku < kBlokKopii) {
            const qint64 n = plik.read(bufor.data() + wBloku, kBlokKopii - wBloku);
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                break;
            wBloku += n;
        }
        if (wBloku == 0)
            return skrot;
        skrot = SkrotBajtow(bufor.data(), wBloku, skrot);
        if (wBloku < kBlokKopii)
            return skrot;
    }
}

namespace {

template <typename Pisz> SkopiowanyPlik kopiuj(const QString &zrodlo, Store &magazyn, Pisz pisz)
{
    CzytnikPliku czytnik(zrodlo, magazyn);
    SkopiowanyPlik wynik;
    wynik.rozmiar = czytnik.rozmiar();
    wynik.naszaTabela = czytnik.naszaTabela();
    pisz(czytnik, wynik);
    return wynik;
}

} // namespace

PrzygotowanaKopia::PrzygotowanaKopia(const QString &zrodlo, const QString &cel,
                                     Store &magazynZrodla)
    : m_cel(cel), m_plik(std::make_unique<ReplacingFile>(cel))
{
    m_wynik = kopiuj(zrodlo, magazynZrodla, [&](CzytnikPliku &czytnik, SkopiowanyPlik &wynik) {
        if (!m_plik->open())
            throw EngineError(EngineError::Io, cel, m_plik->errorString());
        std::vector<char> bufor(kBlokKopii);
        for (qint64 od = 0; od < czytnik.rozmiar();) {
            const qint64 n = qMin(kBlokKopii, czytnik.rozmiar() - od);
            if (!czytnik.czytaj(bufor.data(), n, od))
                throw EngineError(EngineError::Io, zrodlo, QStringLiteral("błąd odczytu"));
            wynik.skrot = SkrotBajtow(bufor.data(), n, wynik.skrot);
            if (!m_plik->write(QByteArray::fromRawData(bufor.data(), n)))
                throw EngineError(EngineError::Io, cel, m_plik->errorString());
            od += n;
        }
        m_plik->startWriteback();
    });
}

PrzygotowanaKopia::~PrzygotowanaKopia() = default;
PrzygotowanaKopia::PrzygotowanaKopia(PrzygotowanaKopia &&) noexcept = default;
PrzygotowanaKopia &PrzygotowanaKopia::operator=(PrzygotowanaKopia &&) noexcept = default;

void PrzygotowanaKopia::zatwierdz(DirectorySync katalog)
{
    if (!m_plik || !m_plik->commit(katalog))
        throw EngineError(EngineError::Io, m_cel,
                          m_plik ? m_plik->errorString() : QStringLiteral("brak kopii"));
    m_plik.reset();
}

SkopiowanyPlik KopiujPlikZastepujac(const QString &zrodlo, const QString &cel, Store &magazynZrodla)
{
    PrzygotowanaKopia kopia(zrodlo, cel, magazynZrodla);
    kopia.zatwierdz();
    return kopia.plik();
}

void KopiujPlikNowy(const QString &zrodlo, const QString &cel, Store &magazynZrodla)
{
    CzytnikPliku czytnik(zrodlo, magazynZrodla);
    writeNewFile(cel, czytnik.rozmiar(), [&](char *dane, qint64 dlugosc, qint64 od) {
        return czytnik.czytaj(dane, dlugosc, od);
    });
}

} // namespace rawen
