#pragma once
// Copies of a sealed (age v1) container with one byte changed where a test wants the damage: in the
// header's MAC, or inside one payload chunk.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "TempDir.h"

namespace mirado::testing {

// Where the header's MAC line "--- <MAC>" begins its MAC, and where the header ends.
inline std::pair<std::size_t, std::size_t> sealedHeaderMac(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kMacLine[] = "\n--- ";
    const auto mac = std::search(bytes.begin(), bytes.end(), kMacLine, kMacLine + 5);
    if (mac == bytes.end()) std::abort();
    const auto end = std::find(mac + 1, bytes.end(), '\n');
    if (end == bytes.end()) std::abort();
    return {std::size_t(mac - bytes.begin()) + 5, std::size_t(end - bytes.begin()) + 1};
}

inline std::filesystem::path writeDamaged(const std::filesystem::path& container, std::vector<std::uint8_t> bytes,
                                          std::size_t at, const std::string& tag) {
    if (at >= bytes.size()) std::abort();
    // A letter of the MAC's base64 stays a letter, so the header still parses.
    bytes[at] = bytes[at] == 'A' ? 'B' : (bytes[at] >= 'A' && bytes[at] <= 'Z') ? 'A' : std::uint8_t(bytes[at] ^ 0x40);
    const auto copy = container.parent_path() / (tag + "-" + container.filename().string());
    writeFile(copy, bytes);
    return copy;
}

// One byte changed inside payload chunk `chunk`. The payload's 16-byte nonce follows the header, then
// chunks of 64 KiB and a 16-byte tag each; the container's preamble comes first in chunk 0.
inline std::filesystem::path damagedChunkCopy(const std::filesystem::path& container, std::uint64_t chunk) {
    std::vector<std::uint8_t> bytes = readFile(container);
    const std::size_t headerEnd = sealedHeaderMac(bytes).second;
    const std::size_t at = headerEnd + 16 + std::size_t(chunk) * (65536 + 16) + 1000;
    return writeDamaged(container, std::move(bytes), at, "chunk" + std::to_string(chunk));
}

// The header's MAC changed: the password still unwraps the file key, but the header fails its check.
inline std::filesystem::path touchedHeaderCopy(const std::filesystem::path& container) {
    std::vector<std::uint8_t> bytes = readFile(container);
    const std::size_t mac = sealedHeaderMac(bytes).first;
    return writeDamaged(container, std::move(bytes), mac + 3, "header");
}

}  // namespace mirado::testing
