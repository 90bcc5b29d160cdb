#pragma once

#include "platform/OknoPostepu.h"
#include "print/DrukarkaWindows.h"
#include "print/OknoWydruku.h"
#include "print/PlikWydruku.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace rawen::test {

// The print window's document buffer as a list of lines, with a selection in its text.
class FakeOknoWydruku final : public OknoWydruku
{
public:
    QStringList bufor;
    // The selection, as a range of the text with CR LF line ends; none when empty.
    qsizetype zaznaczenieOd = 0;
    qsizetype zaznaczenieDlugosc = 0;
    // What the title prompt answers; the title as it was when nothing is set.
    QStringList odpowiedziTytulu;
    QStringList pytaniaOTytul;
    int pokazania = 0;
    int czcionkiPoWydruku = 0;

    QString tekst() const;

    void wyczyscBufor() override { bufor.clear(); }
    void dopiszWiersz(const QString &wiersz) override { bufor.append(wiersz); }
    QString tekstDoWydruku() override;
    void usunZaznaczenie() override { zaznaczenieDlugosc = 0; }
    void czcionkaPoWydruku() override { ++czcionkiPoWydruku; }
    QString zapytajOTytul(const QString &tytul) override;
    void pokaz() override { ++pokazania; }
};

class FakeOknoPostepu final : public OknoPostepu
{
public:
    bool widoczne = false;
    QString napis;
    int razem = 0;
    int kroki = 0;

    void Start(const QString &caption, int total) override
    {
        widoczne = true;
        napis = caption;
        razem = total;
        kroki = 0;
    }
    void Postep() override { ++kroki; }
    void Stop() override { widoczne = false; }
};

// A printer that records what is drawn, page by page.
class RecordingDrukarka final : public DrukarkaWindows
{
public:
    struct Napis
    {
        int x = 0;
        int y = 0;
        int punkty = 0;
        QString tekst;
    };
    struct Strona
    {
        QList<Napis> napisy;
        QList<QPoint> loga;
    };

    int dpi = 300;
    int wysokosc = 3300;
    Wynik wynikRozpoczecia = Wynik::Gotowe;
    // The page start (counted from 1 over the run) that fails; 0 for none.
    int psujNowaStrone = 0;
    bool psujZakonczenie = false;

    QString dokument;
    QString czcionka;
    int rozpoczecia = 0;
    int zakonczenia = 0;
    int przerwania = 0;
    int noweStrony = 0;
    QList<Strona> strony;
    bool otwarty = false;

    // The page's width upright and on its side and a character's width per point, in device
    // pixels; 0, as a printer that cannot tell, unless a test sets them. The layout the engine
    // chose for the document.
    int szerokosc = 0;
    int szerokoscPoziomo = 0;
    double znakNaPunkt = 0;
    bool poziomo = false;
    double skala = 1.0;

    int rozdzielczoscPionowa() const override { return dpi; }
    int wysokoscStrony() const override { return wysokosc; }
    int szerokoscStrony(bool naBoku) const override
    {
        return naBoku ? szerokoscPoziomo : szerokosc;
    }
    double szerokoscZnakuNaPunkt() const override { return znakNaPunkt; }
    void ustawUklad(bool naBoku, double skalaPisma) override
    {
        poziomo = naBoku;
        skala = skalaPisma;
    }
    Wynik rozpocznij(const QString &nazwaDokumentu) override;
    void ustawCzcionke(const QString &nazwa, int punkty) override;
    void ustawRozmiar(int punkty) override { m_punkty = punkty; }
    void rysujTekst(int x, int y, const QString &tekst) override;
    void rysujLogo(int x, int y) override;
    bool nowaStrona() override;
    bool zakoncz() override;
    void przerwij() override;
    QString blad() const override { return QStringLiteral("Błąd drukarki testowej"); }

    // The texts of one page, top to bottom.
    QStringList teksty(int strona) const;

private:
    int m_punkty = 0;
};

// The real streams of the port and file channels, with a write or a close that fails on request.
class PsutePliki final : public PlikiWydruku
{
public:
    // The write (counted from 1 over all streams) that fails; 0 for none.
    int psujZapis = 0;
    bool psujZamkniecie = false;
    int zapisy = 0;
    // Writes asked for after one failed.
    int zapisyPoBledzie = 0;
    bool zepsuty = false;

    std::unique_ptr<PlikWydruku> otworzPort(const QString &urzadzenie) override;
    std::unique_ptr<PlikWydruku> otworzPlik(const QString &nazwa) override;

private:
    std::unique_ptr<PlikWydruku> opakuj(std::unique_ptr<PlikWydruku> plik);
};

} // namespace rawen::test
