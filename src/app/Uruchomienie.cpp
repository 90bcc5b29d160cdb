#include "app/Uruchomienie.h"

#include "app/Program.h"
#include "app/TPRACA.h"
#include "install/KatalogDanych.h"
#include "install/TKATALOGF.h"
#include "platform/AppContext.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrinters.h"
#include "platform/QtProcesses.h"
#include "platform/Ustawienia.h"
#include "shell/TRAWENF.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace rawen {

namespace {

// The data root the first-run window opened; empty when the user ended the program there.
QString zapytaj(const KatalogStartu &start, const QString &zapamietany)
{
    TKATALOGF okno(AppContext::current().homeDirectory);
    TPRACA postep;
    okno.ustawOknoPostepu(&postep);
    if (!start.uwaga.isEmpty())
        okno.ustawUwage(start.uwaga, zapamietany);
    else if (!start.katalog.isEmpty())
        okno.ustawObecny(start.katalog);
    if (okno.exec() != QDialog::Accepted)
        return QString();
    return okno.katalog();
}

int blad(const QString &tekst, int kod)
{
    std::fprintf(stderr, "%s\n", QString(tekst).replace(u'\r', u'\n').toLocal8Bit().constData());
    MessageBoxes::current().error(tekst);
    return kod;
}

} // namespace

int UruchomProgram(const QStringList &argumenty, bool wybierzKatalog)
{
    QtMessageBoxes boxes;
    MessageBoxes::install(&boxes);
    QtFileDialogs dialogs;
    FileDialogs::install(&dialogs);
    struct Sprzatanie
    {
        ~Sprzatanie()
        {
            FileDialogs::install(nullptr);
            MessageBoxes::install(nullptr);
        }
    } sprzatanie;
    QtPrinters drukarki;
    QtProcesses procesy;

    const ArgumentyStartu a = RozbierzArgumentyStartu(argumenty);
    if (!a.blad.isEmpty())
        return blad(a.blad, 2);
    const AppContext systemowy = AppContext::current();
    const QString zapamietany = Ustawienia().katalogDanych();
    KatalogStartu start = UstalKatalogStartu(systemowy, a.katalog, zapamietany);
    if (!start.blad.isEmpty())
        return blad(start.blad, 1);
    if (wybierzKatalog || start.zrodlo == ZrodloKatalogu::Wybor) {
        const QString katalog = zapytaj(start, zapamietany);
        if (katalog.isEmpty())
            return 0;
        start = {ZrodloKatalogu::Wybor, katalog, {}, {}};
    }

    for (;;) {
        // The tables are opened by bare name from the current directory, and the modules inherit
        // it: the data root, as when the program was started from there.
        if (start.zrodlo != ZrodloKatalogu::KatalogProgramu && !QDir::setCurrent(start.katalog))
            return blad(QStringLiteral("Nie można otworzyć katalogu danych %1.")
                            .arg(QDir::toNativeSeparators(start.katalog)),
                        1);
        AppContext::setCurrent(KontekstKatalogu(systemowy, start, a.dlaRoku));
        QString nowy;
        {
            Program program(drukarki, procesy);
            const bool uruchomiony = program.start();
            // An old root named by the settings was converted at start: the new one is what the
            // next start opens. Should that not be remembered, the next start finds the old root
            // converted and offers the new one again, so nothing more is said.
            const QString przeksztalcony = KatalogDoZapamietania(start, AppContext::current());
            if (!przeksztalcony.isEmpty())
                static_cast<void>(Ustawienia().zapamietajKatalogDanych(przeksztalcony));
            if (!uruchomiony)
                return 0;
            // The loop shows the main window first; closing it ends the loop and the program.
            program.RAWENF->show();
            const int wynik = QApplication::exec();
            nowy = program.RAWENF->nowyKatalog();
            if (nowy.isEmpty())
                return wynik;
        }
        start = {ZrodloKatalogu::Wybor, nowy, {}, {}};
    }
}

} // namespace rawen
