#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "container/ContainerWriter.h"

namespace mirado {

enum class SourceKind {
    Missing,  // the source was gone when the job started: nothing was done
    File,
    Folder,
};

struct FileFailure {
    std::filesystem::path source;
    WriteResult result;  // result.describe() is the reason
};

// What a job did, for the caller to put into words.
struct EncryptOutcome {
    SourceKind source = SourceKind::Missing;
    bool searchFailed = false;           // a folder could not be searched (out of memory); nothing written
    std::filesystem::path destinationRoot;  // where the containers went
    int filesFound = 0;
    int containersWritten = 0;              // each one a distinct file on disk
    std::uint64_t bytesDone = 0;            // source bytes now held in written containers
    std::vector<FileFailure> failures;      // in job order; unreadable folders first, as the walk met them
    bool cancelled = false;                 // stopped on request; containers written before stay
};

}  // namespace mirado
