#include <gtest/gtest.h>

#include <string>

#include "PictureFormat.h"

namespace mirado {
namespace {

TEST(PictureFormatOf, ExtensionsInAnyLetterCase) {
    EXPECT_EQ(pictureFormatOf(u"a.bmp"), PictureFormat::Bmp);
    EXPECT_EQ(pictureFormatOf(u"a.JPG"), PictureFormat::Jpeg);
    EXPECT_EQ(pictureFormatOf(u"a.Jpeg"), PictureFormat::Jpeg);
    EXPECT_EQ(pictureFormatOf(u"a.pNg"), PictureFormat::Png);
    EXPECT_EQ(pictureFormatOf(u"a.TIFF"), PictureFormat::Tiff);
    EXPECT_EQ(pictureFormatOf(u"a.tif"), PictureFormat::Tiff);
    EXPECT_EQ(pictureFormatOf(u"a.GIF"), PictureFormat::Gif);
    EXPECT_EQ(pictureFormatOf(std::string_view("照片.JPEG")), PictureFormat::Jpeg);
}

TEST(PictureFormatOf, OnlyTheTextAfterTheLastDotCounts) {
    EXPECT_EQ(pictureFormatOf(u"holiday.png.pmpk"), PictureFormat::Unknown);
    EXPECT_EQ(pictureFormatOf(u"archive.tar.png"), PictureFormat::Png);
    EXPECT_EQ(pictureFormatOf(u"png."), PictureFormat::Unknown);
    EXPECT_EQ(pictureFormatOf(u"a.jp"), PictureFormat::Unknown);
    EXPECT_EQ(pictureFormatOf(u"a.jpgg"), PictureFormat::Unknown);
    EXPECT_EQ(pictureFormatOf(u"a. png"), PictureFormat::Unknown);
    // A dot in a folder name: the "extension" runs to the end of the path.
    EXPECT_EQ(pictureFormatOf(std::string_view("/photos.png/picture")), PictureFormat::Unknown);
}

TEST(PictureFormatOf, NameWithoutDotIsComparedWhole) {
    EXPECT_EQ(pictureFormatOf(u"png"), PictureFormat::Png);
    EXPECT_EQ(pictureFormatOf(u"picture"), PictureFormat::Unknown);
    EXPECT_EQ(pictureFormatOf(u""), PictureFormat::Unknown);
}

TEST(PictureFormatOf, OddAndOverlongExtensionsAreUnknown) {
    EXPECT_EQ(pictureFormatOf(u"a." + std::u16string(64, u'j')), PictureFormat::Unknown);
    EXPECT_EQ(pictureFormatOf(u"a." + std::u16string(100000, u'x') + u"png"), PictureFormat::Unknown);
    EXPECT_EQ(pictureFormatOf(u"a.\u0130mg"), PictureFormat::Unknown);
    EXPECT_EQ(pictureFormatOf(u"a.\uFF50ng"), PictureFormat::Unknown);  // full-width p
    EXPECT_EQ(pictureFormatOf(std::string_view("a.p\xC3\x8EG")), PictureFormat::Unknown);
    const char16_t withNull[] = {u'a', u'.', u'p', 0, u'g'};
    EXPECT_EQ(pictureFormatOf(std::u16string_view(withNull, 5)), PictureFormat::Unknown);
}

}  // namespace
}  // namespace mirado
