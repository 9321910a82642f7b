#pragma once
#include <array>
#include <cstdint>

namespace mirado {

// The 16 key bytes made from a password; the writer and the reader never see the password itself.
using ContainerKey = std::array<std::uint8_t, 16>;

}  // namespace mirado
