#pragma once

#include <QString>

#include <cstdio>
#include <functional>

namespace rawen {
class Konsola;
}

namespace rawen::test {

// All that was written to `plik` (a temporary file standing in for a stream), as text.
QString zawartoscStrumienia(std::FILE *plik);

struct WynikPolecenia
{
    int kod;
    QString wyjscie;
    QString bledy;
};

// Runs a command on a console over two temporary files, as a run whose standard error is no
// terminal (from cron), and returns its exit status and what it printed on each stream.
WynikPolecenia uruchomPolecenie(const std::function<int(Konsola &)> &polecenie);

} // namespace rawen::test
