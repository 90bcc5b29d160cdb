#pragma once

#include <QString>

namespace rawen {

// Days from the date of the last archive to today, both as the firm table stores them
// (yyyy.mm.dd, read at fixed places): negative for an archive dated later, 0 when either is no
// date of the calendar.
int DniOdArchiwum(const QString &dzis, const QString &dataArchiwum);

// The question of the archive reminder after `dni` days.
QString PytanieOArchiwum(int dni);

} // namespace rawen
