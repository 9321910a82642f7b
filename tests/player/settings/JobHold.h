#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "player/CSystemInfoFrame.h"

namespace mirado::testing {

// Runs the real job, but holds its thread at the first chunk written of file `fileIndex` (so in the
// middle of that container when the file is larger than one chunk) until released. The window under
// test sees a job that is under way for as long as the test needs.
class JobHold {
public:
    explicit JobHold(int fileIndex) : fileIndex_(fileIndex) {}
    ~JobHold() { release(); }

    CSystemInfoFrame::JobFunction job() {
        return [this](const EncryptRequest& request, FileTreeSearch& search, const EncryptProgress& progress) {
            EncryptProgress held = progress;
            held.fileStarted = [this, progress](const FileStart& file) {
                current_ = file.index;
                if (progress.fileStarted) progress.fileStarted(file);
            };
            held.bytesDone = [this, progress](std::uint64_t done) {
                if (progress.bytesDone) progress.bytesDone(done);
                if (current_ == fileIndex_) hold();
            };
            return runEncryptJob(request, search, held);
        };
    }

    bool reached() const { return reached_; }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        wake_.notify_all();
    }

private:
    void hold() {
        std::unique_lock lock(mutex_);
        if (released_) return;
        reached_ = true;
        // A test that fails before releasing must not leave the job thread stuck for ever.
        wake_.wait_for(lock, std::chrono::seconds(20), [this] { return released_; });
    }

    const int fileIndex_;
    std::atomic<int> current_{-1};
    std::atomic<bool> reached_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool released_ = false;
};

}  // namespace mirado::testing
