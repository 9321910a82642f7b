#include "ContainerHeader.h"

#include <fstream>

#include "ContainerFormat.h"

namespace mirado {

std::optional<ContainerHeader> ContainerHeader::read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char bytes[format::kHeaderSize];
    if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return std::nullopt;
    const auto u32 = [&](std::size_t at) {
        return std::uint32_t(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24);
    };
    return ContainerHeader{u32(format::kFormatTagAt), u32(format::kWatermarkMarkAt)};
}

}  // namespace mirado
