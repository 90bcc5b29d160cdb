#pragma once

#include <QStringList>

namespace rawen {

// A start with the main window, `rawen [KATALOG] [rok RRRR]` (`argumenty` without the program):
// the data root settled (the command line, the program's own directory, the remembered choice,
// else the first-run window, which `wybierzKatalog` shows in any case), start-up, the message
// loop; and again on another data root when the main window's "Katalog danych" asks for one.
// Needs the application object; returns the exit status.
int UruchomProgram(const QStringList &argumenty, bool wybierzKatalog);

} // namespace rawen
