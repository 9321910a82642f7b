#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "container/ContainerFormat.h"
#include "container/ContainerKey.h"

namespace mirado {

struct WatermarkSettings {
    bool enabled = false;
    std::u16string text;
    std::uint8_t position = 0;  // 0..3: top left, top right, bottom left, bottom right
    std::uint8_t colour = 0;    // 0..4: white, red, yellow, green, cyan
    std::uint8_t fontSize = 0;  // 0..2: a twentieth, a fifteenth, a tenth of the picture height
};

// One encryption job: a single file, or a folder enciphered into a mirrored tree.
struct EncryptRequest {
    std::filesystem::path source;
    std::filesystem::path destinationFolder;
    ContainerKey key{};
    WatermarkSettings watermark;
    // Every container of the job is written in this format; the work factor sets the password's
    // cost in a sealed one.
    ContainerVersion version = ContainerVersion::Compatible;
    int workFactor = kDefaultWorkFactor;
};

}  // namespace mirado
