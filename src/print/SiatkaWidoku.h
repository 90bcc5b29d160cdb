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

// Makes every column of `widok`, which shows `model`, as wide as a grid makes a column of its
// field: the width of the digit "0" in the view's font times the characters of the field's
// widest display text (ModelTabeli::szerokoscZnakow) plus 4 pixels, and at least the title's
// width plus 4, so that every value shows whole.
void UstawSzerokosciKolumn(QTableView &widok, const ModelTabeli &model);

// Prints the list a window shows in `widok` as DrukujTabele does: every column, titles as they
// are. The view must show a ModelTabeli; false, with nothing printed, when it does not, and as
// DrukujTabele returns.
bool DrukujWidok(Wydruk &wydruk, QTableView &widok, const QString &tytul);

} // namespace rawen
