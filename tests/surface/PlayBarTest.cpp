#include <gtest/gtest.h>

#include "SurfaceTestHost.h"
#include "surface/CPlayBarFrame.h"
#include "tests/engine/TestMedia.h"
#include "ui/CButtonUI.h"
#include "ui/CSliderUI.h"
#include "ui/WindowApi.h"

namespace mirado::testing {
namespace {

// The play bar in full screen, shown, over a surface whose main window records what it is asked.
class PlayBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.create());
        ASSERT_NE(surface().playBar(), nullptr);
        surface().toggleFullScreen();
        showBar();
    }

    void showBar()
    {
        moveTo(surface(), QPoint(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) - 2));
        ASSERT_TRUE(surface().isBarShown());
    }

    // The test clip, loaded and paused at its start.
    void pausedClip()
    {
        ASSERT_EQ(openPlain(host.engine(), TestMedia::instance().mp4()), 1);
        host.engine().play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return host.engine().play_status() == 1; }));
        // The duration arrives as its own event, possibly after playback has started.
        ASSERT_TRUE(waitFor([&] { return host.engine().duration() > 0; }));
        host.engine().pause();
        host.engine().seek_to(0.0);
        ASSERT_TRUE(waitFor([&] { return host.engine().curr_play_time() < 0.1; }));
    }

    CVideoRealWnd& surface() { return host.surface(); }
    CPlayBarFrame& bar() { return *surface().playBar(); }

    SurfaceTestHost host;
};

TEST_F(PlayBar, ButtonsRunTheMainWindowsOperations)
{
    for (const char* name : {"btn_stop", "btn_prev", "btn_play", "btn_next", "btn_mute"})
        ASSERT_TRUE(click(bar(), QString::fromLatin1(name))) << name;
    // Muted, the main window swaps the two buttons.
    bar().muteButton()->SetVisible(false);
    bar().unmuteButton()->SetVisible(true);
    runFor(50); // laid out again
    ASSERT_TRUE(click(bar(), QStringLiteral("btn_muteoff")));
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"Stop", "PlayPrevious", "OnPlayButton", "PlayNext", "MuteOn", "MuteOff"}));

    ASSERT_TRUE(click(bar(), QStringLiteral("btn_fullscreen")));
    EXPECT_FALSE(surface().isFullScreen());
    EXPECT_FALSE(surface().isBarShown());
    EXPECT_EQ(host.calls.size(), 6u);
}

TEST_F(PlayBar, TheVolumeSliderSendsTheMainWindowsScale)
{
    ASSERT_TRUE(dragSlider(bar(), QStringLiteral("slider_volumn"), 0.2));
    EXPECT_EQ(bar().volumeSlider()->GetValue(), 20);
    EXPECT_EQ(host.volumeSlider()->GetValue(), 20);
    EXPECT_DOUBLE_EQ(host.engine().get_volume(), 20);
    ASSERT_TRUE(dragSlider(bar(), QStringLiteral("slider_volumn"), 0.5));
    EXPECT_EQ(host.volumeSlider()->GetValue(), 50);
    EXPECT_DOUBLE_EQ(host.engine().get_volume(), 50) << "the same loudness the main window's slider means";
    EXPECT_FALSE(host.seeking) << "volume is no seek";
}

TEST_F(PlayBar, TheProgressSliderSeeksToItsFractionAndMarksSeeking)
{
    pausedClip();
    ASSERT_TRUE(dragSlider(bar(), QStringLiteral("slider_play"), 0.25));
    const int value = bar().progressSlider()->GetValue();
    EXPECT_NEAR(value, 250, 5);
    EXPECT_EQ(host.progressSlider()->GetValue(), value);
    EXPECT_TRUE(host.seeking);
    const double duration = host.engine().duration();
    ASSERT_GT(duration, 2.5);
    EXPECT_TRUE(waitFor([&] { return std::abs(host.engine().curr_play_time() - duration * value / 1000.0) < 0.15; }))
        << host.engine().curr_play_time();
    EXPECT_EQ(host.engine().play_status(), 2);
}

TEST_F(PlayBar, WithoutTheMainWindowNothingHappens)
{
    pausedClip();
    g_pMainFrame = nullptr;
    for (const char* name : {"btn_stop", "btn_play", "btn_mute", "btn_fullscreen"})
        ASSERT_TRUE(click(bar(), QString::fromLatin1(name))) << name;
    ASSERT_TRUE(dragSlider(bar(), QStringLiteral("slider_volumn"), 0.8));
    ASSERT_TRUE(dragSlider(bar(), QStringLiteral("slider_play"), 0.8));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(host.volumeSlider()->GetValue(), 50);
    EXPECT_EQ(host.progressSlider()->GetValue(), 500);
    EXPECT_FALSE(host.seeking);
    EXPECT_TRUE(surface().isFullScreen());
    spin(300);
    EXPECT_LT(host.engine().curr_play_time(), 0.1) << "no seek";
}

// A bar read from a skin of its own: names in other letter cases, sliders without a range.
class OddSkinPlayBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.create());
        useInlineSkin({{QStringLiteral("PlaybarFrame.xml"), R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="600,50">
  <HorizontalLayout bkcolor="#FF445B84">
    <Button name="Btn_Stop" width="60" bkcolor="#FF202020" />
    <Button name="BTN_PLAY" width="60" bkcolor="#FF202020" />
    <Button name="btn_Fullscreen" width="60" bkcolor="#FF202020" />
    <Slider name="slider_volumn" width="150" min="0" max="0" value="0" thumbsize="10,10" />
    <Slider name="slider_play" width="150" min="0" max="0" value="0" thumbsize="10,10" />
  </HorizontalLayout>
</Window>)"}});
        ASSERT_TRUE(createShown(bar, QStringLiteral("odd bar"), 0, 0));
    }

    SurfaceTestHost host;
    CPlayBarFrame bar;
};

TEST_F(OddSkinPlayBar, NamesDifferingInCaseDoNothing)
{
    for (const char* name : {"Btn_Stop", "BTN_PLAY", "btn_Fullscreen"})
        ASSERT_TRUE(click(bar, QString::fromLatin1(name))) << name;
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(host.surface().isFullScreen());
    EXPECT_EQ(bar.muteButton(), nullptr) << "missing controls stay null";
}

TEST_F(OddSkinPlayBar, ASliderWithoutRangeOnlyUpdatesTheMainWindowsSlider)
{
    ASSERT_EQ(openPlain(host.engine(), TestMedia::instance().mp4()), 1);
    host.engine().play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return host.engine().play_status() == 1; }));
    host.engine().pause();
    spin(100);
    const double held = host.engine().curr_play_time();

    ASSERT_TRUE(dragSlider(bar, QStringLiteral("slider_play"), 0.7));
    EXPECT_EQ(host.progressSlider()->GetValue(), 0);
    EXPECT_TRUE(host.seeking);
    const double volumeBefore = host.engine().get_volume();
    ASSERT_TRUE(dragSlider(bar, QStringLiteral("slider_volumn"), 0.7));
    EXPECT_EQ(host.volumeSlider()->GetValue(), 0);
    EXPECT_DOUBLE_EQ(host.engine().get_volume(), volumeBefore) << "a maximum of 0 calls no engine";
    spin(300);
    EXPECT_NEAR(host.engine().curr_play_time(), held, 0.05) << "no seek";
}

} // namespace
} // namespace mirado::testing
