#include "RememberedKeys.h"

#include "container/SecretMemory.h"

namespace mirado {

RememberedKeys::~RememberedKeys() {
    for (ContainerKey& key : keys_) wipe(key.data(), key.size());
}

void RememberedKeys::remember(const ContainerKey& key) {
    if (keys_.size() >= kCapacity) {
        wipe(keys_.back().data(), keys_.back().size());
        keys_.pop_back();
    }
    keys_.push_front(key);
}

}  // namespace mirado
