#include "app/Polecenia.h"

#include "app/RawenApplication.h"
#include "app/TPRACA.h"
#include "app/Uruchomienie.h"
#include "archive/PolecenieArchiwizuj.h"
#include "data/WartosciProgramu.h"
#include "demo/DaneDemo.h"
#include "install/KatalogDanych.h"
#include "legacy/PolecenieImportuj.h"
#include "platform/AppContext.h"
#include "platform/Instalacja.h"
#include "platform/Konsola.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrinters.h"
#include "platform/QtTranslations.h"
#include "platform/Ustawienia.h"
#include "print/PolecenieDrukuj.h"
#include "print/QtDrukarkaWindows.h"
#include "print/TDRUK.h"
#include "print/Wydruk.h"
#include "print/WydrukDemonstracyjny.h"
#include "store/DyskSieciowy.h"
#include "year/PolecenieOtworzRok.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

namespace rawen {

namespace {

// rawen --demo DIR: a data root with demonstration data in DIR, for trying the program out.
int utworzDemo(const QString &katalog, Konsola &konsola)
{
    const AppContext &kontekst = AppContext::current();
    {
        // A data root of SQLite files is never made on a network drive unless the user said so.
        Konsola konsola;
        const QString biezacy =
            kontekst.currentDirectory.isEmpty() ? QDir::currentPath() : kontekst.currentDirectory;
        if (!DyskDoPolecenia({QDir::cleanPath(QDir(biezacy).absoluteFilePath(katalog))}, konsola))
            return 1;
    }
    try {
        UtworzDaneDemo(katalog, kontekst.today, Instalacja::programModuluDemo());
    } catch (const BladDanychDemo &blad) {
        konsola.komunikat(blad.message());
        return konsola.zakoncz(1);
    }
    konsola.wynik(QStringLiteral("Dane demonstracyjne utworzone w %1")
                      .arg(QDir::toNativeSeparators(QDir(katalog).absolutePath())));
    return konsola.zakoncz(0);
}

// Qt's own warnings (a missing XDG_RUNTIME_DIR, a font, a platform plugin) are English and mean
// nothing to the user of a command: they are kept out of the terminal. RAWEN_QT_KOMUNIKATY=1
// lets them through for a developer.
void komunikatQt(QtMsgType typ, const QMessageLogContext &, const QString &tekst)
{
    static const bool przepuszczaj = qEnvironmentVariableIntValue("RAWEN_QT_KOMUNIKATY") != 0;
    if (przepuszczaj) {
        std::fprintf(stderr, "Qt: %s\n", tekst.toLocal8Bit().constData());
        return;
    }
    if (typ == QtFatalMsg)
        std::fprintf(stderr, "Błąd wewnętrzny biblioteki Qt: program został przerwany.\n");
}

// The save dialog answered with one file, for a demonstration print that runs by itself.
class JedenPlik final : public FileDialogs
{
public:
    explicit JedenPlik(const QString &plik) : m_plik(QFileInfo(plik).absoluteFilePath()) {}
    QString saveFileName(const QString &, const QString &, const QString &) override
    {
        return m_plik;
    }

private:
    QString m_plik;
};

// rawen --demo-wydruk [PLIK.pdf]: the print window with a demonstration report in its buffer, on
// the PDF printer, without any data. With a file name the report is also printed to that file.
int demoWydruku(const QStringList &argumenty)
{
    QtMessageBoxes boxes;
    MessageBoxes::install(&boxes);
    QtFileDialogs dialogs;
    std::unique_ptr<JedenPlik> plik;
    if (argumenty.size() > 1 || argumenty.value(0).startsWith(QLatin1String("--"))) {
        std::fprintf(stderr, "Użycie: rawen --demo-wydruk [PLIK.pdf]\n");
        return 2;
    }
    if (!argumenty.isEmpty())
        plik = std::make_unique<JedenPlik>(argumenty.first());
    FileDialogs::install(plik ? static_cast<FileDialogs *>(plik.get()) : &dialogs);

    WartosciProgramu wartosci;
    wartosci.tytul = QStringLiteral("RAWEN 2.0");
    wartosci.ustawDateStartu(AppContext::current());
    wartosci.uzytkownik = QStringLiteral("Biuro Rachunkowe Demonstracja");
    QtPrinters drukarki;
    drukarki.select(QtPrinters::pdfPrinterName());
    TPRACA praca;
    TDRUK druk(drukarki, praca, wartosci);
    // For this run only: the Windows channel, buffered, so that the window shows the report.
    druk.ustawienia().DRTYP = 0;
    druk.ustawienia().DRBUFOR = false;
    WydrukDemonstracyjny(druk.wydruk());
    if (plik)
        QTimer::singleShot(0, &druk, &TDRUK::KDRUKClick);
    const int wynik = QCoreApplication::exec();
    FileDialogs::install(nullptr);
    MessageBoxes::install(nullptr);
    return wynik;
}

// rawen --drukuj TABELA.DB ...: the command itself is core code; the program gives it the
// Windows printer, which needs the widgets.
int drukujTabele(const QStringList &argumenty)
{
    Konsola konsola;
    std::optional<QtPrinters> drukarki;
    const QImage logo;
    return PolecenieDrukuj(argumenty, konsola,
                           [&](const QString &plikPdf) -> std::unique_ptr<DrukarkaWindows> {
                               drukarki.emplace();
                               if (!plikPdf.isEmpty())
                                   drukarki->select(QtPrinters::pdfPrinterName());
                               return std::make_unique<QtDrukarkaWindows>(*drukarki, logo);
                           });
}

QString nazwaProgramu()
{
    return QStringLiteral("rawen");
}

bool bezKatalogu(const QStringList &argumenty)
{
    const ArgumentyStartu a = RozbierzArgumentyStartu(argumenty);
    return a.katalog.isEmpty() && a.blad.isEmpty();
}

// rawen --wybierz-katalog [rok RRRR]: the first-run window whatever is remembered, then the
// program on the data root chosen.
int wybierzKatalog(const QStringList &argumenty)
{
    if (!bezKatalogu(argumenty)) {
        std::fprintf(stderr, "Użycie: rawen --wybierz-katalog [rok RRRR]\n");
        return 2;
    }
    return UruchomProgram(argumenty, true);
}

} // namespace

const QList<Polecenie> &Polecenia()
{
    static const QList<Polecenie> polecenia{
        {QStringLiteral("--wybierz-katalog"), QStringLiteral("[rok RRRR]"),
         QStringLiteral("pyta o katalog danych (istniejący, nowy pusty albo z danymi "
                        "demonstracyjnymi), zapamiętuje wybór i uruchamia program na wybranym "
                        "katalogu"),
         bezKatalogu, false, wybierzKatalog},
        {QStringLiteral("--demo"),
         QStringLiteral("KATALOG"),
         QStringLiteral("tworzy w pustym albo nowym KATALOGU katalog danych z danymi "
                        "demonstracyjnymi: firmy 000, 001 i 002 z latami i bazą, oraz "
                        "zastępcze programy modułów"),
         {},
         false,
         [](const QStringList &argumenty) {
             Konsola konsola;
             if (argumenty.size() != 1 || argumenty.first().startsWith(QLatin1String("--")) ||
                 argumenty.first().trimmed().isEmpty()) {
                 if (argumenty.size() == 1 && argumenty.first().trimmed().isEmpty())
                     konsola.komunikat(QStringLiteral("Nie podano katalogu."));
                 konsola.komunikat(QStringLiteral("Użycie: rawen --demo KATALOG"));
                 return 2;
             }
             return utworzDemo(argumenty.first(), konsola);
         }},
        {QStringLiteral("--otworz-rok"),
         SkladniaOtworzRok(),
         OpisOtworzRok(),
         {},
         false,
         [](const QStringList &argumenty) {
             Konsola konsola;
             return PolecenieOtworzRok(argumenty, konsola);
         }},
        {QStringLiteral("--archiwizuj"),
         SkladniaArchiwizuj(),
         OpisArchiwizuj(),
         {},
         false,
         [](const QStringList &argumenty) {
             Konsola konsola;
             WartosciProgramu wartosci;
             wartosci.ustawDateStartu(AppContext::current());
             return PolecenieArchiwizuj(argumenty, konsola, wartosci.dataStartu);
         }},
        {QStringLiteral("--importuj"),
         SkladniaImportuj(),
         OpisImportuj(),
         {},
         false,
         [](const QStringList &argumenty) {
             Konsola konsola;
             return PolecenieImportuj(argumenty, konsola);
         }},
        {QStringLiteral("--demo-wydruk"), QStringLiteral("[PLIK.pdf]"),
         QStringLiteral("pokazuje okno wydruku z wydrukiem demonstracyjnym (bez danych); z "
                        "nazwą pliku drukuje go od razu do tego pliku PDF"),
         [](const QStringList &) { return true; }, false, demoWydruku},
        {QStringLiteral("--drukuj"), SkladniaPoleceniaDrukuj(), OpisPoleceniaDrukuj(),
         PolecenieDrukujNaDrukarce, true, drukujTabele},
    };
    return polecenia;
}

QList<WierszPomocy> WierszePomocy()
{
    QList<WierszPomocy> wiersze{
        {QStringLiteral("%1 [KATALOG] [rok RRRR]").arg(nazwaProgramu()),
         QStringLiteral("uruchamia program na katalogu danych KATALOG; bez niego na katalogu, w "
                        "którym leży program, jeśli jest on katalogiem danych, inaczej na "
                        "katalogu zapamiętanym, a przy pierwszym uruchomieniu pyta o katalog "
                        "danych; rok RRRR wybiera rok roboczy")}};
    for (const Polecenie &polecenie : Polecenia())
        wiersze.append(
            {QStringLiteral("%1 %2 %3").arg(nazwaProgramu(), polecenie.nazwa, polecenie.skladnia),
             polecenie.opis});
    wiersze.append({QStringLiteral("%1 --help").arg(nazwaProgramu()),
                    QStringLiteral("ten opis; POLECENIE --help opisuje jedno polecenie")});
    wiersze.append({QStringLiteral("%1 ... %2").arg(nazwaProgramu(), OpcjaMimoDyskuSieciowego()),
                    QStringLiteral("z programem albo z każdym poleceniem: pracuje na katalogu "
                                   "danych na dysku sieciowym (SMB/CIFS, NFS), z ostrzeżeniem; "
                                   "bez niej taki katalog jest odrzucany, bo blokady tabel nie "
                                   "działają tam pewnie")});
    return wiersze;
}

QStringList UwagiPomocy()
{
    return {QStringLiteral("Kod wyjścia poleceń: 0 - wykonane, 1 - coś się nie udało, "
                           "2 - błędne wywołanie."),
            QStringLiteral("KATALOG_GLOWNY poleceń: domyślnie katalog danych, który program "
                           "otwiera uruchomiony bez argumentów (jego własny albo zapamiętany).")};
}

QString OpisPolecen()
{
    QStringList linie{QStringLiteral("Użycie:")};
    for (const WierszPomocy &wiersz : WierszePomocy())
        linie << QStringLiteral("  ") + wiersz.wywolanie << QStringLiteral("      ") + wiersz.opis;
    linie << QString() << UwagiPomocy();
    return linie.join(u'\n');
}

bool ZdejmijOpcje(int &argc, char *argv[], const char *opcja)
{
    bool byla = false;
    int zostaje = 1;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], opcja) == 0)
            byla = true;
        else
            argv[zostaje++] = argv[i];
    }
    argc = zostaje;
    argv[argc] = nullptr;
    return byla;
}

int WykonajPolecenie(int argc, char *argv[], bool mimoDyskuSieciowego)
{
    qInstallMessageHandler(komunikatQt);
    const QString nazwa = QString::fromLocal8Bit(argv[1]);
    // A description that could not be written is no help.
    auto pomoc = [](const QString &tekst) {
        const bool zapisana =
            std::printf("%s\n", tekst.toLocal8Bit().constData()) >= 0 && std::fflush(stdout) == 0;
        if (!zapisana)
            std::fprintf(stderr, "Nie można zapisać opisu na standardowe wyjście.\n");
        return zapisana ? 0 : 1;
    };
    if (nazwa == QLatin1String("--help"))
        return pomoc(OpisPolecen());
    const Polecenie *wybrane = nullptr;
    for (const Polecenie &polecenie : Polecenia()) {
        if (polecenie.nazwa == nazwa)
            wybrane = &polecenie;
    }
    if (!wybrane) {
        std::fprintf(stderr, "Nieznane polecenie: %s\nPolecenia programu opisuje: rawen --help\n",
                     argv[1]);
        return 2;
    }
    if (argc >= 3 && qstrcmp(argv[2], "--help") == 0)
        return pomoc(QStringLiteral("Użycie: rawen %1 %2\n  %3")
                         .arg(wybrane->nazwa, wybrane->skladnia, wybrane->opis));
    QStringList argumenty;
    for (int i = 2; i < argc; ++i)
        argumenty << QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<QCoreApplication> application;
    if (wybrane->okna && wybrane->okna(argumenty)) {
        if (wybrane->bezEkranu && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<RawenApplication>(argc, argv);
    } else
        application = std::make_unique<QCoreApplication>(argc, argv);
    installQtTranslations();
    AppContext kontekst = AppContext::fromSystem();
    kontekst.networkDriveAllowed = mimoDyskuSieciowego;
    // Without KATALOG_GLOWNY a command works on the data root a start without arguments opens:
    // the program's own directory when it is one, else the one remembered.
    const KatalogStartu katalog = UstalKatalogStartu(kontekst, {}, Ustawienia().katalogDanych());
    if (katalog.zrodlo == ZrodloKatalogu::Ustawienia)
        kontekst.chosenDataRoot = katalog.katalog;
    AppContext::setCurrent(kontekst);
    return wybrane->wykonaj(AppContext::current().arguments.mid(1));
}

} // namespace rawen
