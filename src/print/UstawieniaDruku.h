#pragma once

#include <QString>

namespace rawen {

// The print settings, kept machine-wide under the registry key "SOFTWARE\QV\DRUK" in values of
// the same names. Before reading, all are zero or off, DRLINIDOS too; the defaults of a first
// run come from reading a key that is missing.
struct UstawieniaDruku
{
    quint8 DRTYP = 0;       // channel: Windows printer, DOS port, text file with, without cutting
    quint8 DRPORT = 0;      // 0 to 2: LPT1 to LPT3
    quint8 DREKSPORT = 0;   // held at 0, so the export file dialog is always preset
    quint8 DRRODZAJ = 0;    // density: automatic, condensed, normal, expanded
    quint8 DRPL = 0;        // Polish letters: none, Mazovia, Latin-2, Windows-1250
    bool DRPODZIAL = false; // every page starts with the page header and the heading lines
    bool DRBUFOR = false;   // lines go straight to the channel, past the document buffer
    qint32 DRLEWY = 0;      // left margin: 1/15 inch on the Windows channel, spaces on DOS
    qint32 DRGORA = 0;      // blank lines before the page header
    qint32 DRLINIDOS = 0;   // lines per page on the DOS channel

    // Reads the stored settings and makes fewer than 10 lines per page 70. A value that is
    // missing or not an integer keeps what the field held, and reading goes on with the next:
    // one damaged value should not cost the user the others. Byte-wide settings keep the low
    // byte of what is stored; a boolean is on when the stored value is not zero.
    void Wczytaj();

    // Stores all ten values; a channel, port, density or coding that names none of its choices
    // is stored as 0. False, and nothing stored, when the key cannot be opened for writing.
    bool Zapisz() const;

    bool operator==(const UstawieniaDruku &) const = default;
};

// The device of the DOS channel's port `DRPORT` (0 to 2 for LPT1 to LPT3): the text value "LPT1",
// "LPT2" or "LPT3" under the settings' key when there is one, else the system's device
// (/dev/lp0 to /dev/lp2; LPT1: to LPT3: on Windows). Empty for a port that names none.
QString UrzadzeniePortu(quint8 DRPORT);

// The number in a two-digit mask edit: the text without spaces as a decimal integer; text that is
// not one (an emptied edit, say) or a negative value gives 0.
qint32 LiczbaZMaski(const QString &tekst);

} // namespace rawen
