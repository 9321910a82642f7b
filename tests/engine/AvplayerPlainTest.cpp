#include <cmath>
#include <gtest/gtest.h>

#include "TestMedia.h"
#include "engine/avplayer.h"

namespace mirado::testing {
namespace {

TEST(AvplayerPlain, Mp4AndMkvPlayToTheEnd) {
    for (const auto* file : {&TestMedia::instance().mp4(), &TestMedia::instance().mkv()}) {
        SCOPED_TRACE(file->string());
        avplayer player(avplayer::Pace::AsFastAsPossible);
        ASSERT_EQ(openPlain(player, *file), 1);
        EXPECT_EQ(player.play_status(), 0);  // still loading
        EXPECT_EQ(player.play(0.0, 0), 1);
        ASSERT_TRUE(waitFor([&] { return player.play_status() == 3; }));
        EXPECT_NEAR(player.duration(), 3.0, 0.2);
        EXPECT_GT(player.curr_play_time(), 2.5);
        EXPECT_EQ(player.stop(), 1);
        EXPECT_EQ(player.play_status(), 4);
        EXPECT_EQ(player.close(), 1);
        EXPECT_EQ(player.play_status(), 0);
        EXPECT_EQ(player.duration(), 0);
    }
}

TEST(AvplayerPlain, PauseHoldsTheTimeAndResumeMovesOn) {
    avplayer player;
    ASSERT_EQ(openPlain(player, TestMedia::instance().mp4()), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 1 && player.curr_play_time() > 0.2; }));
    EXPECT_NEAR(player.duration(), 3.0, 0.2);
    EXPECT_EQ(player.pause(), 1);
    EXPECT_EQ(player.play_status(), 2);
    EXPECT_EQ(player.pause(), 0);  // already paused
    spin(100);
    const double held = player.curr_play_time();
    spin(400);
    EXPECT_NEAR(player.curr_play_time(), held, 0.05);
    EXPECT_EQ(player.play_status(), 2);
    EXPECT_EQ(player.resume(), 1);
    EXPECT_EQ(player.play_status(), 1);
    EXPECT_EQ(player.resume(), 0);  // already playing
    EXPECT_TRUE(waitFor([&] { return player.curr_play_time() > held + 0.2; }));
    EXPECT_EQ(player.stop(), 1);
    EXPECT_EQ(player.pause(), 0);
    EXPECT_EQ(player.play_status(), 4);
}

TEST(AvplayerPlain, WhatCannotBeOpenedReturnsZero) {
    avplayer player;
    const auto& folder = TestMedia::instance().folder();
    EXPECT_EQ(openPlain(player, folder / "missing.mp4"), 0);
    EXPECT_EQ(openPlain(player, folder), 0);
    EXPECT_EQ(player.open(nullptr, 0, 2, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, false, nullptr, 0, 0, 0), 0);
    EXPECT_EQ(player.play_status(), 0);
    EXPECT_EQ(player.play(0.0, 0), 0);
}

TEST(AvplayerPlain, CallsWithNothingOpenDoNothing) {
    avplayer player;
    EXPECT_EQ(player.pause(), 0);
    EXPECT_EQ(player.resume(), 0);
    EXPECT_EQ(player.stop(), 0);
    EXPECT_EQ(player.seek_to(0.5), 0);
    EXPECT_EQ(player.seek_by(1), 0);
    EXPECT_EQ(player.play_status(), 0);
    EXPECT_EQ(player.curr_play_time(), 0);
    EXPECT_EQ(player.duration(), 0);
    EXPECT_EQ(player.close(), 1);
}

TEST(AvplayerPlain, AFileThatIsNoVideoEndsUnplayableAndTheEngineGoesOn) {
    const auto bogus = TestMedia::instance().folder() / "noise.mp4";
    writeFile(bogus, patternBytes(20000, 3));
    avplayer player(avplayer::Pace::AsFastAsPossible);
    ASSERT_EQ(openPlain(player, bogus), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == -1; }));
    EXPECT_EQ(player.pause(), 0);
    EXPECT_EQ(player.stop(), 0);

    ASSERT_EQ(openPlain(player, TestMedia::instance().mp4()), 1);
    player.play(0.0, 0);
    EXPECT_TRUE(waitFor([&] { return player.play_status() == 3; }));
}

TEST(AvplayerPlain, OpeningAnotherFileReplacesThePlayingOne) {
    avplayer player;
    ASSERT_EQ(openPlain(player, TestMedia::instance().mp4()), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 1; }));
    ASSERT_EQ(openPlain(player, TestMedia::instance().grey()), 1);
    EXPECT_EQ(player.play_status(), 0);
    EXPECT_EQ(player.curr_play_time(), 0);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 1 && player.duration() > 0; }));
    EXPECT_NEAR(player.duration(), 2.0, 0.2);  // the grey clip's, not the pattern's
}

TEST(AvplayerPlain, PlayFromAStartTime) {
    avplayer player;
    ASSERT_EQ(openPlain(player, TestMedia::instance().mp4()), 1);
    player.play(2.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 1 && player.curr_play_time() > 0; }));
    EXPECT_GE(player.curr_play_time(), 1.9);
}

TEST(AvplayerPlain, SeekByMovesFromThePositionExactlyAndStopsAtTheStart) {
    avplayer player;
    ASSERT_EQ(openPlain(player, TestMedia::instance().mp4()), 1);
    player.play(2.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 1 && player.curr_play_time() >= 1.9; }));
    player.pause();
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 2; }));
    const double from = player.curr_play_time();
    // Between key frames (one a second): an exact seek, not one to the nearest key frame.
    EXPECT_EQ(player.seek_by(-1.4), 1);
    EXPECT_TRUE(waitFor([&] { return std::abs(player.curr_play_time() - (from - 1.4)) < 0.06; }, 4000))
        << player.curr_play_time();
    EXPECT_EQ(player.seek_by(std::nan("")), 0);
    EXPECT_EQ(player.seek_by(-10), 1);
    EXPECT_TRUE(waitFor([&] { return player.curr_play_time() < 0.05; }, 4000)) << player.curr_play_time();
    EXPECT_EQ(player.play_status(), 2) << "still paused";
}

TEST(AvplayerPlain, MuteIsKeptAndReported) {
    avplayer player;
    EXPECT_FALSE(player.get_mute());
    ASSERT_EQ(openPlain(player, TestMedia::instance().mp4()), 1);
    player.play(0.0, 0);
    EXPECT_EQ(player.mute_set(true), 1);
    EXPECT_TRUE(player.get_mute());
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 1; }));
    spin(100);
    EXPECT_TRUE(player.get_mute());
    player.mute_set(false);
    spin(100);
    EXPECT_FALSE(player.get_mute());
    EXPECT_EQ(player.volume(40, 40), 1);
    EXPECT_EQ(player.volume(1000, 1000), 1);  // above the scale: full volume
    EXPECT_EQ(player.volume(-1, -1), 0);
}

}  // namespace
}  // namespace mirado::testing
