#include "SkinResources.h"

#include "ZipSkinStore.h"

#include <map>

namespace mirado {
namespace {
std::shared_ptr<SkinStore>& currentStore()
{
    static std::shared_ptr<SkinStore> store;
    return store;
}
} // namespace

std::shared_ptr<SkinStore> SkinResources::current()
{
    return currentStore();
}

void SkinResources::setCurrent(std::shared_ptr<SkinStore> store)
{
    currentStore() = std::move(store);
}

QString SkinResources::zipResourcePath(int id)
{
    return QStringLiteral(":/mirado/zipres/%1.zip").arg(id);
}

std::shared_ptr<SkinStore> SkinResources::zipResource(int id)
{
    static std::map<int, std::shared_ptr<SkinStore>> opened;
    auto it = opened.find(id);
    if (it != opened.end())
        return it->second;
    std::shared_ptr<SkinStore> store = ZipSkinStore::fromFile(zipResourcePath(id));
    if (store)
        opened.emplace(id, store);
    return store;
}

} // namespace mirado
