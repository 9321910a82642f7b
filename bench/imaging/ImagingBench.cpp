// Decoding a picture as a user meets it, in a fresh process with fresh memory for the picture, next to
// djpeg (a 6000 x 4000 JPEG) and to libpng reading rows (a 4000 x 3000 PNG), both in fresh processes
// too; and the same decodes again into a picture this process reuses, where no fresh page is touched.
#include <cstddef>
#include <cstdio>  // before jpeglib.h, which needs size_t and FILE
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "DecodeToRgb24.h"
#include "bench/support/Measure.h"

namespace {

namespace fs = std::filesystem;
using namespace mirado::bench;

const std::string kDecodeOnce = MIRADO_DECODE_ONCE;

// Smooth shapes with a little grain, so the files compress like a photograph rather than a flat fill.
std::vector<std::uint8_t> photoLike(int width, int height) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    std::minstd_rand grain(7);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(grain() % 9) - 4;
            const int base[3] = {(x * 255 / width + (y / 97 % 2) * 60) % 256, (y * 255 / height + x / 300 * 20) % 256,
                                 ((x + y) / 13 % 64) * 3 + 40};
            for (const int value : base) rgb[i++] = static_cast<std::uint8_t>(std::clamp(value + noise, 0, 255));
        }
    }
    return rgb;
}

void writeJpeg(const fs::path& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(rgb.data() + static_cast<std::size_t>(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

void writePng(const fs::path& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, rgb.data() + static_cast<std::size_t>(y) * width * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void comparePicture(const char* what, const fs::path& file, const char* theirName,
                    const std::vector<std::string>& theirs, double goal) {
    mirado::Rgb24Picture reused;
    mirado::decodeToRgb24(file, reused);
    Race race;
    race.add("decodeToRgb24, fresh process", {}, [&] { return runProgram({kDecodeOnce, "ours", file.string()}); });
    race.add(theirName, {}, [&] { return runProgram(theirs); });
    race.add("decodeToRgb24, reused picture", {}, [&] { return mirado::decodeToRgb24(file, reused); });
    if (!race.run(7)) return;
    std::printf("%s, best of 7 alternating runs\n", what);
    race.print();
    compare(race, "decodeToRgb24, fresh process", theirName, goal);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path folder = scratchFolder(argc, argv, "mirado-imaging-bench");
    fs::create_directories(folder);
    const fs::path jpeg = folder / "photo.jpg";
    const fs::path png = folder / "photo.png";
    writeJpeg(jpeg, 6000, 4000, photoLike(6000, 4000));
    writePng(png, 4000, 3000, photoLike(4000, 3000));
    std::printf("JPEG 6000x4000, %.1f MB; PNG 4000x3000, %.1f MB\n", static_cast<double>(fs::file_size(jpeg)) / 1e6,
                static_cast<double>(fs::file_size(png)) / 1e6);
    comparePicture("JPEG 6000x4000", jpeg, "djpeg > /dev/null", {"djpeg", "-outfile", "/dev/null", jpeg.string()}, 1.15);
    comparePicture("PNG 4000x3000", png, "libpng rows, fresh process", {kDecodeOnce, "libpng", png.string()}, 1.15);
    fs::remove_all(folder);
    return 0;
}
