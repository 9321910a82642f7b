#include <gtest/gtest.h>

#include <QImage>
#include <QOpenGLWidget>
#include <QWidget>

#include "TestMedia.h"
#include "engine/avplayer.h"

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
        auto* surface = host.findChild<QOpenGLWidget*>();
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
    ASSERT_TRUE(waitFor([&] { return player.curr_play_time() > 1.5; }));
    spin(200);
    EXPECT_EQ(spreadOf(frame(), isRed).box, red.box);
    EXPECT_EQ(player.play_status(), 2);
}

TEST_F(WatermarkWindowTest, StaysOnThePictureInAWiderWindowAndThroughResizeAndSeek) {
    show(320, 240, 0, 4, 0);  // top left, cyan, a twentieth of the height
    Spread cyan = spreadOf(frame(), isCyan);
    EXPECT_GT(cyan.count, 10);
    EXPECT_GE(cyan.box.left(), 5 - 1);
    EXPECT_LE(cyan.box.right(), 160);
    EXPECT_GE(cyan.box.top(), 5 - 1);
    EXPECT_LE(cyan.box.bottom(), 5 + 12 + 2);

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
    EXPECT_GT(cyan.count, 10);
    EXPECT_GE(cyan.box.left(), 160 + 5 - 1);
    EXPECT_LE(cyan.box.right(), 160 + 160);
    EXPECT_LE(cyan.box.bottom(), 5 + 12 + 2);

    ASSERT_EQ(player.seek_to(0.5), 1);
    ASSERT_TRUE(waitFor([&] { return player.curr_play_time() > 0.7; }));
    spin(200);
    const Spread afterSeek = spreadOf(frame(), isCyan);
    EXPECT_GT(afterSeek.count, 10);
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
