#include "app/RawenApplication.h"

#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"

#include <exception>

namespace rawen {

RawenApplication::RawenApplication(int &argc, char **argv) : QApplication(argc, argv)
{}

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
