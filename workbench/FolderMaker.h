#pragma once
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "EncryptPlan.h"

namespace mirado {

// Makes the folders of a job's containers on a thread of its own, a few files ahead of the writer: for
// small files making a folder costs about as much as writing its container, and the two then share the
// cores. Each folder is made (or, when it was there, swept of temporaries killed runs left) once, at the
// first of its files; the plan keeps a folder's files together. A folder that cannot be made shows up
// as the writer's failure.
class FolderMaker {
public:
    FolderMaker(const std::vector<PlannedFile>& plan, bool createFolders);
    ~FolderMaker();
    FolderMaker(const FolderMaker&) = delete;
    FolderMaker& operator=(const FolderMaker&) = delete;

    // Returns once the folder of plan[index] is ready; the writer is at `index` from now on.
    void waitFor(int index);
    // For a stopped job: no more folders are made, and those made for files from `index` on, which the
    // job never reached, go again (only while empty).
    void withdrawFrom(int index);

private:
    static constexpr int kMostAhead = 64;  // files; a stopped job withdraws at most this many folders
    static constexpr int kWakeEvery = 16;  // less than kMostAhead, or the maker could sleep through

    void stop();  // wakes the thread, which makes no more folders, and waits for it to end
    void run();
    void prepare(const std::filesystem::path& folder, int index);
    bool make(const std::filesystem::path& folder, int index);

    struct MadeFolder {
        int index;  // the first file that needed it
        std::filesystem::path path;
    };

    const std::vector<PlannedFile>& plan_;
    const bool createFolders_;
    std::atomic<int> ready_{0};     // files whose folder is ready
    std::atomic<int> writerAt_{0};
    std::atomic<bool> stopping_{false};
    std::vector<MadeFolder> made_;  // in the order made; the thread's own until it is joined
    std::thread thread_;            // last: it starts once the members above exist
};

}  // namespace mirado
