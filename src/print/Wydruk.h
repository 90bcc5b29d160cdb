#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace rawen {

class DrukarkaWindows;
class OknoPostepu;
class OknoWydruku;
class PlikWydruku;
class PlikiWydruku;
class Siatka;
struct KolumnaSiatki;
struct UstawieniaDruku;
struct WartosciProgramu;

// The print engine that report-writing code calls. A job begins with NowyWydruk, emits lines with
// DrukujWiersz (each may begin with an in-line code: "&G" condensed, "&N" normal, "&R" expanded,
// "&W" end of page), advances the progress window with PostepWydruku and ends with ZakonczWydruk.
// The engine adds the page header, repeats the job's heading lines on every new page and adds the
// closing line. Lines collect in the print window's document buffer, which "DRUKUJ" (KDRUKClick)
// sends to the channel of the settings; with "bez bufora" (DRBUFOR) they go straight to it.
//
// Channels (DRTYP): 0 the Windows printer, drawn in units of 1/300 inch; 1 the DOS printer port,
// a byte stream with Epson control codes and recoded Polish letters; 2 a text file that leaves out
// page furniture and table rules; 3 a text file of every line.
//
// A channel that fails, or a page that cannot hold its own top, ends the job or the printing
// after one message: the rest of it is dropped, the progress window stops, the document buffer
// stays as it was, and a text file leaves an earlier file of its name whole.
class Wydruk
{
public:
    Wydruk(UstawieniaDruku &ustawienia, const WartosciProgramu &wartosci, OknoWydruku &okno,
           OknoPostepu &postep, DrukarkaWindows &drukarka);
    ~Wydruk();
    Wydruk(const Wydruk &) = delete;
    Wydruk &operator=(const Wydruk &) = delete;

    // Where the port and file channels get their streams; the real devices and files unless a
    // test puts others in (not owned).
    void ustawPliki(PlikiWydruku &pliki);
    // The device of the DOS channel for this run in place of the settings' port (a command
    // names it); empty for the settings' one.
    void ustawUrzadzeniePortu(const QString &urzadzenie) { m_urzadzeniePortu = urzadzenie; }

    // Begins a job: clears the document buffer, asks for the title when `pytajOTytul`, opens the
    // channel when unbuffered, prints the first page header when `naglowek` (and switches the page
    // split on for the rest of the run) and starts the progress window on `ileKrokow` steps.
    // `ileNaglowkow` heading lines of WierszeNaglowka (at most 11) start every further page.
    void NowyWydruk(const QString &tytul, bool pytajOTytul, qint32 ileKrokow, quint8 ileNaglowkow,
                    bool naglowek);
    void DrukujWiersz(const QString &wiersz);
    void PostepWydruku();
    // Ends the job, with the closing line when `zakonczenie`: an unbuffered job closes its
    // channel; a buffered one is printed at once when DrukujOdRazu is set, else the print window
    // is shown.
    void ZakonczWydruk(bool zakonczenie);
    // Prints the document buffer's selection, or all of it, to the channel of the settings.
    void KDRUKClick();

    // Table printing: the records of a grid as a ruled table in one job of its own, with the
    // table's heading lines repeated on every page. An empty data set prints nothing.
    // DrukujTabele prints the first 50 columns of a standard grid, titles as they are, no
    // totals (the sum list and the heading-line count are not used).
    // DrukujTabeleX prints the visible columns of an extended grid with centred titles, the
    // group line, the columns' alignment, the grid's selected rows when there are any, and the
    // caller's heading lines (WierszeNaglowka slots 1 to the low byte of `ileNaglowkow`, stored
    // before the call) before the table's. `sumy` lists field names, each followed by ";": those
    // columns are totalled under "RAZEM :"; a list beginning with "LP" numbers the rows.
    // A column that names no field of the data set, or more heading lines than the pages can
    // repeat, refuse the table with a message before any job begins. False when the table was
    // refused or its job ended early after a failure it reported.
    bool DrukujTabele(Siatka &siatka, const QString &tytul, const QString &sumy = QString(),
                      qint32 ileNaglowkow = 0);
    bool DrukujTabeleX(Siatka &siatka, const QString &tytul, const QString &sumy,
                       qint32 ileNaglowkow);

    // True when the last job or printing ended early after a failure it reported.
    bool przerwany() const { return m_przerwany; }

    // Set by the caller.
    // Repeated heading lines, slots 1 to 11 (slot 0 is not used); a caller stores them before it
    // begins a job and they stay from job to job.
    std::array<QString, 12> WierszeNaglowka;
    // Set between NowyWydruk and ZakonczWydruk: print the buffer at once, no window.
    bool DrukujOdRazu = false;
    // Set during a job: the Windows channel draws the logo at each in-line page end and at the
    // end of the document.
    bool DrukujLogo = false;
    // Printed in the page header when not empty.
    QString Operator;

    // Job state.
    const QString &TytulWydruku() const { return m_tytulWydruku; }
    bool Naglowek() const { return m_naglowek; }
    quint16 IleNaglowkow() const { return m_ileNaglowkow; }
    qint32 NrStrony() const { return m_nrStrony; }
    qint32 NrWiersza() const { return m_nrWiersza; }

    // Channel state.
    quint8 KodPL() const { return m_kodPL; }
    QByteArray KodGestosci() const { return m_kodGestosci; }
    quint8 RozmiarCzcionki() const { return m_rozmiarCzcionki; }
    qint32 PozycjaY() const { return m_pozycjaY; }
    qint32 WysokoscStrony() const { return m_wysokoscStrony; }
    double Skala() const { return m_skala; }

    // The two header lines of the current page, with their "&G".
    QString PierwszyWierszNaglowka() const;
    QString DrugiWierszNaglowka() const;

private:
    enum class Kanal { Zaden, Windows, DOS, Eksport, BezWycinania };

    struct KolumnaDruku;
    // The printed columns of a grid with their fields found in the data set; false after the
    // message when one names no field.
    bool kolumnyDruku(Siatka &siatka, bool rozszerzona, std::vector<KolumnaDruku> &kolumny);
    // Emits the records of the walk: every record, or those of `zakladki`.
    bool drukujWiersze(Siatka &siatka, std::vector<KolumnaDruku> &kolumny,
                       const QList<qint64> &zakladki, bool numeracja);

    void NaglowekStrony();
    void NowaStronaWindows();
    void NowaStronaDOS();

    // Opens the channel of DRTYP; false (after its message, if any) when it did not open, the
    // page could not hold its top or the user would not have lines cut. `podzial` is the page
    // split the printing will run with.
    // `tekst` is what will be printed when it is known beforehand (the buffer), for the page's
    // width.
    bool StartWydruku(bool podzial, QStringView tekst = {});
    void KoniecWydruku();
    void doKanalu(const QString &linia);
    void WierszWindows(const QString &linia);
    void WierszDOS(const QString &linia);
    void WierszEksport(const QString &linia);
    void WierszBezWycinania(const QString &linia);

    bool stronaMiesciGore(bool podzial);
    // The widest line of what is to be printed, as the Windows channel draws it.
    struct Szerokosc
    {
        qint64 miara = 0;    // characters times the point size they are drawn at
        int znaki = 0;       // characters of that line
        int najmniejsze = 0; // the smallest point size of any line
        void dodaj(QStringView linia, int &punkty, int wymuszone);
    };
    Szerokosc szerokoscTekstu(QStringView tekst) const;
    // Lays the Windows channel's page out for the widest line: upright as it is, else in smaller
    // letters of the same face down to the smallest readable size, else on its side the same way;
    // a line that fits none of them is said before anything is printed, and printing goes on only
    // on Yes. False when the user said No.
    bool dopasujStrone(const Szerokosc &szerokosc);
    void dopiszBajty(QStringView tekst, QByteArray &cel) const;
    void zapisz(const QByteArray &dane);
    // Ends the job or the printing after a failure: the channel is dropped without a trace.
    void przerwij(const QString &komunikat);

    UstawieniaDruku &m_ustawienia;
    const WartosciProgramu &m_wartosci;
    OknoWydruku &m_okno;
    OknoPostepu &m_postep;
    DrukarkaWindows &m_drukarka;
    PlikiWydruku *m_pliki;
    QString m_urzadzeniePortu;

    QString m_tytulWydruku;
    bool m_naglowek = false;
    quint16 m_ileNaglowkow = 0;
    qint32 m_nrStrony = 0;
    qint32 m_nrWiersza = 0;
    // The job's lines go straight to the channel: DRBUFOR as it was when the job began.
    bool m_bezBufora = false;
    bool m_przerwany = false;

    Kanal m_kanal = Kanal::Zaden;
    std::unique_ptr<PlikWydruku> m_plik;
    QString m_nazwaPliku;
    quint8 m_kodPL = 0;
    QByteArray m_kodGestosci;
    quint8 m_rozmiarCzcionki = 8;
    qint32 m_pozycjaY = 0;
    qint32 m_wysokoscStrony = 0;
    double m_skala = 1.0;
    // Set while a new page prints its top: those lines never find the page full again.
    bool m_gora = false;
    // The Windows channel's layout for the job: the widest line, which table printing gives
    // before an unbuffered job begins (0: not known), the letters' scale, the page's width and a
    // character's width per point in device pixels, the lines that did not fit, and whether the
    // user knew beforehand that some would not.
    int m_zapowiedzianaSzerokosc = 0;
    double m_skalaPisma = 1.0;
    int m_szerokoscStronyWPikselach = 0;
    double m_znakNaPunkt = 0;
    int m_obciete = 0;
    bool m_obciecieZapowiedziane = false;
    // The bytes of the line being written, kept to be filled again by the next one.
    QByteArray m_wiersz;
};

} // namespace rawen
