#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "container/ContainerFormat.h"
#include "container/ContainerKey.h"
#include "container/ContainerReader.h"
#include "engine/avplayer.h"
#include "tests/support/TempDir.h"

namespace mirado::testing {

// Small media files made with the ffmpeg command, once per test process, in a temporary folder.
class TestMedia {
public:
    static TestMedia& instance();

    // 3 s of 160x120 H.264 test pattern with a 440 Hz AAC tone, a key frame every second.
    const std::filesystem::path& mp4();
    // The same in Matroska.
    const std::filesystem::path& mkv();
    // 8 s of 320x240 test pattern at a high bit rate (some 25 sealed chunks), for damage in the middle.
    const std::filesystem::path& longer();
    // 2 s of plain grey 320x240 H.264 with silent AAC, for finding the watermark's pixels.
    const std::filesystem::path& grey();

    // Enciphers `source` into a container in the test folder, with an optional watermark.
    std::filesystem::path encipher(const std::filesystem::path& source, const ContainerKey& key,
                                   std::u16string_view watermark = {}, std::uint8_t position = 0,
                                   std::uint8_t colour = 0, std::uint8_t fontSize = 0);
    // `source` sealed into a format 2 container under `password` (a small work factor keeps tests quick).
    std::filesystem::path seal(const std::filesystem::path& source, std::u16string_view password,
                               std::u16string_view watermark = {}, std::uint8_t position = 0,
                               std::uint8_t colour = 0, std::uint8_t fontSize = 0);
    // A copy of `file` cut to `length` bytes.
    std::filesystem::path truncatedCopy(const std::filesystem::path& file, std::uint64_t length);

    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    std::filesystem::path make(const std::string& name, const std::string& arguments);
    std::filesystem::path write(ContainerVersion version, const std::filesystem::path& source, const ContainerKey& key,
                                std::u16string_view watermark, std::uint8_t position, std::uint8_t colour,
                                std::uint8_t fontSize);

    TempDir folder_;
    std::filesystem::path mp4_, mkv_, longer_, grey_;
    int made_ = 0;
};

ContainerKey testKey(std::uint8_t seed);

// Opens `container` with `reader` under `key` and hands it to the player the way playback control does;
// the hook and its context default to the reader's own. Returns the player's answer, or 0 when the
// reader refused the key.
int openContainer(avplayer& player, ContainerReader& reader, const std::filesystem::path& container,
                  const ContainerKey& key, avplayer::ReadHook hook = &PayloadReadHook, void* context = nullptr);
// The same for a sealed container, read through the reader's checked positional read.
int openSealed(avplayer& player, ContainerReader& reader, const std::filesystem::path& container,
               std::u16string_view password);
// The engine's read of a sealed container: `reader` is the ContainerReader.
std::int64_t readSealed(void* reader, std::uint64_t position, std::uint8_t* buffer, std::uint64_t length);
int openPlain(avplayer& player, const std::filesystem::path& file);

// Runs the Qt event loop until `done` holds or `milliseconds` have passed; returns `done()`.
bool waitFor(const std::function<bool()>& done, int milliseconds = 10000);
// Runs the Qt event loop for a while.
void spin(int milliseconds);

}  // namespace mirado::testing
