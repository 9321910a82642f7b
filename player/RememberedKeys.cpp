#include "RememberedKeys.h"

namespace mirado {

void RememberedKeys::remember(const ContainerKey& key) {
    if (keys_.size() >= kCapacity) keys_.pop_back();
    keys_.push_front(key);
}

}  // namespace mirado
