#include "FolderMaker.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "container/ContainerOutputFile.h"

namespace mirado {
namespace fs = std::filesystem;

FolderMaker::FolderMaker(const std::vector<PlannedFile>& plan, bool createFolders)
    : plan_(plan), createFolders_(createFolders), thread_([this] { run(); }) {}

FolderMaker::~FolderMaker() { stop(); }

void FolderMaker::stop() {
    stopping_ = true;
    writerAt_.store(INT_MAX);
    writerAt_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void FolderMaker::waitFor(int index) {
    writerAt_.store(index);
    // The maker, when ahead, sleeps until the writer is; waking it at every file would switch threads
    // at every file. It is woken every kWakeEvery files, and always before the writer waits for it.
    int ready = ready_.load();
    if (index % kWakeEvery == 0 || ready <= index) writerAt_.notify_all();
    for (; ready <= index; ready = ready_.load()) ready_.wait(ready);
}

void FolderMaker::withdrawFrom(int index) {
    stop();
    // Newest first, so a folder made inside another goes before it.
    for (auto made = made_.rbegin(); made != made_.rend() && made->index >= index; ++made) ::rmdir(made->path.c_str());
}

void FolderMaker::run() {
    const int total = int(plan_.size());
    for (int index = 0; index < total;) {
        for (int at = writerAt_.load(); index - at > kMostAhead; at = writerAt_.load()) writerAt_.wait(at);
        if (stopping_) break;
        prepare(plan_[std::size_t(index)].folder, index);
        int next = index + 1;
        while (next < total && plan_[std::size_t(next)].folder == plan_[std::size_t(index)].folder) ++next;
        index = next;
        ready_.store(index);
        ready_.notify_all();
    }
    // A writer never waits past a stop or the last file.
    ready_.store(INT_MAX);
    ready_.notify_all();
}

// A folder made just now holds no temporaries of killed runs.
void FolderMaker::prepare(const fs::path& folder, int index) {
    if (!createFolders_ || !make(folder, index)) ContainerOutputFile::removeStaleTemporaries(folder);
}

// mkdir first: the parent is nearly always there by now. True when the folder is new (and empty);
// every folder made on the way is kept in made_.
bool FolderMaker::make(const fs::path& folder, int index) {
    if (::mkdir(folder.c_str(), 0777) != 0) {
        if (errno != ENOENT || !folder.has_relative_path() || folder.parent_path() == folder) return false;
        make(folder.parent_path(), index);
        if (::mkdir(folder.c_str(), 0777) != 0) return false;
    }
    made_.push_back({index, folder});
    return true;
}

}  // namespace mirado
