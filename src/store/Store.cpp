#include "store/Store.h"

#include "store/SqliteFolderStore.h"

namespace rawen {

namespace {

Store *&installed()
{
    static Store *store = nullptr;
    return store;
}

} // namespace

Store::~Store() = default;

Store &Store::current()
{
    static SqliteFolderStore folders;
    Store *store = installed();
    return store ? *store : folders;
}

void Store::install(Store *store)
{
    installed() = store;
}

} // namespace rawen
