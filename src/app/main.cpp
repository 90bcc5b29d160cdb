#include "app/Program.h"
#include "app/RawenApplication.h"
#include "demo/DaneDemo.h"
#include "platform/AppContext.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrinters.h"
#include "platform/QtProcesses.h"
#include "shell/TRAWENF.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

} // namespace

int main(int argc, char *argv[])
{
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

    rawen::QtMessageBoxes boxes;
    rawen::MessageBoxes::install(&boxes);
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
    rawen::MessageBoxes::install(nullptr);
    return result;
}
