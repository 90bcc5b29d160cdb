#pragma once

#include <QString>

#include <functional>

namespace rawen {

class Table;

struct WynikDanychFirmy
{
    // The firm's table opened and the form shown on it.
    bool pokazane = false;
    // SKROT as the form left it, for the firm list's item.
    QString skrot;
    // The table TFIRMA had open before did not open again.
    QString bladPowrotu;
};

// The company data of the firm whose directory is `katalogFirmy` (with a closing separator), in
// the form `daneFirmy` shows modally on the data module's TFIRMA: TFIRMA is pointed at the firm's
// FIRMA.DB and opened as at start-up (OtworzTabele, which tells the user why a table does not
// open and brings an old one to the current layout), unless it has that table open already; then
// it names and, when it was open, opens again the table it had, on its first record, as before.
WynikDanychFirmy PokazDaneFirmy(Table &TFIRMA, const QString &katalogFirmy,
                                const std::function<void()> &daneFirmy);

} // namespace rawen
