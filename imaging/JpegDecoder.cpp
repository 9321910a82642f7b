#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first

#include <jerror.h>
#include <jpeglib.h>

#include "PictureDecoders.h"
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

void onMessage(j_common_ptr info, int level) {
    // Data that ends early would be padded with grey; a truncated picture is refused instead.
    // Other warnings (stray bytes, a bad Huffman code) leave a usable picture.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) jumpOut(info);
}

void printNothing(j_common_ptr) {}

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
        errors_.base.emit_message = onMessage;
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
        jpeg_read_header(&info_, TRUE);
        const bool grey = info_.jpeg_color_space == JCS_GRAYSCALE;
        const bool cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
        info_.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
        if (!picture.allocate(static_cast<int>(info_.image_width), static_cast<int>(info_.image_height))) return false;
        jpeg_start_decompress(&info_);
        if (grey || cmyk) {
            row_.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(info_.output_components));
            readConverted(picture, grey);
        } else {
            readStraight(picture);
        }
        jpeg_finish_decompress(&info_);
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

    void readConverted(Rgb24Picture& picture, bool grey) {
        while (info_.output_scanline < info_.output_height) {
            std::uint8_t* target = picture.rowFromTop(static_cast<int>(info_.output_scanline));
            JSAMPROW row = row_.data();
            jpeg_read_scanlines(&info_, &row, 1);
            if (grey) {
                greyToBgr(row_.data(), target, picture.width);
            } else {
                cmykToBgr(row_.data(), target, picture.width, info_.saw_Adobe_marker);
            }
        }
    }

    jpeg_decompress_struct info_{};
    SilentErrorManager errors_{};
    bool created_ = false;
    PixelBytes row_;
};

}  // namespace

bool decodeJpeg(std::span<const std::uint8_t> data, Rgb24Picture& picture) {
    if (data.empty()) return false;
    JpegReading reading;
    return reading.decode(data, picture);
}

}  // namespace mirado
