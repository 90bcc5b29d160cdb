#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

class Table;

// The ten fields of the seat address, in the order of the form; the residence address holds the
// same fields with Z in front of each name.
const QStringList &PolaAdresuSiedziby();

// The fields that leaving the post office fills when they are empty, in order.
const QStringList &PolaWypelnianePoczta();

// What leaving the control of the seat-address field `pole` does to the current record of the
// firm table `tabela` (which the control has already written): the table is put into editing
// (a table without a record gets its first one), the residence field Z + `pole` receives the
// seat field's text when it is empty, and leaving POCZTA also gives its text to each empty field
// of PolaWypelnianePoczta. A field counts as empty only when its text has no character; texts are
// copied as they are. Nothing is posted. Raises the engine's errors (NoSuchField for a name the
// table lacks).
void UzupelnijAdres(Table &tabela, const QString &pole);

} // namespace rawen
