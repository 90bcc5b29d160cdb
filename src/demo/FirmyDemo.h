#pragma once

#include <QList>
#include <QPair>

namespace rawen {

// The three demo firms, as field values of the firm table.
using DaneFirmy = QList<QPair<const char *, const char *>>;

struct FirmaDemo
{
    int numer;
    const char *osoba; // who keeps the books or runs the firm; fills {OSOBA}
    DaneFirmy dane;
};

// Firm 000 (the data root's own) and firms 001 and 002.
const QList<FirmaDemo> &FirmyDemo();

} // namespace rawen
