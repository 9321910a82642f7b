#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

// One recipient stanza: "-> TYPE ARG..." and its base64 body.
struct AgeStanza {
    std::vector<std::string> arguments;  // the type first
    std::vector<std::uint8_t> body;
};

// The textual header of an age v1 file, parsed strictly: anything that is not the one canonical
// spelling is refused, as the format demands.
struct AgeHeader {
    std::vector<AgeStanza> stanzas;  // at least one
    std::array<std::uint8_t, 32> mac{};
    std::size_t macInputLength = 0;  // the bytes the MAC covers: the header through "---"
    std::size_t length = 0;          // the whole header, through the MAC line's newline

    // Parses the header at the start of `bytes` (which may go on into the payload).
    static std::optional<AgeHeader> parse(std::string_view bytes);
    // The header text through "---" for these stanzas; the writer appends " MAC\n".
    static std::string encodeUpToMac(const std::vector<AgeStanza>& stanzas);
};

}  // namespace mirado
