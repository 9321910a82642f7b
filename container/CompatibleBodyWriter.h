#pragma once
#include <array>
#include <cstdint>

#include "ContainerFormat.h"
#include "ContainerKey.h"
#include "ContainerWriter.h"
#include "ParallelFileWork.h"

namespace mirado {

using CompatibleHead = std::array<std::uint8_t, std::size_t(format::kPayloadOffset)>;

// Writes a format 1 container's bytes to `output` from its start: `head` (the plain header, the record
// count and the record), then `sourceSize` bytes read from `input`, everything from the record on
// enciphered under `key`, in units at their own offsets in constant memory; `units` is the memory for
// them, kept across files. `progress` hears the source bytes written after every 4 MiB and at the end.
WriteResult writeCompatibleBody(int input, int output, const CompatibleHead& head,
                                std::uint64_t sourceSize, const ContainerKey& key, FileUnits& units,
                                const WriteProgress& progress);

}  // namespace mirado
