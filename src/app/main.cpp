#include "app/Polecenia.h"
#include "app/RawenApplication.h"
#include "app/Uruchomienie.h"
#include "platform/AppContext.h"
#include "platform/FaultPoint.h"
#include "platform/FileSystemType.h"
#include "platform/QtTranslations.h"
#include "store/DyskSieciowy.h"

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
    // Tests of the whole program have a folder taken as lying on a network drive.
    rawen::probeFileSystemFromEnvironment();
    // An option of the program and of every command alike, wherever it stands.
    const bool mimoDyskuSieciowego =
        rawen::ZdejmijOpcje(argc, argv, rawen::OpcjaMimoDyskuSieciowego().toLatin1().constData());
    // Commands run without the main window.
    if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0)
        return rawen::WykonajPolecenie(argc, argv, mimoDyskuSieciowego);

    rawen::RawenApplication application(argc, argv);
    rawen::AppContext kontekst = rawen::AppContext::fromSystem();
    kontekst.networkDriveAllowed = mimoDyskuSieciowego;
    rawen::AppContext::setCurrent(kontekst);
    // The standard dialogs (the save dialog, the printer set-up) speak Polish as the rest does.
    rawen::installQtTranslations();
    return rawen::UruchomProgram(rawen::AppContext::current().arguments, false);
}
