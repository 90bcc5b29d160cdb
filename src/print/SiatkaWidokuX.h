#pragma once

#include "print/Siatka.h"
#include "print/ZbiorTabeli.h"

class QTableView;

namespace rawen {

class ModelTabeli;
class Wydruk;

// The extended grid of a list window: a QTableView showing a table of the engine through a
// ModelTabeli whose columns may hang under parent columns of a multi-level title. A column is
// visible when neither the view hides it nor a parent column is hidden; its group caption comes
// from its parents (PodpisGrupy), its alignment from the model; the rows the user selected in
// the view are printed alone. A list meant to be printed whole is best shown with a selection
// mode where a plain click selects nothing (QAbstractItemView::MultiSelection selects on a
// click, as a grid's multiple selection with Ctrl does).
class SiatkaWidokuX final : public Siatka
{
public:
    SiatkaWidokuX(QTableView &widok, ModelTabeli &model);

    ZbiorDanych &zbiorDanych() override { return m_zbior; }
    QList<KolumnaSiatki> kolumny() override;
    QList<qint64> zaznaczoneWiersze() override;

private:
    QTableView &m_widok;
    ModelTabeli &m_model;
    ZbiorTabeli m_zbior;
};

// Prints the list a window shows in `widok` as DrukujTabeleX does. The view must show a
// ModelTabeli; false, with nothing printed, when it does not, and as DrukujTabeleX returns.
bool DrukujWidokX(Wydruk &wydruk, QTableView &widok, const QString &tytul, const QString &sumy,
                  qint32 ileNaglowkow = 0);

} // namespace rawen
