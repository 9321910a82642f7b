#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "PictureDecoders.h"

namespace mirado {

namespace {

struct MemorySource {
    std::span<const std::uint8_t> data;
    std::size_t position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* target, int length) {
    auto* source = static_cast<MemorySource*>(gif->UserData);
    if (length <= 0) return 0;
    const std::size_t count = std::min(static_cast<std::size_t>(length), source->data.size() - source->position);
    std::memcpy(target, source->data.data() + source->position, count);
    source->position += count;
    return static_cast<int>(count);
}

struct FirstFrame {
    GifImageDesc place{};
    int transparentIndex = NO_TRANSPARENT_COLOR;
};

// Skips extensions up to the first image, keeping the transparent index of its control block.
bool findFirstFrame(GifFileType* gif, FirstFrame& frame) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
            frame.place = gif->Image;
            return true;
        }
        if (type != EXTENSION_RECORD_TYPE) return false;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
        if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
            GraphicsControlBlock control{};
            if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                frame.transparentIndex = control.TransparentColor;
            }
        }
        while (block != nullptr) {
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
        }
    }
}

// Frame rows in the order the file stores them.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr std::array<std::array<int, 2>, 4> passes{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
    for (const auto& [start, step] : passes) {
        for (int y = start; y < height; y += step) order.push_back(y);
    }
    return order;
}

// The most pixels LZW data of that many bytes can describe: every code takes at least 3 bits and
// stands for at most 4096 pixels (the longest string a full code table holds).
std::int64_t mostPixelsIn(std::size_t bytes) { return static_cast<std::int64_t>(bytes) * 8 / 3 * 4096; }

// A few header bytes can claim a screen and a frame of any size: both must be within the budget
// and no larger than the remaining data could paint, or a tiny file would cost hundreds of MB.
bool plausibleSize(std::int64_t width, std::int64_t height, std::size_t dataLeft) {
    return withinPictureBudget(width, height) && width * height <= mostPixelsIn(dataLeft);
}

// The canvas outside the frame and transparent pixels show white, as any transparency does.
bool readFirstFrame(GifFileType* gif, const MemorySource& source, Rgb24Picture& picture) {
    FirstFrame frame;
    if (!findFirstFrame(gif, frame)) return false;
    const GifImageDesc& place = frame.place;
    const ColorMapObject* colours = place.ColorMap != nullptr ? place.ColorMap : gif->SColorMap;
    if (colours == nullptr) return false;
    const std::size_t dataLeft = source.data.size() - source.position;
    const bool canvasGiven = gif->SWidth > 0 && gif->SHeight > 0;
    const int canvasWidth = canvasGiven ? gif->SWidth : place.Width;
    const int canvasHeight = canvasGiven ? gif->SHeight : place.Height;
    if (!plausibleSize(place.Width, place.Height, dataLeft) || !plausibleSize(canvasWidth, canvasHeight, dataLeft) ||
        !picture.allocate(canvasWidth, canvasHeight)) {
        return false;
    }
    for (int y = 0; y < picture.height; ++y) std::memset(picture.rowFromTop(y), 0xFF, 3 * static_cast<std::size_t>(picture.width));
    const int left = canvasGiven ? place.Left : 0;
    const int top = canvasGiven ? place.Top : 0;
    std::vector<GifPixelType> line(static_cast<std::size_t>(place.Width));
    for (const int y : rowOrder(place.Height, place.Interlace)) {
        if (DGifGetLine(gif, line.data(), place.Width) == GIF_ERROR) return false;
        const int canvasY = top + y;
        if (canvasY >= picture.height) continue;
        std::uint8_t* row = picture.rowFromTop(canvasY);
        for (int x = 0; x < place.Width && left + x < picture.width; ++x) {
            const int index = line[static_cast<std::size_t>(x)];
            if (index == frame.transparentIndex) continue;
            std::uint8_t* pixel = row + 3 * (left + x);
            if (index >= colours->ColorCount) {
                pixel[0] = pixel[1] = pixel[2] = 0;
                continue;
            }
            const GifColorType& colour = colours->Colors[index];
            pixel[0] = colour.Blue;
            pixel[1] = colour.Green;
            pixel[2] = colour.Red;
        }
    }
    return true;
}

}  // namespace

bool decodeGif(std::span<const std::uint8_t> data, Rgb24Picture& picture) {
    if (data.empty()) return false;
    MemorySource source{data};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, readFromMemory, &error);
    if (gif == nullptr) return false;
    const bool decoded = readFirstFrame(gif, source, picture);
    DGifCloseFile(gif, &error);
    return decoded;
}

}  // namespace mirado
