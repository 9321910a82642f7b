#pragma once
// The keys that opened a container in this run, newest first. Only a handful are kept, so a user
// who works through many containers is not slowed by trying every key ever typed.
#include <cstddef>
#include <deque>

#include "container/ContainerKey.h"

namespace mirado {

class RememberedKeys {
public:
    static constexpr std::size_t kCapacity = 6;

    RememberedKeys() = default;
    // The keys are wiped from memory with the list.
    ~RememberedKeys();
    RememberedKeys(const RememberedKeys&) = delete;
    RememberedKeys& operator=(const RememberedKeys&) = delete;

    // Puts the key at the front; the oldest goes when the list is full.
    void remember(const ContainerKey& key);
    std::size_t size() const { return keys_.size(); }
    bool empty() const { return keys_.empty(); }
    // Newest first.
    const ContainerKey& operator[](std::size_t index) const { return keys_[index]; }
    auto begin() const { return keys_.begin(); }
    auto end() const { return keys_.end(); }

private:
    std::deque<ContainerKey> keys_;
};

}  // namespace mirado
