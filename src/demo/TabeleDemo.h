#pragma once

#include <QList>

namespace rawen {

// A demo table: its path under the data root, the year directory or BAZA ("\" between the
// parts, as in the year-copy rules), its fields as "NAME:TYPE" words (S<size> text, I integer,
// F number, C currency, D date, B logical), the fields of the primary index and of a second,
// case-insensitive one ("" for none), and its records as "|"-separated texts in field order.
// Records may name the year ({R}, {R-1}), the firm's town ({MIASTO}) and its person ({OSOBA});
// the configuration table's, the day a month after the demo is made ({DZIS+30}).
struct WzorTabeli
{
    const char *sciezka;
    const char *pola;
    const char *klucz;
    const char *drugiIndeks;
    QList<const char *> rekordy;
};

// The tables of a year directory: one for each path of the year-copy rules.
const QList<WzorTabeli> &WzoryTabelRoku();
// The tables of a firm's BAZA directory.
const QList<WzorTabeli> &WzoryTabelBazy();
// The configuration table of the data root (RAWEN.DB): the update check's values.
const WzorTabeli &WzorTabeliKonfiguracji();

} // namespace rawen
