#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "PictureDecoders.h"
#include "RowConversion.h"

namespace mirado {

namespace {

struct MemorySource {
    std::span<const std::uint8_t> data;
    std::size_t position = 0;
};

void readFromMemory(png_structp png, png_bytep target, png_size_t length) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > source->data.size() - source->position) png_error(png, "data ends early");
    std::memcpy(target, source->data.data() + source->position, length);
    source->position += length;
}

// libpng reports faults here: errors jump back to the decoder, warnings are dropped; nothing is printed.
[[noreturn]] void jumpOut(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

class PngReading {
public:
    explicit PngReading(std::span<const std::uint8_t> data) : source_{data} {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOut, ignoreWarning);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
    }
    ~PngReading() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReading(const PngReading&) = delete;
    PngReading& operator=(const PngReading&) = delete;

    // Every C++ object the decoding touches lives in this object or the caller, so a jump out
    // of libpng skips no destructor.
    bool decode(Rgb24Picture& picture) {
        if (info_ == nullptr) return false;
        if (setjmp(png_jmpbuf(png_)) != 0) return false;
        png_set_read_fn(png_, &source_, readFromMemory);
        png_read_info(png_, info_);
        // The budget is checked before the library sizes its row buffers for the picture.
        if (!withinPictureBudget(png_get_image_width(png_, info_), png_get_image_height(png_, info_))) return false;
        const png_byte colourType = png_get_color_type(png_, info_);
        const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
        // Palette and low-depth pictures become true colour or 8-bit grey, transparency an alpha channel.
        png_set_expand(png_);
        png_set_scale_16(png_);
        png_set_bgr(png_);
        if (alpha) png_set_gray_to_rgb(png_);
        const int passes = png_set_interlace_handling(png_);
        png_read_update_info(png_, info_);
        if (!picture.allocate(static_cast<int>(png_get_image_width(png_, info_)),
                              static_cast<int>(png_get_image_height(png_, info_)))) {
            return false;
        }
        channels_ = png_get_channels(png_, info_);
        if (channels_ != 1 && channels_ != 3 && channels_ != 4) return false;
        if (passes == 1) {
            readRows(picture);
        } else {
            readInterlaced(picture);
        }
        // Chunks after the pixels carry nothing the picture needs, so they are not read.
        return true;
    }

private:
    std::size_t rowBytes(const Rgb24Picture& picture) const {
        return static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(channels_);
    }

    void convert(const std::uint8_t* row, std::uint8_t* target, int width) const {
        if (channels_ == 1) greyToBgr(row, target, width);
        if (channels_ == 4) bgraOverWhiteToBgr(row, target, width);
    }

    // Blue-green-red rows are read straight into the picture; others through one row.
    void readRows(Rgb24Picture& picture) {
        if (channels_ != 3) rows_.resize(rowBytes(picture));
        for (int y = 0; y < picture.height; ++y) {
            std::uint8_t* target = picture.rowFromTop(y);
            if (channels_ == 3) {
                png_read_row(png_, target, nullptr);
            } else {
                png_read_row(png_, rows_.data(), nullptr);
                convert(rows_.data(), target, picture.width);
            }
        }
    }

    // Interlaced passes revisit every row, so the whole picture is read before converting.
    void readInterlaced(Rgb24Picture& picture) {
        const std::size_t bytes = rowBytes(picture);
        if (channels_ != 3) rows_.resize(bytes * static_cast<std::size_t>(picture.height));
        pointers_.resize(static_cast<std::size_t>(picture.height));
        for (int y = 0; y < picture.height; ++y) {
            pointers_[y] = channels_ == 3 ? picture.rowFromTop(y) : rows_.data() + bytes * static_cast<std::size_t>(y);
        }
        png_read_image(png_, pointers_.data());
        for (int y = 0; y < picture.height; ++y) convert(pointers_[y], picture.rowFromTop(y), picture.width);
    }

    MemorySource source_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    int channels_ = 0;
    PixelBytes rows_;
    std::vector<png_bytep> pointers_;
};

}  // namespace

bool decodePng(std::span<const std::uint8_t> data, Rgb24Picture& picture) {
    if (data.empty()) return false;
    PngReading reading(data);
    return reading.decode(picture);
}

}  // namespace mirado
