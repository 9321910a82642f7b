#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace mirado {

// The 16 key bytes made from a password; the writer and the reader never see the password itself.
using ContainerKey = std::array<std::uint8_t, 16>;

// Format 2's passphrase: the key's bytes up to the first zero, which for the permitted characters is
// the password itself. The caller wipes it when done.
inline std::string passphraseOf(const ContainerKey& key) {
    std::string passphrase;
    passphrase.reserve(key.size() + 1);  // one buffer, so no copy of the secret is left behind by a growth
    for (std::uint8_t byte : key) {
        if (byte == 0) break;
        passphrase.push_back(char(byte));
    }
    return passphrase;
}

}  // namespace mirado
