#include "platform/FileDialogs.h"

#include <QDebug>

#include <utility>

namespace rawen {

namespace {

// Used before the program installs its dialogs and in tools without a window.
class CancelledFileDialogs final : public FileDialogs
{
public:
    QString saveFileName(const QString &fileName, const QString &, const QString &) override
    {
        qWarning().noquote() << QStringLiteral("Okno zapisu pliku %1 pominięte").arg(fileName);
        return {};
    }
};

FileDialogs *&installedDialogs()
{
    static FileDialogs *dialogs = nullptr;
    return dialogs;
}

} // namespace

FileDialogs::~FileDialogs() = default;

QString FileDialogs::existingDirectory(const QString &caption, const QString &)
{
    qWarning().noquote() << QStringLiteral("Okno wyboru katalogu %1 pominięte").arg(caption);
    return {};
}

FileDialogs &FileDialogs::current()
{
    static CancelledFileDialogs cancelled;
    FileDialogs *installed = installedDialogs();
    return installed ? *installed : cancelled;
}

FileDialogs *FileDialogs::install(FileDialogs *dialogs)
{
    return std::exchange(installedDialogs(), dialogs);
}

} // namespace rawen
