#include "app/Polecenia.h"

#include "app/RawenApplication.h"
#include "app/TPRACA.h"
#include "archive/PolecenieArchiwizuj.h"
#include "data/WartosciProgramu.h"
#include "demo/DaneDemo.h"
#include "legacy/PolecenieImportuj.h"
#include "platform/AppContext.h"
#include "platform/Konsola.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrinters.h"
#include "platform/QtTranslations.h"
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
int utworzDemo(const QString &katalog)
{
    const AppContext &kontekst = AppContext::current();
    const QString modul = QDir(QFileInfo(kontekst.executablePath).absolutePath())
                              .filePath(QStringLiteral("rawen-modul-demo"));
    {
        // A data root of SQLite files is never made on a network drive unless the user said so.
        Konsola konsola;
        const QString biezacy =
            kontekst.currentDirectory.isEmpty() ? QDir::currentPath() : kontekst.currentDirectory;
        if (!DyskDoPolecenia({QDir::cleanPath(QDir(biezacy).absoluteFilePath(katalog))}, konsola))
            return 1;
    }
    try {
        UtworzDaneDemo(katalog, kontekst.today, modul);
    } catch (const BladDanychDemo &blad) {
        std::fprintf(stderr, "%s\n", blad.message().toLocal8Bit().constData());
        return 1;
    }
    std::printf("Dane demonstracyjne utworzone w %s\n",
                QDir::toNativeSeparators(QDir(katalog).absolutePath()).toLocal8Bit().constData());
    return 0;
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

} // namespace

const QList<Polecenie> &Polecenia()
{
    static const QList<Polecenie> polecenia{
        {QStringLiteral("--demo"),
         QStringLiteral("KATALOG"),
         QStringLiteral("tworzy w pustym albo nowym KATALOGU katalog danych z danymi "
                        "demonstracyjnymi: firmy 000, 001 i 002 z latami i bazą, oraz "
                        "zastępcze programy modułów"),
         {},
         false,
         [](const QStringList &argumenty) {
             if (argumenty.size() != 1 || argumenty.first().startsWith(QLatin1String("--"))) {
                 std::fprintf(stderr, "Użycie: rawen --demo KATALOG\n");
                 return 2;
             }
             return utworzDemo(argumenty.first());
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

QString OpisPolecen()
{
    QStringList linie{QStringLiteral("Użycie:"),
                      QStringLiteral("  %1 [rok RRRR]").arg(nazwaProgramu()),
                      QStringLiteral("      uruchamia program; katalogiem danych jest katalog "
                                     "programu, tabele czyta z bieżącego katalogu")};
    for (const Polecenie &polecenie : Polecenia()) {
        linie << QStringLiteral("  %1 %2 %3")
                     .arg(nazwaProgramu(), polecenie.nazwa, polecenie.skladnia);
        linie << QStringLiteral("      ") + polecenie.opis;
    }
    linie << QStringLiteral("  %1 --help").arg(nazwaProgramu())
          << QStringLiteral("      ten opis; POLECENIE --help opisuje jedno polecenie");
    linie << QStringLiteral("  %1 ... %2").arg(nazwaProgramu(), OpcjaMimoDyskuSieciowego())
          << QStringLiteral("      z programem albo z każdym poleceniem: pracuje na katalogu "
                            "danych na dysku sieciowym (SMB/CIFS, NFS), z ostrzeżeniem; bez niej "
                            "taki katalog jest odrzucany, bo blokady tabel nie działają tam "
                            "pewnie");
    linie << QString()
          << QStringLiteral("Kod wyjścia poleceń: 0 - wykonane, 1 - coś się nie udało, "
                            "2 - błędne wywołanie.");
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
    const QString nazwa = QString::fromLocal8Bit(argv[1]);
    if (nazwa == QLatin1String("--help")) {
        std::printf("%s\n", OpisPolecen().toLocal8Bit().constData());
        return 0;
    }
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
    if (argc >= 3 && qstrcmp(argv[2], "--help") == 0) {
        std::printf("Użycie: rawen %s %s\n  %s\n", qPrintable(wybrane->nazwa),
                    qPrintable(wybrane->skladnia), qPrintable(wybrane->opis));
        return 0;
    }
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
    AppContext::setCurrent(kontekst);
    return wybrane->wykonaj(AppContext::current().arguments.mid(1));
}

} // namespace rawen
