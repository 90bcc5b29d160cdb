#pragma once

#include <QString>

namespace rawen {

// The type key of a file name: the last two characters when the third-last is a point, the two
// after the point when the fourth-last is one, else the whole name ("FIRMA.DB" gives "DB",
// "FIRMA.XG0" "XG", "SPIS.DBF" "DB", "DB" "DB", "firma.db" "db").
QString KluczTypu(const QString &nazwa);

// A table's data, memo, primary-index or secondary-index file: the type key is exactly "DB",
// "MB", "PX", "XG" or "YG" (in capitals).
bool JestPlikiemBazy(const QString &nazwa);

} // namespace rawen
