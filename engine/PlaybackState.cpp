#include "PlaybackState.h"

#include <cmath>

namespace mirado {

void PlaybackState::loadRequested(std::uint64_t request, bool startPaused) {
    phase_ = Phase::Loading;
    request_ = request;
    entry_ = -1;
    paused_ = startPaused;
    endReached_ = false;
    time_ = 0;
    duration_ = 0;
}

void PlaybackState::loadAnswered(std::uint64_t request, bool accepted, std::int64_t entry) {
    if (request != request_ || phase_ != Phase::Loading) return;
    if (!accepted) {
        phase_ = Phase::Failed;
        return;
    }
    entry_ = entry;
    // The answer may come after the start and loaded events of its entry.
    if (loadedEntry_ == entry_) phase_ = Phase::Loaded;
}

void PlaybackState::fileStarted(std::int64_t entry) { startedEntry_ = entry; }

void PlaybackState::fileLoaded() {
    // The loaded event names no entry: it belongs to the entry started last.
    loadedEntry_ = startedEntry_;
    if (phase_ == Phase::Loading && entry_ >= 0 && loadedEntry_ == entry_) phase_ = Phase::Loaded;
}

void PlaybackState::fileEnded(std::int64_t entry, bool failed) {
    if (entry != entry_ || !isOpen()) return;
    if (failed) {
        phase_ = Phase::Failed;
    } else {
        phase_ = Phase::Loaded;
        endReached_ = true;
    }
}

void PlaybackState::pauseObserved(bool paused) {
    if (describesCurrentFile()) paused_ = paused;
}

void PlaybackState::endReachedObserved(bool reached) {
    if (describesCurrentFile()) endReached_ = reached;
}

void PlaybackState::timeObserved(double seconds) {
    if (describesCurrentFile() && std::isfinite(seconds)) time_ = seconds < 0 ? 0 : seconds;
}

void PlaybackState::durationObserved(double seconds) {
    if (describesCurrentFile() && std::isfinite(seconds)) duration_ = seconds < 0 ? 0 : seconds;
}

void PlaybackState::stopped() {
    if (isOpen()) phase_ = Phase::Stopped;
}

void PlaybackState::closed() {
    phase_ = Phase::Closed;
    entry_ = -1;
    endReached_ = false;
    time_ = 0;
    duration_ = 0;
}

PlaybackState::Status PlaybackState::status() const {
    switch (phase_) {
        case Phase::Loaded:
            if (endReached_) return Ended;
            return paused_ ? Paused : Playing;
        case Phase::Stopped:
            return Stopped;
        case Phase::Failed:
            return Unplayable;
        default:
            return NothingOpen;
    }
}

}  // namespace mirado
