#include "print/Wydruk.h"

#include "data/WartosciProgramu.h"
#include "format/Formatowanie.h"
#include "format/Liczebniki.h"
#include "platform/DurableFiles.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/OknoPostepu.h"
#include "platform/Windows1250.h"
#include "print/CelWydruku.h"
#include "print/DrukarkaWindows.h"
#include "print/KonwertujPL.h"
#include "print/OknoWydruku.h"
#include "print/PlikWydruku.h"
#include "print/UstawieniaDruku.h"

#include <QDebug>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>
#include <limits>

namespace rawen {

namespace {

const QByteArray kZageszczony("\x0F");
const QByteArray kNormalny("\x14\x12");
const QByteArray kRozstrzelony("\x12\x0E");
const QByteArray kKoniecStrony("\x0C\r\n");
const QByteArray kKoniecWiersza("\r\n");

// The smallest letters a line is shrunk to so that it fits the page: still readable on paper.
constexpr double kNajmniejszePismo = 6.0;

// Units of 1/300 inch a line of each font size takes on the Windows channel.
int wysokoscWiersza(int punkty)
{
    return punkty == 16 ? 65 : punkty == 12 ? 50 : 40;
}

// Removes the code from the front of the line when it is there.
bool zdejmijKod(QString &linia, QLatin1StringView kod)
{
    if (!linia.startsWith(kod))
        return false;
    linia.remove(0, kod.size());
    return true;
}

bool zdejmijKod(QStringView &linia, const char16_t *kod)
{
    if (!linia.startsWith(QStringView(kod)))
        return false;
    linia = linia.mid(2);
    return true;
}

// The font size the in-line codes at the front of the line set on the Windows channel, tested one
// after the other; `punkty` when there is none.
int rozmiarZKodow(QString &linia, int punkty)
{
    if (zdejmijKod(linia, QLatin1StringView("&G")))
        punkty = 8;
    if (zdejmijKod(linia, QLatin1StringView("&N")))
        punkty = 12;
    if (zdejmijKod(linia, QLatin1StringView("&R")))
        punkty = 16;
    return punkty;
}

// A rule or a separator: nothing but "=", "-", "|" and "+", and spaces outside a table. A row of
// a table whose first cell begins with "-" (a negative amount) is no rule: a table's cells are
// filled with spaces, its separators never are.
bool jestRamka(const QByteArray &linia)
{
    const bool wierszTabeli = linia.startsWith('|');
    for (const char znak : linia) {
        if (znak == '=' || znak == '-' || znak == '|' || znak == '+')
            continue;
        if (znak == ' ' && !wierszTabeli)
            continue;
        return false;
    }
    return true;
}

} // namespace

Wydruk::Wydruk(UstawieniaDruku &ustawienia, const WartosciProgramu &wartosci, OknoWydruku &okno,
               OknoPostepu &postep, DrukarkaWindows &drukarka)
    : m_ustawienia(ustawienia), m_wartosci(wartosci), m_okno(okno), m_postep(postep),
      m_drukarka(drukarka), m_pliki(&PlikiWydruku::systemowe()), m_kodGestosci(kZageszczony)
{}

Wydruk::~Wydruk()
{
    // A run that ends inside a job leaves no half of a document behind.
    if (m_kanal == Kanal::Windows)
        m_drukarka.przerwij();
}

void Wydruk::ustawPliki(PlikiWydruku &pliki)
{
    m_pliki = &pliki;
}

// ---- Jobs ---------------------------------------------------------------------------------

void Wydruk::NowyWydruk(const QString &tytul, bool pytajOTytul, qint32 ileKrokow,
                        quint8 ileNaglowkow, bool naglowek)
{
    // A job begun while another one is open ends that one's channel without printing it.
    if (m_kanal != Kanal::Zaden)
        przerwij(QString());

    m_okno.wyczyscBufor();
    m_tytulWydruku = tytul;
    if (pytajOTytul)
        m_tytulWydruku = m_okno.zapytajOTytul(m_tytulWydruku);
    if (ileNaglowkow > 11) {
        qWarning() << "NowyWydruk: at most 11 heading lines, not" << ileNaglowkow;
        ileNaglowkow = 11;
    }
    m_ileNaglowkow = ileNaglowkow;
    m_naglowek = naglowek;
    m_nrStrony = 0;
    m_nrWiersza = 0;
    m_kodGestosci = kZageszczony;
    m_rozmiarCzcionki = 8;
    m_bezBufora = m_ustawienia.DRBUFOR;
    m_przerwany = false;

    // The page header switches the page split on below, so the channel must hold its page top
    // with the split on.
    if (m_bezBufora && !StartWydruku(m_ustawienia.DRPODZIAL || naglowek))
        m_przerwany = true;
    // What table printing said of its lines served this job's channel.
    m_zapowiedzianaSzerokosc = 0;
    if (naglowek) {
        NaglowekStrony();
        m_ustawienia.DRPODZIAL = true;
    }
    if (!m_przerwany)
        m_postep.Start(m_tytulWydruku, ileKrokow);
}

void Wydruk::DrukujWiersz(const QString &wiersz)
{
    if (m_przerwany)
        return;
    if (!m_bezBufora) {
        m_okno.dopiszWiersz(wiersz);
        ++m_nrWiersza;
        return;
    }
    doKanalu(wiersz);
    if (m_kanal == Kanal::Windows || m_kanal == Kanal::BezWycinania)
        ++m_nrWiersza;
}

void Wydruk::PostepWydruku()
{
    if (!m_przerwany)
        m_postep.Postep();
}

void Wydruk::ZakonczWydruk(bool zakonczenie)
{
    if (zakonczenie)
        DrukujWiersz(QStringLiteral("&GKelmar - Koniec wydruku: ") + m_tytulWydruku);
    m_postep.Stop();
    if (m_bezBufora) {
        if (m_kanal != Kanal::Zaden)
            KoniecWydruku();
    } else if (DrukujOdRazu) {
        KDRUKClick();
    } else {
        m_okno.pokaz();
    }
    DrukujOdRazu = false;
    DrukujLogo = false;
    m_okno.czcionkaPoWydruku();
}

void Wydruk::KDRUKClick()
{
    const QString tekst = m_okno.tekstDoWydruku();
    m_postep.Start(m_tytulWydruku,
                   int(std::min<qsizetype>(tekst.size(), std::numeric_limits<int>::max())));
    m_nrStrony = 1;
    m_nrWiersza = 0;
    m_pozycjaY = 0;
    m_przerwany = false;
    if (!StartWydruku(m_ustawienia.DRPODZIAL, tekst)) {
        m_przerwany = true;
        m_postep.Stop();
        return;
    }
    const Kanal kanal = m_kanal;
    qsizetype poczatek = 0;
    for (qsizetype i = 0; i < tekst.size() && !m_przerwany; ++i) {
        m_postep.Postep();
        if (tekst[i] != u'\r')
            continue;
        doKanalu(tekst.mid(poczatek, std::max<qsizetype>(i - poczatek, 0)));
        if (kanal == Kanal::BezWycinania)
            ++m_nrWiersza;
        poczatek = i + 2;
    }
    if (m_przerwany)
        return;
    KoniecWydruku();
    m_postep.Stop();
    m_okno.usunZaznaczenie();
}

// ---- Pages --------------------------------------------------------------------------------

QString Wydruk::PierwszyWierszNaglowka() const
{
    QString linia = QStringLiteral("&G") + Dopelnij(m_wartosci.uzytkownik, 30) +
                    QStringLiteral(" Program : ") + Dopelnij(m_wartosci.tytul, 20) +
                    QStringLiteral(" Data : ") + m_wartosci.dataStartu +
                    QStringLiteral(" Strona : ") + QString::number(m_nrStrony);
    if (!Operator.isEmpty())
        linia += QStringLiteral(" Operator : ") + Operator;
    return linia;
}

QString Wydruk::DrugiWierszNaglowka() const
{
    return QStringLiteral("&GWydruk : ") + m_tytulWydruku;
}

void Wydruk::NaglowekStrony()
{
    ++m_nrStrony;
    const int margines = m_ustawienia.DRGORA & 0xFF;
    for (int i = 0; i < margines; ++i)
        DrukujWiersz(QStringLiteral("&G"));
    DrukujWiersz(PierwszyWierszNaglowka());
    DrukujWiersz(DrugiWierszNaglowka());
    m_nrWiersza = m_ustawienia.DRGORA + 2;
}

void Wydruk::NowaStronaWindows()
{
    if (!m_drukarka.nowaStrona()) {
        przerwij(m_drukarka.blad());
        return;
    }
    m_pozycjaY = 0;
    ++m_nrStrony;
    m_nrWiersza = 0;
    const QScopedValueRollback<bool> gora(m_gora, true);
    if (m_naglowek) {
        const int margines = m_ustawienia.DRGORA & 0xFF;
        for (int i = 0; i < margines && !m_przerwany; ++i)
            WierszWindows(QString());
        WierszWindows(PierwszyWierszNaglowka());
        WierszWindows(DrugiWierszNaglowka());
    }
    for (int i = 1; i <= m_ileNaglowkow && !m_przerwany; ++i)
        WierszWindows(WierszeNaglowka[i]);
}

void Wydruk::NowaStronaDOS()
{
    zapisz(kKoniecStrony);
    ++m_nrStrony;
    m_nrWiersza = 0;
    const QScopedValueRollback<bool> gora(m_gora, true);
    if (m_naglowek) {
        const int margines = m_ustawienia.DRGORA & 0xFF;
        for (int i = 0; i < margines && !m_przerwany; ++i)
            WierszDOS(QString());
        WierszDOS(PierwszyWierszNaglowka());
        WierszDOS(DrugiWierszNaglowka());
    }
    for (int i = 1; i <= m_ileNaglowkow && !m_przerwany; ++i)
        WierszDOS(WierszeNaglowka[i]);
}

// A new page prints its top before anything else: the margin, the two header lines and the
// heading lines. A page too small for them would find itself full again while printing them, so
// such settings are refused before anything is printed.
bool Wydruk::stronaMiesciGore(bool podzial)
{
    if (!podzial)
        return true;
    const int margines = m_naglowek ? m_ustawienia.DRGORA & 0xFF : 0;
    const int wierszeGory = margines + (m_naglowek ? 2 : 0) + m_ileNaglowkow;
    if (wierszeGory == 0)
        return true;

    if (m_kanal == Kanal::DOS) {
        if (m_ustawienia.DRLINIDOS >= wierszeGory)
            return true;
        MessageBoxes::current().error(
            QStringLiteral("Strona nie pomieści swojego nagłówka.\r"
                           "Nagłówek strony z wierszami tytułowymi zajmuje %1, a na "
                           "stronie ustawiono %2 (\"wierszy :\").\r"
                           "Zwiększ liczbę wierszy, zmniejsz margines górny albo wyłącz podział "
                           "strony.")
                .arg(Liczebnik(wierszeGory, liczebniki::wiersz))
                .arg(m_ustawienia.DRLINIDOS));
        return false;
    }

    // The size of a line without a code is the one in force, which depends on the lines before
    // the page end: the largest one is assumed.
    int punkty = 16;
    int pozycja = 0;
    auto dodaj = [&](QString linia) {
        const int ostatnia = pozycja;
        punkty = rozmiarZKodow(linia, punkty);
        if (m_ustawienia.DRRODZAJ >= 1 && m_ustawienia.DRRODZAJ <= 3)
            punkty = m_ustawienia.DRRODZAJ == 1 ? 8 : m_ustawienia.DRRODZAJ == 2 ? 12 : 16;
        pozycja += wysokoscWiersza(punkty);
        return ostatnia;
    };
    int ostatnia = 0;
    for (int i = 0; i < margines; ++i)
        ostatnia = dodaj(QString());
    if (m_naglowek) {
        dodaj(PierwszyWierszNaglowka());
        ostatnia = dodaj(DrugiWierszNaglowka());
    }
    for (int i = 1; i <= m_ileNaglowkow; ++i)
        ostatnia = dodaj(WierszeNaglowka[i]);
    if (ostatnia + 50 <= m_wysokoscStrony)
        return true;
    MessageBoxes::current().error(
        QStringLiteral("Strona nie pomieści swojego nagłówka.\r"
                       "Nagłówek strony z wierszami tytułowymi nie mieści się na wysokości "
                       "strony drukarki.\r"
                       "Zmniejsz margines górny albo wyłącz podział strony."));
    return false;
}

// ---- The width of the page ----------------------------------------------------------------

// The size a line is drawn at on the Windows channel, as WierszWindows settles it, and its width.
void Wydruk::Szerokosc::dodaj(QStringView linia, int &punkty, int wymuszone)
{
    if (zdejmijKod(linia, u"&G"))
        punkty = 8;
    if (zdejmijKod(linia, u"&N"))
        punkty = 12;
    if (zdejmijKod(linia, u"&R"))
        punkty = 16;
    if (wymuszone)
        punkty = wymuszone;
    if (linia.isEmpty() || linia.startsWith(u"&W"))
        return;
    najmniejsze = najmniejsze == 0 ? punkty : std::min(najmniejsze, punkty);
    const qint64 tutaj = qint64(linia.size()) * punkty;
    if (tutaj > miara) {
        miara = tutaj;
        znaki = int(linia.size());
    }
}

Wydruk::Szerokosc Wydruk::szerokoscTekstu(QStringView tekst) const
{
    const int wymuszone = m_ustawienia.DRRODZAJ == 1   ? 8
                          : m_ustawienia.DRRODZAJ == 2 ? 12
                          : m_ustawienia.DRRODZAJ == 3 ? 16
                                                       : 0;
    Szerokosc szerokosc;
    int punkty = m_rozmiarCzcionki;
    // The lines of the buffer end in CR LF.
    for (qsizetype poczatek = 0; poczatek < tekst.size();) {
        qsizetype koniec = tekst.indexOf(u'\r', poczatek);
        if (koniec < 0)
            koniec = tekst.size();
        szerokosc.dodaj(tekst.mid(poczatek, koniec - poczatek), punkty, wymuszone);
        poczatek = koniec + 2;
    }
    // The page header of every new page, and a table's own lines when table printing gave them.
    if (m_naglowek) {
        szerokosc.dodaj(PierwszyWierszNaglowka(), punkty, wymuszone);
        szerokosc.dodaj(DrugiWierszNaglowka(), punkty, wymuszone);
    }
    if (m_zapowiedzianaSzerokosc > 0) {
        int tabela = m_rozmiarCzcionki;
        szerokosc.dodaj(QString(m_zapowiedzianaSzerokosc, u'='), tabela, wymuszone);
    }
    return szerokosc;
}

bool Wydruk::dopasujStrone(const Szerokosc &szerokosc)
{
    m_obciete = 0;
    m_obciecieZapowiedziane = false;
    m_znakNaPunkt = m_drukarka.szerokoscZnakuNaPunkt();
    bool poziomo = false;
    double skala = 1.0;
    if (m_znakNaPunkt > 0 && szerokosc.miara > 0) {
        const double lewy = std::trunc(m_ustawienia.DRLEWY * 20 * m_skala);
        const double potrzeba = double(szerokosc.miara) * m_znakNaPunkt;
        const double najmniejsza = std::min(1.0, kNajmniejszePismo / szerokosc.najmniejsze);
        bool miesci = false;
        for (const bool naBoku : {false, true}) {
            const double miejsce = m_drukarka.szerokoscStrony(naBoku) - lewy;
            if (miejsce <= 0 || miejsce < potrzeba * najmniejsza)
                continue;
            poziomo = naBoku;
            skala = std::min(1.0, miejsce / potrzeba);
            miesci = true;
            break;
        }
        if (!miesci && m_drukarka.szerokoscStrony(true) > 0) {
            if (!MessageBoxes::current().question(
                    QStringLiteral("Najszerszy wiersz wydruku ma %1 i nie zmieści się na "
                                   "szerokości strony, nawet ułożonej poziomo i drukowanej pismem "
                                   "%2 pkt: jego prawa część nie zostanie wydrukowana.\rCzy "
                                   "drukować mimo to ?")
                        .arg(Liczebnik(szerokosc.znaki, liczebniki::znak))
                        .arg(QString::number(szerokosc.najmniejsze * najmniejsza, 'g', 3)
                                 .replace(u'.', u','))))
                return false;
            poziomo = true;
            skala = najmniejsza;
            m_obciecieZapowiedziane = true;
        }
    }
    m_skalaPisma = skala;
    m_drukarka.ustawUklad(poziomo, skala);
    m_szerokoscStronyWPikselach = m_drukarka.szerokoscStrony(poziomo);
    return true;
}

// ---- Channels -----------------------------------------------------------------------------

bool Wydruk::StartWydruku(bool podzial, QStringView tekst)
{
    m_kanal = Kanal::Zaden;
    m_plik.reset();
    switch (m_ustawienia.DRTYP) {
    case 0: {
        const int dpi = m_drukarka.rozdzielczoscPionowa();
        if (dpi <= 0) {
            MessageBoxes::current().error(m_drukarka.blad());
            return false;
        }
        m_skala = dpi / 300.0;
        // The page is laid out for the widest line before its height is known.
        if (!dopasujStrone(szerokoscTekstu(tekst))) {
            m_kanal = Kanal::Zaden;
            return false;
        }
        m_wysokoscStrony = qint32(std::trunc(m_drukarka.wysokoscStrony() / m_skala));
        m_pozycjaY = 0;
        m_kanal = Kanal::Windows;
        if (!stronaMiesciGore(podzial)) {
            m_kanal = Kanal::Zaden;
            return false;
        }
        switch (m_drukarka.rozpocznij(m_tytulWydruku)) {
        case DrukarkaWindows::Wynik::Gotowe:
            break;
        case DrukarkaWindows::Wynik::Anulowane:
            m_kanal = Kanal::Zaden;
            return false;
        case DrukarkaWindows::Wynik::Blad:
            m_kanal = Kanal::Zaden;
            MessageBoxes::current().error(m_drukarka.blad());
            return false;
        }
        m_drukarka.ustawCzcionke(QStringLiteral("Lucida console"), m_rozmiarCzcionki);
        return true;
    }
    case 1: {
        m_kanal = Kanal::DOS;
        // The page top is settled before the port is touched: a refused job prints nothing.
        if (!stronaMiesciGore(podzial)) {
            m_kanal = Kanal::Zaden;
            return false;
        }
        const QString urzadzenie =
            m_urzadzeniePortu.isEmpty() ? UrzadzeniePortu(m_ustawienia.DRPORT) : m_urzadzeniePortu;
        m_nazwaPliku = urzadzenie.isEmpty() ? QStringLiteral("LPT%1").arg(m_ustawienia.DRPORT + 1)
                                            : urzadzenie;
        // A file standing in for the port takes the place of whatever it names.
        const QString zajety =
            urzadzenie.isEmpty()
                ? QString()
                : BladPlikuWydruku(urzadzenie, KatalogiDanychWydruku(m_wartosci.katalogDanych));
        if (!zajety.isEmpty()) {
            m_kanal = Kanal::Zaden;
            MessageBoxes::current().error(QStringLiteral("Błąd otwarcia portu : ") + m_nazwaPliku +
                                          QStringLiteral("\rPrzyczyna: ") + zajety);
            return false;
        }
        if (!urzadzenie.isEmpty())
            m_plik = m_pliki->otworzPort(urzadzenie);
        if (!m_plik) {
            m_kanal = Kanal::Zaden;
            MessageBoxes::current().error(QStringLiteral("Błąd otwarcia portu : ") + m_nazwaPliku);
            return false;
        }
        m_kodPL = KodPLDla(m_ustawienia.DRPL);
        return true;
    }
    case 2:
    case 3: {
        // DREKSPORT is always 0, so the dialog is always preset.
        const QString nazwa = FileDialogs::current().saveFileName(
            QStringLiteral("eksport.txt"), QStringLiteral("txt"),
            QStringLiteral("Pliki tekstowe (*.txt)"));
        if (nazwa.isEmpty())
            return false;
        m_nazwaPliku = nazwa;
        // Never over a table, nor a text named as one among the data.
        const QString zajety =
            BladPlikuWydruku(nazwa, KatalogiDanychWydruku(m_wartosci.katalogDanych));
        if (!zajety.isEmpty()) {
            MessageBoxes::current().error(QStringLiteral("Błąd otwarcia pliku : ") + nazwa +
                                          QStringLiteral("\rPrzyczyna: ") + zajety);
            return false;
        }
        m_plik = m_pliki->otworzPlik(nazwa);
        if (!m_plik) {
            MessageBoxes::current().error(QStringLiteral("Błąd otwarcia pliku : ") + nazwa);
            return false;
        }
        m_kanal = m_ustawienia.DRTYP == 2 ? Kanal::Eksport : Kanal::BezWycinania;
        m_kodPL = KodPLDla(m_ustawienia.DRPL);
        return true;
    }
    default:
        MessageBoxes::current().error(
            QStringLiteral("Nie wybrano rodzaju wydruku.\rWybierz w oknie wydruku drukarkę "
                           "Windows, port DOS albo eksport do pliku."));
        return false;
    }
}

void Wydruk::KoniecWydruku()
{
    // A file put in place whose directory could not be synced is whole, but its name may not
    // survive a power cut: the user hears of it.
    DurabilityWatch trwalosc;
    [&] {
        switch (m_kanal) {
        case Kanal::Zaden:
            return;
        case Kanal::Windows:
            if (DrukujLogo)
                m_drukarka.rysujLogo(120, 60);
            m_kanal = Kanal::Zaden;
            if (!m_drukarka.zakoncz()) {
                przerwij(m_drukarka.blad());
                return;
            }
            if (m_obciete > 0 && !m_obciecieZapowiedziane)
                MessageBoxes::current().warning(
                    QStringLiteral("Wydruk jest szerszy niż strona: obcięto %1 (ich prawa część "
                                   "nie została wydrukowana).")
                        .arg(Liczebnik(m_obciete, liczebniki::wiersz)));
            return;
        case Kanal::DOS:
            if (m_ustawienia.DRPODZIAL)
                zapisz(kKoniecStrony);
            if (m_przerwany)
                return;
            // A device reports nothing useful on closing; a file standing in for the port takes the
            // place of an earlier one only now, and one that does not land is no print at all.
            if (!m_plik->zamknij()) {
                przerwij(QStringLiteral("Błąd zapisu do portu : ") + m_nazwaPliku);
                return;
            }
            break;
        case Kanal::Eksport:
        case Kanal::BezWycinania:
            // The file takes the place of an earlier one only now; one that does not land is no
            // export at all.
            if (!m_plik->zamknij()) {
                przerwij(QStringLiteral("Błąd zapisu do pliku : ") + m_nazwaPliku);
                return;
            }
            break;
        }
        m_plik.reset();
        m_kanal = Kanal::Zaden;
    }();
    const QStringList ostrzezenia = trwalosc.takeWarnings();
    if (!ostrzezenia.isEmpty() && !m_przerwany)
        MessageBoxes::current().warning(QStringLiteral("Uwaga: ") +
                                        ostrzezenia.join(QStringLiteral("\rUwaga: ")));
}

void Wydruk::doKanalu(const QString &linia)
{
    switch (m_kanal) {
    case Kanal::Zaden:
        break;
    case Kanal::Windows:
        WierszWindows(linia);
        break;
    case Kanal::DOS:
        WierszDOS(linia);
        break;
    case Kanal::Eksport:
        WierszEksport(linia);
        break;
    case Kanal::BezWycinania:
        WierszBezWycinania(linia);
        break;
    }
}

void Wydruk::WierszWindows(const QString &linia)
{
    if (linia.startsWith(QLatin1StringView("&W"))) {
        if (DrukujLogo)
            m_drukarka.rysujLogo(120, 60);
        if (!m_drukarka.nowaStrona()) {
            przerwij(m_drukarka.blad());
            return;
        }
        ++m_nrStrony;
        m_pozycjaY = 0;
        return;
    }
    // The test allows 50 units whatever the size of the line to come.
    if (!m_gora && m_pozycjaY + 50 > m_wysokoscStrony) {
        if (m_ustawienia.DRPODZIAL) {
            NowaStronaWindows();
        } else if (m_drukarka.nowaStrona()) {
            ++m_nrStrony;
            m_pozycjaY = 0;
        } else {
            przerwij(m_drukarka.blad());
        }
        if (m_przerwany)
            return;
    }
    QString tekst = linia;
    m_rozmiarCzcionki = quint8(rozmiarZKodow(tekst, m_rozmiarCzcionki));
    switch (m_ustawienia.DRRODZAJ) {
    case 1:
        m_rozmiarCzcionki = 8;
        break;
    case 2:
        m_rozmiarCzcionki = 12;
        break;
    case 3:
        m_rozmiarCzcionki = 16;
        break;
    default:
        break;
    }
    m_drukarka.ustawRozmiar(m_rozmiarCzcionki);
    // The vertical resolution scales both axes; DRLEWY counts fifteenths of an inch.
    const int x = int(std::trunc(m_ustawienia.DRLEWY * 20 * m_skala));
    // A line the page could not be fitted to (report code that prints unbuffered does not say
    // how wide its lines are) is counted, so that the user learns of it.
    if (m_znakNaPunkt > 0 && m_szerokoscStronyWPikselach > 0 &&
        x + tekst.size() * m_znakNaPunkt * m_rozmiarCzcionki * m_skalaPisma >
            m_szerokoscStronyWPikselach + 0.5)
        ++m_obciete;
    m_drukarka.rysujTekst(x, int(std::trunc(m_pozycjaY * m_skala)), tekst);
    m_pozycjaY += wysokoscWiersza(m_rozmiarCzcionki);
}

void Wydruk::WierszDOS(const QString &linia)
{
    if (linia.startsWith(QLatin1StringView("&W"))) {
        zapisz(kKoniecStrony);
        ++m_nrStrony;
        m_nrWiersza = 0;
        return;
    }
    if (!m_gora && m_ustawienia.DRPODZIAL && m_nrWiersza > m_ustawienia.DRLINIDOS) {
        NowaStronaDOS();
        if (m_przerwany)
            return;
    }
    QStringView tekst = linia;
    if (zdejmijKod(tekst, u"&G"))
        m_kodGestosci = kZageszczony;
    if (zdejmijKod(tekst, u"&N"))
        m_kodGestosci = kNormalny;
    if (zdejmijKod(tekst, u"&R"))
        m_kodGestosci = kRozstrzelony;
    switch (m_ustawienia.DRRODZAJ) {
    case 1:
        m_kodGestosci = kZageszczony;
        break;
    case 2:
        m_kodGestosci = kNormalny;
        break;
    case 3:
        m_kodGestosci = kRozstrzelony;
        break;
    default:
        break;
    }
    ++m_nrWiersza;
    // The margin is always printed at normal width.
    m_wiersz = kNormalny;
    m_wiersz.append(m_ustawienia.DRLEWY & 0xFF, ' ');
    m_wiersz += m_kodGestosci;
    dopiszBajty(tekst, m_wiersz);
    m_wiersz += kKoniecWiersza;
    zapisz(m_wiersz);
}

void Wydruk::WierszEksport(const QString &linia)
{
    // The page header of a job is no part of its data.
    QStringView tekst = m_naglowek && m_nrWiersza < 2 ? QStringView() : QStringView(linia);
    for (const char16_t *kod : {u"&G", u"&N", u"&R", u"&W"}) {
        if (zdejmijKod(tekst, kod))
            break;
    }
    m_wiersz.resize(0);
    dopiszBajty(tekst, m_wiersz);
    const QByteArray &wynik = m_wiersz;
    // Empty and one-character lines, the rules and separators of tables and marked lines are
    // left out.
    if (wynik.size() >= 2 && !((wynik[1] == '-' || wynik[1] == '=') && jestRamka(wynik)) &&
        !wynik.startsWith(">QV<")) {
        m_wiersz += kKoniecWiersza;
        zapisz(m_wiersz);
    }
    ++m_nrWiersza;
}

void Wydruk::WierszBezWycinania(const QString &linia)
{
    QStringView tekst = m_naglowek && m_nrWiersza < 2 ? QStringView() : QStringView(linia);
    m_wiersz.resize(0);
    if (zdejmijKod(tekst, u"&W")) {
        m_wiersz += '\x0C';
    } else {
        for (const char16_t *kod : {u"&G", u"&N", u"&R"}) {
            if (zdejmijKod(tekst, kod))
                break;
        }
    }
    dopiszBajty(tekst, m_wiersz);
    m_wiersz += kKoniecWiersza;
    zapisz(m_wiersz);
}

// Appends the text's Windows-1250 bytes with their Polish letters recoded for the channel.
void Wydruk::dopiszBajty(QStringView tekst, QByteArray &cel) const
{
    const qsizetype od = cel.size();
    // The channel recodes from Windows-1250, whose Polish letters all lie outside ASCII.
    if (dopiszWindows1250(tekst, cel) && m_ustawienia.DRPL != 3)
        KonwertujPLWMiejscu(cel.data() + od, cel.data() + cel.size(), m_kodPL);
}

void Wydruk::zapisz(const QByteArray &dane)
{
    if (m_przerwany || !m_plik)
        return;
    if (m_plik->zapisz(dane))
        return;
    przerwij((m_kanal == Kanal::DOS ? QStringLiteral("Błąd zapisu do portu : ")
                                    : QStringLiteral("Błąd zapisu do pliku : ")) +
             m_nazwaPliku);
}

void Wydruk::przerwij(const QString &komunikat)
{
    if (m_kanal == Kanal::Windows)
        m_drukarka.przerwij();
    // A text file dropped unclosed leaves the earlier file of its name whole.
    m_plik.reset();
    m_kanal = Kanal::Zaden;
    m_przerwany = true;
    m_postep.Stop();
    if (!komunikat.isEmpty())
        MessageBoxes::current().error(komunikat);
}

} // namespace rawen
