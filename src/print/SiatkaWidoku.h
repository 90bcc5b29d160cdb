#pragma once

#include "print/Siatka.h"
#include "print/ZbiorTabeli.h"

class QTableView;

namespace rawen {

class ModelTabeli;
class Wydruk;

// The standard grid of a list window: a QTableView showing a table of the engine through a
// ModelTabeli. Its columns in the order they stand on the screen, as wide as the view shows
// them, a hidden one -1 wide.
class SiatkaWidoku final : public Siatka
{
public:
    // The view's model is `model`, whose table is the data set.
    SiatkaWidoku(QTableView &widok, ModelTabeli &model);

    ZbiorDanych &zbiorDanych() override { return m_zbior; }
    QList<KolumnaSiatki> kolumny() override;

private:
    QTableView &m_widok;
    ModelTabeli &m_model;
    ZbiorTabeli m_zbior;
};

// Prints the list a window shows in `widok` as DrukujTabele does: every column, titles as they
// are. The view must show a ModelTabeli; false, with nothing printed, when it does not, and as
// DrukujTabele returns.
bool DrukujWidok(Wydruk &wydruk, QTableView &widok, const QString &tytul);

} // namespace rawen
