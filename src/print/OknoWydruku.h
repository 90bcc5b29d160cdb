#pragma once

#include <QString>

namespace rawen {

// The print window as the print engine sees it: the document buffer EDRUK, the title prompt and
// the showing of the window itself.
class OknoWydruku
{
public:
    virtual ~OknoWydruku() = default;

    virtual void wyczyscBufor() = 0;
    // Appends one line to the document buffer.
    virtual void dopiszWiersz(const QString &wiersz) = 0;
    // The text that "DRUKUJ" prints: the selection, or the whole buffer (then selected) when
    // nothing is selected; lines end in CR LF.
    virtual QString tekstDoWydruku() = 0;
    virtual void usunZaznaczenie() = 0;
    // The buffer's font at the end of every job: "Courier New", 8 points.
    virtual void czcionkaPoWydruku() = 0;
    // Shows the title prompt modally on `tytul` and returns its text however it was closed.
    virtual QString zapytajOTytul(const QString &tytul) = 0;
    // Shows the window, not modally, for the user to look, change the settings and print.
    virtual void pokaz() = 0;
};

} // namespace rawen
