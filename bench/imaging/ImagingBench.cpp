// Decoding speed next to the libraries' own tools: a 6000 x 4000 JPEG against djpeg, a
// 4000 x 3000 PNG against libpng reading rows into memory. Prints the figures and the ratios.
#include <cstddef>
#include <cstdio>  // before jpeglib.h, which needs size_t and FILE
#include <jpeglib.h>
#include <png.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <vector>

#include "DecodeToRgb24.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

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

// libpng's plain way: rows read from the file into one buffer, no conversion.
bool libpngRows(const fs::path& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
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

bool djpeg(const fs::path& path) {
    const char* arguments[] = {"djpeg", "-outfile", "/dev/null", path.c_str(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "djpeg", nullptr, nullptr, const_cast<char**>(arguments), environ) != 0) return false;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Fastest of several runs, in milliseconds; negative when a run failed.
double fastest(const std::function<bool()>& run, int runs = 7) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (!run()) return -1;
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

void report(const char* what, double ours, const char* reference, double theirs, double goal) {
    std::printf("%-28s decodeToRgb24 %8.1f ms   %-22s %8.1f ms   ratio %.3f%s\n", what, ours, reference, theirs,
                ours / theirs, goal > 0 ? (ours / theirs <= goal ? "  (goal <= 1.15: met)" : "  (goal <= 1.15: MISSED)") : "");
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / ("mirado-imaging-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path jpeg = folder / "photo.jpg";
    const fs::path png = folder / "photo.png";
    writeJpeg(jpeg, 6000, 4000, photoLike(6000, 4000));
    writePng(png, 4000, 3000, photoLike(4000, 3000));
    std::printf("JPEG 6000x4000, %.1f MB; PNG 4000x3000, %.1f MB; fastest of 7 runs each\n",
                static_cast<double>(fs::file_size(jpeg)) / 1e6, static_cast<double>(fs::file_size(png)) / 1e6);

    // As the video surface does: one picture, replaced by every decode.
    mirado::Rgb24Picture picture;
    const double ourJpeg = fastest([&] { return mirado::decodeToRgb24(jpeg, picture); });
    const double theirJpeg = fastest([&] { return djpeg(jpeg); });
    report("JPEG 6000x4000 (file)", ourJpeg, "djpeg > /dev/null", theirJpeg, 1.15);

    const double ourPng = fastest([&] { return mirado::decodeToRgb24(png, picture); });
    const double theirPng = fastest([&] { return libpngRows(png); });
    report("PNG 4000x3000 (file)", ourPng, "libpng rows to memory", theirPng, 0);

    fs::remove_all(folder);
    return ourJpeg < 0 || theirJpeg < 0 || ourPng < 0 || theirPng < 0 ? 1 : 0;
}
