#include <gtest/gtest.h>

#include <QWidget>

#include "SurfaceTestHost.h"
#include "TestPictures.h"
#include "surface/CPlayBarFrame.h"
#include "tests/engine/TestMedia.h"
#include "tests/support/TempDir.h"
#include "ui/WindowApi.h"

namespace mirado::testing {
namespace {

const QRect kWindowed(SurfaceTestHost::kSurfaceX, SurfaceTestHost::kSurfaceY, 400, 400);

class FullScreen : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.create(QSize(400, 400))); }

    CVideoRealWnd& surface() { return host.surface(); }
    QWidget* widget() { return surface().GetHWND(); }
    QWidget* barWidget() { return surface().playBar()->GetHWND(); }
    QRect screen() { return QRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)); }
    QPoint centre() { return widget()->rect().center(); }

    void expectWindowed()
    {
        EXPECT_FALSE(surface().isFullScreen());
        EXPECT_FALSE(widget()->isWindow());
        EXPECT_EQ(widget()->parentWidget(), host.mainWindow());
        EXPECT_EQ(widget()->geometry(), kWindowed);
        EXPECT_TRUE(widget()->isVisible());
        EXPECT_FALSE(surface().isBarShown());
        EXPECT_FALSE(barWidget()->isVisible());
    }

    void expectFullScreen()
    {
        EXPECT_TRUE(surface().isFullScreen());
        EXPECT_TRUE(widget()->isWindow());
        EXPECT_EQ(widget()->geometry(), screen());
        EXPECT_TRUE(widget()->isVisible());
    }

    // Starts the test clip and waits until it plays.
    void playClip()
    {
        ASSERT_EQ(openPlain(host.engine(), TestMedia::instance().mp4()), 1);
        host.engine().play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return host.engine().play_status() == 1; }));
    }

    SurfaceTestHost host;
};

TEST_F(FullScreen, DoubleClickAndEscapeGoInAndComeBackExactlyWhereItWas)
{
    ASSERT_NE(surface().playBar(), nullptr);
    expectWindowed();
    doubleClickAt(surface(), centre());
    expectFullScreen();
    pressKey(surface(), Qt::Key_Escape);
    expectWindowed();
    pressKey(surface(), Qt::Key_Escape);
    expectFullScreen();
    surface().toggleFullScreen();
    expectWindowed();
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(FullScreen, APictureIsFittedToTheScreenAndBackToTheWindow)
{
    TempDir folder;
    ASSERT_TRUE(surface().showPictureFile(writeSolidPng(folder.path(), "wide.png", 1000, 500, QColor(30, 90, 200))));
    surface().toggleFullScreen();
    const QRect s = screen();
    const int drawnHeight = s.width() / 2;
    QImage image = grab(surface()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), s.size());
    EXPECT_TRUE(allOf(image, QRect(0, (s.height() - drawnHeight) / 2, s.width(), drawnHeight), QColor(30, 90, 200)));
    EXPECT_TRUE(allOf(image, QRect(0, 0, s.width(), (s.height() - drawnHeight) / 2), Qt::black));

    surface().toggleFullScreen();
    image = grab(surface()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(400, 400));
    EXPECT_TRUE(allOf(image, QRect(0, 100, 400, 200), QColor(30, 90, 200)));
    EXPECT_TRUE(allOf(image, QRect(0, 0, 400, 100), Qt::black));
}

TEST_F(FullScreen, ClicksPauseAndResumeButADoubleClickOnlyChangesTheScreen)
{
    playClip();
    doubleClickAt(surface(), centre());
    expectFullScreen();
    EXPECT_EQ(host.engine().play_status(), 1) << "the double-click's two releases cancel out";

    clickAt(surface(), centre());
    EXPECT_EQ(host.engine().play_status(), 2);
    clickAt(surface(), centre());
    EXPECT_EQ(host.engine().play_status(), 1);

    doubleClickAt(surface(), centre());
    expectWindowed();
    EXPECT_EQ(host.engine().play_status(), 1);
    clickAt(surface(), centre());
    EXPECT_EQ(host.engine().play_status(), 2) << "a click after the double-click counts again";

    host.showingImage = true;
    clickAt(surface(), centre());
    EXPECT_EQ(host.engine().play_status(), 2) << "not while a picture is shown";
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(FullScreen, SpaceAndEnterAskTheMainWindowToTogglePause)
{
    clickAt(surface(), centre()); // the keyboard comes to the surface
    pressKey(surface(), Qt::Key_Space);
    pressKey(surface(), Qt::Key_Return);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"TogglePause", "TogglePause"}));

    surface().toggleFullScreen();
    pressKey(surface(), Qt::Key_Enter);
    EXPECT_EQ(host.calls.size(), 3u);
    EXPECT_TRUE(surface().isFullScreen()) << "Enter never closes or leaves";

    g_pMainFrame = nullptr;
    pressKey(surface(), Qt::Key_Space);
    EXPECT_EQ(host.calls.size(), 3u);
    pressKey(surface(), Qt::Key_Escape);
    expectWindowed();
}

TEST_F(FullScreen, TheMainWindowsOtherKeysAndTheWheelArePassedOnFromTheSurfaceAndTheBar)
{
    surface().toggleFullScreen();
    pressKey(surface(), Qt::Key_Up);
    pressKey(surface(), Qt::Key_F);
    wheelAt(surface(), centre(), -120);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"key 38", "key 70", "wheel -120"}));

    // The bar holding the keyboard hands every key to the surface: its own and the main window's.
    host.calls.clear();
    surface().setPlayBarVisible(true);
    barWidget()->setFocus();
    pressKey(*surface().playBar(), Qt::Key_Space);
    pressKey(*surface().playBar(), Qt::Key_PageDown);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"TogglePause", "key 34"}));
    pressKey(*surface().playBar(), Qt::Key_Escape);
    expectWindowed();

    // Without a main window nothing is passed on.
    host.calls.clear();
    surface().toggleFullScreen();
    g_pMainFrame = nullptr;
    pressKey(surface(), Qt::Key_Up);
    wheelAt(surface(), centre(), 120);
    EXPECT_TRUE(host.calls.empty());
    pressKey(surface(), Qt::Key_Escape);
    expectWindowed();
}

TEST_F(FullScreen, TheBottomRowsCallUpTheBarAcrossTheScreen)
{
    moveTo(surface(), QPoint(100, 100));
    surface().toggleFullScreen();
    const QRect s = screen();
    moveTo(surface(), QPoint(s.width() / 2, s.height() - 11));
    EXPECT_FALSE(surface().isBarShown());
    moveTo(surface(), QPoint(s.width() / 2, s.height() - 10));
    EXPECT_TRUE(surface().isBarShown());
    EXPECT_TRUE(barWidget()->isVisible());
    EXPECT_EQ(barWidget()->geometry(), QRect(0, s.height() - 50, s.width(), 50));

    // Pressing on the picture hides it again; so does leaving full screen.
    clickAt(surface(), QPoint(s.width() / 2, s.height() / 2));
    EXPECT_FALSE(surface().isBarShown());
    EXPECT_FALSE(barWidget()->isVisible());
    moveTo(surface(), QPoint(5, s.height() - 1));
    EXPECT_TRUE(surface().isBarShown());
    surface().toggleFullScreen();
    expectWindowed();

    // Windowed, the bottom rows do nothing.
    moveTo(surface(), QPoint(200, 399));
    EXPECT_FALSE(surface().isBarShown());
    surface().setPlayBarVisible(true);
    EXPECT_FALSE(surface().isBarShown());
}

// The bar's idle timer runs in real time: this test waits about ten seconds.
TEST_F(FullScreen, TheBarHidesFiveToSixSecondsAfterTheLastActivityOverIt)
{
    surface().toggleFullScreen();
    const QRect s = screen();
    moveTo(surface(), QPoint(s.width() / 2, s.height() - 5));
    ASSERT_TRUE(surface().isBarShown());

    runFor(3000);
    ASSERT_TRUE(surface().isBarShown());
    moveTo(*surface().playBar(), QPoint(s.width() / 2, 40)); // work with the bar
    moveTo(*surface().playBar(), QPoint(s.width() / 2 + 30, 40));

    runFor(3300);
    EXPECT_TRUE(surface().isBarShown()) << "6.3 s after it appeared, 3.3 s after the activity";
    runFor(1500);
    EXPECT_TRUE(surface().isBarShown()) << "4.8 s after the activity";
    runFor(1700);
    EXPECT_FALSE(surface().isBarShown()) << "6.5 s after the activity";
    EXPECT_FALSE(barWidget()->isVisible());
}

} // namespace
} // namespace mirado::testing
