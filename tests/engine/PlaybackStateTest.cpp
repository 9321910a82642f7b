#include "engine/PlaybackState.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

// A state that went through a normal load of request 1 as mpv entry 5.
PlaybackState loadedState() {
    PlaybackState state;
    state.loadRequested(1, true);
    state.loadAnswered(1, true, 5);
    state.fileStarted(5);
    state.fileLoaded();
    return state;
}

TEST(PlaybackState, LoadingShowsNothingOpenUntilTheFileIsLoaded) {
    PlaybackState state;
    EXPECT_EQ(state.status(), PlaybackState::NothingOpen);
    state.loadRequested(1, true);
    EXPECT_EQ(state.status(), PlaybackState::NothingOpen);
    EXPECT_TRUE(state.isOpen());
    state.loadAnswered(1, true, 5);
    state.fileStarted(5);
    EXPECT_EQ(state.status(), PlaybackState::NothingOpen);
    state.fileLoaded();
    EXPECT_EQ(state.status(), PlaybackState::Paused);
    state.pauseRequested(false);
    EXPECT_EQ(state.status(), PlaybackState::Playing);
}

TEST(PlaybackState, LoadAnswerArrivingAfterTheLoadedEventStillCounts) {
    PlaybackState state;
    state.loadRequested(1, false);
    state.fileStarted(5);
    state.fileLoaded();
    EXPECT_EQ(state.status(), PlaybackState::NothingOpen);
    state.loadAnswered(1, true, 5);
    EXPECT_EQ(state.status(), PlaybackState::Playing);
}

TEST(PlaybackState, EventsOfAReplacedFileAreIgnored) {
    PlaybackState state = loadedState();
    state.pauseRequested(false);
    state.timeObserved(2.5);
    state.loadRequested(2, true);
    EXPECT_EQ(state.time(), 0);
    // Still queued from entry 5 when entry 6 was asked for.
    state.fileLoaded();
    state.endReachedObserved(true);
    state.timeObserved(2.9);
    state.fileEnded(5, true);
    EXPECT_EQ(state.status(), PlaybackState::NothingOpen);
    EXPECT_EQ(state.time(), 0);
    state.loadAnswered(1, false, -1);  // an answer to the old request
    EXPECT_EQ(state.status(), PlaybackState::NothingOpen);

    state.loadAnswered(2, true, 6);
    state.fileStarted(6);
    state.fileLoaded();
    state.durationObserved(3);
    EXPECT_EQ(state.status(), PlaybackState::Paused);
    EXPECT_EQ(state.duration(), 3);
}

TEST(PlaybackState, EndAndFailureOfTheCurrentFile) {
    PlaybackState ended = loadedState();
    ended.endReachedObserved(true);
    EXPECT_EQ(ended.status(), PlaybackState::Ended);
    ended.endReachedObserved(false);  // sought back from the end
    EXPECT_EQ(ended.status(), PlaybackState::Paused);

    PlaybackState eof = loadedState();
    eof.fileEnded(5, false);
    EXPECT_EQ(eof.status(), PlaybackState::Ended);

    PlaybackState broken;
    broken.loadRequested(1, true);
    broken.loadAnswered(1, true, 5);
    broken.fileStarted(5);
    broken.fileEnded(5, true);
    EXPECT_EQ(broken.status(), PlaybackState::Unplayable);
    EXPECT_FALSE(broken.isOpen());

    PlaybackState refused;
    refused.loadRequested(1, true);
    refused.loadAnswered(1, false, -1);
    EXPECT_EQ(refused.status(), PlaybackState::Unplayable);
}

TEST(PlaybackState, StopAndClose) {
    PlaybackState state = loadedState();
    state.stopped();
    EXPECT_EQ(state.status(), PlaybackState::Stopped);
    state.pauseObserved(false);  // mpv's last word on the stopped file changes nothing
    state.fileEnded(5, false);
    EXPECT_EQ(state.status(), PlaybackState::Stopped);
    state.closed();
    EXPECT_EQ(state.status(), PlaybackState::NothingOpen);

    PlaybackState idle;
    idle.stopped();  // nothing open: nothing to stop
    EXPECT_EQ(idle.status(), PlaybackState::NothingOpen);
}

TEST(PlaybackState, TimesIgnoreValuesThatAreNotTimes) {
    PlaybackState state = loadedState();
    state.timeObserved(-0.04);
    EXPECT_EQ(state.time(), 0);
    state.timeObserved(1.5);
    state.timeObserved(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(state.time(), 1.5);
    state.durationObserved(std::numeric_limits<double>::infinity());
    EXPECT_EQ(state.duration(), 0);
}

}  // namespace
}  // namespace mirado
