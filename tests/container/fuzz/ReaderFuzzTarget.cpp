#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ReaderFuzzKey.h"
#include "container/ContainerReader.h"

namespace {

// The reader opens paths, so every input becomes a file; one per process, reused.
const std::filesystem::path& inputPath() {
    static const std::filesystem::path path = [] {
        const std::filesystem::path shm = "/dev/shm";
        const auto folder = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        return folder / ("mirado-reader-fuzz-" + std::to_string(::getpid()) + ".pmpk");
    }();
    return path;
}

struct RemoveAtExit {
    ~RemoveAtExit() { std::remove(inputPath().c_str()); }
} g_removeAtExit;

constexpr int kLargestFuzzedWorkFactor = 14;  // 16 MiB of scrypt memory

std::int64_t int64At(const std::uint8_t* data, std::size_t size, std::size_t from) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8 && from + i < size; ++i) value |= std::uint64_t(data[from + i]) << (8 * i);
    return std::int64_t(value);
}

// Whether a sealed container's scrypt stanza asks for more than the fuzzer's memory limit allows. Such
// work factors are legal (the reader accepts up to 22, and unit tests check the rule); under the fuzzer
// they would only measure scrypt's memory, so those inputs are left out.
bool asksScryptForTooMuch(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 4096));
    if (text.rfind("age-encryption.org/", 0) != 0) return false;
    for (std::size_t at = text.find("-> scrypt "); at != std::string_view::npos; at = text.find("-> scrypt ", at + 1)) {
        const std::size_t space = text.find(' ', at + 10);
        if (space == std::string_view::npos) return false;
        int workFactor = 0;
        for (std::size_t i = space + 1; i < text.size() && text[i] >= '0' && text[i] <= '9' && workFactor < 100; ++i)
            workFactor = workFactor * 10 + (text[i] - '0');
        if (workFactor > kLargestFuzzedWorkFactor) return true;
    }
    return false;
}

}  // namespace

// The input is a whole container file, opened under the key the seeds were written with (a wrong key
// only ever reaches the check value). Whatever open accepts is then read like the player reads it:
// the whole payload (capped as the player caps pictures, smaller here), and blocks deciphered at
// offsets and lengths taken from the input, as the engine's reads would come.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (asksScryptForTooMuch(data, size)) return 0;
    if (std::FILE* file = std::fopen(inputPath().c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    mirado::ContainerReader reader;
    reader.setKey(mirado::fuzz::kKey);
    if (!reader.open(inputPath())) return 0;
    const mirado::ContainerInfoRecord& record = reader.records().front();
    (void)reader.isImage();

    constexpr std::uint64_t kLargestRead = 1u << 20;
    std::vector<std::uint8_t> payload(std::size_t(std::min<std::uint64_t>(record.payloadSize, kLargestRead)) + 1);
    std::int64_t bytesRead = -1;
    reader.readWholePayload(payload.data(), std::int64_t(payload.size() - 1), bytesRead);
    reader.readWholePayload(payload.data(), -1, bytesRead);

    // Blocks of the engine: offsets anywhere (the header, -1, far beyond the end), lengths up to the
    // buffer, and a negative length, which deciphers nothing.
    std::vector<std::uint8_t> block(4096);
    for (std::size_t at = 0; at + 16 <= size && at < 256; at += 16) {
        const std::int64_t offset = int64At(data, size, at);
        const std::int64_t length = int64At(data, size, at + 8);
        const std::int64_t fitted = length < 0 ? length : length % std::int64_t(block.size() + 1);
        reader.decipherAt(block.data(), fitted, offset % 3 == 0 ? -1 : offset);
        const std::int32_t hookLength = std::int32_t(std::max<std::int64_t>(fitted, -1));
        PayloadReadHook(&reader, block.data(), hookLength, std::int64_t(std::int32_t(offset)));
        reader.readPayloadAt(std::uint64_t(offset), block.data(), std::uint64_t(fitted < 0 ? 0 : fitted));
    }
    reader.close();
    return 0;
}
