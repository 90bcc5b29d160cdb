#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

class Konsola;

// rawen --otworz-rok RRRR [--z-roku RRRR] [--firma NNN | --wszystkie-firmy] [KATALOG_GLOWNY]:
// opens the year for firm 000 (the data root's own years, or those of its firm table's DR), for
// one firm directory, or for every firm of the register, as "START" in the year window does,
// with the log on standard output and a summary line per firm. An existing target year keeps its
// tables; only missing ones are added. A firm one of whose tables another program is writing is
// reported and left alone. The exit status: 0 when every firm's year is whole, 1 when anything
// failed, 2 for wrong usage.
int PolecenieOtworzRok(const QStringList &argumenty, Konsola &konsola);

// The command's line in `rawen --help`: syntax and description.
QString SkladniaOtworzRok();
QString OpisOtworzRok();

} // namespace rawen
