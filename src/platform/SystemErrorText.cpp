#include "platform/DurableFiles.h"

#include <cerrno>

namespace rawen {

// One Polish text for each error number the program may meet, on every system: the C library's
// own texts are English (or in whatever language the machine is set to), and a user reading a
// message in Polish must not meet them halfway through it.
QString systemErrorText(int error)
{
    switch (error) {
    case 0:
        return QStringLiteral("nieznany błąd");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("brak miejsca na dysku");
    case EFBIG:
        return QStringLiteral("plik przekracza dopuszczalny rozmiar");
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień");
    case EROFS:
        return QStringLiteral("dysk jest tylko do odczytu");
    case EIO:
        return QStringLiteral("błąd wejścia-wyjścia dysku");
    case ENOENT:
        return QStringLiteral("brak pliku lub katalogu");
    case ENAMETOOLONG:
        return QStringLiteral("ścieżka jest za długa");
    case EEXIST:
        return QStringLiteral("plik lub katalog o tej nazwie już istnieje");
    case ENOTDIR:
        return QStringLiteral("część ścieżki nie jest katalogiem");
    case EISDIR:
        return QStringLiteral("w tym miejscu jest katalog, a nie plik");
    case ENOTEMPTY:
        return QStringLiteral("katalog nie jest pusty");
    case EBUSY:
        return QStringLiteral("plik lub urządzenie jest zajęte");
    case ETXTBSY:
        return QStringLiteral("plik jest używany przez uruchomiony program");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("za dużo otwartych plików");
    case ELOOP:
        return QStringLiteral("za dużo dowiązań w ścieżce (dowiązanie wskazuje samo na siebie)");
    case EXDEV:
        return QStringLiteral("nie można przenieść pliku na inny dysk");
    case EINVAL:
        return QStringLiteral("nieprawidłowa operacja dla tego pliku");
    case EAGAIN:
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return QStringLiteral("zasób jest chwilowo niedostępny");
    case EINTR:
        return QStringLiteral("operacja została przerwana");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("brak urządzenia");
    case EBADF:
        return QStringLiteral("plik nie jest otwarty do tej operacji");
    case ENOMEM:
        return QStringLiteral("brak pamięci");
    case ESPIPE:
        return QStringLiteral("plik nie pozwala na zmianę miejsca zapisu (potok albo urządzenie)");
    case EPIPE:
        return QStringLiteral("odbiorca danych zakończył pracę (potok zamknięty)");
    case EMLINK:
        return QStringLiteral("za dużo dowiązań do pliku");
    case ENOLCK:
        return QStringLiteral("brak wolnych blokad plików");
    case ENOSYS:
#ifdef ENOTSUP
    case ENOTSUP:
#endif
#if defined(EOPNOTSUPP) && (!defined(ENOTSUP) || EOPNOTSUPP != ENOTSUP)
    case EOPNOTSUPP:
#endif
        return QStringLiteral("system plików nie obsługuje tej operacji");
    case EOVERFLOW:
        return QStringLiteral("plik jest za duży dla tej operacji");
    case EDEADLK:
        return QStringLiteral("blokada pliku doprowadziłaby do zakleszczenia");
#ifdef ESTALE
    case ESTALE:
        return QStringLiteral("plik na dysku sieciowym jest już niedostępny");
#endif
#ifdef ETIMEDOUT
    case ETIMEDOUT:
        return QStringLiteral("upłynął czas oczekiwania (dysk sieciowy nie odpowiada)");
#endif
#ifdef ENOTCONN
    case ENOTCONN:
        return QStringLiteral("brak połączenia z dyskiem sieciowym");
#endif
#ifdef EHOSTDOWN
    case EHOSTDOWN:
#endif
#ifdef EHOSTUNREACH
    case EHOSTUNREACH:
#endif
#ifdef ECONNREFUSED
    case ECONNREFUSED:
#endif
#ifdef ECONNRESET
    case ECONNRESET:
#endif
        return QStringLiteral("komputer z dyskiem sieciowym jest niedostępny");
#ifdef ENOMEDIUM
    case ENOMEDIUM:
        return QStringLiteral("brak nośnika w napędzie");
#endif
#ifdef EUCLEAN
    case EUCLEAN:
        return QStringLiteral("system plików jest uszkodzony i wymaga naprawy");
#endif
#ifdef ENODATA
    case ENODATA:
        return QStringLiteral("brak danych");
#endif
#ifdef ECANCELED
    case ECANCELED:
        return QStringLiteral("operacja została anulowana");
#endif
    default:
        // Never the C library's text: the number is what an administrator can look up.
        return QStringLiteral("błąd systemu nr %1").arg(error);
    }
}

bool isStorageFailure(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EIO:
    case EROFS:
    case EFBIG:
        return true;
    default:
        return false;
    }
}

} // namespace rawen
