#include "platform/QtProcesses.h"

#include "platform/FileNames.h"

#include <QFileInfo>
#include <QProcess>

namespace rawen {

Processes::Result QtProcesses::startDetached(const QString &program, const QStringList &arguments)
{
    const QString file = resolveCaseInsensitive(program);
    if (!QFileInfo(file).isFile())
        return Result::FileNotFound;
    return QProcess::startDetached(file, arguments) ? Result::Started : Result::Failed;
}

} // namespace rawen
