#pragma once
#include <cstdint>
#include <string_view>

#include "AgeFileWriter.h"
#include "ContainerInfoRecord.h"
#include "ContainerWriter.h"

namespace mirado {

// Writes a format 2 container's bytes to `output` from its start: the age header, then the preamble
// and `sourceSize` bytes read from `input`, sealed in 64 KiB chunks under `age`'s file key. `age` has
// begun; when its head is not sealed yet, that is done here for the passphrase and work factor while
// the body is being sealed. Chunks are independent, so two threads each read, seal and write runs of
// eight chunks at their own offsets, in constant memory. `progress` hears the source bytes written
// after every 4 MiB.
WriteResult writeSealedBody(int input, int output, std::uint64_t sourceSize, const ContainerInfoRecord& record,
                            AgeFileWriter& age, std::string_view passphrase, int workFactor,
                            const WriteProgress& progress);

}  // namespace mirado
