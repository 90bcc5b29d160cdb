#pragma once

#include <QFileInfoList>
#include <QString>

namespace rawen {

// What every walk of the data (the year opening and firm creation, the archive and the restore,
// the import) asks of the file system before it opens anything: the entries of a directory, with
// a directory that cannot be read told apart from one that is not there, and whether an entry in
// a file's place can be read as a file. A FIFO opened for reading waits for a writer for good,
// and a directory, a socket, a device or a link that leads nowhere is no table either: each is
// refused by name, at once.

// The entries of `katalog`: every entry, hidden and system ones too, without "." and "..", in the
// order the system lists them. `blad` says, in Polish, why the directory could not be read (it is
// missing, it may not be listed, it is no directory, the listing broke off); "" when it was read
// whole.
struct ListaWpisow
{
    QFileInfoList wpisy;
    QString blad;
};
ListaWpisow CzytajKatalog(const QString &katalog);

// "" when a walk may read the entry at `sciezka` as a file: a regular file, or a link to one.
// Otherwise why not, in Polish ("to nie jest zwykły plik, lecz potok (FIFO)", "dowiązanie
// wskazuje plik, którego nie ma", ...). The entry is looked at, never opened.
QString BladWpisuPliku(const QString &sciezka);

// How a directory that a walk is to enter stands.
enum class StanKatalogu {
    Jest,
    Brak,        // nothing at the path
    NieKatalog,  // something else than a directory is there
    Nieczytelny, // a directory this user may not list (or a part of the path may not be searched)
};
// `przyczyna`, when given, receives why the directory cannot be entered, in Polish.
StanKatalogu SprawdzKatalog(const QString &katalog, QString *przyczyna = nullptr);

} // namespace rawen
