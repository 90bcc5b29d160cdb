#include "archive/KopiaPliku.h"

#include "data/EngineError.h"
#include "data/Sqlite.h"
#include "data/TableFile.h"
#include "platform/DurableFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>

#include <sqlite3.h>
#include <vector>

namespace rawen {

struct CzytnikPliku::Stan
{
    SqliteDatabase db;
    sqlite3_file *plik = nullptr;
    QFile surowy;
    bool transakcja = false;
};

CzytnikPliku::CzytnikPliku(const QString &sciezka) : m_stan(new Stan)
{
    const QString nazwa = QFileInfo(sciezka).fileName();
    try {
        // Opened for writing where the file may be written, though nothing is: only so can the
        // first read play back the journal a crash left, as every program opening the table
        // does, where a connection for reading alone refuses the table.
        m_stan->db.open(sciezka, nazwa, false, false);
        m_stan->db.exec(QStringLiteral("BEGIN"));
        m_stan->transakcja = true;
        // The first read takes the lock and plays back a hot journal left by a crash.
        m_stan->db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        m_nasza =
            quint32(m_stan->db.scalar(QStringLiteral("PRAGMA application_id")).toLongLong()) ==
            quint32(TableFile::kApplicationId);
        sqlite3_int64 rozmiar = 0;
        if (sqlite3_file_control(m_stan->db.handle(), "main", SQLITE_FCNTL_FILE_POINTER,
                                 &m_stan->plik) != SQLITE_OK ||
            !m_stan->plik || !m_stan->plik->pMethods ||
            m_stan->plik->pMethods->xFileSize(m_stan->plik, &rozmiar) != SQLITE_OK)
            throw EngineError(EngineError::Io, nazwa,
                              QStringLiteral("nie można odczytać pliku tabeli"));
        m_rozmiar = rozmiar;
        m_baza = true;
        return;
    } catch (const EngineError &blad) {
        if (m_stan->transakcja) {
            try {
                m_stan->db.exec(QStringLiteral("ROLLBACK"));
            } catch (const EngineError &) {
            }
            m_stan->transakcja = false;
        }
        m_stan->db.close();
        // Some other kind of file is read as it is; a locked or unreadable database is not.
        if (blad.kind() != EngineError::Damaged) {
            delete m_stan;
            throw;
        }
    }
    m_stan->surowy.setFileName(sciezka);
    if (!m_stan->surowy.open(QIODevice::ReadOnly)) {
        const QString przyczyna = m_stan->surowy.errorString();
        delete m_stan;
        throw EngineError(EngineError::Io, nazwa,
                          QStringLiteral("nie można odczytać pliku: %1").arg(przyczyna));
    }
    m_rozmiar = m_stan->surowy.size();
}

CzytnikPliku::~CzytnikPliku()
{
    if (m_stan->transakcja) {
        try {
            m_stan->db.exec(QStringLiteral("COMMIT"));
        } catch (const EngineError &) {
        }
    }
    delete m_stan;
}

bool CzytnikPliku::czytaj(char *dane, qint64 dlugosc, qint64 od)
{
    if (m_baza)
        return m_stan->plik->pMethods->xRead(m_stan->plik, dane, int(dlugosc), od) == SQLITE_OK;
    return m_stan->surowy.seek(od) && m_stan->surowy.read(dane, dlugosc) == dlugosc;
}

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

template <typename Pisz> SkopiowanyPlik kopiuj(const QString &zrodlo, Pisz pisz)
{
    CzytnikPliku czytnik(zrodlo);
    SkopiowanyPlik wynik;
    wynik.rozmiar = czytnik.rozmiar();
    wynik.naszaTabela = czytnik.naszaTabela();
    pisz(czytnik, wynik);
    return wynik;
}

} // namespace

PrzygotowanaKopia::PrzygotowanaKopia(const QString &zrodlo, const QString &cel)
    : m_cel(cel), m_plik(std::make_unique<ReplacingFile>(cel))
{
    m_wynik = kopiuj(zrodlo, [&](CzytnikPliku &czytnik, SkopiowanyPlik &wynik) {
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

SkopiowanyPlik KopiujPlikZastepujac(const QString &zrodlo, const QString &cel)
{
    PrzygotowanaKopia kopia(zrodlo, cel);
    kopia.zatwierdz();
    return kopia.plik();
}

void KopiujPlikNowy(const QString &zrodlo, const QString &cel)
{
    CzytnikPliku czytnik(zrodlo);
    writeNewFile(cel, czytnik.rozmiar(), [&](char *dane, qint64 dlugosc, qint64 od) {
        return czytnik.czytaj(dane, dlugosc, od);
    });
}

} // namespace rawen
