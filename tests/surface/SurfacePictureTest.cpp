#include <gtest/gtest.h>

#include <fstream>

#include "SurfaceTestHost.h"
#include "TestPictures.h"
#include "tests/support/TempDir.h"
#include "ui/WindowApi.h"

namespace mirado::testing {
namespace {

const QColor kBlue(30, 90, 200);
const QColor kGrey(128, 128, 128);
const QColor kBlack(0, 0, 0);

class SurfacePicture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.create(QSize(400, 400))); }

    CVideoRealWnd& surface() { return host.surface(); }
    QImage shown() { return grab(surface()).convertToFormat(QImage::Format_RGB32); }

    // The picture lies exactly on `at`, black all around it.
    void expectDrawnAt(const QImage& image, const QRect& at, QColor colour)
    {
        ASSERT_EQ(image.size(), QSize(400, 400));
        EXPECT_TRUE(allOf(image, at, colour)) << "picture area";
        const QRect all = image.rect();
        // Empty strips (a picture touching an edge) hold no pixel and pass.
        EXPECT_TRUE(allOf(image, QRect(0, 0, 400, at.top()), kBlack)) << "above";
        EXPECT_TRUE(allOf(image, QRect(0, at.bottom() + 1, 400, all.bottom() - at.bottom()), kBlack)) << "below";
        EXPECT_TRUE(allOf(image, QRect(0, 0, at.left(), 400), kBlack)) << "left";
        EXPECT_TRUE(allOf(image, QRect(at.right() + 1, 0, all.right() - at.right(), 400), kBlack)) << "right";
    }

    TempDir folder;
    SurfaceTestHost host;
};

TEST_F(SurfacePicture, LargePicturesAreFittedKeepingTheirProportions)
{
    ASSERT_TRUE(surface().showPictureFile(writeSolidPng(folder.path(), "wide.png", 1000, 500, kBlue)));
    EXPECT_TRUE(surface().isPictureShown());
    expectDrawnAt(shown(), QRect(0, 100, 400, 200), kBlue);

    ASSERT_TRUE(surface().showPictureFile(writeSolidPng(folder.path(), "tall.png", 500, 1000, kBlue)));
    expectDrawnAt(shown(), QRect(100, 0, 200, 400), kBlue);
}

TEST_F(SurfacePicture, SmallPicturesAreCentredAtTheirOwnSizeAndExactOnesFillTheArea)
{
    ASSERT_TRUE(surface().showPictureFile(writeSolidPng(folder.path(), "small.png", 100, 50, kBlue)));
    expectDrawnAt(shown(), QRect(150, 175, 100, 50), kBlue);

    ASSERT_TRUE(surface().showPictureFile(writeSolidPng(folder.path(), "exact.png", 400, 400, kBlue)));
    expectDrawnAt(shown(), QRect(0, 0, 400, 400), kBlue);
}

TEST_F(SurfacePicture, ContainerWatermarkSitsInItsCornerAndLooksTheSameAfterEveryRedraw)
{
    // 300 x 200 grey, "水印AB" in red along the bottom edge, right-aligned, a tenth of the height.
    const DecipheredPicture picture = encipherAndReadBack(writeSolidPng(folder.path(), "grey.png", 300, 200, kGrey),
                                                          folder.path(), u"水印AB", 3, 1, 2);
    ASSERT_TRUE(surface().showPictureBuffer(picture.payload.data(), picture.payload.size(), picture.record.sourceName,
                                            picture.record.watermarkText, picture.record.watermarkPosition,
                                            picture.record.watermarkColour, picture.record.watermarkFontSize));
    const QRect at(50, 100, 300, 200);
    const QImage first = shown();
    const PixelSpread red = spreadOf(first, first.rect(), &isReddish);
    EXPECT_GT(red.count, 30);
    EXPECT_TRUE(at.contains(red.box)) << "nothing outside the picture";
    EXPECT_GE(red.box.left(), at.left() + 150) << "right half";
    EXPECT_LE(red.box.right(), at.right() - 5 + 1) << "5 pixels from the right edge";
    EXPECT_GE(red.box.top(), at.bottom() + 1 - 20) << "inside the 20-row strip at the bottom";
    EXPECT_TRUE(allOf(first, QRect(at.left(), at.top(), 300, 180), kGrey)) << "the rest of the picture untouched";

    // The mark is blended once, not at every redraw: the text's soft edges do not thicken.
    surface().requestRedraw();
    const QImage second = shown();
    surface().requestRedraw();
    const QImage third = shown();
    EXPECT_EQ(second.copy(at), first.copy(at));
    EXPECT_EQ(third.copy(at), first.copy(at));

    // Wider: the same picture moves to the middle and looks the same.
    SetWindowPos(surface().GetHWND(), nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOMOVE);
    const QImage wider = grab(surface()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(wider.size(), QSize(500, 400));
    EXPECT_EQ(wider.copy(at.translated(50, 0)), first.copy(at));
}

TEST_F(SurfacePicture, ATurnedPhotoIsShownUprightWithItsWatermarkInTheCornerAsSeen)
{
    // Stored 300 x 200 with a blue block at its stored top left; EXIF orientation 6 turns it a quarter
    // to the right, so it is seen 200 x 300 with the block at the top right.
    QImage stored(300, 200, QImage::Format_RGB32);
    stored.fill(kGrey);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            stored.setPixelColor(x, y, kBlue);
    const std::filesystem::path plain = folder.path() / "turned-plain.jpg";
    ASSERT_TRUE(stored.save(QString::fromStdString(plain.string()), "JPG", 95));
    std::ifstream in(plain, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const char exif[] = {'\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1,
                         1, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0};
    bytes.insert(2, exif, sizeof exif);
    const std::filesystem::path turned = folder.path() / "turned.jpg";
    std::ofstream(turned, std::ios::binary) << bytes;

    const DecipheredPicture picture = encipherAndReadBack(turned, folder.path(), u"水印AB", 3, 1, 2);
    ASSERT_TRUE(surface().showPictureBuffer(picture.payload.data(), picture.payload.size(), picture.record.sourceName,
                                            picture.record.watermarkText, picture.record.watermarkPosition,
                                            picture.record.watermarkColour, picture.record.watermarkFontSize));
    const QImage image = shown();
    const QRect at(100, 50, 200, 300);  // upright, at its own size, centred
    EXPECT_TRUE(allOf(image, QRect(0, 0, 100, 400), kBlack));
    const PixelSpread blue = spreadOf(image, image.rect(), [](QColor c) { return c.blue() > 150 && c.red() < 90; });
    // A lossy format: the block's edges may shift by a pixel.
    EXPECT_NEAR(blue.box.left(), at.right() - 39, 2);
    EXPECT_NEAR(blue.box.right(), at.right(), 1);
    EXPECT_NEAR(blue.box.top(), at.top(), 1);
    EXPECT_NEAR(blue.box.bottom(), at.top() + 39, 2);
    const PixelSpread red = spreadOf(image, image.rect(), &isReddish);
    EXPECT_GT(red.count, 30);
    EXPECT_GE(red.box.left(), at.left() + 100) << "right half of the picture as seen";
    EXPECT_LE(red.box.right(), at.right() - 5 + 1);
    EXPECT_GE(red.box.top(), at.bottom() + 1 - 30) << "inside the 30-row strip at the bottom as seen";
    EXPECT_LE(red.box.bottom(), at.bottom());
}

TEST_F(SurfacePicture, PlainPicturesAndContainersWithoutTextCarryNoWatermark)
{
    const auto grey = writeSolidPng(folder.path(), "grey.png", 300, 200, kGrey);
    const DecipheredPicture marked = encipherAndReadBack(grey, folder.path(), u"水印AB", 3, 1, 2);
    ASSERT_TRUE(surface().showPictureBuffer(marked.payload.data(), marked.payload.size(), marked.record.sourceName,
                                            marked.record.watermarkText, 3, 1, 2));
    ASSERT_GT(spreadOf(shown(), QRect(0, 0, 400, 400), &isReddish).count, 0);

    // A plain file after a marked picture: the old text must not come back.
    ASSERT_TRUE(surface().showPictureFile(grey));
    EXPECT_TRUE(allOf(shown(), QRect(50, 100, 300, 200), kGrey));

    const DecipheredPicture unmarked = encipherAndReadBack(grey, folder.path(), u"", 3, 1, 2);
    ASSERT_TRUE(surface().showPictureBuffer(unmarked.payload.data(), unmarked.payload.size(),
                                            unmarked.record.sourceName, unmarked.record.watermarkText, 3, 1, 2));
    EXPECT_TRUE(allOf(shown(), QRect(50, 100, 300, 200), kGrey));
}

TEST_F(SurfacePicture, UndecodableInputLeavesThePictureOnShow)
{
    ASSERT_TRUE(surface().showPictureFile(writeSolidPng(folder.path(), "small.png", 100, 50, kBlue)));
    const QImage before = shown();

    const auto broken = folder / "broken.png";
    std::ofstream(broken) << "not a picture at all";
    EXPECT_FALSE(surface().showPictureFile(broken));
    EXPECT_FALSE(surface().showPictureFile(folder / "missing.png"));
    EXPECT_FALSE(surface().showPictureBuffer(nullptr, 0, u"x.png", u"", 0, 0, 0));
    const std::vector<std::uint8_t> garbage(600, 0x5A);
    EXPECT_FALSE(surface().showPictureBuffer(garbage.data(), garbage.size(), u"clip.jpg", u"水印", 0, 1, 0));
    const DecipheredPicture valid =
        encipherAndReadBack(writeSolidPng(folder.path(), "red.png", 40, 40, Qt::red), folder.path(), u"", 0, 0, 0);
    EXPECT_FALSE(surface().showPictureBuffer(valid.payload.data(), valid.payload.size(), u"red.txt", u"", 0, 0, 0))
        << "the kind comes from the source name";

    EXPECT_TRUE(surface().isPictureShown());
    EXPECT_EQ(shown(), before);
}

TEST_F(SurfacePicture, StopPictureBringsBackTheNoVideoNote)
{
    ASSERT_TRUE(surface().showPictureFile(writeSolidPng(folder.path(), "exact.png", 400, 400, kBlue)));
    ASSERT_TRUE(allOf(shown(), QRect(0, 0, 400, 400), kBlue));
    surface().stopPicture();
    EXPECT_FALSE(surface().isPictureShown());
    const QImage after = shown();
    EXPECT_EQ(spreadOf(after, after.rect(), [](QColor c) { return c.blue() > 150 && c.red() < 60; }).count, 0);
    const PixelSpread text = spreadOf(after, after.rect(), [](QColor c) { return c.lightness() > 200; });
    EXPECT_GT(text.count, 20) << "the white note";
    EXPECT_TRUE(QRect(100, 150, 200, 100).contains(text.box)) << "centred";
}

TEST_F(SurfacePicture, AnAreaWithoutHeightDrawsNothingUntilItHasSome)
{
    SetWindowPos(surface().GetHWND(), nullptr, 0, 0, 400, 0, SWP_NOZORDER | SWP_NOMOVE);
    ASSERT_TRUE(surface().showPictureFile(writeSolidPng(folder.path(), "small.png", 100, 50, kBlue)));
    runFor(100); // the redraw timer ticks with nothing to draw on
    SetWindowPos(surface().GetHWND(), nullptr, 0, 0, 400, 400, SWP_NOZORDER | SWP_NOMOVE);
    expectDrawnAt(shown(), QRect(150, 175, 100, 50), kBlue);
}

} // namespace
} // namespace mirado::testing
