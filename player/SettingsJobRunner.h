#pragma once
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "workbench/EncryptJob.h"

namespace mirado {

// Where a running job stands, as the settings window shows it.
struct JobProgress {
    bool searching = true;  // no file started yet: the folder is still being walked
    int fileIndex = 0;      // of the file in progress, from 0
    int fileTotal = 0;
    int filesDone = 0;      // finished, written or not
    int filesWritten = 0;
    std::filesystem::path currentFile;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
};

using EncryptJobFunction = std::function<EncryptOutcome(const EncryptRequest&, FileTreeSearch&, const EncryptProgress&)>;

// Runs one encryption job at a time on a thread of its own, so the windows stay responsive. The UI
// thread reads the progress and collects the outcome by polling; nothing calls back into it.
class SettingsJobRunner {
public:
    explicit SettingsJobRunner(EncryptJobFunction job = runEncryptJob);
    SettingsJobRunner(const SettingsJobRunner&) = delete;
    SettingsJobRunner& operator=(const SettingsJobRunner&) = delete;
    // Stops a running job and waits for it: the job uses the runner's search.
    ~SettingsJobRunner();

    // False, starting nothing, while an earlier job is still to be collected.
    bool start(EncryptRequest request);
    // From start until the outcome is taken.
    bool busy() const { return thread_.joinable(); }
    // The job stops before its next file or chunk; the container in progress is abandoned.
    void requestStop() { stop_ = true; }
    bool stopRequested() const { return stop_; }
    JobProgress progress() const;
    // The outcome once the job has returned (the runner is then idle again); nothing while it runs.
    std::optional<EncryptOutcome> takeOutcome();

private:
    void run(const EncryptRequest& request);

    EncryptJobFunction job_;
    FileTreeSearch search_;  // kept between jobs, as the folder job leaves its tree behind
    mutable std::mutex mutex_;
    JobProgress progress_;
    EncryptOutcome outcome_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace mirado
