#include "SettingsJobRunner.h"

namespace mirado {

SettingsJobRunner::SettingsJobRunner(EncryptJobFunction job) : job_(std::move(job)) {}

SettingsJobRunner::~SettingsJobRunner() {
    requestStop();
    if (thread_.joinable()) thread_.join();
}

bool SettingsJobRunner::start(EncryptRequest request) {
    if (busy()) return false;
    stop_ = false;
    finished_ = false;
    {
        std::lock_guard lock(mutex_);
        progress_ = {};
        outcome_ = {};
    }
    thread_ = std::thread([this, request = std::move(request)] { run(request); });
    return true;
}

void SettingsJobRunner::run(const EncryptRequest& request) {
    EncryptProgress progress;
    progress.fileStarted = [this](const FileStart& file) {
        std::lock_guard lock(mutex_);
        progress_.searching = false;
        progress_.fileIndex = file.index;
        progress_.fileTotal = file.total;
        progress_.currentFile = file.source;
        progress_.bytesTotal = file.jobBytes;
    };
    progress.bytesDone = [this](std::uint64_t done) {
        std::lock_guard lock(mutex_);
        progress_.bytesDone = done;
    };
    progress.fileFinished = [this](const FileFinish& file) {
        std::lock_guard lock(mutex_);
        ++progress_.filesDone;
        if (file.result) ++progress_.filesWritten;
    };
    progress.stopRequested = [this] { return stop_.load(); };
    EncryptOutcome outcome = job_(request, search_, progress);
    {
        std::lock_guard lock(mutex_);
        outcome_ = std::move(outcome);
    }
    finished_ = true;
}

JobProgress SettingsJobRunner::progress() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

std::optional<EncryptOutcome> SettingsJobRunner::takeOutcome() {
    if (!busy() || !finished_) return std::nullopt;
    thread_.join();
    std::lock_guard lock(mutex_);
    return std::move(outcome_);
}

}  // namespace mirado
