#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

// Why an archive may not be written into `katalog`, or (with `odtworzenie`) a restore may not be
// read from it: it is, holds or lies inside the live data of the firms under the data root
// `katalogGlowny` (the data root itself, a firm's folder FIRMAnnn or #IRMAnnn, a firm's data
// directory, a year, BAZA), or would be taken for a year or a firm there. An archive written
// there would replace live tables, or be copied as data by the next year opening or listed as a
// firm. Inside a firm's data only its ARCHIWUM folder is allowed, and for a restore also the
// safety folders ODTWARZANIE-... that a restore leaves. `katalogiDanych` names further data
// directories the caller knows of (DR of a firm table). "" when the folder may be used. Links
// are followed, and names compared without regard to case. Nothing is written.
QString BladMiejscaArchiwum(const QString &katalog, const QString &katalogGlowny,
                            const QStringList &katalogiDanych = {}, bool odtworzenie = false);

} // namespace rawen
