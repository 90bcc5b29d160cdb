#include "print/PolecenieDrukuj.h"

#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/AppContext.h"
#include "platform/EngineError.h"
#include "platform/FileDialogs.h"
#include "platform/Konsola.h"
#include "platform/PostepKonsoli.h"
#include "print/DrukarkaWindows.h"
#include "print/OknoWydruku.h"
#include "print/PlikWydruku.h"
#include "print/PracaBezOkien.h"
#include "print/SiatkaTabeli.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "store/DyskSieciowy.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

const QString kOpcjaKanal = QStringLiteral("--kanal");
const QString kOpcjaPlik = QStringLiteral("--plik");
const QString kOpcjaPola = QStringLiteral("--pola");
const QString kOpcjaSumy = QStringLiteral("--sumy");
const QString kOpcjaTytul = QStringLiteral("--tytul");

// What the save dialog answers for the text channels without a file: the results go to
// standard output.
const QString kWyjscie = QStringLiteral("(standardowe wyjście)");

// The save dialog answered with the file of the command line.
class PlikPolecenia final : public FileDialogs
{
public:
    explicit PlikPolecenia(const QString &plik) : m_plik(plik), m_poprzednie(install(this)) {}
    ~PlikPolecenia() override { install(m_poprzednie); }
    QString saveFileName(const QString &, const QString &, const QString &) override
    {
        return m_plik;
    }

private:
    QString m_plik;
    FileDialogs *m_poprzednie;
};

class WyjsciePolecenia final : public PlikWydruku
{
public:
    explicit WyjsciePolecenia(Konsola &konsola) : m_konsola(konsola) {}
    bool zapisz(const QByteArray &bajty) override { return m_konsola.wynikBajty(bajty); }
    bool zamknij() override { return m_konsola.zakonczWynik(); }

private:
    Konsola &m_konsola;
};

// The text channels write standard output when no file is named. The port is the device named,
// or a file that stands in for it: a file takes the place of an earlier one of its name only
// when the print is whole, as an export does, while a device takes the bytes as they come.
class PlikiPolecenia final : public PlikiWydruku
{
public:
    explicit PlikiPolecenia(Konsola &konsola) : m_konsola(konsola) {}

    std::unique_ptr<PlikWydruku> otworzPort(const QString &urzadzenie) override
    {
        const QFileInfo opis(urzadzenie);
        if (opis.isSymLink() || (opis.exists() && !opis.isFile()))
            return PlikiWydruku::systemowe().otworzPort(urzadzenie);
        return PlikiWydruku::systemowe().otworzPlik(urzadzenie);
    }
    std::unique_ptr<PlikWydruku> otworzPlik(const QString &nazwa) override
    {
        if (nazwa == kWyjscie)
            return std::make_unique<WyjsciePolecenia>(m_konsola);
        return PlikiWydruku::systemowe().otworzPlik(nazwa);
    }

private:
    Konsola &m_konsola;
};

QString bezwzgledna(const QString &sciezka)
{
    if (sciezka.isEmpty() || QDir::isAbsolutePath(sciezka))
        return sciezka;
    QString katalog = AppContext::current().currentDirectory;
    if (katalog.isEmpty())
        katalog = QDir::currentPath();
    return QDir(katalog).absoluteFilePath(sciezka);
}

// The short name of the firm table in the current directory, as start-up takes it; empty when
// there is none to read.
QString uzytkownik()
{
    Table firma;
    firma.setTableName(QStringLiteral("FIRMA"));
    try {
        firma.open();
        const Field skrot = firma.findField(QStringLiteral("SKROT"));
        return skrot.isValid() ? skrot.asString() : QString();
    } catch (const EngineError &) {
        return {};
    }
}

int zleUzycie(Konsola &konsola, const QString &blad)
{
    konsola.komunikat(blad);
    konsola.komunikat(QStringLiteral("Użycie: rawen --drukuj ") + SkladniaPoleceniaDrukuj());
    return 2;
}

// The names of a ";" list, empty ones left out.
QStringList nazwy(const QString &lista)
{
    QStringList wynik;
    for (const QString &nazwa : lista.split(u';')) {
        if (!nazwa.trimmed().isEmpty())
            wynik << nazwa.trimmed();
    }
    return wynik;
}

const QStringList &opcjeZWartoscia()
{
    static const QStringList opcje{kOpcjaKanal, kOpcjaPlik, kOpcjaPola, kOpcjaSumy, kOpcjaTytul};
    return opcje;
}

} // namespace

bool PolecenieDrukujNaDrukarce(const QStringList &argumenty)
{
    const ArgumentyPolecenia a(argumenty, opcjeZWartoscia(), {});
    return a.poprawne() && a.wartosc(kOpcjaKanal).trimmed() == QLatin1String("0");
}

QString SkladniaPoleceniaDrukuj()
{
    return QStringLiteral("TABELA.DB [--kanal 0..3] [--plik PLIK] [--pola A;B;C] "
                          "[--sumy LP;KWOTA;...] [--tytul TEKST]");
}

QString OpisPoleceniaDrukuj()
{
    return QStringLiteral(
        "drukuje tabelę bazy jako tabelę z ramkami, bez bufora; pozostałe ustawienia (podział "
        "strony, wierszy, margines górny i lewy, polskie litery, rodzaj wydruku) są ustawieniami "
        "wydruku programu\n"
        "      --kanal 0..3  0 drukarka Windows (z PLIKIEM: drukarka \"Plik PDF\"), 1 port DOS, 2 "
        "plik tekstowy z wycinaniem, 3 plik tekstowy bez wycinania (domyślnie)\n"
        "      --plik PLIK   plik wydruku (bez niego kanały 2 i 3 piszą na standardowe wyjście); "
        "dla kanału 1 urządzenie portu albo plik w jego miejsce\n"
        "      --pola A;B;C  drukowane pola, w tej kolejności (domyślnie wszystkie poza "
        "binarnymi)\n"
        "      --sumy LP;KWOTA;...  pola sumowane pod \"RAZEM :\"; LP na początku numeruje "
        "wiersze\n"
        "      --tytul TEKST  tytuł wydruku (domyślnie nazwa tabeli)");
}

int PolecenieDrukuj(const QStringList &argumenty, Konsola &konsola,
                    const DrukarkaPolecenia &drukarka)
{
    const ArgumentyPolecenia a(argumenty, opcjeZWartoscia(), {});
    if (!a.poprawne())
        return zleUzycie(konsola, a.blad());
    if (a.pozostale().size() != 1)
        return zleUzycie(konsola, a.pozostale().isEmpty()
                                      ? QStringLiteral("Nie podano tabeli do wydruku.")
                                      : QStringLiteral("Podaj jedną tabelę do wydruku."));
    int kanal = 3;
    if (a.ma(kOpcjaKanal)) {
        bool liczba = false;
        kanal = a.wartosc(kOpcjaKanal).toInt(&liczba);
        if (!liczba || kanal < 0 || kanal > 3)
            return zleUzycie(konsola, QStringLiteral("Nieprawidłowy kanał wydruku: %1 (0 - "
                                                     "drukarka Windows, 1 - port DOS, 2 - plik "
                                                     "tekstowy z wycinaniem, 3 - plik tekstowy "
                                                     "bez wycinania).")
                                          .arg(a.wartosc(kOpcjaKanal)));
    }
    const QString plik = bezwzgledna(a.wartosc(kOpcjaPlik));
    if (a.ma(kOpcjaPlik) && plik.isEmpty())
        return zleUzycie(konsola, QStringLiteral("Opcja --plik wymaga nazwy pliku."));
    const QString nazwaTabeli = a.pozostale().first();

    // The fields named are the only ones the walk reads.
    QStringList pola = nazwy(a.wartosc(kOpcjaPola));
    Table tabela;
    tabela.setTableName(nazwaTabeli);
    tabela.setFetchedFields(pola);
    // The table's folder, and the current directory whose firm table names the user.
    const QString katalogTabeli = QFileInfo(tabela.fileName()).absolutePath();
    const QString biezacy = AppContext::current().currentDirectory.isEmpty()
                                ? QDir::currentPath()
                                : AppContext::current().currentDirectory;
    if (!DyskDoPolecenia({katalogTabeli, biezacy}, konsola))
        return 1;
    try {
        tabela.open();
    } catch (const EngineError &blad) {
        konsola.komunikat(blad.message());
        return 1;
    }
    for (QString &pole : pola) {
        const int indeks = tabela.fieldIndex(pole);
        if (indeks < 0)
            return zleUzycie(konsola, QStringLiteral("Tabela %1 nie ma pola %2.")
                                          .arg(QFileInfo(tabela.fileName()).fileName(), pole));
        pole = tabela.fieldDefs()[indeks].name;
    }
    SiatkaTabeli siatka(tabela, pola);

    // The sum list names the printed columns by their fields, as the table spells them.
    QStringList sumy;
    const QStringList sumowane = nazwy(a.wartosc(kOpcjaSumy));
    for (qsizetype i = 0; i < sumowane.size(); ++i) {
        if (i == 0 && sumowane[i].compare(QLatin1StringView("LP"), Qt::CaseInsensitive) == 0) {
            sumy << QStringLiteral("LP");
            continue;
        }
        QString znalezione;
        for (const KolumnaSiatki &kolumna : siatka.kolumny()) {
            if (kolumna.pole.compare(sumowane[i], Qt::CaseInsensitive) == 0)
                znalezione = kolumna.pole;
        }
        if (znalezione.isEmpty())
            return zleUzycie(
                konsola,
                QStringLiteral("Pole %1 z listy --sumy nie jest drukowane.").arg(sumowane[i]));
        sumy << znalezione;
    }
    const QString listaSum = sumy.isEmpty() ? QString() : sumy.join(u';') + u';';
    const QString tytul =
        a.ma(kOpcjaTytul) ? a.wartosc(kOpcjaTytul) : QFileInfo(tabela.fileName()).fileName();

    UstawieniaDruku ustawienia;
    ustawienia.Wczytaj();
    ustawienia.DRTYP = quint8(kanal);
    ustawienia.DRBUFOR = true;
    WartosciProgramu wartosci;
    wartosci.tytul = QStringLiteral("RAWEN 2.0");
    wartosci.ustawDateStartu(AppContext::current());
    wartosci.uzytkownik = uzytkownik();

    std::unique_ptr<DrukarkaWindows> windows;
    if (kanal == 0) {
        if (drukarka)
            windows = drukarka(plik);
        if (!windows) {
            konsola.komunikat(QStringLiteral("Drukarka Windows nie jest dostępna."));
            return 1;
        }
    } else {
        windows = std::make_unique<BezDrukarki>();
    }
    const bool naWyjscie = (kanal == 2 || kanal == 3) && plik.isEmpty();
    PlikPolecenia dialog(naWyjscie ? kWyjscie : plik);
    PlikiPolecenia pliki(konsola);
    BezOkna okno;
    PostepKonsoli postepKonsoli(konsola);
    BezPostepu bezPostepu;
    // A progress line between the rows on the terminal would break them up.
    OknoPostepu &postep = naWyjscie && konsola.wynikNaTerminalu()
                              ? static_cast<OknoPostepu &>(bezPostepu)
                              : postepKonsoli;

    Wydruk wydruk(ustawienia, wartosci, okno, postep, *windows);
    wydruk.ustawPliki(pliki);
    if (kanal == 1 && !plik.isEmpty())
        wydruk.ustawUrzadzeniePortu(plik);
    if (siatka.zbiorDanych().liczbaRekordow() == 0) {
        konsola.komunikat(QStringLiteral("Tabela %1 jest pusta: nie ma czego drukować.")
                              .arg(QFileInfo(tabela.fileName()).fileName()));
        return 0;
    }
    const bool wydrukowana = wydruk.DrukujTabeleX(siatka, tytul, listaSum, 0);
    if (!wydrukowana || konsola.byloOstrzezenie()) {
        // A printer that gave up without a word (a PDF file not named) still owes the user one.
        if (!konsola.byloOstrzezenie())
            konsola.komunikat(QStringLiteral("Tabela nie została wydrukowana."));
        return 1;
    }
    return 0;
}

} // namespace rawen
