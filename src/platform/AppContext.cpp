#include "platform/AppContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

AppContext &currentContext()
{
    static AppContext context;
    return context;
}

} // namespace

AppContext AppContext::fromSystem()
{
    AppContext context;
    context.today = QDate::currentDate();
    context.executablePath = QCoreApplication::applicationFilePath();
    context.arguments = QCoreApplication::arguments().mid(1);
    context.currentDirectory = QDir::currentPath();
    context.homeDirectory = QDir::homePath();
    return context;
}

const AppContext &AppContext::current()
{
    return currentContext();
}

void AppContext::setCurrent(const AppContext &context)
{
    currentContext() = context;
}

QString AppContext::startDate() const
{
    return today.toString(u"yyyy.MM.dd");
}

namespace {

QString withClosingSeparator(const QString &directory)
{
    QString root = QDir::toNativeSeparators(directory);
    if (!root.endsWith(QDir::separator()))
        root += QDir::separator();
    return root;
}

} // namespace

QString AppContext::dataRoot() const
{
    if (!chosenDataRoot.isEmpty())
        return withClosingSeparator(QDir::cleanPath(QDir(chosenDataRoot).absolutePath()));
    return executableDirectory();
}

QString AppContext::executableDirectory() const
{
    return withClosingSeparator(QFileInfo(executablePath).absolutePath());
}

} // namespace rawen
