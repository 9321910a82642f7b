#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

// Standard base64 without padding, as the age header writes it.
std::string base64Unpadded(const std::uint8_t* data, std::size_t length);

// Decodes unpadded base64 and accepts only the one canonical spelling of its bytes: no padding, no
// whitespace, no stray bits in the last character. Nothing for anything else.
std::optional<std::vector<std::uint8_t>> decodeCanonicalBase64(std::string_view text);

}  // namespace mirado
