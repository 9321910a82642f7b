#include "CompatibleBodyWriter.h"

#include <algorithm>
#include <cstring>

#include "AdditiveKeyCipher.h"
#include "ProgressMarks.h"

namespace mirado {
namespace {

// What one unit reads, enciphers and writes: the fewer steps the less the kernel spends per call, up to
// where the step and the pages it passes through no longer fit the core's cache (1 MiB ran at half
// speed). Units start on multiples of it in the file: a write that starts inside a page leaves the page
// cache in single pages instead of large folios, which cost a quarter more time in the kernel.
constexpr std::size_t kUnitSize = 256u << 10;
static_assert(kUnitSize > std::size_t(format::kPayloadOffset), "the first unit holds the header and the record");

struct CompatibleLayout {
    int input;
    const CompatibleHead& head;
    std::uint64_t fileSize;
    const ContainerKey& key;
};

WriteResult encipherUnit(const CompatibleLayout& layout, std::uint64_t unit, FileUnit& made) {
    const std::uint64_t from = unit * kUnitSize;
    const std::size_t length = std::size_t(std::min<std::uint64_t>(kUnitSize, layout.fileSize - from));
    if (made.buffer.size() < kUnitSize) made.buffer.resize(kUnitSize);
    std::uint8_t* bytes = made.buffer.data();
    const std::size_t headPart = from == 0 ? layout.head.size() : 0;
    std::memcpy(bytes, layout.head.data(), headPart);
    if (WriteResult read = readFileAt(layout.input, bytes + headPart, length - headPart,
                                      from + headPart - std::uint64_t(format::kPayloadOffset));
        !read) {
        return read;
    }
    const std::size_t plain = from == 0 ? std::size_t(format::kEncipheredFrom) : 0;
    AdditiveKeyCipher cipher(layout.key);
    cipher.seekTo(std::int64_t(from + plain));
    cipher.encipher(bytes + plain, length - plain);
    made.at = from;
    made.length = length;
    made.sourceBytes = length - headPart;
    return {};
}

}  // namespace

WriteResult writeCompatibleBody(int input, int output, const CompatibleHead& head, std::uint64_t sourceSize,
                                const ContainerKey& key, FileUnits& units, const WriteProgress& progress) {
    const CompatibleLayout layout{input, head, head.size() + sourceSize, key};
    ParallelFileWork work(output, (layout.fileSize + kUnitSize - 1) / kUnitSize);
    const auto encipher = [&layout](std::uint64_t unit, FileUnit& made) { return encipherUnit(layout, unit, made); };
    // Told at every step of the source and at the end, so a step seen late is still told.
    ProgressMarks marks(sourceSize, ContainerWriter::kChunkSize);
    const auto tell = [&] {
        return work.tellProgress(marks, [&](std::uint64_t mark) { return !progress || progress(mark); });
    };
    // One thread: the work is the kernel's two copies, and a second thread writing into the same file
    // made a 1 GiB container slower (0.49 s against 0.43), where format 2's sealing gains from it.
    work.run(units, encipher, tell);
    if (WriteResult result = work.result(); !result) return result;
    return tell();
}

}  // namespace mirado
