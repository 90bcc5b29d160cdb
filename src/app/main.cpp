#include "app/Polecenia.h"
#include "app/RawenApplication.h"
#include "app/Uruchomienie.h"
#include "platform/AppContext.h"
#include "platform/FaultPoint.h"

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // The crash harness runs the program with a fault armed at one step of its writes.
    if (!rawen::FaultPoint::armFromEnvironment()) {
        std::fprintf(stderr,
                     "Nieprawidłowa wartość zmiennej RAWEN_FAULT: %s (oczekiwano "
                     "kill:N, eio:N, enospc:N, eperm:N albo corrupt:N)\n",
                     qgetenv("RAWEN_FAULT").constData());
        return 2;
    }
    // Commands run without the main window.
    if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0)
        return rawen::WykonajPolecenie(argc, argv);

    rawen::RawenApplication application(argc, argv);
    rawen::AppContext::setCurrent(rawen::AppContext::fromSystem());
    return rawen::UruchomProgram(rawen::AppContext::current().arguments, false);
}
