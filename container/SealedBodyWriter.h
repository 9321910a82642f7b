#pragma once
#include <cstdint>
#include <string_view>

#include "ContainerInfoRecord.h"
#include "ContainerWriter.h"

namespace mirado {

// Writes a format 2 container's bytes to `output` from its start: the age header for the passphrase,
// then the preamble and `sourceSize` bytes read from `input`, sealed in 64 KiB chunks. Chunks are
// independent, so two threads each read, seal and write runs of eight chunks at their own offsets,
// in constant memory. `progress` hears the source bytes written after every 4 MiB.
WriteResult writeSealedBody(int input, int output, std::uint64_t sourceSize, const ContainerInfoRecord& record,
                            std::string_view passphrase, int workFactor, const WriteProgress& progress);

}  // namespace mirado
