#include "app/Program.h"

#include "app/TPRACA.h"
#include "app/Tzero.h"
#include "data/TDANE.h"
#include "legacy/PrzeksztalcenieStartowe.h"
#include "platform/AppContext.h"
#include "platform/MessageBoxes.h"
#include "print/TDRUK.h"
#include "shell/TRAWENF.h"
#include "store/DyskSieciowy.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

// The data root, and the current directory the tables are opened from when it is another: on a
// network drive the run does not start unless the user said to go on, and then with a warning.
bool dyskDoPracy(const AppContext &kontekst)
{
    QStringList katalogi{kontekst.dataRoot()};
    const QString biezacy =
        kontekst.currentDirectory.isEmpty() ? QDir::currentPath() : kontekst.currentDirectory;
    if (QDir(biezacy) != QDir(katalogi.first()))
        katalogi << biezacy;
    for (const QString &katalog : std::as_const(katalogi)) {
        const OcenaDysku ocena = SprawdzDyskSieciowy(katalog, ZgodaUruchomienia());
        if (ocena.odmowa) {
            MessageBoxes::current().error(ocena.komunikat);
            return false;
        }
        if (!ocena.komunikat.isEmpty()) {
            MessageBoxes::current().warning(ocena.komunikat);
            return true; // one warning is enough
        }
    }
    return true;
}

} // namespace

Program::Program(Printers &drukarki, Processes &procesy) : m_drukarki(drukarki), m_procesy(procesy)
{}

Program::~Program()
{
    // Windows first, the data module with its tables last.
    DRUK.reset();
    PRACA.reset();
    RAWENF.reset();
    zero.reset();
    DANE.reset();
}

bool Program::start()
{
    const AppContext &kontekst = AppContext::current();
    wartosci.tytul = WartosciProgramu::tytulDomyslny(kontekst.executablePath);
    wartosci.ustawDateStartu(kontekst);
    if (!dyskDoPracy(kontekst)) {
        wartosci.bladStartu = true;
        return false;
    }

    zero = std::make_unique<Tzero>(wartosci.tytul);
    napisPowitania = zero->napis();
    budowaPowitania = {zero->budowa()};
    zero->pokaz();

    // A data root of the previous generation is offered a conversion first; the run then goes on
    // in the converted root, which holds the program and its modules as the old one did.
    {
        TPRACA okno;
        const QString katalog =
            kontekst.currentDirectory.isEmpty() ? QDir::currentPath() : kontekst.currentDirectory;
        if (const std::optional<QString> nowy = PrzeksztalcenieStartowe(katalog, &okno)) {
            AppContext przeniesiony = kontekst;
            przeniesiony.currentDirectory = *nowy;
            przeniesiony.executablePath =
                QDir(*nowy).filePath(QFileInfo(kontekst.executablePath).fileName());
            AppContext::setCurrent(przeniesiony);
            QDir::setCurrent(*nowy);
        }
    }

    DANE = std::make_unique<TDANE>(wartosci);
    wartosci.tytul = QStringLiteral("RAWEN 2.0");

    // The splash window goes however the windows below turn out.
    struct Sprzatanie
    {
        std::unique_ptr<Tzero> &okno;
        ~Sprzatanie() { okno.reset(); }
    } sprzatanie{zero};
    auto postep = [this] {
        zero->postep(33);
        budowaPowitania << zero->budowa();
        return !wartosci.bladStartu;
    };

    if (!postep())
        return false;
    RAWENF = std::make_unique<TRAWENF>(wartosci, *DANE, m_procesy);
    if (!postep())
        return true;
    PRACA = std::make_unique<TPRACA>();
    RAWENF->ustawOknoPostepu(PRACA.get());
    if (!postep())
        return true;
    DRUK = std::make_unique<TDRUK>(m_drukarki, *PRACA, wartosci);
    RAWENF->ustawLogo(&DRUK->logo());
    return true;
}

} // namespace rawen
