#include "store/Store.h"

#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "store/SqliteFolderStore.h"

#include <QFileInfo>

#include <cerrno>
#include <limits>

namespace rawen {

namespace {

Store *&installed()
{
    static Store *store = nullptr;
    return store;
}

} // namespace

Store::~Store() = default;

Store &Store::localFiles()
{
    static SqliteFolderStore folders;
    return folders;
}

Store &Store::current()
{
    Store *store = installed();
    return store ? *store : localFiles();
}

bool Store::readDirectory(const QString &directory, QList<Entry> &entries, QString &error) const
{
    entries = list(directory);
    if (!entries.isEmpty())
        return true;
    switch (entry(directory).kind) {
    case Kind::Directory:
        return true;
    case Kind::Missing:
        error = systemErrorText(ENOENT);
        return false;
    case Kind::File:
    case Kind::Other:
        break;
    }
    error = systemErrorText(ENOTDIR);
    return false;
}

qsizetype Store::longestTablePath() const
{
    return std::numeric_limits<qsizetype>::max();
}

std::unique_ptr<WholeFileReader> Store::readWhole(const QString &path)
{
    throw EngineError(EngineError::BadState, QFileInfo(path).fileName(),
                      QStringLiteral("ten magazyn danych nie daje odczytu całego pliku"));
}

bool Store::writeIntoTable(const QString &, const QString &path, int)
{
    throw EngineError(EngineError::BadState, QFileInfo(path).fileName(),
                      QStringLiteral("ten magazyn danych nie przyjmuje tabeli z archiwum"));
}

bool Store::isOurTable(const QString &) const
{
    return true;
}

void Store::install(Store *store)
{
    installed() = store;
}

} // namespace rawen
