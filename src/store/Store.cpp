#include "store/Store.h"

#include "platform/EngineError.h"
#include "store/SqliteFolderStore.h"

#include <QFileInfo>

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
