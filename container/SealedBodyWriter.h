#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "ContainerInfoRecord.h"
#include "ContainerWriter.h"

namespace mirado {

// Writes a format 2 container's bytes to `output`: the age header for the passphrase, then the preamble
// and `sourceSize` bytes read from `input`, sealed in 64 KiB chunks. The chunks of one 4 MiB batch are
// sealed on two threads while the previous batch is written and the next one read, so memory stays
// constant (four batch buffers in `scratch`, kept for the next file) and both cores work.
// `progress` hears the source bytes written after every batch.
WriteResult writeSealedBody(int input, int output, std::uint64_t sourceSize, const ContainerInfoRecord& record,
                            std::string_view passphrase, int workFactor, std::vector<std::uint8_t>& scratch,
                            const WriteProgress& progress);

}  // namespace mirado
