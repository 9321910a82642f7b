#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace mirado::pack {

// Streaming SHA-256, so a payload of any size is hashed in constant memory.
class Sha256 {
public:
    Sha256();
    void update(const std::uint8_t* data, std::size_t length);
    std::string hexDigest();  // lower-case; ends the hash

private:
    void compress(const std::uint8_t* block);
    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingLength_ = 0;
    std::uint64_t totalLength_ = 0;
};

}  // namespace mirado::pack
