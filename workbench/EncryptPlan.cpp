#include "EncryptPlan.h"

#include "ContainerNameClaims.h"
#include "MirroredTree.h"
#include "container/ContainerWriter.h"

namespace mirado {
namespace fs = std::filesystem;
namespace {

std::uint64_t sizeOf(const fs::path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

}  // namespace

std::vector<PlannedFile> planSingleFile(const fs::path& source, const fs::path& destinationFolder) {
    return {{source, destinationFolder, ContainerWriter::containerNameFor(source), sizeOf(source)}};
}

std::vector<PlannedFile> planFolderJob(const std::vector<const FileTreeNode*>& results,
                                       const fs::path& destinationRoot) {
    std::vector<PlannedFile> plan;
    plan.reserve(results.size());
    ContainerNameClaims names;
    for (const FileTreeNode* file : results) {
        const fs::path relative = relativeFolderOf(*file);
        fs::path folder = relative.empty() ? destinationRoot : destinationRoot / relative;
        std::string name = names.claim(file->fullPath, folder);
        plan.push_back({file->fullPath, std::move(folder), std::move(name), sizeOf(file->fullPath)});
    }
    return plan;
}

std::uint64_t totalSize(const std::vector<PlannedFile>& plan) {
    std::uint64_t total = 0;
    for (const auto& file : plan) total += file.size;
    return total;
}

}  // namespace mirado
