#include "platform/WpisyKatalogu.h"

#include "platform/DurableFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace rawen {

namespace {

#ifdef Q_OS_UNIX
QString rodzajWpisu(mode_t tryb)
{
    if (S_ISDIR(tryb))
        return QStringLiteral("katalog");
    if (S_ISFIFO(tryb))
        return QStringLiteral("potok (FIFO)");
    if (S_ISSOCK(tryb))
        return QStringLiteral("gniazdo");
    if (S_ISCHR(tryb) || S_ISBLK(tryb))
        return QStringLiteral("urządzenie");
    return QStringLiteral("wpis nieznanego rodzaju");
}

// Closes the directory however the listing ends.
struct OtwartyKatalog
{
    DIR *dir;
    ~OtwartyKatalog()
    {
        if (dir)
            ::closedir(dir);
    }
};
#endif

} // namespace

ListaWpisow CzytajKatalog(const QString &katalog)
{
    ListaWpisow lista;
#ifdef Q_OS_UNIX
    const OtwartyKatalog otwarty{::opendir(QFile::encodeName(katalog).constData())};
    if (!otwarty.dir) {
        lista.blad = systemErrorText(errno);
        return lista;
    }
    const QString przedrostek = katalog.endsWith(u'/') ? katalog : katalog + u'/';
    for (;;) {
        errno = 0;
        const dirent *wpis = ::readdir(otwarty.dir);
        if (!wpis) {
            // The end of the listing, or a directory that broke off half-way (an I/O error).
            if (errno != 0)
                lista.blad = systemErrorText(errno);
            return lista;
        }
        const char *nazwa = wpis->d_name;
        if (qstrcmp(nazwa, ".") == 0 || qstrcmp(nazwa, "..") == 0)
            continue;
        lista.wpisy << QFileInfo(przedrostek + QFile::decodeName(nazwa));
    }
#else
    QString przyczyna;
    if (SprawdzKatalog(katalog, &przyczyna) != StanKatalogu::Jest) {
        lista.blad = przyczyna;
        return lista;
    }
    lista.wpisy = QDir(katalog).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    return lista;
#endif
}

QString BladWpisuPliku(const QString &sciezka)
{
#ifdef Q_OS_UNIX
    const QByteArray nazwa = QFile::encodeName(sciezka);
    struct stat st;
    if (::lstat(nazwa.constData(), &st) != 0)
        return errno == ENOENT ? QStringLiteral("plik nie istnieje") : systemErrorText(errno);
    if (S_ISLNK(st.st_mode)) {
        if (::stat(nazwa.constData(), &st) != 0) {
            if (errno == ENOENT)
                return QStringLiteral("dowiązanie wskazuje plik, którego nie ma");
            if (errno == ELOOP)
                return QStringLiteral("dowiązanie wskazuje samo na siebie");
            return systemErrorText(errno);
        }
    }
    if (S_ISREG(st.st_mode))
        return QString();
    return QStringLiteral("to nie jest zwykły plik, lecz ") + rodzajWpisu(st.st_mode);
#else
    const QFileInfo info(sciezka);
    if (info.isSymLink() && !info.exists())
        return QStringLiteral("dowiązanie wskazuje plik, którego nie ma");
    if (!info.exists())
        return QStringLiteral("plik nie istnieje");
    if (info.isDir())
        return QStringLiteral("to nie jest zwykły plik, lecz katalog");
    if (!info.isFile())
        return QStringLiteral("to nie jest zwykły plik, lecz urządzenie");
    return QString();
#endif
}

StanKatalogu SprawdzKatalog(const QString &katalog, QString *przyczyna)
{
    auto wynik = [&](StanKatalogu stan, const QString &tekst) {
        if (przyczyna)
            *przyczyna = tekst;
        return stan;
    };
#ifdef Q_OS_UNIX
    // Without a closing separator: "file/" would only say that a part of the path is no folder.
    const QByteArray nazwa = QFile::encodeName(QDir::cleanPath(katalog));
    struct stat st;
    if (::stat(nazwa.constData(), &st) != 0) {
        const int blad = errno;
        if (blad == ENOENT)
            return wynik(StanKatalogu::Brak, QStringLiteral("katalog nie istnieje"));
        if (blad == ENOTDIR)
            return wynik(StanKatalogu::NieKatalog, systemErrorText(blad));
        return wynik(StanKatalogu::Nieczytelny, systemErrorText(blad));
    }
    if (!S_ISDIR(st.st_mode))
        return wynik(StanKatalogu::NieKatalog,
                     QStringLiteral("to nie jest katalog, lecz ") +
                         (S_ISREG(st.st_mode) ? QStringLiteral("plik") : rodzajWpisu(st.st_mode)));
    // Listing it is the only sure test of whether this user may.
    const OtwartyKatalog otwarty{::opendir(nazwa.constData())};
    if (!otwarty.dir)
        return wynik(StanKatalogu::Nieczytelny, systemErrorText(errno));
    return wynik(StanKatalogu::Jest, QString());
#else
    const QFileInfo info(katalog);
    if (!info.exists())
        return wynik(StanKatalogu::Brak, QStringLiteral("katalog nie istnieje"));
    if (!info.isDir())
        return wynik(StanKatalogu::NieKatalog, QStringLiteral("to nie jest katalog, lecz plik"));
    if (!info.isReadable())
        return wynik(StanKatalogu::Nieczytelny, systemErrorText(EACCES));
    return wynik(StanKatalogu::Jest, QString());
#endif
}

} // namespace rawen
