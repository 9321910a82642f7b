#pragma once
// The skin archive that is current for the program, and the zips compiled into it.
#include "SkinStore.h"

#include <memory>

namespace mirado {

class SkinResources {
public:
    // The archive that "plain file" skins read from; the last one a window loaded.
    static std::shared_ptr<SkinStore> current();
    static void setCurrent(std::shared_ptr<SkinStore> store);

    // The zip compiled in by mirado_embed_skin under the given id (Qt resource
    // ":/mirado/zipres/<id>.zip"); null when there is none. Opened once, then shared.
    static std::shared_ptr<SkinStore> zipResource(int id);
    static QString zipResourcePath(int id);
};

} // namespace mirado
