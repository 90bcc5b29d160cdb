#include "support/PrintFakes.h"

namespace rawen::test {

QString FakeOknoWydruku::tekst() const
{
    QString wynik;
    for (const QString &wiersz : bufor)
        wynik += wiersz + QStringLiteral("\r\n");
    return wynik;
}

QString FakeOknoWydruku::tekstDoWydruku()
{
    const QString calosc = tekst();
    if (zaznaczenieDlugosc <= 0) {
        zaznaczenieOd = 0;
        zaznaczenieDlugosc = calosc.size();
    }
    return calosc.mid(zaznaczenieOd, zaznaczenieDlugosc);
}

QString FakeOknoWydruku::zapytajOTytul(const QString &tytul)
{
    pytaniaOTytul.append(tytul);
    return odpowiedziTytulu.isEmpty() ? tytul : odpowiedziTytulu.takeFirst();
}

DrukarkaWindows::Wynik RecordingDrukarka::rozpocznij(const QString &nazwaDokumentu)
{
    ++rozpoczecia;
    if (wynikRozpoczecia != Wynik::Gotowe)
        return wynikRozpoczecia;
    dokument = nazwaDokumentu;
    strony = {Strona()};
    otwarty = true;
    return Wynik::Gotowe;
}

void RecordingDrukarka::ustawCzcionke(const QString &nazwa, int punkty)
{
    czcionka = nazwa;
    m_punkty = punkty;
}

void RecordingDrukarka::rysujTekst(int x, int y, const QString &tekst)
{
    strony.back().napisy.append({x, y, m_punkty, tekst});
}

void RecordingDrukarka::rysujLogo(int x, int y)
{
    strony.back().loga.append(QPoint(x, y));
}

bool RecordingDrukarka::nowaStrona()
{
    ++noweStrony;
    if (noweStrony == psujNowaStrone)
        return false;
    strony.append(Strona());
    return true;
}

bool RecordingDrukarka::zakoncz()
{
    ++zakonczenia;
    otwarty = false;
    return !psujZakonczenie;
}

void RecordingDrukarka::przerwij()
{
    ++przerwania;
    otwarty = false;
}

QStringList RecordingDrukarka::teksty(int strona) const
{
    QStringList wynik;
    for (const Napis &napis : strony.value(strona).napisy)
        wynik.append(napis.tekst);
    return wynik;
}

class PsutyPlik final : public PlikWydruku
{
public:
    PsutyPlik(PsutePliki &pliki, std::unique_ptr<PlikWydruku> plik)
        : m_pliki(pliki), m_plik(std::move(plik))
    {}

    bool zapisz(const QByteArray &bajty) override
    {
        if (m_pliki.zepsuty) {
            ++m_pliki.zapisyPoBledzie;
            return false;
        }
        if (++m_pliki.zapisy == m_pliki.psujZapis) {
            m_pliki.zepsuty = true;
            return false;
        }
        return m_plik->zapisz(bajty);
    }
    bool zamknij() override
    {
        if (m_pliki.psujZamkniecie)
            return false;
        return m_plik->zamknij();
    }

private:
    PsutePliki &m_pliki;
    std::unique_ptr<PlikWydruku> m_plik;
};

std::unique_ptr<PlikWydruku> PsutePliki::opakuj(std::unique_ptr<PlikWydruku> plik)
{
    if (!plik)
        return nullptr;
    return std::make_unique<PsutyPlik>(*this, std::move(plik));
}

std::unique_ptr<PlikWydruku> PsutePliki::otworzPort(const QString &urzadzenie)
{
    return opakuj(PlikiWydruku::systemowe().otworzPort(urzadzenie));
}

std::unique_ptr<PlikWydruku> PsutePliki::otworzPlik(const QString &nazwa)
{
    return opakuj(PlikiWydruku::systemowe().otworzPlik(nazwa));
}

} // namespace rawen::test
