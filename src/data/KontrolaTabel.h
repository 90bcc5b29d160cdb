#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace rawen {

// What SQLite's quick check found in one database file.
struct WerdyktKontroli
{
    bool zdrowa = true;
    QString przyczyna; // what is wrong, in Polish; "" for a sound file
};

// The quick check (PRAGMA quick_check: every page and every record read, the structure of each
// tree checked) of one database file on the caller's thread, through a read-only connection of
// its own that waits at most `czekanieNaBlokade` ms for another program's write.
WerdyktKontroli SprawdzPlikBazy(const QString &plik, int czekanieNaBlokade);

// The quick check of many files on a thread of its own while the caller copies them: the files
// are checked one after another in the order given, so that a copy which takes them in the same
// order mostly finds the verdict waiting, and the check costs it little time. A file the thread
// could not check (a journal a crash left beside it, which the caller's own opening plays back
// first; a lock held beyond the wait) is checked on the caller's thread when its verdict is
// asked for.
class KontrolaTabel
{
public:
    explicit KontrolaTabel(const QStringList &pliki, int czekanieNaBlokade = 2000);
    // Stops after the file in hand; a long check is broken off.
    ~KontrolaTabel();
    KontrolaTabel(const KontrolaTabel &) = delete;
    KontrolaTabel &operator=(const KontrolaTabel &) = delete;

    // The verdict on `plik`, waited for when the thread has not reached it yet; a file the list
    // does not hold is checked here and now.
    WerdyktKontroli werdykt(const QString &plik);

private:
    struct Stan;
    std::unique_ptr<Stan> m_stan;
};

} // namespace rawen
