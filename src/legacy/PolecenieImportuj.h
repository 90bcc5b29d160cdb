#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

class Konsola;

// rawen --importuj KATALOG_STARY KATALOG_NOWY [--kodowanie cp852|cp1250] [--mimo-blokad]: the
// data root of the previous generation converted into a new one. Exit status 0 converted, 1
// failed or refused, 2 wrong usage.
int PolecenieImportuj(const QStringList &argumenty, Konsola &konsola);
QString SkladniaImportuj();
QString OpisImportuj();

} // namespace rawen
