#include "app/Program.h"
#include "app/RawenApplication.h"
#include "app/TPRACA.h"
#include "data/WartosciProgramu.h"
#include "demo/DaneDemo.h"
#include "platform/AppContext.h"
#include "platform/FaultPoint.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrinters.h"
#include "platform/QtProcesses.h"
#include "print/TDRUK.h"
#include "print/Wydruk.h"
#include "print/WydrukDemonstracyjny.h"
#include "shell/TRAWENF.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

// rawen --demo DIR: a data root with demonstration data in DIR, for trying the program out.
int utworzDemo(const QString &katalog)
{
    const rawen::AppContext &kontekst = rawen::AppContext::current();
    const QString modul = QDir(QFileInfo(kontekst.executablePath).absolutePath())
                              .filePath(QStringLiteral("rawen-modul-demo"));
    try {
        rawen::UtworzDaneDemo(katalog, kontekst.today, modul);
    } catch (const rawen::BladDanychDemo &blad) {
        std::fprintf(stderr, "%s\n", blad.message().toLocal8Bit().constData());
        return 1;
    }
    std::printf("Dane demonstracyjne utworzone w %s\n",
                QDir::toNativeSeparators(QDir(katalog).absolutePath()).toLocal8Bit().constData());
    return 0;
}

// The save dialog answered with one file, for a demonstration print that runs by itself.
class JedenPlik final : public rawen::FileDialogs
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
int demoWydruku(rawen::RawenApplication &application, const QStringList &argumenty)
{
    rawen::QtMessageBoxes boxes;
    rawen::MessageBoxes::install(&boxes);
    rawen::QtFileDialogs dialogs;
    std::unique_ptr<JedenPlik> plik;
    if (argumenty.size() >= 2)
        plik = std::make_unique<JedenPlik>(argumenty.at(1));
    rawen::FileDialogs::install(plik ? static_cast<rawen::FileDialogs *>(plik.get()) : &dialogs);

    rawen::WartosciProgramu wartosci;
    wartosci.tytul = QStringLiteral("RAWEN 2.0");
    wartosci.ustawDateStartu(rawen::AppContext::current());
    wartosci.uzytkownik = QStringLiteral("Biuro Rachunkowe Demonstracja");
    rawen::QtPrinters drukarki;
    drukarki.select(rawen::QtPrinters::pdfPrinterName());
    rawen::TPRACA praca;
    rawen::TDRUK druk(drukarki, praca, wartosci);
    // For this run only: the Windows channel, buffered, so that the window shows the report.
    druk.ustawienia().DRTYP = 0;
    druk.ustawienia().DRBUFOR = false;
    rawen::WydrukDemonstracyjny(druk.wydruk());
    if (plik)
        QTimer::singleShot(0, &druk, &rawen::TDRUK::KDRUKClick);
    const int wynik = application.exec();
    rawen::FileDialogs::install(nullptr);
    rawen::MessageBoxes::install(nullptr);
    return wynik;
}

} // namespace

int main(int argc, char *argv[])
{
    // The crash harness runs the program with a fault armed at one step of its writes.
    if (!rawen::FaultPoint::armFromEnvironment()) {
        std::fprintf(stderr, "Nieprawidłowa wartość zmiennej RAWEN_FAULT: %s (oczekiwano "
                             "kill:N, eio:N albo enospc:N)\n",
                     qgetenv("RAWEN_FAULT").constData());
        return 2;
    }
    // Making demo data needs no window, so it works without a display too.
    if (argc >= 2 && std::strcmp(argv[1], "--demo") == 0) {
        QCoreApplication application(argc, argv);
        rawen::AppContext::setCurrent(rawen::AppContext::fromSystem());
        const QStringList argumenty = rawen::AppContext::current().arguments;
        if (argumenty.size() != 2) {
            std::fprintf(stderr, "Użycie: rawen --demo KATALOG\n");
            return 2;
        }
        return utworzDemo(argumenty.at(1));
    }

    rawen::RawenApplication application(argc, argv);
    rawen::AppContext::setCurrent(rawen::AppContext::fromSystem());
    if (argc >= 2 && std::strcmp(argv[1], "--demo-wydruk") == 0)
        return demoWydruku(application, rawen::AppContext::current().arguments);

    rawen::QtMessageBoxes boxes;
    rawen::MessageBoxes::install(&boxes);
    rawen::QtFileDialogs dialogs;
    rawen::FileDialogs::install(&dialogs);
    rawen::QtPrinters drukarki;
    rawen::QtProcesses procesy;
    int result = 0;
    {
        rawen::Program program(drukarki, procesy);
        if (program.start()) {
            // The loop shows the main window first; closing it ends the loop and the program.
            program.RAWENF->show();
            result = application.exec();
        }
    }
    rawen::FileDialogs::install(nullptr);
    rawen::MessageBoxes::install(nullptr);
    return result;
}
