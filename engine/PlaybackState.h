#pragma once
#include <cstdint>

namespace mirado {

// What the engine reports through play_status, rebuilt from mpv's events on the UI thread.
// mpv's events arrive late: events of a file that was replaced or closed may still be queued when the
// next file is asked for, so file events count only for the entry of the latest load request.
class PlaybackState {
public:
    // Callers treat every value but 1..4 as nothing open; -1 tells a file that could not be played from one
    // still loading. Damaged is the engine's own: its payload source saw a read fail, which outweighs
    // whatever mpv still plays from its buffers.
    enum Status : int { Damaged = -2, Unplayable = -1, NothingOpen = 0, Playing = 1, Paused = 2, Ended = 3, Stopped = 4 };

    // A load was sent with this request number; everything learnt about earlier files is dropped.
    void loadRequested(std::uint64_t request, bool startPaused);
    // mpv answered the load request: the playlist entry id it gave the file, or a refusal.
    void loadAnswered(std::uint64_t request, bool accepted, std::int64_t entry);
    void fileStarted(std::int64_t entry);
    void fileLoaded();
    // The end of an entry by reaching its end or by an error (not by being stopped or replaced).
    void fileEnded(std::int64_t entry, bool failed);

    // Observed properties; ignored unless they describe the current file.
    void pauseObserved(bool paused);
    void endReachedObserved(bool reached);
    void timeObserved(double seconds);
    void durationObserved(double seconds);

    // Commands of the engine's user, applied at once so that the status follows them without delay.
    void pauseRequested(bool paused) { paused_ = paused; }
    void stopped();
    void closed();

    Status status() const;
    bool isOpen() const { return phase_ == Phase::Loading || phase_ == Phase::Loaded; }
    bool isLoaded() const { return phase_ == Phase::Loaded; }
    // Whether the user last asked for a pause, whatever mpv has seen of it yet.
    bool pauseWanted() const { return paused_; }
    double time() const { return time_; }
    double duration() const { return duration_; }

private:
    enum class Phase { Closed, Loading, Loaded, Failed, Stopped };
    bool describesCurrentFile() const { return entry_ >= 0 && startedEntry_ == entry_ && isOpen(); }

    Phase phase_ = Phase::Closed;
    std::uint64_t request_ = 0;
    std::int64_t entry_ = -1;         // mpv's playlist entry of the current file, once known
    std::int64_t startedEntry_ = -1;  // the entry mpv last started
    std::int64_t loadedEntry_ = -1;   // the entry mpv last finished loading
    bool paused_ = false;
    bool endReached_ = false;
    double time_ = 0;
    double duration_ = 0;
};

}  // namespace mirado
