#include "app/RawenApplication.h"

#include "install/IkonaProgramu.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"

#include <exception>

namespace rawen {

RawenApplication::RawenApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setWindowIcon(IkonaOkien());
    // The desktop entry the windows belong to, for the task bar's icon and name.
    setDesktopFileName(QStringLiteral("example.rawen.rawen"));
}

bool RawenApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EngineError &error) {
        MessageBoxes::current().error(error.message());
    } catch (const std::exception &error) {
        MessageBoxes::current().error(QString::fromUtf8(error.what()));
    }
    return false;
}

} // namespace rawen
