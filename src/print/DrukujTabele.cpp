// Table printing: a grid's records as a ruled text table, printed as one job of the engine.

#include "format/Formatowanie.h"
#include "format/Liczebniki.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"
#include "print/Siatka.h"
#include "print/Wydruk.h"

#include <QScopeGuard>

#include <climits>
#include <exception>

namespace rawen {

namespace {

constexpr int kNajwiecejKolumn = 50;
constexpr int kMiejscaNaglowkow = 11;
const QString kRazem = QStringLiteral("RAZEM :");

// Columns are kept in one byte: at most 255 characters wide.
int szerokoscDruku(int piksele)
{
    return qBound(0, piksele / 6, 255);
}

// Appends a cell of exactly `w` characters: the text placed as `wyrownanie` says (spaces before
// it up to w when right-aligned, half of them when centred and shorter than w), then cut to w or
// filled with spaces. A line break or another control character in a value would break the
// table's line in two, so it prints as a space.
void dopiszKomorke(QString &linia, QStringView tekst, int w, int wyrownanie)
{
    const qsizetype dlugosc = tekst.size();
    qsizetype przed = 0;
    if (dlugosc < w) {
        if (wyrownanie == KolumnaSiatki::DoPrawej)
            przed = w - dlugosc;
        else if (wyrownanie == KolumnaSiatki::DoSrodka)
            przed = (w - dlugosc) / 2;
    }
    const qsizetype ile = qMin<qsizetype>(dlugosc, w - przed);
    const qsizetype poczatek = linia.size();
    linia.resize(poczatek + w, u' ');
    QChar *cel = linia.data() + poczatek + przed;
    const QChar *zrodlo = tekst.data();
    for (qsizetype i = 0; i < ile; ++i)
        cel[i] = zrodlo[i].unicode() < 0x20 ? QChar(u' ') : zrodlo[i];
}

// A title or group caption centred in `w` characters: when w exceeds its length by 2 or more,
// half the difference in spaces goes before it; then it is cut or filled to w.
void dopiszWysrodkowany(QString &linia, const QString &tekst, int w)
{
    dopiszKomorke(linia, tekst, w, KolumnaSiatki::DoSrodka);
}

QString tekstBledu(const std::exception &blad)
{
    if (const auto *silnika = dynamic_cast<const EngineError *>(&blad))
        return silnika->message();
    return QString::fromUtf8(blad.what());
}

} // namespace

struct Wydruk::KolumnaDruku
{
    int pole = -1; // in the data set
    int w = 0;
    int wyrownanie = KolumnaSiatki::DoLewej;
    bool sumowana = false;
    double suma = 0;
    QString nazwaPola;
    QString tytul;
    QString grupa;
};

bool Wydruk::kolumnyDruku(Siatka &siatka, bool rozszerzona, std::vector<KolumnaDruku> &kolumny)
{
    ZbiorDanych &zbior = siatka.zbiorDanych();
    const QList<KolumnaSiatki> wszystkie = siatka.kolumny();
    const qsizetype ile =
        rozszerzona ? wszystkie.size() : qMin<qsizetype>(wszystkie.size(), kNajwiecejKolumn);
    for (qsizetype i = 0; i < ile; ++i) {
        const KolumnaSiatki &kolumna = wszystkie[i];
        KolumnaDruku druk;
        druk.w = szerokoscDruku(kolumna.szerokosc);
        druk.nazwaPola = kolumna.pole;
        druk.tytul = kolumna.tytul;
        if (rozszerzona) {
            if (!kolumna.widoczna || druk.w <= 0 || kolumna.pole.isEmpty())
                continue;
            druk.wyrownanie = kolumna.wyrownanie;
            druk.grupa = kolumna.grupa;
        }
        // A column not shown prints as an empty cell; its field is never read.
        if (druk.w > 0) {
            druk.pole = zbior.indeksPola(kolumna.pole);
            if (druk.pole < 0) {
                MessageBoxes::current().error(
                    (kolumna.pole.isEmpty()
                         ? QStringLiteral("Kolumna „%1” nie wskazuje pola danych.")
                               .arg(kolumna.tytul)
                         : QStringLiteral("Kolumna „%1” wskazuje pole %2, którego dane nie mają.")
                               .arg(kolumna.tytul, kolumna.pole)) +
                    QStringLiteral("\rTabela nie została wydrukowana."));
                return false;
            }
        }
        kolumny.push_back(druk);
    }
    return true;
}

bool Wydruk::DrukujTabele(Siatka &siatka, const QString &tytul, const QString &, qint32)
{
    ZbiorDanych &zbior = siatka.zbiorDanych();
    const qint64 rekordy = zbior.liczbaRekordow();
    if (rekordy <= 0)
        return true;
    std::vector<KolumnaDruku> kolumny;
    if (!kolumnyDruku(siatka, false, kolumny)) {
        m_przerwany = true;
        return false;
    }

    zbior.wylaczKontrolki();
    auto wlacz = qScopeGuard([&] { zbior.wlaczKontrolki(); });
    QString regula = QStringLiteral("=");
    QString tytuly = QStringLiteral("|");
    QString oddzielenie = QStringLiteral("|");
    for (std::size_t i = 0; i < kolumny.size(); ++i) {
        const int w = kolumny[i].w;
        regula += QString(w + 1, u'=');
        dopiszKomorke(tytuly, kolumny[i].tytul, w, KolumnaSiatki::DoLewej);
        tytuly += u'|';
        oddzielenie += QString(w, u'-') + u'|';
    }

    // Every line of the table is as wide as its rule: the printer's page is fitted to it.
    m_zapowiedzianaSzerokosc = int(regula.size());
    NowyWydruk(tytul, false, qint32(qMin<qint64>(rekordy, INT_MAX)), 3, true);
    WierszeNaglowka[1] = regula;
    WierszeNaglowka[2] = tytuly;
    WierszeNaglowka[3] = oddzielenie;
    for (int i = 1; i <= 3; ++i)
        DrukujWiersz(WierszeNaglowka[i]);
    if (!drukujWiersze(siatka, kolumny, {}, false))
        return false;
    DrukujWiersz(regula);
    wlacz.dismiss();
    zbior.wlaczKontrolki();
    ZakonczWydruk(true);
    return !m_przerwany;
}

bool Wydruk::DrukujTabeleX(Siatka &siatka, const QString &tytul, const QString &sumy,
                           qint32 ileNaglowkow)
{
    ZbiorDanych &zbior = siatka.zbiorDanych();
    const qint64 rekordy = zbior.liczbaRekordow();
    if (rekordy <= 0)
        return true;
    QString lista = sumy;
    if (!lista.isEmpty() && !lista.endsWith(u';'))
        lista += u';';
    const bool numeracja = lista.startsWith(QLatin1StringView("LP"));

    std::vector<KolumnaDruku> kolumny;
    if (!kolumnyDruku(siatka, true, kolumny)) {
        m_przerwany = true;
        return false;
    }
    bool wierszGrup = false;
    for (const KolumnaDruku &kolumna : kolumny)
        wierszGrup = wierszGrup || !kolumna.grupa.isEmpty();

    const int naglowki = ileNaglowkow & 0xFF;
    const int wierszeTabeli = wierszGrup ? 4 : 3;
    if (naglowki + wierszeTabeli > kMiejscaNaglowkow) {
        MessageBoxes::current().error(
            QStringLiteral("Tabela z wierszem grup przyjmuje najwyżej %1 nagłówka, bez "
                           "niego %2, a podano %3.\rTabela nie została wydrukowana.")
                .arg(Liczebnik(kMiejscaNaglowkow - 4, liczebniki::wiersz))
                .arg(kMiejscaNaglowkow - 3)
                .arg(naglowki));
        m_przerwany = true;
        return false;
    }

    zbior.wylaczKontrolki();
    auto wlacz = qScopeGuard([&] { zbior.wlaczKontrolki(); });
    QString regula = numeracja ? QStringLiteral("======") : QStringLiteral("=");
    QString tytuly = numeracja ? QStringLiteral("| LP |") : QStringLiteral("|");
    QString oddzielenie = numeracja ? QStringLiteral("|----|") : QStringLiteral("|");
    QString wierszGrupy = numeracja ? QStringLiteral("|    |") : QStringLiteral("|");
    QString grupa;
    int rozpietosc = 0;
    auto zamknijGrupe = [&] {
        if (grupa.isEmpty())
            return;
        dopiszWysrodkowany(wierszGrupy, grupa, rozpietosc - 1);
        wierszGrupy += u'|';
    };
    for (std::size_t i = 0; i < kolumny.size(); ++i) {
        const int w = kolumny[i].w;
        regula += QString(w + 1, u'=');
        dopiszWysrodkowany(tytuly, kolumny[i].tytul, w);
        tytuly += u'|';
        oddzielenie += QString(w, u'-') + u'|';
        const QString &swoja = kolumny[i].grupa;
        if (swoja != grupa) {
            zamknijGrupe();
            grupa = swoja;
            rozpietosc = 0;
        }
        if (swoja.isEmpty())
            wierszGrupy += QString(w, u' ') + u'|';
        else
            rozpietosc += w + 1;
    }
    zamknijGrupe();

    bool sumowanie = false;
    for (const QString &pole : lista.split(u';')) {
        for (KolumnaDruku &kolumna : kolumny) {
            if (!pole.isEmpty() && kolumna.nazwaPola == pole) {
                kolumna.sumowana = true;
                sumowanie = true;
            }
        }
    }

    const QList<qint64> zaznaczone = siatka.zaznaczoneWiersze();
    const qint64 wiersze = zaznaczone.isEmpty() ? rekordy : zaznaczone.size();
    // Every line of the table is as wide as its rule: the printer's page is fitted to it.
    m_zapowiedzianaSzerokosc = int(regula.size());
    NowyWydruk(tytul, false, qint32(qMin<qint64>(wiersze, INT_MAX)),
               quint8(naglowki + wierszeTabeli), true);
    for (int i = 1; i <= naglowki; ++i)
        DrukujWiersz(WierszeNaglowka[i]);
    int slot = naglowki;
    WierszeNaglowka[++slot] = regula;
    if (wierszGrup)
        WierszeNaglowka[++slot] = wierszGrupy;
    WierszeNaglowka[++slot] = tytuly;
    WierszeNaglowka[++slot] = oddzielenie;
    for (int i = naglowki + 1; i <= slot; ++i)
        DrukujWiersz(WierszeNaglowka[i]);

    if (!drukujWiersze(siatka, kolumny, zaznaczone, numeracja))
        return false;
    DrukujWiersz(regula);
    wlacz.dismiss();
    zbior.wlaczKontrolki();

    if (sumowanie) {
        QString razem = numeracja ? QStringLiteral("|    |") : QStringLiteral("|");
        bool etykieta = false;
        for (const KolumnaDruku &kolumna : kolumny) {
            if (kolumna.sumowana) {
                dopiszKomorke(
                    razem,
                    UsunSpacje(FormatujLiczbe(QStringLiteral("##########9.99"), kolumna.suma)),
                    kolumna.w, kolumna.wyrownanie);
            } else if (!etykieta && kolumna.w >= kRazem.size()) {
                dopiszKomorke(razem, kRazem, kolumna.w, KolumnaSiatki::DoLewej);
                etykieta = true;
            } else {
                razem += QString(kolumna.w, u' ');
            }
            razem += u'|';
        }
        DrukujWiersz(razem);
        DrukujWiersz(regula);
    }
    ZakonczWydruk(true);
    return !m_przerwany;
}

bool Wydruk::drukujWiersze(Siatka &siatka, std::vector<KolumnaDruku> &kolumny,
                           const QList<qint64> &zakladki, bool numeracja)
{
    ZbiorDanych &zbior = siatka.zbiorDanych();
    // One line, filled anew for each record: a channel that writes it at once leaves it to be
    // filled again without a new allocation.
    QString linia;
    qint64 numer = 0;
    auto wiersz = [&] {
        PostepWydruku();
        linia.resize(0);
        linia += u'|';
        if (numeracja) {
            linia += FormatujLiczbe(QStringLiteral("####"), double(++numer));
            linia += u'|';
        }
        for (KolumnaDruku &kolumna : kolumny) {
            if (kolumna.w > 0)
                dopiszKomorke(linia, zbior.tekstPola(kolumna.pole), kolumna.w, kolumna.wyrownanie);
            linia += u'|';
            double liczba = 0;
            if (kolumna.sumowana && zbior.liczbaPola(kolumna.pole, liczba))
                kolumna.suma += liczba;
        }
        DrukujWiersz(linia);
    };
    // A record gone or a table that fails under the walk ends the job: what was printed of it is
    // no table.
    try {
        if (zakladki.isEmpty()) {
            for (zbior.pierwszy(); !zbior.koniec() && !m_przerwany; zbior.nastepny())
                wiersz();
        } else {
            for (qsizetype i = 0; i < zakladki.size() && !m_przerwany; ++i) {
                zbior.przejdzDo(zakladki[i]);
                wiersz();
            }
        }
    } catch (const std::exception &blad) {
        przerwij(tekstBledu(blad) + QStringLiteral("\rWydruk tabeli przerwany."));
    }
    if (!m_przerwany)
        return true;
    // The job is not ended: a buffer with part of a table is neither shown nor printed.
    DrukujOdRazu = false;
    DrukujLogo = false;
    return false;
}

} // namespace rawen
