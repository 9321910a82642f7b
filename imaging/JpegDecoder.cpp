#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstring>

#include <jpeglib.h>

#include "PictureDecoders.h"
#include "PictureOrientation.h"
#include "RowConversion.h"

namespace mirado {

namespace {

// libjpeg reports faults through this manager: errors jump back to the decoder, nothing is printed.
struct SilentErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<SilentErrorManager*>(info->err)->jump, 1);
}

// Warnings leave a usable picture: stray bytes, a bad Huffman code, and data that ends early, where
// the library shows what was decoded and grey below, as every other viewer does.
void ignoreMessage(j_common_ptr, int) {}

void printNothing(j_common_ptr) {}

// The orientation an EXIF block among the saved markers gives; 1 without one.
int orientationOf(const jpeg_decompress_struct& info) {
    constexpr unsigned char exifTag[] = {'E', 'x', 'i', 'f', 0, 0};
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker != JPEG_APP0 + 1 || marker->data_length < sizeof exifTag) continue;
        if (std::memcmp(marker->data, exifTag, sizeof exifTag) != 0) continue;
        return exifOrientation(marker->data + sizeof exifTag, marker->data_length - sizeof exifTag);
    }
    return 1;
}

// Adobe's CMYK JPEGs (the only ones in practice, and what libjpeg writes) store inverted ink.
void cmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? cmyk[2 - c] : 255u - cmyk[2 - c];
            bgr[c] = static_cast<std::uint8_t>((ink * k + 127u) / 255u);
        }
    }
}

class JpegReading {
public:
    JpegReading() {
        info_.err = jpeg_std_error(&errors_.base);
        errors_.base.error_exit = jumpOut;
        errors_.base.emit_message = ignoreMessage;
        errors_.base.output_message = printNothing;
    }
    ~JpegReading() {
        if (created_) jpeg_destroy_decompress(&info_);
    }
    JpegReading(const JpegReading&) = delete;
    JpegReading& operator=(const JpegReading&) = delete;

    // Every C++ object the decoding touches lives in this object or the caller, so a jump out
    // of libjpeg skips no destructor.
    bool decode(std::span<const std::uint8_t> data, Rgb24Picture& picture) {
        if (setjmp(errors_.jump) != 0) return false;
        jpeg_create_decompress(&info_);
        created_ = true;
        jpeg_mem_src(&info_, data.data(), static_cast<unsigned long>(data.size()));
        jpeg_save_markers(&info_, JPEG_APP0 + 1, 0xFFFF);
        jpeg_read_header(&info_, TRUE);
        const PictureOrientation orientation(orientationOf(info_));
        const bool grey = info_.jpeg_color_space == JCS_GRAYSCALE;
        const bool cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
        info_.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
        // The budget is checked before the library allocates its own buffers for the picture.
        const int width = static_cast<int>(info_.image_width);
        const int height = static_cast<int>(info_.image_height);
        if (!orientation.allocate(picture, width, height)) return false;
        jpeg_start_decompress(&info_);
        if (orientation.value() == 1 && !grey && !cmyk) {
            readStraight(picture);
        } else {
            readConverted(picture, orientation, grey, cmyk);
        }
        // What follows the last row (often nothing, in a truncated file) carries nothing the picture needs.
        return true;
    }

private:
    // Blue-green-red rows go straight into the picture, several at a time as the library likes.
    void readStraight(Rgb24Picture& picture) {
        constexpr JDIMENSION batch = 16;
        JSAMPROW rows[batch];
        while (info_.output_scanline < info_.output_height) {
            const JDIMENSION first = info_.output_scanline;
            const JDIMENSION count = std::min(batch, info_.output_height - first);
            for (JDIMENSION i = 0; i < count; ++i) rows[i] = picture.rowFromTop(static_cast<int>(first + i));
            jpeg_read_scanlines(&info_, rows, count);
        }
    }

    // Other layouts and orientations go through a band of rows, converted to blue-green-red and placed.
    void readConverted(Rgb24Picture& picture, const PictureOrientation& orientation, bool grey, bool cmyk) {
        constexpr JDIMENSION batch = 16;
        const std::size_t width = info_.output_width;
        const std::size_t sampleBytes = width * static_cast<std::size_t>(info_.output_components);
        const std::size_t bgrBytes = 3 * width;
        samples_.resize(sampleBytes * batch);
        bgr_.resize(bgrBytes * batch);
        JSAMPROW rows[batch];
        while (info_.output_scanline < info_.output_height) {
            const JDIMENSION first = info_.output_scanline;
            const JDIMENSION count = std::min(batch, info_.output_height - first);
            std::uint8_t* decoded = grey || cmyk ? samples_.data() : bgr_.data();
            const std::size_t decodedBytes = grey || cmyk ? sampleBytes : bgrBytes;
            for (JDIMENSION i = 0; i < count; ++i) rows[i] = decoded + decodedBytes * i;
            JDIMENSION read = 0;
            while (read < count) read += jpeg_read_scanlines(&info_, rows + read, count - read);
            for (JDIMENSION i = 0; i < count && (grey || cmyk); ++i) {
                std::uint8_t* target = bgr_.data() + bgrBytes * i;
                if (grey) {
                    greyToBgr(rows[i], target, static_cast<int>(width));
                } else {
                    cmykToBgr(rows[i], target, static_cast<int>(width), info_.saw_Adobe_marker);
                }
            }
            orientation.place(picture, static_cast<int>(first), static_cast<int>(count), bgr_.data(), bgrBytes);
        }
    }

    jpeg_decompress_struct info_{};
    SilentErrorManager errors_{};
    bool created_ = false;
    PixelBytes samples_;
    PixelBytes bgr_;
};

}  // namespace

bool decodeJpeg(std::span<const std::uint8_t> data, Rgb24Picture& picture) {
    if (data.empty()) return false;
    JpegReading reading;
    return reading.decode(data, picture);
}

}  // namespace mirado
