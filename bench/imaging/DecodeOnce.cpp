// Decodes one picture and ends, so the benchmark can time a decode as a user meets it: in a fresh
// process, with fresh memory for the picture. Usage: imaging_decode_once ours|libpng FILE
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <png.h>

#include <vector>

#include "DecodeToRgb24.h"

namespace {

// libpng's plain way: rows read from the file into one buffer, no conversion.
bool libpngRows(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, pixels.data() + static_cast<std::size_t>(y) * width * 3, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    if (std::strcmp(argv[1], "libpng") == 0) return libpngRows(argv[2]) ? 0 : 1;
    mirado::Rgb24Picture picture;
    return mirado::decodeToRgb24(argv[2], picture) ? 0 : 1;
}
