#include "app/Program.h"
#include "app/RawenApplication.h"
#include "platform/AppContext.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrinters.h"
#include "shell/TRAWENF.h"

int main(int argc, char *argv[])
{
    rawen::RawenApplication application(argc, argv);
    rawen::AppContext::setCurrent(rawen::AppContext::fromSystem());
    rawen::QtMessageBoxes boxes;
    rawen::MessageBoxes::install(&boxes);
    rawen::QtPrinters drukarki;

    int result = 0;
    {
        rawen::Program program(drukarki);
        if (program.start()) {
            // The loop shows the main window first; closing it ends the loop and the program.
            program.RAWENF->show();
            result = application.exec();
        }
    }
    rawen::MessageBoxes::install(nullptr);
    return result;
}
