#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

// Why a print may not be written into the file `plik`; "" when it may. A print takes the place
// of the file it is written to: never a table of this program or any other database (its records
// would be lost for a text), nor a file named as a database file under the data root or a data
// directory (`katalogiDanych`), which the next year opening or archive would take for a table.
// The file is looked at, never opened for writing; a device or a FIFO is not read either.
QString BladPlikuWydruku(const QString &plik, const QStringList &katalogiDanych);

// The data root of the application context and the data directory of the run, when known: where
// a print must not put a file named as a table.
QStringList KatalogiDanychWydruku(const QString &katalogDanych = QString());

} // namespace rawen
