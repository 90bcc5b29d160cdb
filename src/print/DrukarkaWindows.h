#pragma once

#include <QString>

namespace rawen {

// The Windows printer channel's canvas: the current printer of the run, drawn on in its device
// pixels. The program draws with QPrinter and QPainter (a PDF file for the PDF printer); tests
// record the calls.
class DrukarkaWindows
{
public:
    enum class Wynik { Gotowe, Anulowane, Blad };

    virtual ~DrukarkaWindows() = default;

    // Of the current printer, before and during a document: the vertical resolution in dots per
    // inch and the printable height in device pixels; 0 when the printer cannot tell.
    virtual int rozdzielczoscPionowa() const = 0;
    virtual int wysokoscStrony() const = 0;
    // Of the current printer, before a document: the printable width in device pixels, upright or
    // on its side, and how wide one character of the print face is per point of its size (the
    // face is fixed-pitch: a character at 8 points is eight times that). 0 when the printer
    // cannot tell; nothing is fitted then.
    virtual int szerokoscStrony(bool /*poziomo*/) const { return 0; }
    virtual double szerokoscZnakuNaPunkt() const { return 0; }
    // How the next document lies and how large its letters are: on its side or upright, and
    // every font size times `skala` (the lines keep their heights). Set before rozpocznij, kept
    // until set again; wysokoscStrony follows it.
    virtual void ustawUklad(bool /*poziomo*/, double /*skala*/) {}

    // Begins a document on the current printer under `nazwaDokumentu`, the name a print queue
    // shows. Anulowane when the user gave up a question on the way (the PDF printer's file name),
    // Blad when the printer refused; blad() then says why.
    virtual Wynik rozpocznij(const QString &nazwaDokumentu) = 0;
    virtual void ustawCzcionke(const QString &nazwa, int punkty) = 0;
    virtual void ustawRozmiar(int punkty) = 0;
    // Draws the text with the top left corner of its first character cell at device pixel (x, y).
    virtual void rysujTekst(int x, int y, const QString &tekst) = 0;
    // Draws the logo picture unscaled with its top left corner at device pixel (x, y); nothing
    // when there is no logo.
    virtual void rysujLogo(int x, int y) = 0;
    // False when the printer refused; blad() then says why.
    virtual bool nowaStrona() = 0;
    // Ends the document: the printer gets it, or the PDF file takes its place. False when that
    // failed; blad() then says why.
    virtual bool zakoncz() = 0;
    // Drops the document begun; nothing of it is printed or left.
    virtual void przerwij() = 0;

    // The message for the user about the last failure, in Polish.
    virtual QString blad() const = 0;
};

} // namespace rawen
