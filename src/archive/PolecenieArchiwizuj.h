#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

class Konsola;

// rawen --archiwizuj [--firma NNN | --wszystkie-firmy] [--do KATALOG] [--sprawdz-dokladnie]
// [KATALOG_GLOWNY]: the archive of the archive window for firm 000, one firm or every firm of the
// register, with its check and the date of the archive recorded in each firm's firm table; each
// firm into its default archive directory (its data directory and ARCHIWUM), or into KATALOG (each
// firm into a subdirectory FIRMAnnn of it when there are several). A line per firm; exit status 0
// when every archive is whole, 1 when anything failed, 2 for wrong usage.
int PolecenieArchiwizuj(const QStringList &argumenty, Konsola &konsola, const QString &dzis);

QString SkladniaArchiwizuj();
QString OpisArchiwizuj();

} // namespace rawen
