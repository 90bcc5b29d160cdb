#include "platform/AppContext.h"
#include "platform/QtMessageBoxes.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RAWEN 2.0"));

    // Today's date is taken once: it stands for "today" for the whole run.
    rawen::AppContext::setCurrent(rawen::AppContext::fromSystem());
    rawen::QtMessageBoxes boxes;
    rawen::MessageBoxes::install(&boxes);

    // The data module, the main window and the message loop are not built yet.
    rawen::MessageBoxes::install(nullptr);
    return 0;
}
