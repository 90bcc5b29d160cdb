#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

namespace rawen {

// The program's icon: the ledger page of the splash window on its blue, drawn at any size so
// that every size of the icon theme is sharp. The menu's icons are made from it when the program
// is built; the windows take it at run time.
QImage IkonaProgramu(int rozmiar);

// The sizes an icon theme looks for (hicolor).
const QList<int> &RozmiaryIkony();

// The icon at the sizes a window and its task bar use.
QIcon IkonaOkien();

} // namespace rawen
