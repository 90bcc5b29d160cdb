#include "platform/Instalacja.h"

#include "platform/AppContext.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

// Where the installation keeps what comes with the program, relative to the executable's
// directory; set by the build from its install directories.
QString katalogInstalacji()
{
    return QDir::cleanPath(AppContext::current().executableDirectory() +
                           QStringLiteral(RAWEN_KATALOG_INSTALACJI));
}

} // namespace

namespace Instalacja {

QString katalogModulow()
{
    return QDir::toNativeSeparators(QDir(katalogInstalacji()).filePath(QStringLiteral("moduly"))) +
           QDir::separator();
}

QString programModuluDemo()
{
    const QString nazwa = QStringLiteral("rawen-modul-demo");
    const QString obok = QDir(AppContext::current().executableDirectory()).filePath(nazwa);
    if (QFileInfo(obok).isFile())
        return obok;
    return QDir(katalogInstalacji()).filePath(nazwa);
}

} // namespace Instalacja

} // namespace rawen
