#include "TestPictures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

namespace mirado::test {

Rgb pixelOf(const Rgb24Picture& picture, int x, int y) {
    const std::uint8_t* pixel = picture.rowFromTop(y) + 3 * x;
    return {pixel[2], pixel[1], pixel[0]};
}

Rgb colourBlock(int x, int y, int width, int height) {
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    if (!bottom) return right ? Rgb{0, 255, 0} : Rgb{255, 0, 0};
    return right ? Rgb{255, 255, 0} : Rgb{0, 0, 255};
}

int largestDifference(const Rgb24Picture& picture, const std::function<Rgb(int, int)>& expected) {
    int largest = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgb got = pixelOf(picture, x, y);
            const Rgb want = expected(x, y);
            largest = std::max({largest, std::abs(got.r - want.r), std::abs(got.g - want.g), std::abs(got.b - want.b)});
        }
    }
    return largest;
}

Raster rasterOf(int width, int height, int channels, const std::function<std::vector<std::uint8_t>(int, int)>& at) {
    Raster raster{width, height, channels, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto samples = at(x, y);
            raster.samples.insert(raster.samples.end(), samples.begin(), samples.end());
        }
    }
    return raster;
}

Bytes jpegOf(const Raster& raster, JpegOptions options) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(raster.width);
    info.image_height = static_cast<JDIMENSION>(raster.height);
    info.input_components = raster.channels;
    info.in_color_space = raster.channels == 1 ? JCS_GRAYSCALE : raster.channels == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    if (options.asYcck) jpeg_set_colorspace(&info, JCS_YCCK);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(raster.samples.data() +
                                         static_cast<std::size_t>(info.next_scanline) * raster.width * raster.channels);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

Bytes pngOf(const Raster& raster, const PngOptions& options) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes bytes;
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* out = static_cast<Bytes*>(png_get_io_ptr(p));
            out->insert(out->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(raster.width), static_cast<png_uint_32>(raster.height),
                 options.bitDepth, options.colourType,
                 options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const Rgb& colour : options.palette) palette.push_back({colour.r, colour.g, colour.b});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!options.paletteAlpha.empty()) {
        png_set_tRNS(png, info, options.paletteAlpha.data(), static_cast<int>(options.paletteAlpha.size()), nullptr);
    }
    png_write_info(png, info);
    const std::size_t rowBytes = raster.samples.size() / static_cast<std::size_t>(raster.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < raster.height; ++y) {
        rows.push_back(const_cast<png_bytep>(raster.samples.data() + rowBytes * static_cast<std::size_t>(y)));
    }
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

Bytes tiffOf(const Raster& raster, const TiffOptions& options) {
    // libtiff writes through a file; the test reads it back.
    char path[] = "/tmp/mirado-tiff-XXXXXX";
    const int descriptor = mkstemp(path);
    if (descriptor < 0) throw std::runtime_error("no temporary file");
    TIFF* tiff = TIFFFdOpen(descriptor, path, "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, raster.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, raster.height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, raster.channels);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, options.bitsPerSample);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, options.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, options.orientation);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, options.compression);
    if (options.unassociatedAlpha) {
        const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (options.photometric == PHOTOMETRIC_SEPARATED) TIFFSetField(tiff, TIFFTAG_INKSET, INKSET_CMYK);
    if (!options.colourMap.empty()) {
        const std::size_t count = options.colourMap.size() / 3;
        TIFFSetField(tiff, TIFFTAG_COLORMAP, options.colourMap.data(), options.colourMap.data() + count,
                     options.colourMap.data() + 2 * count);
    }
    const std::size_t rowBytes = raster.samples.size() / static_cast<std::size_t>(raster.height);
    // Rows as stored: bottom row first when the orientation puts row 0 at the bottom.
    const bool bottomFirst = options.orientation == ORIENTATION_BOTLEFT || options.orientation == ORIENTATION_BOTRIGHT;
    const auto storedRow = [&](int y) {
        return raster.samples.data() + rowBytes * static_cast<std::size_t>(bottomFirst ? raster.height - 1 - y : y);
    };
    if (options.tileSize > 0) {
        const int tile = options.tileSize;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, tile);
        const std::size_t pixelBytes = rowBytes / static_cast<std::size_t>(raster.width);
        Bytes tileBytes(static_cast<std::size_t>(tile * tile) * pixelBytes);
        for (int ty = 0; ty < raster.height; ty += tile) {
            for (int tx = 0; tx < raster.width; tx += tile) {
                std::fill(tileBytes.begin(), tileBytes.end(), 0);
                for (int y = 0; y < tile && ty + y < raster.height; ++y) {
                    const int columns = std::min(tile, raster.width - tx);
                    std::memcpy(&tileBytes[static_cast<std::size_t>(y * tile) * pixelBytes],
                                storedRow(ty + y) + static_cast<std::size_t>(tx) * pixelBytes,
                                static_cast<std::size_t>(columns) * pixelBytes);
                }
                TIFFWriteTile(tiff, tileBytes.data(), static_cast<std::uint32_t>(tx), static_cast<std::uint32_t>(ty), 0, 0);
            }
        }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, options.rowsPerStrip);
        for (int y = 0; y < raster.height; ++y) {
            TIFFWriteScanline(tiff, const_cast<std::uint8_t*>(storedRow(y)), static_cast<std::uint32_t>(y), 0);
        }
    }
    TIFFClose(tiff);
    Bytes bytes = readFile(path);
    std::remove(path);
    return bytes;
}

namespace {

ColorMapObject* colourMapOf(const std::vector<Rgb>& colours) {
    if (colours.empty()) return nullptr;
    int size = 2;
    while (size < static_cast<int>(colours.size())) size *= 2;
    std::vector<GifColorType> entries(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < colours.size(); ++i) entries[i] = {colours[i].r, colours[i].g, colours[i].b};
    return GifMakeMapObject(size, entries.data());
}

}  // namespace

Bytes gifOf(int canvasWidth, int canvasHeight, const std::vector<Rgb>& globalColours,
            const std::vector<GifFrame>& frames) {
    Bytes bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(
        &bytes,
        [](GifFileType* file, const GifByteType* data, int length) {
            auto* out = static_cast<Bytes*>(file->UserData);
            out->insert(out->end(), data, data + length);
            return length;
        },
        &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = colourMapOf(globalColours);
    EGifPutScreenDesc(gif, canvasWidth, canvasHeight, 8, 0, global);
    for (const GifFrame& frame : frames) {
        if (frame.transparentIndex >= 0) {
            GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, frame.transparentIndex};
            GifByteType extension[4];
            const auto length = EGifGCBToExtension(&control, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension);
        }
        ColorMapObject* local = colourMapOf(frame.localColours);
        EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, local);
        std::vector<int> order;
        if (frame.interlaced) {
            for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
                for (int y = start; y < frame.height; y += step) order.push_back(y);
            }
        } else {
            for (int y = 0; y < frame.height; ++y) order.push_back(y);
        }
        for (const int y : order) {
            auto* line = const_cast<GifPixelType*>(frame.indices.data() + static_cast<std::size_t>(y * frame.width));
            EGifPutLine(gif, line, frame.width);
        }
        GifFreeMapObject(local);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(global);
    return bytes;
}

namespace {

void putU16(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    putU16(bytes, at, value & 0xFFFF);
    putU16(bytes, at + 2, value >> 16);
}

}  // namespace

Bytes bmpOf(int width, int height, const std::vector<Bytes>& packedRows, const BmpOptions& options) {
    const bool core = options.headerSize == 12;
    const std::size_t extraMasks = options.headerSize == 40 && !options.masks.empty() ? 4 * options.masks.size() : 0;
    const std::size_t paletteBytes = options.palette.size() * (core ? 3 : 4);
    const std::size_t dataOffset = 14 + static_cast<std::size_t>(options.headerSize) + extraMasks + paletteBytes;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * options.bitsPerPixel + 31) / 32 * 4;
    Bytes bytes(dataOffset + rowBytes * static_cast<std::size_t>(height), 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    putU32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    putU32(bytes, 10, static_cast<std::uint32_t>(dataOffset));
    putU32(bytes, 14, static_cast<std::uint32_t>(options.headerSize));
    if (core) {
        putU16(bytes, 18, static_cast<std::uint32_t>(width));
        putU16(bytes, 20, static_cast<std::uint32_t>(height));
        putU16(bytes, 22, 1);
        putU16(bytes, 24, static_cast<std::uint32_t>(options.bitsPerPixel));
    } else {
        putU32(bytes, 18, static_cast<std::uint32_t>(width));
        putU32(bytes, 22, static_cast<std::uint32_t>(options.topDown ? -height : height));
        putU16(bytes, 26, 1);
        putU16(bytes, 28, static_cast<std::uint32_t>(options.bitsPerPixel));
        putU32(bytes, 30, static_cast<std::uint32_t>(options.compression));
        putU32(bytes, 46, static_cast<std::uint32_t>(options.palette.size()));
        for (std::size_t i = 0; i < options.masks.size(); ++i) putU32(bytes, 54 + 4 * i, options.masks[i]);
    }
    std::size_t at = dataOffset - paletteBytes;
    for (const Rgb& colour : options.palette) {
        bytes[at] = colour.b;
        bytes[at + 1] = colour.g;
        bytes[at + 2] = colour.r;
        at += core ? 3 : 4;
    }
    for (int y = 0; y < height; ++y) {
        const int stored = options.topDown ? y : height - 1 - y;
        std::copy(packedRows[static_cast<std::size_t>(y)].begin(), packedRows[static_cast<std::size_t>(y)].end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(dataOffset + rowBytes * static_cast<std::size_t>(stored)));
    }
    return bytes;
}

Bytes readFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

}  // namespace mirado::test
