#pragma once

#include "platform/OknoPostepu.h"
#include "print/DrukarkaWindows.h"
#include "print/OknoWydruku.h"

namespace rawen {

// What a print job meets when it runs without any window: a command or a benchmark printing a
// table unbuffered.

// The job is unbuffered: there is no document buffer to fill and no window to show.
class BezOkna final : public OknoWydruku
{
public:
    void wyczyscBufor() override {}
    void dopiszWiersz(const QString &) override {}
    QString tekstDoWydruku() override { return {}; }
    void usunZaznaczenie() override {}
    void czcionkaPoWydruku() override {}
    QString zapytajOTytul(const QString &tytul) override { return tytul; }
    void pokaz() override {}
};

class BezPostepu final : public OknoPostepu
{
public:
    void Start(const QString &, int) override {}
    void Postep() override {}
    void Stop() override {}
};

// No Windows printer: the channels 1 to 3 draw nothing.
class BezDrukarki final : public DrukarkaWindows
{
public:
    int rozdzielczoscPionowa() const override { return 0; }
    int wysokoscStrony() const override { return 0; }
    Wynik rozpocznij(const QString &) override { return Wynik::Blad; }
    void ustawCzcionke(const QString &, int) override {}
    void ustawRozmiar(int) override {}
    void rysujTekst(int, int, const QString &) override {}
    void rysujLogo(int, int) override {}
    bool nowaStrona() override { return false; }
    bool zakoncz() override { return false; }
    void przerwij() override {}
    QString blad() const override { return QStringLiteral("Brak drukarki Windows."); }
};

} // namespace rawen
