#include "support/KonsolaTestowa.h"

#include "platform/Konsola.h"

#include <QByteArray>

namespace rawen::test {

QString zawartoscStrumienia(std::FILE *plik)
{
    std::fflush(plik);
    std::rewind(plik);
    QByteArray bajty;
    char bufor[4096];
    size_t n;
    while ((n = std::fread(bufor, 1, sizeof bufor, plik)) > 0)
        bajty.append(bufor, qsizetype(n));
    return QString::fromLocal8Bit(bajty);
}

WynikPolecenia uruchomPolecenie(const std::function<int(Konsola &)> &polecenie)
{
    std::FILE *wyjscie = std::tmpfile();
    std::FILE *bledy = std::tmpfile();
    int kod;
    {
        Konsola konsola(wyjscie, bledy);
        konsola.ustawTerminal(false);
        kod = polecenie(konsola);
    }
    WynikPolecenia wynik{kod, zawartoscStrumienia(wyjscie), zawartoscStrumienia(bledy)};
    std::fclose(wyjscie);
    std::fclose(bledy);
    return wynik;
}

} // namespace rawen::test
