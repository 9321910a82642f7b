#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>

#include "container/ContainerWriter.h"

namespace mirado {

struct FileStart {
    int index = 0;  // from 0
    int total = 0;
    std::filesystem::path source;
    std::uint64_t size = 0;
    std::uint64_t jobBytes = 0;  // the sizes of all files of the job together
};

struct FileFinish {
    int index = 0;
    std::filesystem::path source;
    std::filesystem::path container;
    WriteResult result;
};

// How a job reports while it runs; every member may be left empty. All calls come from the job's thread.
struct EncryptProgress {
    std::function<void(const FileStart&)> fileStarted;
    // The bytes of the job dealt with so far: files finished (written or not) plus the current one's progress.
    std::function<void(std::uint64_t jobBytesDone)> bytesDone;
    std::function<void(const FileFinish&)> fileFinished;
    // Asked before every file and after every chunk; true stops the job. The container in progress is
    // abandoned without a trace; finished ones stay.
    std::function<bool()> stopRequested;
};

}  // namespace mirado
