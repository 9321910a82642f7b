// The video in a real X window (Mesa's software OpenGL under Xvfb): the engine's picture lies in
// the surface and must keep playing, watermark included, when the surface leaves the main window
// for full screen, comes back, or changes size.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>

#include "SurfaceTestHost.h"
#include "surface/CPlayBarFrame.h"
#include "TestPictures.h"
#include "tests/engine/TestMedia.h"
#include "engine/VideoWidget.h"
#include "ui/WindowApi.h"

namespace mirado::testing {
namespace {

namespace fs = std::filesystem;

// Eight seconds of grey: long enough to go in and out of full screen while it plays.
const fs::path& longGreyClip()
{
    static const fs::path clip = [] {
        const fs::path out = TestMedia::instance().folder() / "long-grey.mp4";
        const std::string command = "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
                                    "color=c=gray:size=320x240:rate=25:duration=8 -c:v libx264 -preset ultrafast "
                                    "-g 25 -pix_fmt yuv420p '" + out.string() + "'";
        if (std::system(command.c_str()) != 0)
            std::abort();
        return out;
    }();
    return clip;
}

class VideoInSurface : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.create(QSize(320, 240)));
        ASSERT_EQ(host.engine().subclasswindow(host.surface().GetHWND(), 1), 1);
        const ContainerKey key = testKey(7);
        // Red, along the bottom edge on the right, a tenth of the picture high.
        const fs::path container = TestMedia::instance().encipher(longGreyClip(), key, u"水印AB", 3, 1, 2);
        ASSERT_EQ(openContainer(host.engine(), reader, container, key), 1);
        host.engine().play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return host.engine().play_status() == 1 && host.engine().curr_play_time() > 0.2; }));
    }

    // How many red watermark pixels the surface's video shows once a frame of `size` is there.
    int redPixels(QSize size)
    {
        int count = 0;
        waitFor([&] {
            auto* video = host.surface().GetHWND()->findChild<VideoWidget*>();
            if (video == nullptr || !video->isVisible() || video->size() != size)
                return false;
            const QImage frame = video->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
            count = spreadOf(frame, frame.rect(), &isReddish).count;
            return count > 60;
        });
        return count;
    }

    // The engine is playing and its clock moves on.
    bool keepsPlaying()
    {
        const double from = host.engine().curr_play_time();
        return waitFor([&] { return host.engine().play_status() == 1 && host.engine().curr_play_time() > from + 0.3; });
    }

    QSize screen() { return QSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)); }

    SurfaceTestHost host;
    ContainerReader reader;
};

TEST_F(VideoInSurface, KeepsPlayingWithItsWatermarkThroughFullScreenAndBack)
{
    EXPECT_GT(redPixels(QSize(320, 240)), 60);

    doubleClickAt(host.surface(), QPoint(160, 120));
    ASSERT_TRUE(host.surface().isFullScreen());
    EXPECT_GT(redPixels(screen()), 60);
    EXPECT_EQ(host.surface().GetHWND()->geometry(), QRect(QPoint(0, 0), screen()));
    EXPECT_TRUE(keepsPlaying());

    pressKey(host.surface(), Qt::Key_Escape);
    ASSERT_FALSE(host.surface().isFullScreen());
    EXPECT_EQ(host.surface().GetHWND()->geometry(),
              QRect(SurfaceTestHost::kSurfaceX, SurfaceTestHost::kSurfaceY, 320, 240));
    EXPECT_GT(redPixels(QSize(320, 240)), 60);
    EXPECT_TRUE(keepsPlaying());

    SetWindowPos(host.surface().GetHWND(), nullptr, 0, 0, 480, 300, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_GT(redPixels(QSize(480, 300)), 60);
    EXPECT_TRUE(keepsPlaying());
}

// The video is a native window of its own: the bar must be one too, raised over it, or the screen
// shows the video where the bar should be.
TEST_F(VideoInSurface, ThePlayBarShowsAboveTheVideoInFullScreen)
{
    host.surface().toggleFullScreen();
    ASSERT_GT(redPixels(screen()), 60);
    host.surface().setPlayBarVisible(true);
    QWidget* bar = host.surface().playBar()->GetHWND();
    const QRect strip(QPoint(0, screen().height() - bar->height()), QSize(screen().width(), bar->height()));
    ASSERT_EQ(bar->geometry(), strip);
    const QImage drawn = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int matching = 0;
    waitFor([&] {
        const QImage shown = QGuiApplication::primaryScreen()
                                 ->grabWindow(0, strip.x(), strip.y(), strip.width(), strip.height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        matching = 0;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x)
                matching += shown.pixel(x, y) == drawn.pixel(x, y);
        return matching > strip.width() * strip.height() * 9 / 10;
    });
    EXPECT_GT(matching, strip.width() * strip.height() * 9 / 10) << "the screen shows the video over the bar";
    EXPECT_TRUE(keepsPlaying());
}

TEST_F(VideoInSurface, APausedVideoStaysPausedWhereItWasThroughFullScreen)
{
    host.engine().pause();
    spin(200);
    const double at = host.engine().curr_play_time();

    host.surface().toggleFullScreen();
    EXPECT_GT(redPixels(screen()), 60);
    spin(300);
    EXPECT_EQ(host.engine().play_status(), 2);
    EXPECT_NEAR(host.engine().curr_play_time(), at, 0.2);

    host.surface().toggleFullScreen();
    EXPECT_GT(redPixels(QSize(320, 240)), 60);
    spin(300);
    EXPECT_EQ(host.engine().play_status(), 2);
    EXPECT_NEAR(host.engine().curr_play_time(), at, 0.2);
}

TEST_F(VideoInSurface, AClosedVideoLeavesTheSurfaceEmptyAndTheNextOneShowsAgain)
{
    EXPECT_GT(redPixels(QSize(320, 240)), 60);
    host.engine().stop();
    host.engine().close();
    spin(200);
    auto* video = host.surface().GetHWND()->findChild<VideoWidget*>();
    ASSERT_NE(video, nullptr);
    EXPECT_FALSE(video->isVisible()) << "the last frame would stay on screen";
    // What a person sees: the surface's own empty state, no frame and no watermark.
    const QImage shown = host.surface().GetHWND()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(spreadOf(shown, shown.rect(), &isReddish).count, 0);
    // The label's anti-aliased text has a few grey pixels; the grey frame would fill the surface.
    const auto grey = [](QColor c) { return std::abs(c.red() - 128) < 20 && std::abs(c.green() - 128) < 20; };
    EXPECT_LT(spreadOf(shown, shown.rect(), grey).count, shown.width() * shown.height() / 20);

    ContainerReader again;
    const ContainerKey key = testKey(7);
    const fs::path container = TestMedia::instance().encipher(longGreyClip(), key, u"水印AB", 3, 1, 2);
    ASSERT_EQ(openContainer(host.engine(), again, container, key), 1);
    host.engine().play(0.0, 0);
    EXPECT_GT(redPixels(QSize(320, 240)), 60);
    host.engine().close();
}

} // namespace
} // namespace mirado::testing
