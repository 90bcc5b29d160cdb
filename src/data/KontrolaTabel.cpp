#include "data/KontrolaTabel.h"

#include "format/Liczebniki.h"
#include "platform/EngineError.h"
#include "platform/FileNames.h"
#include "store/Sqlite.h"

#include <QFileInfo>
#include <QHash>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <sqlite3.h>
#include <thread>
#include <vector>

namespace rawen {

namespace {

// The quick check names at most this many faults; one is enough to refuse the file.
constexpr int kNajwiecejBledow = 20;

enum class Wynik { Zdrowa, Uszkodzona, Niesprawdzona };

struct Sprawdzenie
{
    Wynik wynik = Wynik::Niesprawdzona;
    QString przyczyna;
};

int przerwij(void *stop)
{
    return static_cast<const std::atomic<bool> *>(stop)->load() ? 1 : 0;
}

Sprawdzenie sprawdz(const QString &plik, int czekanie, const std::atomic<bool> *stop)
{
    const QString nazwa = QFileInfo(plik).fileName();
    const FileState stan = fileState(plik);
    if (!stan.exists)
        return {Wynik::Niesprawdzona, QStringLiteral("brak pliku")};
    // SQLite takes an empty file for an empty database; a table is never empty.
    if (stan.isFile && stan.size == 0)
        return {Wynik::Uszkodzona, QStringLiteral("plik tabeli jest pusty")};
    if (!stan.isFile)
        return {Wynik::Uszkodzona, QStringLiteral("to nie jest zwykły plik")};
    try {
        SqliteDatabase db;
        db.open(plik, nazwa, false, true);
        db.setBusyTimeout(czekanie);
        if (stop)
            sqlite3_progress_handler(db.handle(), 4096, przerwij,
                                     const_cast<std::atomic<bool> *>(stop));
        SqliteStatement kontrola =
            db.prepare(QStringLiteral("PRAGMA quick_check(%1)").arg(kNajwiecejBledow));
        int bledy = 0;
        while (kontrola.step()) {
            if (bledy == 0 && kontrola.column(0).toString() == QLatin1String("ok"))
                return {Wynik::Zdrowa, QString()};
            ++bledy;
        }
        if (bledy == 0)
            return {Wynik::Zdrowa, QString()};
        // SQLite names the faults in English and by page numbers: the user learns how many.
        return {Wynik::Uszkodzona,
                QStringLiteral("plik tabeli jest uszkodzony (test spójności znalazł %1%2)")
                    .arg(bledy >= kNajwiecejBledow ? QStringLiteral("co najmniej ") : QString(),
                         Liczebnik(bledy, liczebniki::blad))};
    } catch (const EngineError &blad) {
        if (blad.kind() == EngineError::Damaged)
            return {Wynik::Uszkodzona, blad.cause()};
        return {Wynik::Niesprawdzona, blad.cause()};
    }
}

WerdyktKontroli werdyktZ(const Sprawdzenie &s)
{
    if (s.wynik == Wynik::Zdrowa)
        return {true, QString()};
    return {false, s.przyczyna};
}

} // namespace

WerdyktKontroli SprawdzPlikBazy(const QString &plik, int czekanieNaBlokade)
{
    return werdyktZ(sprawdz(plik, czekanieNaBlokade, nullptr));
}

struct KontrolaTabel::Stan
{
    QStringList pliki;
    QHash<QString, int> pozycje;
    int czekanie = 0;
    std::vector<Sprawdzenie> wyniki;
    std::vector<bool> gotowe;
    std::mutex zamek;
    std::condition_variable zrobione;
    std::atomic<bool> stop{false};
    std::thread watek;

    void pracuj()
    {
        for (qsizetype i = 0; i < pliki.size() && !stop; ++i) {
            Sprawdzenie s = sprawdz(pliki[i], czekanie, &stop);
            std::lock_guard<std::mutex> straz(zamek);
            wyniki[size_t(i)] = std::move(s);
            gotowe[size_t(i)] = true;
            zrobione.notify_all();
        }
    }
};

KontrolaTabel::KontrolaTabel(const QStringList &pliki, int czekanieNaBlokade)
    : m_stan(std::make_unique<Stan>())
{
    m_stan->pliki = pliki;
    m_stan->czekanie = czekanieNaBlokade;
    for (int i = int(pliki.size()) - 1; i >= 0; --i)
        m_stan->pozycje.insert(pliki[i], i);
    m_stan->wyniki.resize(size_t(pliki.size()));
    m_stan->gotowe.resize(size_t(pliki.size()), false);
    // A library built without threads checks on the caller's thread, when asked.
    if (sqlite3_threadsafe() != 0 && !pliki.isEmpty())
        m_stan->watek = std::thread([stan = m_stan.get()] { stan->pracuj(); });
}

KontrolaTabel::~KontrolaTabel()
{
    m_stan->stop = true;
    if (m_stan->watek.joinable())
        m_stan->watek.join();
}

WerdyktKontroli KontrolaTabel::werdykt(const QString &plik)
{
    const auto pozycja = m_stan->pozycje.constFind(plik);
    if (pozycja == m_stan->pozycje.constEnd() || !m_stan->watek.joinable())
        return SprawdzPlikBazy(plik, m_stan->czekanie);
    Sprawdzenie s;
    {
        std::unique_lock<std::mutex> straz(m_stan->zamek);
        m_stan->zrobione.wait(straz, [&] { return bool(m_stan->gotowe[size_t(*pozycja)]); });
        s = m_stan->wyniki[size_t(*pozycja)];
    }
    if (s.wynik == Wynik::Niesprawdzona)
        return SprawdzPlikBazy(plik, m_stan->czekanie);
    return werdyktZ(s);
}

} // namespace rawen
