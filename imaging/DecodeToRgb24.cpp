#include "DecodeToRgb24.h"

#include <fstream>
#include <new>
#include <system_error>
#include <utility>

#include "PictureDecoders.h"
#include "PictureFormat.h"

namespace mirado {

namespace {

// Touching fresh pages costs about a third of a JPEG decode here, so the storage of the
// picture a decode replaces is kept for the next decode on the same thread (up to a bound, so
// one huge picture does not pin its memory for good).
constexpr std::size_t largestKeptStorage = std::size_t{1} << 28;
thread_local PixelBytes keptStorage;

bool decodeAs(PictureFormat format, std::span<const std::uint8_t> data, Rgb24Picture& picture) {
    Rgb24Picture next;
    next.pixels = std::move(keptStorage);
    keptStorage = PixelBytes();
    bool decoded = false;
    try {
        switch (format) {
            case PictureFormat::Bmp: decoded = decodeBmp(data, next); break;
            case PictureFormat::Jpeg: decoded = decodeJpeg(data, next); break;
            case PictureFormat::Png: decoded = decodePng(data, next); break;
            case PictureFormat::Tiff: decoded = decodeTiff(data, next); break;
            case PictureFormat::Gif: decoded = decodeGif(data, next); break;
            case PictureFormat::Unknown: break;
        }
    } catch (const std::bad_alloc&) {
        decoded = false;
    }
    if (decoded) std::swap(picture, next);
    if (next.pixels.capacity() <= largestKeptStorage) keptStorage = std::move(next.pixels);
    return decoded;
}

// A file larger than the largest picture the budget allows stored plainly at 32 bits a pixel (a BMP
// or an uncompressed TIFF) is not a picture worth its memory: it is refused before it is read.
constexpr std::streamoff largestPictureFile = 4 * maxPicturePixels + (std::streamoff{1} << 20);

bool readWholeFile(const std::filesystem::path& file, PixelBytes& bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return false;
    std::ifstream stream(file, std::ios::binary | std::ios::ate);
    if (!stream) return false;
    const std::streamoff size = stream.tellg();
    if (size <= 0 || size > largestPictureFile) return false;
    bytes.resize(static_cast<std::size_t>(size));
    stream.seekg(0);
    return static_cast<bool>(stream.read(reinterpret_cast<char*>(bytes.data()), size));
}

}  // namespace

bool decodeToRgb24(const std::filesystem::path& file, Rgb24Picture& picture) {
    const PictureFormat format = pictureFormatOf(std::string_view(file.native()));
    if (format == PictureFormat::Unknown) return false;
    PixelBytes bytes;
    try {
        if (!readWholeFile(file, bytes)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return decodeAs(format, bytes, picture);
}

bool decodeToRgb24(const std::uint8_t* data, std::size_t size, std::u16string_view sourceName, Rgb24Picture& picture) {
    if (data == nullptr) return false;
    return decodeAs(pictureFormatOf(sourceName), std::span(data, size), picture);
}

}  // namespace mirado
