// Pictures as other programs make them (ImageMagick, exiftool, tiffcp, tiffset), decoded here and
// compared pixel by pixel with a reference decoder: ImageMagick with its auto-orient, and libjpeg's
// own djpeg for truncated JPEGs.
#include <gtest/gtest.h>

#include <fstream>
#include <algorithm>
#include <cstdlib>

#include "DecodeToRgb24.h"
#include "TestPictures.h"
#include "tests/support/RunProcess.h"
#include "tests/support/TempDir.h"

namespace mirado::test {
namespace {

using mirado::testing::runProcess;

// A decoded picture in the reference's terms: width, height and top-down RGB samples.
struct Reference {
    int width = 0;
    int height = 0;
    Bytes rgb;
};

Reference readPpm(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Reference reference;
    file >> magic >> reference.width >> reference.height >> maxValue;
    file.get();
    if (magic != "P6" || maxValue != 255) return {};
    reference.rgb.resize(3 * static_cast<std::size_t>(reference.width) * reference.height);
    file.read(reinterpret_cast<char*>(reference.rgb.data()), static_cast<std::streamsize>(reference.rgb.size()));
    return file ? reference : Reference{};
}

class PictureCorpus : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    void run(const std::string& program, const std::vector<std::string>& arguments) {
        const auto result = runProcess(program, arguments);
        ASSERT_EQ(result.exitCode, 0) << program << ": " << result.err;
    }

    // The source every picture is made from: four coloured blocks with a gradient over them, so each of
    // the eight orientations shows differently and the size tells a turn by a quarter.
    std::string source(int width, int height) {
        const std::string name = path("source-" + std::to_string(width) + "x" + std::to_string(height) + ".ppm");
        std::ofstream file(name, std::ios::binary);
        file << "P6\n" << width << ' ' << height << "\n255\n";
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb c = colourBlock(x, y, width, height);
                file.put(static_cast<char>(c.r / 2 + x)).put(static_cast<char>(c.g / 2 + y)).put(static_cast<char>(c.b / 2));
            }
        }
        return name;
    }

    // ImageMagick warns (and exits with 1) about some valid files, e.g. a run-length BMP that ends its
    // picture early, but writes the picture all the same: what it wrote is the reference.
    static Reference magickReference(const std::string& picture) {
        const std::string out = picture + ".ref.ppm";
        const auto result = runProcess("/usr/bin/convert", {picture, "-auto-orient", "-depth", "8", "ppm:" + out});
        const Reference reference = readPpm(out);
        EXPECT_GT(reference.width, 0) << result.err;
        return reference;
    }

    // Largest channel difference between our decode and the reference; -1 when the sizes differ or the
    // picture was refused.
    static int difference(const std::string& picture, const Reference& reference, std::u16string_view name) {
        const Bytes bytes = readFile(picture);
        Rgb24Picture decoded;
        if (!decodeToRgb24(bytes.data(), bytes.size(), name, decoded)) return -1;
        if (decoded.width != reference.width || decoded.height != reference.height) return -1;
        int largest = 0;
        for (int y = 0; y < decoded.height; ++y) {
            for (int x = 0; x < decoded.width; ++x) {
                const Rgb ours = pixelOf(decoded, x, y);
                const std::uint8_t* theirs = &reference.rgb[3 * (static_cast<std::size_t>(y) * decoded.width + x)];
                largest = std::max({largest, std::abs(ours.r - theirs[0]), std::abs(ours.g - theirs[1]),
                                    std::abs(ours.b - theirs[2])});
            }
        }
        return largest;
    }

    mirado::testing::TempDir folder_;
};

TEST_F(PictureCorpus, JpegsShowTheirExifOrientation) {
    const std::string plain = path("photo.jpg");
    run("/usr/bin/convert", {source(48, 32), "-quality", "95", plain});
    // One exiftool run writes all eight (each -execute starts the next command).
    std::vector<std::string> tagging{"-q", "-overwrite_original", "-n"};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string photo = path("photo-" + std::to_string(orientation) + ".jpg");
        std::filesystem::copy_file(plain, photo);
        if (orientation > 1) tagging.insert(tagging.end(), {"-execute", "-q", "-overwrite_original", "-n"});
        tagging.insert(tagging.end(), {"-Orientation=" + std::to_string(orientation), photo});
    }
    run("/usr/bin/exiftool", tagging);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string photo = path("photo-" + std::to_string(orientation) + ".jpg");
        const Reference reference = magickReference(photo);
        ASSERT_EQ(reference.width, orientation >= 5 ? 32 : 48) << orientation;
        // The same library decodes both; a lossy format still leaves room for rounding.
        const int difference = PictureCorpus::difference(photo, reference, u"photo.jpg");
        EXPECT_LE(difference, 2) << "orientation " << orientation;
        EXPECT_GE(difference, 0) << "orientation " << orientation;
    }
}

TEST_F(PictureCorpus, TiffsShowAllEightOrientations) {
    const std::string plain = path("scan.tif");
    run("/usr/bin/convert", {source(30, 20), "-compress", "none", plain});
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string scan = path("scan-" + std::to_string(orientation) + ".tif");
        std::filesystem::copy_file(plain, scan);
        run("/usr/bin/tiffset", {"-s", "274", std::to_string(orientation), scan});
        const Reference reference = magickReference(scan);
        ASSERT_EQ(reference.width, orientation >= 5 ? 20 : 30) << orientation;
        EXPECT_EQ(difference(scan, reference, u"scan.tif"), 0) << "orientation " << orientation;
    }
}

TEST_F(PictureCorpus, TiffLayoutsOfTiffcpAndImageMagick) {
    const std::string plain = path("layout.tif");
    run("/usr/bin/convert", {source(37, 23), "-compress", "none", plain});
    const std::vector<std::vector<std::string>> layouts{
        {"-c", "lzw"}, {"-c", "zip"}, {"-c", "packbits"}, {"-t", "-w", "16", "-l", "16"}, {"-p", "separate"},
        {"-r", "3"}, {"-r", "16", "-c", "jpeg:90"}};
    int number = 0;
    for (const auto& layout : layouts) {
        const std::string copy = path("layout-" + std::to_string(number++) + ".tiff");
        std::vector<std::string> arguments = layout;
        arguments.insert(arguments.end(), {plain, copy});
        run("/usr/bin/tiffcp", arguments);
        const bool lossy = layout.back() == "jpeg:90";
        EXPECT_LE(difference(copy, magickReference(copy), u"layout.tiff"), lossy ? 2 : 0) << layout.back();
        EXPECT_GE(difference(copy, magickReference(copy), u"layout.tiff"), 0) << layout.front() << layout.back();
    }
    for (const std::string type : {"Palette", "Grayscale", "Bilevel"}) {
        const std::string made = path("type-" + type + ".tif");
        run("/usr/bin/convert", {source(37, 23), "-type", type, made});
        // A palette's 16-bit entries: libtiff keeps their high byte, ImageMagick rounds.
        const int tolerance = type == std::string("Palette") ? 1 : 0;
        EXPECT_LE(difference(made, magickReference(made), u"made.tif"), tolerance) << type;
        EXPECT_GE(difference(made, magickReference(made), u"made.tif"), 0) << type;
    }
}

TEST_F(PictureCorpus, RunLengthBmps) {
    // ImageMagick writes 8-bit run-length BMPs itself.
    const std::string rle8 = path("rle8.bmp");
    run("/usr/bin/convert", {source(41, 19), "-colors", "200", "-compress", "RLE", "bmp3:" + rle8});
    const Bytes bytes = readFile(rle8);
    ASSERT_GT(bytes.size(), 34u);
    ASSERT_EQ(bytes[30], 1) << "ImageMagick wrote a run-length picture";
    EXPECT_EQ(difference(rle8, magickReference(rle8), u"rle8.bmp"), 0);

    // 4-bit ones it only reads: this one has runs, stored pixels (even and odd counts), a jump over
    // pixels, a row ended early and an end of picture before the last row.
    BmpOptions options;
    options.bitsPerPixel = 4;
    options.compression = 2;
    options.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {9, 99, 199}};
    Bytes rle4 = bmpOf(10, 5, std::vector<Bytes>(5, Bytes(8, 0)), options);
    const std::size_t dataOffset = rle4[10] | rle4[11] << 8;
    rle4.resize(dataOffset);
    const Bytes stream{
        10, 0x12,                      // row 0 (the bottom): 1 2 1 2 ...
        0, 0,                          // end of row
        3, 0x34, 0, 5, 0x51, 0x23, 0x40, 0,  // row 1: 3 4 3, then 5 stored pixels 5 1 2 3 4 (padded)
        0, 0,
        0, 2, 4, 1,                    // jump 4 right, 1 down: row 2 stays palette 0
        4, 0x55,                       // row 3 from x 4: 5 5 5 5
        0, 0,
        0, 4, 0x12, 0x34,              // row 4: 4 stored pixels 1 2 3 4
        0, 1};                         // end of picture
    rle4.insert(rle4.end(), stream.begin(), stream.end());
    const auto putU32 = [&](std::size_t at, std::size_t value) {
        for (int i = 0; i < 4; ++i) rle4[at + i] = static_cast<std::uint8_t>(value >> 8 * i);
    };
    putU32(2, rle4.size());
    putU32(34, stream.size());
    const std::string rle4Path = path("rle4.bmp");
    std::ofstream(rle4Path, std::ios::binary).write(reinterpret_cast<const char*>(rle4.data()),
                                                    static_cast<std::streamsize>(rle4.size()));
    EXPECT_EQ(difference(rle4Path, magickReference(rle4Path), u"rle4.bmp"), 0);
}

TEST_F(PictureCorpus, TruncatedJpegsShowWhatWasDecodedAsLibjpegDoes) {
    for (const bool progressive : {false, true}) {
        const std::string whole = path(progressive ? "whole-p.jpg" : "whole.jpg");
        std::vector<std::string> arguments{source(96, 64), "-quality", "90"};
        if (progressive) arguments.insert(arguments.end(), {"-interlace", "JPEG"});
        arguments.push_back(whole);
        run("/usr/bin/convert", arguments);
        Bytes bytes = readFile(whole);
        // Baseline: cut inside its one scan. Progressive: a little way into its third scan, so that
        // every pixel has its first, coarse coefficients.
        std::vector<std::size_t> scans;
        for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
            if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) scans.push_back(i);
        }
        ASSERT_GE(scans.size(), progressive ? 3u : 1u);
        bytes.resize(progressive ? scans[2] + 40 : bytes.size() * 3 / 5);
        const std::string cut = whole + ".cut.jpg";
        std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<std::streamsize>(bytes.size()));
        const std::string out = cut + ".ppm";
        // djpeg warns of the early end and writes the picture all the same.
        const auto djpeg = runProcess("/usr/bin/djpeg", {"-outfile", out, cut});
        const Reference reference = readPpm(out);
        ASSERT_EQ(reference.width, 96) << djpeg.err;
        EXPECT_EQ(difference(cut, reference, u"cut.jpg"), 0) << "progressive " << progressive;
        if (!progressive) {
            // Grey below what the data held.
            const std::uint8_t* last = &reference.rgb[reference.rgb.size() - 3];
            EXPECT_EQ((Rgb{last[0], last[1], last[2]}), (Rgb{128, 128, 128}));
        }
    }
}

}  // namespace
}  // namespace mirado::test
