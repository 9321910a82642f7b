#include "SealedPreamble.h"

#include <algorithm>

#include "AdditiveKeyCipher.h"

namespace mirado {

SealedPreamble::Bytes SealedPreamble::toBytes(const ContainerInfoRecord& record) {
    Bytes bytes{};
    std::copy(kMagic.begin(), kMagic.end(), bytes.begin());
    bytes[kVersionAt] = std::uint8_t(ContainerVersion::Sealed);
    ContainerInfoRecord placed = record;
    placed.payloadOffset = kSize;
    const auto recordBytes = placed.toBytes();
    std::copy(recordBytes.begin(), recordBytes.end(), bytes.begin() + kRecordAt);
    return bytes;
}

std::optional<ContainerInfoRecord> SealedPreamble::parse(const std::uint8_t* bytes, std::uint64_t plaintextSize) {
    if (plaintextSize < kSize || !std::equal(kMagic.begin(), kMagic.end(), bytes)) return std::nullopt;
    const std::uint32_t version = std::uint32_t(bytes[kVersionAt]) | std::uint32_t(bytes[kVersionAt + 1]) << 8 |
                                  std::uint32_t(bytes[kVersionAt + 2]) << 16 |
                                  std::uint32_t(bytes[kVersionAt + 3]) << 24;
    if (version != std::uint32_t(ContainerVersion::Sealed) || !AdditiveKeyCipher::checkValueMatches(bytes + kRecordAt)) {
        return std::nullopt;
    }
    ContainerInfoRecord record = ContainerInfoRecord::fromBytes(bytes + kRecordAt);
    if (record.payloadOffset != kSize || record.payloadSize != plaintextSize - kSize) return std::nullopt;
    return record;
}

}  // namespace mirado
