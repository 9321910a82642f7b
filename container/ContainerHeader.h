#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>

namespace mirado {

// The plain first 24 bytes of a container. Readers never need them to open a container; they are shown
// by tools that describe a container.
struct ContainerHeader {
    std::uint32_t formatTag = 0;
    std::uint32_t watermarkMark = 0;

    // Nothing when the file cannot be read or is shorter than the header.
    static std::optional<ContainerHeader> read(const std::filesystem::path& path);
};

}  // namespace mirado
