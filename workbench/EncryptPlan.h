#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FileTreeNode.h"

namespace mirado {

struct PlannedFile {
    std::filesystem::path source;
    std::filesystem::path folder;  // where its container goes
    std::string containerName;
    std::uint64_t size = 0;        // as the source was when planned; 0 when it could not be read
};

// A single-file job: the container named after the file, straight in the destination folder.
std::vector<PlannedFile> planSingleFile(const std::filesystem::path& source,
                                        const std::filesystem::path& destinationFolder);

// A folder job: every found file into the folder mirroring its place below destinationRoot, under a
// name no other file of the job takes.
std::vector<PlannedFile> planFolderJob(const std::vector<const FileTreeNode*>& results,
                                       const std::filesystem::path& destinationRoot);

std::uint64_t totalSize(const std::vector<PlannedFile>& plan);

}  // namespace mirado
