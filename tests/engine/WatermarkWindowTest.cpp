#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "TestMedia.h"
#include "engine/VideoWidget.h"
#include "engine/avplayer.h"
#include "imaging/Rgb24Picture.h"
#include "imaging/WatermarkRenderer.h"

namespace mirado::testing {
namespace {

// Where pixels of one colour lie in a picture.
struct Spread {
    int count = 0;
    QRect box;
};

template <typename Test>
Spread spreadOf(const QImage& image, Test matches) {
    Spread spread;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!matches(image.pixelColor(x, y))) continue;
            ++spread.count;
            spread.box |= QRect(x, y, 1, 1);
        }
    }
    return spread;
}

bool isRed(const QColor& c) { return c.red() > 170 && c.green() < 90 && c.blue() < 90; }
bool isCyan(const QColor& c) { return c.red() < 90 && c.green() > 170 && c.blue() > 170; }
bool isGrey(const QColor& c) { return std::abs(c.red() - 128) < 24 && std::abs(c.green() - 128) < 24; }
bool isBlack(const QColor& c) { return c.red() < 16 && c.green() < 16 && c.blue() < 16; }

// A window showing a paused grey protected video with a watermark.
class WatermarkWindowTest : public ::testing::Test {
protected:
    void show(int width, int height, std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize,
              bool sealed = false) {
        host.resize(width, height);
        host.show();
        ASSERT_EQ(player.subclasswindow(&host, 1), 1);
        auto& media = TestMedia::instance();
        if (sealed) {
            const auto container = media.seal(media.grey(), u"Sealed2026", u"水印AB", position, colour, fontSize);
            ASSERT_EQ(openSealed(player, reader, container, u"Sealed2026"), 1);
        } else {
            const ContainerKey key = testKey(20);
            const auto container = media.encipher(media.grey(), key, u"水印AB", position, colour, fontSize);
            ASSERT_EQ(openContainer(player, reader, container, key), 1);
        }
        player.play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return player.play_status() == 1; }));
        player.pause();
    }

    // The picture as the window shows it, once a frame has arrived.
    QImage frame() {
        auto* surface = host.findChild<mirado::VideoWidget*>();
        if (surface == nullptr) return {};
        QImage image;
        waitFor([&] {
            image = surface->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
            return spreadOf(image, isGrey).count > image.width() * image.height() / 4;
        });
        return image;
    }

    QWidget host;
    avplayer player;
    ContainerReader reader;
};

// The watermark's red pixels as the real engine draws them over the grey 320 x 240 video in a window of
// the video's size, and as the picture renderer draws them over a grey picture of that size.
class WatermarkLikeAPicture : public ::testing::Test {
protected:
    static Spread onVideo(std::u16string_view text, std::uint8_t position, std::uint8_t fontSize) {
        QWidget host;
        host.resize(320, 240);
        host.show();
        ContainerReader reader;
        avplayer player;
        if (player.subclasswindow(&host, 1) != 1) return {};
        const ContainerKey key = testKey(21);
        const auto container = TestMedia::instance().encipher(TestMedia::instance().grey(), key, text, position, 1, fontSize);
        if (openContainer(player, reader, container, key) != 1) return {};
        player.play(0.0, 0);
        if (!waitFor([&] { return player.play_status() == 1; })) return {};
        player.pause();
        auto* surface = host.findChild<mirado::VideoWidget*>();
        QImage image;
        waitFor([&] {
            image = surface->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
            return image.size() == QSize(320, 240) && spreadOf(image, isGrey).count > 320 * 240 / 4;
        });
        spin(100);  // a later frame of a paused video is the same frame
        image = surface->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        player.stop();
        player.close();
        return spreadOf(image, isRed);
    }

    static Spread onPicture(std::u16string_view text, std::uint8_t position, std::uint8_t fontSize) {
        Rgb24Picture picture;
        if (!picture.allocate(320, 240)) return {};
        std::fill(picture.pixels.begin(), picture.pixels.end(), 128);
        WatermarkRenderer renderer;
        renderer.prepare(320, 240, fontSize);
        renderer.blendInto(text, position, 1, picture.pixels.data(), 320, 240);
        const QImage image = QImage(picture.pixels.data(), 320, 240, picture.stride, QImage::Format_BGR888).mirrored();
        return spreadOf(image, isRed);
    }
};

// The same choice gives the same text height and margins on a video as on a picture of its size.
TEST_F(WatermarkLikeAPicture, TextHeightAndMarginsMatchThePictures) {
    struct Case { std::uint8_t position, fontSize; };
    for (const Case c : {Case{0, 2}, Case{3, 1}, Case{1, 0}, Case{2, 3}}) {
        const Spread video = onVideo(u"水印Ag", c.position, c.fontSize);
        const Spread picture = onPicture(u"水印Ag", c.position, c.fontSize);
        ASSERT_GT(picture.count, 20) << int(c.position) << "/" << int(c.fontSize);
        EXPECT_NEAR(video.box.top(), picture.box.top(), 2) << int(c.position) << "/" << int(c.fontSize);
        EXPECT_NEAR(video.box.bottom(), picture.box.bottom(), 2) << int(c.position) << "/" << int(c.fontSize);
        EXPECT_NEAR(video.box.left(), picture.box.left(), 2) << int(c.position) << "/" << int(c.fontSize);
        EXPECT_NEAR(video.box.right(), picture.box.right(), 2) << int(c.position) << "/" << int(c.fontSize);
    }
}

// Control characters other than line breaks show as spaces; the filter never sees them (a tab used to
// kill the process). Every code point, in groups, against the same text with spaces.
TEST_F(WatermarkLikeAPicture, ControlCharactersShowAsSpacesAndLineBreaksBreakLines) {
    std::u16string controls;
    for (char16_t c = 1; c < 0x20; ++c) {
        if (c != u'\n' && c != u'\r') controls.push_back(c);
    }
    controls.push_back(0x7F);
    for (std::size_t first = 0; first < controls.size(); first += 8) {
        std::u16string text = u"A", spaced = u"A";
        for (std::size_t i = first; i < std::min(controls.size(), first + 8); ++i) {
            text += controls[i], text += u'B';
            spaced += u' ', spaced += u'B';
        }
        const Spread shown = onVideo(text, 0, 2);
        const Spread expected = onVideo(spaced, 0, 2);
        ASSERT_GT(expected.count, 40);
        EXPECT_EQ(shown.count, expected.count) << "from U+" << std::hex << int(controls[first]);
        EXPECT_EQ(shown.box, expected.box) << "from U+" << std::hex << int(controls[first]);
    }
    const Spread oneLine = onVideo(u"AB", 0, 1);
    const Spread twoLines = onVideo(u"A\nB", 0, 1);
    EXPECT_GT(twoLines.box.height(), oneLine.box.height() * 3 / 2);
    for (const std::u16string_view lineBreak : {u"A\rB", u"A\r\nB"}) {
        const Spread shown = onVideo(lineBreak, 0, 1);
        EXPECT_EQ(shown.box, twoLines.box);
        EXPECT_EQ(shown.count, twoLines.count);
    }
}

// What the filter would read as expansions, escapes or option separators is drawn as typed: as wide as
// the picture renderer draws it.
TEST_F(WatermarkLikeAPicture, TheFiltersSpecialCharactersAreDrawnAsTyped) {
    for (const std::u16string_view text : {u"%{pts}%{n}", u"a\\b\\\\c", u"x:y='z'", u"{%}\\n"}) {
        const Spread video = onVideo(text, 0, 2);
        const Spread picture = onPicture(text, 0, 2);
        ASSERT_GT(picture.count, 20);
        EXPECT_NEAR(video.box.width(), picture.box.width(), 3) << QString::fromStdU16String(std::u16string(text)).toStdString();
        EXPECT_NEAR(video.box.left(), picture.box.left(), 2);
    }
}

TEST_F(WatermarkWindowTest, SitsInTheChosenCornerOfThePicture) {
    show(320, 240, 3, 1, 2);  // bottom right, red, a tenth of the height
    const QImage image = frame();
    ASSERT_EQ(image.size(), QSize(320, 240));
    const Spread red = spreadOf(image, isRed);
    EXPECT_GT(red.count, 60);
    EXPECT_GE(red.box.left(), 160);
    EXPECT_LE(red.box.right(), 320 - 5);
    EXPECT_GE(red.box.top(), 240 - 5 - 24 - 4);
    EXPECT_LE(red.box.bottom(), 240 - 5 + 1);
    EXPECT_GE(red.box.height(), 24 / 2);  // the text is about a tenth of the picture high
}

TEST_F(WatermarkWindowTest, ASealedContainersWatermarkIsDrawnInItsCornerBeforeAndAfterASeek) {
    show(320, 240, 1, 1, 2, true);  // top right, red, a tenth of the height
    const Spread red = spreadOf(frame(), isRed);
    EXPECT_GT(red.count, 60);
    EXPECT_GE(red.box.left(), 160);
    EXPECT_LE(red.box.bottom(), 5 + 24 + 4);
    ASSERT_EQ(player.seek_to(0.9), 1);
    ASSERT_TRUE(waitFor([&] { return player.curr_play_time() > 1.5; }))
        << "status " << player.play_status() << ", at " << player.curr_play_time() << " s";
    spin(200);
    EXPECT_EQ(spreadOf(frame(), isRed).box, red.box);
    EXPECT_EQ(player.play_status(), 2);
}

TEST_F(WatermarkWindowTest, StaysOnThePictureInAWiderWindowAndThroughResizeAndSeek) {
    show(320, 240, 0, 4, 1);  // top left, cyan, a strip of a fifteenth of the height (16 pixels)
    Spread cyan = spreadOf(frame(), isCyan);
    EXPECT_GT(cyan.count, 20);
    EXPECT_GE(cyan.box.left(), 5 - 1);
    EXPECT_LE(cyan.box.right(), 160);
    EXPECT_GE(cyan.box.top(), 1);
    EXPECT_LE(cyan.box.bottom(), 16);

    // Twice as wide: the picture stands in the middle (x 160..479) with black on both sides.
    host.resize(640, 240);
    QImage wide;
    ASSERT_TRUE(waitFor([&] {
        wide = frame();
        return wide.size() == QSize(640, 240);
    }));
    EXPECT_TRUE(isBlack(wide.pixelColor(40, 120)));
    EXPECT_TRUE(isBlack(wide.pixelColor(600, 120)));
    cyan = spreadOf(wide, isCyan);
    EXPECT_GT(cyan.count, 20);
    EXPECT_GE(cyan.box.left(), 160 + 5 - 1);
    EXPECT_LE(cyan.box.right(), 160 + 160);
    EXPECT_LE(cyan.box.bottom(), 16);

    ASSERT_EQ(player.seek_to(0.5), 1);
    ASSERT_TRUE(waitFor([&] { return player.curr_play_time() > 0.7; }));
    spin(200);
    const Spread afterSeek = spreadOf(frame(), isCyan);
    EXPECT_GT(afterSeek.count, 20);
    EXPECT_EQ(afterSeek.box, cyan.box);
    EXPECT_EQ(player.play_status(), 2);
}

TEST_F(WatermarkWindowTest, PictureComesBackWhenTheWindowMovesToItsOwnTopLevel) {
    QWidget frameWindow;
    frameWindow.resize(400, 300);
    host.setParent(&frameWindow);
    frameWindow.show();
    show(320, 240, 3, 1, 2);
    EXPECT_GT(spreadOf(frame(), isRed).count, 60);
    player.seek_to(0.5);
    ASSERT_TRUE(waitFor([&] { return player.curr_play_time() > 0.7; }));
    const double at = player.curr_play_time();

    // What full screen does to the video surface: it leaves its parent and becomes a window of its own.
    host.setParent(nullptr);
    host.resize(320, 240);
    host.show();
    QImage again;
    ASSERT_TRUE(waitFor([&] {
        again = frame();
        return !again.isNull() && spreadOf(again, isRed).count > 60;
    }));
    // Where it was, and still paused.
    EXPECT_TRUE(waitFor([&] { return player.play_status() == 2 && std::abs(player.curr_play_time() - at) < 0.2; }));
}

}  // namespace
}  // namespace mirado::testing
