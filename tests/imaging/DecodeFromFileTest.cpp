#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DecodeToRgb24.h"
#include "TestPictures.h"

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

class DecodeFromFile : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("mirado-imaging-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path write(const std::string& name, const Bytes& bytes) {
        const fs::path path = folder_ / fs::u8path(name);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    fs::path folder_;
};

Raster blocks(int width, int height) {
    return rasterOf(width, height, 3, [&](int x, int y) {
        const Rgb c = colourBlock(x, y, width, height);
        return std::vector<std::uint8_t>{c.r, c.g, c.b};
    });
}

TEST_F(DecodeFromFile, EveryKindDecodesLikeFromMemory) {
    const Raster raster = blocks(32, 16);
    GifFrame frame{0, 0, 32, 16, {}, {}, -1, false};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) frame.indices.push_back(static_cast<std::uint8_t>((y >= 8 ? 2 : 0) + (x >= 16 ? 1 : 0)));
    }
    std::vector<Bytes> bmpRows;
    for (int y = 0; y < 16; ++y) {
        Bytes row;
        for (int x = 0; x < 32; ++x) {
            const Rgb c = colourBlock(x, y, 32, 16);
            row.insert(row.end(), {c.b, c.g, c.r});
        }
        bmpRows.push_back(row);
    }
    const std::vector<std::pair<std::string, Bytes>> files{
        {"a.jpg", jpegOf(raster)},
        {"b.PNG", pngOf(raster, {})},
        {"c.tif", tiffOf(raster, {})},
        {"d.gif", gifOf(32, 16, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}}, {frame})},
        {"e.bmp", bmpOf(32, 16, bmpRows, {})},
        {"照片 one.jpeg", jpegOf(raster)}};
    for (const auto& [name, bytes] : files) {
        Rgb24Picture fromFile;
        Rgb24Picture fromMemory;
        ASSERT_TRUE(decodeToRgb24(write(name, bytes), fromFile)) << name;
        ASSERT_TRUE(decodeToRgb24(bytes.data(), bytes.size(), fs::u8path(name).u16string(), fromMemory)) << name;
        EXPECT_EQ(fromFile.width, 32);
        EXPECT_EQ(fromFile.height, 16);
        EXPECT_TRUE(fromFile.pixels == fromMemory.pixels) << name;
        EXPECT_LE(largestDifference(fromFile, [](int x, int y) { return colourBlock(x, y, 32, 16); }), 3) << name;
    }
}

TEST_F(DecodeFromFile, MissingEmptyFolderAndUnknownAreRefused) {
    Rgb24Picture picture;
    EXPECT_FALSE(decodeToRgb24(folder_ / "absent.png", picture));
    EXPECT_FALSE(decodeToRgb24(write("empty.png", {}), picture));
    fs::create_directory(folder_ / "folder.png");
    EXPECT_FALSE(decodeToRgb24(folder_ / "folder.png", picture));
    EXPECT_FALSE(decodeToRgb24(write("picture.pmpk", jpegOf(blocks(8, 8))), picture));
    EXPECT_FALSE(decodeToRgb24(write("picture", jpegOf(blocks(8, 8))), picture));
    EXPECT_FALSE(decodeToRgb24(fs::path(), picture));
    EXPECT_EQ(picture.width, 0);
    EXPECT_TRUE(picture.pixels.empty());
}

TEST_F(DecodeFromFile, AFileLargerThanTheLargestPictureIsRefusedUnread) {
    // A good BMP followed by nothing (a sparse file): 401 MB could not be a picture within the budget.
    const fs::path path = write("big.bmp", bmpOf(4, 2, std::vector<Bytes>(2, Bytes(12, 9)), {}));
    Rgb24Picture picture;
    ASSERT_TRUE(decodeToRgb24(path, picture));
    fs::resize_file(path, 4 * std::uintmax_t{100'000'000} + (1u << 20) + 1);
    EXPECT_FALSE(decodeToRgb24(path, picture));
    EXPECT_EQ(picture.width, 4) << "the picture before stays";
}

TEST_F(DecodeFromFile, ANewPictureReplacesTheOld) {
    Rgb24Picture picture;
    ASSERT_TRUE(decodeToRgb24(write("big.png", pngOf(blocks(30, 20), {})), picture));
    ASSERT_TRUE(decodeToRgb24(write("small.png", pngOf(blocks(5, 3), {})), picture));
    EXPECT_EQ(picture.width, 5);
    EXPECT_EQ(picture.height, 3);
    EXPECT_EQ(picture.stride, 16);
    EXPECT_EQ(picture.pixels.size(), 48u);
    EXPECT_FALSE(decodeToRgb24(write("broken.png", Bytes{0x89, 'P', 'N', 'G'}), picture));
    EXPECT_EQ(picture.width, 5);
}

TEST_F(DecodeFromFile, StorageReusedAcrossDecodesLeavesNoTrace) {
    // Decodes reuse the storage of pictures they replaced: a picture decoded after others,
    // and after failures, must come out as it did first.
    GifFrame frame{2, 1, 3, 2, {0, 1, 0, 1, 0, 1}, {}, 1, false};
    const fs::path gif = write("sparse.gif", gifOf(9, 4, {{10, 20, 30}, {0, 0, 0}}, {frame}));
    const fs::path jpeg = write("big.jpg", jpegOf(blocks(64, 48)));
    Rgb24Picture first;
    ASSERT_TRUE(decodeToRgb24(gif, first));
    Rgb24Picture picture;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(decodeToRgb24(jpeg, picture));
        EXPECT_FALSE(decodeToRgb24(write("broken.jpg", Bytes{0xFF, 0xD8, 0xFF}), picture));
        ASSERT_TRUE(decodeToRgb24(gif, picture));
        EXPECT_TRUE(picture.pixels == first.pixels) << round;
    }
}

}  // namespace
}  // namespace mirado::test
