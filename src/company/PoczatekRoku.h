#pragma once

#include <QString>

namespace rawen {

// Why `tekst` cannot be the first day of a firm's fiscal year (OBRDATA, month and day as mm.dd,
// which the working-year check reads at fixed places), for the user; "" for a day that exists in
// some year (29.02 included) and for an empty field, which means 01.01.
QString BladPoczatkuRoku(const QString &tekst);

} // namespace rawen
